#include "products/coarse_panel.h"

#include <algorithm>

#include "core/platform.h"
#include "core/state.h"
#include "core/view.h"
#include "products/coarse_settings.h"

PanelHit CoarsePanelLayout::Hit(int x, int y) {
  for (int k = 1; k <= 8; ++k) {
    if (k <= 7) {
      if (const int nStep = Arrows(k).Hit(x, y)) return {k, 0, nStep, false};
    }
    if (ColourSwatch(k).Hit(x, y)) return {k, 0, 0, true};
  }
  return {};
}

void DrawCoarsePanel() {
  Canvas& canvas = ThePlatform().WindowCanvas();
  const int W = g_nMaxX;
  const int b = std::clamp(g_nCoarseBand, 1, kMaxBands);

  DrawHistogramFrame(canvas, 0);
  DrawHistogramCurve(canvas, 0, g_anCoarseHist, g_nCoarseHistMax, Rgb(255, 0, 0));

  Colorref acrBar[256];
  bool abSkip[256];
  for (int v = 0; v < 256; ++v) {
    const int r = g_abCoarseRankOfValue[v];
    abSkip[v] = r < 1 || r > 8;
    acrBar[v] = abSkip[v] ? 0 : g_acrRankColour[r][b];
  }
  DrawColourBar(canvas, 0, acrBar, abSkip);

  DrawPanelText(canvas, W + 3, 130, kPanelTextHeight, FormatText("Band%d  ", b));

  // A window of fewer than 100 pixels would make the hundredth 0; it counts as 1 then.
  const long long N = static_cast<long long>(g_nMaxX + 1) * (g_nMaxY + 1);
  const long long nHundredth = std::max(N / 100, 1LL);
  for (int k = 1; k <= 8; ++k) {
    const int y = CoarsePanelLayout::RowTop(k);
    if (g_anRankColourOn[k][b] == 1) canvas.DrawIcon(W + 3, y, kIconPanelCheck);
    DrawPanelText(canvas, W + 20, y, kPanelTextHeight, FormatText("%d", k));
    FillSwatch(canvas, CoarsePanelLayout::ColourSwatch(k), g_acrRankColour[k][b]);
    DrawPanelText(canvas, W + 60, y, kPanelTextHeight,
                  FormatText("%d   ", static_cast<int>(g_anRankCount[k] / nHundredth)));
    DrawPanelText(canvas, W + 90, y, kPanelTextHeight,
                  FormatText("%d     ", static_cast<int>(g_anRankCount[k])));
    DrawPanelText(canvas, W + 150, y, kPanelTextHeight,
                  k == 1 ? std::string("0  ") : FormatText("%d  ", g_anRankUpper[k - 1][b]));
    DrawPanelText(canvas, W + 178, y, kPanelTextHeight,
                  k == 8 ? std::string("～ 255") : FormatText("～ %d", g_anRankUpper[k][b]));
    if (k <= 7) {
      const ArrowPair arrows = CoarsePanelLayout::Arrows(k);
      canvas.DrawIcon(arrows.nLeft, arrows.nTop, kIconPanelBlueArrow);
    }
  }
}
