#include "core/view.h"

#include <algorithm>

#include "core/commands.h"
#include "core/platform.h"
#include "core/state.h"
#include "core/text_format.h"
#include "histograms/coarse_panel.h"
#include "histograms/composite_panel.h"
#include "histograms/fine_panel.h"
#include "products/coarse.h"
#include "products/composite.h"
#include "products/fine.h"

namespace {

// "Band(1,2,3)=( %d, %d, %d )" for the first n values.
std::string BandList(const int* anValues, int nBands) {
  std::string str = "Band(";
  for (int b = 1; b <= nBands; ++b) {
    if (b > 1) str += ',';
    str += std::to_string(b);
  }
  str += ")=(";
  for (int b = 0; b < nBands; ++b) {
    if (b > 0) str += ',';
    str += ' ';
    str += std::to_string(anValues[b]);
  }
  str += " )";
  return str;
}

const PixelRecord& MousePixel() { return g_aPixel[g_nMouseX][g_nMouseY]; }

int ValidBand(int nBand) { return std::clamp(nBand, 1, kMaxBands); }

}  // namespace

void DrawPanelText(Canvas& canvas, int x, int y, int nHeight, std::string_view text) {
  canvas.TextOut(x, y, nHeight, text);
}

void PaintProductPanel() {
  switch (g_nDisplayMode) {
    case kModeComposite:
      DrawCompositePanel();
      break;
    case kModeCoarse:
      DrawCoarsePanel();
      break;
    case kModeFine:
      DrawFinePanel();
      break;
    default:
      break;
  }
}

void PaintView() {
  Canvas& canvas = ThePlatform().WindowCanvas();
  switch (g_nDisplayMode) {
    case kModeComposite:
    case kModeCoarse:
    case kModeCategory:
    case kModeTraining:
    case kModeClassify:
    case kModeFine:
    case kModeBmp:
      canvas.CopyOffscreenImage();
      break;
    case kModePrompt:
      DrawPanelText(canvas, 0, 0, kPromptTextHeight, kszPromptSelectMenu);
      break;
    case kModeNoData:
      for (int i = 0; i < 7; ++i) {
        DrawPanelText(canvas, 0, 30 * i, kPromptTextHeight, kaszLoadInstructions[i]);
      }
      break;
    default:
      break;
  }
  PaintProductPanel();
}

std::string StatusPane0Text() {
  const int nBands = BandCount();
  int anValues[kMaxBands] = {};
  switch (g_nDisplayMode) {
    case kModeComposite:
    case kModeCoarse:
    case kModeCategory:
    case kModeTraining:
    case kModeClassify:
    case kModeFine: {
      if (nBands <= 0) return "[X= -,Y= - ] (x,y)=( -, - )  Band -";
      for (int b = 0; b < nBands; ++b) anValues[b] = MousePixel().abBand[b];
      return FormatText("[X=%d,Y=%d] (x,y)=(%d,%d) ", g_nSceneOffsetX, g_nSceneOffsetY, g_nMouseX,
                    g_nMouseY) +
             BandList(anValues, nBands);
    }
    case kModeDetailedHistogram: {
      if (nBands <= 0) return "(x,y)=( -, - )  Band -";
      for (int b = 0; b < nBands; ++b) {
        anValues[b] = static_cast<int>(g_anBandHist[b][g_nHistCursor]);
      }
      return FormatText("CCT COUNT= %d   ", g_nHistCursor) + BandList(anValues, nBands);
    }
    default:
      return "";
  }
}

