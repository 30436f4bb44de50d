// "geolumen accuracy": the matrix of the window's classification against its test pixels,
// counted again here from the plane the run left, the CSV beside it, and the refusals.
#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>

#include "classification/category_settings.h"
#include "cli_fixture.h"

namespace {

using AccuracyCliTest = CliTest;

TEST_F(AccuracyCliTest, TheMatrixCountsTheTestPixelsByTheirClassAndReference) {
  const std::vector<std::string> astrFiles = FloppyScene(3);
  const std::vector<std::string> astrTrain = {
      "--category", "1", "--train-select", "--paint-rect", "20,20,40,40",
      "--category", "2", "--train-select", "--paint-rect", "300,200,320,220",
      "--area", "test", "--paint-rect", "400,300,420,320",
      "--category", "1", "--train-select", "--paint-rect", "60,60,80,70",
      "--area", "training", "--train-update-all", "--classify-categories", "1,2", "--classify"};
  std::vector<std::string> astr = astrTrain;
  astr.insert(astr.end(), {"--csv", PathOf("acc.csv")});
  const Run run = RunHere(Args("accuracy", astrFiles, astr));
  ASSERT_EQ(run.nStatus, kExitOk) << run.strErr;

  std::uint64_t aan[10][9] = {};
  for (int x = 0; x < WindowWidth(); ++x)
    for (int y = 0; y < WindowHeight(); ++y)
      for (int c = 0; c < 8; ++c)
        if (g_aPixel[x][y].abTrainMark[c] == kTestMark) ++aan[g_aPixel[x][y].bClassifyClass + 1][c + 1];
  const nlohmann::json json = nlohmann::json::parse(run.strOut);
  std::uint64_t nTotal = 0;
  for (int r = 1; r <= 9; ++r) {
    for (int c = 1; c <= 8; ++c) {
      EXPECT_EQ(json["matrix"][r - 1][c - 1].get<std::uint64_t>(), aan[r][c]) << r << "," << c;
      nTotal += aan[r][c];
    }
  }
  EXPECT_GT(nTotal, 0u);
  EXPECT_EQ(json["test_pixels"][0].get<std::uint64_t>() + json["test_pixels"][1].get<std::uint64_t>(), nTotal);
  EXPECT_TRUE(std::filesystem::exists(PathOf("acc.csv")));

  // Without a classification, and without test pixels: the message and no output.
  const Run early = RunHere(Args("accuracy", astrFiles, {"--train-select"}));
  EXPECT_EQ(early.nStatus, kExitUsage);
  EXPECT_NE(early.strErr.find("needs a generated classification"), std::string::npos);
  ResetProgramState();  // the marks of the runs before go
  const Run none = RunHere(Args("accuracy", astrFiles, {"--category", "1", "--train-select",
                                                        "--paint-rect", "20,20,40,40",
                                                        "--train-update", "--classify-categories",
                                                        "1", "--classify"}));
  EXPECT_EQ(none.nStatus, kExitUsage);
  EXPECT_NE(none.strErr.find("needs test areas"), std::string::npos);
  EXPECT_EQ(none.strOut, "");
}

}  // namespace
