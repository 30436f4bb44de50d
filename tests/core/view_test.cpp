#include <string>

#include "core/commands.h"
#include "resources/resource.h"
#include "core/state.h"
#include "core/view.h"
#include "support/recording_platform.h"
#include "products/fine_settings.h"
#include "products/composite_settings.h"
#include "products/coarse_settings.h"
#include "histograms/histogram_settings.h"
#include "classification/category_settings.h"

namespace {

class ViewTest : public LogicTest {
 protected:
  // Band b of pixel (x, y) is x + 10 * b, so readouts are easy to predict.
  void Load(int nBands) {
    MakeScene(512, 400, nBands, Sensor::TmFloppy,
              [](int x, int, int b) { return (x + 10 * b) % 256; });
  }
};

}  // namespace

TEST_F(ViewTest, ReadoutWithoutDataShowsDashes) {
  g_nDisplayMode = DisplayMode::Composite;  // a product mode, but no band loaded
  OnViewMouseMove(3, 4);
  EXPECT_EQ(m_platform.m_strPane0, "[X= -,Y= - ] (x,y)=( -, - )  Band -");
  g_nDisplayMode = DisplayMode::DetailedHistogram;
  UpdateStatusReadout();
  EXPECT_EQ(m_platform.m_strPane0, "(x,y)=( -, - )  Band -");
  EXPECT_EQ(m_platform.m_strPane1, " ");
  g_nDisplayMode = DisplayMode::NoData;
  UpdateStatusReadout();
  EXPECT_EQ(m_platform.m_strPane0, "");
  EXPECT_EQ(m_platform.m_strPane1, "__");
}

TEST_F(ViewTest, ReadoutListsEveryBandPresent) {
  Load(1);
  g_nDisplayMode = DisplayMode::Composite;
  g_nSceneOffsetX = 100;
  g_nSceneOffsetY = 7;
  OnViewMouseMove(5, 6);
  EXPECT_EQ(m_platform.m_strPane0, "[X=100,Y=7] (x,y)=(5,6) Band(1)=( 15 )");
  Load(3);
  g_nDisplayMode = DisplayMode::Fine;
  OnViewMouseMove(5, 6);
  EXPECT_EQ(m_platform.m_strPane0, "[X=100,Y=7] (x,y)=(5,6) Band(1,2,3)=( 15, 25, 35 )");
  Load(8);
  g_nDisplayMode = DisplayMode::Training;
  OnViewMouseMove(0, 0);
  EXPECT_EQ(m_platform.m_strPane0,
            "[X=100,Y=7] (x,y)=(0,0) Band(1,2,3,4,5,6,7,8)=( 10, 20, 30, 40, 50, 60, 70, 80 )");
}

TEST_F(ViewTest, SecondPaneFollowsTheDisplayMode) {
  Load(3);
  for (int v = 0; v < 256; ++v) {
    g_abRedLut[v] = static_cast<std::uint8_t>(v / 2);
    g_abGreenLut[v] = static_cast<std::uint8_t>(255 - v);
    g_abBlueLut[v] = static_cast<std::uint8_t>(v);
    g_abCoarseRankOfValue[v] = static_cast<std::uint8_t>(1 + v / 32);
    g_anFineRed[v] = v + 0x100;  // only the low byte is a colour
    g_anFineGreen[v] = 1;
    g_anFineBlue[v] = 2;
  }
  g_aPixel[4][2].bCategoryClass = 1;
  g_aPixel[4][2].bClassifyClass = 8;
  g_aPixel[4][2].abTrainMark[0] = 1;
  g_nMouseX = 4;
  g_nMouseY = 2;
  // Red band 3 = 34, green band 2 = 24, blue band 1 = 14.
  g_nDisplayMode = DisplayMode::Composite;
  EXPECT_EQ(StatusPane1Text(), "(R,G,B)=( 17, 231, 14 )");
  g_nDisplayMode = DisplayMode::Coarse;
  g_nCoarseBand = 2;
  EXPECT_EQ(StatusPane1Text(), "(Rank,CCT COUNT)=( 1, 24 )");
  g_nDisplayMode = DisplayMode::Category;
  EXPECT_EQ(StatusPane1Text(), "[ｶﾃｺﾞﾘNo]=[ 1 ]");
  g_nDisplayMode = DisplayMode::Classify;
  EXPECT_EQ(StatusPane1Text(), "[ｶﾃｺﾞﾘNo]=[ - ]");
  g_aPixel[4][2].bClassifyClass = 0;
  EXPECT_EQ(StatusPane1Text(), "[ｶﾃｺﾞﾘNo]=[ 0 ]");
  g_nDisplayMode = DisplayMode::Training;
  EXPECT_EQ(StatusPane1Text(), "[状態]=[ON]");
  g_nCategory = 2;
  EXPECT_EQ(StatusPane1Text(), "[状態]=[OFF]");
  g_nDisplayMode = DisplayMode::Fine;
  g_nFineBand = 1;
  EXPECT_EQ(StatusPane1Text(), "(R,G,B)=( 14, 1, 2 )");
  g_nDisplayMode = DisplayMode::Prompt;
  EXPECT_EQ(StatusPane1Text(), "__");
}

