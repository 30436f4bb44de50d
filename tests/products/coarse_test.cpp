#include <climits>
#include <vector>

#include "core/commands.h"
#include "resources/resource.h"
#include "core/view.h"
#include "products/coarse.h"
#include "products/composite.h"
#include "products/messages.h"
#include "products/product_scene.h"
#include "support/recording_platform.h"

using CoarseTest = LogicTest;

namespace {

void SetUppers(int b, std::initializer_list<int> an) {
  int k = 1;
  for (int n : an) g_anRankUpper[k++][b] = n;
}

std::vector<int> Uppers(int b) {
  std::vector<int> an;
  for (int k = 1; k <= 7; ++k) an.push_back(g_anRankUpper[k][b]);
  return an;
}

std::vector<int> Library(int n) {
  ApplyRankLibrary(n);
  return Uppers(1);
}

// Every value 0..255 has one rank 1..8, ranks follow the values and the counts add up to N.
void ExpectRanksPartitionValues() {
  std::uint32_t nTotal = 0;
  for (int k = 1; k <= 8; ++k) nTotal += g_anRankCount[k];
  EXPECT_EQ(nTotal, static_cast<std::uint32_t>(WindowWidth() * WindowHeight()));
  for (int v = 0; v < 256; ++v) {
    ASSERT_TRUE(g_abCoarseRankOfValue[v] >= 1 && g_abCoarseRankOfValue[v] <= 8) << v;
    if (v > 0) {
      ASSERT_GE(g_abCoarseRankOfValue[v], g_abCoarseRankOfValue[v - 1]) << v;
    }
  }
}

}  // namespace

TEST_F(CoarseTest, PrepareStepBuildsRanksAndCapsAndOrdersBounds) {
  MakeRampScene(4);
  ASSERT_TRUE(DispatchCommand(ID_COARSE_HISTOGRAM));
  EXPECT_EQ(g_nDisplayMode, DisplayMode::Coarse);
  EXPECT_EQ(g_abCoarseRankOfValue[30], 1);  // a rank runs up to its bound inclusive
  EXPECT_EQ(g_abCoarseRankOfValue[31], 2);
  EXPECT_EQ(g_anRankCount[8], 45u * 4);
  EXPECT_EQ(g_anCoarseHist[17], 4u);

  auto prepare = [](std::initializer_list<int> an) {
    SetUppers(1, an);
    OnCoarseHistogram();
    return Uppers(1);
  };
  const std::vector<int> anCapped{249, 250, 251, 252, 253, 254, 255};
  EXPECT_EQ(prepare({249, 249, 249, 249, 249, 249, 255}), anCapped);
  EXPECT_EQ(g_anRankCount[8], 0u);
  ExpectRanksPartitionValues();
  EXPECT_EQ(prepare({300, 60, 20, 90, 120, 150, 400}), anCapped);
  EXPECT_EQ(prepare({30, 60, 20, 90, 120, 150, 210}),
            (std::vector<int>{30, 60, 61, 90, 120, 150, 210}));
  EXPECT_EQ(g_anRankCount[3], 4u);
}

TEST_F(CoarseTest, HistogramLibrariesFollowTheCumulativeCounts) {
  // N = 1792, every value 7 pixels. Steps: 1 q = 224; 2 h = 896, s = 128; 3 q = 448, s = 149.
  MakeRampScene(7);
  EXPECT_EQ(Library(1), (std::vector<int>{31, 63, 95, 127, 159, 191, 223}));
  EXPECT_EQ(Library(2), (std::vector<int>{127, 145, 163, 181, 200, 218, 236}));
  EXPECT_EQ(Library(3), (std::vector<int>{63, 84, 105, 126, 148, 169, 190}));
  ASSERT_TRUE(DispatchCommand(kanRankLibraryIds[3]));  // s = 149; T1 = T2, then rank 2 one wide
  EXPECT_EQ(Uppers(1), (std::vector<int>{20, 21, 41, 62, 84, 105, 126}));
  EXPECT_EQ(g_anRankCount[2], 7u);
  EXPECT_EQ(g_anRankUpper[8][1], 255);

  // Half the window is 0 (cumulative 896 at once): bounds no value satisfies stay as they were.
  MakeScene(256, 7, 1, Sensor::Mss, [](int x, int, int) { return x < 128 ? 0 : x; });
  SetUppers(1, {5, 6, 7, 90, 120, 150, 210});
  EXPECT_EQ(Library(1), (std::vector<int>{5, 6, 7, 127, 159, 191, 223}));
}

