#include <QCheckBox>
#include <QLineEdit>
#include <gtest/gtest.h>

#include "core/commands.h"
#include "products/messages.h"
#include "products/ui/composite_dialogs.h"
#include "shell/shell_commands.h"
#include "support/recording_platform.h"

using CompositeDialogsTest = LogicTest;

TEST_F(CompositeDialogsTest, CutOffRateOutsideZeroTo49StaysOpenWithTheRangeMessage) {
  CCutOffRateDlg dlg(3);
  EXPECT_EQ(dlg.windowTitle().toStdString(), kszCutOffTitle);
  EXPECT_EQ(dlg.RateEdit()->text(), "3");

  dlg.RateEdit()->setText("50");
  dlg.accept();
  EXPECT_NE(dlg.result(), QDialog::Accepted);
  ASSERT_EQ(m_platform.m_aMessages.size(), 1u);
  EXPECT_EQ(m_platform.m_aMessages[0].strText, "0 から 49 までの整数を入力してください。");

  dlg.RateEdit()->setText("49");
  dlg.accept();
  EXPECT_EQ(dlg.result(), QDialog::Accepted);
  EXPECT_EQ(dlg.Rate(), 49);
}

TEST_F(CompositeDialogsTest, BandValueDialogChecksEachFieldAndReturnsItsRows) {
  const CompositeBandValues start{3, 2, 1, 10, 200, 20, 210, 30, 220, 1};
  CCompositeValueDlg dlg(start);
  EXPECT_EQ(dlg.windowTitle().toStdString(), kszBandValueTitle);
  EXPECT_TRUE(dlg.LinkedBox()->isChecked());

  dlg.BandEdit(1)->setText("9");
  dlg.accept();
  EXPECT_NE(dlg.result(), QDialog::Accepted);
  dlg.BandEdit(1)->setText("5");
  dlg.UpperEdit(2)->setText("0");
  dlg.accept();
  EXPECT_NE(dlg.result(), QDialog::Accepted);
  dlg.UpperEdit(2)->setText("255");
  dlg.LowerEdit(0)->setText("255");
  dlg.accept();
  EXPECT_NE(dlg.result(), QDialog::Accepted);
  ASSERT_EQ(m_platform.m_aMessages.size(), 3u);
  EXPECT_EQ(m_platform.m_aMessages[0].strText, "1 から 8 までの整数を入力してください。");
  EXPECT_EQ(m_platform.m_aMessages[1].strText, "1 から 255 までの整数を入力してください。");
  EXPECT_EQ(m_platform.m_aMessages[2].strText, "0 から 254 までの整数を入力してください。");

  dlg.LowerEdit(0)->setText("254");
  dlg.LinkedBox()->setChecked(false);
  dlg.accept();
  EXPECT_EQ(dlg.result(), QDialog::Accepted);
  const CompositeBandValues values = dlg.Values();
  EXPECT_EQ(values.nRedBand, 3);
  EXPECT_EQ(values.nGreenBand, 5);
  EXPECT_EQ(values.nBlueBand, 1);
  EXPECT_EQ(values.nRedLower, 254);
  EXPECT_EQ(values.nRedUpper, 200);
  EXPECT_EQ(values.nGreenLower, 20);
  EXPECT_EQ(values.nGreenUpper, 210);
  EXPECT_EQ(values.nBlueLower, 30);
  EXPECT_EQ(values.nBlueUpper, 255);
  EXPECT_EQ(values.bCutOffLinked, 0);
}

TEST_F(CompositeDialogsTest, DialogCommandsAreRegistered) {
  RegisterShellCommands();
  EXPECT_EQ(FindCommand(ID_COMPOSITE_CUTOFF)->pfnHandler, &OnCompositeCutOffDialog);
  EXPECT_EQ(FindCommand(ID_COMPOSITE_BAND_VALUE)->pfnHandler, &OnCompositeBandValueDialog);
}
