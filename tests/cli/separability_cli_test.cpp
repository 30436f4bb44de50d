// The separability in "geolumen stats", from the built program: categories painted and updated
// on a small picture whose values the test chooses, so the figures can be worked by hand.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "classification/messages.h"
#include "cli_fixture.h"
#include "core/text_format.h"
#include "import/bmp_files.h"

namespace {

using SeparabilityCliTest = CliTest;

TEST_F(SeparabilityCliTest, StatsListEveryPairOfValidCategoriesWithValuesOrAReason) {
  // 40 x 30 (one training pixel needed): band 1 (blue) is x; bands 2 and 3 vary otherwise.
  const std::vector<std::uint8_t> ab = MakeBmp(40, 30, 24, false, [](int x, int y) {
    return static_cast<std::uint32_t>((x * 5 + y) % 90 << 16 | ((x * 7 + y * 3) % 50) << 8 | x);
  });
  const std::string strBmp = PathOf("p.bmp"), strOut = PathOf("stats.json");
  std::ofstream(strBmp, std::ios::binary)
      .write(reinterpret_cast<const char*>(ab.data()), static_cast<long>(ab.size()));
  auto paint = [](int c, std::vector<std::string> astrPoints) {
    std::vector<std::string> astr = {"--category", std::to_string(c), "--train-select"};
    for (const std::string& str : astrPoints) astr.insert(astr.end(), {"--paint", str});
    astr.push_back("--train-update");
    return astr;
  };
  std::vector<std::string> astrArgs = {"stats", "--bmp", strBmp, "--use-bands", "1",
                                       "--dot-size", "1"};
  auto add = [&](const std::vector<std::string>& astr) {
    astrArgs.insert(astrArgs.end(), astr.begin(), astr.end());
  };
  add(paint(1, {"9,0", "11,0"}));           // band 1: 9, 11
  add(paint(2, {"10,1", "12,1", "14,1"}));  // 10, 12, 14
  add(paint(3, {"20,5"}));                  // one pixel
  add(paint(4, {"5,2", "5,3", "5,9"}));     // 5, 5, 5
  add({"--category", "6", "--train-select", "--paint", "30,20"});  // painted, not updated
  ASSERT_EQ(RunProgram(astrArgs, strOut), kExitOk);
  std::ifstream in(strOut);
  const nlohmann::json j = nlohmann::json::parse(in);
  const nlohmann::json& aPairs = j["separability"];
  ASSERT_EQ(aPairs.size(), 6u) << aPairs.dump();

  // Categories 1 and 2: means 10 and 12, variances 2 and 4:
  // B = 4 / 24 + 1/2 ln(6 / (2 sqrt 8)) = 0.196112, JM = 2 (1 - e^-B) = 0.356160;
  // D = 1/2 (2 - 4)(1/4 - 1/2) + 1/2 (1/2 + 1/4) 4 = 1.75, TD = 2000 (1 - e^(-1.75/8)) = 392.955.
  EXPECT_EQ(aPairs[0]["a"], 1);
  EXPECT_EQ(aPairs[0]["b"], 2);
  EXPECT_NEAR(aPairs[0]["jm"].get<double>(), 0.356160, 1e-6);
  EXPECT_NEAR(aPairs[0]["td"].get<double>(), 392.955, 1e-3);
  EXPECT_FALSE(aPairs[0].contains("reason"));

  const std::string strFew = FormatText(kszSepTooFewPixels, 3, 1, 1, 2);
  const std::string strConstant = FormatText(kszSepConstantBand, 4, 1);
  const struct {
    int a, b;
    std::string strReason;
  } aExpected[] = {
      {1, 3, strFew},     {1, 4, strConstant}, {2, 3, strFew},
      {2, 4, strConstant}, {3, 4, strFew + kszSepReasonJoint + strConstant},
  };
  for (std::size_t i = 0; i < 5; ++i) {
    const nlohmann::json& pair = aPairs[i + 1];
    EXPECT_EQ(pair["a"], aExpected[i].a) << i;
    EXPECT_EQ(pair["b"], aExpected[i].b) << i;
    EXPECT_TRUE(pair["jm"].is_null()) << i;
    EXPECT_TRUE(pair["td"].is_null()) << i;
    EXPECT_EQ(pair["reason"], aExpected[i].strReason) << i;
  }
}

}  // namespace
