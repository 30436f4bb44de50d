// The feature-space settings and the two charts from the command line: refused bands exit 2 with
// the dialog's words and change nothing, the settings go through the work file and show in the
// report and "stats", and both charts export as the window area with their legend.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "classification/category_settings.h"
#include "classification/plots.h"
#include "cli_fixture.h"

namespace {

using PlotsCliTest = CliTest;

TEST_F(PlotsCliTest, ScatterBandsAreCheckedAndKeptInTheWorkFile) {
  const std::vector<std::string> astrFiles = FloppyScene(3);
  struct Case {
    std::vector<std::string> astr;
    const char* szMessage;
  };
  const Case aCases[] = {
      {{"--scatter-bands", "9,1"}, "1 から 8 までの整数を入力してください。"},
      {{"--scatter-bands", "2"}, "--scatter-bands"},
      {{"--scatter-bands", "1,4"}, "Band4はこのデータにありません（Band1～Band3）"},
      {{"--scatter-boundaries", "yes"}, "takes on or off"},
  };
  for (const Case& c : aCases) {
    const Run bad = RunHere(Args("stats", astrFiles, c.astr));
    EXPECT_EQ(bad.nStatus, kExitUsage) << c.astr[1];
    EXPECT_NE(bad.strErr.find(c.szMessage), std::string::npos) << bad.strErr;
    EXPECT_TRUE(bad.strOut.empty());
    EXPECT_TRUE(ScatterSettingsAreDefault()) << c.astr[1];
  }

  const std::string strWork = PathOf("plots.glw");
  const Run saved = RunHere(Args("report", astrFiles,
                                 {"--scatter-bands", "2,1", "--scatter-boundaries", "on",
                                  "--save", strWork}));
  ASSERT_EQ(saved.nStatus, kExitOk) << saved.strErr;
  EXPECT_NE(saved.strOut.find("特徴空間：Band2×Band1　決定境界：表示"), std::string::npos);

  const Run loaded = RunHere({"stats", "--workfile", strWork});
  ASSERT_EQ(loaded.nStatus, kExitOk) << loaded.strErr;
  const nlohmann::json scatter = nlohmann::json::parse(loaded.strOut)["scatter"];
  EXPECT_EQ(scatter["band_x"], 2);
  EXPECT_EQ(scatter["band_y"], 1);
  EXPECT_EQ(scatter["boundaries"], true);

  // With the defaults the report has no line for them.
  const Run plain = RunHere(Args("report", astrFiles));
  ASSERT_EQ(plain.nStatus, kExitOk);
  EXPECT_EQ(plain.strOut.find("特徴空間"), std::string::npos);
}

TEST_F(PlotsCliTest, BothChartsExportAsTheWindowAreaWithTheirLegend) {
  if (!GEOLUMEN_HAS_DESKTOP) GTEST_SKIP() << "the charts need the desktop's canvas";
  const std::vector<std::string> astrFiles = FloppyScene(4);
  const std::string strPng = PathOf("chart.png");
  for (const char* szProduct : {"signatures", "scatter"}) {
    SCOPED_TRACE(szProduct);
    ASSERT_EQ(RunProgram(Args("export", astrFiles,
                              {"--category", "2", "--train-select", "--paint-rect", "40,40,60,60",
                               "--train-update", "--scatter-bands", "1,4", "--product", szProduct,
                               "--panel", "--out", strPng})),
              kExitOk);
    const DecodedPng png = ReadStoredPng(strPng);
    EXPECT_EQ(png.nWidth, 512 + kPanelExportExtraColumns);
    EXPECT_EQ(png.nHeight, kPanelExportMinLines);
    // The legend's swatch of category 2 (its colour inside a black border).
    EXPECT_EQ(png.At(514 + 10, 30 + 7), ScreenPixel(255, 85, 255));
  }
}

}  // namespace
