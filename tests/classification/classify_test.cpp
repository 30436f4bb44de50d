// Minimum-distance classification: centres, the fast assignment against the double loop, the
// gate and the panels.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "classification/categories.h"
#include "classification/category_panels.h"
#include "classification/classify.h"
#include "classification/messages.h"
#include "core/commands.h"
#include "core/view.h"
#include "products/composite.h"
#include "resources/resource.h"
#include "support/recording_platform.h"

namespace {

using ClassifyTest = LogicTest;

std::vector<std::uint8_t> Classes() {
  std::vector<std::uint8_t> ab;
  for (int x = 0; x < WindowWidth(); ++x) {
    for (int y = 0; y < WindowHeight(); ++y) ab.push_back(g_aPixel[x][y].bClassifyClass);
  }
  return ab;
}

}  // namespace

TEST_F(ClassifyTest, CentresAreTheLastValueBeforeHalfThePixels) {
  MakeScene(10, 10, 3, Sensor::TmFloppy, [](int, int, int) { return 0; });
  g_anCatHist[0][0][40] = 7;   // all 40: the last value before half is 39
  g_anCatHist[0][1][0] = 6;    // value 0 alone is above half: 0
  g_anCatHist[0][1][9] = 4;
  g_anCatHist[0][2][3] = 1;    // pixels at 3 and 9: half is 1, passed at 9
  g_anCatHist[0][2][9] = 1;
  int aanCentre[9][9] = {};
  ComputeClassCentres(aanCentre);
  EXPECT_EQ(aanCentre[1][1], 39);
  EXPECT_EQ(aanCentre[1][2], 0);
  EXPECT_EQ(aanCentre[1][3], 8);
  EXPECT_EQ(aanCentre[2][1], 255);  // an empty category image
}

TEST_F(ClassifyTest, FastAssignmentEqualsTheDoubleLoop) {
  std::mt19937 rng(11);
  MakeScene(333, 257, 8, Sensor::TmFloppy, [&](int, int, int) { return rng() % 256; });
  for (int nRound = 0; nRound < 6; ++nRound) {
    int aanCentre[9][9] = {};
    for (int c = 1; c <= 8; ++c) {
      g_abClassify[c] = rng() % 3 != 0 || c == 3 ? 1 : 0;
      for (int b = 1; b <= 8; ++b) aanCentre[c][b] = static_cast<int>(rng() % 256);
    }
    // Same centres for two categories: the lower number wins every pixel of theirs.
    for (int b = 1; b <= 8; ++b) aanCentre[6][b] = aanCentre[3][b];
    for (int b = 0; b < 8; ++b) g_abUseBand[b] = nRound == 5 ? 0 : (rng() % 4 != 0 ? 1 : 0);
    ClassifyAssignPlain(aanCentre);
    const std::vector<std::uint8_t> abPlain = Classes();
    const std::vector<std::uint32_t> anPlain(g_anClassCount, g_anClassCount + 9);
    ClassifyAssign(aanCentre);
    EXPECT_EQ(Classes(), abPlain) << "round " << nRound;
    EXPECT_EQ(std::vector<std::uint32_t>(g_anClassCount, g_anClassCount + 9), anPlain);
    EXPECT_EQ(g_anClassCount[6], 0u);
    if (nRound == 5) {
      // No band in use: every distance is 0 and the lowest classified category takes all.
      int nLowest = 1;
      while (g_abClassify[nLowest] != 1) ++nLowest;
      EXPECT_EQ(g_anClassCount[nLowest], 333u * 257u);
    }
  }
}

TEST_F(ClassifyTest, TheGateBeepsAndNamesTheCategoriesThatStopIt) {
  MakeScene(100, 80, 3, Sensor::TmFloppy, [](int x, int, int b) { return (x * b) % 256; });
  for (int c = 3; c <= 8; ++c) g_abClassify[c] = 0;
  g_abCategoryValid[1] = 1;
  ASSERT_TRUE(DispatchCommand(ID_CLASSIFY_GENERATE));
  EXPECT_EQ(m_platform.m_nBeeps, 1);
  EXPECT_TRUE(m_platform.m_aMessages.empty());
  EXPECT_EQ(g_bClassified, 0);
  EXPECT_EQ(g_nDisplayMode, DisplayMode::Classify);
  const int X0 = g_nMaxX;
  EXPECT_EQ(m_platform.m_canvas.TextAt(X0 + 70, 160)->strText, kszClassOk);
  EXPECT_EQ(m_platform.m_canvas.TextAt(X0 + 70, 190)->strText, kszClassCannot);
  EXPECT_EQ(m_platform.m_canvas.TextAt(X0 + 70, 220)->strText, kszClassNotTaking);
  EXPECT_FALSE(IsCommandEnabled(ID_CLASSIFY_VIEW));
}

