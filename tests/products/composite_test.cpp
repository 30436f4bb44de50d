#include <algorithm>
#include <array>
#include <cstdint>
#include <random>
#include <utility>

#include "core/commands.h"
#include "resources/resource.h"
#include "core/view.h"
#include "products/composite.h"
#include "products/messages.h"
#include "support/recording_platform.h"

using CompositeTest = LogicTest;

namespace {

// The stretch worked out directly: 0 up to L, 255 above U, the truncated factor in between.
int ExpectedStretch(int v, int L, int U) {
  if (v < L) return 0;
  if (v > U) return 255;
  return (v - L) * (255 / (U - L));
}

// A scene whose bands differ, so a wrong band or channel shows up in the pixels.
int SceneValue(int x, int y, int b) { return (x * 7 + y * 3 + b * 41) % 256; }

// Band b runs b..b+99 over the columns of a 100 x 100 scene.
void MakeShiftedScene(int nBands) {
  MakeScene(100, 100, nBands, Sensor::TmFloppy, [](int x, int, int b) { return x + b; });
}

using Six = std::array<int, 6>;
Six Bounds() {
  return {g_nRedLower, g_nRedUpper, g_nGreenLower, g_nGreenUpper, g_nBlueLower, g_nBlueUpper};
}
std::array<int, 3> Bands() { return {g_nRedBand, g_nGreenBand, g_nBlueBand}; }

const RecordedMessage kRedWarning{kszMsgNoBand, kszCapRedBand};
const RecordedMessage kGreenWarning{kszMsgNoBand, kszCapGreenBand};

}  // namespace

TEST_F(CompositeTest, StretchTableUsesTheIntegerFactorTakenOnce) {
  std::uint8_t ab[256];
  BuildStretchTable(0, 255, ab);
  for (int v = 0; v < 256; ++v) ASSERT_EQ(ab[v], v);
  // Factor 25 stops the range at 250; 255 / 100 = 2; above 127 wide the factor is 1.
  const struct { int L, U, v, n; } aCases[] = {
      {10, 20, 9, 0},     {10, 20, 11, 25},   {10, 20, 20, 250},  {10, 20, 21, 255},
      {0, 100, 50, 100},  {0, 100, 100, 200}, {0, 100, 101, 255}, {40, 200, 40, 0},
      {40, 200, 200, 160}, {40, 200, 201, 255}};
  for (const auto& c : aCases) {
    BuildStretchTable(c.L, c.U, ab);
    EXPECT_EQ(ab[c.v], c.n) << c.L << ".." << c.U << " at " << c.v;
  }
}

TEST_F(CompositeTest, CutOffSaturatesAtBothEnds) {
  // Band 1 is the column (each value 100 times), band 2 constant 100, band 3 all 255.
  MakeScene(100, 100, 3, Sensor::TmFloppy, [](int x, int, int b) {
    return b == 1 ? x : b == 2 ? 100 : 255;
  });
  g_nRedBand = 1; g_nGreenBand = 2; g_nBlueBand = 3;
  // 100 pixels per percent: at 3 % the sums pass 300 at the fourth value in.
  g_nCutOffRate = 3;
  ComputeCutOff(Component::Red);
  g_nCutOffRate = 49;
  ComputeCutOff(Component::Green);
  ComputeCutOff(Component::Blue);
  EXPECT_EQ(Bounds(), (Six{3, 96, 100, 101, 254, 255}));

  // Rate 0 runs from the lowest to the highest value present.
  MakeScene(100, 60, 3, Sensor::TmFloppy, [](int x, int y, int) { return 17 + (x + y) % 150; });
  g_nCutOffRate = 0;
  ComputeCutOff(Component::Blue);
  EXPECT_EQ(g_nBlueLower, 17);
  EXPECT_EQ(g_nBlueUpper, 166);
}

TEST_F(CompositeTest, CheckedLibrariesCorrectMissingBandsAndRecomputeTheCutOff) {
  MakeScene(40, 30, 3, Sensor::TmFloppy, SceneValue);
  g_bAlwaysRedraw = 0;
  g_nCutOffRate = 0;
  OnNaturalColour();  // 3, 4, 1 with three bands loaded
  EXPECT_EQ(Bands(), (std::array<int, 3>{3, 3, 1}));
  EXPECT_EQ(m_platform.m_aMessages, std::vector<RecordedMessage>{kGreenWarning});
  EXPECT_EQ(g_nDisplayMode, DisplayMode::Composite);

  // The default 3 % cuts three values at each end.
  m_platform.m_aMessages.clear();
  MakeShiftedScene(4);
  g_nRedLower = 5;
  OnFalseColour();
  EXPECT_EQ(Bands(), (std::array<int, 3>{4, 3, 1}));
  EXPECT_TRUE(m_platform.m_aMessages.empty());
  EXPECT_EQ(Bounds(), (Six{7, 100, 6, 99, 4, 97}));
}

