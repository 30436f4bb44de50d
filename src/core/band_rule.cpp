#include "core/band_rule.h"

#include <algorithm>
#include <cmath>
#include <limits>

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
  if (std::isinf(dValue)) return dValue > 0 ? 255 : 0;  // only reached with an endless bound
  // Bounds near the ends of the double range are worked in 512ths, which is exact at that
  // size: neither the span nor the product with 254 can overflow, and everywhere else the
  // arithmetic is the plain one.
  constexpr double kHuge = std::numeric_limits<double>::max() / 1024.0;
  const double dScale =
      std::fabs(rule.dLow) > kHuge || std::fabs(rule.dHigh) > kHuge ? 0x1p-9 : 1.0;
  const double dScaled = 1.0 + (dValue * dScale - rule.dLow * dScale) * 254.0 /
                                   (rule.dHigh * dScale - rule.dLow * dScale);
  const double dFloor = std::floor(dScaled);
  if (dFloor >= 255.0) return 255;
  return dFloor >= 1.0 ? static_cast<std::uint8_t>(dFloor) : 1;
}

BandRule RasterBandRule(int b) {
  return {g_abRasterScaled[b] == 1, g_adRasterLow[b], g_adRasterHigh[b],
          g_abRasterHasNoData[b] == 1, g_adRasterNoData[b]};
}
