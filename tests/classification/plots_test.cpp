// The signature and feature-space plots against statistics worked out here in plain double
// loops: where a category's mean line, deviation band, range whiskers and ellipse fall, and the
// feature-space counts at chosen cells against a direct count of the window.
#include "classification/plots.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <vector>

#include "classification/category_settings.h"
#include "core/commands.h"
#include "core/view.h"
#include "resources/resource.h"
#include "support/recording_platform.h"

namespace {

// Mean, unbiased standard deviation, smallest and largest of some values.
struct Figures {
  double dMean = 0, dDeviation = 0;
  int nLow = 255, nHigh = 0;
};
Figures FiguresOf(const std::vector<int>& an) {
  Figures f;
  for (int n : an) {
    f.dMean += n;
    f.nLow = std::min(f.nLow, n);
    f.nHigh = std::max(f.nHigh, n);
  }
  f.dMean /= static_cast<double>(an.size());
  double dSum = 0;
  for (int n : an) dSum += (n - f.dMean) * (n - f.dMean);
  f.dDeviation = std::sqrt(dSum / static_cast<double>(an.size() - 1));
  return f;
}

// The chart's row of value v at scale s, as the layout promises.
int Row(double v, int s) { return 10 + static_cast<int>(std::lround(s * (255.0 - v))); }

class PlotsTest : public LogicTest {
 protected:
  // Category c trained on the pixels (x, y) for x in anX and y below nLines, the training area
  // updated.
  void Train(int c, const std::vector<int>& anX, int nLines = 1) {
    for (int x : anX) {
      for (int y = 0; y < nLines; ++y) g_aPixel[x][y].abTrainMark[c - 1] = kTrainingMark;
    }
    g_nCategory = c;
    ASSERT_TRUE(DispatchCommand(ID_TRAINING_SELECT));
    ASSERT_TRUE(g_abCategoryValid[c]);
  }
  const RecordedPolyline* PolylineAt(int x, Colorref cr, int nWidth) const {
    for (const RecordedPolyline& line : m_platform.m_canvas.m_aPolylines) {
      if (line.crPen == cr && line.nWidth == nWidth && line.aPoints.front().x == x &&
          line.aPoints.back().x == x) {
        return &line;
      }
    }
    return nullptr;
  }
};

// Band b of pixel (x, y): a spread that differs by band, the same whatever the window's size.
int Value(int x, int y, int b) { return (x * (7 + 3 * b) + y * 5 + 11 * b) % 200 + 20; }

TEST_F(PlotsTest, SignatureLinesBandsAndWhiskersLieAtTheStatisticsRows) {
  const std::vector<int> anTrain = {3, 8, 15, 16, 23, 42};
  // A small window draws at scale 1, one of 600 x 600 at twice the size.
  for (const auto& [nSide, s] : {std::pair{60, 1}, {600, 2}}) {
    SCOPED_TRACE(nSide);
    ResetProgramState();
    MakeScene(nSide, nSide, 3, Sensor::TmFloppy, Value);
    g_abUseBand[1] = 0;  // band 2 is not in use: the x axis shows bands 1 and 3
    for (int c = 2; c <= 8; ++c) g_abClassify[c] = 0;
    Train(1, anTrain, 60);  // 360 pixels: enough for the larger window too
    Train(2, {1, 2, 4, 5, 6, 7}, 60);  // valid, but takes no part: not drawn
    m_platform.m_canvas.Clear();
    ASSERT_TRUE(DispatchCommand(ID_SIGNATURE_VIEW));
    EXPECT_EQ(g_nDisplayMode, DisplayMode::Signatures);

    const Colorref cr = g_acrCategoryColour[1];
    const Colorref crLight = Rgb((GetRValue(cr) + 255) / 2, (GetGValue(cr) + 255) / 2,
                                 (GetBValue(cr) + 255) / 2);
    const int anBand[2] = {1, 3}, anColumn[2] = {90, 140};
    const RecordedPolyline* pMean = nullptr;
    for (const RecordedPolyline& line : m_platform.m_canvas.m_aPolylines) {
      if (line.crPen == cr && line.nWidth == 2) pMean = &line;
    }
    ASSERT_NE(pMean, nullptr);
    ASSERT_EQ(pMean->aPoints.size(), 2u);
    for (int i = 0; i < 2; ++i) {
      std::vector<int> an;
      for (int x : anTrain) {
        for (int y = 0; y < 60; ++y) an.push_back(Value(x, y, anBand[i]));
      }
      const Figures f = FiguresOf(an);
      EXPECT_EQ(pMean->aPoints[i].x, anColumn[i]);
      EXPECT_EQ(pMean->aPoints[i].y, Row(f.dMean, s)) << "band " << anBand[i];
      // The deviation band at the band's own column.
      const RecordedPolyline* pBand = PolylineAt(anColumn[i], crLight, 1);
      ASSERT_NE(pBand, nullptr);
      EXPECT_EQ(pBand->aPoints.front().y, Row(f.dMean + f.dDeviation, s));
      EXPECT_EQ(pBand->aPoints.back().y, Row(f.dMean - f.dDeviation, s) + 1);
      // The range whisker beside it (category 1 at 6 columns left of the band).
      const RecordedPolyline* pWhisker = PolylineAt(anColumn[i] - 6, cr, 1);
      ASSERT_NE(pWhisker, nullptr);
      EXPECT_EQ(pWhisker->aPoints.front().y, Row(f.nHigh, s));
      EXPECT_EQ(pWhisker->aPoints.back().y, Row(f.nLow, s) + 1);
    }
    for (const RecordedPolyline& line : m_platform.m_canvas.m_aPolylines) {
      EXPECT_NE(line.crPen, g_acrCategoryColour[2]) << "category 2 takes no part";
    }
    const int nLegend = std::max(nSide - 1, 511) + 3;
    EXPECT_EQ(m_platform.m_canvas.TextOrNone(nLegend + 31, 30), "1 Name1（360ピクセル）");
    EXPECT_EQ(m_platform.m_canvas.TextOrNone(anColumn[1] - 3, 10 + 256 * s + 5), "3");
    // The readout names the band whose column is nearest and the value of the row.
    OnViewMouseMove(anColumn[1] + 20, Row(100, s));
    EXPECT_EQ(m_platform.m_strPane0, "Band3  値=100");
    OnViewMouseMove(anColumn[0] - 30, Row(100, s));
    EXPECT_EQ(m_platform.m_strPane0, "");
  }
}

// Pixels of a 512 x 300 window (both cores take part) and of a small one (one core).
TEST_F(PlotsTest, ScatterCountsEqualADirectCountOfTheWindow) {
  for (const auto& [nWidth, nHeight] : {std::pair{512, 300}, {70, 40}}) {
    SCOPED_TRACE(nWidth);
    ResetProgramState();
    MakeScene(nWidth, nHeight, 4, Sensor::TmFloppy,
              [](int x, int y, int b) { return ((x / 3) * b + (y / 2) * 7 + x % 5) % 256; });
    // Categories 2 and 5 share a training pixel; category 3's is a test pixel, not training.
    g_aPixel[5][6].abTrainMark[1] = kTrainingMark;
    g_aPixel[5][6].abTrainMark[4] = kTrainingMark;
    g_aPixel[9][1].abTrainMark[2] = kTestMark;
    g_aPixel[30][20].abTrainMark[4] = kTrainingMark;
    bool abShown[9] = {};
    abShown[2] = abShown[3] = abShown[5] = true;
    static ScatterGrid grid;
    CountScatterGrid(2, 4, abShown, grid);

    std::vector<std::uint32_t> anDirect(65536, 0);
    for (int x = 0; x < nWidth; ++x) {
      for (int y = 0; y < nHeight; ++y) {
        ++anDirect[g_aPixel[x][y].abBand[3] * 256 + g_aPixel[x][y].abBand[1]];
      }
    }
    const auto cell = [](int x, int y) {
      return g_aPixel[x][y].abBand[3] * 256 + g_aPixel[x][y].abBand[1];
    };
    for (const auto& [x, y] : {std::pair{0, 0}, {5, 6}, {nWidth - 1, nHeight - 1}, {300 % nWidth, 7}}) {
      EXPECT_EQ(grid.anCount[cell(x, y)], anDirect[cell(x, y)]) << x << "," << y;
    }
    EXPECT_EQ(std::accumulate(std::begin(grid.anCount), std::end(grid.anCount), 0u),
              static_cast<std::uint32_t>(nWidth * nHeight));
    EXPECT_EQ(grid.nLargest, *std::max_element(anDirect.begin(), anDirect.end()));
    EXPECT_TRUE(std::equal(anDirect.begin(), anDirect.end(), grid.anCount));
    EXPECT_EQ(grid.abCategory[cell(5, 6)], 2) << "the lower number of two";
    EXPECT_EQ(grid.abCategory[cell(30, 20)], 5);
    if (cell(9, 1) != cell(5, 6) && cell(9, 1) != cell(30, 20)) {
      EXPECT_EQ(grid.abCategory[cell(9, 1)], 0) << "a test pixel";
    }
  }
}

TEST_F(PlotsTest, ScatterChartGreysTrainingPixelsEllipseAndReadout) {
  MakeScene(80, 50, 4, Sensor::TmFloppy,
            [](int x, int y, int b) { return b == 1 ? (x * 3) % 97 + 60 : (y * 4 + x) % 90 + 30; });
  for (int c = 2; c <= 8; ++c) g_abClassify[c] = 0;
  std::vector<int> anTrain;
  for (int x = 10; x < 70; x += 2) anTrain.push_back(x);
  Train(1, anTrain);
  g_nScatterBandX = 1;
  g_nScatterBandY = 2;
  m_platform.m_canvas.Clear();
  ASSERT_TRUE(DispatchCommand(ID_SCATTER_VIEW));
  EXPECT_EQ(g_nDisplayMode, DisplayMode::Scatter);

  // A cell without training pixels: grey 200 x (1 - ln n / ln largest); value y upwards.
  const int x = 3, y = 40;
  const int vx = g_aPixel[x][y].abBand[0], vy = g_aPixel[x][y].abBand[1];
  std::uint32_t n = 0, nLargest = 0;
  std::vector<std::uint32_t> anDirect(65536, 0);
  for (int i = 0; i < 80; ++i) {
    for (int j = 0; j < 50; ++j) {
      const std::uint32_t m = ++anDirect[g_aPixel[i][j].abBand[1] * 256 + g_aPixel[i][j].abBand[0]];
      nLargest = std::max(nLargest, m);
    }
  }
  n = anDirect[vy * 256 + vx];
  ASSERT_GT(n, 0u);
  ASSERT_EQ(LastScatterGrid().abCategory[vy * 256 + vx], 0);
  const double dGrey = 200.0 * (1.0 - std::log(static_cast<double>(n)) / std::log(static_cast<double>(nLargest)));
  const Colorref crCell = m_platform.m_canvas.m_mapPixels.at({40 + vx, 10 + 255 - vy});
  EXPECT_NEAR(GetRValue(crCell), dGrey, 0.51);
  EXPECT_EQ(GetRValue(crCell), GetBValue(crCell));
  // A training pixel's cell in the category's colour.
  const int tx = g_aPixel[10][0].abBand[0], ty = g_aPixel[10][0].abBand[1];
  EXPECT_EQ(m_platform.m_canvas.m_mapPixels.at({40 + tx, 10 + 255 - ty}), g_acrCategoryColour[1]);

  // The ellipse: every point two deviations from the mean in the metric of the covariance.
  std::vector<double> adX, adY;
  for (int i : anTrain) {
    adX.push_back(g_aPixel[i][0].abBand[0]);
    adY.push_back(g_aPixel[i][0].abBand[1]);
  }
  const double k = static_cast<double>(adX.size());
  double mx = 0, my = 0, sxx = 0, sxy = 0, syy = 0;
  for (std::size_t i = 0; i < adX.size(); ++i) mx += adX[i] / k, my += adY[i] / k;
  for (std::size_t i = 0; i < adX.size(); ++i) {
    sxx += (adX[i] - mx) * (adX[i] - mx) / (k - 1);
    sxy += (adX[i] - mx) * (adY[i] - my) / (k - 1);
    syy += (adY[i] - my) * (adY[i] - my) / (k - 1);
  }
  const RecordedPolyline* pEllipse = nullptr;
  for (const RecordedPolyline& line : m_platform.m_canvas.m_aPolylines) {
    if (line.crPen == g_acrCategoryColour[1] && line.aPoints.size() > 40) pEllipse = &line;
  }
  ASSERT_NE(pEllipse, nullptr);
  const double dDet = sxx * syy - sxy * sxy;
  for (const Point& p : pEllipse->aPoints) {
    const double dx = (p.x - 40) - mx, dy = (255 - (p.y - 10)) - my;
    const double d = std::sqrt((syy * dx * dx - 2 * sxy * dx * dy + sxx * dy * dy) / dDet);
    EXPECT_NEAR(d, 2.0, 0.15) << p.x << "," << p.y;
  }

  // Hovering reads the cell's values and count, also beyond the window's columns.
  OnViewMouseMove(40 + vx, 10 + 255 - vy);
  EXPECT_EQ(m_platform.m_strPane0,
            "Band1=" + std::to_string(vx) + "  Band2=" + std::to_string(vy) +
                "  ピクセル数=" + std::to_string(n));
  ASSERT_GT(40 + vx, g_nMaxX);
  OnViewMouseMove(5, 5);
  EXPECT_EQ(m_platform.m_strPane0, "");
}

TEST_F(PlotsTest, BandsComeFromTheDialogAndArrowKeysWithinTheScene) {
  MakeScene(20, 10, 4, Sensor::TmFloppy, Value);
  ASSERT_TRUE(DispatchCommand(ID_SCATTER_VIEW));
  // Band 5 is beyond the scene: refused with a message, nothing changed.
  m_platform.m_qDialogAnswers.push_back({5, 1});
  ASSERT_TRUE(DispatchCommand(ID_SCATTER_BANDS));
  EXPECT_TRUE(LastDialogRefused());
  ASSERT_EQ(m_platform.m_aMessages.size(), 1u);
  EXPECT_EQ(m_platform.m_aMessages[0].strText, "Band5はこのデータにありません（Band1～Band4）");
  EXPECT_EQ(g_nScatterBandX, 3);
  EXPECT_EQ(g_nScatterBandY, 4);
  m_platform.m_qDialogAnswers.push_back({2, 1});
  ASSERT_TRUE(DispatchCommand(ID_SCATTER_BANDS));
  EXPECT_FALSE(LastDialogRefused());
  EXPECT_EQ(g_nScatterBandX, 2);
  EXPECT_EQ(g_nScatterBandY, 1);

  // Right and left step the band across, up and down the band up, never past the scene.
  for (ArrowKey key : {ArrowKey::Right, ArrowKey::Right, ArrowKey::Right, ArrowKey::Down,
                       ArrowKey::Up}) {
    OnViewArrowKey(key);
  }
  EXPECT_EQ(g_nScatterBandX, 4);
  EXPECT_EQ(g_nScatterBandY, 2);

  ASSERT_TRUE(DispatchCommand(ID_SCATTER_BOUNDARIES));
  EXPECT_TRUE(IsCommandChecked(ID_SCATTER_BOUNDARIES));
  ResetProgramState();
  EXPECT_TRUE(ScatterSettingsAreDefault());
}

}  // namespace
