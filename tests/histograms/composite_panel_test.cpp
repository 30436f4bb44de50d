#include <array>

#include "core/view.h"
#include "histograms/composite_panel.h"
#include "products/composite.h"
#include "support/recording_platform.h"

using CompositePanelTest = LogicTest;

namespace {

bool IsMarker(const RecordedPolyline& line, int x, int top) {
  return line.aPoints.size() == 2 && line.crPen == Rgb(0, 0, 0) && line.aPoints[0].x == x &&
         line.aPoints[1].x == x && line.aPoints[0].y == top && line.aPoints[1].y == top + 102;
}

}  // namespace

TEST_F(CompositePanelTest, SubPanelsSitBesideA512ColumnPicture) {
  // 512 x 400: W = 511. Band 2 holds 0..199, each 1024 times: unit 10, height 102.
  MakeScene(512, 400, 3, kSensorTmFloppy, [](int, int y, int b) { return b == 2 ? y / 2 : 77; });
  g_nRedBand = 1; g_nRedLower = 20; g_nRedUpper = 200;
  g_nGreenBand = 2; g_nGreenLower = 0; g_nGreenUpper = 255;
  g_nBlueBand = 3; g_nBlueLower = 10; g_nBlueUpper = 20;
  OnCompositeHistogram();

  const CRecordingCanvas& canvas = m_platform.m_canvas;
  // The strip is cleared first, then one frame per colour over columns 513..771.
  ASSERT_EQ(canvas.m_aRects.size(), 4u);
  EXPECT_EQ(canvas.m_aRects[0].right, 1023);
  ASSERT_EQ(canvas.m_aIcons.size(), 6u);
  for (int i = 0; i < 3; ++i) {
    const RecordedRect& frame = canvas.m_aRects[i + 1];
    const int nTop = 133 * i;
    EXPECT_EQ((std::array<int, 4>{frame.left, frame.right, frame.top, frame.bottom}),
              (std::array<int, 4>{513, 771, nTop, nTop + 102}));
    EXPECT_EQ(canvas.m_aIcons[2 * i].x, 635);
    EXPECT_EQ(canvas.m_aIcons[2 * i + 1].x, 735);
    EXPECT_EQ(canvas.m_aIcons[2 * i + 1].y, nTop + 113);
  }

  // Per colour: two markers at the bounds, then the curve.
  ASSERT_EQ(canvas.m_aPolylines.size(), 9u);
  EXPECT_TRUE(IsMarker(canvas.m_aPolylines[0], 514 + 20, 0));
  EXPECT_TRUE(IsMarker(canvas.m_aPolylines[1], 514 + 200, 0));
  EXPECT_TRUE(IsMarker(canvas.m_aPolylines[6], 514 + 10, 266));
  EXPECT_EQ(canvas.m_aPolylines[8].crPen, Rgb(0, 0, 255));
  // Green: the full bins rise two lines above the frame; bins above 199 are empty.
  const RecordedPolyline& green = canvas.m_aPolylines[5];
  ASSERT_EQ(green.aPoints.size(), 257u);
  EXPECT_EQ(green.aPoints[199].y, 131);
  EXPECT_EQ(green.aPoints[200].y, 233);
  EXPECT_EQ(green.aPoints[256].x, 770);

  // Colour bars: each table in its own channel, rows t+103..t+110.
  EXPECT_EQ(canvas.m_mapPixels.at({514 + 100, 103}), Rgb(80, 0, 0));
  EXPECT_EQ(canvas.m_mapPixels.at({514 + 201, 133 + 110}), Rgb(0, 201, 0));
  EXPECT_EQ(canvas.m_mapPixels.at({514 + 15, 266 + 110}), Rgb(0, 0, 125));
  EXPECT_FALSE(canvas.HasPixel(514 + 100, 111));
  ASSERT_NE(canvas.TextAt(681, 379), nullptr);
  EXPECT_EQ(canvas.TextAt(681, 379)->strText, "～ 20");
}

TEST_F(CompositePanelTest, PaintRedrawsThePanelAndOverTheDetailedHistogramRepaints) {
  MakeScene(300, 200, 3, kSensorTmFloppy, [](int x, int, int) { return x % 256; });
  g_nDisplayMode = kModeDetailedHistogram;
  OnCompositeHistogram();
  CRecordingCanvas& canvas = m_platform.m_canvas;
  ASSERT_EQ(canvas.m_aRects.size(), 1u);
  EXPECT_EQ(canvas.m_aRects[0].left, 0);
  EXPECT_EQ(m_platform.m_nRepaints, 1);
  EXPECT_EQ(g_nDisplayMode, kModeComposite);

  canvas.Clear();
  PaintView();
  EXPECT_EQ(canvas.m_nImageCopies, 1);
  EXPECT_EQ(canvas.m_aIcons.size(), 6u);
  EXPECT_NE(canvas.TextAt(302, 113), nullptr);
}
