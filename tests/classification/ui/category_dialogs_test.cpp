#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPalette>
#include <gtest/gtest.h>

#include <QComboBox>
#include <QRadioButton>

#include "classification/ui/classify_method_dlg.h"

#include "classification/ui/category_dialogs.h"
#include "support/recording_platform.h"

using CategoryDialogsTest = LogicTest;

TEST_F(CategoryDialogsTest, ClassifyOptionsShowTheNamesReadOnly) {
  CategoryOptions options;
  for (int c = 1; c <= 8; ++c) options.astrName[c] = "Name" + std::to_string(c);
  options.astrName[3] = "森林";
  CClassifyOptionsDlg dlg(options);
  dlg.show();
  QLineEdit* pName = dlg.NameEdit(3);
  EXPECT_EQ(pName->text().toStdString(), "森林");
  // Typing changes nothing, and the field is drawn on the dialog's background, not as an edit.
  pName->setFocus();
  QKeyEvent press(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
  QApplication::sendEvent(pName, &press);
  EXPECT_EQ(pName->text().toStdString(), "森林");
  EXPECT_EQ(dlg.Options().astrName[3], "森林");
  for (int c = 1; c <= 8; ++c) {
    EXPECT_TRUE(dlg.NameEdit(c)->isReadOnly()) << c;
    EXPECT_EQ(dlg.NameEdit(c)->palette().color(QPalette::Base),
              dlg.palette().color(QPalette::Window))
        << c;
  }
  EXPECT_NE(dlg.palette().color(QPalette::Base), dlg.palette().color(QPalette::Window));
}

// The method dialog's radio buttons and list stand for its fields: OK hands back what they show.
TEST(ClassifyMethodDlgTest, ButtonsAndListSetTheFieldsOkChecks) {
  const int anStart[3] = {0, 40, 0};
  CClassifyMethodDlg dlg(anStart);
  EXPECT_TRUE(dlg.MethodButton(0)->isChecked());
  EXPECT_EQ(dlg.ProbabilityList()->count(), 7);
  EXPECT_EQ(dlg.ProbabilityList()->itemText(4).toStdString(), "2.5％");
  dlg.MethodButton(1)->setChecked(true);
  dlg.ProbabilityList()->setCurrentIndex(4);
  int an[3] = {};
  dlg.Values(an);
  EXPECT_EQ(an[0], 1);
  EXPECT_EQ(an[1], 40);
  EXPECT_EQ(an[2], 4);
}
