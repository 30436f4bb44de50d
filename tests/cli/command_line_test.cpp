#include <nlohmann/json.hpp>

#include "cli/cli.h"

#include <fstream>
#include <string>
#include <vector>

#include "cli/cli_fixture.h"
#include "core/commands.h"
#include "resources/resource.h"
#include "core/state.h"
#include "import/bmp_files.h"
#include "import/ndvi.h"
#include "products/composite.h"
#include "histograms/histogram_settings.h"
#include "classification/category_settings.h"

TEST_F(CliTest, RefusedRunsGiveTheirStatusAndMessages) {
  const std::vector<std::string> f = FloppyScene(3);
  const std::string strMissing = PathOf("missing.dat");
  // The most likely first mistake: band data without its 512-byte header record.
  const std::string strNoHeader = PathOf("noheader.dat");
  std::ofstream(strNoHeader, std::ios::binary).write(std::string(204800, '\x40').data(), 204800);
  const struct {
    int nStatus;
    std::vector<std::string> astrArgs;
    std::string strErr;  // what stderr holds (part of it for usage errors)
  } aCases[] = {
      {kExitUsage, {"export", "--tm", f[0], "--out", "x.png"},
       "export needs --product composite|coarse|fine|category|training|classification"},
      {kExitUsage, Args("export", f, {"--product", "pie", "--out", "x.png"}),
       "--product must be composite, coarse, fine, category, training, classification, distance, signatures, scatter or histogram"},
      {kExitUsage, Args("report", f, {"--rgb-library", "7"}), "takes a number from 1 to 6"},
      {kExitUsage, Args("report", f, {"--panel"}), "unknown option '--panel'"},
      {kExitUsage, Args("report", f, {"--hist-line-width", "2,4"}),
       "Geolumen: 1 から 3 までの整数を入力してください。\n"},
      {kExitUsage, Args("export", f, {"--product", "histogram", "--out", "h.tif"}),
       "the histogram picture is written as PNG only"},
      // Values a dialog refuses, with the dialog's own message; nothing runs.
      {kExitUsage, Args("report", f, {"--cutoff", "50"}),
       "Geolumen: 0 から 49 までの整数を入力してください。\n"},
      {kExitUsage, Args("report", f, {"--rank-values", "2,10,20,3.5,40,50,60,70"}),
       "Geolumen: 整数を入力してください。\n"},
      // The command line lists the three bands first, but the fields are checked in the
      // dialog's order, row by row: the red lower value before the green band.
      {kExitUsage, Args("report", f, {"--band-values", "3,9,1,300,200,0,255,0,255"}),
       "Geolumen: 0 から 254 までの整数を入力してください。\n"},
      {kExitUsage, Args("report", f, {"--band-values", "3,2,1,0,200,0,255,0,255,2"}),
       "--band-values: LINK must be 0 or 1"},
      {kExitUsage, Args("report", f, {"--point-values", "2,1,2,3"}),
       "--point-values takes 8 comma-separated values"},
      // Rank bounds are plain integers; a band not loaded is only a warning, answered OK.
      {kExitOk, Args("report", f, {"--rank-values", "2,-5,20,30,40,50,60,300"}), ""},
      {kExitOk, Args("report", f, {"--rank-values", "5,1,2,3,4,5,6,7"}),
       "Warning in PseudoBand: バンドがありません。\n"},
      {kExitImportFailed, {"report", "--mss", f[0], strMissing},
       "Error in Band2: ファイルをオープンできません\n"
       "Error in This Data: ファイル構成を確認して下さい。再度の読み込みが必要です\n"},
      {kExitImportFailed, {"report", "--mss", f[0], strNoHeader},
       "Band2: " + strNoHeader + " has 204,800 bytes; it needs 205,312 (a 512-byte header "
       "record and 400 lines of 512 bytes)\n"
       "Error in This Data: ファイル構成を確認して下さい。再度の読み込みが必要です\n"},
  };
  for (const auto& c : aCases) {
    const Run run = RunHere(c.astrArgs);
    EXPECT_EQ(run.nStatus, c.nStatus) << c.strErr;
    if (c.nStatus == kExitUsage) {
      EXPECT_NE(run.strErr.find(c.strErr), std::string::npos) << run.strErr;
      EXPECT_EQ(g_nDisplayMode, DisplayMode::NoData) << "nothing may run after " << c.strErr;
    } else {
      EXPECT_EQ(run.strErr, c.strErr);
    }
  }
}

