#include <vector>

#include "core/commands.h"
#include "resources/resource.h"
#include "core/view.h"
#include "products/composite.h"
#include "products/fine.h"
#include "products/messages.h"
#include "products/product_scene.h"
#include "support/recording_platform.h"

using FineTest = LogicTest;

namespace {

Colorref Ramp(int v) { return Rgb(g_anFineRed[v], g_anFineGreen[v], g_anFineBlue[v]); }

std::vector<int> Points(int b) {
  std::vector<int> an;
  for (int k = 1; k <= 9; ++k) an.push_back(g_anFinePoint[k][b]);
  return an;
}

std::vector<int> TypePoints(int nBand, std::vector<int> an) {
  ApplySlicedValues(kFinePicture, nBand, an.data());
  return Points(nBand);
}

}  // namespace

TEST_F(FineTest, RampUsesTruncatedSlopesBetweenThePointColours) {
  MakeRampScene(2);
  ASSERT_TRUE(DispatchCommand(ID_FINE_HISTOGRAM));
  EXPECT_EQ(g_nDisplayMode, DisplayMode::Fine);
  EXPECT_EQ(Ramp(0), Rgb(0, 0, 255));
  // Green 0 -> 255 over 31 values: slope 822, so 30 gets 246 and 31 starts at P2's colour.
  EXPECT_EQ(g_anFineGreen[30], 246);
  EXPECT_EQ(Ramp(31), Rgb(0, 255, 255));
  // P3 (128, 0, 128) -> P4 (255, 255, 0) over 32 values: slopes 396, 796, -400.
  EXPECT_EQ(Ramp(70), Rgb(128 + 396 * 7 / 100, 796 * 7 / 100, 128 - 28));
  // Interval 8 runs to P9 itself and misses P9's colour by the truncation.
  EXPECT_EQ(Ramp(255), Rgb(255, 4, 7));
  EXPECT_EQ(g_anFineHist[9], 2u);

  // Same-coloured neighbours give a constant interval; 10 -> 0 over 32 is slope -31, not -32.
  g_acrPointColour[4][1] = g_acrPointColour[5][1] = Rgb(10, 20, 30);
  g_acrPointColour[6][1] = Rgb(0, 0, 0);
  OnFineHistogram();
  for (int v = 95; v <= 127; ++v) EXPECT_EQ(Ramp(v), Rgb(10, 20, 30));
  EXPECT_EQ(g_anFineRed[131], 9);
  EXPECT_EQ(g_anFineRed[158], 10 - 31 * 31 / 100);
}

TEST_F(FineTest, PointsAreCappedOrderedAndClippedToTheTables) {
  MakeRampScene(1);
  EXPECT_EQ(TypePoints(1, {0, 200, 100, 95, 127, 159, 191, 223, 255}),
            (std::vector<int>{0, 200, 201, 202, 203, 204, 205, 223, 255}));
  EXPECT_EQ(TypePoints(1, {0, 300, 300, 300, 300, 300, 300, 300, 255}),
            (std::vector<int>{0, 248, 249, 250, 251, 252, 253, 254, 255}));
  // Values below P1 keep what the last prepare step gave them.
  TypePoints(1, {0, 31, 63, 95, 127, 159, 191, 223, 255});
  g_acrPointColour[1][1] = Rgb(200, 200, 200);
  TypePoints(1, {10, 31, 63, 95, 127, 159, 191, 223, 255});
  EXPECT_EQ(g_anFineGreen[5], 822 * 5 / 100);
  EXPECT_EQ(Ramp(10), Rgb(200, 200, 200));

  // A work file may put P1 below 0 and P9 above 255; P2 typed below 0.
  g_anFinePoint[1][2] = -100;
  g_anFinePoint[9][2] = 400;
  const std::vector<int> anWide{-100, -50, 63, 95, 127, 159, 191, 223, 400};
  EXPECT_EQ(TypePoints(2, anWide), anWide);
  // Interval 2 from -50 (cyan) to 63 (purple): value 0 lies 50 values in.
  EXPECT_EQ(g_anFineRed[0], 128 * 100 / 113 * 50 / 100);
  // Interval 8 towards 400: value 255 is 32 values past 223.
  EXPECT_EQ(g_anFineGreen[255], 128 + (3 - 128) * 100 / 177 * 32 / 100);
  ToggleSlicedPart(kFinePicture, 2);
  ToggleSlicedPart(kFinePicture, 8);
  for (int v = 0; v < 256; ++v) {
    ASSERT_EQ(g_abFineValueOn[v][2], v >= 63 && v < 223) << v;
    ASSERT_EQ(g_abFineValueOn[v][1], 1) << v;  // other bands untouched
  }
  // P9 below P8 (only a work file can do that): interval 8 is skipped and keeps its entries.
  g_acrPointColour[9][2] = Rgb(0, 0, 0);
  g_anFinePoint[9][2] = 100;
  OnFineHistogram();
  EXPECT_EQ(g_anFineGreen[255], 106);
}

