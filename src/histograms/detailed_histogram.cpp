#include "histograms/detailed_histogram.h"

#include <algorithm>

#include "core/platform.h"
#include "core/state.h"
#include "core/text_format.h"
#include "histograms/panels.h"

namespace {

constexpr int kChartRight = kHistogramChartWidth;
constexpr int kStripTop = 248;  // strip box i spans lines kStripTop + 20 i .. + 7
constexpr int kStripPitch = 20;

enum Kind { kComposite = 0, kCoarse = 1, kFine = 2, kCategory = 3, kClassify = 4 };
enum Type { kDouble = 0, kAll = 1, kArea = 2 };

std::uint32_t LargestBin(const std::uint32_t (&an)[256]) {
  return *std::max_element(std::begin(an), std::end(an));
}

// Counts per line: a hundredth of the maximum for the double type's half-height charts, a
// two-hundredth for the full-height ones; 100 or 200 when that comes to 0.
int Unit(std::uint32_t nMax) {
  const int nDivisor = g_nHistType == kDouble ? 100 : 200;
  const int nUnit = static_cast<int>(nMax / static_cast<std::uint32_t>(nDivisor));
  return nUnit == 0 ? nDivisor : nUnit;
}

// The histogram drawn as the area curve of band b (0-based), or null when the band has none.
const std::uint32_t* AreaCurve(int b) {
  switch (g_nHistKind) {
    case kComposite:
      return b + 1 == g_nRedBand || b + 1 == g_nGreenBand || b + 1 == g_nBlueBand
                 ? g_anBandHist[b]
                 : nullptr;
    case kCoarse: return b + 1 == g_nCoarseBand ? g_anBandHist[b] : nullptr;
    case kFine: return b + 1 == g_nFineBand ? g_anBandHist[b] : nullptr;
    default: return g_anCatHist[std::clamp(g_nCategory, 1, 8) - 1][b];
  }
}

Colorref Pen(int b) { return g_acrHistLineColour[b + 1]; }
int PenWidth(int b) { return std::clamp(g_anHistLineWidth[b + 1], 1, 3); }

void Line(Canvas& canvas, int x0, int y0, int x1, int y1, Colorref cr = kcrBlack, int nWidth = 1) {
  const Point aPoints[2] = {{x0, y0}, {x1, y1}};
  canvas.Polyline(aPoints, 2, cr, nWidth);
}

void Curve(Canvas& canvas, const std::uint32_t* anHist, int nUnit, int nBaseline, int b) {
  Point aPoints[256];
  const auto u = static_cast<std::uint32_t>(nUnit);
  for (int v = 0; v < 256; ++v) {
    aPoints[v] = {2 * v, nBaseline - static_cast<int>(anHist[v] / u)};
  }
  canvas.Polyline(aPoints, 256, Pen(b), PenWidth(b));
}

void DrawCurves(Canvas& canvas, const HistogramScales& scales) {
  for (int b = 0; b < BandCount() && b < kMaxBands; ++b) {
    const std::uint32_t* anArea = AreaCurve(b);
    switch (g_nHistType) {
      case kDouble:
        Curve(canvas, g_anBandHist[b], scales.nUnitM, 100, b);
        if (anArea) {
          Curve(canvas, anArea, g_nHistScale == 0 ? scales.nUnitM : scales.nUnitK, 200, b);
        }
        break;
      case kAll: Curve(canvas, g_anBandHist[b], scales.nUnitM, 200, b); break;
      default:
        if (anArea) Curve(canvas, anArea, scales.nUnitK, 200, b);
        break;
    }
  }
}

// Colours the six lines of strip i at the columns 0..511 from the value's colour; a colour of
// kcrWhite leaves the column white.
template <typename Fn>
void FillStrip(Canvas& canvas, int i, Fn fnColour) {
  const int nTop = kStripTop + kStripPitch * i + 1;
  for (int x = 0; x < kChartRight; ++x) {
    const Colorref cr = fnColour(x / 2);
    if (cr == kcrWhite) continue;
    for (int y = nTop; y < nTop + 6; ++y) canvas.SetPixel(x, y, cr);
  }
}

std::string BandLabel(int nBand) { return FormatText("Band%d", nBand); }

void DrawCompositeStrips(Canvas& canvas, int W) {
  for (int i = 0; i < BandCount() && i < kMaxBands; ++i) {
    canvas.TextOut(W + 3, 245 + kStripPitch * i, kPanelTextHeight, BandLabel(i + 1));
    const bool bRed = i + 1 == g_nRedBand, bGreen = i + 1 == g_nGreenBand,
               bBlue = i + 1 == g_nBlueBand;
    if (!bRed && !bGreen && !bBlue) continue;
    FillStrip(canvas, i, [&](int v) {
      return Rgb(bRed ? g_abRedLut[v] : 0, bGreen ? g_abGreenLut[v] : 0,
                 bBlue ? g_abBlueLut[v] : 0);
    });
  }
}

void DrawCoarseStrips(Canvas& canvas, int W) {
  const int b = std::clamp(g_nCoarseBand, 1, kMaxBands);
  canvas.TextOut(W + 3, 225, kPanelTextHeight, BandLabel(b));
  for (int i = 0; i < 8; ++i) {
    canvas.TextOut(W + 3, 245 + kStripPitch * i, kPanelTextHeight, FormatText("Rank%d", i + 1));
    FillStrip(canvas, i, [&](int v) {
      return g_abCoarseRankOfValue[v] == i + 1 ? g_acrRankColour[i + 1][b] : kcrWhite;
    });
  }
}

void DrawFineStrips(Canvas& canvas, int W) {
  canvas.TextOut(W + 3, 225, kPanelTextHeight, BandLabel(std::clamp(g_nFineBand, 1, kMaxBands)));
  static const char* const kaszLabel[4] = {"合成色", "赤色", "緑色", "青色"};
  for (int i = 0; i < 4; ++i) {
    canvas.TextOut(W + 20, 245 + kStripPitch * i, kPanelTextHeight, kaszLabel[i]);
  }
  // The ramp colour, then its red, green and blue alone.
  FillStrip(canvas, 0, [](int v) { return Rgb(g_anFineRed[v], g_anFineGreen[v], g_anFineBlue[v]); });
  FillStrip(canvas, 1, [](int v) { return Rgb(g_anFineRed[v], 0, 0); });
  FillStrip(canvas, 2, [](int v) { return Rgb(0, g_anFineGreen[v], 0); });
  FillStrip(canvas, 3, [](int v) { return Rgb(0, 0, g_anFineBlue[v]); });
}

void DrawCategoryStrips(Canvas& canvas, int W) {
  const int c = std::clamp(g_nCategory, 1, 8);
  canvas.TextOut(W + 3, 225, kPanelTextHeight, FormatText("Category%d:", c));
  canvas.TextOut(W + 100, 225, kPanelTextHeight, g_astrCategoryName[c]);
  for (int i = 0; i < BandCount() && i < kMaxBands; ++i) {
    canvas.TextOut(W + 3, 245 + kStripPitch * i, kPanelTextHeight, BandLabel(i + 1));
    const int nTop = kStripTop + kStripPitch * i + 1;
    for (int y = nTop; y < nTop + 6; ++y) {
      Line(canvas, 2 * g_anCatLower[i + 1][c], y, 2 * g_anCatUpper[i + 1][c], y, Pen(i),
           PenWidth(i));
    }
  }
}

void DrawClassifyStrips(Canvas& canvas, int W) {
  canvas.TextOut(W + 3, 225, kPanelTextHeight, "分類画像");
  for (int c = 0; c < 8; ++c) {
    canvas.TextOut(W + 3, 245 + kStripPitch * c, kPanelTextHeight,
                   FormatText("Category%d", c + 1));
    for (int i = 0; i < BandCount() && i < kMaxBands; ++i) {
      const int y = kStripTop + kStripPitch * c + i;
      Line(canvas, 2 * g_anCatLower[i + 1][c + 1], y, 2 * g_anCatUpper[i + 1][c + 1], y, Pen(i),
           PenWidth(i));
    }
  }
}

void DrawCommonLabels(Canvas& canvas, const HistogramScales& scales, int W) {
  const int nTopUnit = g_nHistType == kArea ? scales.nUnitK : scales.nUnitM;
  canvas.TextOut(W + 3, 0, kPanelTextHeight, FormatText("100％(%d)", nTopUnit * 100));
  if (g_nHistType == kDouble) {
    const int nLowerUnit = g_nHistScale == 0 ? scales.nUnitM : scales.nUnitK;
    canvas.TextOut(W + 3, 100, kPanelTextHeight, FormatText("100％(%d)", nLowerUnit * 100));
  }
  for (int i = 0; i < BandCount() && i < kMaxBands; ++i) {
    Line(canvas, W + 120, 16 + 20 * i, W + 135, 16 + 20 * i, Pen(i), PenWidth(i));
    canvas.TextOut(W + 140, 10 + 20 * i, kPanelSmallTextHeight, BandLabel(i + 1));
  }
}

}  // namespace

