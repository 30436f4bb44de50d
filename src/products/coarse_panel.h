// The panel beside the coarse picture: histogram of the coarse band, rank colours and the
// table of ranks with their shares, counts, bounds and arrow buttons.
#pragma once

#include "histograms/panels.h"

// Where the panel's parts are: one layout for drawing and for clicks. Ranks k = 1..8.
struct CoarsePanelLayout {
  static int RowTop(int k) { return 160 + 30 * (k - 1); }
  // The upper value of ranks 1..7 has arrows; rank 8 ends at 255.
  static ArrowPair Arrows(int k) { return {g_nMaxX + 224, RowTop(k)}; }
  static Swatch ColourSwatch(int k) {
    return {g_nMaxX + 31, RowTop(k) + 2, g_nMaxX + 55, RowTop(k) + 15};
  }
  // nRow is the rank.
  static PanelHit Hit(int x, int y);
};

void DrawCoarsePanel();
