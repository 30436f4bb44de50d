// How one band's values become the program's 0..255: the rule fixed when a raster scene is
// opened, kept in the state for the loaded scene and in a signature file for the scene a model
// was trained on. Every reader of raster values goes through ApplyBandRule, so a window and a
// whole scene classified later give the same ground the same value.
#pragma once

#include <cstdint>

struct BandRule {
  bool bScaled = false;  // false: 8-bit values as they are
  double dLow = 0.0, dHigh = 0.0;  // scaled: the values that become 1 and 255
  bool bHasNoData = false;
  double dNoData = 0.0;  // may be NaN
};

// Whether dValue is the band's nodata value (a NaN nodata matches NaN values).
bool IsNoDataValue(double dValue, const BandRule& rule);

// One value through the rule: nodata and NaN 0; scaled bands below dLow 0 (-Inf too), above
// dHigh 255 (+Inf too), between them 1 + floor((v - dLow) x 254 / (dHigh - dLow)), worked so
// that bounds as far apart as -1e308 and 1e308 do not overflow; 8-bit bands their value.
std::uint8_t ApplyBandRule(double dValue, const BandRule& rule);

// The loaded raster scene's rule for band b (0-based).
BandRule RasterBandRule(int b);