TEST_F(CompositeTest, BandValueDialogCorrectsBandsAndBounds) {
  MakeScene(40, 30, 4, Sensor::TmFloppy, SceneValue);
  g_bAlwaysRedraw = 0;
  CompositeBandValues values{8, 5, 2, 30, 30, 10, 200, 254, 100, 0};
  ApplyCompositeBandValueDialog(values);
  EXPECT_EQ(m_platform.m_aMessages, (std::vector<RecordedMessage>{kRedWarning, kGreenWarning}));
  EXPECT_EQ(Bands(), (std::array<int, 3>{4, 4, 2}));
  EXPECT_EQ(Bounds(), (Six{30, 31, 10, 200, 254, 255}));

  // Linked: the typed bounds give way to the cut-off.
  m_platform.m_aMessages.clear();
  MakeShiftedScene(4);
  g_nCutOffRate = 0;
  values = {2, 2, 3, 50, 60, 50, 60, 50, 60, 1};
  ApplyCompositeBandValueDialog(values);
  EXPECT_TRUE(m_platform.m_aMessages.empty());
  EXPECT_EQ(g_bCutOffLinked, 1);
  EXPECT_EQ(Bounds(), (Six{2, 101, 2, 101, 3, 102}));
}

TEST_F(CompositeTest, BandItemRecomputesItsComponentAndRedrawsOnlyWhenAsked) {
  MakeScene(100, 100, 4, Sensor::TmFloppy, [](int x, int, int b) { return x + 10 * b; });
  g_nRedLower = g_nBlueLower = 7;
  g_nRedUpper = g_nBlueUpper = 9;
  const std::uint32_t kSentinel = 0xFF123456;
  for (int y = 0; y < 100; ++y)
    for (int x = 0; x < 100; ++x) OffscreenPixel(x, y) = kSentinel;
  g_bAlwaysRedraw = 0;
  ASSERT_TRUE(DispatchCommand(kanGreenBandIds[3]));
  EXPECT_EQ(g_nGreenBand, 4);
  EXPECT_EQ(Bounds(), (Six{7, 9, 43, 136, 7, 9}));  // band 4 runs 40..139
  // Only the panel follows: the picture is untouched and not repainted.
  for (int y = 0; y < 100; ++y)
    for (int x = 0; x < 100; ++x) ASSERT_EQ(OffscreenPixel(x, y), kSentinel);
  EXPECT_EQ(g_nDisplayMode, DisplayMode::Composite);
  EXPECT_EQ(m_platform.m_nRepaints, 0);
  EXPECT_FALSE(m_platform.m_canvas.m_aIcons.empty());

  // Sensor 3 keeps the bounds as they are.
  g_bAlwaysRedraw = 1;
  g_nSensor = Sensor::Etm6921;
  g_nRedLower = 20;
  g_nRedUpper = 30;
  ASSERT_TRUE(DispatchCommand(kanRedBandIds[0]));
  EXPECT_EQ(g_nRedBand, 1);
  EXPECT_EQ(Bounds(), (Six{20, 30, 43, 136, 7, 9}));
  EXPECT_NE(OffscreenPixel(0, 0), kSentinel);
  EXPECT_EQ(m_platform.m_nRepaints, 1);
}

TEST_F(CompositeTest, HistogramsMatchAPlainCountOverTheWindowOnly) {
  // Values outside the window must not be counted, so the whole plane is noise first.
  std::mt19937 rng(7);
  for (auto& column : g_aPixel)
    for (auto& px : column)
      for (auto& b : px.abBand) b = static_cast<std::uint8_t>(rng());
  g_nMaxX = 300;
  g_nMaxY = 202;
  g_nLastBand = 7;
  g_nDisplayMode = DisplayMode::Prompt;
  for (int y = 0; y < 150; ++y) g_aPixel[5][y].abBand[6] = 9;  // a long run of one value
  g_nRedBand = 7; g_nGreenBand = 2; g_nBlueBand = 7;
  OnCompositeHistogram();

  std::uint32_t anRed[256] = {}, anGreen[256] = {};
  for (int x = 0; x <= g_nMaxX; ++x) {
    for (int y = 0; y <= g_nMaxY; ++y) {
      ++anRed[g_aPixel[x][y].abBand[6]];
      ++anGreen[g_aPixel[x][y].abBand[1]];
    }
  }
  for (int v = 0; v < 256; ++v) {
    ASSERT_EQ(g_anRedHist[v], anRed[v]) << v;
    ASSERT_EQ(g_anGreenHist[v], anGreen[v]) << v;
    ASSERT_EQ(g_anBlueHist[v], anRed[v]) << v;
  }
  EXPECT_EQ(g_nRedHistMax, *std::max_element(anRed, anRed + 256));
  EXPECT_EQ(g_nGreenHistMax, *std::max_element(anGreen, anGreen + 256));
  EXPECT_EQ(g_nBlueHistMax, g_nRedHistMax);
}

