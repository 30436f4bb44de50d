#include "workfile/workfile_format.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "core/parallel.h"
#include "core/settings_groups.h"
#include "core/text_format.h"
#include "workfile/messages.h"
#include "core/archive.h"

namespace {

// The interleaved band headers: byte i of bands 1..8, then byte i + 1 of bands 1..8, ...
void InterleaveHeaders(const std::uint8_t (&aab)[kMaxBands][kHeaderBytes], std::uint8_t* pOut) {
  for (int i = 0; i < kHeaderBytes; ++i) {
    for (int b = 0; b < kMaxBands; ++b) *pOut++ = aab[b][i];
  }
}

void SplitHeaders(const std::uint8_t* pIn, std::uint8_t (&aab)[kMaxBands][kHeaderBytes]) {
  for (int i = 0; i < kHeaderBytes; ++i) {
    for (int b = 0; b < kMaxBands; ++b) aab[b][i] = *pIn++;
  }
}

bool InPlane(int nMaxX, int nMaxY, int nLastBand) {
  return nMaxX >= 0 && nMaxX < kMaxColumns && nMaxY >= 0 && nMaxY < kMaxLines &&
         nLastBand >= 0 && nLastBand < kMaxBands;
}

// Reads the data section (D1 to D3); false when the file ends inside it. The previous format
// has nUnusedInts section flags between the texts and the pixels.
bool ReadData(ArchiveReader& in, WorkFile& file, int nUnusedInts = 0) {
  std::uint8_t abHeaders[kMaxBands * kHeaderBytes];
  if (!in.Bytes(abHeaders, sizeof abHeaders)) return false;
  SplitHeaders(abHeaders, file.aabHeader);
  for (std::string& str : file.astrUserText) {
    if (!in.String(str)) return false;
  }
  int anUnused[8];
  if (!in.Ints(anUnused, nUnusedInts)) return false;
  const std::size_t nBytes = static_cast<std::size_t>(file.Pixels()) * (file.nLastBand + 1);
  return in.View(nBytes, file.abPixels);
}

}  // namespace

int g_abSaveSection[kMaxSaveSections];

int SaveSectionCount() {
  int n = 1;
  for (const SettingsGroup& group : SettingsGroups()) n += group.workFile.nCount;
  return n;
}

