#include "products/composite_panel.h"

#include "core/platform.h"
#include "core/state.h"
#include "core/view.h"
#include "products/composite_settings.h"

namespace {

struct SubPanel {
  int t;  // frame top
  int nBand, nLower, nUpper;
  const std::uint32_t* anHist;
  std::uint32_t nMax;
  const std::uint8_t* abLut;
  Colorref crCurve;
};

}  // namespace

PanelHit CompositePanelLayout::Hit(int x, int y) {
  for (int i = 0; i < 3; ++i) {
    for (int nPair = 0; nPair < 2; ++nPair) {
      if (const int nStep = Arrows(i, nPair).Hit(x, y)) return {i, nPair, nStep, false};
    }
  }
  return {};
}

void DrawCompositePanel() {
  Canvas& canvas = ThePlatform().WindowCanvas();
  const int W = g_nMaxX;
  const int* t = CompositePanelLayout::kanSubPanelTop;
  const SubPanel aPanels[3] = {
      {t[0], g_nRedBand, g_nRedLower, g_nRedUpper, g_anRedHist, g_nRedHistMax, g_abRedLut,
       Rgb(255, 0, 0)},
      {t[1], g_nGreenBand, g_nGreenLower, g_nGreenUpper, g_anGreenHist, g_nGreenHistMax,
       g_abGreenLut, Rgb(0, 255, 0)},
      {t[2], g_nBlueBand, g_nBlueLower, g_nBlueUpper, g_anBlueHist, g_nBlueHistMax, g_abBlueLut,
       Rgb(0, 0, 255)},
  };

  // The icons go first: their 32 x 32 cells reach into the next frame, drawn over them.
  for (int i = 0; i < 3; ++i) {
    for (int nPair = 0; nPair < 2; ++nPair) {
      const ArrowPair arrows = CompositePanelLayout::Arrows(i, nPair);
      canvas.DrawIcon(arrows.nLeft, arrows.nTop, kIconPanelArrow);
    }
  }

  for (int i = 0; i < 3; ++i) {
    const SubPanel& p = aPanels[i];
    DrawHistogramFrame(canvas, p.t);
    const Colorref crBlack = Rgb(0, 0, 0);
    const Point aLower[2] = {{W + 3 + p.nLower, p.t}, {W + 3 + p.nLower, p.t + 102}};
    const Point aUpper[2] = {{W + 3 + p.nUpper, p.t}, {W + 3 + p.nUpper, p.t + 102}};
    canvas.Polyline(aLower, 2, crBlack, 1);
    canvas.Polyline(aUpper, 2, crBlack, 1);
    DrawHistogramCurve(canvas, p.t, p.anHist, p.nMax, p.crCurve);

    // Each table shown in its own channel only.
    Colorref acrBar[256];
    for (int v = 0; v < 256; ++v) {
      const int n = p.abLut[v];
      acrBar[v] = i == 0 ? Rgb(n, 0, 0) : i == 1 ? Rgb(0, n, 0) : Rgb(0, 0, n);
    }
    DrawColourBar(canvas, p.t, acrBar);

    DrawPanelText(canvas, W + 3, p.t + 113, kPanelTextHeight, FormatText("Band%d:", p.nBand));
    DrawPanelText(canvas, W + 90, p.t + 113, kPanelTextHeight, FormatText("%d", p.nLower));
    DrawPanelText(canvas, W + 170, p.t + 113, kPanelTextHeight, FormatText("～ %d", p.nUpper));
  }
}