TEST_F(CliTest, HistogramSettingsRunAsTheirCommands) {
  const std::vector<std::string> f = FloppyScene(3);
  // The cursor is a click on the chart: refused while a picture is shown.
  Run run = RunHere(Args("report", f, {"--true-colour", "--hist-cursor", "20"}));
  EXPECT_EQ(run.nStatus, kExitUsage);
  EXPECT_NE(run.strErr.find("--hist-cursor needs the detailed histogram shown"), std::string::npos)
      << run.strErr;
  run = RunHere(Args("report", f, {"--hist-line-colour", "4,1,2,3"}));
  EXPECT_EQ(run.nStatus, kExitUsage) << "band 4 is not loaded";
  run = RunHere(Args("stats", f,
                     {"--hist-type", "all", "--hist-scale", "single", "--hist-kind", "coarse",
                      "--hist-line-colour", "2,1,2,3", "--hist-line-width", "3,2",
                      "--hist-cursor", "77"}));
  ASSERT_EQ(run.nStatus, kExitOk) << run.strErr;
  EXPECT_EQ(g_nDisplayMode, DisplayMode::DetailedHistogram);
  EXPECT_EQ(g_nHistKind, 1);
  EXPECT_EQ(g_nHistType, 1);
  EXPECT_EQ(g_nHistScale, 1);
  EXPECT_EQ(g_acrHistLineColour[2], Rgb(1, 2, 3));
  EXPECT_EQ(g_anHistLineWidth[3], 2);
  EXPECT_EQ(g_nHistCursor, 77);
  EXPECT_EQ(nlohmann::json::parse(run.strOut)["histogram"]["kind"], "coarse") << run.strOut;
}

TEST_F(CliTest, WorkFilesFromTheCommandLine) {
  const std::vector<std::string> f = FloppyScene(4);
  const std::string strWork = PathOf("work.glw"), strSettings = PathOf("settings.glw");
  Run run = RunHere(Args("report", f,
                         {"--false-colour", "--cutoff", "9", "--user-name", "測量 太郎",
                          "--save", strWork, "--save-sections", "composite,histogram", "--save",
                          strSettings}));
  ASSERT_EQ(run.nStatus, kExitOk) << run.strErr;

  // The work file as the scene: data, texts and settings come back.
  run = RunHere({"stats", "--workfile", strWork});
  ASSERT_EQ(run.nStatus, kExitOk) << run.strErr;
  EXPECT_EQ(g_nCutOffRate, 9);
  EXPECT_EQ(g_nLastBand, 3);
  const nlohmann::json j = nlohmann::json::parse(run.strOut);
  EXPECT_EQ(j["user_texts"].get<std::vector<std::string>>(),
            (std::vector<std::string>{"測量 太郎", "", "", ""}));
  EXPECT_EQ(j["band_headers"][0].get<std::string>().substr(0, 2), " \x01")
      << "the header bytes of band 1 as its page shows them";

  // Settings over a scene of the same size; refused over one with fewer bands (exit 3).
  run = RunHere(Args("stats", f, {"--open-workfile", strSettings}));
  EXPECT_EQ(run.nStatus, kExitOk) << run.strErr;
  EXPECT_EQ(g_nCutOffRate, 9);
  run = RunHere(Args("stats", {f.begin(), f.begin() + 3}, {"--open-workfile", strSettings}));
  EXPECT_EQ(run.nStatus, kExitImportFailed);
  EXPECT_NE(run.strErr.find("This File is not Query and Palette"), std::string::npos) << run.strErr;
  // A settings-only file as the scene: there is no data to show (exit 3, the message on stderr).
  run = RunHere({"stats", "--workfile", strSettings});
  EXPECT_EQ(run.nStatus, kExitImportFailed);
  EXPECT_NE(run.strErr.find("This File is No Data: このファイルにはデータが含まれていません。 先に"),
            std::string::npos)
      << "a line break becomes a blank: " << run.strErr;
  run = RunHere(Args("report", f, {"--save-sections", "data,pie"}));
  EXPECT_EQ(run.nStatus, kExitUsage);
}