namespace {

// Calls fn(group, nFirst) for every group with sections, nFirst the index of its first flag.
template <typename Fn>
void ForEachSectionGroup(Fn fn) {
  int nFirst = 1;
  for (const SettingsGroup& group : SettingsGroups()) {
    if (group.workFile.nCount == 0) continue;
    fn(group, nFirst);
    nFirst += group.workFile.nCount;
  }
}

// The settings groups' sections the file holds, into the groups' staging copies, and the marks
// that follow a section of a group that keeps them.
bool ReadSettings(ArchiveReader& in, WorkFile& file) {
  bool bOk = true;
  ForEachSectionGroup([&](const SettingsGroup& group, int nFirst) {
    const WorkFileSectionCodec& codec = group.workFile;
    for (int i = 0; i < codec.nCount && bOk; ++i) {
      if (file.abSection[nFirst + i] != 1) continue;
      bOk = codec.pfnRead(in, i);
      if (bOk && codec.bMarksFollow && i < kMaxBands) {
        file.abMarks[i] = true;
        bOk = in.View(static_cast<std::size_t>(file.Pixels()), file.aabMarks[i]);
      }
    }
  });
  return bOk;
}

// ---- The data's own records: where the window lies on the ground and how a raster scene's
// wide values became bytes. Staged while a file is read, taken with its data.

ScenePlace s_stagedPlace;

void PutDouble(ArchiveWriter& out, double d) {
  std::uint8_t ab[8];
  std::memcpy(ab, &d, 8);  // IEEE 754 binary64; the program runs on little-endian machines only
  out.Bytes(ab, 8);
}

bool GetDouble(ArchiveReader& in, double& d) {
  std::uint8_t ab[8];
  if (!in.Bytes(ab, 8)) return false;
  std::memcpy(&d, ab, 8);
  return true;
}

bool DataSaved(const int abSaved[]) { return abSaved[0] == 1; }

bool GeoreferencingNeeded(const int abSaved[]) {
  return DataSaved(abSaved) && g_nSensor == Sensor::Raster && g_bGeoreferenced;
}

// The window's own geotransform (the scene's moved to the window's corner), the coordinate
// system as WKT and its EPSG code.
bool WriteGeoreferencing(ArchiveWriter& out, std::string&) {
  const double* t = g_adGeoTransform;
  const double dX = g_nSceneOffsetX, dY = g_nSceneOffsetY;
  const double adWindow[6] = {t[0] + dX * t[1] + dY * t[2], t[1], t[2],
                              t[3] + dX * t[4] + dY * t[5], t[4], t[5]};
  for (double d : adWindow) PutDouble(out, d);
  out.Int(static_cast<std::int32_t>(g_strCoordinateSystem.size()));
  out.Bytes(reinterpret_cast<const std::uint8_t*>(g_strCoordinateSystem.data()),
            g_strCoordinateSystem.size());
  out.Int(g_nEpsgCode);
  return true;
}

bool ReadGeoreferencing(ArchiveReader& in) {
  for (double& d : s_stagedPlace.adGeoTransform) {
    if (!GetDouble(in, d)) return false;
  }
  int nLength = 0;
  if (!in.Int(nLength) || nLength < 0 || static_cast<std::size_t>(nLength) > in.Remaining()) return false;
  std::span<const std::uint8_t> ab;
  if (!in.View(static_cast<std::size_t>(nLength), ab)) return false;
  s_stagedPlace.strWkt.assign(ab.begin(), ab.end());
  s_stagedPlace.bGeoreferenced = in.Int(s_stagedPlace.nEpsgCode);
  return s_stagedPlace.bGeoreferenced;
}

bool BandRulesNeeded(const int abSaved[]) {
  if (!DataSaved(abSaved) || g_nSensor != Sensor::Raster) return false;
  for (int b = 0; b <= g_nLastBand; ++b) {
    if (g_abRasterScaled[b] == 1 || g_abRasterHasNoData[b] == 1) return true;
  }
  return false;
}

// Per band of the data: scaled (0/1), the values that became 1 and 255, has nodata (0/1), it.
bool WriteBandRules(ArchiveWriter& out, std::string&) {
  out.Int(g_nLastBand + 1);
  for (int b = 0; b <= g_nLastBand; ++b) {
    out.Int(g_abRasterScaled[b]);
    PutDouble(out, g_adRasterLow[b]);
    PutDouble(out, g_adRasterHigh[b]);
    out.Int(g_abRasterHasNoData[b]);
    PutDouble(out, g_adRasterNoData[b]);
  }
  return true;
}

bool ReadBandRules(ArchiveReader& in) {
  int nBands = 0;
  if (!in.Int(nBands) || nBands < 1 || nBands > kMaxBands) return false;
  s_stagedPlace.nRuleBands = nBands;
  for (int b = 0; b < nBands; ++b) {
    BandRule& rule = s_stagedPlace.aRule[b];
    int anFlag[2];
    if (!in.Int(anFlag[0]) || !GetDouble(in, rule.dLow) || !GetDouble(in, rule.dHigh) ||
        !in.Int(anFlag[1]) || !GetDouble(in, rule.dNoData)) {
      return false;
    }
    rule.bScaled = anFlag[0] != 0;
    rule.bHasNoData = anFlag[1] != 0;
  }
  return true;
}

void UnstagePlace() { s_stagedPlace = ScenePlace{}; }

const WorkFileRecord kaDataRecords[] = {
    {.nTag = 3,
     .pfnNeeded = GeoreferencingNeeded,
     .pfnWrite = WriteGeoreferencing,
     .pfnRead = ReadGeoreferencing,
     .pfnUnstage = UnstagePlace},
    {.nTag = 4,
     .pfnNeeded = BandRulesNeeded,
     .pfnWrite = WriteBandRules,
     .pfnRead = ReadBandRules,
     .pfnUnstage = UnstagePlace},
};

std::vector<WorkFileRecord> AllRecords() {
  std::vector<WorkFileRecord> a(std::begin(kaDataRecords), std::end(kaDataRecords));
  for (const SettingsGroup& group : SettingsGroups()) {
    a.insert(a.end(), group.workFile.aRecords.begin(), group.workFile.aRecords.end());
  }
  return a;
}

// The extension block after the last section: "GLEX", its version, the number of records, then
// each record as its tag, its length in bytes and its payload. Only records whose settings
// differ from what their absence means are written; without any, no block.
constexpr std::uint8_t kabExtensionMagic[4] = {'G', 'L', 'E', 'X'};

bool WriteExtension(ArchiveWriter& out, const int abSaved[], std::string& strReason) {
  std::vector<const WorkFileRecord*> apRecords;
  for (const WorkFileRecord& record : kaDataRecords) {
    if (record.pfnNeeded(abSaved)) apRecords.push_back(&record);
  }
  ForEachSectionGroup([&](const SettingsGroup& group, int nFirst) {
    for (const WorkFileRecord& record : group.workFile.aRecords) {
      if (record.pfnNeeded(&abSaved[nFirst])) apRecords.push_back(&record);
    }
  });
  if (apRecords.empty()) return true;
  out.Bytes(kabExtensionMagic, sizeof kabExtensionMagic);
  out.Int(kWorkFileExtensionVersion);
  out.Int(static_cast<std::int32_t>(apRecords.size()));
  for (const WorkFileRecord* pRecord : apRecords) {
    out.Int(pRecord->nTag);
    const std::size_t nLengthAt = out.Data().size();
    out.Int(0);
    if (!pRecord->pfnWrite(out, strReason)) return false;
    const auto nLength = static_cast<std::uint32_t>(out.Data().size() - nLengthAt - 4);
    for (std::size_t k = 0; k < 4; ++k) {
      out.Data()[nLengthAt + k] = static_cast<std::uint8_t>(nLength >> (8 * k));
    }
  }
  return true;
}

// Bytes after the last section that do not begin the block are ignored, as they always were.
// A record of a tag no group has comes from a newer program and is skipped.
DecodeError ReadExtension(ArchiveReader& in, std::string& strReason) {
  std::uint8_t abMagic[4];
  if (in.Remaining() < sizeof abMagic || !in.Bytes(abMagic, sizeof abMagic) ||
      !std::equal(std::begin(abMagic), std::end(abMagic), std::begin(kabExtensionMagic))) {
    return DecodeError::None;
  }
  int an[2];
  if (!in.Ints(an, 2)) {
    strReason = "the file ends inside its extension block's header";
    return DecodeError::EndsEarly;
  }
  if (an[0] != kWorkFileExtensionVersion) {
    strReason = FormatText("its extension block is of version %d; this program reads version %d",
                           an[0], kWorkFileExtensionVersion);
    return DecodeError::OutOfRange;
  }
  for (int r = 0; r < an[1]; ++r) {
    int anRecord[2];
    std::span<const std::uint8_t> abPayload;
    if (!in.Ints(anRecord, 2) || anRecord[1] < 0 ||
        !in.View(static_cast<std::size_t>(anRecord[1]), abPayload)) {
      strReason = FormatText("the file ends inside record %d of its extension block", r + 1);
      return DecodeError::EndsEarly;
    }
    for (const WorkFileRecord& known : AllRecords()) {
      if (known.nTag != anRecord[0]) continue;
      ArchiveReader record(abPayload);
      if (!known.pfnRead(record) || record.Remaining() != 0) {
        strReason = FormatText("record %d (tag %d) of its extension block does not fit its "
                               "length",
                               r + 1, anRecord[0]);
        return DecodeError::EndsEarly;
      }
    }
  }
  return DecodeError::None;
}

}  // namespace

