#include "import/import.h"

#include <algorithm>
#include <cstring>

#include "core/commands.h"
#include "core/display_modes.h"
#include "core/document.h"
#include "core/file_io.h"
#include "core/platform.h"
#include "core/text_format.h"
#include "core/view.h"
#include "import/messages.h"
#include "import/ndvi.h"
#include "import/readers.h"
#include "import/scrolling.h"
#include "resources/resource.h"

namespace {

// The scene globals describe the loaded scene (the scrolling rules and re-read use them), so a
// failed run cannot store its dialog values there. They are kept here instead, together with
// the description they were made against: once something else loads a scene, the scene's own
// values win again.
bool s_bFailedRunKept = false;
SatelliteDialogValues s_failedRun;
SatelliteDialogValues s_sceneAtFailure;

SatelliteDialogValues LoadedSceneValues() {
  SatelliteDialogValues values;
  values.nSensor = g_nSensor;
  values.nDisplaySize = g_nDisplaySize;
  std::copy(std::begin(g_abBandSelected), std::end(g_abBandSelected), values.abBandSelected);
  std::copy(std::begin(g_astrBandPath), std::end(g_astrBandPath), values.astrBandPath);
  return values;
}

bool SameValues(const SatelliteDialogValues& a, const SatelliteDialogValues& b) {
  return a.nSensor == b.nSensor && a.nDisplaySize == b.nDisplaySize &&
         std::equal(std::begin(a.abBandSelected), std::end(a.abBandSelected),
                    std::begin(b.abBandSelected)) &&
         std::equal(std::begin(a.astrBandPath), std::end(a.astrBandPath),
                    std::begin(b.astrBandPath));
}

bool IsSceneSensor(Sensor eSensor) { return eSensor != Sensor::None; }


// Opens and reads one band of the chain into the staging area.
// The line that says why band nBand's file could not be read.
std::string RefusedFileLine(Sensor eSensor, int nBand, const std::string& strPath,
                            const CBandFile& file, const SceneWindow& window) {
  std::string strLayout;
  const std::int64_t nNeeded = BandBytesNeeded(eSensor, nBand, window, strLayout);
  const std::int64_t nSize = file.Size();
  if (nSize >= 0 && nSize < nNeeded) {
    return FormatText("Band%d: %s has %s bytes; it needs %s (%s)", nBand, strPath.c_str(),
                      GroupDigits(nSize).c_str(), GroupDigits(nNeeded).c_str(),
                      strLayout.c_str());
  }
  return FormatText("Band%d: %s could not be read", nBand, strPath.c_str());
}

void LoadBand(Sensor eSensor, int nBand, const std::string& strPath, const SceneWindow& window,
              bool& bError, int& nLastBand, unsigned& nLoadedMask,
              std::vector<std::string>& astrDiagnostics) {
  const bool bCeos = eSensor == Sensor::TmCeos;
  const char* szCaption = kaszCapBand[nBand - 1];
  if (strPath.empty()) {
    ShowMessage(bCeos ? kszMsgNoPathCeos : kszMsgNoPath, szCaption);
    bError = true;
    return;
  }
  CBandFile file;
  if (!file.Open(strPath)) {
    ShowMessage(bCeos ? kszMsgCannotOpenCeos : kszMsgCannotOpen, szCaption);
    bError = true;
    if (const char* szKind = SpecialFileKind(strPath)) {
      astrDiagnostics.push_back(
          FormatText("Band%d: %s is %s, not a regular file", nBand, strPath.c_str(), szKind));
    }
  } else if (ReadBandWindow(eSensor, nBand, file, window)) {
    nLoadedMask |= 1u << (nBand - 1);
  } else {
    bError = true;  // a short file has no message box of its own, only its line
    astrDiagnostics.push_back(RefusedFileLine(eSensor, nBand, strPath, file, window));
  }
  nLastBand = nBand - 1;
}

}  // namespace

bool WindowOfDisplaySize(int nDisplaySize, int& nMaxX, int& nMaxY) {
  switch (nDisplaySize) {
    case 0: nMaxX = 511; nMaxY = 399; return true;
    case 1: nMaxX = 799; nMaxY = 599; return true;
    case 2: nMaxX = 1023; nMaxY = 1023; return true;
    default: return false;
  }
}

SatelliteDialogValues CurrentSatelliteDialogValues() {
  SatelliteDialogValues scene = LoadedSceneValues();
  if (s_bFailedRunKept && SameValues(scene, s_sceneAtFailure)) return s_failedRun;
  return scene;
}

void ForgetSatelliteDialogValues() { s_bFailedRunKept = false; }

void ClampSceneOffsets(Sensor eSensor, int nMaxX, int nMaxY, int& nOffsetX, int& nOffsetY) {
  SceneExtent extent{};
  if (!GetSceneExtent(eSensor, extent)) return;
  nOffsetX = std::clamp(nOffsetX, 0, std::max(0, extent.nLastColumn - nMaxX));
  nOffsetY = std::clamp(nOffsetY, 0, std::max(0, extent.nLastLine - nMaxY));
}

