#include "classification/ui/accuracy_dlg.h"

#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <cmath>
#include <vector>

#include "classification/category_settings.h"
#include "classification/messages.h"
#include "core/file_io.h"
#include "core/platform.h"
#include "core/text_format.h"
#include "shell/base/dialog_windows.h"

namespace {

QString Text(const std::string& str) { return QString::fromStdString(str); }
QString Text(const char* sz) { return QString::fromUtf8(sz); }

QString Percent(double d) {
  return std::isnan(d) ? QStringLiteral("-") : QString::number(100.0 * d, 'f', 1) + QStringLiteral(" %");
}

QTableWidgetItem* Cell(const QString& str, bool bBold = false) {
  auto* pItem = new QTableWidgetItem(str);
  pItem->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
  pItem->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
  if (bBold) {
    QFont font = pItem->font();
    font.setBold(true);
    pItem->setFont(font);
  }
  return pItem;
}

QString CategoryLabel(int c) { return Text(FormatText("%d %s", c, g_astrCategoryName[c].c_str())); }

}  // namespace

CAccuracyDlg::CAccuracyDlg(const Accuracy& acc, QWidget* pParent) : QDialog(pParent), m_acc(acc) {
  setWindowTitle(Text(kszCapAccuracy));
  // The categories that were classified or have test pixels, and the unclassified row when a
  // reject threshold left test pixels unclassified.
  std::vector<int> anCategory;
  for (int c = 1; c <= 8; ++c) {
    if (g_abClassify[c] == 1 || acc.anColumnTotal[c] > 0 || acc.anRowTotal[c] > 0) anCategory.push_back(c);
  }
  std::vector<int> anRow = anCategory;
  if (acc.anRowTotal[kUnclassifiedRow] > 0) anRow.push_back(kUnclassifiedRow);
  const int nColumns = static_cast<int>(anCategory.size());
  const int nRows = static_cast<int>(anRow.size());

  m_pMatrix = new QTableWidget(nRows + 1, nColumns + 1, this);
  QStringList astrColumns, astrRows;
  for (int c : anCategory) astrColumns << CategoryLabel(c);
  astrColumns << Text("合計");
  for (int r : anRow) astrRows << (r == kUnclassifiedRow ? Text("未分類") : CategoryLabel(r));
  astrRows << Text("合計");
  m_pMatrix->setHorizontalHeaderLabels(astrColumns);
  m_pMatrix->setVerticalHeaderLabels(astrRows);
  for (int i = 0; i < nRows; ++i) {
    for (int j = 0; j < nColumns; ++j) {
      const int r = anRow[static_cast<std::size_t>(i)], c = anCategory[static_cast<std::size_t>(j)];
      m_pMatrix->setItem(i, j, Cell(QString::number(acc.aanMatrix[r][c]), r == c));
    }
    m_pMatrix->setItem(i, nColumns, Cell(QString::number(acc.anRowTotal[anRow[static_cast<std::size_t>(i)]])));
  }
  for (int j = 0; j < nColumns; ++j) {
    m_pMatrix->setItem(nRows, j, Cell(QString::number(acc.anColumnTotal[anCategory[static_cast<std::size_t>(j)]])));
  }
  m_pMatrix->setItem(nRows, nColumns, Cell(QString::number(acc.nTotal), true));
  m_pMatrix->resizeColumnsToContents();
  m_pMatrix->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);

  m_pFigures = new QTableWidget(nColumns, 3, this);
  m_pFigures->setHorizontalHeaderLabels(
      {Text("生産者精度"), Text("利用者精度"), Text("テストピクセル数")});
  QStringList astrCategories;
  for (int j = 0; j < nColumns; ++j) {
    const int c = anCategory[static_cast<std::size_t>(j)];
    astrCategories << CategoryLabel(c);
    m_pFigures->setItem(j, 0, Cell(Percent(acc.adProducers[c])));
    m_pFigures->setItem(j, 1, Cell(Percent(acc.adUsers[c])));
    m_pFigures->setItem(j, 2, Cell(QString::number(acc.anColumnTotal[c])));
  }
  m_pFigures->setVerticalHeaderLabels(astrCategories);
  m_pFigures->resizeColumnsToContents();
  m_pFigures->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);

  m_pSummary = new QLabel(
      Text("全体精度：") + Percent(acc.dOverall) + Text("　カッパ係数：") +
          (std::isnan(acc.dKappa) ? QStringLiteral("-")
                                  : QString::number(acc.dKappa, 'f', 4) + Text("（標準誤差 ") +
                                        QString::number(acc.dKappaSe, 'f', 4) + Text("）")) +
          Text("　テストピクセル：") + QString::number(acc.nTotal),
      this);

  auto* pButtons = new QDialogButtonBox(this);
  QPushButton* pSave = pButtons->addButton(Text("CSV に保存..."), QDialogButtonBox::ActionRole);
  QPushButton* pCopy = pButtons->addButton(Text("コピー"), QDialogButtonBox::ActionRole);
  QPushButton* pClose = pButtons->addButton(Text("閉じる"), QDialogButtonBox::RejectRole);
  connect(pSave, &QPushButton::clicked, this, &CAccuracyDlg::SaveCsv);
  connect(pCopy, &QPushButton::clicked, this, [this] { QApplication::clipboard()->setText(Csv()); });
  connect(pClose, &QPushButton::clicked, this, &QDialog::reject);

  auto* pLayout = new QVBoxLayout(this);
  pLayout->addWidget(new QLabel(Text("行：分類されたカテゴリー　列：テストエリアのカテゴリー"), this));
  pLayout->addWidget(m_pMatrix);
  pLayout->addWidget(m_pSummary);
  pLayout->addWidget(m_pFigures);
  pLayout->addWidget(pButtons);
}

QString CAccuracyDlg::Csv() const { return Text(AccuracyCsv(m_acc, g_astrCategoryName)); }

void CAccuracyDlg::SaveCsv() {
  const QString strPath = AskFilePath(true, Text("CSV (*.csv)"), QStringLiteral("accuracy.csv"));
  if (strPath.isEmpty()) return;
  const std::string strCsv = Csv().toStdString();
  std::string strReason;
  if (!WriteFileAtomically(strPath.toStdString(),
                           std::span(reinterpret_cast<const std::uint8_t*>(strCsv.data()), strCsv.size()),
                           strReason)) {
    ShowMessage(FormatText("CSV を保存できません。\n%s\n%s", strPath.toStdString().c_str(), strReason.c_str()),
                kszCapAccuracy);
  }
}

void OnAccuracyDialog() {
  Accuracy acc;
  if (!WindowAccuracy(acc)) {
    ShowMessage(kszMsgNoTestAreas, kszCapAccuracy);
    return;
  }
  CAccuracyDlg dlg(acc, DialogParent());
  dlg.exec();
}
