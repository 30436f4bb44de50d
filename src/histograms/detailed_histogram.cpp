#include "histograms/detailed_histogram.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "core/platform.h"
#include "core/state.h"
#include "core/text_format.h"
#include "histograms/panels.h"
#include "histograms/histogram_settings.h"

namespace {

constexpr int kChartRight = kHistogramChartWidth;
constexpr int kStripTop = kHistogramStripTop;
constexpr int kStripPitch = kHistogramStripPitch;

enum Type { kDouble = 0, kAll = 1, kArea = 2 };

constexpr int kMaxKinds = 8;
HistogramKindEntry s_aKinds[kMaxKinds];
int s_nKinds = 0;

// The entry of the kind last chosen; null when nobody registered it.
const HistogramKindEntry* ChosenKind() {
  return FindHistogramKind(static_cast<HistogramKind>(g_nHistKind));
}

// Counts per line: a hundredth of the maximum for the double type's half-height charts, a
// two-hundredth for the full-height ones; 100 or 200 when that comes to 0.
int Unit(std::uint32_t nMax) {
  const int nDivisor = g_nHistType == kDouble ? 100 : 200;
  const int nUnit = static_cast<int>(nMax / static_cast<std::uint32_t>(nDivisor));
  return nUnit == 0 ? nDivisor : nUnit;
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
  const HistogramKindEntry* pKind = ChosenKind();
  for (int b = 0; b < BandCount() && b < kMaxBands; ++b) {
    const std::uint32_t* anArea = pKind && pKind->pfnAreaCurve ? pKind->pfnAreaCurve(b) : nullptr;
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

void RegisterHistogramKind(const HistogramKindEntry& entry) {
  const int nKind = static_cast<int>(entry.eKind);
  if (FindHistogramKind(entry.eKind)) {
    std::fprintf(stderr, "histogram kind %d is registered twice\n", nKind);
    std::abort();
  }
  if (s_nKinds == kMaxKinds) {
    std::fprintf(stderr, "no room for histogram kind %d: the table holds %d kinds\n", nKind,
                 kMaxKinds);
    std::abort();
  }
  s_aKinds[s_nKinds++] = entry;
}

const HistogramKindEntry* FindHistogramKind(HistogramKind eKind) {
  for (int i = 0; i < s_nKinds; ++i) {
    if (s_aKinds[i].eKind == eKind) return &s_aKinds[i];
  }
  return nullptr;
}

std::uint32_t LargestBin(const std::uint32_t (&anHist)[256]) {
  return *std::max_element(std::begin(anHist), std::end(anHist));
}

Colorref Pen(int b) { return g_acrHistLineColour[b + 1]; }
int PenWidth(int b) { return std::clamp(g_anHistLineWidth[b + 1], 1, 3); }

void Line(Canvas& canvas, int x0, int y0, int x1, int y1, Colorref cr, int nWidth) {
  const Point aPoints[2] = {{x0, y0}, {x1, y1}};
  canvas.Polyline(aPoints, 2, cr, nWidth);
}

std::string BandLabel(int nBand) { return FormatText("Band%d", nBand); }

HistogramScales ComputeHistogramScales(std::uint32_t nPreviousK) {
  HistogramScales scales;
  scales.nM = nPreviousK;
  for (int b = 0; b < BandCount() && b < kMaxBands; ++b) {
    scales.nM = std::max(scales.nM, LargestBin(g_anBandHist[b]));
  }
  const HistogramKindEntry* pKind = ChosenKind();
  scales.nK = pKind && pKind->pfnLargestBin ? pKind->pfnLargestBin() : 0;
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
  if (const HistogramKindEntry* pKind = ChosenKind(); pKind && pKind->pfnDrawStrips) {
    pKind->pfnDrawStrips(canvas, W);
  }
  DrawCommonLabels(canvas, scales, W);
  const int x = 2 * std::clamp(g_nHistCursor, 0, 255);
  Line(canvas, x, 0, x, 200);
  g_nDisplayMode = DisplayMode::DetailedHistogram;
}
