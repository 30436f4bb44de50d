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

std::string TextAt(const CRecordingCanvas& canvas, int x, int y, int nHeight) {
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

TEST_F(CoarseFinePanelTest, CoarsePanelGeometry) {
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
  EXPECT_EQ(canvas.m_aPolylines[0].crPen, Rgb(255, 0, 0));
  EXPECT_EQ(canvas.m_aPolylines[0].aPoints[0].y, 100 - 800 / 8);

  // The colour bar: 256 columns of rank colours, rows 103..110.
  EXPECT_EQ(canvas.GetPixel(514, 103), Rgb(170, 0, 170));
  EXPECT_EQ(canvas.GetPixel(514 + 31, 110), Rgb(170, 170, 0));
  EXPECT_EQ(canvas.GetPixel(769, 105), Rgb(255, 255, 85));
  EXPECT_FALSE(canvas.HasPixel(770, 105));
  EXPECT_FALSE(canvas.HasPixel(514, 111));

  EXPECT_EQ(TextAt(canvas, 514, 130, 15), "Band1  ");
  for (int k = 1; k <= 8; ++k) {
    const int y = 160 + 30 * (k - 1);
    EXPECT_EQ(TextAt(canvas, 531, y, 15), std::to_string(k));
    EXPECT_EQ(IconsAt(canvas, 514, y, kIconPanelCheck), k == 3 ? 0 : 1) << k;
    EXPECT_EQ(IconsAt(canvas, 735, y, kIconPanelBlueArrow), k <= 7 ? 1 : 0) << k;
    EXPECT_EQ(canvas.GetPixel(542, y + 2), g_acrRankColour[k][1]);
    EXPECT_EQ(canvas.GetPixel(566, y + 15), g_acrRankColour[k][1]);
    EXPECT_FALSE(canvas.HasPixel(567, y + 2));
    EXPECT_FALSE(canvas.HasPixel(542, y + 16));
  }
  // Rank 1: 31 values x 800 = 24800 pixels of 204800; a hundredth is 2048.
  EXPECT_EQ(TextAt(canvas, 571, 160, 15), "12   ");
  EXPECT_EQ(TextAt(canvas, 601, 160, 15), "24800     ");
  EXPECT_EQ(TextAt(canvas, 661, 160, 15), "0  ");
  EXPECT_EQ(TextAt(canvas, 689, 160, 15), "～ 30");
  // Rank 2 starts from rank 1's upper value as it is, not one above.
  EXPECT_EQ(TextAt(canvas, 661, 190, 15), "30  ");
  EXPECT_EQ(TextAt(canvas, 689, 190, 15), "～ 60");
  EXPECT_EQ(TextAt(canvas, 661, 370, 15), "210  ");
  EXPECT_EQ(TextAt(canvas, 689, 370, 15), "～ 255");

  // The paint draws the same panel again.
  m_platform.m_canvas.Clear();
  PaintView();
  EXPECT_EQ(m_platform.m_canvas.m_nImageCopies, 1);
  EXPECT_EQ(TextAt(m_platform.m_canvas, 689, 190, 15), "～ 60");
}

TEST_F(CoarseFinePanelTest, CoarseSharesOfATinyWindowUseAHundredthOfOne) {
  MakeScene(5, 5, 1, kSensorMss, [](int x, int, int) { return x * 40; });
  OnCoarseHistogram();
  // Values 0 and 40 go to ranks 1 and 2 with 5 pixels each; 25 / 100 would divide by 0.
  EXPECT_EQ(TextAt(m_platform.m_canvas, 64, 160, 15), "5   ");
  EXPECT_EQ(TextAt(m_platform.m_canvas, 64, 190, 15), "5   ");
  EXPECT_EQ(TextAt(m_platform.m_canvas, 64, 280, 15), "0   ");
}

TEST_F(CoarseFinePanelTest, FinePanelGeometry) {
  MakeWideScene();
  g_anFineSpanOn[2][1] = 0;
  OnFineHistogram();
  CRecordingCanvas& canvas = m_platform.m_canvas;

  EXPECT_EQ(TextAt(canvas, 514, 115, 15), "Band1");
  EXPECT_EQ(canvas.GetPixel(514, 103), Rgb(0, 0, 255));
  EXPECT_EQ(canvas.GetPixel(769, 110), Rgb(255, 4, 7));
  for (int k = 1; k <= 8; ++k) {
    EXPECT_EQ(IconsAt(canvas, 514, 145 + 30 * (k - 1), kIconPanelCheck), k == 2 ? 0 : 1) << k;
  }
  for (int k = 1; k <= 9; ++k) {
    const int y = 130 + 30 * (k - 1);
    EXPECT_EQ(TextAt(canvas, 531, y, 15), std::to_string(k));
    EXPECT_EQ(IconsAt(canvas, 735, y, kIconPanelArrow), k >= 2 && k <= 8 ? 1 : 0) << k;
    EXPECT_EQ(TextAt(canvas, 701, y, 15), std::to_string(g_anFinePoint[k][1]) + "  ");
  }
  // Point 9 shows the ramp at 255, (255, 4, 7), in the swatch, the component swatches and values.
  const int y9 = 130 + 240;
  EXPECT_EQ(canvas.GetPixel(542, y9 + 2), Rgb(255, 4, 7));
  EXPECT_EQ(canvas.GetPixel(581, y9 + 15), Rgb(255, 0, 0));
  EXPECT_EQ(canvas.GetPixel(621, y9 + 2), Rgb(0, 4, 0));
  EXPECT_EQ(canvas.GetPixel(670, y9 + 2), Rgb(0, 0, 7));
  EXPECT_FALSE(canvas.HasPixel(671, y9 + 2));
  EXPECT_EQ(TextAt(canvas, 593, y9, 12), "255  ");
  EXPECT_EQ(TextAt(canvas, 633, y9, 12), "4  ");
  EXPECT_EQ(TextAt(canvas, 673, y9, 12), "7  ");
  EXPECT_EQ(TextAt(canvas, 633, 130 + 30, 12), "255  ");  // point 2 is cyan

  m_platform.m_canvas.Clear();
  PaintView();
  EXPECT_EQ(TextAt(m_platform.m_canvas, 673, y9, 12), "7  ");
}
