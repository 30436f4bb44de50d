// Training areas and category images: dots, ranges, validity, membership, panels and options.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "classification/categories.h"
#include "classification/category_panels.h"
#include "classification/classify.h"
#include "classification/messages.h"
#include "core/commands.h"
#include "core/view.h"
#include "resources/resource.h"
#include "support/recording_platform.h"

namespace {

class CategoryTest : public LogicTest {
 protected:
  // Band b of pixel (x, y) is (x + 3 * y + 40 * b) % 256.
  void Load(int nWidth, int nHeight, int nBands) {
    MakeScene(nWidth, nHeight, nBands, Sensor::TmFloppy,
              [](int x, int y, int b) { return (x + 3 * y + 40 * b) % 256; });
  }
  int Marks(int c) {
    int n = 0;
    for (int x = 0; x < WindowWidth(); ++x) {
      for (int y = 0; y < WindowHeight(); ++y) n += g_aPixel[x][y].abTrainMark[c - 1];
    }
    return n;
  }
};

}  // namespace

TEST_F(CategoryTest, DotsAreWholeAndInsideTheWindowOnly) {
  Load(100, 80, 3);
  ASSERT_TRUE(DispatchCommand(ID_TRAINING_SELECT));
  EXPECT_EQ(g_nDisplayMode, DisplayMode::Training);
  struct Case {
    int nDotSize, x, y, nMarked;
  } aCases[] = {
      {3, 1, 40, 0},  {3, 99, 40, 0}, {3, 2, 2, 16},  {3, 98, 78, 16}, {2, 0, 5, 0},
      {2, 98, 78, 9}, {2, 99, 5, 0},  {1, 0, 5, 0},   {1, 99, 79, 4},  {0, 99, 79, 1},
      {0, 100, 5, 0},
  };
  for (const Case& c : aCases) {
    OnViewLButtonDown(0, 0, true);  // nothing marked at (0,0) matters: erase whatever was
    for (auto& column : g_aPixel) {
      for (PixelRecord& px : column) px.abTrainMark[0] = 0;
    }
    SetDotSize(c.nDotSize);
    OnViewLButtonDown(c.x, c.y, false);
    EXPECT_EQ(Marks(1), c.nMarked) << "dot " << c.nDotSize << " at " << c.x << "," << c.y;
  }
  // The 16-pixel dot covers x-2..x+1 by y-2..y+1; Shift erases the same dot.
  SetDotSize(3);
  OnViewLButtonDown(10, 10, false);
  EXPECT_EQ(g_aPixel[8][8].abTrainMark[0], 1);
  EXPECT_EQ(g_aPixel[11][11].abTrainMark[0], 1);
  EXPECT_EQ(g_aPixel[12][11].abTrainMark[0], 0);
  // A drag paints at every point it passes, as clicks would.
  OnViewLButtonUp();
  OnViewLButtonDown(30, 30, false);
  OnViewLButtonDrag(31, 30, false);
  OnViewLButtonUp();
  EXPECT_EQ(g_aPixel[32][28].abTrainMark[0], 1);
  OnViewLButtonDown(10, 10, true);
  EXPECT_EQ(g_aPixel[8][8].abTrainMark[0], 0);
  EXPECT_EQ(Marks(1), 16 + 4);  // the two overlapping drag dots
}

