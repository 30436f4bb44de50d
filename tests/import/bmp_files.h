// BMP files written by the tests, byte by byte as the format lays them out.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

inline void Put16(std::vector<std::uint8_t>& ab, std::size_t at, std::uint32_t n) {
  ab[at] = static_cast<std::uint8_t>(n);
  ab[at + 1] = static_cast<std::uint8_t>(n >> 8);
}
inline void Put32(std::vector<std::uint8_t>& ab, std::size_t at, std::uint32_t n) {
  Put16(ab, at, n & 0xFFFF);
  Put16(ab, at + 2, n >> 16);
}

// A BMP file with a 40-byte header: nBits per pixel, rows bottom-up unless bTopDown, pixel
// (x, y) (y = 0 at the top) given by fnPixel as its stored value (an index, or the 16/32-bit
// word, or 0xRRGGBB for 24 bits); anMasks make a bit-field picture.
inline std::vector<std::uint8_t> MakeBmp(int W, int H, int nBits, bool bTopDown,
                                  const std::function<std::uint32_t(int, int)>& fnPixel,
                                  const std::vector<std::uint32_t>& anPalette = {},
                                  const std::vector<std::uint32_t>& anMasks = {}) {
  const std::size_t nRow = (static_cast<std::size_t>(W) * nBits + 31) / 32 * 4;
  const std::size_t nTable = 14 + 40 + anMasks.size() * 4;
  const std::size_t nOff = nTable + anPalette.size() * 4;
  std::vector<std::uint8_t> ab(nOff + nRow * H);
  ab[0] = 'B';
  ab[1] = 'M';
  Put32(ab, 2, static_cast<std::uint32_t>(ab.size()));
  Put32(ab, 10, static_cast<std::uint32_t>(nOff));
  Put32(ab, 14, 40);
  Put32(ab, 18, static_cast<std::uint32_t>(W));
  Put32(ab, 22, static_cast<std::uint32_t>(bTopDown ? -H : H));
  Put16(ab, 26, 1);
  Put16(ab, 28, static_cast<std::uint32_t>(nBits));
  Put32(ab, 30, anMasks.empty() ? 0 : 3);
  Put32(ab, 46, static_cast<std::uint32_t>(anPalette.size()));
  for (std::size_t i = 0; i < anMasks.size(); ++i) Put32(ab, 54 + 4 * i, anMasks[i]);
  for (std::size_t i = 0; i < anPalette.size(); ++i) Put32(ab, nTable + 4 * i, anPalette[i]);
  for (int y = 0; y < H; ++y) {
    const std::size_t nStart = nOff + nRow * static_cast<std::size_t>(bTopDown ? y : H - 1 - y);
    for (int x = 0; x < W; ++x) {
      const std::uint32_t v = fnPixel(x, y);
      switch (nBits) {
        case 1: ab[nStart + x / 8] |= static_cast<std::uint8_t>(v << (7 - x % 8)); break;
        case 4: ab[nStart + x / 2] |= static_cast<std::uint8_t>(v << (x % 2 ? 0 : 4)); break;
        case 8: ab[nStart + x] = static_cast<std::uint8_t>(v); break;
        case 16: Put16(ab, nStart + 2 * x, v); break;
        case 24:
          ab[nStart + 3 * x] = static_cast<std::uint8_t>(v);
          ab[nStart + 3 * x + 1] = static_cast<std::uint8_t>(v >> 8);
          ab[nStart + 3 * x + 2] = static_cast<std::uint8_t>(v >> 16);
          break;
        case 32: Put32(ab, nStart + 4 * x, v); break;
      }
    }
  }
  return ab;
}