void RunBandChain(Sensor eSensor, int abBandSelected[kMaxBands],
                  const std::string astrBandPath[kMaxBands], const SceneWindow& window,
                  bool& bError, int& nLastBand, unsigned& nLoadedMask,
                  std::vector<std::string>& astrDiagnostics) {
  // CEOS scenes have seven bands; their Band8 box is neither read nor checked nor cleared.
  const int nHighest = eSensor == Sensor::TmCeos ? 7 : kMaxBands;
  if (abBandSelected[0] == 0) {
    ShowMessage(kszMsgBand1Required, kaszCapBand[0]);
    bError = true;
  } else {
    LoadBand(eSensor, 1, astrBandPath[0], window, bError, nLastBand, nLoadedMask,
             astrDiagnostics);
  }
  for (int nBand = 2; nBand <= nHighest; ++nBand) {
    const int i = nBand - 1;
    if (abBandSelected[i - 1] != 0) {
      if (abBandSelected[i] != 0) {
        LoadBand(eSensor, nBand, astrBandPath[i], window, bError, nLastBand, nLoadedMask,
                 astrDiagnostics);
      }
    } else if (abBandSelected[i] != 0) {
      // Past a gap: the flag is cleared, so every later band is past the gap too.
      ShowMessage(kaszMsgBandInvalid[i], kaszCapBand[i]);
      bError = true;
      abBandSelected[i] = 0;
    }
  }
}

bool ApplyOpenSatellite(const SatelliteDialogValues& values) {
  BusyCursorScope busy(BusyCursor::AppStarting);
  SatelliteDialogValues run = values;
  bool bError = false;

  switch (run.nSensor) {
    case Sensor::Mss:
    case Sensor::TmFloppy:
      if (run.nDisplaySize != 0) {
        ShowMessage(kszMsgFloppySize,
                    run.nSensor == Sensor::Mss ? kszCapSizeMssFd : kszCapSizeTmFd);
        run.nDisplaySize = 0;
      }
      break;
    case Sensor::TmCeos:
    case Sensor::Etm6921:
    case Sensor::Etm6845: break;
    // Raster files come through their own dialog; the scene dialog has no button for them.
    case Sensor::Raster:
    case Sensor::None:
      ShowMessage(kszMsgNoSensor, kszCapNoSensor);
      bError = true;
      break;
  }

  int nMaxX = g_nMaxX, nMaxY = g_nMaxY;
  if (!WindowOfDisplaySize(run.nDisplaySize, nMaxX, nMaxY)) {
    ShowMessage(kszMsgNoDisplaySize, kszCapNoSensor);
    bError = true;
  }

  // Offsets kept from the previous scene may lie outside this one.
  SceneWindow window{nMaxX + 1, nMaxY + 1, g_nSceneOffsetX, g_nSceneOffsetY};
  ClampSceneOffsets(run.nSensor, nMaxX, nMaxY, window.nOffsetX, window.nOffsetY);

  int nLastBand = g_nLastBand;
  unsigned nLoadedMask = 0;
  std::vector<std::string> astrDiagnostics;
  if (IsSceneSensor(run.nSensor)) {
    RunBandChain(run.nSensor, run.abBandSelected, run.astrBandPath, window, bError, nLastBand,
                 nLoadedMask, astrDiagnostics);
  }
  ThePlatform().ShowDiagnostics(astrDiagnostics);

  if (bError) {
    // Nothing read is used: the scene on show, its marks and the picture stay as they were.
    ShowMessage(kszMsgCheckFiles, kszCapThisData);
    s_failedRun = run;
    s_sceneAtFailure = LoadedSceneValues();
    s_bFailedRunKept = true;
    return false;
  }

  s_bFailedRunKept = false;
  g_nSensor = run.nSensor;
  g_nDisplaySize = run.nDisplaySize;
  std::copy(std::begin(run.abBandSelected), std::end(run.abBandSelected), g_abBandSelected);
  std::copy(std::begin(run.astrBandPath), std::end(run.astrBandPath), g_astrBandPath);
  g_nMaxX = nMaxX;
  g_nMaxY = nMaxY;
  g_nSceneOffsetX = window.nOffsetX;
  g_nSceneOffsetY = window.nOffsetY;
  g_nLastBand = nLastBand;
  g_bWindowHasFiles = 1;

  CommitStagedBands(nLoadedMask, window.nWidth, window.nHeight);
  if (SensorHasBandHeaders(run.nSensor)) CommitStagedHeaders(nLoadedMask);
  for (int b = g_nLastBand + 1; b < kMaxBands; ++b) std::memset(g_aszBandHeader[b], 0, 256);

  FinishSceneImport();
  return true;
}

void FinishSceneImport() {
  RecomputeAfterImport();
  ResetAfterImport();
  // The document is the scene now, with no work file: a save asks for a name.
  const auto itFile = std::find_if(std::begin(g_astrBandPath), std::end(g_astrBandPath),
                                   [](const std::string& str) { return !str.empty(); });
  SetDocumentScene(itFile == std::end(g_astrBandPath) ? std::string() : *itFile);
  g_nDisplayMode = DisplayMode::Prompt;
  InitialUpdateView();
  // The readout of the scene before must not stay on show.
  ThePlatform().SetStatusText(StatusPane0Text(), StatusPane1Text());
}

