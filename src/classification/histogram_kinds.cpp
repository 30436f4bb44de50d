#include "classification/histogram_kinds.h"

#include <algorithm>

#include "classification/categories.h"
#include "classification/messages.h"
#include "core/state.h"
#include "core/text_format.h"
#include "histograms/detailed_histogram.h"

namespace {

// Both kinds draw every band's histogram over the target's category image as its area curve.
const std::uint32_t* TargetAreaCurve(int b) { return g_anCatHist[TargetCategory() - 1][b]; }

std::uint32_t TargetLargestBin() {
  std::uint32_t nK = 0;
  for (int b = 0; b < BandCount() && b < kMaxBands; ++b) {
    nK = std::max(nK, LargestBin(g_anCatHist[TargetCategory() - 1][b]));
  }
  return nK;
}

// The target's range of each band: six lines of the band's pen in the band's strip.
void DrawCategoryStrips(Canvas& canvas, int W) {
  const int c = TargetCategory();
  canvas.TextOut(W + 3, 225, kPanelTextHeight, FormatText("Category%d:", c));
  canvas.TextOut(W + 100, 225, kPanelTextHeight, g_astrCategoryName[c]);
  for (int i = 0; i < BandCount() && i < kMaxBands; ++i) {
    canvas.TextOut(W + 3, 245 + kHistogramStripPitch * i, kPanelTextHeight, BandLabel(i + 1));
    const int nTop = kHistogramStripTop + kHistogramStripPitch * i + 1;
    for (int y = nTop; y < nTop + 6; ++y) {
      Line(canvas, 2 * g_anCatLower[i + 1][c], y, 2 * g_anCatUpper[i + 1][c], y, Pen(i),
           PenWidth(i));
    }
  }
}

// Every category's ranges: one strip per category, one line per band in it.
void DrawClassifyStrips(Canvas& canvas, int W) {
  canvas.TextOut(W + 3, 225, kPanelTextHeight, kszClassifyTitle);
  for (int c = 0; c < 8; ++c) {
    canvas.TextOut(W + 3, 245 + kHistogramStripPitch * c, kPanelTextHeight,
                   FormatText("Category%d", c + 1));
    for (int i = 0; i < BandCount() && i < kMaxBands; ++i) {
      const int y = kHistogramStripTop + kHistogramStripPitch * c + i;
      Line(canvas, 2 * g_anCatLower[i + 1][c + 1], y, 2 * g_anCatUpper[i + 1][c + 1], y, Pen(i),
           PenWidth(i));
    }
  }
}

}  // namespace

void RegisterClassificationHistogramKinds() {
  RegisterHistogramKind({HistogramKind::Category, TargetAreaCurve, TargetLargestBin,
                         DrawCategoryStrips});
  RegisterHistogramKind({HistogramKind::Classify, TargetAreaCurve, TargetLargestBin,
                         DrawClassifyStrips});
}