TEST_F(CategoryTest, AStrokePaintsTheLineBetweenMovesAndEndsWithTheButton) {
  Load(100, 80, 3);
  ASSERT_TRUE(DispatchCommand(ID_TRAINING_SELECT));
  SetDotSize(0);
  m_platform.m_canvas.Clear();
  // One fast move from (10,10) to (40,25): 31 steps across, y rising by one every second step,
  // halves rounded up: (10,10) (11,11) (12,11) (13,12) ... (39,25) (40,25).
  OnViewLButtonDown(10, 10, false);
  OnViewLButtonDrag(40, 25, false);
  OnViewLButtonUp();
  for (int x = 10; x <= 40; ++x) {
    const int y = 10 + (x - 10 + 1) / 2;
    EXPECT_EQ(g_aPixel[x][y].abTrainMark[0], 1) << x << "," << y;
    EXPECT_EQ(m_platform.m_canvas.GetPixel(x, y), g_acrCategoryColour[1]) << x << "," << y;
  }
  EXPECT_EQ(g_aPixel[12][12].abTrainMark[0], 0);
  EXPECT_EQ(Marks(1), 31);

  // A new stroke starts at its own press; a move with the button held after no press in the
  // view paints only where it is. Neither reaches back to (40,25) or (60,40).
  OnViewLButtonDown(60, 40, false);
  OnViewLButtonUp();
  OnViewLButtonDrag(70, 40, false);
  EXPECT_EQ(Marks(1), 33);
  EXPECT_EQ(g_aPixel[60][40].abTrainMark[0], 1);
  EXPECT_EQ(g_aPixel[70][40].abTrainMark[0], 1);
  EXPECT_EQ(g_aPixel[50][32].abTrainMark[0], 0);
  EXPECT_EQ(g_aPixel[65][40].abTrainMark[0], 0);
  OnViewLButtonUp();

  // With Shift the 4-pixel dots (x-1..x, y-1..y) erase along the line; off the picture's
  // right edge a line keeps only its whole dots.
  for (int x = 0; x < 100; ++x) {
    for (int y = 50; y < 60; ++y) g_aPixel[x][y].abTrainMark[0] = 1;
  }
  SetDotSize(1);
  OnViewLButtonDown(20, 55, true);
  OnViewLButtonDrag(160, 55, true);
  OnViewLButtonUp();
  for (int x = 0; x < 100; ++x) {
    for (int y = 50; y < 60; ++y) {
      const bool bErased = x >= 19 && (y == 54 || y == 55);
      EXPECT_EQ(g_aPixel[x][y].abTrainMark[0], bErased ? 0 : 1) << x << "," << y;
    }
  }
  EXPECT_FALSE(m_platform.m_canvas.HasPixel(100, 55));
}

TEST_F(CategoryTest, PaintingInvalidatesTheCategoryAndTheClassification) {
  Load(100, 80, 3);
  ASSERT_TRUE(DispatchCommand(ID_TRAINING_SELECT));
  SetDotSize(3);
  OnViewLButtonDown(20, 20, false);
  ASSERT_TRUE(DispatchCommand(ID_TRAINING_UPDATE));  // 16 >= 8000 / 1000
  EXPECT_EQ(g_abCategoryValid[1], 1);
  EXPECT_TRUE(IsCommandEnabled(ID_CATEGORY_VIEW));
  g_bClassified = 1;
  m_platform.m_canvas.Clear();
  OnViewLButtonDown(40, 40, false);
  EXPECT_EQ(g_abCategoryValid[1], 0);
  EXPECT_EQ(g_bClassified, 0);
  EXPECT_FALSE(IsCommandEnabled(ID_CATEGORY_VIEW));
  const RecordedText* pRow = m_platform.m_canvas.TextAt(g_nMaxX + 150, 160);
  ASSERT_NE(pRow, nullptr);
  EXPECT_EQ(pRow->strText, kszNeedsUpdate);
  // The dot goes straight onto the window in the category's colour.
  EXPECT_EQ(m_platform.m_canvas.GetPixel(39, 39), g_acrCategoryColour[1]);
}

