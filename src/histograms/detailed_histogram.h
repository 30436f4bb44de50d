// The detailed histogram: the band histograms as a large chart over the whole window, one curve
// per band, the value cursor, the legend and one strip per band (rank, colour component or
// category) showing how the picture of g_nHistKind colours the value axis.
#pragma once

#include <cstdint>

class Canvas;

// The chart's columns: two per value.
inline constexpr int kHistogramChartWidth = 512;

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

// Draws the chart of g_nHistKind onto the window and shows display mode 5.
void DrawDetailedHistogram();
