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
  std::vector<std::string> astrArgs = {"stats", "--bmp", strBmp, "--use-bands", "1",
                                       "--dot-size", "1"};
  // Category c: its pixels painted, then updated unless bUpdate is false.
  auto train = [&](int c, std::vector<std::string> astrPoints, bool bUpdate = true) {
    astrArgs.insert(astrArgs.end(), {"--category", std::to_string(c), "--train-select"});
    for (const std::string& str : astrPoints) astrArgs.insert(astrArgs.end(), {"--paint", str});
    if (bUpdate) astrArgs.push_back("--train-update");
  };
  train(1, {"9,0", "11,0"});           // band 1: 9, 11
  train(2, {"10,1", "12,1", "14,1"});  // 10, 12, 14
  train(3, {"20,5"});                  // one pixel
  train(6, {"30,20"}, false);          // not valid
  ASSERT_EQ(RunProgram(astrArgs, strOut), kExitOk);
  std::ifstream in(strOut);
  const nlohmann::json j = nlohmann::json::parse(in);
  const nlohmann::json& aPairs = j["separability"];
  ASSERT_EQ(aPairs.size(), 3u) << aPairs.dump();

  // Categories 1 and 2: means 10 and 12, variances 2 and 4:
  // B = 4 / 24 + 1/2 ln(6 / (2 sqrt 8)) = 0.196112, JM = 2 (1 - e^-B) = 0.356160;
  // D = 1/2 (2 - 4)(1/4 - 1/2) + 1/2 (1/2 + 1/4) 4 = 1.75, TD = 2000 (1 - e^(-1.75/8)) = 392.955.
  EXPECT_EQ(aPairs[0]["a"], 1);
  EXPECT_EQ(aPairs[0]["b"], 2);
  EXPECT_NEAR(aPairs[0]["jm"].get<double>(), 0.356160, 1e-6);
  EXPECT_NEAR(aPairs[0]["td"].get<double>(), 392.955, 1e-3);
  EXPECT_FALSE(aPairs[0].contains("reason"));

  const std::string strFew = FormatText(kszSepTooFewPixels, 3, 1, 1, 2);
  for (std::size_t i = 1; i < 3; ++i) {
    const nlohmann::json& pair = aPairs[i];
    EXPECT_EQ(pair["a"], i);
    EXPECT_EQ(pair["b"], 3);
    EXPECT_TRUE(pair["jm"].is_null() && pair["td"].is_null()) << pair.dump();
    EXPECT_EQ(pair["reason"], strFew);
  }
}

}  // namespace