// ---- Registration ---------------------------------------------------------------------------
namespace {

// The jumps (centre and corners, nArg 8..12) are checked when the window is exactly there.
bool ScrollJumpTarget(int nIndex, int& nX, int& nY) {
  SceneExtent ext{};
  if (!GetSceneExtent(g_nSensor, ext)) return false;
  const int nRight = ext.nLastColumn - g_nMaxX;
  const int nBottom = ext.nLastLine - g_nMaxY;
  switch (nIndex) {
    case 8: nX = ext.nCentreColumn - g_nMaxX / 2; nY = ext.nCentreLine - g_nMaxY / 2; return true;
    case 9: nX = 0; nY = 0; return true;
    case 10: nX = 0; nY = nBottom; return true;
    case 11: nX = nRight; nY = 0; return true;
    case 12: nX = nRight; nY = nBottom; return true;
    default: return false;
  }
}

bool CheckScrollJump(int nIndex) {
  int nX = 0, nY = 0;
  return ScrollJumpTarget(nIndex, nX, nY) && g_nSceneOffsetX == nX && g_nSceneOffsetY == nY;
}

template <int N> void OnScroll() { ScrollWindow(N); }

#define SCROLL(id, text, n, word, check, icon)                                              \
  COMMAND(id, text, SC, .nArg = n, .pfnCheck = check, .pfnHandler = OnScroll<n>, .szIcon = icon, \
          .szCliOption = "--scroll", .szCliValue = word)

// Dialog IDD_BAND_ARITHMETIC has no fields: "作成" creates the band.
void NoValues(int[]) {}
void ApplyNdvi(const int[]) { CreateNdviBand(); }

}  // namespace

const DialogSpec kBandArithmeticDialog = {.nId = IDD_BAND_ARITHMETIC,
                                          .aFields = {},
                                          .anCliOrder = {},
                                          .pfnCurrent = NoValues,
                                          .pfnApply = ApplyNdvi};

namespace {

// The BMP picture's file dialog is the desktop's: it gives the open command its handler.
const CommandEntry kaImportCommands[] = {
    COMMAND(ID_OPEN_SATELLITE, "衛星データファイルを開く(&E)...", Always),
    // Its dialog is the desktop's, which gives it its handler.
    COMMAND(ID_OPEN_RASTER, "ラスターファイルを開く(&G)...", Always),
    SCROLL(ID_SCROLL_LEFT, "【←】左（西）へ１画面スクロール( )", 0, "left", nullptr, "arrow-left"),
    SCROLL(ID_SCROLL_RIGHT, "【→】右（東）へ１画面スクロール( )", 1, "right", nullptr,
           "arrow-right"),
    SCROLL(ID_SCROLL_UP, "【↑】上（北）へ１画面スクロール( )", 2, "up", nullptr, "arrow-up"),
    SCROLL(ID_SCROLL_DOWN, "【↓】下（南）へ１画面スクロール( )", 3, "down", nullptr, "arrow-down"),
    SCROLL(ID_SCROLL_LEFT100, "【←】左（西）へ100ドットスクロール( )", 4, "left100", nullptr, nullptr),
    SCROLL(ID_SCROLL_RIGHT100, "【→】右（東）へ100ドットスクロール( )", 5, "right100", nullptr,
           nullptr),
    SCROLL(ID_SCROLL_UP100, "【↑】上（北）へ100ドットスクロール( )", 6, "up100", nullptr, nullptr),
    SCROLL(ID_SCROLL_DOWN100, "【↓】下（南）へ100ドットスクロール( )", 7, "down100", nullptr, nullptr),
    SCROLL(ID_SCROLL_CENTRE, "【□】センターへ移動( )", 8, "centre", CheckScrollJump, nullptr),
    SCROLL(ID_SCROLL_TOP_LEFT, "【┘】左上コーナーへ移動( )", 9, "top-left", CheckScrollJump, nullptr),
    SCROLL(ID_SCROLL_BOTTOM_LEFT, "【┐】左下コーナーへ移動( )", 10, "bottom-left", CheckScrollJump,
           nullptr),
    SCROLL(ID_SCROLL_TOP_RIGHT, "【└】右上コーナーへ移動( )", 11, "top-right", CheckScrollJump,
           nullptr),
    SCROLL(ID_SCROLL_BOTTOM_RIGHT, "【┌】右下コーナーへ移動( )", 12, "bottom-right",
           CheckScrollJump, nullptr),
    COMMAND(ID_OPEN_BMP, "ＢＭＰ画像ファイルを開く(&B)...", Always),
    COMMAND(ID_BAND_ARITHMETIC, "演算ライブラリ(&L)...", D1, .szCliOption = "--ndvi",
            .pDialog = &kBandArithmeticDialog),
};

#undef SCROLL

}  // namespace

void RegisterImport() {
  RegisterCommands(kaImportCommands);
  RegisterDisplayMode({.eMode = DisplayMode::Bmp, .bShowsPicture = true});
}
