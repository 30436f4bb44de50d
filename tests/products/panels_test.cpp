#include <array>
#include <string>
#include <utility>
#include <vector>

#include "core/view.h"
#include "products/coarse.h"
#include "products/coarse_panel.h"
#include "products/composite.h"
#include "products/composite_panel.h"
#include "products/fine.h"
#include "products/fine_panel.h"
#include "products/product_scene.h"
#include "support/recording_platform.h"

using CoarseFinePanelTest = LogicTest;
using CompositePanelTest = LogicTest;

namespace {

// 512 x 400 (W = 511): band 1 is x % 256, so every value has 800 pixels.
void MakeWideScene() {
  MakeScene(512, 400, 1, Sensor::Mss, [](int x, int, int) { return x % 256; });
}

std::string TextAt(const CRecordingCanvas& canvas, int x, int y, int nHeight = 15) {
  const RecordedText* pText = canvas.TextAt(x, y);
  if (pText == nullptr) return "<none>";
  EXPECT_EQ(pText->nHeight, nHeight) << pText->strText;
  return pText->strText;
}

int IconsAt(const CRecordingCanvas& canvas, int x, int y, int nId) {
  int n = 0;
  for (const RecordedIcon& icon : canvas.m_aIcons) n += icon.x == x && icon.y == y && icon.nId == nId;
  return n;
}

bool IsMarker(const RecordedPolyline& line, int x, int top) {
  return line.aPoints.size() == 2 && line.crPen == Rgb(0, 0, 0) && line.aPoints[0].x == x &&
         line.aPoints[1].x == x && line.aPoints[0].y == top && line.aPoints[1].y == top + 102;
}

}  // namespace

TEST_F(CoarseFinePanelTest, CoarsePanelGeometryRepaintAndClicks) {
  MakeWideScene();
  g_anRankColourOn[3][1] = 0;
  OnCoarseHistogram();
  CRecordingCanvas& canvas = m_platform.m_canvas;

  // Strip cleared, then the frame spanning columns 513..771; full bins reach the top.
  ASSERT_GE(canvas.m_aRects.size(), 2u);
  EXPECT_EQ(canvas.m_aRects[0].left, 513);
  EXPECT_EQ(canvas.m_aRects[1].right, 771);
  ASSERT_EQ(canvas.m_aPolylines.size(), 1u);
  EXPECT_EQ(canvas.m_aPolylines[0].aPoints[0].y, 100 - 800 / 8);
  // The colour bar: 256 columns of rank colours, rows 103..110.
  EXPECT_EQ(canvas.GetPixel(514 + 31, 110), g_acrRankColour[2][1]);
  EXPECT_EQ(canvas.GetPixel(769, 103), g_acrRankColour[8][1]);
  EXPECT_FALSE(canvas.HasPixel(770, 105));
  EXPECT_FALSE(canvas.HasPixel(514, 111));
  for (int k = 1; k <= 8; ++k) {
    const int y = 160 + 30 * (k - 1);
    EXPECT_EQ(IconsAt(canvas, 514, y, kIconPanelCheck), k == 3 ? 0 : 1) << k;
    EXPECT_EQ(IconsAt(canvas, 735, y, kIconPanelBlueArrow), k <= 7 ? 1 : 0) << k;
    EXPECT_EQ(canvas.GetPixel(566, y + 15), g_acrRankColour[k][1]);
    EXPECT_FALSE(canvas.HasPixel(567, y + 2));
  }
  // Rank 1: 31 values x 800 = 24800 pixels of 204800; a hundredth is 2048.
  EXPECT_EQ(TextAt(canvas, 571, 160), "12   ");
  EXPECT_EQ(TextAt(canvas, 601, 160), "24800     ");
  // Rank 2 starts from rank 1's upper value as it is, not one above.
  EXPECT_EQ(TextAt(canvas, 661, 190), "30  ");
  EXPECT_EQ(TextAt(canvas, 689, 370), "～ 255");
  canvas.Clear();
  PaintView();
  EXPECT_EQ(canvas.m_nImageCopies, 1);
  EXPECT_EQ(TextAt(canvas, 689, 190), "～ 60");

  // Arrows nudge a bound (rank 1 down, rank 2 up) and leave the picture alone.
  const std::vector<std::uint32_t> anImage = OffscreenImage();
  OnCoarsePanelClick(735, 161, false);
  OnCoarsePanelClick(766, 176 + 30, false);
  OnCoarsePanelClick(767, 176 + 30, false);  // beside the button
  OnCoarsePanelClick(750, 177 + 30, false);  // below it
  EXPECT_EQ(std::pair(g_anRankUpper[1][1], g_anRankUpper[2][1]), std::pair(29, 61));
  EXPECT_EQ(OffscreenImage(), anImage);
  g_anRankUpper[1][1] = 1;
  g_anRankUpper[7][1] = 255;
  OnViewLButtonDown(740, 170, false);
  OnViewLButtonDown(760, 161 + 180, false);
  EXPECT_EQ(std::pair(g_anRankUpper[1][1], g_anRankUpper[7][1]), std::pair(1, 255));
  EXPECT_EQ(g_abCoarseRankOfValue[255], 7);
  // The swatch opens the picker at the rank's colour; a cancelled picker changes nothing.
  const Colorref crStart = g_acrRankColour[8][1];
  m_platform.m_qColours.push_back(Rgb(9, 9, 9));
  OnViewLButtonDown(542, 162 + 210, false);
  OnViewLButtonDown(542, 162 + 210, false);
  OnViewLButtonDown(567, 162, false);  // beside a swatch
  EXPECT_EQ(m_platform.m_aColourDialogStarts, (std::vector<Colorref>{crStart, Rgb(9, 9, 9)}));
  EXPECT_EQ(g_acrRankColour[8][1], Rgb(9, 9, 9));

  // Shares of a tiny window: 25 / 100 would divide by 0, so a hundredth of one is used.
  MakeScene(5, 5, 1, Sensor::Mss, [](int x, int, int) { return x * 40; });
  OnCoarseHistogram();
  EXPECT_EQ(TextAt(canvas, 64, 160), "5   ");
  EXPECT_EQ(TextAt(canvas, 64, 280), "0   ");
}

