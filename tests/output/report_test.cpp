#include "output/report.h"

#include <map>
#include <string>

#include "core/state.h"
#include "support/recording_platform.h"

using ReportTest = LogicTest;

TEST_F(ReportTest, KnownSceneGivesItsLinesAndNoneForBandsNotPresent) {
  MakeScene(512, 400, 3, Sensor::TmFloppy, [](int x, int y, int b) { return (x + y * b) & 0xFF; });
  g_nRedLower = 12;
  g_nRedUpper = 200;
  g_anRankUpper[4][2] = 99;
  g_anCatLower[2][7] = 17;
  g_anCatUpper[8][7] = 230;
  std::map<int, std::string> mapText;
  for (const ReportLine& line : ReportLines()) mapText[line.nRow] = line.strText;
  EXPECT_EQ(mapText.at(2), "センサNo.1  Ｘ軸：512  Ｙ軸：400  Ｚ軸：3");
  EXPECT_EQ(mapText.at(6), "赤の下限値：12  上限値：200");
  EXPECT_EQ(mapText.at(12), "Band2 Rank1=30 R.2=60 R.3=90 R.4=99 R.5=150 R.6=180 R.7=210 R.8=255");
  EXPECT_EQ(mapText.count(14), 0u);  // coarse and fine lines only for bands 1 to 3
  EXPECT_EQ(mapText.count(24), 0u);
  EXPECT_EQ(mapText.at(43), "Category7");
  EXPECT_EQ(mapText.at(44),
            "Band1:(0～0) 2:(17～0) 3:(0～0) 4:(0～0) 5:(0～0) 6:(0～0) 7:(0～0) 8:(0～230)");
}