TEST_F(ViewTest, DetailedHistogramReadoutShowsTheCursorCounts) {
  Load(2);
  g_nDisplayMode = DisplayMode::DetailedHistogram;
  g_nHistCursor = 20;
  UpdateStatusReadout();
  // Band 1 = (x + 10) % 256 is 20 in columns 10 and 266; band 2 in columns 0 and 256.
  EXPECT_EQ(m_platform.m_strPane0, "CCT COUNT= 20   Band(1,2)=( 800, 800 )");
}

TEST_F(ViewTest, PositionsBeyondTheWindowLeaveThePanesAlone) {
  Load(3);
  g_nDisplayMode = DisplayMode::Composite;
  OnViewMouseMove(10, 10);
  const std::string strBefore = m_platform.m_strPane0;
  OnViewMouseMove(512, 10);  // the panel strip
  OnViewMouseMove(10, 400);  // below the picture
  EXPECT_EQ(m_platform.m_strPane0, strBefore);
  EXPECT_EQ(m_platform.m_nStatusUpdates, 1);
  EXPECT_EQ(g_nMouseX, 10);
  EXPECT_EQ(g_nMouseY, 400);
  m_platform.m_bHasStatusBar = false;
  OnViewMouseMove(1, 1);  // no status bar: nothing shown, nothing breaks
  EXPECT_EQ(m_platform.m_strPane0, strBefore);
}

TEST_F(ViewTest, ArrowKeysMoveByModeAndStopAtTheBorders) {
  Load(3);
  g_nDisplayMode = DisplayMode::Composite;
  g_nMouseX = 0;
  g_nMouseY = 399;
  OnViewArrowKey(ArrowKey::Left);
  OnViewArrowKey(ArrowKey::Down);
  EXPECT_EQ(g_nMouseX, 0);
  EXPECT_EQ(g_nMouseY, 399);
  OnViewArrowKey(ArrowKey::Right);
  OnViewArrowKey(ArrowKey::Up);
  EXPECT_EQ(g_nMouseX, 1);
  EXPECT_EQ(g_nMouseY, 398);
  EXPECT_NE(m_platform.m_strPane0.find("(x,y)=(1,398)"), std::string::npos);
  g_nMouseX = 511;
  OnViewArrowKey(ArrowKey::Right);
  EXPECT_EQ(g_nMouseX, 511);

  g_nDisplayMode = DisplayMode::Fine;  // the fine picture ignores keys
  OnViewArrowKey(ArrowKey::Left);
  EXPECT_EQ(g_nMouseX, 511);

  g_nDisplayMode = DisplayMode::DetailedHistogram;
  g_nHistCursor = 0;
  OnViewArrowKey(ArrowKey::Left);
  EXPECT_EQ(g_nHistCursor, 0);
  g_nHistCursor = 255;
  OnViewArrowKey(ArrowKey::Right);
  EXPECT_EQ(g_nHistCursor, 255);
  OnViewArrowKey(ArrowKey::Left);
  EXPECT_EQ(g_nHistCursor, 254);
  OnViewArrowKey(ArrowKey::Up);  // only left and right move the cursor
  EXPECT_EQ(g_nHistCursor, 254);
}

TEST_F(ViewTest, HistogramClicksSetTheCursorInsideTheChartOnly) {
  Load(3);
  g_nDisplayMode = DisplayMode::DetailedHistogram;
  OnViewLButtonDown(511, 40, false);
  EXPECT_EQ(g_nHistCursor, 255);
  OnViewLButtonDown(512, 40, false);
  EXPECT_EQ(g_nHistCursor, 255);
  OnViewLButtonDown(0, 40, false);
  EXPECT_EQ(g_nHistCursor, 0);
  EXPECT_EQ(g_nMouseX, 0);
}