TEST_F(CoarseTest, StepLibrariesAndNegativeBoundsLeaveEveryValueInOneRank) {
  MakeRampScene(1);
  SetUppers(1, {30, 60, 90, 120, 150, 180, 210});
  EXPECT_EQ(Library(5), (std::vector<int>{204, 205, 206, 207, 208, 209, 210}));
  EXPECT_EQ(Library(6), (std::vector<int>{198, 200, 202, 204, 206, 208, 210}));
  g_anRankUpper[1][1] = 30;
  EXPECT_EQ(Library(7), (std::vector<int>{30, 31, 32, 33, 34, 35, 36}));
  EXPECT_EQ(Library(8), (std::vector<int>{30, 32, 34, 36, 38, 40, 42}));

  // From T7 = 3 the lower bounds fall below 0: those ranks are empty.
  g_anRankUpper[7][1] = 3;
  EXPECT_EQ(Library(5), (std::vector<int>{-3, -2, -1, 0, 1, 2, 3}));
  for (int k = 1; k <= 3; ++k) EXPECT_EQ(g_anRankCount[k], 0u);
  EXPECT_EQ(g_abCoarseRankOfValue[0], 4);
  EXPECT_EQ(g_abCoarseRankOfValue[4], 8);
  ExpectRanksPartitionValues();
  EXPECT_EQ(Library(6), (std::vector<int>{-9, -7, -5, -3, -1, 1, 3}));
  EXPECT_EQ(g_abCoarseRankOfValue[2], 7);
  EXPECT_EQ(g_anRankCount[6], 2u);
  ExpectRanksPartitionValues();

  // Extreme typed bounds step without wrapping round.
  const int anMin[7] = {INT_MIN, INT_MIN, INT_MIN, INT_MIN, INT_MIN, INT_MIN, INT_MIN};
  ApplySlicedValues(kCoarsePicture, 1, anMin);
  ApplyRankLibrary(6);
  EXPECT_EQ(g_anRankUpper[1][1], INT_MIN);
  EXPECT_EQ(g_anRankUpper[7][1], INT_MIN + 6);
  EXPECT_EQ(g_anRankCount[8], 256u);
  ExpectRanksPartitionValues();
}

TEST_F(CoarseTest, DisplayPaintsRankColoursAndTheCompositeWhereOff) {
  MakeRampScene(3);
  // Right after an import the composite tables are still 0: switched-off ranks are black.
  ToggleSlicedPart(kCoarsePicture, 2);
  OnCoarseView();
  EXPECT_EQ(OffscreenPixel(10, 1), ScreenPixel(Rgb(170, 0, 170)));
  EXPECT_EQ(OffscreenPixel(40, 1), ScreenPixel(0, 0, 0));
  EXPECT_EQ(OffscreenPixel(255, 2), ScreenPixel(Rgb(255, 255, 85)));
  EXPECT_EQ(m_platform.m_nRepaints, 1);

  OnCompositeView();
  const std::vector<std::uint32_t> anComposite = OffscreenImage();
  ASSERT_TRUE(DispatchCommand(ID_RANKS_OFF));
  ASSERT_TRUE(DispatchCommand(ID_COARSE_VIEW));
  EXPECT_EQ(OffscreenImage(), anComposite);
  // A toggle changes the flags and panel only; the picture waits for the next display.
  ASSERT_TRUE(DispatchCommand(ID_RANKS_INVERT));
  EXPECT_EQ(OffscreenImage(), anComposite);
  ASSERT_TRUE(DispatchCommand(ID_COARSE_SMOOTH_VIEW));
  EXPECT_EQ(m_platform.m_canvas.GetPixel(100, 0), g_acrRankColour[4][1]);
}

TEST_F(CoarseTest, BandSwitchAndValueDialogKeepEachBandsSettings) {
  MakeRampScene(2);
  g_anRankUpper[1][3] = 99;
  g_bAlwaysRedraw = 0;
  ASSERT_TRUE(DispatchCommand(kanCoarseBandIds[2]));
  EXPECT_EQ(g_nCoarseBand, 3);
  EXPECT_TRUE(IsCommandChecked(kanCoarseBandIds[2]));
  EXPECT_EQ(g_abCoarseRankOfValue[99], 1);
  EXPECT_EQ(g_abCoarseRankOfValue[100], 2);
  EXPECT_EQ(m_platform.m_nRepaints, 0);
  g_bAlwaysRedraw = 1;
  ASSERT_TRUE(DispatchCommand(kanCoarseBandIds[0]));
  EXPECT_EQ(g_abCoarseRankOfValue[31], 2);
  EXPECT_EQ(m_platform.m_nRepaints, 1);

  // Typed for a missing band: stored under it, a warning, and the shown band falls back.
  const int anUpper[7] = {10, 20, 30, 40, 50, 60, 70};
  g_anRankUpper[4][3] = 120;
  ApplySlicedValues(kCoarsePicture, 5, anUpper);
  EXPECT_EQ(g_nCoarseBand, 3);
  EXPECT_EQ(g_anRankUpper[4][5], 40);
  EXPECT_EQ(g_anRankUpper[4][3], 120);
  EXPECT_EQ(m_platform.m_aMessages,
            (std::vector<RecordedMessage>{{kszMsgNoBand, kszCapPseudoBand}}));
}

// Every pixel of a band other than the first: its rank's colour, or with a rank switched off the
// composite colour; the picture with every rank coloured takes its own faster path.
TEST_F(CoarseTest, EveryPixelShowsTheRankOfItsOwnBandsValue) {
  MakeRampScene(5);
  OnCompositeView();
  const std::vector<std::uint32_t> anComposite = OffscreenImage();
  SelectSlicedBand(kCoarsePicture, 3);
  for (bool bRankOff : {false, true}) {
    if (bRankOff) ToggleSlicedPart(kCoarsePicture, 3);
    OnCoarseView();
    int nWrong = 0;
    for (int y = 0; y <= g_nMaxY; ++y) {
      for (int x = 0; x <= g_nMaxX; ++x) {
        const int r = g_abCoarseRankOfValue[g_aPixel[x][y].abBand[2]];
        const std::uint32_t nExpected = g_anRankColourOn[r][3]
                                            ? ScreenPixel(g_acrRankColour[r][3])
                                            : anComposite[static_cast<std::size_t>(y) * 256 + x];
        nWrong += OffscreenPixel(x, y) != nExpected;
      }
    }
    EXPECT_EQ(nWrong, 0) << (bRankOff ? "rank 3 off" : "every rank on");
  }
}
