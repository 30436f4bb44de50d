// The accuracy window: the matrix with the categories that take part, the unclassified row only
// when pixels were left unclassified, totals, and the figures; without test pixels, the message.
#include <QLabel>
#include <QTableWidget>
#include <gtest/gtest.h>

#include "classification/category_settings.h"
#include "classification/messages.h"
#include "classification/ui/accuracy_dlg.h"
#include "support/recording_platform.h"

using AccuracyDlgTest = LogicTest;

TEST_F(AccuracyDlgTest, TheMatrixShowsTheCategoriesTheirTotalsAndTheUnclassified) {
  for (int c = 1; c <= 8; ++c) g_abClassify[c] = c <= 2 ? 1 : 0;
  Accuracy acc;
  acc.Add(1, 1, 30);
  acc.Add(2, 1, 10);
  acc.Add(2, 2, 50);
  ASSERT_TRUE(acc.Finish());
  {
    CAccuracyDlg dlg(acc);
    QTableWidget* pMatrix = dlg.Matrix();
    ASSERT_EQ(pMatrix->rowCount(), 3) << "categories 1 and 2 and the totals; no unclassified";
    ASSERT_EQ(pMatrix->columnCount(), 3);
    EXPECT_EQ(pMatrix->item(1, 0)->text(), "10");
    EXPECT_EQ(pMatrix->item(2, 0)->text(), "40") << "reference 1's total";
    EXPECT_EQ(pMatrix->item(2, 2)->text(), "90");
    EXPECT_EQ(dlg.Figures()->item(0, 0)->text(), "75.0 %") << "producer's accuracy of 1: 30 / 40";
    EXPECT_EQ(dlg.Figures()->item(1, 1)->text(), "83.3 %") << "user's accuracy of 2: 50 / 60";
    EXPECT_NE(dlg.Summary()->text().indexOf("88.9 %"), -1) << dlg.Summary()->text().toStdString();
  }
  acc.Add(kUnclassifiedRow, 2, 4);
  ASSERT_TRUE(acc.Finish());
  CAccuracyDlg dlg(acc);
  ASSERT_EQ(dlg.Matrix()->rowCount(), 4);
  EXPECT_EQ(dlg.Matrix()->verticalHeaderItem(2)->text().toStdString(), "未分類");
  EXPECT_EQ(dlg.Matrix()->item(2, 1)->text(), "4");

  // The command over a window without test pixels: the message alone.
  MakeScene(10, 10, 3, Sensor::TmFloppy, [](int, int, int) { return 5; });
  OnAccuracyDialog();
  ASSERT_EQ(m_platform.m_aMessages.size(), 1u);
  EXPECT_EQ(m_platform.m_aMessages[0].strText, kszMsgNoTestAreas);
}