TEST_F(ViewTest, RightClickChoosesThePopupByModeAndCtrl) {
  EXPECT_STREQ(ContextPopupForClick(false), kszPopupTraining);  // no data
  g_nDisplayMode = DisplayMode::Coarse;
  EXPECT_STREQ(ContextPopupForClick(true), kszPopupCoarseBand);
  EXPECT_STREQ(ContextPopupForClick(false), kszPopupCoarseColouring);
  g_nDisplayMode = DisplayMode::Fine;
  EXPECT_STREQ(ContextPopupForClick(true), kszPopupFineBand);
  EXPECT_STREQ(ContextPopupForClick(false), kszPopupFineColouring);
  g_nDisplayMode = DisplayMode::DetailedHistogram;
  EXPECT_STREQ(ContextPopupForClick(true), kszPopupHistogram);
  g_nDisplayMode = DisplayMode::Composite;
  EXPECT_STREQ(ContextPopupForClick(true), kszPopupTraining);
}

TEST_F(ViewTest, PaintingFollowsTheDisplayMode) {
  CRecordingCanvas& canvas = m_platform.m_canvas;
  PaintView();
  ASSERT_EQ(canvas.m_aTexts.size(), 9u);
  for (int i = 0; i < 9; ++i) {
    EXPECT_EQ(canvas.m_aTexts[i].x, 0);
    EXPECT_EQ(canvas.m_aTexts[i].y, 30 * i);
    EXPECT_EQ(canvas.m_aTexts[i].nHeight, 14);
    EXPECT_EQ(canvas.m_aTexts[i].strText, kaszLoadInstructions[i]);
  }
  EXPECT_EQ(canvas.m_aTexts[2].strText, "    「ファイル」→「ワークファイルを開く」から読み込みます。");
  EXPECT_EQ(canvas.m_aTexts[8].strText, "    「ファイル」→「ラスターファイルを開く」から読み込みます。");
  EXPECT_EQ(canvas.m_nImageCopies, 0);

  canvas.Clear();
  g_nDisplayMode = DisplayMode::Prompt;
  PaintView();
  ASSERT_EQ(canvas.m_aTexts.size(), 1u);
  EXPECT_EQ(canvas.m_aTexts[0].strText, ">メニューを選択してください。");

  for (DisplayMode eMode : {DisplayMode::Composite, DisplayMode::Coarse, DisplayMode::Category,
                            DisplayMode::Training, DisplayMode::Classify, DisplayMode::Fine,
                            DisplayMode::Bmp}) {
    canvas.Clear();
    g_nDisplayMode = eMode;
    PaintView();
    EXPECT_EQ(canvas.m_nImageCopies, 1) << DisplayModeCode(eMode);
  }
  canvas.Clear();
  g_nDisplayMode = DisplayMode::DetailedHistogram;
  PaintView();
  EXPECT_EQ(canvas.m_nImageCopies, 0);
}

TEST_F(ViewTest, ACanvasWithoutAFontEstimatesTextWidths) {
  Canvas& canvas = m_platform.m_canvas;
  EXPECT_EQ(canvas.TextWidth(12, "1568"), 24);
  EXPECT_EQ(canvas.TextWidth(12, "選定又は更新が必要"), 108);
  EXPECT_EQ(canvas.TextWidth(12, "[ｶﾃｺﾞﾘNo]"), 54);  // half-width katakana are narrow
  EXPECT_EQ(canvas.TextWidth(15, "～ 255"), 45);     // 15 + 4 x 7.5
  EXPECT_EQ(canvas.TextWidth(15, "Category8"), 68);  // 67.5 rounded up
  EXPECT_EQ(canvas.TextWidth(15, ""), 0);
}

TEST_F(ViewTest, ScrollSizesLeaveRoomForThePanel) {
  ScrollSizes sizes = ComputeScrollSizes();
  EXPECT_EQ(sizes.nTotalWidth, 771);
  EXPECT_EQ(sizes.nTotalHeight, 400);
  EXPECT_EQ(sizes.nPageWidth, 385);
  EXPECT_EQ(sizes.nPageHeight, 200);
  EXPECT_EQ(sizes.nLineWidth, 15);
  EXPECT_EQ(sizes.nLineHeight, 8);
  g_nMaxX = 799;
  g_nMaxY = 599;
  OffscreenPixel(799, 599) = 0;
  OffscreenPixel(800, 0) = 0;  // outside the window: not touched by the clear
  InitialUpdateView();
  EXPECT_EQ(OffscreenPixel(799, 599), ScreenPixel(255, 255, 255));
  EXPECT_EQ(OffscreenPixel(800, 0), 0u);
  EXPECT_EQ(m_platform.m_nInitialUpdates, 1);
}
