#include "core/band_rule.h"

#include <algorithm>
#include <cmath>

#include "core/state.h"

bool IsNoDataValue(double dValue, const BandRule& rule) {
  if (!rule.bHasNoData) return false;
  return dValue == rule.dNoData || (std::isnan(rule.dNoData) && std::isnan(dValue));
}

std::uint8_t ApplyBandRule(double dValue, const BandRule& rule) {
  if (std::isnan(dValue) || IsNoDataValue(dValue, rule)) return 0;
  if (!rule.bScaled) return static_cast<std::uint8_t>(std::clamp(dValue, 0.0, 255.0));
  if (dValue < rule.dLow) return 0;
  if (dValue > rule.dHigh) return 255;
  const double dScaled = 1.0 + (dValue - rule.dLow) * 254.0 / (rule.dHigh - rule.dLow);
  return static_cast<std::uint8_t>(std::clamp(std::floor(dScaled), 1.0, 255.0));
}

BandRule RasterBandRule(int b) {
  return {g_abRasterScaled[b] == 1, g_adRasterLow[b], g_adRasterHigh[b],
          g_abRasterHasNoData[b] == 1, g_adRasterNoData[b]};
}
