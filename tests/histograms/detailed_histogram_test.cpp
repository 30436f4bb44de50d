// The detailed histogram through the recording canvas: scale units and their fall-backs, the
// maximum carried from one drawing to the next, the cursor and readout, each kind's strips and the commands
// that end in the chart.
#include <algorithm>
#include <string>

#include "core/commands.h"
#include "core/view.h"
#include "histograms/detailed_histogram.h"
#include "histograms/histograms.h"
#include "products/coarse.h"
#include "products/composite.h"
#include "products/fine.h"
#include "resources/resource.h"
#include "support/recording_platform.h"
#include "classification/category_settings.h"

using DetailedHistogramTest = LogicTest;

namespace {

// The curve drawn with baseline nBaseline in pen cr (256 points), or null.
const RecordedPolyline* CurveOf(const CRecordingCanvas& canvas, Colorref cr, int nBaseline) {
  for (const RecordedPolyline& line : canvas.m_aPolylines) {
    if (line.aPoints.size() != 256 || line.crPen != cr) continue;
    const int nLowest = std::max_element(line.aPoints.begin(), line.aPoints.end(),
                                         [](Point a, Point b) { return a.y < b.y; })->y;
    if (nLowest == nBaseline) return &line;
  }
  return nullptr;
}

// Pixels set in strip i (lines 249..254 of its box).
int StripPixels(const CRecordingCanvas& canvas, int i) {
  int n = 0;
  for (const auto& [xy, cr] : canvas.m_mapPixels) {
    n += xy.second >= 249 + 20 * i && xy.second <= 254 + 20 * i;
  }
  return n;
}

int LinesAt(const CRecordingCanvas& canvas, int y, int x0, int x1, Colorref cr, int nWidth) {
  int n = 0;
  for (const RecordedPolyline& line : canvas.m_aPolylines) {
    n += line.aPoints.size() == 2 && line.aPoints[0].y == y && line.aPoints[1].y == y &&
         line.aPoints[0].x == x0 && line.aPoints[1].x == x1 && line.crPen == cr &&
         line.nWidth == nWidth;
  }
  return n;
}

}  // namespace

TEST_F(DetailedHistogramTest, UnitsFallBackAndTheMaximumCarriesOver) {
  // 512 x 400: value 7 on 5,000 pixels, the rest spread thinly.
  MakeScene(512, 400, 1, Sensor::Mss, [](int x, int y, int) {
    const int i = y * 512 + x;
    return i < 5000 ? 7 : 8 + i % 200;
  });
  CRecordingCanvas& canvas = m_platform.m_canvas;
  ASSERT_TRUE(DispatchCommand(ID_COARSE_DETAILED_HISTOGRAM));
  EXPECT_EQ(g_nDisplayMode, DisplayMode::DetailedHistogram);
  // Double type: unit 50, so the 5,000 bin reaches line 0 of the upper half.
  const RecordedPolyline* pUpper = CurveOf(canvas, g_acrHistLineColour[1], 100);
  ASSERT_NE(pUpper, nullptr);
  EXPECT_EQ(pUpper->aPoints[7].x, 14);
  EXPECT_EQ(pUpper->aPoints[7].y, 0);
  EXPECT_EQ(pUpper->aPoints[8].y, 100 - 999 / 50);
  EXPECT_EQ(canvas.TextOrNone(514, 0), "100％(5000)");
  EXPECT_EQ(canvas.TextOrNone(514, 100), "100％(5000)");
  // The coarse band's area curve in the lower half.
  ASSERT_NE(CurveOf(canvas, g_acrHistLineColour[1], 200), nullptr);

  // A small scene: the largest bin is 150, in the all type 150 / 200 = 0 falls back to 200 and
  // every curve lies on its baseline. M still holds the previous drawing's K (5,000).
  MakeScene(30, 30, 1, Sensor::Mss, [](int x, int y, int) {
    const int i = y * 30 + x;
    return i < 150 ? 3 : 10 + i % 10;
  });
  canvas.Clear();
  ASSERT_TRUE(DispatchCommand(ID_HIST_ALL));
  EXPECT_EQ(canvas.TextOrNone(514, 0), "100％(2500)");  // 5,000 / 200 = 25
  // Now K is the small scene's 150: the next drawing falls back to 200.
  canvas.Clear();
  ASSERT_TRUE(DispatchCommand(ID_HIST_ALL));
  EXPECT_EQ(canvas.TextOrNone(514, 0), "100％(20000)");
  const RecordedPolyline* pAll = CurveOf(canvas, g_acrHistLineColour[1], 200);
  ASSERT_NE(pAll, nullptr);
  EXPECT_TRUE(std::all_of(pAll->aPoints.begin(), pAll->aPoints.end(),
                          [](Point p) { return p.y == 200; }));
  // The area type: only the area curve, with K's unit.
  canvas.Clear();
  ASSERT_TRUE(DispatchCommand(ID_HIST_AREA));
  EXPECT_TRUE(IsCommandChecked(ID_HIST_AREA));
  EXPECT_FALSE(IsCommandChecked(ID_HIST_ALL));
  EXPECT_EQ(canvas.TextOrNone(514, 100), "<none>");
}