TEST_F(CoarseFinePanelTest, FinePanelGeometryRepaintAndClicks) {
  MakeWideScene();
  g_anFineSpanOn[2][1] = 0;
  OnFineHistogram();
  CRecordingCanvas& canvas = m_platform.m_canvas;

  EXPECT_EQ(canvas.GetPixel(514, 103), Rgb(0, 0, 255));
  EXPECT_EQ(canvas.GetPixel(769, 110), Rgb(255, 4, 7));
  for (int k = 1; k <= 9; ++k) {
    const int y = 130 + 30 * (k - 1);
    if (k <= 8) {
      EXPECT_EQ(IconsAt(canvas, 514, y + 15, kIconPanelCheck), k == 2 ? 0 : 1) << k;
    }
    EXPECT_EQ(IconsAt(canvas, 735, y, kIconPanelArrow), k >= 2 && k <= 8 ? 1 : 0) << k;
    EXPECT_EQ(TextAt(canvas, 701, y), std::to_string(g_anFinePoint[k][1]) + "  ");
  }
  // Point 9 shows the ramp at 255, (255, 4, 7), in the swatch, the component swatches and values.
  const int y9 = 130 + 240;
  EXPECT_EQ(canvas.GetPixel(542, y9 + 2), Rgb(255, 4, 7));
  EXPECT_EQ(canvas.GetPixel(621, y9 + 2), Rgb(0, 4, 0));
  EXPECT_EQ(canvas.GetPixel(670, y9 + 2), Rgb(0, 0, 7));
  EXPECT_FALSE(canvas.HasPixel(671, y9 + 2));
  EXPECT_EQ(TextAt(canvas, 633, y9, 12), "4  ");
  EXPECT_EQ(TextAt(canvas, 673, y9, 12), "7  ");

  canvas.Clear();
  PaintView();
  EXPECT_EQ(TextAt(canvas, 673, y9, 12), "7  ");

  // Points 2..8 have arrows (2 down, 8 up here), 1 and 9 none; 1 and 254 are the limits.
  OnViewLButtonDown(735, 161, false);
  OnViewLButtonDown(766, 176 + 180, false);
  OnViewLButtonDown(740, 131, false);
  OnViewLButtonDown(740, 161 + 210, false);
  const auto& P = g_anFinePoint;
  EXPECT_EQ((std::array{P[1][1], P[2][1], P[8][1], P[9][1]}), (std::array{0, 30, 224, 255}));
  g_anFinePoint[2][1] = 1;
  g_anFinePoint[8][1] = 254;
  OnViewLButtonDown(735, 170, false);
  OnViewLButtonDown(760, 350, false);
  EXPECT_EQ(std::pair(g_anFinePoint[2][1], g_anFinePoint[8][1]), std::pair(1, 254));
}

