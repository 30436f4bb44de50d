#include <string>

#include "core/view.h"
#include "histograms/coarse_panel.h"
#include "histograms/fine_panel.h"
#include "products/coarse.h"
#include "products/fine.h"
#include "support/recording_platform.h"

using CoarseFinePanelTest = LogicTest;

namespace {

// 512 x 400 (W = 511): band 1 is x % 256, so every value has 800 pixels.
void MakeWideScene() {
  MakeScene(512, 400, 1, kSensorMss, [](int x, int, int) { return x % 256; });
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

}  // namespace

TEST_F(CoarseFinePanelTest, CoarsePanelGeometryAndRepaint) {
  MakeWideScene();
  g_anRankColourOn[3][1] = 0;
  OnCoarseHistogram();
  CRecordingCanvas& canvas = m_platform.m_canvas;

  // Strip cleared, then the frame spanning columns 513..771.
  ASSERT_GE(canvas.m_aRects.size(), 2u);
  EXPECT_EQ(canvas.m_aRects[0].left, 513);
  EXPECT_EQ(canvas.m_aRects[1].left, 513);
  EXPECT_EQ(canvas.m_aRects[1].right, 771);
  ASSERT_EQ(canvas.m_aPolylines.size(), 1u);
  EXPECT_EQ(canvas.m_aPolylines[0].aPoints[0].y, 100 - 800 / 8);

  // The colour bar: 256 columns of rank colours, rows 103..110.
  EXPECT_EQ(canvas.GetPixel(514 + 31, 110), Rgb(170, 170, 0));
  EXPECT_EQ(canvas.GetPixel(769, 105), Rgb(255, 255, 85));
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

  // Shares of a tiny window: 25 / 100 would divide by 0, so a hundredth of one is used.
  MakeScene(5, 5, 1, kSensorMss, [](int x, int, int) { return x * 40; });
  canvas.Clear();
  OnCoarseHistogram();
  EXPECT_EQ(TextAt(canvas, 64, 160), "5   ");
  EXPECT_EQ(TextAt(canvas, 64, 280), "0   ");
}

TEST_F(CoarseFinePanelTest, FinePanelGeometryAndRepaint) {
  MakeWideScene();
  g_anFineSpanOn[2][1] = 0;
  OnFineHistogram();
  CRecordingCanvas& canvas = m_platform.m_canvas;

  EXPECT_EQ(canvas.GetPixel(514, 103), Rgb(0, 0, 255));
  EXPECT_EQ(canvas.GetPixel(769, 110), Rgb(255, 4, 7));
  for (int k = 1; k <= 9; ++k) {
    const int y = 130 + 30 * (k - 1);
    if (k <= 8) EXPECT_EQ(IconsAt(canvas, 514, y + 15, kIconPanelCheck), k == 2 ? 0 : 1) << k;
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
}