TEST_F(CliTest, SettingsApplyInOrderAsTheirCommandsDo) {
  const std::vector<std::string> astrFiles = FloppyScene(4);
  // A library and then a band change: the band's own cut-off.
  Run run = RunHere(Args("report", astrFiles, {"--cutoff", "10", "--true-colour", "--red", "4"}));
  ASSERT_EQ(run.nStatus, kExitOk) << run.strErr;
  LoadDirectly(astrFiles);
  g_nCutOffRate = 10;
  g_nRedBand = 4;
  ComputeCutOff(Component::Red);
  EXPECT_NE(run.strOut.find("赤の下限値：" + std::to_string(g_nRedLower) + "  上限値：" +
                            std::to_string(g_nRedUpper) + "\n"),
            std::string::npos)
      << run.strOut;

  // The other way round the library wins.
  run = RunHere(Args("report", astrFiles, {"--red", "4", "--true-colour"}));
  ASSERT_EQ(run.nStatus, kExitOk);
  EXPECT_EQ(g_nRedBand, 3);
  // A band item of a band that is not loaded is a disabled menu item.
  run = RunHere(Args("report", {astrFiles.begin(), astrFiles.begin() + 3}, {"--red", "4"}));
  EXPECT_EQ(run.nStatus, kExitUsage);
  EXPECT_NE(run.strErr.find("--red 4 is not available"), std::string::npos) << run.strErr;
}

