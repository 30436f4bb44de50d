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
    MakeScene(c.nWidth, c.nHeight, c.nBands, Sensor::TmFloppy, [](int x, int y, int b) {
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

TEST_F(BandHistogramTest, OneBandCountsEqualThePlainLoop) {
  for (const auto& [nWidth, nHeight] : {std::pair{1024, 1024}, {801, 599}, {40, 7}}) {
    MakeScene(nWidth, nHeight, 4, Sensor::TmFloppy, [](int x, int y, int b) {
      return y < 50 ? 200 : (x * 13 + y * 29 + b * 7 + ((x ^ y) & 31)) & 0xFF;
    });
    for (int nBand = 1; nBand <= 4; ++nBand) {
      std::uint32_t anFast[256], anPlain[256] = {};
      CountWindowValues(nBand, anFast);
      for (int x = 0; x < nWidth; ++x) {
        for (int y = 0; y < nHeight; ++y) ++anPlain[g_aPixel[x][y].abBand[nBand - 1]];
      }
      for (int v = 0; v < 256; ++v) ASSERT_EQ(anFast[v], anPlain[v]) << nWidth << " band " << nBand;
    }
  }
}
