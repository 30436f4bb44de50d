// The panel beside the fine picture: histogram of the fine band, the colour ramp and the table
// of points with their colours, components, values and arrow buttons.
#pragma once

#include "histograms/panels.h"

// Where the panel's parts are: one layout for drawing and for clicks. Points k = 1..9.
struct FinePanelLayout {
  static int RowTop(int k) { return 130 + 30 * (k - 1); }
  // Points 2..8 have arrows; 1 and 9 are the ends of the scale.
  static ArrowPair Arrows(int k) { return {g_nMaxX + 224, RowTop(k)}; }
  static Swatch ColourSwatch(int k) {
    return {g_nMaxX + 31, RowTop(k) + 2, g_nMaxX + 55, RowTop(k) + 15};
  }
  // nRow is the point.
  static PanelHit Hit(int x, int y);
};

void DrawFinePanel();
