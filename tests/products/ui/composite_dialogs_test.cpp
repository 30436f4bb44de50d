#include <QCheckBox>
#include <QLineEdit>
#include <gtest/gtest.h>

#include <vector>

#include "products/messages.h"
#include "products/ui/composite_dialogs.h"
#include "support/recording_platform.h"

using CompositeDialogsTest = LogicTest;

TEST_F(CompositeDialogsTest, CutOffRateOutsideZeroTo49StaysOpenWithTheRangeMessage) {
  const int anStart[1] = {3};
  CCutOffRateDlg dlg(anStart);
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
  int anOut[1] = {};
  dlg.Values(anOut);
  EXPECT_EQ(anOut[0], 49);
}

TEST_F(CompositeDialogsTest, BandValueDialogChecksRowByRowAndReturnsItsRows) {
  // Red 3 (10..200), green 2 (20..210), blue 1 (30..220), linked.
  const int anStart[10] = {3, 10, 200, 2, 20, 210, 1, 30, 220, 1};
  CCompositeValueDlg dlg(anStart);
  EXPECT_EQ(dlg.windowTitle().toStdString(), kszBandValueTitle);
  EXPECT_TRUE(dlg.LinkedBox()->isChecked());
  EXPECT_EQ(dlg.LinkedBox()->text().toStdString(), kszCutOffLinkedLabel);

  // The red row comes before the green band: the red lower value is refused first.
  dlg.BandEdit(1)->setText("9");
  dlg.LowerEdit(0)->setText("255");
  dlg.accept();
  EXPECT_NE(dlg.result(), QDialog::Accepted);
  dlg.LowerEdit(0)->setText("254");
  dlg.accept();
  dlg.BandEdit(1)->setText("5");
  dlg.UpperEdit(2)->setText("0");
  dlg.accept();
  EXPECT_NE(dlg.result(), QDialog::Accepted);
  ASSERT_EQ(m_platform.m_aMessages.size(), 3u);
  EXPECT_EQ(m_platform.m_aMessages[0].strText, "0 から 254 までの整数を入力してください。");
  EXPECT_EQ(m_platform.m_aMessages[1].strText, "1 から 8 までの整数を入力してください。");
  EXPECT_EQ(m_platform.m_aMessages[2].strText, "1 から 255 までの整数を入力してください。");

  dlg.UpperEdit(2)->setText("255");
  dlg.LinkedBox()->setChecked(false);
  dlg.accept();
  EXPECT_EQ(dlg.result(), QDialog::Accepted);
  int anOut[10] = {};
  dlg.Values(anOut);
  EXPECT_EQ(std::vector<int>(anOut, anOut + 10),
            (std::vector<int>{3, 254, 200, 5, 20, 210, 1, 30, 255, 0}));
}