int SaveSectionIndex(std::string_view strName) {
  int nIndex = strName == "data" ? kSectionData : -1;
  ForEachSectionGroup([&](const SettingsGroup& group, int nFirst) {
    for (int i = 0; i < group.workFile.nCount; ++i) {
      if (strName == group.workFile.aszNames[i]) nIndex = nFirst + i;
    }
  });
  return nIndex;
}

std::string SaveSectionLabel(int k) {
  std::string str = k == kSectionData ? kszSectionDataLabel : "";
  ForEachSectionGroup([&](const SettingsGroup& group, int nFirst) {
    if (k >= nFirst && k < nFirst + group.workFile.nCount) str = group.workFile.aszLabels[k - nFirst];
  });
  return str;
}

std::string SaveSectionDetail(int k) {
  std::string str;
  ForEachSectionGroup([&](const SettingsGroup& group, int nFirst) {
    if (k >= nFirst && k < nFirst + group.workFile.nCount && group.workFile.pfnDetail) {
      str = group.workFile.pfnDetail(k - nFirst);
    }
  });
  return str;
}

const ScenePlace& StagedScenePlace() { return s_stagedPlace; }

bool SettingsInRange(const WorkFile& file, std::string& strReason) {
  const ScenePlace& place = s_stagedPlace;
  if (place.bGeoreferenced && !std::all_of(std::begin(place.adGeoTransform),
                                           std::end(place.adGeoTransform),
                                           [](double d) { return std::isfinite(d); })) {
    strReason = "its geotransform holds a number that is not finite";
    return false;
  }
  for (int b = 0; b < place.nRuleBands; ++b) {
    const BandRule& rule = place.aRule[b];
    if (rule.bScaled && !(std::isfinite(rule.dLow) && std::isfinite(rule.dHigh) && rule.dHigh > rule.dLow)) {
      strReason = FormatText("the scaling of band %d is not a finite range", b + 1);
      return false;
    }
  }
  bool bOk = true;
  ForEachSectionGroup([&](const SettingsGroup& group, int nFirst) {
    if (bOk) bOk = group.workFile.pfnValidate(&file.abSection[nFirst], strReason);
  });
  return bOk;
}