TEST_F(CompositeTest, RenderedPixelsFollowTheStretchOfEachBand) {
  MakeScene(70, 45, 5, Sensor::TmFloppy, SceneValue);
  g_nRedBand = 5; g_nRedLower = 10; g_nRedUpper = 20;
  g_nGreenBand = 1; g_nGreenLower = 0; g_nGreenUpper = 100;
  g_nBlueBand = 3; g_nBlueLower = 40; g_nBlueUpper = 250;
  // 70 columns: eight-column strips and a tail; nothing beyond the window is written.
  for (int y = 0; y < 46; ++y) OffscreenPixel(70, y) = OffscreenPixel(0, 45) = 0;
  ASSERT_TRUE(DispatchCommand(ID_COMPOSITE_VIEW));
  for (int y = 0; y < 46; ++y) ASSERT_EQ(OffscreenPixel(70, y), 0u);
  ASSERT_EQ(OffscreenPixel(0, 45), 0u);
  EXPECT_EQ(g_nDisplayMode, DisplayMode::Composite);
  EXPECT_EQ(m_platform.m_nRepaints, 1);
  for (int y = 0; y < 45; ++y) {
    for (int x = 0; x < 70; ++x) {
      const std::uint32_t nExpected =
          0xFF000000u | (ExpectedStretch(SceneValue(x, y, 5), 10, 20) << 16) |
          (ExpectedStretch(SceneValue(x, y, 1), 0, 100) << 8) |
          ExpectedStretch(SceneValue(x, y, 3), 40, 250);
      ASSERT_EQ(OffscreenPixel(x, y), nExpected) << x << "," << y;
    }
  }

  // The smooth display writes the same picture on the window and shows each line.
  CRecordingCanvas& canvas = m_platform.m_canvas;
  canvas.Clear();
  ASSERT_TRUE(DispatchCommand(ID_COMPOSITE_SMOOTH_VIEW));
  EXPECT_EQ(m_platform.m_nProgressCalls, 45);
  for (int y = 0; y < 45; ++y)
    for (int x = 0; x < 70; ++x)
      ASSERT_EQ(canvas.GetPixel(x, y), ColorrefFromScreen(OffscreenPixel(x, y)));
}

TEST_F(CompositeTest, PanelButtonsStepWithinLimitsAndAlwaysRefreshThePanel) {
  MakeScene(512, 400, 3, Sensor::TmFloppy, SceneValue);
  g_nDisplayMode = DisplayMode::Composite;
  const int W = g_nMaxX;
  CRecordingCanvas& canvas = m_platform.m_canvas;
  auto click = [W](int dx, int y) { OnViewLButtonDown(W + dx, y, false); };

  click(124, 114);  // red lower down at 0: refused, yet the panel is drawn again
  EXPECT_EQ(canvas.m_aIcons.size(), 6u);
  click(155, 129);
  click(255, 247);  // green upper up at 255: refused
  click(224, 262);
  EXPECT_EQ(Bounds(), (Six{1, 255, 0, 254, 0, 255}));
  // Blue lower and upper one apart: neither may cross the other.
  g_nBlueLower = 100;
  g_nBlueUpper = 101;
  click(140, 380);
  click(239, 395);
  EXPECT_EQ(g_abBlueLut[101], 255);
  click(139, 395);
  EXPECT_EQ(Bounds(), (Six{1, 255, 0, 254, 99, 101}));
  // Just outside the rows and between the buttons nothing happens at all.
  const size_t nIcons = canvas.m_aIcons.size();
  for (auto [dx, y] : {std::pair{124, 113}, {124, 130}, {200, 114}, {256, 380}}) click(dx, y);
  EXPECT_EQ(canvas.m_aIcons.size(), nIcons);
  EXPECT_EQ(Bounds(), (Six{1, 255, 0, 254, 99, 101}));
}
