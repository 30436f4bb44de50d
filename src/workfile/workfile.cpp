#include "workfile/workfile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <atomic>
#include <cstring>
#include <thread>

#include "core/commands.h"
#include "core/document.h"
#include "core/parallel.h"
#include "core/platform.h"
#include "core/settings_groups.h"
#include "core/text_format.h"
#include "core/view.h"
#include "resources/resource.h"
#include "workfile/messages.h"
#include "workfile/workfile_format.h"

namespace {

// No work file comes near this: 8 MB of pixels, 8 MB of marks and the settings. Anything larger
// is refused before it is read.
constexpr std::size_t kMaxWorkFileBytes = 64u << 20;

// The training-area marks of the categories the file holds: the category indices 0..7 and
// their marks, in the order of the file.
struct FileMarks {
  int anCategory[8];
  const std::uint8_t* apMarks[8];
  int nCount = 0;
};

FileMarks MarksOf(const WorkFile& file) {
  FileMarks marks;
  for (int c = 0; c < 8; ++c) {
    if (!file.abMarks[c]) continue;
    marks.anCategory[marks.nCount] = c;
    marks.apMarks[marks.nCount++] = file.aabMarks[c].data();
  }
  return marks;
}

// Sets the marks of pixel i (in file order) into a record.
inline void SetMarks(const FileMarks& marks, std::size_t i, std::uint8_t* pMarks) {
  if (marks.nCount == 8) {  // the usual file: a fixed loop the compiler unrolls
    for (int k = 0; k < 8; ++k) pMarks[k] = marks.apMarks[k][i] != 0;
  } else {
    for (int k = 0; k < marks.nCount; ++k) pMarks[marks.anCategory[k]] = marks.apMarks[k][i] != 0;
  }
}

// Copies nCount records to the plane; with bStream (64 records to a 64-byte boundary) by
// streaming stores.
void StreamRecords(PixelRecord* pOut, const PixelRecord* pIn, int nCount, bool bStream) {
#if defined(__SSE2__)
  if (bStream) {
    const auto* pFrom = reinterpret_cast<const __m128i*>(pIn);
    auto* pTo = reinterpret_cast<__m128i*>(pOut);
    const int nVectors = nCount * static_cast<int>(sizeof(PixelRecord)) / 16;
    for (int k = 0; k < nVectors; ++k) _mm_stream_si128(pTo + k, _mm_load_si128(pFrom + k));
    return;
  }
#endif
  (void)bStream;
  std::memcpy(static_cast<void*>(pOut), pIn, static_cast<std::size_t>(nCount) * sizeof(PixelRecord));
}

// The data of the file into the plane: each record written once, with its bands, empty class
// fields and the marks of the categories the file holds; then headers and texts.
void CommitData(const WorkFile& file) {
  const int nBands = file.nLastBand + 1;
  const int nLines = file.nMaxY + 1;
  const FileMarks marks = MarksOf(file);
  // Local copies: the byte stores into the plane could alias anything reached through memory.
  const FileMarks m = marks;
  const std::uint8_t* p = file.abPixels.data();
  std::size_t i = 0;
  // Records are built 64 at a time (1,152 bytes, 18 cache lines) and written to the plane with
  // streaming stores, which do not first read the lines they overwrite: the plane is written
  // whole, so reading it in would only cost time. A column starts on a 64-byte boundary.
  constexpr int kChunk = 64;
  alignas(64) PixelRecord aChunk[kChunk];
  const bool bAligned = reinterpret_cast<std::uintptr_t>(&g_aPixel[0][0]) % 64 == 0;
  for (int x = 0; x <= file.nMaxX; ++x) {
    for (int y0 = 0; y0 < nLines; y0 += kChunk) {
      const int nCount = std::min(kChunk, nLines - y0);
      for (int j = 0; j < nCount; ++j, ++i, p += nBands) {
        PixelRecord& record = aChunk[j];
        record = PixelRecord{};
        if (nBands == kMaxBands) {
          std::memcpy(record.abBand, p, kMaxBands);
        } else {
          for (int b = 0; b < nBands; ++b) record.abBand[b] = p[b];
        }
        SetMarks(m, i, record.abTrainMark);
      }
      StreamRecords(&g_aPixel[x][y0], aChunk, nCount, bAligned && nCount == kChunk);
    }
  }
  std::memcpy(g_aszBandHeader, file.aabHeader, sizeof g_aszBandHeader);
  for (int t = 0; t < kUserTexts; ++t) g_astrUserText[t] = file.astrUserText[t];
  // The band files and the place on the ground are not part of a work file: a scroll cannot
  // re-read the old scene's files under the loaded bands.
  for (auto& str : g_astrBandPath) str.clear();
  g_bWindowHasFiles = 0;
  g_nSceneOffsetX = 0;
  g_nSceneOffsetY = 0;
  // What the file kept of a raster scene's place and scaling (its georeferencing is the
  // window's own, so the offsets stay 0); nothing for another scene.
  const ScenePlace& place = StagedScenePlace();
  g_bGeoreferenced = place.bGeoreferenced;
  std::copy(std::begin(place.adGeoTransform), std::end(place.adGeoTransform), g_adGeoTransform);
  g_strCoordinateSystem = place.bGeoreferenced ? place.strWkt : std::string();
  g_nEpsgCode = place.bGeoreferenced ? place.nEpsgCode : 0;
  for (int b = 0; b < kMaxBands; ++b) {
    const bool bKept = b < place.nRuleBands;
    g_abRasterScaled[b] = bKept && place.aRule[b].bScaled ? 1 : 0;
    g_adRasterLow[b] = bKept ? place.aRule[b].dLow : 0.0;
    g_adRasterHigh[b] = bKept ? place.aRule[b].dHigh : 0.0;
    g_abRasterHasNoData[b] = bKept && place.aRule[b].bHasNoData ? 1 : 0;
    g_adRasterNoData[b] = bKept ? place.aRule[b].dNoData : 0.0;
  }
#if defined(__SSE2__)
  _mm_sfence();  // the streamed records are in the plane before anyone reads it
#endif
}

void CommitSettings(const WorkFile& file) {
  // Over loaded data the marks go into the plane here (with data they came with the pixels),
  // before the groups' sections, whose records may add to them (the test areas).
  const FileMarks marks = MarksOf(file);
  if (file.abSection[kSectionData] != 1 && marks.nCount > 0) {
    const int nLines = file.nMaxY + 1;
    ForColumnParts(file.nMaxX + 1, nLines, [&](int nFirst, int nEnd, int) {
      for (int x = nFirst; x < nEnd; ++x) {
        std::size_t i = static_cast<std::size_t>(x) * nLines;
        for (int y = 0; y < nLines; ++y, ++i) SetMarks(marks, i, g_aPixel[x][y].abTrainMark);
      }
    });
  }
  CommitSettingsSections(file);
}

void FinishLoad() {
  InitialUpdateView();
  ThePlatform().SetStatusText(StatusPane0Text(), StatusPane1Text());
}

// The document after a file was read: that file, or untitled work brought back.
void SetLoadedDocument(const std::string& strPath, bool bRecovered) {
  if (bRecovered) {
    SetDocumentRecovered();
  } else {
    SetDocumentFile(strPath);
  }
}

bool ReadPreviousFormat(const WorkFile& file, const std::string& strPath, bool bRecovered) {
  ShowMessage(kszMsgPreviousFormat, kszCapPreviousFormat);
  g_nSensor = SensorFromCode(file.nSensor);
  g_nMaxX = file.nMaxX;
  g_nMaxY = file.nMaxY;
  g_nLastBand = file.nLastBand;
  CommitData(file);
  for (int b = g_nLastBand + 1; b < kMaxBands; ++b) std::memset(g_aszBandHeader[b], 0, 256);
  RecomputeAfterWorkFileLoad();
  ResetQueries();
  ResetPalettes();
  SetLoadedDocument(strPath, bRecovered);
  FinishLoad();
  return true;
}

void OnFileNew() {
  if (ConfirmSaveChanges()) SetDocumentUntitled();
}

void ResetToDefaults(const char* szQuestion, bool bPalette) {
  if (ThePlatform().MessageBox(szQuestion, kszCapReset, MsgButtons::OkCancel) != MsgResult::Ok) {
    return;
  }
  ResetDefaults(!bPalette, bPalette);
  g_nDisplayMode = DisplayMode::Prompt;
  ClearOffscreenImage();
  ThePlatform().RepaintNow();
}

void OnDefaultQuery() { ResetToDefaults(kszMsgResetQuery, false); }
void OnDefaultPalette() { ResetToDefaults(kszMsgResetPalette, true); }

void OnSaveOptions() { RunDialogCommand(kSaveOptionsDialog); }

// Dialog IDD_SAVE_OPTIONS: one check box per section, named as the groups name their sections.
DialogField s_aSaveOptionFields[kMaxSaveSections];

void CurrentSaveOptions(int anValues[]) {
  std::copy_n(g_abSaveSection, SaveSectionCount(), anValues);
}
void ApplySaveOptions(const int anValues[]) {
  std::copy_n(anValues, SaveSectionCount(), g_abSaveSection);
}

// A fresh program saves every section; the dialog gets a box for each section registered.
void ResetSaveOptions() {
  const int nSections = SaveSectionCount();
  if (nSections > kMaxSaveSections) {
    std::fprintf(stderr, "%d work-file sections registered, at most %d fit\n", nSections,
                 kMaxSaveSections);
    std::abort();
  }
  s_aSaveOptionFields[0] = {FieldKind::Check, "data"};
  int k = 1;
  for (const SettingsGroup& group : SettingsGroups()) {
    for (int i = 0; i < group.workFile.nCount; ++i) {
      s_aSaveOptionFields[k++] = {FieldKind::Check, group.workFile.aszNames[i]};
    }
  }
  kSaveOptionsDialog.aFields = std::span<const DialogField>(s_aSaveOptionFields, nSections);
  std::fill(std::begin(g_abSaveSection), std::end(g_abSaveSection), 1);
}

const CommandEntry kaWorkFileCommands[] = {
    COMMAND(ID_FILE_NEW, "ファイル名(&N)", Always, .pfnHandler = OnFileNew,
            .szShortcut = "Ctrl+N"),
    COMMAND(ID_DEFAULT_QUERY, "クエリー(&C)", D1, .pfnHandler = OnDefaultQuery,
            .szCliOption = "--reset-query"),
    COMMAND(ID_DEFAULT_PALETTE, "パレット(&P)", D1, .pfnHandler = OnDefaultPalette,
            .szCliOption = "--reset-palette"),
    // Open, save and save as ask for a file name: the shell gives them their handlers.
    COMMAND(ID_FILE_OPEN, "ワークファイルを開く(&O)...", Always, .szShortcut = "Ctrl+O",
            .szIcon = "open"),
    COMMAND(ID_FILE_SAVE, "ワークファイルを上書き保存(&S)", D1, .szShortcut = "Ctrl+S"),
    COMMAND(ID_FILE_SAVE_AS, "ワークファイルに名前を付けて保存(&A)...", D1),
    COMMAND(ID_SAVE_OPTIONS, "保存のオプション(&O)...", D1, .pfnHandler = OnSaveOptions,
            .pDialog = &kSaveOptionsDialog),
    COMMAND(ID_HEADER_PROPERTIES, "データのプロパティ(&H)...", D1),
};

}  // namespace