TEST_F(CliTest, TrainingClassificationAndStatsFromTheCommandLine) {
  const std::vector<std::string> f = FloppyScene(4);
  // Clicks paint only in the training area; values a menu does not have are usage errors.
  Run run = RunHere(Args("report", f, {"--paint", "10,10"}));
  EXPECT_EQ(run.nStatus, kExitUsage);
  EXPECT_NE(run.strErr.find("--paint 10,10 is not available"), std::string::npos) << run.strErr;
  run = RunHere(Args("report", f, {"--dot-size", "5"}));
  EXPECT_EQ(run.nStatus, kExitUsage);
  EXPECT_NE(run.strErr.find("--dot-size takes 1, 4, 9 or 16"), std::string::npos);
  run = RunHere(Args("report", f, {"--train-background", "previous"}));  // no valid category
  EXPECT_EQ(run.nStatus, kExitUsage);

  // Three categories painted, updated and classified; the stats say so.
  run = RunHere(Args("stats", f,
                     {"--train-select", "--dot-size", "16", "--paint-rect", "20,20,40,40",
                      "--train-update", "--category", "2", "--paint-rect", "300,200,330,230",
                      "--erase", "330,230", "--train-update", "--category-name", "2,森, 林",
                      "--use-bands", "1,2,3", "--train-select", "--category", "1",
                      "--train-update", "--category", "2", "--train-update",
                      "--classify-categories", "1,2", "--category-colour", "1,2,3",
                      "--classify"}));
  ASSERT_EQ(run.nStatus, kExitOk) << run.strErr;
  // Changing the bands used invalidated both; the message was answered OK.
  EXPECT_NE(run.strErr.find("処理: 使用するバンドを変更したことにより各カテゴリーに対する "),
            std::string::npos)
      << run.strErr;
  EXPECT_EQ(g_bClassified, 1);
  EXPECT_EQ(g_astrCategoryName[2], "森, 林");
  EXPECT_EQ(g_acrCategoryColour[2], Rgb(1, 2, 3));
  EXPECT_EQ(g_aPixel[330][230].abTrainMark[1], 0);
  EXPECT_EQ(g_aPixel[327][227].abTrainMark[1], 1);  // the erased dot was 328..331
  EXPECT_EQ(g_anClassCount[1] + g_anClassCount[2], 512u * 400u);
  const nlohmann::json j = nlohmann::json::parse(run.strOut);
  EXPECT_EQ(j["classified"], true);
  EXPECT_EQ(j["bands_in_use"].get<std::vector<int>>(), (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(j["categories"][1]["name"], "森, 林");
}

TEST_F(CliTest, AReopenedWorkFileNeedsOneUpdateOfAllCategories) {
  const std::vector<std::string> f = FloppyScene(4);
  const std::string strWork = PathOf("marks.glw");
  // Marks of categories 1, 2 and 4, 576 pixels each (204 are required).
  Run run = RunHere(Args("report", f,
                         {"--train-select", "--dot-size", "16", "--paint-rect", "20,20,40,40",
                          "--category", "2", "--paint-rect", "300,200,320,220", "--category",
                          "4", "--paint-rect", "100,300,120,320", "--save", strWork}));
  ASSERT_EQ(run.nStatus, kExitOk) << run.strErr;
  std::vector<std::string> astr = {"stats", "--workfile", strWork, "--category", "3",
                                   "--train-select"};
  const std::vector<std::string> astrClassify = {"--classify-categories", "1,2,4", "--classify"};
  // Read back, no category is valid, and the classification cannot be generated.
  std::vector<std::string> astrNoUpdate = astr;
  astrNoUpdate.insert(astrNoUpdate.end(), astrClassify.begin(), astrClassify.end());
  run = RunHere(astrNoUpdate);
  ASSERT_EQ(run.nStatus, kExitOk) << run.strErr;
  EXPECT_EQ(g_bClassified, 0);

  astr.push_back("--train-update-all");
  run = RunHere(astr);
  ASSERT_EQ(run.nStatus, kExitOk) << run.strErr;
  EXPECT_EQ(g_nCategory, 3);
  for (int c = 1; c <= 8; ++c) {
    EXPECT_EQ(g_abCategoryValid[c] == 1, c == 1 || c == 2 || c == 4) << c;
    EXPECT_EQ(g_anTrainCount[c], c == 1 || c == 2 || c == 4 ? 576 : 0) << c;
  }
  astr.insert(astr.end(), astrClassify.begin(), astrClassify.end());
  run = RunHere(astr);
  ASSERT_EQ(run.nStatus, kExitOk) << run.strErr;
  EXPECT_EQ(g_bClassified, 1);
  EXPECT_EQ(g_anClassCount[1] + g_anClassCount[2] + g_anClassCount[4], 512u * 400u);
}

TEST_F(CliTest, BmpPicturesAndTheVegetationIndexFromTheCommandLine) {
  const std::vector<std::uint8_t> ab =
      MakeBmp(6, 4, 24, false, [](int x, int y) { return static_cast<std::uint32_t>(x << 16 | y); });
  const std::string strBmp = PathOf("p.bmp"), strBad = PathOf("bad.bmp");
  std::ofstream(strBmp, std::ios::binary).write(reinterpret_cast<const char*>(ab.data()), static_cast<long>(ab.size()));
  std::ofstream(strBad, std::ios::binary) << "not a picture at all";

  Run run = RunHere({"stats", "--bmp", strBmp});
  ASSERT_EQ(run.nStatus, kExitOk) << run.strErr;
  EXPECT_EQ(g_nMaxX, 5);
  EXPECT_EQ(g_aPixel[5][3].abBand[2], 5);  // red
  EXPECT_EQ(g_aPixel[5][3].abBand[0], 3);  // blue
  // No band files behind a picture: scrolling is disabled (exit 2), a bad file exits 3.
  run = RunHere({"stats", "--bmp", strBmp, "--scroll", "top-left"});
  EXPECT_EQ(run.nStatus, kExitUsage);
  run = RunHere({"stats", "--bmp", strBad});
  EXPECT_EQ(run.nStatus, kExitImportFailed);
  EXPECT_NE(run.strErr.find("Geolumen: Invalid bitmap file"), std::string::npos) << run.strErr;

  // Band 8 from a seven-band scene; a second --ndvi gets the warning and changes nothing.
  run = RunHere(Args("stats", FloppyScene(7), {"--ndvi"}));
  ASSERT_EQ(run.nStatus, kExitOk) << run.strErr;
  EXPECT_EQ(g_nLastBand, 7);
  EXPECT_EQ(g_aPixel[3][2].abBand[7], NdviValue(g_aPixel[3][2].abBand[2], g_aPixel[3][2].abBand[3]));
  EXPECT_EQ(nlohmann::json::parse(run.strOut)["bands"], 8);
  run = RunHere(Args("stats", FloppyScene(7), {"--ndvi", "--ndvi"}));
  EXPECT_NE(run.strErr.find("Warning in Landsat TM: 全バンド（Band1～7）が必要です"), std::string::npos)
      << run.strErr;
  EXPECT_EQ(g_nLastBand, 7);
}

TEST_F(CliTest, ACeosSceneTakesSevenBandFilesAtMost) {
  std::vector<std::string> astrArgs = {"report", "--ceos"};
  for (int b = 1; b <= 8; ++b) astrArgs.push_back(PathOf("missing" + std::to_string(b)));
  const Run run = RunHere(astrArgs);
  EXPECT_EQ(run.nStatus, kExitUsage);
  EXPECT_NE(run.strErr.find("--ceos takes at most 7 band files"), std::string::npos) << run.strErr;
}