TEST_F(CategoryTest, UpdateDerivesRangesFromTheTrainingPixels) {
  Load(200, 100, 4);
  g_abUseBand[2] = 0;  // band 3 out of use
  g_nCategory = 2;
  for (int x = 10; x < 15; ++x) {
    for (int y = 0; y < 5; ++y) g_aPixel[x][y].abTrainMark[1] = 1;
  }
  OnTrainingUpdate();
  EXPECT_EQ(g_nRequiredPixels, 20);
  EXPECT_EQ(g_anTrainCount[2], 25);
  EXPECT_EQ(g_abCategoryValid[2], 1);
  // Band 1 over x 10..14, y 0..4: 50 + x + 3y.
  EXPECT_EQ(g_anCatLower[1][2], 50);
  EXPECT_EQ(g_anCatUpper[1][2], 66);
  EXPECT_EQ(g_anCatLower[3][2], 0);  // not in use: every value
  EXPECT_EQ(g_anCatUpper[3][2], 255);
  EXPECT_EQ(g_anCatLower[6][2], 0);  // not in the scene: every value
  EXPECT_EQ(g_anCatUpper[6][2], 255);
  // Training pixels of value 255 give 254..255; an empty area the empty range 254..0.
  for (int x = 10; x < 15; ++x) {
    for (int y = 0; y < 5; ++y) g_aPixel[x][y].abBand[3] = 255;
  }
  OnTrainingUpdate();
  EXPECT_EQ(g_anCatLower[4][2], 254);
  EXPECT_EQ(g_anCatUpper[4][2], 255);
  g_nCategory = 3;
  OnTrainingUpdate();
  EXPECT_EQ(g_anCatLower[1][3], 254);
  EXPECT_EQ(g_anCatUpper[1][3], 0);
  EXPECT_EQ(g_abCategoryValid[3], 0);
  // Under 1000 pixels nothing is required: valid with no training pixel, its image empty.
  Load(30, 30, 3);
  OnTrainingUpdate();
  EXPECT_EQ(g_nRequiredPixels, 0);
  EXPECT_EQ(g_abCategoryValid[3], 1);
  ASSERT_TRUE(DispatchCommand(ID_CATEGORY_VIEW));
  EXPECT_EQ(g_nDisplayMode, DisplayMode::Category);
  for (int b = 0; b < 3; ++b) {
    std::uint32_t n = 0;
    for (int v = 0; v < 256; ++v) n += g_anCatHist[2][b][v];
    EXPECT_EQ(n, 0u);
  }
}

TEST_F(CategoryTest, UpdateAllUpdatesTheMarkedCategoriesAndKeepsTheTarget) {
  Load(200, 100, 4);
  auto mark = [](int c, int x0, int x1, int y0, int y1) {
    for (int x = x0; x <= x1; ++x) {
      for (int y = y0; y <= y1; ++y) g_aPixel[x][y].abTrainMark[c - 1] = 1;
    }
  };
  mark(1, 10, 14, 0, 4);     // 25 pixels, band 1 = x + 3y + 40: 50..66
  mark(2, 100, 104, 50, 54);  // 25 pixels, band 1 = (x + 3y + 40) % 256: 34..50
  mark(4, 0, 4, 99, 99);      // 5 pixels, fewer than the 20 required; band 1: 81..85
  g_anCatLower[1][5] = 7;     // typed ranges of a category without marks stay
  g_anCatUpper[1][5] = 9;
  g_nCategory = 3;
  EXPECT_FALSE(IsCommandEnabled(ID_TRAINING_UPDATE_ALL));  // only in the training area
  g_nDisplayMode = DisplayMode::Training;
  ASSERT_TRUE(DispatchCommand(ID_TRAINING_UPDATE_ALL));
  EXPECT_EQ(g_nCategory, 3);
  EXPECT_EQ(g_nRequiredPixels, 20);
  const struct {
    int c, nCount, nLower, nUpper;
    bool bValid;
  } aExpected[] = {{1, 25, 50, 66, true}, {2, 25, 34, 50, true}, {3, 0, 0, 0, false},
                   {4, 5, 81, 85, false}, {5, 0, 7, 9, false}};
  for (const auto& e : aExpected) {
    EXPECT_EQ(g_anTrainCount[e.c], e.nCount) << e.c;
    EXPECT_EQ(g_anCatLower[1][e.c], e.nLower) << e.c;
    EXPECT_EQ(g_anCatUpper[1][e.c], e.nUpper) << e.c;
    EXPECT_EQ(g_abCategoryValid[e.c] == 1, e.bValid) << e.c;
    // The panel's state column says which are valid.
    const RecordedText* pState =
        m_platform.m_canvas.TextAt(g_nMaxX + 150, CategoryPanelLayout::RowTop(e.c));
    ASSERT_NE(pState, nullptr) << e.c;
    EXPECT_EQ(pState->strText, e.bValid ? kszTrainingOk : kszNeedsUpdate) << e.c;
  }
  // Too few pixels is a state on the panel, not a message.
  EXPECT_TRUE(m_platform.m_aMessages.empty());
  g_abClassify[3] = g_abClassify[4] = g_abClassify[5] = g_abClassify[6] = 0;
  g_abClassify[7] = g_abClassify[8] = 0;
  ASSERT_TRUE(DispatchCommand(ID_CLASSIFY_GENERATE));
  EXPECT_EQ(g_bClassified, 1);
}

