// What a pixel looks like in the composite picture, with the composite look-up tables as they
// stand: the colour the coarse and fine pictures show where their colouring is switched off.
#pragma once

#include <algorithm>
#include <cstdint>

#include "core/state.h"

inline std::uint32_t CompositeScreenColour(const PixelRecord& px) {
  return ScreenPixel(g_abRedLut[px.abBand[std::clamp(g_nRedBand, 1, kMaxBands) - 1]],
                     g_abGreenLut[px.abBand[std::clamp(g_nGreenBand, 1, kMaxBands) - 1]],
                     g_abBlueLut[px.abBand[std::clamp(g_nBlueBand, 1, kMaxBands) - 1]]);
}
