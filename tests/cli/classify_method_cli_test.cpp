// The classification method and reject threshold from the command line: each option is the
// dialog's OK with that value, refused values exit 2 with the dialog's words, and the report
// names them only when they are not the classic ones.
#include <gtest/gtest.h>

#include "classification/category_settings.h"
#include "cli_fixture.h"

namespace {

using ClassifyMethodCliTest = CliTest;

TEST_F(ClassifyMethodCliTest, OptionsSetTheMethodAndRefuseValuesOutOfRange) {
  const std::vector<std::string> astrFiles = FloppyScene(3);
  const Run classic = RunHere(Args("report", astrFiles));
  ASSERT_EQ(classic.nStatus, kExitOk);
  EXPECT_EQ(classic.strOut.find("分類方法"), std::string::npos);

  const Run ml = RunHere(Args("report", astrFiles,
                              {"--reject-distance", "721", "--method", "max-likelihood",
                               "--reject-probability", "2.5"}));
  ASSERT_EQ(ml.nStatus, kExitOk) << ml.strErr;
  EXPECT_EQ(g_nClassifyMethod, kMethodMaximumLikelihood);
  EXPECT_EQ(g_nRejectDistance, 721) << "kept for when the method is minimum distance again";
  EXPECT_EQ(g_nRejectProbability, 4);
  EXPECT_NE(ml.strOut.find("分類方法：最尤法　棄却しきい値：確率 2.5％"), std::string::npos);

  const Run off = RunHere(Args("report", astrFiles,
                               {"--method", "max-likelihood", "--reject-probability", "10",
                                "--reject-off"}));
  ASSERT_EQ(off.nStatus, kExitOk);
  EXPECT_EQ(g_nRejectProbability, 0);
  EXPECT_NE(off.strOut.find("分類方法：最尤法\n"), std::string::npos);

  struct Case {
    std::vector<std::string> astr;
    const char* szMessage;
  };
  const Case aCases[] = {
      {{"--reject-distance", "0"}, "1 から 721 までの整数を入力してください。"},
      {{"--reject-distance", "722"}, "1 から 721 までの整数を入力してください。"},
      {{"--reject-probability", "3"}, "takes 0.1, 0.5, 1, 2.5, 5 or 10"},
      {{"--method", "nearest"}, "takes min-distance or max-likelihood"},
  };
  for (const Case& c : aCases) {
    const Run bad = RunHere(Args("report", astrFiles, c.astr));
    EXPECT_EQ(bad.nStatus, kExitUsage) << c.astr[0];
    EXPECT_NE(bad.strErr.find(c.szMessage), std::string::npos) << bad.strErr;
  }
}

}  // namespace
