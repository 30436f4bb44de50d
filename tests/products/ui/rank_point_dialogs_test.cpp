#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <gtest/gtest.h>

#include "core/commands.h"
#include "products/messages.h"
#include "products/ui/rank_point_dialogs.h"
#include "shell/shell_commands.h"
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
  const int anUpper[7] = {30, 60, 90, 120, 150, 180, 210};
  CRankValueDlg dlg(2, anUpper);
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
  EXPECT_EQ(dlg.Band(), 8);
  int anOut[7];
  dlg.Uppers(anOut);
  EXPECT_EQ(anOut[0], -20);
  EXPECT_EQ(anOut[3], 120);
  EXPECT_EQ(anOut[6], 999);
}

TEST_F(RankPointDialogsTest, PointDialogShowsTheEndsReadOnly) {
  const int anPoint[9] = {0, 31, 63, 95, 127, 159, 191, 223, 255};
  CPointValueDlg dlg(1, anPoint);
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
  int anOut[9];
  dlg.Points(anOut);
  EXPECT_EQ(anOut[0], 0);
  EXPECT_EQ(anOut[2], 300);
  EXPECT_EQ(anOut[8], 255);
  EXPECT_EQ(dlg.Band(), 4);
}

TEST_F(RankPointDialogsTest, DialogCommandsAreRegistered) {
  RegisterShellCommands();
  EXPECT_EQ(FindCommand(ID_COARSE_BAND_VALUE)->pfnHandler, &OnCoarseBandValueDialog);
  EXPECT_EQ(FindCommand(ID_FINE_BAND_VALUE)->pfnHandler, &OnFineBandValueDialog);
}
