// The one loop that writes a product's picture: every pixel of the window into the off-screen
// image, or (smooth display) also onto the window as it goes, line by line.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "core/parallel.h"
#include "core/platform.h"
#include "core/state.h"

// One 16-pixel line of a tile into the image. Where the image line is 16-byte aligned (always,
// for tiles that start on a multiple of 16 columns) it goes by streaming stores, which write the
// whole 64-byte line without reading it first and without taking a place in the caches: the
// 4 MB picture then does not push the pixel plane out of the last-level cache, and the next
// render (another picture, a redraw) finds the plane there.
inline void StoreTileLine(std::uint32_t* pDst, const std::uint32_t (&anLine)[16], bool bStream) {
#if defined(__SSE2__)
  if (bStream) {
    const auto* pFrom = reinterpret_cast<const __m128i*>(anLine);
    auto* pTo = reinterpret_cast<__m128i*>(pDst);
    for (int k = 0; k < 4; ++k) _mm_stream_si128(pTo + k, _mm_load_si128(pFrom + k));
    return;
  }
#endif
  (void)bStream;
  std::memcpy(pDst, anLine, sizeof anLine);
}

// Columns [nFirst, nEnd) of every line. The plane is column-major and the image row-major, so
// the work goes in tiles of 16 x 16 pixels, down one strip of 16 columns after the other: each
// column's records are read in order, and each line of a tile is one whole 64-byte line of the
// image. Whole tiles have fixed bounds, so the compiler unrolls them; the odd columns and lines
// at the window's right and bottom edges go pixel by pixel.
template <typename PixelColour>
void RenderColumns(PixelColour fnColour, int nFirst, int nEnd, int nHeight) {
  constexpr int kTile = 16;
  alignas(64) std::uint32_t aanTile[kTile][kTile];
  const bool bStream = reinterpret_cast<std::uintptr_t>(&OffscreenPixel(nFirst, 0)) % 16 == 0;
  int x0 = nFirst;
  for (; x0 + kTile <= nEnd; x0 += kTile) {
    int y0 = 0;
    for (; y0 + kTile <= nHeight; y0 += kTile) {
      for (int i = 0; i < kTile; ++i) {
        const PixelRecord* pColumn = &g_aPixel[x0 + i][y0];
        for (int j = 0; j < kTile; ++j) aanTile[j][i] = fnColour(pColumn[j]);
      }
      for (int j = 0; j < kTile; ++j) {
        StoreTileLine(&OffscreenPixel(x0, y0 + j), aanTile[j], bStream);
      }
    }
    for (int y = y0; y < nHeight; ++y) {
      for (int x = x0; x < x0 + kTile; ++x) OffscreenPixel(x, y) = fnColour(g_aPixel[x][y]);
    }
  }
  for (int y = 0; x0 < nEnd && y < nHeight; ++y) {
    for (int x = x0; x < nEnd; ++x) OffscreenPixel(x, y) = fnColour(g_aPixel[x][y]);
  }
#if defined(__SSE2__)
  _mm_sfence();  // the streamed lines are in the image before another thread reads it
#endif
}

// The picture line by line, pixel by pixel: the reference the fast path is tested against.
template <typename PixelColour>
void RenderProductPlain(PixelColour fnColour) {
  for (int y = 0; y < WindowHeight(); ++y) {
    for (int x = 0; x < WindowWidth(); ++x) OffscreenPixel(x, y) = fnColour(g_aPixel[x][y]);
  }
}

// fnColour(const PixelRecord&) returns the pixel's screen colour (ScreenPixel form); it must
// only read, as the plain display runs it on both cores.
template <typename PixelColour>
void RenderProduct(PixelColour fnColour, bool bSmooth) {
  const int nWidth = WindowWidth();
  const int nHeight = WindowHeight();
  if (!bSmooth) {
    ForColumnParts(nWidth, nHeight, [&](int nFirst, int nEnd, int) {
      RenderColumns(fnColour, nFirst, nEnd, nHeight);
    });
    return;
  }
  Canvas& window = ThePlatform().WindowCanvas();
  for (int y = 0; y < nHeight; ++y) {
    std::uint32_t* pLine = &OffscreenPixel(0, y);
    for (int x = 0; x < nWidth; ++x) {
      const std::uint32_t px = fnColour(g_aPixel[x][y]);
      window.SetPixel(x, y, ColorrefFromScreen(px));
      pLine[x] = px;
    }
    ThePlatform().ShowProgress();
  }
}