TEST_F(ClassifyTest, GenerationClassifiesEveryPixelAndLeavesTheLastCategoryTarget) {
  // Two fields: the left half dark, the right half bright, in all three bands.
  MakeScene(100, 80, 3, Sensor::TmFloppy,
            [](int x, int y, int) { return x < 50 ? 20 + y % 5 : 200 + y % 7; });
  SetDotSize(3);
  ASSERT_TRUE(DispatchCommand(ID_TRAINING_SELECT));
  OnViewLButtonDown(10, 10, false);
  ASSERT_TRUE(DispatchCommand(ID_TRAINING_UPDATE));
  ASSERT_TRUE(DispatchCommand(ID_CATEGORY4));
  OnViewLButtonDown(80, 40, false);
  ASSERT_TRUE(DispatchCommand(ID_TRAINING_UPDATE));
  for (int c = 1; c <= 8; ++c) g_abClassify[c] = c == 1 || c == 4 ? 1 : 0;
  ASSERT_TRUE(DispatchCommand(ID_CLASSIFY_GENERATE));
  EXPECT_EQ(g_bClassified, 1);
  EXPECT_EQ(g_nCategory, 4);
  EXPECT_EQ(g_anClassCount[1], 50u * 80u);
  EXPECT_EQ(g_anClassCount[4], 50u * 80u);
  EXPECT_EQ(g_aPixel[0][0].bClassifyClass, 0);
  EXPECT_EQ(g_aPixel[99][79].bClassifyClass, 3);
  // The panel: share and count per category; 100 x 80 pixels make 80 per percent.
  EXPECT_EQ(m_platform.m_canvas.TextAt(g_nMaxX + 70, 160)->strText, "50");
  EXPECT_EQ(m_platform.m_canvas.TextAt(g_nMaxX + 100, 250)->strText, "4000");
  // Switching category 4's colouring off shows its pixels in the composite colours.
  ASSERT_TRUE(DispatchCommand(ID_CLASS_TOGGLE4));
  ASSERT_TRUE(DispatchCommand(ID_CLASSIFY_VIEW));
  EXPECT_EQ(OffscreenPixel(0, 0), ScreenPixel(g_acrCategoryColour[1]));
  EXPECT_NE(OffscreenPixel(99, 0), ScreenPixel(g_acrCategoryColour[4]));
  EXPECT_EQ(g_anClassCount[4], 50u * 80u);
}

// Every pixel of a window large enough for both cores: its category's colour, the composite
// where that category's colouring is off, black where the pixel has no class.
TEST_F(ClassifyTest, EveryPixelShowsItsClassColourOrTheComposite) {
  constexpr int W = 600, H = 300;
  MakeScene(W, H, 3, Sensor::TmFloppy,
            [](int x, int y, int b) { return (x * 3 + y * 5 + b * 40 + x * y) & 0xFF; });
  OnCompositeView();
  std::vector<std::uint32_t> anComposite;
  for (int y = 0; y < H; ++y) {
    for (int x = 0; x < W; ++x) anComposite.push_back(OffscreenPixel(x, y));
  }
  // Classes 0..7 in patches, 8 (none) and an out-of-range 9 among them.
  for (int x = 0; x < W; ++x) {
    for (int y = 0; y < H; ++y) {
      g_aPixel[x][y].bClassifyClass = static_cast<std::uint8_t>((x / 7 + y / 3) % 10);
    }
  }
  for (int c = 1; c <= 8; ++c) g_abClassColourOn[c] = c == 3 || c == 6 ? 0 : 1;
  RenderClassification(false);
  int nWrong = 0;
  for (int y = 0; y < H; ++y) {
    for (int x = 0; x < W; ++x) {
      const int k = g_aPixel[x][y].bClassifyClass;
      const std::uint32_t nExpected =
          k >= 8                          ? ScreenPixel(0, 0, 0)
          : g_abClassColourOn[k + 1] == 1 ? ScreenPixel(g_acrCategoryColour[k + 1])
                                          : anComposite[static_cast<std::size_t>(y) * W + x];
      nWrong += OffscreenPixel(x, y) != nExpected;
    }
  }
  EXPECT_EQ(nWrong, 0);
}

TEST_F(ClassifyTest, SharesOfATinyWindowShowZero) {
  MakeScene(9, 9, 3, Sensor::TmFloppy, [](int, int, int) { return 0; });
  EXPECT_EQ(PercentOfWindow(81), 0);
  MakeScene(10, 10, 3, Sensor::TmFloppy, [](int, int, int) { return 0; });
  EXPECT_EQ(PercentOfWindow(37), 37);
}