TEST_F(DetailedHistogramTest, CursorClicksAndReadout) {
  MakeScene(512, 400, 3, Sensor::TmFloppy, [](int x, int, int b) { return (x + b) % 256; });
  ASSERT_TRUE(DispatchCommand(ID_COMPOSITE_DETAILED_HISTOGRAM));
  OnViewLButtonDown(300, 40, false);
  EXPECT_EQ(g_nHistCursor, 150);
  PaintView();
  // Every band has 800 pixels at every value.
  EXPECT_EQ(m_platform.m_strPane0, "CCT COUNT= 150   Band(1,2,3)=( 800, 800, 800 )");
  const RecordedPolyline& cursor = m_platform.m_canvas.m_aPolylines.back();
  EXPECT_EQ(cursor.aPoints[0].x, 300);
  EXPECT_EQ(cursor.aPoints[1].y, 200);
  OnViewLButtonDown(600, 40, false);  // beyond the chart: nothing
  EXPECT_EQ(g_nHistCursor, 150);
  OnViewArrowKey(ArrowKey::Left);
  EXPECT_EQ(m_platform.m_strPane0, "CCT COUNT= 149   Band(1,2,3)=( 800, 800, 800 )")
      << "the readout follows the keys beyond the picture's columns too";

  MakeScene(512, 400, 1, Sensor::Mss, [](int x, int, int) { return x % 256; });
  ASSERT_TRUE(DispatchCommand(ID_COARSE_DETAILED_HISTOGRAM));
  EXPECT_EQ(m_platform.m_strPane0, "CCT COUNT= 10   Band(1)=( 800 )");
  MakeScene(256, 10, 8, Sensor::TmCeos, [](int x, int, int b) { return b == 8 ? 0 : x; });
  ASSERT_TRUE(DispatchCommand(ID_COARSE_DETAILED_HISTOGRAM));
  EXPECT_EQ(m_platform.m_strPane0,
            "CCT COUNT= 10   Band(1,2,3,4,5,6,7,8)=( 10, 10, 10, 10, 10, 10, 10, 0 )");
}

