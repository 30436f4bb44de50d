#include "products/histogram_kinds.h"

#include <algorithm>

#include "core/state.h"
#include "core/text_format.h"
#include "histograms/detailed_histogram.h"
#include "products/fine_settings.h"
#include "products/composite_settings.h"
#include "products/coarse_settings.h"

namespace {

// Composite: the bands of red, green and blue, K of their stretched histograms, and per band
// the colour the three tables give each value in the components the band feeds.
const std::uint32_t* CompositeAreaCurve(int b) {
  return b + 1 == g_nRedBand || b + 1 == g_nGreenBand || b + 1 == g_nBlueBand ? g_anBandHist[b]
                                                                               : nullptr;
}

std::uint32_t CompositeLargestBin() {
  return std::max({LargestBin(g_anRedHist), LargestBin(g_anGreenHist), LargestBin(g_anBlueHist)});
}

void DrawCompositeStrips(Canvas& canvas, int W) {
  for (int i = 0; i < BandCount() && i < kMaxBands; ++i) {
    canvas.TextOut(W + 3, 245 + kHistogramStripPitch * i, kPanelTextHeight, BandLabel(i + 1));
    const bool bRed = i + 1 == g_nRedBand, bGreen = i + 1 == g_nGreenBand,
               bBlue = i + 1 == g_nBlueBand;
    if (!bRed && !bGreen && !bBlue) continue;
    FillStrip(canvas, i, [&](int v) {
      return Rgb(bRed ? g_abRedLut[v] : 0, bGreen ? g_abGreenLut[v] : 0,
                 bBlue ? g_abBlueLut[v] : 0);
    });
  }
}

// Coarse: its band, and one strip per rank with the rank's colour where a value falls in it.
const std::uint32_t* CoarseAreaCurve(int b) {
  return b + 1 == g_nCoarseBand ? g_anBandHist[b] : nullptr;
}

std::uint32_t CoarseLargestBin() {
  return LargestBin(g_anBandHist[std::clamp(g_nCoarseBand, 1, kMaxBands) - 1]);
}

void DrawCoarseStrips(Canvas& canvas, int W) {
  const int b = std::clamp(g_nCoarseBand, 1, kMaxBands);
  canvas.TextOut(W + 3, 225, kPanelTextHeight, BandLabel(b));
  for (int i = 0; i < 8; ++i) {
    canvas.TextOut(W + 3, 245 + kHistogramStripPitch * i, kPanelTextHeight,
                   FormatText("Rank%d", i + 1));
    FillStrip(canvas, i, [&](int v) {
      return g_abCoarseRankOfValue[v] == i + 1 ? g_acrRankColour[i + 1][b] : kcrWhite;
    });
  }
}

// Fine: its band, and the ramp with its red, green and blue alone.
const std::uint32_t* FineAreaCurve(int b) {
  return b + 1 == g_nFineBand ? g_anBandHist[b] : nullptr;
}

std::uint32_t FineLargestBin() {
  return LargestBin(g_anBandHist[std::clamp(g_nFineBand, 1, kMaxBands) - 1]);
}

void DrawFineStrips(Canvas& canvas, int W) {
  canvas.TextOut(W + 3, 225, kPanelTextHeight, BandLabel(std::clamp(g_nFineBand, 1, kMaxBands)));
  static const char* const kaszLabel[4] = {"合成色", "赤色", "緑色", "青色"};
  for (int i = 0; i < 4; ++i) {
    canvas.TextOut(W + 20, 245 + kHistogramStripPitch * i, kPanelTextHeight, kaszLabel[i]);
  }
  FillStrip(canvas, 0,
            [](int v) { return Rgb(g_anFineRed[v], g_anFineGreen[v], g_anFineBlue[v]); });
  FillStrip(canvas, 1, [](int v) { return Rgb(g_anFineRed[v], 0, 0); });
  FillStrip(canvas, 2, [](int v) { return Rgb(0, g_anFineGreen[v], 0); });
  FillStrip(canvas, 3, [](int v) { return Rgb(0, 0, g_anFineBlue[v]); });
}

}  // namespace

void RegisterProductHistogramKinds() {
  RegisterHistogramKind({HistogramKind::Composite, CompositeAreaCurve, CompositeLargestBin,
                         DrawCompositeStrips});
  RegisterHistogramKind({HistogramKind::Coarse, CoarseAreaCurve, CoarseLargestBin,
                         DrawCoarseStrips});
  RegisterHistogramKind({HistogramKind::Fine, FineAreaCurve, FineLargestBin, DrawFineStrips});
}