DialogSpec kSaveOptionsDialog = {IDD_SAVE_OPTIONS, {}, {}, CurrentSaveOptions, ApplySaveOptions};


bool ReadWorkFileBytes(const std::string& strPath, ByteBuffer& ab, std::string& strReason) {
  return ReadWholeFile(strPath, kMaxWorkFileBytes, "work file", ab, strReason);
}

namespace {

// Writes an encoded file whose plane blocks are still empty: a second thread fills them a run
// of columns at a time while this one hands the runs already filled to the kernel, so filling
// and copying into the page cache overlap.
bool WritePlaneFile(int fd, std::uint8_t* pFile, std::size_t nSize, const PlaneBlocks& blocks) {
  struct Block {
    std::size_t nStart, nColumnBytes;
  };
  const std::size_t nLines = static_cast<std::size_t>(blocks.nLines);
  Block aBlock[9];  // in file order: the pixels come before the categories, 1 to 8
  int nBlocks = 0;
  if (blocks.nPixelStart) {
    aBlock[nBlocks++] = {blocks.nPixelStart, nLines * static_cast<std::size_t>(blocks.nBands)};
  }
  for (std::size_t nStart : blocks.anMarkStart) {
    if (nStart) aBlock[nBlocks++] = {nStart, nLines};
  }
  const int nWidth = blocks.nColumns;
  // The bytes around the blocks first: the header, the settings, the category texts.
  std::size_t nGap = 0;
  for (int k = 0; k <= nBlocks; ++k) {
    const std::size_t nEnd = k < nBlocks ? aBlock[k].nStart : nSize;
    if (!WriteAt(fd, pFile + nGap, nEnd - nGap, nGap)) return false;
    if (k < nBlocks) nGap = aBlock[k].nStart + aBlock[k].nColumnBytes * static_cast<std::size_t>(nWidth);
  }
  constexpr int kRunColumns = 64;
  const int nRuns = (nWidth + kRunColumns - 1) / kRunColumns;
  std::atomic<int> nFilled{0};
  std::atomic<bool> bStop{false};
  std::thread filler([&] {
    for (int r = 0; r < nRuns && !bStop.load(std::memory_order_relaxed); ++r) {
      FillPlaneColumns(pFile, blocks, r * kRunColumns, std::min((r + 1) * kRunColumns, nWidth));
      nFilled.store(r + 1, std::memory_order_release);
      nFilled.notify_one();
    }
  });
  bool bOk = true;
  for (int r = 0; r < nRuns && bOk; ++r) {
    for (int n = nFilled.load(std::memory_order_acquire); n <= r;
         n = nFilled.load(std::memory_order_acquire)) {
      nFilled.wait(n, std::memory_order_acquire);
    }
    const int nFirst = r * kRunColumns;
    const std::size_t nColumns = static_cast<std::size_t>(std::min(kRunColumns, nWidth - nFirst));
    for (int k = 0; k < nBlocks && bOk; ++k) {
      const std::size_t nOffset = aBlock[k].nStart + aBlock[k].nColumnBytes * static_cast<std::size_t>(nFirst);
      bOk = WriteAt(fd, pFile + nOffset, aBlock[k].nColumnBytes * nColumns, nOffset);
    }
  }
  const int nErrno = errno;
  bStop.store(true, std::memory_order_relaxed);
  filler.join();
  errno = nErrno;
  return bOk;
}

}  // namespace