HistogramScales ComputeHistogramScales(std::uint32_t nPreviousK) {
  HistogramScales scales;
  scales.nM = nPreviousK;
  for (int b = 0; b < BandCount() && b < kMaxBands; ++b) {
    scales.nM = std::max(scales.nM, LargestBin(g_anBandHist[b]));
  }
  switch (g_nHistKind) {
    case kComposite:
      scales.nK = std::max({LargestBin(g_anRedHist), LargestBin(g_anGreenHist),
                            LargestBin(g_anBlueHist)});
      break;
    case kCoarse:
    case kFine: {
      const int b = std::clamp(g_nHistKind == kCoarse ? g_nCoarseBand : g_nFineBand, 1, kMaxBands);
      scales.nK = LargestBin(g_anBandHist[b - 1]);
      break;
    }
    default:
      for (int b = 0; b < BandCount() && b < kMaxBands; ++b) {
        scales.nK = std::max(scales.nK, LargestBin(g_anCatHist[std::clamp(g_nCategory, 1, 8) - 1][b]));
      }
      break;
  }
  scales.nUnitM = Unit(scales.nM);
  scales.nUnitK = Unit(scales.nK);
  return scales;
}

void DrawHistogramFrame(Canvas& canvas) {
  canvas.FillRect(0, 0, 1023, 1023, kcrWhite, kcrWhite);
  canvas.FillRect(0, 0, kChartRight, 201, kcrBlack, kcrWhite);
  for (int i = 0; i < 8; ++i) {
    canvas.FillRect(0, kStripTop + kStripPitch * i, kChartRight, 256 + kStripPitch * i, kcrBlack,
                    kcrWhite);
  }
  if (g_nHistType == kDouble) Line(canvas, 0, 100, 511, 100);
  for (int v = 0; v <= 240; v += 20) {
    if (g_nHistType == kDouble) Line(canvas, 2 * v, 101, 2 * v, 105);
    Line(canvas, 2 * v, 201, 2 * v, 205);
    canvas.TextOut(2 * v, 205, kPanelSmallTextHeight, FormatText("%d", v));
    for (int i = 0; i < 8; ++i) {
      const int y = 256 + kStripPitch * i;
      Line(canvas, 2 * v, y, 2 * v, y + 3);
      Line(canvas, 2 * v + 20, y, 2 * v + 20, y + 1);  // the value v + 10
    }
  }
}

void DrawDetailedHistogram() {
  BusyCursorScope busy(BusyCursor::Wait);
  Canvas& canvas = ThePlatform().WindowCanvas();
  const HistogramScales scales = ComputeHistogramScales(g_nHistLastK);
  g_nHistLastK = scales.nK;
  // The labels stand right of the chart: at W = g_nMaxX as for the panels, but never over the
  // 512 columns of the chart when the window is narrower.
  const int W = std::max(g_nMaxX, kChartRight - 1);

  DrawHistogramFrame(canvas);
  DrawCurves(canvas, scales);
  switch (g_nHistKind) {
    case kComposite: DrawCompositeStrips(canvas, W); break;
    case kCoarse: DrawCoarseStrips(canvas, W); break;
    case kFine: DrawFineStrips(canvas, W); break;
    case kCategory: DrawCategoryStrips(canvas, W); break;
    default: DrawClassifyStrips(canvas, W); break;
  }
  DrawCommonLabels(canvas, scales, W);
  const int x = 2 * std::clamp(g_nHistCursor, 0, 255);
  Line(canvas, x, 0, x, 200);
  g_nDisplayMode = DisplayMode::DetailedHistogram;
}