void CommitSettingsSections(const WorkFile& file) {
  ForEachSectionGroup([&](const SettingsGroup& group, int nFirst) {
    group.workFile.pfnCommit(&file.abSection[nFirst]);
  });
}

bool PlaneBlocks::Any() const {
  return nPixelStart != 0 || std::any_of(std::begin(anMarkStart), std::end(anMarkStart),
                                         [](std::size_t n) { return n != 0; });
}

PlaneSource LivePlane() { return {&g_aPixel[0][0], kMaxLines}; }

// Each record is read once for its bands and its marks.
void FillPlaneColumns(std::uint8_t* pFile, const PlaneBlocks& blocks, int nFirst, int nEnd,
                      PlaneSource plane) {
  const int nBands = blocks.nBands;
  const int nLines = blocks.nLines;
  // Local copies: the byte stores could alias anything reached through memory.
  std::uint8_t* ap[8];
  int an[8], n = 0;
  for (int c = 0; c < 8; ++c) {
    if (blocks.anMarkStart[c] == 0) continue;
    ap[n] = pFile + blocks.anMarkStart[c];
    an[n++] = c;
  }
  std::uint8_t* const pBandsOut = blocks.nPixelStart ? pFile + blocks.nPixelStart : nullptr;
  for (int x = nFirst; x < nEnd; ++x) {
    std::size_t i = static_cast<std::size_t>(x) * nLines;
    const PixelRecord* const pColumn = plane.pRecords + static_cast<std::size_t>(x) * plane.nColumnStride;
    int y = 0;
#if defined(__SSE2__)
    if (n == 8 && (!pBandsOut || nBands == kMaxBands)) {
      // Every category (and every band): the marks of eight records form an 8 x 8 byte block, transposed so that
      // each category's eight marks go out in one store.
      for (; y + 8 <= nLines; y += 8, i += 8) {
        const PixelRecord* p = pColumn + y;
        __m128i am[8];
        // The classic blocks hold training marks only (1); a test mark (2) goes out as 0.
        const __m128i kOnes = _mm_set1_epi8(1);
        for (int j = 0; j < 8; ++j) {
          am[j] = _mm_and_si128(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(p[j].abTrainMark)),
                                kOnes);
          if (pBandsOut) {
            std::memcpy(pBandsOut + (i + static_cast<std::size_t>(j)) * kMaxBands, p[j].abBand,
                        kMaxBands);
          }
        }
        const __m128i a01 = _mm_unpacklo_epi8(am[0], am[1]), a23 = _mm_unpacklo_epi8(am[2], am[3]);
        const __m128i a45 = _mm_unpacklo_epi8(am[4], am[5]), a67 = _mm_unpacklo_epi8(am[6], am[7]);
        const __m128i b03 = _mm_unpacklo_epi16(a01, a23), b47 = _mm_unpacklo_epi16(a45, a67);
        const __m128i c03 = _mm_unpackhi_epi16(a01, a23), c47 = _mm_unpackhi_epi16(a45, a67);
        const __m128i aRows[4] = {_mm_unpacklo_epi32(b03, b47), _mm_unpackhi_epi32(b03, b47),
                                  _mm_unpacklo_epi32(c03, c47), _mm_unpackhi_epi32(c03, c47)};
        for (int k = 0; k < 4; ++k) {  // categories 2k and 2k + 1
          _mm_storel_epi64(reinterpret_cast<__m128i*>(ap[2 * k] + i), aRows[k]);
          _mm_storel_epi64(reinterpret_cast<__m128i*>(ap[2 * k + 1] + i),
                           _mm_unpackhi_epi64(aRows[k], aRows[k]));
        }
      }
    }
#endif
    for (; y < nLines; ++y, ++i) {
      const PixelRecord& record = pColumn[y];
      if (pBandsOut) {
        std::uint8_t* pOut = pBandsOut + i * static_cast<std::size_t>(nBands);
        if (nBands == kMaxBands) {
          std::memcpy(pOut, record.abBand, kMaxBands);  // a fixed size: no call
        } else {
          for (int b = 0; b < nBands; ++b) pOut[b] = record.abBand[b];
        }
      }
      if (n == 8) {  // every category: a fixed loop the compiler unrolls
        for (int k = 0; k < 8; ++k) ap[k][i] = record.abTrainMark[k] & 1;
      } else {
        for (int k = 0; k < n; ++k) ap[k][i] = record.abTrainMark[an[k]] & 1;
      }
    }
  }
}

