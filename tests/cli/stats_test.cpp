// The JSON state report of "geolumen stats", read back with the JSON library.
#include "cli/stats.h"

#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "support/recording_platform.h"
#include "products/fine_settings.h"
#include "products/composite_settings.h"
#include "products/coarse_settings.h"
#include "classification/category_settings.h"

namespace {

nlohmann::json StatsJson(std::string* pstrText = nullptr) {
  std::ostringstream out;
  WriteStatsJson(out);
  if (pstrText) *pstrText = out.str();
  return nlohmann::json::parse(out.str());  // throws, failing the test, when it is no JSON
}

}  // namespace

using StatsTest = LogicTest;

TEST_F(StatsTest, SceneReportsItsHistogramsSettingsAndCategories) {
  // Band 1 takes the values 0..3 in equal shares, band 3 is 200 everywhere.
  MakeScene(20, 10, 3, Sensor::TmFloppy, [](int x, int y, int b) {
    return b == 1 ? x % 4 : b == 2 ? y * 10 : 200;
  });
  g_abUseBand[0] = 0;  // band 1 out of use: band numbers count from 1, the flags from 0
  g_astrCategoryName[2] = "森林";
  g_acrCategoryColour[2] = Rgb(10, 20, 30);
  for (int b = 1; b <= 8; ++b) {
    g_anCatLower[b][2] = b;
    g_anCatUpper[b][2] = 100 + b;
  }
  g_anTrainCount[2] = 57;
  g_abCategoryValid[2] = 1;
  g_abClassify[2] = 1;
  g_abClassColourOn[2] = 2;  // only 1 counts as on
  g_anClassCount[2] = 33;
  g_anBandInRange[1] = 11;
  g_anBandInRange[3] = 13;
  g_anBandInRange[4] = 99;  // beyond the scene's bands: not listed
  g_abClassify[3] = 0;
  g_anRankUpper[4][2] = 123;
  g_anFinePoint[9][8] = 250;

  std::vector<unsigned> anBand1(256, 0), anBand3(256, 0);
  for (int v = 0; v < 4; ++v) anBand1[static_cast<std::size_t>(v)] = 50;
  anBand3[200] = 200;

  std::string strText;
  const nlohmann::json j = StatsJson(&strText);
  EXPECT_EQ(strText.rfind("{\n  \"sensor\": 1,\n", 0), 0u) << "one member per line, in order";
  EXPECT_EQ(j["sensor"], 1);
  EXPECT_EQ(j["width"], 20);
  EXPECT_EQ(j["height"], 10);
  EXPECT_EQ(j["bands"], 3);
  EXPECT_EQ(j["display_mode"], 10);
  ASSERT_EQ(j["band_histograms"].size(), 3u);
  EXPECT_EQ(j["band_histograms"][0].get<std::vector<unsigned>>(), anBand1);
  EXPECT_EQ(j["band_histograms"][2].get<std::vector<unsigned>>(), anBand3);
  EXPECT_EQ(j["composite"]["red_band"], g_nRedBand);
  EXPECT_EQ(j["composite"]["cutoff_linked"], false);
  EXPECT_EQ(j["coarse"]["ranks_of_band"][1]["upper"][3], 123);
  EXPECT_EQ(j["fine"]["points_of_band"][7]["points"][8], 250);
  EXPECT_EQ(j["bands_in_use"].get<std::vector<int>>(), (std::vector<int>{2, 3}));
  EXPECT_EQ(j["band_in_range"].get<std::vector<int>>(), (std::vector<int>{11, 0, 13}));
  EXPECT_EQ(j["classified"], false);
  EXPECT_EQ(j["print_step"], 7);

  ASSERT_EQ(j["categories"].size(), 8u);
  const nlohmann::json& cat2 = j["categories"][1];
  EXPECT_EQ(cat2["number"], 2);
  EXPECT_EQ(cat2["name"], "森林");
  EXPECT_EQ(cat2["colour"].get<std::vector<int>>(), (std::vector<int>{10, 20, 30}));
  EXPECT_EQ(cat2["lower"].get<std::vector<int>>(), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8}));
  EXPECT_EQ(cat2["upper"][7], 108);
  EXPECT_EQ(cat2["training_pixels"], 57);
  EXPECT_EQ(cat2["valid"], true);
  EXPECT_EQ(cat2["takes_part"], true);
  EXPECT_EQ(cat2["colouring_on"], false);
  EXPECT_EQ(cat2["class_pixels"], 33);
  EXPECT_TRUE(cat2["class_hectares"].is_null()) << "a floppy scene has no ground size";
  EXPECT_EQ(j["categories"][2]["valid"], false);
  EXPECT_EQ(j["categories"][2]["takes_part"], false);
}

TEST_F(StatsTest, NamesAreEscapedAndBytesThatAreNoUtf8Replaced) {
  g_astrCategoryName[5] = "a\"b\\c\nd}\t水田 ]\x01";
  g_astrCategoryName[6] = "x\xff";
  std::string strText;
  const nlohmann::json j = StatsJson(&strText);
  EXPECT_EQ(j["categories"][4]["name"], g_astrCategoryName[5]);
  EXPECT_EQ(j["categories"][5]["name"], "x\xEF\xBF\xBD");
  EXPECT_NE(strText.find("\"a\\\"b\\\\c\\nd}\\t水田 ]\\u0001\""), std::string::npos) << strText;
}

TEST_F(StatsTest, WithoutDataNoBandIsListed) {
  const nlohmann::json j = StatsJson();
  EXPECT_EQ(j["sensor"], 20);
  EXPECT_EQ(j["bands"], 0);
  EXPECT_EQ(j["display_mode"], 20);
  EXPECT_TRUE(j["band_histograms"].empty());
  EXPECT_TRUE(j["bands_in_use"].empty());
  EXPECT_TRUE(j["band_in_range"].empty());
  EXPECT_EQ(j["categories"].size(), 8u);
  EXPECT_TRUE(j["geotransform"].is_null());
}
