// Scenes and picture reads shared by the coarse and fine tests.
#pragma once

#include <cstdint>
#include <vector>

#include "support/recording_platform.h"

// Band 1 runs through 0..255 along the columns, so value v has exactly nLines pixels and the
// cumulative count up to v is (v + 1) x nLines. The other bands differ so composite colours vary.
inline void MakeRampScene(int nLines, int nBands = 3) {
  MakeScene(256, nLines, nBands, Sensor::TmFloppy, [](int x, int y, int b) {
    return b == 1 ? x : (x * 3 + y * 5 + b * 17) % 256;
  });
}

// The W x H off-screen image, line by line.
inline std::vector<std::uint32_t> OffscreenImage() {
  std::vector<std::uint32_t> an;
  for (int y = 0; y <= g_nMaxY; ++y) {
    for (int x = 0; x <= g_nMaxX; ++x) an.push_back(OffscreenPixel(x, y));
  }
  return an;
}
