#include "cli/cli.h"

#include <string>
#include <vector>

#include "cli/cli_fixture.h"
#include "cli/headless_platform.h"
#include "core/commands.h"
#include "core/state.h"
#include "products/composite.h"

TEST_F(CliTest, UsageErrorsExitWithTwoAndSayWhy) {
  const struct {
    std::vector<std::string> astrArgs;
    const char* szReason;
  } aCases[] = {
      {{"export", "--tm", "b1", "--out", "x.png"}, "export needs --product"},
      {{"export", "--tm", "b1", "--product", "coarse"}, "export needs --out"},
      {{"report"}, "no scene given"},
      {{"report", "--tm", "a", "--mss", "b"}, "only one scene"},
      {{"report", "--tm"}, "--tm needs at least one band file"},
      {{"report", "--tm", "1", "2", "3", "4", "5", "6", "7", "8", "9"}, "at most 8 band files"},
      {{"report", "--ceos", "a", "--size", "640x480"}, "--size must be"},
      {{"report", "--tm", "a", "--rgb-library", "7"}, "--rgb-library takes a number from 1 to 6"},
      {{"report", "--tm", "a", "--red"}, "--red needs a value"},
      {{"report", "--tm", "a", "--rank-values", "1,2,3"}, "--rank-values takes 8"},
      {{"report", "--tm", "a", "--band-values", "1,2,3,0,9,0,9,0,9,2"}, "LINK must be 0 or 1"},
      {{"report", "--tm", "a", "--panel"}, "unknown option '--panel'"},
      {{"frobnicate"}, "unknown command"},
  };
  for (const auto& c : aCases) {
    const Run run = RunHere(c.astrArgs);
    EXPECT_EQ(run.nStatus, kExitUsage) << c.szReason;
    EXPECT_NE(run.strErr.find(c.szReason), std::string::npos) << run.strErr;
    EXPECT_EQ(g_nDisplayMode, kModeNoData) << "nothing may run after a usage error";
  }
  const Run help = RunHere({"--help"});
  EXPECT_EQ(help.nStatus, kExitOk);
  EXPECT_NE(help.strOut.find("geolumen export SCENE"), std::string::npos);
}

TEST_F(CliTest, DialogRefusalsUseTheDialogsOwnMessageBeforeAnythingRuns) {
  const std::vector<std::string> astrFiles = FloppyScene(3);
  const struct {
    std::vector<std::string> astrSetting;
    const char* szMessage;
  } aCases[] = {
      {{"--cutoff", "50"}, "Geolumen: 0 から 49 までの整数を入力してください。\n"},
      {{"--cutoff", "x"}, "Geolumen: 0 から 49 までの整数を入力してください。\n"},
      {{"--band-values", "1,2,9,0,255,0,255,0,255"}, "Geolumen: 1 から 8 までの整数を入力してください。\n"},
      {{"--band-values", "1,2,3,255,255,0,255,0,255"}, "Geolumen: 0 から 254 までの整数を入力してください。\n"},
      {{"--band-values", "1,2,3,0,0,0,255,0,255,1"}, "Geolumen: 1 から 255 までの整数を入力してください。\n"},
      {{"--rank-values", "0,1,2,3,4,5,6,7"}, "Geolumen: 1 から 8 までの整数を入力してください。\n"},
      {{"--rank-values", "2,10,20,3.5,40,50,60,70"}, "Geolumen: 整数を入力してください。\n"},
      {{"--point-values", "1,10,20,30,40,50,60,"}, "Geolumen: 整数を入力してください。\n"},
  };
  for (const auto& c : aCases) {
    const Run run = RunHere(With(With({"report"}, SceneArgs(astrFiles)), c.astrSetting));
    EXPECT_EQ(run.nStatus, kExitUsage) << c.astrSetting[1];
    EXPECT_EQ(run.strErr, c.szMessage);
    EXPECT_EQ(g_nDisplayMode, kModeNoData) << "the scene is not loaded when a value is refused";
  }
  // Values outside the range that only matter in combination pass the dialog: bounds of ranks
  // are plain integers, negative ones included.
  const Run run = RunHere(With(With({"report"}, SceneArgs(astrFiles)),
                               {"--rank-values", "2,-5,20,30,40,50,60,300"}));
  EXPECT_EQ(run.nStatus, kExitOk) << run.strErr;
}