TEST_F(CategoryTest, TrainingPanelTextsGiveWayToWideCounts) {
  Load(100, 80, 3);
  g_nDisplayMode = DisplayMode::Training;
  g_nRequiredPixels = 1048;  // a 1024 x 1024 window's
  // Category c counts c digits; 8 counts the whole 1024 x 1024 window.
  int n = 0;
  for (int c = 1; c <= 7; ++c) g_anTrainCount[c] = n = n * 10 + 9;
  g_anTrainCount[8] = 1048576;
  DrawTrainingPanel();
  CRecordingCanvas& canvas = m_platform.m_canvas;
  const int X0 = g_nMaxX;
  for (int c = 1; c <= 8; ++c) {
    std::vector<RecordedText> aRow;
    for (const RecordedText& text : canvas.m_aTexts) {
      if (text.y == CategoryPanelLayout::RowTop(c) && text.x >= X0 + 70) aRow.push_back(text);
    }
    ASSERT_EQ(aRow.size(), 3u) << c;  // count, required count, state, left to right
    for (std::size_t i = 0; i + 1 < aRow.size(); ++i) {
      EXPECT_LT(aRow[i].x + canvas.TextWidth(aRow[i].nHeight, aRow[i].strText), aRow[i + 1].x)
          << "category " << c << ": " << aRow[i].strText << " runs into " << aRow[i + 1].strText;
    }
  }
  // At 12 pixels a digit is 6 wide: short counts keep the columns 70, 100 and 150; seven
  // digits end at 112, and "> 1048" (36) follows at 118 with the state at 160.
  EXPECT_EQ(canvas.TextAt(X0 + 100, CategoryPanelLayout::RowTop(3))->strText, "> 1048");
  EXPECT_EQ(canvas.TextAt(X0 + 150, CategoryPanelLayout::RowTop(3))->strText, kszNeedsUpdate);
  EXPECT_EQ(canvas.TextAt(X0 + 118, CategoryPanelLayout::RowTop(7))->strText, "> 1048");
  EXPECT_EQ(canvas.TextAt(X0 + 160, CategoryPanelLayout::RowTop(7))->strText, kszNeedsUpdate);
}

TEST_F(CategoryTest, CategoryImageEqualsThePlainLoopAndCountsTheRanges) {
  std::mt19937 rng(5);
  MakeScene(300, 200, 6, Sensor::TmFloppy, [&](int, int, int) { return rng() % 256; });
  g_abUseBand[1] = 0;
  for (int nRound = 0; nRound < 6; ++nRound) {
    g_nCategory = 1 + nRound % 4;
    for (int b = 1; b <= 8; ++b) {
      const int a = static_cast<int>(rng() % 256), c = static_cast<int>(rng() % 256);
      g_anCatLower[b][g_nCategory] = std::min(a, c) / (nRound >= 3 ? 4 : 1);
      g_anCatUpper[b][g_nCategory] = std::max(a, c);
    }
    // Bounds beyond 0..255 (typed values) and an empty range (an update without training
    // pixels) in one band.
    if (nRound == 4) {
      g_anCatLower[1][g_nCategory] = -7;
      g_anCatUpper[3][g_nCategory] = 300;
    }
    if (nRound == 5) {
      g_anCatLower[4][g_nCategory] = 254;
      g_anCatUpper[4][g_nCategory] = 0;
    }
    ComputeCategoryImagePlain();
    std::vector<std::uint8_t> abPlain;
    for (int x = 0; x < 300; ++x) {
      for (int y = 0; y < 200; ++y) abPlain.push_back(g_aPixel[x][y].bCategoryClass);
    }
    const std::vector<std::uint32_t> anPlain(&g_anCatHist[0][0][0], &g_anCatHist[0][0][0] + sizeof g_anCatHist / sizeof(std::uint32_t));
    ComputeCategoryImage();
    std::vector<std::uint8_t> abFast;
    for (int x = 0; x < 300; ++x) {
      for (int y = 0; y < 200; ++y) abFast.push_back(g_aPixel[x][y].bCategoryClass);
    }
    EXPECT_EQ(abFast, abPlain);
    EXPECT_EQ(std::vector<std::uint32_t>(&g_anCatHist[0][0][0], &g_anCatHist[0][0][0] + sizeof g_anCatHist / sizeof(std::uint32_t)), anPlain);
  }
  // In-range counts: the whole scene inside one band's range, used bands only.
  const int t = g_nCategory;
  std::uint32_t n = 0;
  for (int v = g_anCatLower[1][t]; v <= g_anCatUpper[1][t]; ++v) n += g_anBandHist[0][v];
  EXPECT_EQ(g_anBandInRange[1], n);
  EXPECT_EQ(g_anBandInRange[2], 0u);
  EXPECT_EQ(g_nDisplayMode, DisplayMode::Category);
}

