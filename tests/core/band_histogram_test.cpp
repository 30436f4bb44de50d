#include <cstring>

#include "core/state.h"
#include "support/recording_platform.h"

using BandHistogramTest = LogicTest;

// The threaded, split-counter histograms must count exactly what one plain loop counts, for
// every band count and for windows with odd widths and heights (the halves and the pairs of
// lines then do not divide evenly).
TEST_F(BandHistogramTest, FastCountsEqualThePlainLoop) {
  struct Case {
    int nWidth, nHeight, nBands;
  };
  const Case aCases[] = {{1024, 1024, 8}, {800, 600, 7}, {513, 401, 3}, {512, 400, 1},
                         {1, 1, 8},       {3, 1023, 5}};
  for (const Case& c : aCases) {
    // Long runs of one value as well as noise, and stale values beyond the window and band.
    std::memset(g_aPixel, 0xAB, sizeof g_aPixel);
    MakeScene(c.nWidth, c.nHeight, c.nBands, kSensorTmFloppy, [](int x, int y, int b) {
      return x < 100 ? 7 * b : (x * 31 + y * 17 + b * 101 + ((x * y) >> 3)) & 0xFF;
    });
    RecomputeBandHistograms();
    std::uint32_t anFast[kMaxBands][256];
    std::memcpy(anFast, g_anBandHist, sizeof anFast);
    std::memset(g_anBandHist, 0, sizeof g_anBandHist);
    RecomputeBandHistogramsPlain();
    for (int b = 0; b < c.nBands; ++b) {
      std::uint32_t nTotal = 0;
      for (int v = 0; v < 256; ++v) {
        ASSERT_EQ(anFast[b][v], g_anBandHist[b][v]) << c.nWidth << "x" << c.nHeight << " band "
                                                    << b + 1 << " value " << v;
        nTotal += anFast[b][v];
      }
      EXPECT_EQ(nTotal, static_cast<std::uint32_t>(c.nWidth * c.nHeight));
    }
    for (int b = 0; b < kMaxBands; ++b) EXPECT_EQ(g_abUseBand[b], b < c.nBands ? 1 : 0);
  }
}
