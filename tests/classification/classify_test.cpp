// Minimum-distance classification: centres, the fast assignment against the double loop, the
// gate and the panels.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "classification/categories.h"
#include "classification/category_panels.h"
#include "classification/classify.h"
#include "classification/messages.h"
#include "core/text_format.h"
#include "core/commands.h"
#include "core/view.h"
#include "products/composite.h"
#include "resources/resource.h"
#include "support/recording_platform.h"

namespace {

using ClassifyTest = LogicTest;

// Marks category c on the rectangle and updates it, as the training area's strokes would.
void Train(int c, int x0, int y0, int x1, int y1) {
  for (int x = x0; x <= x1; ++x) {
    for (int y = y0; y <= y1; ++y) g_aPixel[x][y].abTrainMark[c - 1] = 1;
  }
  g_nCategory = c;
  ASSERT_TRUE(DispatchCommand(ID_TRAINING_SELECT));
}

// The method dialog answered with these values.
void SetMethod(CRecordingPlatform& platform, int nMethod, int nDistance, int nProbability) {
  platform.m_qDialogAnswers.push_back({nMethod, nDistance, nProbability});
  ASSERT_TRUE(DispatchCommand(ID_CLASSIFY_METHOD));
}

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

// With the defaults the generation, now through the model, gives exactly the classes of the
// plain loop and of today's fast path; a reject distance leaves the far pixels unclassified as
// the plain loop does, black in the picture, and the panel gives them a ninth row.
TEST_F(ClassifyTest, ARejectDistanceLeavesFarPixelsUnclassifiedInARowOfTheirOwn) {
  MakeScene(300, 200, 4, Sensor::TmFloppy,
            [](int x, int y, int b) { return (x * (b + 1) / 3 + y * 2 / b + (x * y) % 17) & 0xFF; });
  Train(1, 10, 10, 30, 30);
  Train(2, 150, 100, 170, 120);
  Train(5, 250, 20, 270, 40);
  for (int c = 1; c <= 8; ++c) g_abClassify[c] = c == 1 || c == 2 || c == 5 ? 1 : 0;
  const int X0 = g_nMaxX, y9 = CategoryPanelLayout::RowTop(9);
  for (int nDistance : {0, 40}) {
    SetMethod(m_platform, 0, nDistance, 0);
    m_platform.m_canvas.Clear();
    ASSERT_TRUE(DispatchCommand(ID_CLASSIFY_GENERATE));
    ASSERT_TRUE(g_bClassified);
    const std::vector<std::uint8_t> abGenerated = Classes();
    const std::uint32_t nUnclassified = g_nUnclassifiedCount;
    const RecordedText* pCount = m_platform.m_canvas.TextAt(X0 + 100, y9);
    int aanCentre[9][9] = {};
    ComputeClassCentres(aanCentre);
    ClassifyAssignPlain(aanCentre);
    EXPECT_EQ(Classes(), abGenerated) << nDistance;
    EXPECT_EQ(g_nUnclassifiedCount, nUnclassified);
    EXPECT_EQ(std::count(abGenerated.begin(), abGenerated.end(), 8), nUnclassified);
    if (nDistance == 0) {
      ClassifyAssign(aanCentre);  // today's fast path
      EXPECT_EQ(Classes(), abGenerated);
      EXPECT_EQ(nUnclassified, 0u);
      EXPECT_EQ(pCount, nullptr) << "no ninth row without a threshold";
      continue;
    }
    EXPECT_GT(nUnclassified, 300u * 200u / 20);
    ASSERT_NE(pCount, nullptr);
    EXPECT_EQ(pCount->strText, FormatText("%u", nUnclassified));
    EXPECT_EQ(m_platform.m_canvas.TextAt(X0 + 70, y9)->strText,
              FormatText("%d", static_cast<int>(nUnclassified / 600)));
    EXPECT_EQ(m_platform.m_canvas.TextAt(X0 + 150, y9)->strText, kszUnclassified);
    ASSERT_TRUE(DispatchCommand(ID_CLASSIFY_VIEW));
    const auto it = std::find(abGenerated.begin(), abGenerated.end(), 8);
    const int n = static_cast<int>(it - abGenerated.begin());
    EXPECT_EQ(OffscreenPixel(n / 200, n % 200), ScreenPixel(0, 0, 0));
  }
}

// A category whose covariance cannot be inverted stops maximum likelihood as a category that
// is not valid stops any generation, with a message that names it and why.
TEST_F(ClassifyTest, MaximumLikelihoodStopsAtACovarianceItCannotInvert) {
  // 40 x 20 pixels need no training pixels at all; category 2's band 2 is 77 throughout.
  MakeScene(40, 20, 3, Sensor::TmFloppy,
            [](int x, int y, int b) { return x >= 20 && b == 2 ? 77 : (x * x * b + y * 7 * b + x * y) % 251; });
  g_astrCategoryName[2] = "裸地";
  Train(1, 2, 2, 8, 8);
  Train(2, 25, 5, 30, 10);
  for (int c = 3; c <= 8; ++c) g_abClassify[c] = 0;
  SetMethod(m_platform, 1, 0, 0);
  ASSERT_TRUE(DispatchCommand(ID_CLASSIFY_GENERATE));
  EXPECT_FALSE(g_bClassified);
  EXPECT_FALSE(IsCommandEnabled(ID_CLASSIFY_VIEW));
  ASSERT_EQ(m_platform.m_aMessages.size(), 1u);
  EXPECT_EQ(m_platform.m_aMessages[0],
            (RecordedMessage{FormatText(kszMsgSingularCovariance, 2, "裸地"), kszCapMaximumLikelihood}));
  EXPECT_EQ(m_platform.m_canvas.TextAt(g_nMaxX + 70, 160)->strText, kszClassOk);
  EXPECT_EQ(m_platform.m_canvas.TextAt(g_nMaxX + 70, 190)->strText, kszClassCannot);

  // Three pixels of category 2 elsewhere: too few for three bands.
  ASSERT_TRUE(DispatchCommand(ID_CLEAR_CATEGORY));
  Train(2, 12, 12, 14, 12);
  ASSERT_TRUE(DispatchCommand(ID_CLASSIFY_GENERATE));
  EXPECT_EQ(m_platform.m_aMessages.back().strText,
            FormatText(kszMsgFewTrainingPixels, 2, "裸地", 3, 4));
  // With minimum distance the same categories classify.
  SetMethod(m_platform, 0, 0, 0);
  ASSERT_TRUE(DispatchCommand(ID_CLASSIFY_GENERATE));
  EXPECT_TRUE(g_bClassified);
}
