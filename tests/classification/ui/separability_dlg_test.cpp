// "カテゴリー間の分離度" from its menu command: the valid categories by number and name, JM over
// TD per pair, the poorly separated pair red with its mark, a pair without values with its
// reason, and the lines that explain them.
#include <QApplication>
#include <QLabel>
#include <QTableWidget>
#include <QTimer>
#include <gtest/gtest.h>

#include "classification/categories.h"
#include "classification/messages.h"
#include "classification/ui/separability_dlg.h"
#include "core/commands.h"
#include "core/text_format.h"
#include "resources/resource.h"
#include "support/recording_platform.h"

using SeparabilityDlgTest = LogicTest;

TEST_F(SeparabilityDlgTest, TheWindowShowsEveryPairMarksThePoorOnesAndSaysWhyOfTheOthers) {
  EXPECT_FALSE(CommandRuleAllows(ID_CLASSIFY_SEPARABILITY)) << "no data";
  // Band 1 dark on the left, bright on the right; bands 2 and 3 a pattern.
  MakeScene(30, 20, 3, Sensor::TmFloppy, [](int x, int y, int b) {
    return b == 1 ? (x < 15 ? 20 : 230) + (x * 3 + y * 5) % 7 : (x * 11 + y * 17 * b) % 90;
  });
  ASSERT_TRUE(CommandRuleAllows(ID_CLASSIFY_SEPARABILITY));
  g_astrCategoryName[2] = "水域";
  // 2 and 3 on the same pixels (JM 0), 5 on the bright side, 7 with two pixels for three bands.
  const struct {
    int c, x0, x1;
  } aTrained[] = {{2, 1, 8}, {3, 1, 8}, {5, 20, 27}, {7, 10, 10}};
  for (const auto& t : aTrained) {
    for (int x = t.x0; x <= t.x1; ++x)
      for (int y = 1; y <= (t.c == 7 ? 2 : 8); ++y) g_aPixel[x][y].abTrainMark[t.c - 1] = 1;
    g_nCategory = t.c;
    ASSERT_TRUE(DispatchCommand(ID_TRAINING_SELECT));
  }

  const std::string strSame = std::string("0.000") + kszSepPoorMark + "\n0";
  const std::string strNone = std::string(kszSepNoValue) + "\n" + kszSepNoValue;
  const std::string strFar = "2.000\n2000";  // JM and TD cut, not rounded, at their limits
  const std::vector<std::vector<std::string>> aastrExpected = {
      {"", strSame, strFar, strNone},
      {strSame, "", strFar, strNone},
      {strFar, strFar, "", strNone},
      {strNone, strNone, strNone, ""},
  };
  const QStringList astrHeadings = {"2 水域", "3 Name3", "5 Name5", "7 Name7"};
  const std::string strFew = FormatText(kszSepTooFewPixels, 7, 2, 3, 4);
  QStringList astrNotes = {QString::fromStdString(FormatText(kszSepBandsNote, "1, 2, 3")),
                           QString::fromUtf8(kszSepCellNote), QString::fromUtf8(kszSepPoorNote)};
  for (int c : {2, 3, 5})
    astrNotes << QString::fromStdString(FormatText(kszSepNoValueNote, c, 7, strFew.c_str()));
  bool bShown = false;
  QTimer::singleShot(0, [&] {
    auto* pDlg = qobject_cast<CSeparabilityDlg*>(QApplication::activeModalWidget());
    ASSERT_NE(pDlg, nullptr);
    bShown = true;
    EXPECT_EQ(pDlg->windowTitle().toStdString(), kszSepTitle);
    const QTableWidget* pTable = pDlg->Table();
    ASSERT_EQ(pTable->rowCount(), 4);
    ASSERT_EQ(pTable->columnCount(), 4);
    for (int i = 0; i < 4; ++i) {
      EXPECT_EQ(pTable->verticalHeaderItem(i)->text(), astrHeadings[i]);
      EXPECT_EQ(pTable->horizontalHeaderItem(i)->text(), astrHeadings[i]);
      for (int j = 0; j < 4; ++j) {
        const QTableWidgetItem* pItem = pTable->item(i, j);
        EXPECT_EQ(pItem->text().toStdString(), aastrExpected[i][j]) << i << "," << j;
        EXPECT_EQ(pItem->foreground().color() == QColor(Qt::red), i < 2 && j < 2 && i != j)
            << i << "," << j;
      }
    }
    EXPECT_EQ(pTable->item(0, 3)->toolTip().toStdString(), strFew);
    EXPECT_EQ(pDlg->Notes()->text(), astrNotes.join('\n'));
    pDlg->reject();
  });
  ASSERT_TRUE(DispatchCommand(ID_CLASSIFY_SEPARABILITY));
  EXPECT_TRUE(bShown);

  // With one valid category there is nothing to compare, and the window says so.
  for (int c : {3, 5, 7}) g_abCategoryValid[c] = false;
  CSeparabilityDlg one(ComputeSeparability());
  EXPECT_EQ(one.Table()->rowCount(), 1);
  EXPECT_TRUE(one.Notes()->text().contains(QString::fromUtf8(kszSepNeedTwo)));
}
