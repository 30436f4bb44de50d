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

  QString strTitle;
  std::vector<std::vector<std::string>> aastrCells;
  std::vector<std::vector<bool>> aabRed;
  QStringList astrRows, astrColumns;
  QString strNotes, strTip;
  QTimer::singleShot(0, [&] {
    auto* pDlg = qobject_cast<CSeparabilityDlg*>(QApplication::activeModalWidget());
    ASSERT_NE(pDlg, nullptr);
    strTitle = pDlg->windowTitle();
    const QTableWidget* pTable = pDlg->Table();
    for (int i = 0; i < pTable->rowCount(); ++i) {
      astrRows << pTable->verticalHeaderItem(i)->text();
      astrColumns << pTable->horizontalHeaderItem(i)->text();
      aastrCells.emplace_back();
      aabRed.emplace_back();
      for (int j = 0; j < pTable->columnCount(); ++j) {
        aastrCells.back().push_back(pTable->item(i, j)->text().toStdString());
        aabRed.back().push_back(pTable->item(i, j)->foreground().color() == QColor(Qt::red));
      }
    }
    strTip = pTable->item(0, 3)->toolTip();
    strNotes = pDlg->Notes()->text();
    pDlg->reject();
  });
  ASSERT_TRUE(DispatchCommand(ID_CLASSIFY_SEPARABILITY));

  EXPECT_EQ(strTitle.toStdString(), kszSepTitle);
  const QStringList astrHeadings = {"2 水域", "3 Name3", "5 Name5", "7 Name7"};
  EXPECT_EQ(astrRows, astrHeadings);
  EXPECT_EQ(astrColumns, astrHeadings);
  ASSERT_EQ(aastrCells.size(), 4u);
  const std::string strSame = std::string("0.000") + kszSepPoorMark + "\n0";
  const std::string strNone = std::string(kszSepNoValue) + "\n" + kszSepNoValue;
  const std::string strFar = "2.000\n2000";  // JM and TD cut, not rounded, at their limits
  const std::vector<std::vector<std::string>> aastrExpected = {
      {"", strSame, strFar, strNone},
      {strSame, "", strFar, strNone},
      {strFar, strFar, "", strNone},
      {strNone, strNone, strNone, ""},
  };
  EXPECT_EQ(aastrCells, aastrExpected);
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j)
      EXPECT_EQ(aabRed[i][j], (i < 2 && j < 2 && i != j)) << i << "," << j;

  const std::string strFew = FormatText(kszSepTooFewPixels, 7, 2, 3, 4);
  EXPECT_EQ(strTip.toStdString(), strFew);
  const std::vector<std::string> astrNotes = {
      FormatText(kszSepBandsNote, "1, 2, 3"),
      kszSepCellNote,
      kszSepPoorNote,
      FormatText(kszSepNoValueNote, 2, 7, strFew.c_str()),
      FormatText(kszSepNoValueNote, 3, 7, strFew.c_str()),
      FormatText(kszSepNoValueNote, 5, 7, strFew.c_str()),
  };
  QStringList astrNoteLines;
  for (const std::string& str : astrNotes) astrNoteLines << QString::fromStdString(str);
  EXPECT_EQ(strNotes, astrNoteLines.join('\n'));

  // With one valid category there is nothing to compare, and the window says so.
  for (int c : {3, 5, 7}) g_abCategoryValid[c] = false;
  CSeparabilityDlg one(ComputeSeparability());
  EXPECT_EQ(one.Table()->rowCount(), 1);
  EXPECT_TRUE(one.Notes()->text().contains(QString::fromUtf8(kszSepNeedTwo)));
}