TEST_F(CompositePanelTest, SubPanelsSitBesideA512ColumnPictureAndAreRedrawn) {
  // 512 x 400: W = 511. Band 2 holds 0..199, each 1024 times: unit 10, height 102.
  MakeScene(512, 400, 3, Sensor::TmFloppy,
            [](int, int y, int b) { return b == 2 ? y / 2 : 77; });
  g_nRedBand = 1; g_nRedLower = 20; g_nRedUpper = 200;
  g_nGreenBand = 2; g_nGreenLower = 0; g_nGreenUpper = 255;
  g_nBlueBand = 3; g_nBlueLower = 10; g_nBlueUpper = 20;
  OnCompositeHistogram();

  CRecordingCanvas& canvas = m_platform.m_canvas;
  // The strip is cleared first, then one frame per colour over columns 513..771.
  ASSERT_EQ(canvas.m_aRects.size(), 4u);
  EXPECT_EQ(canvas.m_aRects[0].right, 1023);
  ASSERT_EQ(canvas.m_aIcons.size(), 6u);
  for (int i = 0; i < 3; ++i) {
    const RecordedRect& frame = canvas.m_aRects[i + 1];
    const int nTop = 133 * i;
    EXPECT_EQ((std::array{frame.left, frame.right, frame.top, frame.bottom}),
              (std::array{513, 771, nTop, nTop + 102}));
    EXPECT_EQ((std::array{canvas.m_aIcons[2 * i].x, canvas.m_aIcons[2 * i + 1].x,
                          canvas.m_aIcons[2 * i + 1].y}), (std::array{635, 735, nTop + 113}));
  }

  // Per colour: two markers at the bounds, then the curve.
  ASSERT_EQ(canvas.m_aPolylines.size(), 9u);
  EXPECT_TRUE(IsMarker(canvas.m_aPolylines[0], 514 + 20, 0));
  EXPECT_TRUE(IsMarker(canvas.m_aPolylines[1], 514 + 200, 0));
  EXPECT_TRUE(IsMarker(canvas.m_aPolylines[6], 514 + 10, 266));
  // Green: the full bins rise two lines above the frame; bins above 199 are empty.
  const RecordedPolyline& green = canvas.m_aPolylines[5];
  ASSERT_EQ(green.aPoints.size(), 257u);
  EXPECT_EQ(green.aPoints[199].y, 131);
  EXPECT_EQ(green.aPoints[200].y, 233);

  // Colour bars: each table in its own channel, rows t+103..t+110.
  EXPECT_EQ(canvas.m_mapPixels.at({514 + 100, 103}), Rgb(80, 0, 0));
  EXPECT_EQ(canvas.m_mapPixels.at({514 + 201, 133 + 110}), Rgb(0, 201, 0));
  EXPECT_EQ(canvas.m_mapPixels.at({514 + 15, 266 + 110}), Rgb(0, 0, 125));
  EXPECT_FALSE(canvas.HasPixel(514 + 100, 111));
  EXPECT_EQ(TextAt(canvas, 681, 379), "～ 20");

  canvas.Clear();
  PaintView();
  EXPECT_EQ(canvas.m_nImageCopies, 1);
  EXPECT_EQ(canvas.m_aIcons.size(), 6u);
  // Over the detailed histogram the whole window is cleared and repainted instead.
  canvas.Clear();
  g_nDisplayMode = DisplayMode::DetailedHistogram;
  OnCompositeHistogram();
  ASSERT_EQ(canvas.m_aRects.size(), 1u);
  EXPECT_EQ(canvas.m_aRects[0].left, 0);
  EXPECT_EQ(m_platform.m_nRepaints, 1);
  EXPECT_EQ(g_nDisplayMode, DisplayMode::Composite);
}