TEST_F(CliTest, FailedImportExitsWithThreeAfterTheDriversMessages) {
  const std::vector<std::string> astrFiles = FloppyScene(2);
  const Run run = RunHere({"report", "--mss", astrFiles[0], PathOf("missing.dat")});
  EXPECT_EQ(run.nStatus, kExitImportFailed);
  EXPECT_EQ(run.strErr,
            "Error in Band2: ファイルをオープンできません\n"
            "Error in This Data: ファイル構成を確認して下さい。再度の読み込みが必要です\n");
  EXPECT_EQ(run.strOut, "");

  // A CD-ROM scene without a size goes to the driver, which says so.
  const Run noSize = RunHere({"report", "--etm6921", astrFiles[0]});
  EXPECT_EQ(noSize.nStatus, kExitImportFailed);
  EXPECT_EQ(noSize.strErr.rfind("Error in No Sensor: 表示サイズの指定がありません\n", 0), 0u)
      << noSize.strErr;
}

TEST_F(CliTest, SettingsApplyInOrderAsTheirCommandsDo) {
  const std::vector<std::string> astrFiles = FloppyScene(4);
  // A library and then a band change: the band's own cut-off.
  Run run = RunHere(With(With({"report"}, SceneArgs(astrFiles)),
                         {"--cutoff", "10", "--true-colour", "--red", "4"}));
  ASSERT_EQ(run.nStatus, kExitOk) << run.strErr;
  const int nRedBand = g_nRedBand, nRedLower = g_nRedLower, nRedUpper = g_nRedUpper;
  EXPECT_EQ(nRedBand, 4);
  LoadDirectly(astrFiles);
  g_nCutOffRate = 10;
  g_nRedBand = 4;
  ComputeCutOff(Component::Red);
  EXPECT_EQ(nRedLower, g_nRedLower);
  EXPECT_EQ(nRedUpper, g_nRedUpper);
  EXPECT_NE(run.strOut.find("赤の下限値：" + std::to_string(g_nRedLower) +
                            "  上限値：" + std::to_string(g_nRedUpper) + "\n"),
            std::string::npos)
      << run.strOut;

  // The other way round the library wins.
  run = RunHere(With(With({"report"}, SceneArgs(astrFiles)), {"--red", "4", "--true-colour"}));
  ASSERT_EQ(run.nStatus, kExitOk);
  EXPECT_EQ(g_nRedBand, 3);

  // A band item of a band that is not loaded is a disabled menu item.
  const std::vector<std::string> astrThree(astrFiles.begin(), astrFiles.begin() + 3);
  run = RunHere(With(With({"report"}, SceneArgs(astrThree)), {"--red", "4"}));
  EXPECT_EQ(run.nStatus, kExitUsage);
  EXPECT_NE(run.strErr.find("--red 4 is not available"), std::string::npos) << run.strErr;

  // A dialog's warning for a band not loaded goes to stderr, answered OK.
  run = RunHere(With(With({"report"}, SceneArgs(astrThree)), {"--rank-values", "5,1,2,3,4,5,6,7"}));
  EXPECT_EQ(run.nStatus, kExitOk);
  EXPECT_EQ(run.strErr, "Warning in PseudoBand: バンドがありません。\n");
  EXPECT_EQ(g_nCoarseBand, 3);
  EXPECT_EQ(g_anRankUpper[1][5], 1);
  // The dialog commands get their command-line handlers only while a run lasts.
  EXPECT_EQ(FindCommand(ID_COARSE_BAND_VALUE)->pfnHandler, nullptr);
}


TEST(HeadlessPlatformTest, EveryMessageIsOneLineAnsweredOk) {
  std::ostringstream err;
  CHeadlessPlatform platform(err);
  EXPECT_EQ(platform.MessageBox("一行目\r\n二行目", "Warning in Test", MsgButtons::OkCancel),
            MsgResult::Ok);
  EXPECT_EQ(platform.MessageBox("text", "Cap", MsgButtons::Ok), MsgResult::Ok);
  EXPECT_EQ(err.str(), "Warning in Test: 一行目 二行目\nCap: text\n");
}
