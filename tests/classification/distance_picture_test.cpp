// The distance picture on scenes of a few pixels whose distances are worked out by hand: grey
// 255 x d / (the largest d), rounded; red where the threshold left a pixel unclassified; the
// panel's scale, end values and threshold.
#include "classification/distance_picture.h"

#include <gtest/gtest.h>

#include "classification/categories.h"
#include "classification/category_panels.h"
#include "classification/messages.h"
#include "core/commands.h"
#include "core/text_format.h"
#include "core/view.h"
#include "resources/resource.h"
#include "support/recording_platform.h"

namespace {

class DistancePictureTest : public LogicTest {
 protected:
  // One line of pixels, band values from the table (band 3 is 0 and not used, nor with
  // bBand1Only band 2); categories 1 and 2 trained on the pixels given, the method dialog
  // answered, the picture generated and shown.
  void Show(const std::vector<std::array<int, 2>>& aValues, bool bBand1Only,
            std::vector<int> anTrain1, std::vector<int> anTrain2, std::vector<int> anMethod) {
    MakeScene(static_cast<int>(aValues.size()), 1, 3, Sensor::TmFloppy,
              [&](int x, int, int b) { return b <= 2 ? aValues[x][b - 1] : 0; });
    g_abUseBand[1] = bBand1Only ? 0 : 1;
    g_abUseBand[2] = 0;
    for (int c = 3; c <= 8; ++c) g_abClassify[c] = 0;
    for (const auto& [c, anX] : {std::pair{1, anTrain1}, {2, anTrain2}}) {
      for (int x : anX) g_aPixel[x][0].abTrainMark[c - 1] = 1;
      g_nCategory = c;
      ASSERT_TRUE(DispatchCommand(ID_TRAINING_SELECT));
    }
    m_platform.m_qDialogAnswers.push_back(anMethod);
    ASSERT_TRUE(DispatchCommand(ID_CLASSIFY_METHOD));
    ASSERT_TRUE(DispatchCommand(ID_CLASSIFY_GENERATE));
    ASSERT_TRUE(g_bClassified);
    m_platform.m_canvas.Clear();
    ASSERT_TRUE(DispatchCommand(ID_DISTANCE_VIEW));
    EXPECT_EQ(g_nDisplayMode, DisplayMode::Distance);
  }
  // The picture's line: grey levels, -1 for red.
  static std::vector<int> Greys() {
    std::vector<int> an;
    for (int x = 0; x < WindowWidth(); ++x) {
      const std::uint32_t px = OffscreenPixel(x, 0);
      an.push_back(px == ScreenPixel(255, 0, 0) ? -1 : static_cast<int>(px & 0xFF));
      EXPECT_TRUE(an.back() == -1 || px == ScreenPixel(an.back(), an.back(), an.back()));
    }
    return an;
  }
  const RecordedText* PanelText(int dx, int y) const {
    return m_platform.m_canvas.TextAt(g_nMaxX + dx, y);
  }
};

}  // namespace

TEST_F(DistancePictureTest, MinimumDistanceShowsTheEuclideanDistance) {
  // Both categories' marks sit one above their centres (100, 100) and (200, 200), so they are
  // sqrt(2) away; the others 0, 5, 13, 12 and 5.
  const std::vector<std::array<int, 2>> aValues = {{101, 101}, {101, 101}, {100, 100}, {103, 104},
                                                   {112, 105}, {100, 112}, {201, 201}, {200, 205}};
  Show(aValues, false, {0, 1}, {6}, {0, 0, 0});
  // 255 x sqrt(2) / 13 = 27.7, 255 x 5 / 13 = 98.1, 255 x 12 / 13 = 235.4.
  EXPECT_EQ(Greys(), (std::vector<int>{28, 28, 0, 98, 255, 235, 28, 98}));
  EXPECT_EQ(PanelText(3, DistancePanelLayout::kMeasureTop)->strText, kszDistanceEuclidean);
  EXPECT_EQ(PanelText(3, DistancePanelLayout::kThresholdTop)->strText, kszDistanceNoThreshold);
  EXPECT_EQ(PanelText(3, DistancePanelLayout::kEndValueTop)->strText, "0");
  const int nWidth = m_platform.m_canvas.TextWidth(kGuideTextHeight, "13.00");
  EXPECT_NE(PanelText(259 - nWidth, DistancePanelLayout::kEndValueTop), nullptr);
  for (int v : {0, 77, 255}) {
    EXPECT_EQ(m_platform.m_canvas.m_mapPixels.at({g_nMaxX + 3 + v, DistancePanelLayout::kBarTop}),
              Rgb(v, v, v));
  }

  // At most 12: the pixel 13 away is red, and 12 is now white.
  Show(aValues, false, {0, 1}, {6}, {0, 12, 0});
  EXPECT_EQ(Greys(), (std::vector<int>{30, 30, 0, 106, -1, 255, 30, 106}));
  EXPECT_EQ(PanelText(3, DistancePanelLayout::kThresholdTop)->strText,
            FormatText(kszDistanceThresholdDistance, 12));
  EXPECT_EQ(PanelText(35, DistancePanelLayout::kUnclassifiedTop)->strText,
            FormatText(kszDistanceUnclassified, 1));
}

TEST_F(DistancePictureTest, MaximumLikelihoodShowsTheSquaredMahalanobisDistance) {
  // Band 1 only. Category 1 trained on 10, 12, 14 (mean 12, variance 4), category 2 on 100,
  // 104, 108 (mean 104, variance 16): 16, 18, 20 lie 4, 9 and 16 from category 1, 112 lies 4
  // from category 2, the marks 1 or 0.
  const std::vector<std::array<int, 2>> aValues = {{10, 0},  {12, 0},  {14, 0}, {100, 0}, {104, 0},
                                                   {108, 0}, {16, 0},  {18, 0}, {20, 0},  {112, 0}};
  Show(aValues, true, {0, 1, 2}, {3, 4, 5}, {1, 0, 0});
  // 255 x 1 / 16 = 15.9, 255 x 4 / 16 = 63.75, 255 x 9 / 16 = 143.4.
  EXPECT_EQ(Greys(), (std::vector<int>{16, 0, 16, 16, 0, 16, 64, 143, 255, 64}));
  EXPECT_EQ(g_anClassCount[1], 6u);
  EXPECT_EQ(PanelText(3, DistancePanelLayout::kMeasureTop)->strText, kszDistanceMahalanobis);
  g_nMouseX = 7;
  EXPECT_EQ(FindDisplayMode(DisplayMode::Distance)->pfnPane1(), "[距離]=[ 9.00 ]");

  // 5 %: beyond chi-square(1 degree) = 3.84 every pixel 4 or more away is red.
  Show(aValues, true, {0, 1, 2}, {3, 4, 5}, {1, 0, 5});
  EXPECT_EQ(Greys(), (std::vector<int>{255, 0, 255, 255, 0, 255, -1, -1, -1, -1}));
  EXPECT_EQ(g_nUnclassifiedCount, 4u);
  EXPECT_EQ(PanelText(3, DistancePanelLayout::kThresholdTop)->strText,
            FormatText(kszDistanceThresholdProbability, 5.0, 3.841459));
  g_nMouseX = 7;
  EXPECT_EQ(FindDisplayMode(DisplayMode::Distance)->pfnPane1(), "[距離]=[ - ]");
}