namespace {

bool ReadWorkFile(const std::string& strPath, bool bRecovered) {
  // Kept from one file to the next: a large file's memory is not faulted in again each time.
  static ByteBuffer ab;
  std::string strReason;
  WorkFile file;
  DecodeError eError = DecodeError::EndsEarly;
  if (ReadWorkFileBytes(strPath, ab, strReason)) eError = DecodeWorkFile(ab, file, strReason);
  switch (eError) {
    case DecodeError::None: break;
    case DecodeError::NotWorkFile: ShowMessage(kszMsgNotWorkFile, kszCapNotWorkFile); return false;
    case DecodeError::BadXLine:
      ShowMessage(kszMsgPreviousFormat, kszCapPreviousFormat);
      ShowMessage(kszMsgBadXLine, kszCapBadXLine);
      return false;
    case DecodeError::OutOfRange:
    case DecodeError::EndsEarly:
      ShowMessage(FormatText(kszMsgCannotRead, strPath.c_str(), strReason.c_str()),
                  kszCapWorkFile);
      return false;
  }
  BusyCursorScope busy(BusyCursor::Wait);
  if (file.bPreviousFormat) return ReadPreviousFormat(file, strPath, bRecovered);

  const bool bData = file.abSection[kSectionData] == 1;
  if (!HasData() && file.abSection[kSectionData] != 0 && !bData) {
    ShowMessage(kszMsgUnknownData, kszCapUnknownData);
    return false;
  }
  const bool bMatches = SensorFromCode(file.nSensor) == g_nSensor && file.nMaxX == g_nMaxX &&
                        file.nMaxY == g_nMaxY && file.nLastBand == g_nLastBand;
  FileInformation info{file.nSensor, file.nMaxX, file.nMaxY, file.nLastBand, {}, ""};
  info.abSection.assign(file.abSection, file.abSection + SaveSectionCount());
  info.strCase = bData ? kszCaseNewData
                 : !HasData() ? kszCaseNoData
                 : bMatches   ? kszCaseSettings
                              : kszMsgNotMatching;
  if (!bRecovered && !ThePlatform().ShowFileInformation(info)) return false;
  if (!bData && !HasData()) {
    ShowMessage(kszMsgNoData, kszCapNoData);
    return false;
  }
  if (!bData && !bMatches) {
    ShowMessage(kszMsgNotMatching, kszCapNotMatching);
    return false;
  }
  if (!SettingsInRange(file, strReason)) {
    ShowMessage(FormatText(kszMsgCannotRead, strPath.c_str(), strReason.c_str()), kszCapWorkFile);
    return false;
  }

  // Taken: the file's flags become the flags of the next save.
  std::copy_n(file.abSection, SaveSectionCount(), g_abSaveSection);

  g_nSensor = SensorFromCode(file.nSensor);
  g_nMaxX = file.nMaxX;
  g_nMaxY = file.nMaxY;
  g_nLastBand = file.nLastBand;
  if (bData) {
    CommitData(file);
    RecomputeAfterWorkFileLoad();
  }
  CommitSettings(file);
  SetLoadedDocument(strPath, bRecovered);
  FinishLoad();
  return true;
}

}  // namespace