TEST_F(CategoryTest, TargetChangesResetThePreviousImageBackground) {
  Load(100, 80, 3);
  ASSERT_TRUE(DispatchCommand(ID_TRAINING_SELECT));
  g_abCategoryValid[1] = 1;
  ASSERT_TRUE(DispatchCommand(ID_TRAINING_BACK_CATEGORY));
  EXPECT_TRUE(IsCommandChecked(ID_TRAINING_BACK_CATEGORY));
  ASSERT_TRUE(DispatchCommand(ID_CATEGORY2));
  EXPECT_EQ(m_platform.m_aMessages,
            (std::vector<RecordedMessage>{{kszMsgBackgroundReset, kszCapBackgroundReset}}));
  EXPECT_EQ(g_nTrainBackground, 0);
  EXPECT_EQ(g_nCategory, 2);

  // The values dialog makes the category it names the target, silently dropping the
  // background that belonged to the old one; it redraws nothing.
  g_nTrainBackground = 1;
  m_platform.m_aMessages.clear();
  std::vector<int> anAnswer = {5};
  for (int b = 1; b <= 8; ++b) {
    anAnswer.push_back(b);
    anAnswer.push_back(200 + b);
  }
  m_platform.m_qDialogAnswers.push_back(anAnswer);
  const int nRepaints = m_platform.m_nRepaints;
  ASSERT_TRUE(DispatchCommand(ID_CATEGORY_VALUES));
  EXPECT_EQ(m_platform.m_aDialogStarts.back()[0], 2);  // it opened on the target
  EXPECT_EQ(g_nCategory, 5);
  EXPECT_EQ(g_anCatLower[3][5], 3);
  EXPECT_EQ(g_anCatUpper[8][5], 208);
  EXPECT_EQ(g_nTrainBackground, 0);
  EXPECT_TRUE(m_platform.m_aMessages.empty());
  EXPECT_EQ(m_platform.m_nRepaints, nRepaints);

  // Clearing asks first; Cancel keeps the marks.
  g_aPixel[3][3].abTrainMark[4] = 1;
  m_platform.m_qAnswers.push_back(MsgResult::Cancel);
  ASSERT_TRUE(DispatchCommand(ID_CLEAR_CATEGORY));
  EXPECT_EQ(g_aPixel[3][3].abTrainMark[4], 1);
  g_aPixel[700][900].abTrainMark[7] = 1;  // outside the window: clear all still clears it
  ASSERT_TRUE(DispatchCommand(ID_CLEAR_ALL_CATEGORIES));
  EXPECT_EQ(g_aPixel[3][3].abTrainMark[4], 0);
  EXPECT_EQ(g_aPixel[700][900].abTrainMark[7], 0);
}

