// Two charts of the training work: the signature plot (each shown category's mean, its plus and
// minus one standard deviation and its range, band by band) and the feature-space plot (two
// bands against each other: every pixel of the window counted in a 256 x 256 grid, the training
// pixels, the centres, the two-deviation ellipses and the minimum-distance boundaries). Both are
// drawn over the whole view area, recomputed from the marks at every paint, so they always show
// the training areas, the bands in use and the categories taking part as they stand.
#pragma once

#include <cstdint>
#include <nlohmann/json_fwd.hpp>
#include <string>
#include <vector>

#include "core/dialogs.h"
#include "core/settings_groups.h"

// ---- Layout ------------------------------------------------------------------------------------
// Value v (0..255) lies on row kPlotTop + s x (255 - v) of both charts (s = PlotScale()); the
// signature plot's i-th band in use (from 0) on column kPlotLeft + kSignatureBandStep x (i + 1),
// and the feature-space grid's cell (x, y) covers columns kPlotLeft + s x x .. + s - 1.
inline constexpr int kPlotLeft = 40;
inline constexpr int kPlotTop = 10;
inline constexpr int kSignatureBandStep = 50;
// The charts are drawn at twice their size when the window is at least this wide and high.
inline constexpr int kPlotLargeWindow = 600;
// The legend starts right of this column (or of the window, when wider).
inline constexpr int kPlotLegendColumn = 511;
int PlotScale();

// ---- Which categories, which bands --------------------------------------------------------------
// A category is drawn when it is valid (updated with enough training pixels) and takes part in
// the classification.
bool CategoryShownInPlots(int c);
// The feature-space bands in force (1..bands present): the settings, kept within the scene.
int ScatterBandX();
int ScatterBandY();

// ---- The feature-space grid ----------------------------------------------------------------------
inline constexpr int kScatterCells = 256 * 256;
// Cell index of band values (x, y): y x 256 + x.
constexpr int ScatterCell(int nValueX, int nValueY) { return nValueY * 256 + nValueX; }

// Every window pixel counted at the cell of its values in bands nBandX, nBandY (1..8), and the
// lowest-numbered category with abShown[c] whose training pixel falls in a cell (0 for none).
struct ScatterGrid {
  std::uint32_t anCount[kScatterCells];
  std::uint8_t abCategory[kScatterCells];
  std::uint32_t nLargest;
};
void CountScatterGrid(int nBandX, int nBandY, const bool abShown[9], ScatterGrid& grid);
// The grid's picture, one colour reference per cell: white for an empty cell, the category's
// colour under a training pixel, else a grey by the logarithm of the count (black at the
// largest, kScatterLightest for one pixel).
inline constexpr int kScatterLightest = 200;
void ScatterPicture(const ScatterGrid& grid, std::uint32_t acrCell[kScatterCells]);
// The grid of the last feature-space chart drawn.
const ScatterGrid& LastScatterGrid();

// ---- The charts --------------------------------------------------------------------------------
// Draw the chart on the window canvas and show its display mode.
void DrawSignaturePlot();
void DrawScatterPlot();
// Repaints the chart shown after a setting it follows changed (nothing in other modes).
void RepaintShownPlot();

// ---- The settings ------------------------------------------------------------------------------
inline constexpr int kDefaultScatterBandX = 3;
inline constexpr int kDefaultScatterBandY = 4;
// Dialog IDD_SCATTER_BANDS: the two bands, 1..8 each; a band the scene lacks is refused.
extern const DialogSpec kScatterBandsDialog;
void ResetScatterSettings();
bool ScatterSettingsAreDefault();
void AppendScatterReport(std::vector<ReportLine>& aLines);
void AppendScatterStats(nlohmann::ordered_json& obj);

// The commands and the two display modes (called by RegisterClassification).
void RegisterPlots();
