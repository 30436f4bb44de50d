#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <gtest/gtest.h>

#include "products/messages.h"
#include "products/ui/rank_point_dialogs.h"
#include "support/recording_platform.h"

using RankPointDialogsTest = LogicTest;

namespace {

bool HasLabel(const QDialog& dlg, const char* szText) {
  for (const QLabel* pLabel : dlg.findChildren<QLabel*>()) {
    if (pLabel->text() == QString::fromUtf8(szText)) return true;
  }
  return false;
}

}  // namespace

TEST_F(RankPointDialogsTest, RankDialogChecksTheBandOnlyAndReturnsTheBounds) {
  const int anStart[8] = {2, 30, 60, 90, 120, 150, 180, 210};
  CRankValueDlg dlg(anStart);
  EXPECT_EQ(dlg.windowTitle().toStdString(), kszRankPointValueTitle);
  ASSERT_EQ(dlg.findChildren<QGroupBox*>().size(), 1);
  EXPECT_EQ(dlg.findChildren<QGroupBox*>()[0]->title().toStdString(), kszTargetBandGroup);
  EXPECT_TRUE(HasLabel(dlg, "Rank1(          0～"));
  EXPECT_TRUE(HasLabel(dlg, "Rank7( Rank6+1～"));
  EXPECT_TRUE(HasLabel(dlg, "Rank8( Rank7+1～       255"));
  EXPECT_EQ(dlg.BandEdit()->text(), "2");
  EXPECT_EQ(dlg.UpperEdit(7)->text(), "210");

  dlg.BandEdit()->setText("9");
  dlg.accept();
  EXPECT_NE(dlg.result(), QDialog::Accepted);
  ASSERT_EQ(m_platform.m_aMessages.size(), 1u);
  EXPECT_EQ(m_platform.m_aMessages[0].strText, "1 から 8 までの整数を入力してください。");

  // Bounds have no range: a negative or too large value passes.
  dlg.BandEdit()->setText("8");
  dlg.UpperEdit(1)->setText("-20");
  dlg.UpperEdit(7)->setText("999");
  dlg.accept();
  EXPECT_EQ(dlg.result(), QDialog::Accepted);
  int anOut[8];
  dlg.Values(anOut);
  EXPECT_EQ(anOut[0], 8);
  EXPECT_EQ(anOut[1], -20);
  EXPECT_EQ(anOut[4], 120);
  EXPECT_EQ(anOut[7], 999);
}

TEST_F(RankPointDialogsTest, PointDialogShowsTheEndsReadOnly) {
  const int anStart[10] = {1, 0, 31, 63, 95, 127, 159, 191, 223, 255};
  CPointValueDlg dlg(anStart);
  EXPECT_TRUE(dlg.PointEdit(1)->isReadOnly());
  EXPECT_TRUE(dlg.PointEdit(9)->isReadOnly());
  EXPECT_FALSE(dlg.PointEdit(5)->isReadOnly());
  EXPECT_TRUE(HasLabel(dlg, "Point9 ="));
  dlg.BandEdit()->setText("0");
  dlg.accept();
  EXPECT_NE(dlg.result(), QDialog::Accepted);
  dlg.BandEdit()->setText("4");
  dlg.PointEdit(3)->setText("300");
  dlg.accept();
  EXPECT_EQ(dlg.result(), QDialog::Accepted);
  int anOut[10];
  dlg.Values(anOut);
  EXPECT_EQ(anOut[0], 4);
  EXPECT_EQ(anOut[1], 0);
  EXPECT_EQ(anOut[3], 300);
  EXPECT_EQ(anOut[9], 255);
}
