// Separability of trained categories: a one-band case worked by hand, a two-band case against
// explicit 2 x 2 formulas, the limits (identical and far-apart categories), and pairs whose
// covariance cannot be inverted.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <vector>

#include "classification/categories.h"
#include "classification/messages.h"
#include "classification/separability.h"
#include "core/commands.h"
#include "core/text_format.h"
#include "resources/resource.h"
#include "support/recording_platform.h"

namespace {

class SeparabilityTest : public LogicTest {
 protected:
  // Marks the pixels of category c and updates it, so it is valid (a 30 x 20 window needs none).
  void Train(int c, const std::vector<std::array<int, 2>>& aPoints) {
    for (const auto& p : aPoints) g_aPixel[p[0]][p[1]].abTrainMark[c - 1] = 1;
    g_nCategory = c;
    ASSERT_TRUE(DispatchCommand(ID_TRAINING_SELECT));
    ASSERT_TRUE(g_abCategoryValid[c]);
  }
  static void UseBands(std::initializer_list<int> anBand) {
    for (int b = 0; b < kMaxBands; ++b) g_abUseBand[b] = 0;
    for (int b : anBand) g_abUseBand[b - 1] = 1;
  }
  static std::vector<std::array<int, 2>> Block(int x0, int y0, int x1, int y1) {
    std::vector<std::array<int, 2>> a;
    for (int x = x0; x <= x1; ++x)
      for (int y = y0; y <= y1; ++y) a.push_back({x, y});
    return a;
  }
};

TEST_F(SeparabilityTest, OneBandAsWorkedByHand) {
  // Band 1 holds x on line 0 and x as well on line 1; only band 1 is in use.
  MakeScene(30, 20, 3, Sensor::TmFloppy, [](int x, int, int b) { return b == 1 ? x : 7 * b; });
  UseBands({1});
  Train(1, {{9, 0}, {11, 0}});            // mean 10, variance 2
  Train(2, {{10, 1}, {12, 1}, {14, 1}});  // mean 12, variance 4
  // B = (12-10)^2 / (4 (2+4)) + 1/2 ln((2+4) / (2 sqrt(2 * 4))) = 1/6 + 1/2 ln(3 / (2 sqrt 2))
  //   = 0.166667 + 0.029446 = 0.196112,  JM = 2 (1 - e^-B) = 0.356160;
  // D = 1/2 (2-4)(1/4 - 1/2) + 1/2 (1/2 + 1/4) 2^2 = 0.25 + 1.5 = 1.75,
  //   TD = 2000 (1 - e^(-1.75/8)) = 392.955.
  const SeparabilityTable table = ComputeSeparability();
  ASSERT_EQ(table.anCategories, (std::vector<int>{1, 2}));
  ASSERT_EQ(table.aPairs.size(), 1u);
  const SeparabilityPair& pair = table.aPairs[0];
  ASSERT_TRUE(pair.bComputed) << pair.strReason;
  EXPECT_NEAR(pair.sep.dBhattacharyya, 1.0 / 6.0 + 0.5 * std::log(3.0 / (2.0 * std::sqrt(2.0))),
              1e-12);
  EXPECT_NEAR(pair.sep.dDivergence, 1.75, 1e-12);
  EXPECT_NEAR(pair.sep.dJm, 0.356160, 1e-6);
  EXPECT_NEAR(pair.sep.dTd, 392.955, 1e-3);
  EXPECT_TRUE(IsPoorlySeparated(pair));
  EXPECT_EQ(SeparabilityJmText(pair), std::string("0.356") + kszSepPoorMark);
  EXPECT_EQ(SeparabilityTdText(pair), "392");
}

TEST_F(SeparabilityTest, TwoBandsAgainstExplicitTwoByTwoFormulas) {
  // A pattern with some correlation between the bands, brighter on the right.
  MakeScene(30, 20, 4, Sensor::TmFloppy, [](int x, int y, int b) {
    return (x * x * (b + 2) + y * 7 * b + x * y * 3) % 41 + (x < 12 ? 40 : 55) + 20 * b;
  });
  UseBands({2, 4});
  Train(3, Block(2, 2, 9, 8));
  Train(6, Block(14, 5, 22, 16));

  // Mean and unbiased covariance of each block over bands 2 and 4, in two passes.
  struct Gauss {
    double m[2], c[2][2];
  };
  auto gauss = [](int x0, int y0, int x1, int y1) {
    Gauss g{};
    double n = 0;
    for (int x = x0; x <= x1; ++x)
      for (int y = y0; y <= y1; ++y, ++n)
        for (int i = 0; i < 2; ++i) g.m[i] += g_aPixel[x][y].abBand[i == 0 ? 1 : 3];
    for (double& m : g.m) m /= n;
    for (int x = x0; x <= x1; ++x)
      for (int y = y0; y <= y1; ++y)
        for (int i = 0; i < 2; ++i)
          for (int j = 0; j < 2; ++j)
            g.c[i][j] += (g_aPixel[x][y].abBand[i == 0 ? 1 : 3] - g.m[i]) *
                         (g_aPixel[x][y].abBand[j == 0 ? 1 : 3] - g.m[j]) / (n - 1);
    return g;
  };
  const Gauss g1 = gauss(2, 2, 9, 8), g2 = gauss(14, 5, 22, 16);
  using M = std::array<std::array<double, 2>, 2>;
  auto det = [](const M& a) { return a[0][0] * a[1][1] - a[0][1] * a[1][0]; };
  auto inv = [&](const M& a) {
    const double d = det(a);
    return M{{{a[1][1] / d, -a[0][1] / d}, {-a[1][0] / d, a[0][0] / d}}};
  };
  auto quad = [](const M& a, const double* v) {
    return v[0] * (a[0][0] * v[0] + a[0][1] * v[1]) + v[1] * (a[1][0] * v[0] + a[1][1] * v[1]);
  };
  const M c1 = {{{g1.c[0][0], g1.c[0][1]}, {g1.c[1][0], g1.c[1][1]}}};
  const M c2 = {{{g2.c[0][0], g2.c[0][1]}, {g2.c[1][0], g2.c[1][1]}}};
  M c;
  for (int i = 0; i < 2; ++i)
    for (int j = 0; j < 2; ++j) c[i][j] = (c1[i][j] + c2[i][j]) / 2;
  const double d[2] = {g1.m[0] - g2.m[0], g1.m[1] - g2.m[1]};
  const double dB = quad(inv(c), d) / 8 + 0.5 * std::log(det(c) / std::sqrt(det(c1) * det(c2)));
  // tr((C1 - C2)(C2^-1 - C1^-1)), multiplied out.
  const M i1 = inv(c1), i2 = inv(c2);
  double dTrace = 0;
  for (int i = 0; i < 2; ++i)
    for (int k = 0; k < 2; ++k) dTrace += (c1[i][k] - c2[i][k]) * (i2[k][i] - i1[k][i]);
  const double dD = 0.5 * dTrace + 0.5 * (quad(i1, d) + quad(i2, d));

  const SeparabilityTable table = ComputeSeparability();
  const SeparabilityPair* pPair = table.Find(6, 3);
  ASSERT_NE(pPair, nullptr);
  ASSERT_TRUE(pPair->bComputed) << pPair->strReason;
  EXPECT_NEAR(pPair->sep.dBhattacharyya, dB, 1e-9 * dB);
  EXPECT_NEAR(pPair->sep.dDivergence, dD, 1e-9 * dD);
  EXPECT_NEAR(pPair->sep.dJm, 2 * (1 - std::exp(-dB)), 1e-9);
  EXPECT_NEAR(pPair->sep.dTd, 2000 * (1 - std::exp(-dD / 8)), 1e-6);
  EXPECT_GT(pPair->sep.dJm, 0.1) << "a case that tells something";
  EXPECT_LT(pPair->sep.dJm, 1.9);
}

TEST_F(SeparabilityTest, IdenticalCategoriesAreZeroAndFarApartOnesReachTheLimits) {
  // Band 1: dark on the left, bright on the right, with a small spread; bands 2 and 3 a pattern.
  MakeScene(30, 20, 3, Sensor::TmFloppy, [](int x, int y, int b) {
    return b == 1 ? (x < 15 ? 20 : 230) + (x * 3 + y * 5) % 7 : (x * 11 + y * 17 * b) % 90;
  });
  Train(1, Block(1, 1, 8, 8));
  Train(2, Block(1, 1, 8, 8));     // the same pixels as 1
  Train(4, Block(20, 10, 27, 17));  // the bright side
  const SeparabilityTable table = ComputeSeparability();
  EXPECT_EQ(table.anCategories, (std::vector<int>{1, 2, 4}));
  ASSERT_EQ(table.aPairs.size(), 3u);
  const SeparabilityPair& same = *table.Find(1, 2);
  ASSERT_TRUE(same.bComputed) << same.strReason;
  EXPECT_NEAR(same.sep.dJm, 0.0, 1e-12);
  EXPECT_NEAR(same.sep.dTd, 0.0, 1e-9);
  for (int c : {1, 2}) {
    const SeparabilityPair& far = *table.Find(c, 4);
    ASSERT_TRUE(far.bComputed) << far.strReason;
    EXPECT_GT(far.sep.dJm, 1.9999);
    EXPECT_LE(far.sep.dJm, 2.0);
    EXPECT_GT(far.sep.dTd, 1999.9);
    EXPECT_LE(far.sep.dTd, 2000.0);
    EXPECT_FALSE(IsPoorlySeparated(far));
    EXPECT_EQ(SeparabilityJmText(far).find(kszSepPoorMark), std::string::npos);
  }
}

TEST_F(SeparabilityTest, ACovarianceThatCannotBeInvertedLeavesItsPairsWithoutValues) {
  // Band 2 is constant on the left; on the right band 3 is band 2 plus 1.
  MakeScene(30, 20, 3, Sensor::TmFloppy, [](int x, int y, int b) {
    const int v = (x * 13 + y * 7) % 50 + 60;
    if (b == 1) return (x * 5 + y * 11) % 40 + 10;
    if (x < 10) return b == 2 ? 100 : v;
    if (x >= 20) return b == 2 ? v : v + 1;
    return (x * y * b) % 77;
  });
  Train(1, Block(1, 1, 6, 6));           // band 2 constant
  Train(2, Block(22, 2, 27, 9));         // band 3 follows band 2
  Train(3, {{12, 3}, {15, 7}, {13, 9}});  // three pixels for three bands
  Train(5, Block(11, 10, 18, 18));       // a usable one
  Train(7, Block(12, 12, 14, 14));
  g_abCategoryValid[7] = false;          // not valid: not in the table

  const SeparabilityTable table = ComputeSeparability();
  EXPECT_EQ(table.anCategories, (std::vector<int>{1, 2, 3, 5}));
  EXPECT_EQ(table.aPairs.size(), 6u);
  const std::string strConstant = FormatText(kszSepConstantBand, 1, 2);
  const std::string strDependent = FormatText(kszSepDependentBands, 2, 3);
  const std::string strFew = FormatText(kszSepTooFewPixels, 3, 3, 3, 4);
  const struct {
    int a, b;
    std::string strReason;
  } aCases[] = {
      {1, 5, strConstant},
      {2, 5, strDependent},
      {3, 5, strFew},
      {1, 2, strConstant + kszSepReasonJoint + strDependent},
  };
  for (const auto& c : aCases) {
    const SeparabilityPair& pair = *table.Find(c.a, c.b);
    EXPECT_FALSE(pair.bComputed) << c.a << "-" << c.b;
    EXPECT_EQ(pair.strReason, c.strReason) << c.a << "-" << c.b;
    EXPECT_FALSE(IsPoorlySeparated(pair));
    EXPECT_EQ(SeparabilityJmText(pair), kszSepNoValue);
  }

  // Without a band in use no pair has values; with one valid category there is no pair.
  UseBands({});
  EXPECT_EQ(ComputeSeparability().Find(1, 5)->strReason, kszSepNoBands);
  for (int c : {1, 2, 3}) g_abCategoryValid[c] = false;
  EXPECT_TRUE(ComputeSeparability().aPairs.empty());
}

}  // namespace