TEST_F(DetailedHistogramTest, StripsShowHowEachPictureColoursTheValues) {
  MakeScene(512, 400, 4, Sensor::TmFloppy, [](int x, int y, int b) { return (x + y * b) % 200; });
  CRecordingCanvas& canvas = m_platform.m_canvas;

  // Composite: band 2 both red and green, band 4 blue, bands 1 and 3 none of them.
  OnCompositeHistogram();
  g_nRedBand = 2;
  g_nGreenBand = 2;
  g_nBlueBand = 4;
  OnCompositeHistogram();
  canvas.Clear();
  ASSERT_TRUE(DispatchCommand(ID_COMPOSITE_DETAILED_HISTOGRAM));
  EXPECT_EQ(StripPixels(canvas, 0), 0);
  EXPECT_EQ(StripPixels(canvas, 2), 0);
  EXPECT_EQ(canvas.GetPixel(201, 269), Rgb(g_abRedLut[100], g_abGreenLut[100], 0));
  EXPECT_EQ(canvas.GetPixel(200, 314), Rgb(0, 0, g_abBlueLut[100]));
  EXPECT_EQ(canvas.TextOrNone(514, 305), "Band4");
  // Area curves for the composite's bands only.
  EXPECT_NE(CurveOf(canvas, g_acrHistLineColour[2], 200), nullptr);
  EXPECT_EQ(CurveOf(canvas, g_acrHistLineColour[1], 200), nullptr);

  // Coarse: strip i shows rank i+1's colour where the value falls in it.
  OnCoarseHistogram();
  canvas.Clear();
  ASSERT_TRUE(DispatchCommand(ID_COARSE_DETAILED_HISTOGRAM));
  for (int x = 0; x < 512; x += 37) {
    const int k = g_abCoarseRankOfValue[x / 2];
    for (int i = 0; i < 8; ++i) {
      const bool bSet = canvas.HasPixel(x, 251 + 20 * i);
      EXPECT_EQ(bSet, i + 1 == k) << x << " " << i;
      if (bSet) {
        EXPECT_EQ(canvas.GetPixel(x, 251 + 20 * i), g_acrRankColour[k][g_nCoarseBand]);
      }
    }
  }
  EXPECT_EQ(canvas.TextOrNone(514, 225), "Band1");
  EXPECT_EQ(canvas.TextOrNone(514, 385), "Rank8");

  // Fine: the ramp and its three components in strips 0..3, strips 4..7 empty.
  OnFineHistogram();
  canvas.Clear();
  ASSERT_TRUE(DispatchCommand(ID_FINE_DETAILED_HISTOGRAM));
  EXPECT_EQ(canvas.GetPixel(61, 250), Rgb(g_anFineRed[30], g_anFineGreen[30], g_anFineBlue[30]));
  EXPECT_EQ(canvas.GetPixel(60, 270), Rgb(g_anFineRed[30], 0, 0));
  EXPECT_EQ(canvas.GetPixel(60, 290), Rgb(0, g_anFineGreen[30], 0));
  EXPECT_EQ(canvas.GetPixel(60, 310), Rgb(0, 0, g_anFineBlue[30]));
  for (int i = 4; i < 8; ++i) EXPECT_EQ(StripPixels(canvas, i), 0);
  EXPECT_EQ(canvas.TextOrNone(531, 245), "合成色");

  // Category: six lines per band present over the target's range, in the band's pen.
  g_nCategory = 3;
  g_astrCategoryName[3] = "水田";
  g_anCatLower[2][3] = 40;
  g_anCatUpper[2][3] = 90;
  g_anHistLineWidth[2] = 3;
  g_nHistKind = 3;
  canvas.Clear();
  DrawDetailedHistogram();
  for (int y = 269; y <= 274; ++y) {
    EXPECT_EQ(LinesAt(canvas, y, 80, 180, g_acrHistLineColour[2], 3), 1) << y;
  }
  EXPECT_EQ(LinesAt(canvas, 309, 2 * g_anCatLower[4][3], 2 * g_anCatUpper[4][3],
                    g_acrHistLineColour[4], 1), 1);
  EXPECT_EQ(LinesAt(canvas, 329, 0, 0, g_acrHistLineColour[5], 1), 0);  // band 5 absent
  EXPECT_EQ(canvas.TextOrNone(514, 225), "Category3:");
  EXPECT_EQ(canvas.TextOrNone(611, 225), "水田");

  // Classification: one line per band in every category's strip.
  g_anCatLower[4][6] = 5;
  g_anCatUpper[4][6] = 9;
  g_nHistKind = 4;
  canvas.Clear();
  DrawDetailedHistogram();
  EXPECT_EQ(LinesAt(canvas, 248 + 20 * 5 + 3, 10, 18, g_acrHistLineColour[4], 1), 1);
  EXPECT_EQ(canvas.TextOrNone(514, 225), "分類画像");
  EXPECT_EQ(canvas.TextOrNone(514, 245 + 20 * 7), "Category8");
}

