#include "classification/ui/separability_dlg.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "classification/messages.h"
#include "shell/base/dialog_windows.h"

namespace {

QString Text(const std::string& str) { return QString::fromStdString(str); }

// The cell of a pair: JM over TD; red when poorly separated, the reason as its tip when it has
// no values. The diagonal stays empty and grey.
QTableWidgetItem* PairItem(const SeparabilityPair* pPair, const QPalette& palette) {
  auto* pItem = new QTableWidgetItem;
  pItem->setFlags(Qt::ItemIsEnabled);
  pItem->setTextAlignment(Qt::AlignCenter);
  if (pPair == nullptr) {
    pItem->setBackground(palette.color(QPalette::Window));
    return pItem;
  }
  pItem->setText(Text(SeparabilityJmText(*pPair) + "\n" + SeparabilityTdText(*pPair)));
  if (IsPoorlySeparated(*pPair)) pItem->setForeground(QColor(Qt::red));
  if (!pPair->bComputed) pItem->setToolTip(Text(pPair->strReason));
  return pItem;
}

}  // namespace

CSeparabilityDlg::CSeparabilityDlg(const SeparabilityTable& table, QWidget* pParent)
    : QDialog(pParent) {
  setWindowTitle(QString::fromUtf8(kszSepTitle));
  const int n = static_cast<int>(table.anCategories.size());
  m_pTable = new QTableWidget(n, n, this);
  QStringList astrHeadings;
  for (int c : table.anCategories) astrHeadings << Text(SeparabilityHeading(c));
  m_pTable->setHorizontalHeaderLabels(astrHeadings);
  m_pTable->setVerticalHeaderLabels(astrHeadings);
  for (int i = 0; i < n; ++i) {
    for (int j = 0; j < n; ++j) {
      const int a = table.anCategories[static_cast<std::size_t>(i)];
      const int b = table.anCategories[static_cast<std::size_t>(j)];
      m_pTable->setItem(i, j, PairItem(i == j ? nullptr : table.Find(a, b), palette()));
    }
  }
  m_pTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
  m_pTable->resizeColumnsToContents();
  m_pTable->resizeRowsToContents();
  m_pTable->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
  if (n < 2) m_pTable->hide();  // nothing to compare; the notes say why

  QStringList astrNotes;
  for (const std::string& str : SeparabilityNotes(table)) astrNotes << Text(str);
  m_pNotes = new QLabel(astrNotes.join('\n'), this);
  m_pNotes->setWordWrap(true);
  m_pNotes->setMinimumWidth(m_pNotes->fontMetrics().averageCharWidth() * 100);
  m_pNotes->setTextInteractionFlags(Qt::TextSelectableByMouse);

  auto* pButtons = new QDialogButtonBox(this);
  pButtons->addButton(QString::fromUtf8(kszSepClose), QDialogButtonBox::RejectRole)
      ->setDefault(true);
  connect(pButtons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* pLayout = new QVBoxLayout(this);
  pLayout->addWidget(m_pTable);
  pLayout->addWidget(m_pNotes);
  pLayout->addWidget(pButtons);
}

void OnSeparabilityDialog() {
  CSeparabilityDlg dlg(ComputeSeparability(), DialogParent());
  dlg.exec();
}
