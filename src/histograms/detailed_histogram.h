// The detailed histogram: the band histograms as a large chart over the whole window, one curve
// per band, the value cursor, the legend and one strip per band (rank, colour component or
// category) showing how the picture of the chosen kind colours the value axis. Each kind is
// registered by the subsystem whose picture it describes; the chart itself knows none of them.
#pragma once

#include <cstdint>
#include <string>

#include "histograms/panels.h"

// The chart's columns: two per value.
inline constexpr int kHistogramChartWidth = 512;
// Strip box i spans lines kHistogramStripTop + kHistogramStripPitch * i .. + 7; its inside is
// the six lines below the top.
inline constexpr int kHistogramStripTop = 248;
inline constexpr int kHistogramStripPitch = 20;

// The kinds of chart, as the command rows number them (nArg) and g_nHistKind holds them.
enum class HistogramKind : int { Composite = 0, Coarse = 1, Fine = 2, Category = 3, Classify = 4 };

// What a kind contributes to the chart.
struct HistogramKindEntry {
  HistogramKind eKind;
  // The histogram drawn as the area curve of band b (0-based), or null when the band has none.
  const std::uint32_t* (*pfnAreaCurve)(int b) = nullptr;
  // K: the largest bin of the kind's own histograms.
  std::uint32_t (*pfnLargestBin)() = nullptr;
  // The strips and the labels beside them, which start at column W.
  void (*pfnDrawStrips)(Canvas& canvas, int W) = nullptr;
};

// Adds a kind. A kind registered twice, or one the full table cannot take, stops the program at
// start-up. A kind nobody registered has no area curves and no strips, and K = 0.
void RegisterHistogramKind(const HistogramKindEntry& entry);
const HistogramKindEntry* FindHistogramKind(HistogramKind eKind);

// The scale of one drawing. M is the largest bin of every band present and of the previous
// drawing's K; K the largest bin of the kind's own histograms; uM and uK their units (counts per
// line), never 0.
struct HistogramScales {
  std::uint32_t nM = 0, nK = 0;
  int nUnitM = 0, nUnitK = 0;
};

// The scales for the current settings, with K of the previous drawing as given.
HistogramScales ComputeHistogramScales(std::uint32_t nPreviousK);

// The white window, the chart box with its ticks and labels, and the eight strip boxes.
void DrawHistogramFrame(Canvas& canvas);

// Draws the chart of g_nHistKind onto the window and shows DisplayMode::DetailedHistogram.
void DrawDetailedHistogram();

// ---- What the kinds draw with ------------------------------------------------------------------
std::uint32_t LargestBin(const std::uint32_t (&anHist)[256]);
// The curve colour and width (1..3) of band b (0-based).
Colorref Pen(int b);
int PenWidth(int b);
void Line(Canvas& canvas, int x0, int y0, int x1, int y1, Colorref cr = kcrBlack, int nWidth = 1);
// "BandN".
std::string BandLabel(int nBand);

// Colours the six lines of strip i at the columns 0..511 from the value's colour; a colour of
// kcrWhite leaves the column white.
template <typename Fn>
void FillStrip(Canvas& canvas, int i, Fn fnColour) {
  const int nTop = kHistogramStripTop + kHistogramStripPitch * i + 1;
  for (int x = 0; x < kHistogramChartWidth; ++x) {
    const Colorref cr = fnColour(x / 2);
    if (cr == kcrWhite) continue;
    for (int y = nTop; y < nTop + 6; ++y) canvas.SetPixel(x, y, cr);
  }
}
