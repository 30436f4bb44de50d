// The accuracy figures against hand-worked matrices: overall, producer's and user's accuracy,
// kappa (as any statistics package computes it from the same pairs of labels) and its
// approximate standard error, with unclassified pixels, a perfect map and no test pixels.
#include <gtest/gtest.h>

#include <cmath>
#include <nlohmann/json.hpp>

#include "classification/accuracy.h"

namespace {

// Three categories and five unclassified test pixels (rows classified, columns reference):
//          ref 1  ref 2  ref 3 | total
//   cls 1    50      3      0  |   53
//   cls 2     2     40      5  |   47
//   cls 3     0      7     43  |   50
//   unclas.   3      0      2  |    5
//   total    55     50     50  |  155
// Overall 133 / 155; chance (53 x 55 + 47 x 50 + 50 x 50) / 155^2 = 7765 / 24025;
// kappa = (po - pe) / (1 - pe); SE = sqrt(po (1 - po) / (N (1 - pe)^2)).
Accuracy Worked() {
  Accuracy acc;
  const int aan[4][3] = {{50, 3, 0}, {2, 40, 5}, {0, 7, 43}, {3, 0, 2}};
  const int anRow[4] = {1, 2, 3, kUnclassifiedRow};
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 3; ++c) acc.Add(anRow[r], c + 1, static_cast<std::uint64_t>(aan[r][c]));
  return acc;
}

TEST(AccuracyTest, FiguresOfAWorkedMatrix) {
  Accuracy acc = Worked();
  ASSERT_TRUE(acc.Finish());
  EXPECT_EQ(acc.nTotal, 155u);
  EXPECT_EQ(acc.anRowTotal[kUnclassifiedRow], 5u);
  EXPECT_EQ(acc.anColumnTotal[1], 55u);
  const double po = 133.0 / 155.0, pe = 7765.0 / 24025.0;
  EXPECT_DOUBLE_EQ(acc.dOverall, po);
  EXPECT_NEAR(acc.dKappa, 0.7902829028290281, 1e-12);
  EXPECT_NEAR(acc.dKappa, (po - pe) / (1 - pe), 1e-12);
  EXPECT_NEAR(acc.dKappaSe, 0.041417365322910946, 1e-12);
  EXPECT_DOUBLE_EQ(acc.adProducers[1], 50.0 / 55.0);
  EXPECT_DOUBLE_EQ(acc.adUsers[1], 50.0 / 53.0);
  EXPECT_DOUBLE_EQ(acc.adProducers[3], 43.0 / 50.0);
  EXPECT_TRUE(std::isnan(acc.adProducers[4])) << "no test pixels of category 4";
  EXPECT_TRUE(std::isnan(acc.adUsers[4]));

  const nlohmann::ordered_json json = AccuracyJson(acc);
  EXPECT_EQ(json["matrix"][8][0], 3) << "the unclassified row comes last";
  EXPECT_EQ(json["test_pixels"][1], 50);
  EXPECT_TRUE(json["users"][5].is_null());

  std::string astrName[9];
  for (int c = 1; c <= 8; ++c) astrName[c] = "C" + std::to_string(c);
  astrName[2] = "森林, 北";
  const std::string strCsv = AccuracyCsv(acc, astrName);
  EXPECT_NE(strCsv.find(",\"2 森林, 北\","), std::string::npos) << "a name with a comma is quoted";
  EXPECT_NE(strCsv.find("\n未分類,3,0,2,0,0,0,0,0,5,\n"), std::string::npos) << strCsv;
  EXPECT_NE(strCsv.find("overall accuracy,0.858065"), std::string::npos);
}

TEST(AccuracyTest, PerfectSingleCategoryAndEmptyMaps) {
  // A perfect map of two categories: overall 1, kappa 1, standard error 0.
  Accuracy perfect;
  perfect.Add(1, 1, 10);
  perfect.Add(2, 2, 30);
  ASSERT_TRUE(perfect.Finish());
  EXPECT_DOUBLE_EQ(perfect.dOverall, 1.0);
  EXPECT_DOUBLE_EQ(perfect.dKappa, 1.0);
  EXPECT_DOUBLE_EQ(perfect.dKappaSe, 0.0);
  // One category on both sides: agreement by chance is certain and kappa is undefined.
  Accuracy one;
  one.Add(1, 1, 12);
  ASSERT_TRUE(one.Finish());
  EXPECT_DOUBLE_EQ(one.dOverall, 1.0);
  EXPECT_TRUE(std::isnan(one.dKappa));
  // No test pixel at all.
  Accuracy none;
  EXPECT_FALSE(none.Finish());
  EXPECT_TRUE(std::isnan(none.dOverall));
  EXPECT_TRUE(AccuracyJson(none)["overall"].is_null());
}

}  // namespace
