#include "products/render.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "core/state.h"
#include "support/recording_platform.h"

using RenderTest = LogicTest;

namespace {

// A colour that depends on every band byte, so a pixel taken from the wrong record shows.
struct RecordColour {
  std::uint32_t operator()(const PixelRecord& px) const {
    std::uint32_t n = 0x811C9DC5u;
    for (std::uint8_t b : px.abBand) n = (n ^ b) * 0x01000193u;
    return 0xFF000000u | (n & 0xFFFFFFu);
  }
};

}  // namespace

// The tiled render on both cores writes exactly what the plain line-by-line loop writes, for
// whole and partial tiles and for windows too small to split, and nothing beyond the window.
TEST_F(RenderTest, FastRenderEqualsThePlainLoop) {
  const std::pair<int, int> aSizes[] = {{1024, 1024}, {801, 599}, {512, 400}, {37, 13}, {1, 1}};
  for (const auto& [nWidth, nHeight] : aSizes) {
    MakeScene(nWidth, nHeight, 8, Sensor::TmFloppy,
              [](int x, int y, int b) { return (x * 7 + y * 13 + b * 31 + x * y) & 0xFF; });
    std::fill(std::begin(g_anOffscreen), std::end(g_anOffscreen), 0x12345678u);
    RenderProduct(RecordColour(), false);
    const std::vector<std::uint32_t> anFast(std::begin(g_anOffscreen), std::end(g_anOffscreen));
    std::fill(std::begin(g_anOffscreen), std::end(g_anOffscreen), 0x12345678u);
    RenderProductPlain(RecordColour());
    for (std::size_t i = 0; i < anFast.size(); ++i) {
      ASSERT_EQ(anFast[i], g_anOffscreen[i])
          << nWidth << "x" << nHeight << " at " << i % kMaxColumns << "," << i / kMaxColumns;
    }
    EXPECT_EQ(OffscreenPixel(nWidth - 1, nHeight - 1),
              RecordColour()(g_aPixel[nWidth - 1][nHeight - 1]));
  }
}