TEST_F(FineTest, IntervalTogglesWriteValueFlagsAtTheMomentOfTheToggle) {
  MakeRampScene(1);
  ASSERT_TRUE(DispatchCommand(kanSpanToggleIds[1]));
  EXPECT_FALSE(IsCommandChecked(kanSpanToggleIds[1]));
  for (int v = 30; v <= 63; ++v) EXPECT_EQ(g_abFineValueOn[v][1], v == 30 || v == 63) << v;
  // Moving P3 later leaves 63..79 as they were when the interval was switched off.
  TypePoints(1, {0, 31, 80, 95, 127, 159, 191, 223, 255});
  for (int v = 63; v <= 79; ++v) EXPECT_EQ(g_abFineValueOn[v][1], 1);
  ASSERT_TRUE(DispatchCommand(kanSpanToggleIds[7]));  // interval 8 includes P9
  EXPECT_EQ(g_abFineValueOn[255][1], 0);
  EXPECT_EQ(g_abFineValueOn[222][1], 1);

  ASSERT_TRUE(DispatchCommand(ID_SPANS_INVERT));
  for (int v = 31; v <= 79; ++v) EXPECT_EQ(g_abFineValueOn[v][1], 1);
  EXPECT_EQ(g_abFineValueOn[0][1], 0);
  ASSERT_TRUE(DispatchCommand(ID_SPANS_OFF));
  for (int v = 0; v < 256; ++v) EXPECT_EQ(g_abFineValueOn[v][1], 0);
  EXPECT_EQ(g_abFineValueOn[40][2], 1);

  MakeRampScene(1, 2);
  EXPECT_FALSE(DispatchCommand(kanSpanToggleIds[0]));
}

TEST_F(FineTest, DisplayPaintsTheRampAndTheCompositeWhereOff) {
  MakeRampScene(3);
  ToggleSlicedPart(kFinePicture, 1);
  OnFineView();
  EXPECT_EQ(OffscreenPixel(10, 1), ScreenPixel(0, 0, 0));  // composite tables still 0
  EXPECT_EQ(OffscreenPixel(31, 1), ScreenPixel(Rgb(0, 255, 255)));
  EXPECT_EQ(OffscreenPixel(255, 2), ScreenPixel(Rgb(255, 4, 7)));
  EXPECT_EQ(m_platform.m_nRepaints, 1);

  OnCompositeView();
  const std::vector<std::uint32_t> anComposite = OffscreenImage();
  ASSERT_TRUE(DispatchCommand(ID_SPANS_OFF));
  ASSERT_TRUE(DispatchCommand(ID_FINE_VIEW));
  EXPECT_EQ(OffscreenImage(), anComposite);
  ASSERT_TRUE(DispatchCommand(ID_SPANS_ON));  // the picture waits for the next display
  EXPECT_EQ(OffscreenImage(), anComposite);
  ASSERT_TRUE(DispatchCommand(ID_FINE_SMOOTH_VIEW));
  EXPECT_EQ(m_platform.m_canvas.GetPixel(255, 2), Rgb(255, 4, 7));
}

TEST_F(FineTest, PointLibrariesPinTheEndsAndSplitTheHistogramBetween) {
  // The split itself is shared with the rank libraries and tested there.
  MakeRampScene(7);
  g_anFinePoint[1][1] = 5;
  g_anFinePoint[9][1] = 200;
  ASSERT_TRUE(DispatchCommand(kanPointLibraryIds[3]));
  EXPECT_EQ(Points(1), (std::vector<int>{0, 20, 21, 41, 62, 84, 105, 126, 255}));
}

TEST_F(FineTest, ValueDialogKeepsPointsOfAMissingBandAndWarns) {
  MakeRampScene(1);
  TypePoints(4, {0, 10, 20, 30, 40, 50, 60, 70, 255});
  EXPECT_EQ(g_nFineBand, 3);
  EXPECT_EQ(g_anFinePoint[5][4], 40);
  EXPECT_EQ(m_platform.m_aMessages,
            (std::vector<RecordedMessage>{{kszMsgNoBand, kszCapZoruzodAzod}}));
}

// Every pixel of a band other than the first: its value's ramp colour, or with an interval
// switched off the composite colour there.
TEST_F(FineTest, EveryPixelShowsTheRampColourOfItsOwnBandsValue) {
  MakeRampScene(5);
  OnCompositeView();
  const std::vector<std::uint32_t> anComposite = OffscreenImage();
  SelectSlicedBand(kFinePicture, 2);
  for (bool bOff : {false, true}) {
    if (bOff) ToggleSlicedPart(kFinePicture, 4);
    OnFineView();
    int nWrong = 0;
    for (int y = 0; y <= g_nMaxY; ++y) {
      for (int x = 0; x <= g_nMaxX; ++x) {
        const int v = g_aPixel[x][y].abBand[1];
        const std::uint32_t nExpected =
            g_abFineValueOn[v][2] ? ScreenPixel(g_anFineRed[v], g_anFineGreen[v], g_anFineBlue[v])
                                  : anComposite[static_cast<std::size_t>(y) * 256 + x];
        nWrong += OffscreenPixel(x, y) != nExpected;
      }
    }
    EXPECT_EQ(nWrong, 0) << (bOff ? "interval 4 off" : "every interval on");
  }
}
