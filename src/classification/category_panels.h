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

// The distance picture's panel: what the distance is, the grey scale from 0 to the largest
// distance with its end values, and the reject threshold in force with the pixels beyond it.
struct DistancePanelLayout {
  static constexpr int kTitleTop = 130, kMeasureTop = 160;
  static constexpr int kBarTop = 190, kBarRows = 8;  // columns X0+3+v for grey v
  static constexpr int kEndValueTop = 202, kThresholdTop = 232, kUnclassifiedTop = 262;
  static Swatch UnclassifiedSwatch() {
    return {g_nMaxX + 3, kUnclassifiedTop + 1, g_nMaxX + 27, kUnclassifiedTop + 13};
  }
};
void DrawDistancePanel();
// The share in percent of nCount among the window's pixels: 0 when the window has fewer than
// 100 pixels (the hundredth would be 0).
int PercentOfWindow(long long nCount);
