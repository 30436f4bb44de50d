// The one loop that writes a product's picture: every pixel of the window into the off-screen
// image, or (smooth display) line by line onto the window as well, so the picture builds up.
#pragma once

#include <cstdint>

#include "core/platform.h"
#include "core/state.h"

// fnColour(const PixelRecord&) returns the pixel's screen colour (ScreenPixel form).
template <typename PixelColour>
void RenderProduct(PixelColour fnColour, bool bSmooth) {
  const int nWidth = WindowWidth();
  const int nHeight = WindowHeight();
  if (!bSmooth) {
    // Strips of 8 columns: the plane is stored column by column, so a strip reads 8
    // sequential streams while every image line is still written in whole pieces. The
    // fixed strip width lets the compiler unroll the inner loop.
    constexpr int kStrip = 8;
    int x0 = 0;
    for (; x0 + kStrip <= nWidth; x0 += kStrip) {
      const PixelRecord(*pColumns)[kMaxLines] = &g_aPixel[x0];
      for (int y = 0; y < nHeight; ++y) {
        std::uint32_t* pOut = &OffscreenPixel(x0, y);
        for (int k = 0; k < kStrip; ++k) pOut[k] = fnColour(pColumns[k][y]);
      }
    }
    for (int y = 0; x0 < nWidth && y < nHeight; ++y) {
      for (int x = x0; x < nWidth; ++x) OffscreenPixel(x, y) = fnColour(g_aPixel[x][y]);
    }
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
