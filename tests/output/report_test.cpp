#include <string>
#include <vector>

#include "core/state.h"
#include "output/report.h"
#include "support/recording_platform.h"

using ReportTest = LogicTest;

namespace {

const ReportLine* LineAt(const std::vector<ReportLine>& aLines, int nRow) {
  for (const ReportLine& line : aLines) {
    if (line.nRow == nRow) return &line;
  }
  return nullptr;
}

}  // namespace

TEST_F(ReportTest, WithoutDataTheReportStillPrintsTheHeadingsAndCategories) {
  const std::vector<ReportLine> aLines = ReportLines();
  EXPECT_EQ(ReportLineHeight(), 70);
  ASSERT_NE(LineAt(aLines, 2), nullptr);
  EXPECT_EQ(LineAt(aLines, 2)->strText, "センサNo.20  Ｘ軸：512  Ｙ軸：400  Ｚ軸：0");
  // No band lines; headings and the 8 categories with two lines each.
  EXPECT_EQ(aLines.size(), 2u + 5u + 1u + 1u + 1u + 16u);
  for (int nRow = 11; nRow <= 18; ++nRow) EXPECT_EQ(LineAt(aLines, nRow), nullptr);
  EXPECT_EQ(LineAt(aLines, 46)->strText,
            "Band1:(0～0) 2:(0～0) 3:(0～0) 4:(0～0) 5:(0～0) 6:(0～0) 7:(0～0) 8:(0～0)");
}

TEST_F(ReportTest, KnownSceneGivesEveryLineInOrder) {
  MakeScene(512, 400, 3, kSensorTmFloppy, [](int x, int y, int b) { return (x + y * b) & 0xFF; });
  g_nCutOffRate = 5;
  g_nRedLower = 12;
  g_nRedUpper = 200;
  g_anRankUpper[4][2] = 99;
  g_anFinePoint[9][3] = 250;
  g_anCatLower[2][7] = 17;
  g_anCatUpper[8][7] = 230;
  g_nPrintStep = 12;

  const std::vector<ReportLine> aLines = ReportLines();
  const std::vector<ReportLine> aExpected = {
      {1, "基本情報"},
      {2, "センサNo.1  Ｘ軸：512  Ｙ軸：400  Ｚ軸：3"},
      {4, "合成画像"},
      {5, "上下限切り捨て率：5"},
      {6, "赤の下限値：12  上限値：200"},
      {7, "緑の下限値：0  上限値：255"},
      {8, "青の下限値：0  上限値：255"},
      {10, "粗画像"},
      {11, "Band1 Rank1=30 R.2=60 R.3=90 R.4=120 R.5=150 R.6=180 R.7=210 R.8=255"},
      {12, "Band2 Rank1=30 R.2=60 R.3=90 R.4=99 R.5=150 R.6=180 R.7=210 R.8=255"},
      {13, "Band3 Rank1=30 R.2=60 R.3=90 R.4=120 R.5=150 R.6=180 R.7=210 R.8=255"},
      {20, "精画像"},
      {21, "Band1 Point1=0 P.2=31 P.3=63 P.4=95 P.5=127 P.6=159 P.7=191 P.8=223 P.9=255"},
      {22, "Band2 Point1=0 P.2=31 P.3=63 P.4=95 P.5=127 P.6=159 P.7=191 P.8=223 P.9=255"},
      {23, "Band3 Point1=0 P.2=31 P.3=63 P.4=95 P.5=127 P.6=159 P.7=191 P.8=223 P.9=250"},
      {30, "カテゴリー画像"},
  };
  ASSERT_EQ(aLines.size(), aExpected.size() + 16);
  for (std::size_t i = 0; i < aExpected.size(); ++i) {
    EXPECT_EQ(aLines[i].nRow, aExpected[i].nRow) << i;
    EXPECT_EQ(aLines[i].strText, aExpected[i].strText) << i;
  }
  EXPECT_EQ(LineAt(aLines, 43)->strText, "Category7");
  EXPECT_EQ(LineAt(aLines, 44)->strText,
            "Band1:(0～0) 2:(17～0) 3:(0～0) 4:(0～0) 5:(0～0) 6:(0～0) 7:(0～0) 8:(0～230)");
  EXPECT_EQ(aLines.back().nRow, 46);
  EXPECT_EQ(ReportLineHeight(), 120);
}
