#include "classification/ui/scatter_bands_dlg.h"

#include <QLineEdit>
#include <gtest/gtest.h>

#include "support/recording_platform.h"

using ScatterBandsDlgTest = LogicTest;

// A band the scene lacks keeps the dialog open with the message, the first field selected;
// bands it has close it.
TEST_F(ScatterBandsDlgTest, ABandBeyondTheSceneKeepsTheDialogOpen) {
  MakeScene(8, 4, 5, Sensor::TmFloppy, [](int x, int y, int b) { return x + y + b; });
  const int anStart[2] = {3, 4};
  CScatterBandsDlg dlg(anStart);
  dlg.show();
  dlg.Edit(1)->setText("6");
  dlg.accept();
  ASSERT_EQ(m_platform.m_aMessages.size(), 1u);
  EXPECT_EQ(m_platform.m_aMessages[0].strText, "Band6はこのデータにありません（Band1～Band5）");
  EXPECT_TRUE(dlg.isVisible());
  EXPECT_EQ(dlg.result(), QDialog::Rejected);
  EXPECT_EQ(dlg.Edit(0)->selectedText().toStdString(), "3");

  dlg.Edit(1)->setText("5");
  dlg.accept();
  EXPECT_EQ(m_platform.m_aMessages.size(), 1u);
  EXPECT_EQ(dlg.result(), QDialog::Accepted);
}