bool EncodeWorkFile(ByteBuffer& abOut, std::string& strReason) {
  PlaneBlocks blocks;
  if (!EncodeWorkFileLayout(abOut, blocks, strReason)) return false;
  if (blocks.Any()) {
    ForColumnParts(WindowWidth(), WindowHeight(), [&](int nFirst, int nEnd, int) {
      FillPlaneColumns(abOut.data(), blocks, nFirst, nEnd);
    });
  }
  return true;
}


bool EncodeWorkFileLayout(ByteBuffer& abOut, PlaneBlocks& blocks, std::string& strReason,
                          const int* abSections) {
  blocks = PlaneBlocks();
  blocks.nColumns = WindowWidth();
  blocks.nLines = WindowHeight();
  blocks.nBands = g_nLastBand + 1;
  ArchiveWriter out(std::move(abOut));
  const int* ab = abSections ? abSections : g_abSaveSection;
  out.Int(kWorkFileVersion);
  const int nSections = SaveSectionCount();
  for (int i = 0; i < nSections; ++i) out.Int(ab[i]);
  out.Int(SensorCode(g_nSensor));
  out.Int(g_nMaxX);
  out.Int(g_nMaxY);
  out.Int(g_nLastBand);

  const bool bPlane = InPlane(g_nMaxX, g_nMaxY, g_nLastBand);
  if (ab[kSectionData] == 1) {
    std::uint8_t abHeaders[kMaxBands * kHeaderBytes];
    InterleaveHeaders(g_aszBandHeader, abHeaders);
    out.Bytes(abHeaders, sizeof abHeaders);
    for (const std::string& str : g_astrUserText) {
      if (!out.String(str)) {
        strReason = FormatText("the text \"%s\" has characters that cannot be saved", str.c_str());
        return false;
      }
    }
    if (bPlane) {
      // Room for the pixels; FillPlaneColumns fills them with the marks.
      blocks.nPixelStart = out.Data().size();
      out.Data().resize(blocks.nPixelStart + static_cast<std::size_t>(WindowWidth()) * WindowHeight() *
                                          static_cast<std::size_t>(g_nLastBand + 1));
    }
  }
  bool bOk = true;
  ForEachSectionGroup([&](const SettingsGroup& group, int nFirst) {
    const WorkFileSectionCodec& codec = group.workFile;
    for (int i = 0; i < codec.nCount && bOk; ++i) {
      if (ab[nFirst + i] != 1) continue;
      bOk = codec.pfnWrite(out, i, strReason);
      // Room for the marks; FillPlaneColumns fills them.
      if (bOk && codec.bMarksFollow && i < kMaxBands && bPlane) {
        blocks.anMarkStart[i] = out.Data().size();
        out.Data().resize(out.Data().size() +
                          static_cast<std::size_t>(WindowWidth()) * WindowHeight());
      }
    }
  });
  if (!bOk || !WriteExtension(out, ab, strReason)) return false;
  abOut = std::move(out.Data());
  return true;
}

