// The one loop that writes a product's picture: every pixel of the window, line by line, into
// the off-screen image, or (smooth display) also onto the window as it goes.
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
    for (int y = 0; y < nHeight; ++y) {
      std::uint32_t* pLine = &OffscreenPixel(0, y);
      for (int x = 0; x < nWidth; ++x) pLine[x] = fnColour(g_aPixel[x][y]);
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
