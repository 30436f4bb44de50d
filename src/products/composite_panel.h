// The composite picture's panel: a histogram, stretch markers, colour bar and value buttons
// for each of red, green and blue.
#pragma once

#include "histograms/panels.h"

// Where the panel's parts are: one layout for drawing and for clicks.
struct CompositePanelLayout {
  static constexpr int kanSubPanelTop[3] = {0, 133, 266};  // red, green, blue
  // Row i's arrow pairs: pair 0 steps the lower value, pair 1 the upper value.
  static ArrowPair Arrows(int i, int nPair) {
    return {g_nMaxX + (nPair == 0 ? 124 : 224), kanSubPanelTop[i] + 113};
  }
  // nRow is the component (0 red, 1 green, 2 blue); nPair which value; nStep the direction.
  static PanelHit Hit(int x, int y);
};

// Draws the panel on the window canvas from the composite tables as they stand.
void DrawCompositePanel();
