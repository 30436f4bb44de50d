#include "core/view.h"

#include <algorithm>

#include "core/document.h"
#include "core/platform.h"
#include "core/state.h"
#include "core/text_format.h"

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

const DisplayModeEntry* ShownMode() { return FindDisplayMode(g_nDisplayMode); }

void PaintPrompt() {
  DrawPanelText(ThePlatform().WindowCanvas(), 0, 0, kPromptTextHeight, kszPromptSelectMenu);
}

void PaintLoadInstructions() {
  Canvas& canvas = ThePlatform().WindowCanvas();
  int y = 0;
  for (const char* szLine : kaszLoadInstructions) {
    DrawPanelText(canvas, 0, y, kPromptTextHeight, szLine);
    y += 30;
  }
}

}  // namespace

void DrawPanelText(Canvas& canvas, int x, int y, int nHeight, std::string_view text) {
  canvas.TextOut(x, y, nHeight, text);
}

void RegisterViewModes() {
  RegisterDisplayMode({.eMode = DisplayMode::Prompt, .pfnPaint = PaintPrompt});
  RegisterDisplayMode({.eMode = DisplayMode::NoData, .pfnPaint = PaintLoadInstructions});
}

void PaintView() {
  const DisplayModeEntry* pMode = ShownMode();
  if (!pMode) return;
  if (pMode->bShowsPicture) ThePlatform().WindowCanvas().CopyOffscreenImage();
  if (pMode->pfnPaint) pMode->pfnPaint();
  if (pMode->pfnDrawPanel) pMode->pfnDrawPanel();
}

std::string PixelReadout() {
  const int nBands = BandCount();
  if (nBands <= 0) return "[X= -,Y= - ] (x,y)=( -, - )  Band -";
  int anValues[kMaxBands] = {};
  for (int b = 0; b < nBands && b < kMaxBands; ++b) {
    anValues[b] = g_aPixel[g_nMouseX][g_nMouseY].abBand[b];
  }
  std::string str = FormatText("[X=%d,Y=%d] (x,y)=(%d,%d) ", g_nSceneOffsetX, g_nSceneOffsetY,
                               g_nMouseX, g_nMouseY) +
                    BandList(anValues, nBands);
  // A georeferenced scene also tells where the pixel lies on the ground.
  double dEasting = 0.0, dNorthing = 0.0;
  if (MapCoordinates(g_nMouseX, g_nMouseY, dEasting, dNorthing)) {
    str += FormatText("  E=%.2f N=%.2f", dEasting, dNorthing);
  }
  return str;
}

std::string HistogramReadout(int nValue) {
  const int nBands = BandCount();
  if (nBands <= 0) return "(x,y)=( -, - )  Band -";
  int anValues[kMaxBands] = {};
  for (int b = 0; b < nBands && b < kMaxBands; ++b) {
    anValues[b] = static_cast<int>(g_anBandHist[b][nValue]);
  }
  return FormatText("CCT COUNT= %d   ", nValue) + BandList(anValues, nBands);
}

std::string StatusPane0Text() {
  const DisplayModeEntry* pMode = ShownMode();
  return pMode && pMode->pfnPane0 ? pMode->pfnPane0() : "";
}

std::string StatusPane1Text() {
  const DisplayModeEntry* pMode = ShownMode();
  return pMode && pMode->pfnPane1 ? pMode->pfnPane1() : "__";
}

void UpdateStatusReadout() {
  // Beyond the window (the panel strip, below the image) the panes keep what they show, unless
  // the mode reads out over its whole area.
  const DisplayModeEntry* pMode = ShownMode();
  const bool bEverywhere = pMode && pMode->bReadoutEverywhere;
  if (g_nMouseX < 0 || g_nMouseY < 0) return;
  if (!bEverywhere && (g_nMouseX > g_nMaxX || g_nMouseY > g_nMaxY)) return;
  ThePlatform().SetStatusText(StatusPane0Text(), StatusPane1Text());
}

void OnViewMouseMove(int x, int y) {
  g_nMouseX = x;
  g_nMouseY = y;
  UpdateStatusReadout();
}

void OnViewLButtonDown(int x, int y, bool bShift) {
  g_nMouseX = x;
  g_nMouseY = y;
  g_bStroke = true;
  g_nStrokeX = x;
  g_nStrokeY = y;
  const DisplayModeEntry* pMode = ShownMode();
  if (pMode && pMode->pfnClick) pMode->pfnClick(x, y, bShift);
  // A click on a panel may have changed a setting (a colour, the target category).
  NoteDocumentChanges();
}

void OnViewLButtonDrag(int x, int y, bool bShift) {
  OnViewMouseMove(x, y);
  // A move with the button held but no press seen in the view starts where it is.
  const int xFrom = g_bStroke ? g_nStrokeX : x, yFrom = g_bStroke ? g_nStrokeY : y;
  g_bStroke = true;
  g_nStrokeX = x;
  g_nStrokeY = y;
  const DisplayModeEntry* pMode = ShownMode();
  if (pMode && pMode->pfnDrag) pMode->pfnDrag(xFrom, yFrom, x, y, bShift);
}

void OnViewLButtonUp() { g_bStroke = false; }

void OnViewMouseLeave() { ThePlatform().SetStatusText("", ""); }

void MoveReadoutCursor(ArrowKey key) {
  switch (key) {
    case ArrowKey::Left: g_nMouseX = std::max(0, g_nMouseX - 1); break;
    case ArrowKey::Up: g_nMouseY = std::max(0, g_nMouseY - 1); break;
    case ArrowKey::Right: g_nMouseX = std::min(g_nMaxX, g_nMouseX + 1); break;
    case ArrowKey::Down: g_nMouseY = std::min(g_nMaxY, g_nMouseY + 1); break;
  }
  UpdateStatusReadout();
}

void OnViewArrowKey(ArrowKey key) {
  const DisplayModeEntry* pMode = ShownMode();
  if (pMode && pMode->pfnArrowKey) pMode->pfnArrowKey(key);
}

const char* ContextPopupForClick(bool bCtrl) {
  const DisplayModeEntry* pMode = ShownMode();
  if (!pMode || !pMode->szPopup) return DefaultContextPopup();
  return bCtrl && pMode->szCtrlPopup ? pMode->szCtrlPopup : pMode->szPopup;
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
