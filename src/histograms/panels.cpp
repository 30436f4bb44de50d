#include "histograms/panels.h"

#include "core/state.h"

std::uint32_t HistogramUnit(std::uint32_t nMax) {
  const std::uint32_t nUnit = nMax / 100;
  return nUnit == 0 ? 1 : nUnit;
}

void ShowProductPanel(DisplayMode eProductMode, void (*pfnDrawPanel)()) {
  Canvas& canvas = ThePlatform().WindowCanvas();
  if (g_nDisplayMode != DisplayMode::DetailedHistogram) {
    canvas.FillRect(g_nMaxX + 2, 0, 1023, 1023, kcrWhite, kcrWhite);
    g_nDisplayMode = eProductMode;
    pfnDrawPanel();
  } else {
    // The detailed histogram covers the window: clear it all and let the paint bring back
    // the picture and the panel.
    canvas.FillRect(0, 0, 1023, 1023, kcrWhite, kcrWhite);
    g_nDisplayMode = eProductMode;
    ThePlatform().RepaintNow();
  }
}

void DrawHistogramFrame(Canvas& canvas, int t) {
  canvas.FillRect(g_nMaxX + 2, t, g_nMaxX + 260, t + 102, kcrBlack, kcrWhite);
}

void DrawHistogramCurve(Canvas& canvas, int t, const std::uint32_t anCount[256],
                        std::uint32_t nMax, Colorref crCurve) {
  const std::uint32_t nUnit = HistogramUnit(nMax);
  Point aPoints[257];
  for (int v = 0; v < 256; ++v) {
    aPoints[v] = {g_nMaxX + 3 + v, t + 100 - static_cast<int>(anCount[v] / nUnit)};
  }
  aPoints[256] = {g_nMaxX + 259, aPoints[255].y};
  canvas.Polyline(aPoints, 257, crCurve, 1);
}

void DrawColourBar(Canvas& canvas, int t, const Colorref acrColour[256], const bool* abSkip) {
  for (int y = t + 103; y <= t + 110; ++y) {
    for (int v = 0; v < 256; ++v) {
      if (abSkip && abSkip[v]) continue;
      canvas.SetPixel(g_nMaxX + 3 + v, y, acrColour[v]);
    }
  }
}

void FillSwatch(Canvas& canvas, const Swatch& swatch, Colorref cr) {
  for (int y = swatch.nTop; y <= swatch.nBottom; ++y) {
    for (int x = swatch.nLeft; x <= swatch.nRight; ++x) canvas.SetPixel(x, y, cr);
  }
}
