#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <gtest/gtest.h>

#include <cstring>

#include "support/recording_platform.h"
#include "workfile/ui/header_sheet_dlg.h"

using HeaderSheetTest = LogicTest;

TEST_F(HeaderSheetTest, TenPagesOkStoresTheUserTextsCancelKeepsThem) {
  MakeScene(512, 400, 7, Sensor::TmFloppy, [](int, int, int) { return 1; });
  std::memcpy(g_aszBandHeader[0], "SCENE", 5);
  g_astrUserText[0] = "old";
  {
    CHeaderSheet sheet;
    QTabWidget* pTabs = sheet.Tabs();
    ASSERT_EQ(pTabs->count(), 10);
    EXPECT_EQ(pTabs->tabText(0).toStdString(), " Band1 ");
    EXPECT_EQ(pTabs->tabText(8).toStdString(), " UserInfo ");
    EXPECT_EQ(pTabs->tabText(9).toStdString(), "FileInfo");
    EXPECT_EQ(static_cast<QPlainTextEdit*>(pTabs->widget(0))->toPlainText().toStdString(), " SCENE");
    EXPECT_EQ(static_cast<QPlainTextEdit*>(pTabs->widget(7))->toPlainText().toStdString(), " ");
    const auto apFile = pTabs->widget(9)->findChildren<QLineEdit*>();
    ASSERT_EQ(apFile.size(), 4);
    EXPECT_EQ(apFile[0]->text().toStdString(), "TM");
    EXPECT_EQ(apFile[1]->text(), "512");
    EXPECT_EQ(apFile[2]->text(), "400");
    EXPECT_EQ(apFile[3]->text(), "7");

    EXPECT_FALSE(sheet.ApplyButton()->isEnabled());
    sheet.UserEdit(0)->setFocus();
    sheet.UserEdit(0)->selectAll();
    sheet.UserEdit(0)->insert(QStringLiteral("新しい名前"));
    emit sheet.UserEdit(0)->textEdited(sheet.UserEdit(0)->text());
    EXPECT_TRUE(sheet.ApplyButton()->isEnabled()) << "typing enables Apply";
    sheet.ApplyButton()->click();
    EXPECT_EQ(g_astrUserText[0], "old") << "Apply stores nothing";
    sheet.reject();
    EXPECT_EQ(g_astrUserText[0], "old");
  }
  CHeaderSheet sheet;
  sheet.UserEdit(3)->setText(QStringLiteral("2026年12月"));
  sheet.accept();
  EXPECT_EQ(g_astrUserText[3], "2026年12月");
  EXPECT_EQ(g_astrUserText[0], "old");
}
