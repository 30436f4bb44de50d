#include "output/report.h"

#include <map>
#include <string>

#include "core/dialogs.h"
#include "core/state.h"
#include "output/output.h"
#include "support/recording_platform.h"
#include "products/composite_settings.h"
#include "products/coarse_settings.h"
#include "classification/category_settings.h"

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

// The page as a printer gets it: every line at x = 0, its top at row x L, L = step x 10.
TEST_F(ReportTest, PageLinesLieAtTheirRowsForEveryStep) {
  MakeScene(512, 400, 3, Sensor::TmFloppy, [](int, int, int) { return 1; });
  for (int nStep : {5, 7, 50}) {
    g_nPrintStep = nStep;
    CRecordingCanvas canvas;
    DrawReportPage(canvas);
    std::map<int, std::string> mapAt;  // y -> text
    for (const RecordedText& text : canvas.m_aTexts) {
      EXPECT_EQ(text.x, 0);
      mapAt[text.y] = text.strText;
    }
    const int L = nStep * 10;
    EXPECT_EQ(mapAt.at(L), "基本情報") << nStep;
    EXPECT_EQ(mapAt.at(4 * L), "合成画像") << nStep;
    EXPECT_EQ(mapAt.at(13 * L).rfind("Band3 Rank1=", 0), 0u) << nStep;
    for (int nRow = 14; nRow <= 18; ++nRow) EXPECT_EQ(mapAt.count(nRow * L), 0u) << nRow;
    EXPECT_EQ(mapAt.at(46 * L).rfind("Band1:(", 0), 0u) << nStep;  // category 8's ranges
    EXPECT_EQ(canvas.m_aTexts.size(), 2u + 5u + 1u + 3u + 1u + 3u + 1u + 16u);
  }
  EXPECT_EQ(ReportLineHeight(), 500);
}

TEST_F(ReportTest, WithoutDataThePageStillPrintsEveryCategory) {
  CRecordingCanvas canvas;
  DrawReportPage(canvas);
  ASSERT_GE(canvas.m_aTexts.size(), 2u);
  EXPECT_EQ(canvas.m_aTexts[1].strText, "センサNo.20  Ｘ軸：512  Ｙ軸：400  Ｚ軸：0");
  int nCategories = 0;
  for (const RecordedText& text : canvas.m_aTexts) nCategories += text.strText.rfind("Category", 0) == 0;
  EXPECT_EQ(nCategories, 8);
}

TEST_F(ReportTest, PrintStepDialogTakesFiveToFifty) {
  const DialogField& field = kPrintStepDialog.aFields[0];
  EXPECT_EQ(FieldRefusal(field, "4"), RangeMessage(5, 50));
  EXPECT_EQ(FieldRefusal(field, "51"), RangeMessage(5, 50));
  EXPECT_EQ(FieldRefusal(field, "5"), "");
  EXPECT_TRUE(field.bSpin);
  EXPECT_EQ(g_nPrintStep, 7);  // the start value
  m_platform.m_qDialogAnswers.push_back({50});
  RunDialogCommand(kPrintStepDialog);
  EXPECT_EQ(g_nPrintStep, 50);
  RunDialogCommand(kPrintStepDialog);  // cancelled: nothing changes
  EXPECT_EQ(g_nPrintStep, 50);
}