TEST_F(CategoryTest, EachPictureFollowsANewTargetAsItsModeRegistered) {
  Load(100, 80, 3);
  g_bAlwaysRedraw = 0;
  CRecordingCanvas& canvas = m_platform.m_canvas;
  // The category picture: the new target's prepare step, or its invalid panel.
  g_abCategoryValid[1] = g_abCategoryValid[3] = 1;
  for (int b = 1; b <= 3; ++b) {
    g_anCatLower[b][3] = 0;
    g_anCatUpper[b][3] = 255;
  }
  ASSERT_TRUE(DispatchCommand(ID_CATEGORY_HISTOGRAM));
  canvas.Clear();
  ASSERT_TRUE(DispatchCommand(ID_CATEGORY2));
  ASSERT_NE(canvas.TextAt(g_nMaxX + 3, 130), nullptr);
  EXPECT_EQ(canvas.TextAt(g_nMaxX + 3, 130)->strText, "Category2");
  EXPECT_EQ(canvas.TextAt(g_nMaxX + 60, 160), nullptr) << "no ranges beside an invalid image";
  EXPECT_EQ(g_nDisplayMode, DisplayMode::Category);
  canvas.Clear();
  ASSERT_TRUE(DispatchCommand(ID_CATEGORY3));
  ASSERT_NE(canvas.TextAt(g_nMaxX + 90, 160), nullptr);
  EXPECT_EQ(canvas.TextAt(g_nMaxX + 90, 160)->strText, "～ 255");
  std::uint32_t nInside = 0;
  for (std::uint32_t n : g_anCatHist[2][0]) nInside += n;
  EXPECT_EQ(nInside, 100u * 80u) << "the image of category 3 was made";

  // The training area: the new target's update, which sets the ranges of a target without
  // marks to nothing.
  ASSERT_TRUE(DispatchCommand(ID_TRAINING_SELECT));
  g_anCatLower[1][4] = 7;
  ASSERT_TRUE(DispatchCommand(ID_CATEGORY4));
  EXPECT_EQ(g_anCatLower[1][4], 254);
  EXPECT_EQ(g_nDisplayMode, DisplayMode::Training);

  // Other pictures registered no reaction: nothing is drawn or recomputed.
  ASSERT_TRUE(DispatchCommand(ID_COMPOSITE_HISTOGRAM));
  g_anCatLower[1][5] = 7;
  canvas.Clear();
  const int nRepaints = m_platform.m_nRepaints;
  ASSERT_TRUE(DispatchCommand(ID_CATEGORY5));
  EXPECT_EQ(g_anCatLower[1][5], 7);
  EXPECT_TRUE(canvas.m_aRects.empty() && canvas.m_aTexts.empty());
  EXPECT_EQ(m_platform.m_nRepaints, nRepaints);
  EXPECT_EQ(g_nDisplayMode, DisplayMode::Composite);
}

TEST_F(CategoryTest, OptionsCheckTheBandsAndInvalidateOnlyOnChange) {
  Load(100, 80, 3);
  g_abCategoryValid[1] = 1;
  g_bClassified = 1;
  CategoryOptions options = CurrentCategoryOptions();
  options.abUseBand[4] = options.abUseBand[5] = 1;
  options.astrName[2] = "水田";
  ApplyCategoryOptions(options);
  EXPECT_EQ(m_platform.m_aMessages,
            (std::vector<RecordedMessage>{
                {"Band4はありません チェックは取り消しました", "Warning in Check Band4"},
                {"Band5はありません チェックは取り消しました", "Warning in Check Band5"}}));
  EXPECT_EQ(g_abCategoryValid[1], 1);  // the flags ended as they were
  EXPECT_EQ(g_astrCategoryName[2], "水田");

  m_platform.m_aMessages.clear();
  options = CurrentCategoryOptions();
  options.abUseBand[2] = 0;
  ApplyCategoryOptions(options);
  EXPECT_EQ(m_platform.m_aMessages,
            (std::vector<RecordedMessage>{{kszMsgBandsChanged, kszCapProcess}}));
  EXPECT_EQ(g_abCategoryValid[1], 0);
  EXPECT_EQ(g_bClassified, 0);
  EXPECT_EQ(g_abUseBand[1], 0);

  // The classification options warn about a classification only while one exists.
  m_platform.m_aMessages.clear();
  g_bClassified = 1;
  ApplyClassifyOptions(CurrentCategoryOptions());
  EXPECT_EQ(m_platform.m_aMessages,
            (std::vector<RecordedMessage>{{kszMsgRegenerate, kszCapProcess}}));
  EXPECT_EQ(g_bClassified, 1);
  EXPECT_EQ(g_nDisplayMode, DisplayMode::Classify);
}