DecodeError DecodeWorkFile(std::span<const std::uint8_t> ab, WorkFile& file,
                           std::string& strReason) {
  file = WorkFile{};
  for (const WorkFileRecord& record : AllRecords()) record.pfnUnstage();
  ArchiveReader in(ab);
  std::int32_t nFirst = 0;
  auto endsEarly = [&] {
    strReason = FormatText("the file ends early (%zu bytes, more needed after byte %zu)",
                           ab.size(), in.Offset());
    return DecodeError::EndsEarly;
  };
  if (!in.Int(nFirst)) return endsEarly();

  if (nFirst >= 0 && nFirst <= 3) {
    // The previous format: the sensor, the extent, an unused integer, the data with five
    // section flags between the texts and the pixels; its settings are not used.
    file.bPreviousFormat = true;
    file.nSensor = nFirst;
    int an[4];
    if (!in.Ints(an, 4)) return endsEarly();
    file.nMaxX = an[0];
    file.nMaxY = an[1];
    file.nLastBand = an[2];
    if (file.nMaxX < 511 || file.nMaxX > 800) {
      strReason = FormatText("the last column, %d, is outside 511..800", file.nMaxX);
      return DecodeError::BadXLine;
    }
    if (!InPlane(file.nMaxX, file.nMaxY, file.nLastBand)) {
      strReason = FormatText("the last line (%d) or band (%d) is outside the program's limits",
                             file.nMaxY, file.nLastBand);
      return DecodeError::OutOfRange;
    }
    if (!ReadData(in, file, 5)) return endsEarly();
    file.abSection[kSectionData] = 1;
    return DecodeError::None;
  }
  if (nFirst != kWorkFileVersion) {
    strReason = FormatText("it begins with %d, which is no work file's version", nFirst);
    return DecodeError::NotWorkFile;
  }
  int an[4];
  if (!in.Ints(file.abSection, SaveSectionCount()) || !in.Ints(an, 4)) return endsEarly();
  file.nSensor = an[0];
  file.nMaxX = an[1];
  file.nMaxY = an[2];
  file.nLastBand = an[3];
  if (!(file.nSensor >= 0 && file.nSensor <= 5) || !InPlane(file.nMaxX, file.nMaxY, file.nLastBand)) {
    strReason = FormatText("its sensor %d, last column %d, last line %d or last band %d is outside "
                           "what the program holds",
                           file.nSensor, file.nMaxX, file.nMaxY, file.nLastBand);
    return DecodeError::OutOfRange;
  }
  if (file.abSection[kSectionData] == 1 && !ReadData(in, file)) return endsEarly();
  if (!ReadSettings(in, file)) return endsEarly();
  return ReadExtension(in, strReason);
}
