#include "import/scrolling.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "core/commands.h"
#include "core/platform.h"
#include "import/import.h"
#include "import/messages.h"
#include "import/raster.h"
#include "import/readers.h"
#include "resources/resource.h"

namespace {
bool s_bLastReloadFailed = false;
}  // namespace

bool LastReloadFailed() { return s_bLastReloadFailed; }

void ScrollWindow(int nIndex) {
  SceneExtent ext{};
  if (!HasData() || g_bWindowHasFiles != 1 || !GetSceneExtent(g_nSensor, ext)) return;
  const int W = WindowWidth(), H = WindowHeight();
  const int nRight = std::max(ext.nLastColumn - g_nMaxX, 0);
  const int nBottom = std::max(ext.nLastLine - g_nMaxY, 0);
  int x = g_nSceneOffsetX, y = g_nSceneOffsetY;
  switch (nIndex) {
    case 0: x -= W; break;
    case 1: x += W; break;
    case 2: y -= H; break;
    case 3: y += H; break;
    case 4: x -= 100; break;
    case 5: x += 100; break;
    case 6: y -= 100; break;
    case 7: y += 100; break;
    case 8: x = ext.nCentreColumn - g_nMaxX / 2; y = ext.nCentreLine - g_nMaxY / 2; break;
    case 9: x = 0; y = 0; break;
    case 10: x = 0; y = nBottom; break;
    case 11: x = nRight; y = 0; break;
    case 12: x = nRight; y = nBottom; break;
    default: return;
  }
  // Steps stop flush with the edges; the offsets never leave the scene.
  ReloadSceneWindow(std::clamp(x, 0, nRight), std::clamp(y, 0, nBottom));
}

bool ReloadSceneWindow(int nOffsetX, int nOffsetY) {
  BusyCursorScope busy(BusyCursor::AppStarting);
  s_bLastReloadFailed = false;
  const SceneWindow window{WindowWidth(), WindowHeight(), nOffsetX, nOffsetY};
  bool bError = false;
  unsigned nLoadedMask = 0;
  int nLastBand = g_nLastBand;
  switch (g_nSensor) {
    case Sensor::Raster:
      nLastBand = RasterFileBandCount() - 1;
      bError = nLastBand < 0 || !ReadRasterWindow(window);
      nLoadedMask = (1u << (nLastBand + 1)) - 1u;
      break;
    case Sensor::TmCeos:
    case Sensor::Etm6921:
    case Sensor::Etm6845: {
      // The band chain of the import, over the scene's own flags and paths.
      int abSelected[kMaxBands];
      std::copy(std::begin(g_abBandSelected), std::end(g_abBandSelected), abSelected);
      std::vector<std::string> astrDiagnostics;
      RunBandChain(g_nSensor, abSelected, g_astrBandPath, window, bError, nLastBand, nLoadedMask,
                   astrDiagnostics);
      ThePlatform().ShowDiagnostics(astrDiagnostics);
      break;
    }
    case Sensor::Mss:
    case Sensor::TmFloppy:
    case Sensor::None: return false;  // nothing behind the window to move over
  }
  if (bError) {
    // Nothing read is used: the window on show stays as it was.
    ShowMessage(kszMsgCheckFiles, kszCapThisData);
    s_bLastReloadFailed = true;
    return false;
  }
  g_nSceneOffsetX = nOffsetX;
  g_nSceneOffsetY = nOffsetY;
  // The bands read are the scene's own: a band computed over the old window (the vegetation
  // index) is no longer loaded, and can be computed again for the new one.
  if (g_nSensor == Sensor::Raster) {
    CommitRasterWindow(window.nWidth, window.nHeight);
  } else {
    CommitStagedBands(nLoadedMask, window.nWidth, window.nHeight);
  }
  g_nLastBand = nLastBand;
  if (SensorHasBandHeaders(g_nSensor)) CommitStagedHeaders(nLoadedMask);
  for (int b = g_nLastBand + 1; b < kMaxBands; ++b) std::memset(g_aszBandHeader[b], 0, 256);
  // Only band values are new: the settings stay, the marks stay in window coordinates, and the
  // picture becomes the composite.
  RecomputeAfterImport();
  if (!DispatchCommand(ID_COMPOSITE_VIEW)) ThePlatform().RepaintNow();
  return true;
}