bool OpenWorkFile(const std::string& strPath) { return ReadWorkFile(strPath, false); }
bool OpenRecoveredWorkFile(const std::string& strPath) { return ReadWorkFile(strPath, true); }

bool SaveWorkFile(const std::string& strPath) {
  BusyCursorScope busy(BusyCursor::Wait);
  static ByteBuffer ab;
  std::string strReason;
  PlaneBlocks blocks;
  if (!EncodeWorkFileLayout(ab, blocks, strReason) ||
      !WriteFileAtomically(
          strPath, [&](int fd) { return WritePlaneFile(fd, ab.data(), ab.size(), blocks); },
          strReason)) {
    ShowMessage(FormatText(kszMsgCannotSave, strPath.c_str(), strReason.c_str()), kszCapWorkFile);
    return false;
  }
  SetDocumentFile(strPath);
  return true;
}

void RegisterWorkFile() {
  RegisterCommands(kaWorkFileCommands);
  SetDocumentSaveCommand(ID_FILE_SAVE);
  // The save options: no query or palette of their own, kept as the user set them until a
  // fresh program.
  RegisterSettingsGroup({
      .szName = "save options",
      .pfnResetQuery = [] {},
      .pfnClearDerived = ResetSaveOptions,
      .abSettings = SettingsBytes(g_abSaveSection),
  });
}
