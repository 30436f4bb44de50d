#include <algorithm>
#include <cstring>
#include <string>

#include "core/display_modes.h"
#include "core/state.h"
#include "support/recording_platform.h"
#include "products/coarse_settings.h"
#include "output/report.h"
#include "classification/category_settings.h"

using StateTest = LogicTest;

TEST_F(StateTest, ResetRestoresValuesChangedByAnEarlierRun) {
  g_nDisplayMode = DisplayMode::Composite;
  g_nLastBand = 7;
  g_aPixel[511][399].abBand[3] = 9;
  // The plane's first and last bytes and one in the middle of a page: the reset gives whole
  // pages back to the system and writes the rest, so each kind of place is checked.
  g_aPixel[0][0].abBand[0] = 1;
  g_aPixel[1023][1023].abTrainMark[7] = 2;
  g_aPixel[700][3].bClassifyClass = 3;
  g_anOffscreen[0] = 4;
  g_anOffscreen[kMaxLines * kMaxColumns - 1] = 5;
  g_anRankUpper[3][5] = 7;
  g_nPrintStep = 30;
  g_astrBandPath[2] = "x";
  ResetProgramState();
  EXPECT_EQ(g_nDisplayMode, DisplayMode::NoData);
  EXPECT_EQ(g_nLastBand, -1);
  const auto* pPlane = reinterpret_cast<const std::uint8_t*>(g_aPixel);
  EXPECT_EQ(std::count(pPlane, pPlane + sizeof g_aPixel, 0), static_cast<long>(sizeof g_aPixel));
  EXPECT_EQ(std::count(std::begin(g_anOffscreen), std::end(g_anOffscreen), 0u),
            static_cast<long>(kMaxLines * kMaxColumns));
  EXPECT_EQ(g_anRankUpper[3][5], 90);
  EXPECT_EQ(g_nPrintStep, 7);
  EXPECT_TRUE(g_astrBandPath[2].empty());
}

TEST_F(StateTest, PixelRecordsAreAddressedColumnFirst) {
  const auto* pBase = reinterpret_cast<const std::uint8_t*>(g_aPixel);
  const auto* pRecord = reinterpret_cast<const std::uint8_t*>(&g_aPixel[511][399]);
  EXPECT_EQ(pRecord - pBase, (511 * 1024 + 399) * 18);
  EXPECT_EQ(reinterpret_cast<const std::uint8_t*>(&g_aPixel[2][5].abTrainMark[2]) - pBase,
            (2 * 1024 + 5) * 18 + 9 + 3);
}

TEST_F(StateTest, RecomputeAfterImportCountsOnlyBandsPresent) {
  // Stale counts in a band that is not loaded must stay as they are.
  g_anBandHist[5][7] = 1234;
  g_anCatHist[2][1][3] = 5;
  MakeScene(512, 400, 4, Sensor::TmFloppy, [](int x, int y, int b) { return (x + y * b) % 256; });
  for (int b = 0; b < 4; ++b) {
    std::uint64_t nTotal = 0;
    for (int v = 0; v < 256; ++v) nTotal += g_anBandHist[b][v];
    EXPECT_EQ(nTotal, 512u * 400u) << "band " << b + 1;
  }
  std::uint32_t nExpected = 0;
  for (int x = 0; x < 512; ++x)
    for (int y = 0; y < 400; ++y) nExpected += ((x + y * 2) % 256) == 77;
  EXPECT_EQ(g_anBandHist[1][77], nExpected);
  EXPECT_EQ(g_anBandHist[5][7], 1234u);
  const int anUse[8] = {1, 1, 1, 1, 0, 0, 0, 0};
  for (int b = 0; b < 8; ++b) EXPECT_EQ(g_abUseBand[b], anUse[b]);
  EXPECT_EQ(g_anCatHist[2][1][3], 0u);
  EXPECT_EQ(g_nDisplayMode, DisplayMode::Prompt);
}

TEST_F(StateTest, WorkFileRecomputeKeepsCategoryHistograms) {
  g_nLastBand = 0;
  g_anCatHist[0][0][0] = 3;
  RecomputeAfterWorkFileLoad();
  EXPECT_EQ(g_anCatHist[0][0][0], 3u);
  EXPECT_EQ(g_anBandHist[0][0], 512u * 400u);
  EXPECT_EQ(g_nDisplayMode, DisplayMode::Prompt);
}

TEST_F(StateTest, ConsistencyKnowsExactlyTheRegisteredDisplayModes) {
  std::string strWhy;
  EXPECT_TRUE(CheckStateConsistency(strWhy)) << strWhy;  // no data
  MakeScene(64, 48, 3, Sensor::TmFloppy, [](int x, int y, int b) { return (x + y + b) % 256; });
  for (const DisplayModeEntry& mode : DisplayModes()) {
    g_nDisplayMode = mode.eMode;
    EXPECT_TRUE(CheckStateConsistency(strWhy)) << DisplayModeCode(mode.eMode) << " " << strWhy;
  }
  // The view's own entries are among them.
  EXPECT_NE(FindDisplayMode(DisplayMode::Prompt), nullptr);
  EXPECT_NE(FindDisplayMode(DisplayMode::NoData), nullptr);
  for (int nCode : {7, 9, 21, -1}) {
    g_nDisplayMode = static_cast<DisplayMode>(nCode);
    EXPECT_FALSE(CheckStateConsistency(strWhy)) << nCode;
    EXPECT_EQ(strWhy, "unknown display mode");
  }
  g_nDisplayMode = DisplayMode::Prompt;
  // The categories may leave a band out; a band the scene does not have cannot be in use.
  g_abUseBand[1] = 0;
  EXPECT_TRUE(CheckStateConsistency(strWhy)) << strWhy;
  g_abUseBand[3] = 1;
  EXPECT_FALSE(CheckStateConsistency(strWhy));
  EXPECT_EQ(strWhy, "band-use flags");
  g_abUseBand[3] = 0;
  g_nDisplayMode = DisplayMode::NoData;
}
