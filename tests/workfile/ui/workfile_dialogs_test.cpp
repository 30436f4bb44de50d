#include <QCheckBox>
#include <QLineEdit>
#include <gtest/gtest.h>

#include <cstdlib>

#include "classification/category_settings.h"
#include "support/recording_platform.h"
#include "workfile/ui/workfile_dialogs.h"
#include "workfile/workfile_format.h"

using WorkFileDialogsTest = LogicTest;

// The save options' boxes come from the registered sections: labelled in file order, checked as
// the flags stand, each category with its current name beside it, read-only.
TEST_F(WorkFileDialogsTest, SaveOptionsShowEverySectionWithItsLabelAndDetail) {
  g_astrCategoryName[3] = "森林";
  int anValues[kMaxSaveSections] = {};
  for (int i = 0; i < SaveSectionCount(); ++i) anValues[i] = i % 2;
  CSaveOptionsDlg dlg(anValues);
  const auto apBoxes = dlg.findChildren<QCheckBox*>();
  ASSERT_EQ(apBoxes.size(), 13);
  EXPECT_EQ(apBoxes[0]->text().toStdString(), "データ（ヘッダー含む）");
  EXPECT_EQ(apBoxes[6]->text().toStdString(), "カテゴリー３");
  EXPECT_EQ(apBoxes[12]->text().toStdString(), "ヒストグラム（線の幅と色）");
  EXPECT_FALSE(apBoxes[0]->isChecked());
  EXPECT_TRUE(apBoxes[1]->isChecked());
  const auto apNames = dlg.findChildren<QLineEdit*>();
  ASSERT_EQ(apNames.size(), 8);
  EXPECT_EQ(apNames[2]->text().toStdString(), "森林");
  EXPECT_TRUE(apNames[2]->isReadOnly());
  if (const char* szShot = std::getenv("GEOLUMEN_SHOT")) dlg.grab().save(szShot);
}