std::string StatusPane1Text() {
  const PixelRecord& px = MousePixel();
  switch (g_nDisplayMode) {
    case kModeComposite:
      return FormatText("(R,G,B)=( %d, %d, %d )", g_abRedLut[px.abBand[ValidBand(g_nRedBand) - 1]],
                    g_abGreenLut[px.abBand[ValidBand(g_nGreenBand) - 1]],
                    g_abBlueLut[px.abBand[ValidBand(g_nBlueBand) - 1]]);
    case kModeCoarse: {
      const int v = px.abBand[ValidBand(g_nCoarseBand) - 1];
      return FormatText("(Rank,CCT COUNT)=( %d, %d )", g_abCoarseRankOfValue[v], v);
    }
    case kModeCategory:
      return px.bCategoryClass == 8 ? "[ｶﾃｺﾞﾘNo]=[ - ]"
                                    : FormatText("[ｶﾃｺﾞﾘNo]=[ %d ]", px.bCategoryClass);
    case kModeTraining:
      return px.abTrainMark[std::clamp(g_nCategory, 1, 8) - 1] ? "[状態]=[ON]" : "[状態]=[OFF]";
    case kModeClassify:
      return px.bClassifyClass == 8 ? "[ｶﾃｺﾞﾘNo]=[ - ]"
                                    : FormatText("[ｶﾃｺﾞﾘNo]=[ %d ]", px.bClassifyClass);
    case kModeDetailedHistogram:
      return " ";
    case kModeFine: {
      const int v = px.abBand[ValidBand(g_nFineBand) - 1];
      return FormatText("(R,G,B)=( %d, %d, %d )", g_anFineRed[v] & 0xFF, g_anFineGreen[v] & 0xFF,
                    g_anFineBlue[v] & 0xFF);
    }
    default:
      return "__";
  }
}

void UpdateStatusReadout() {
  // Beyond the window (the panel strip, below the image) the panes keep what they show.
  if (g_nMouseX < 0 || g_nMouseY < 0 || g_nMouseX > g_nMaxX || g_nMouseY > g_nMaxY) return;
  ThePlatform().SetStatusText(StatusPane0Text(), StatusPane1Text());
}

void OnViewMouseMove(int x, int y) {
  g_nMouseX = x;
  g_nMouseY = y;
  UpdateStatusReadout();
}

void OnViewLButtonDown(int x, int y, bool /*bShift*/) {
  g_nMouseX = x;
  g_nMouseY = y;
  switch (g_nDisplayMode) {
    case kModeComposite:
      OnCompositePanelClick(x, y);
      break;
    case kModeCoarse:
      OnCoarsePanelClick(x, y);
      break;
    case kModeFine:
      OnFinePanelClick(x, y);
      break;
    case kModeDetailedHistogram:
      if (x >= 0 && x < 512) {
        g_nHistCursor = x / 2;
        ThePlatform().RepaintNow();
        UpdateStatusReadout();
      }
      break;
    default:
      break;
  }
}

void OnViewArrowKey(ArrowKey key) {
  if (g_nDisplayMode >= kModeComposite && g_nDisplayMode <= kModeClassify) {
    switch (key) {
      case ArrowKey::Left: g_nMouseX = std::max(0, g_nMouseX - 1); break;
      case ArrowKey::Up: g_nMouseY = std::max(0, g_nMouseY - 1); break;
      case ArrowKey::Right: g_nMouseX = std::min(g_nMaxX, g_nMouseX + 1); break;
      case ArrowKey::Down: g_nMouseY = std::min(g_nMaxY, g_nMouseY + 1); break;
    }
    UpdateStatusReadout();
  } else if (g_nDisplayMode == kModeDetailedHistogram) {
    if (key == ArrowKey::Left) g_nHistCursor = std::max(0, g_nHistCursor - 1);
    else if (key == ArrowKey::Right) g_nHistCursor = std::min(255, g_nHistCursor + 1);
    else return;
    ThePlatform().RepaintNow();
    UpdateStatusReadout();
  }
}

const char* ContextPopupForClick(bool bCtrl) {
  switch (g_nDisplayMode) {
    case kModeCoarse: return bCtrl ? kszPopupCoarseBand : kszPopupCoarseColouring;
    case kModeDetailedHistogram: return kszPopupHistogram;
    case kModeFine: return bCtrl ? kszPopupFineBand : kszPopupFineColouring;
    default: return kszPopupTraining;
  }
}

ScrollSizes ComputeScrollSizes() {
  const int nWidth = WindowWidth() + 259;
  const int nHeight = WindowHeight();
  return {nWidth, nHeight, nWidth / 2, nHeight / 2, nWidth / 50, nHeight / 50};
}

void InitialUpdateView() {
  ClearOffscreenImage();
  ThePlatform().InitialUpdate();
}

void OnAlwaysRedraw() { g_bAlwaysRedraw = g_bAlwaysRedraw == 1 ? 0 : 1; }
