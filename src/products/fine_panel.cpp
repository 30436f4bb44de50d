#include "products/fine_panel.h"

#include <algorithm>

#include "core/platform.h"
#include "core/state.h"
#include "core/view.h"
#include "products/fine_settings.h"

PanelHit FinePanelLayout::Hit(int x, int y) {
  for (int k = 2; k <= 8; ++k) {
    if (const int nStep = Arrows(k).Hit(x, y)) return {k, 0, nStep, false};
  }
  return {};
}

void DrawFinePanel() {
  Canvas& canvas = ThePlatform().WindowCanvas();
  const int W = g_nMaxX;
  const int b = std::clamp(g_nFineBand, 1, kMaxBands);

  DrawHistogramFrame(canvas, 0);
  DrawHistogramCurve(canvas, 0, g_anFineHist, g_nFineHistMax, Rgb(255, 0, 0));

  Colorref acrBar[256];
  for (int v = 0; v < 256; ++v) acrBar[v] = Rgb(g_anFineRed[v], g_anFineGreen[v], g_anFineBlue[v]);
  DrawColourBar(canvas, 0, acrBar);

  DrawPanelText(canvas, W + 3, 115, kPanelTextHeight, FormatText("Band%d", b));

  for (int k = 1; k <= 8; ++k) {
    if (g_anFineSpanOn[k][b] == 1) canvas.DrawIcon(W + 3, 145 + 30 * (k - 1), kIconPanelCheck);
  }

  for (int k = 1; k <= 9; ++k) {
    const int y = FinePanelLayout::RowTop(k);
    // A point outside 0..255 (typed by hand or from a work file) shows the nearest entry.
    const int v = std::clamp(g_anFinePoint[k][b], 0, 255);
    const int R = g_anFineRed[v] & 0xFF, G = g_anFineGreen[v] & 0xFF, B = g_anFineBlue[v] & 0xFF;
    DrawPanelText(canvas, W + 20, y, kPanelTextHeight, FormatText("%d", k));
    FillSwatch(canvas, FinePanelLayout::ColourSwatch(k), Rgb(R, G, B));
    FillSwatch(canvas, {W + 70, y + 2, W + 79, y + 15}, Rgb(R, 0, 0));
    DrawPanelText(canvas, W + 82, y, kPanelSmallTextHeight, FormatText("%d  ", R));
    FillSwatch(canvas, {W + 110, y + 2, W + 119, y + 15}, Rgb(0, G, 0));
    DrawPanelText(canvas, W + 122, y, kPanelSmallTextHeight, FormatText("%d  ", G));
    FillSwatch(canvas, {W + 150, y + 2, W + 159, y + 15}, Rgb(0, 0, B));
    DrawPanelText(canvas, W + 162, y, kPanelSmallTextHeight, FormatText("%d  ", B));
    DrawPanelText(canvas, W + 190, y, kPanelTextHeight, FormatText("%d  ", g_anFinePoint[k][b]));
    if (k >= 2 && k <= 8) {
      const ArrowPair arrows = FinePanelLayout::Arrows(k);
      canvas.DrawIcon(arrows.nLeft, arrows.nTop, kIconPanelArrow);
    }
  }
}