TEST_F(DetailedHistogramTest, SettingsCommandsEndInTheChartOnOkAndCancel) {
  MakeScene(512, 400, 3, Sensor::TmFloppy, [](int x, int, int b) { return (x * b) % 256; });
  OnCoarseHistogram();
  ASSERT_EQ(g_nDisplayMode, DisplayMode::Coarse);
  // Width of band 2 while the coarse picture is shown: dialog IDD_LINE_WIDTH opens with 1, OK takes 3, and
  // the view shows the detailed histogram of the kind last chosen (composite at start).
  m_platform.m_qDialogAnswers.push_back({3});
  ASSERT_TRUE(DispatchCommand(ID_HIST_LINE_WIDTH2));
  ASSERT_EQ(m_platform.m_aDialogStarts.size(), 1u);
  EXPECT_EQ(m_platform.m_aDialogStarts[0], std::vector<int>{1});
  EXPECT_EQ(g_anHistLineWidth[2], 3);
  EXPECT_EQ(g_nDisplayMode, DisplayMode::DetailedHistogram);
  EXPECT_EQ(g_nHistKind, 0);
  ASSERT_NE(CurveOf(m_platform.m_canvas, g_acrHistLineColour[2], 100), nullptr);
  EXPECT_EQ(CurveOf(m_platform.m_canvas, g_acrHistLineColour[2], 100)->nWidth, 3);

  // Cancelled colour picker: colour kept, chart drawn all the same.
  OnCoarseHistogram();
  const Colorref crOld = g_acrHistLineColour[3];
  ASSERT_TRUE(DispatchCommand(ID_HIST_LINE_COLOUR3));
  EXPECT_EQ(g_acrHistLineColour[3], crOld);
  EXPECT_EQ(g_nDisplayMode, DisplayMode::DetailedHistogram);
  m_platform.m_qColours.push_back(Rgb(1, 2, 3));
  ASSERT_TRUE(DispatchCommand(ID_HIST_LINE_COLOUR3));
  EXPECT_EQ(g_acrHistLineColour[3], Rgb(1, 2, 3));
  // Bands that are not loaded have no colour or width to set.
  EXPECT_FALSE(IsCommandEnabled(ID_HIST_LINE_COLOUR4));
  EXPECT_FALSE(IsCommandEnabled(ID_HIST_LINE_WIDTH4));

  // Showing a picture again clears the whole window first.
  m_platform.m_canvas.Clear();
  OnCoarseHistogram();
  ASSERT_FALSE(m_platform.m_canvas.m_aRects.empty());
  const RecordedRect& clear = m_platform.m_canvas.m_aRects[0];
  EXPECT_EQ(clear.left + clear.top, 0);
  EXPECT_EQ(clear.right, 1023);
  EXPECT_EQ(g_nDisplayMode, DisplayMode::Coarse);
}

TEST_F(DetailedHistogramTest, EveryKindTheMenusChooseIsRegisteredAndAnUnknownOneDrawsNoStrips) {
  int nKindRows = 0;
  for (const CommandEntry& cmd : CommandTable()) {
    if (cmd.szCliOption == nullptr || std::string(cmd.szCliOption) != "--hist-kind") continue;
    ++nKindRows;
    EXPECT_NE(FindHistogramKind(static_cast<HistogramKind>(cmd.nArg)), nullptr) << cmd.szCliValue;
  }
  EXPECT_EQ(nKindRows, 5);

  MakeScene(512, 400, 3, Sensor::TmFloppy, [](int x, int, int b) { return (x * b) % 200; });
  OnCompositeHistogram();
  OnCoarseHistogram();
  g_nHistKind = 7;
  ASSERT_EQ(FindHistogramKind(static_cast<HistogramKind>(7)), nullptr);
  EXPECT_EQ(ComputeHistogramScales(0).nK, 0u);
  CRecordingCanvas& canvas = m_platform.m_canvas;
  canvas.Clear();
  DrawDetailedHistogram();
  for (int i = 0; i < 8; ++i) EXPECT_EQ(StripPixels(canvas, i), 0) << i;
  EXPECT_EQ(canvas.TextOrNone(514, 225), "<none>");
  EXPECT_EQ(canvas.TextOrNone(514, 245), "<none>");
  for (int b = 1; b <= 3; ++b) {
    EXPECT_NE(CurveOf(canvas, g_acrHistLineColour[b], 100), nullptr) << b;
    EXPECT_EQ(CurveOf(canvas, g_acrHistLineColour[b], 200), nullptr) << b;
  }
  EXPECT_EQ(canvas.TextOrNone(511 + 140, 10), "Band1");  // the legend stays
  g_nHistKind = 0;
}

TEST(DetailedHistogramDeathTest, AKindIsRegisteredOnce) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_DEATH(RegisterHistogramKind({.eKind = HistogramKind::Coarse}),
               "histogram kind 1 is registered twice");
}
