// The panels of the training area (DisplayMode::Training), the category image (DisplayMode::Category) and the
// classification (DisplayMode::Classify). Coordinates are logical view coordinates; X0 is g_nMaxX.
#pragma once

#include "histograms/panels.h"

// Rows of categories and bands, 30 pixels apart from y = 160, and the colour swatch of a row.
struct CategoryPanelLayout {
  static int RowTop(int n) { return 160 + 30 * (n - 1); }
  static Swatch ColourSwatch(int n) {
    return {g_nMaxX + 31, RowTop(n) + 2, g_nMaxX + 55, RowTop(n) + 15};
  }
};

inline constexpr int kGuideTextHeight = 12;

// On a cleared panel: guidance, the title and per category its count, required pixels, name
// and state.
void DrawTrainingPanel();
// On a cleared panel: the band histograms, the target's ranges and in-range counts.
void DrawCategoryPanel();
// Clears the panel itself: the target has no valid category image.
void DrawCategoryInvalidPanel();
// On a cleared panel: per category its share and count of the classification.
void DrawClassifyPanel();
// Clears the panel itself: why no classification can be made, per category.
void DrawClassifyInvalidPanel();
// The share in percent of nCount among the window's pixels: 0 when the window has fewer than
// 100 pixels (the hundredth would be 0).
int PercentOfWindow(long long nCount);
