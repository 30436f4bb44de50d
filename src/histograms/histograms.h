// The histogram settings and the detailed histogram view (DisplayMode::DetailedHistogram).
#pragma once

#include "histograms/histogram_settings.h"
#include "core/dialogs.h"
#include "core/display_modes.h"

// Dialog IDD_LINE_WIDTH: the line width (1..3) of one band's curve.
extern const DialogSpec kLineWidthDialog;

// Registers the histogram menu's commands, the detailed histogram items of the picture menus
// and the detailed histogram's display mode.
void RegisterHistograms();

// Draws the detailed histogram of the kind last chosen and shows its readout.
void ShowDetailedHistogram();

// The histogram settings group: the value cursor, kind, type, scale and line widths (query),
// the line colours (palette).
void ResetHistogramQuery();
void ResetHistogramPalette();

// Left button in the detailed histogram: a click at x in 0..511 puts the value cursor on x / 2.
void OnHistogramClick(int x, int y, bool bShift);
// Left and Right move the value cursor by one.
void OnHistogramArrowKey(ArrowKey key);
