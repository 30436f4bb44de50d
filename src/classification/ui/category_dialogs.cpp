#include "classification/ui/category_dialogs.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QVBoxLayout>

#include "classification/messages.h"
#include "shell/base/dialog_windows.h"

namespace {

QString Text(const char* sz) { return QString::fromUtf8(sz); }

QDialogButtonBox* Buttons(QDialog* pDialog, const char* szOk, const char* szCancel) {
  auto* pButtons = new QDialogButtonBox(pDialog);
  pButtons->addButton(Text(szOk), QDialogButtonBox::AcceptRole)->setDefault(true);
  pButtons->addButton(Text(szCancel), QDialogButtonBox::RejectRole);
  QObject::connect(pButtons, &QDialogButtonBox::accepted, pDialog, &QDialog::accept);
  QObject::connect(pButtons, &QDialogButtonBox::rejected, pDialog, &QDialog::reject);
  return pButtons;
}

}  // namespace

CCategoryValueDlg::CCategoryValueDlg(const int anValues[], QWidget* pParent)
    : CIntegerDialog(kCategoryValueDialog, anValues, Text(kszCategoryValueTitle), pParent) {
  auto* pNumber = new QHBoxLayout;
  pNumber->addWidget(new QLabel(Text(kszActiveCategoryLabel), this));
  pNumber->addWidget(FieldWidget(0));
  auto* pGrid = new QGridLayout;
  for (int b = 1; b <= 8; ++b) {
    pGrid->addWidget(new QLabel(QStringLiteral("Band%1").arg(b), this), b - 1, 0);
    pGrid->addWidget(FieldWidget(2 * b - 1), b - 1, 1);
    pGrid->addWidget(new QLabel(Text("～"), this), b - 1, 2);
    pGrid->addWidget(FieldWidget(2 * b), b - 1, 3);
  }
  auto* pLayout = new QVBoxLayout(this);
  pLayout->addLayout(pNumber);
  pLayout->addLayout(pGrid);
  pLayout->addWidget(OkCancelButtons(kszCategoryValueOk, kszCategoryValueCancel));
  connect(NumberEdit(), &QLineEdit::textChanged, this, &CCategoryValueDlg::ShowCategory);
}

void CCategoryValueDlg::ShowCategory() {
  bool bOk = false;
  const int n = NumberEdit()->text().trimmed().toInt(&bOk);
  if (!bOk || n < 1 || n > 8) return;
  int anValues[17];
  CategoryValues(n, anValues);
  for (int i = 1; i <= 16; ++i) Edit(i)->setText(QString::number(anValues[i]));
}

CCategoryOptionsDlg::CCategoryOptionsDlg(const CategoryOptions& options, QWidget* pParent)
    : QDialog(pParent), m_options(options) {
  setWindowTitle(Text(kszCategoryOptionsTitle));
  auto* pBands = new QGroupBox(Text(kszUseBandsGroup), this);
  auto* pBandGrid = new QGridLayout(pBands);
  for (int b = 1; b <= 8; ++b) {
    m_apBand[b - 1] = new QCheckBox(QStringLiteral("Band%1").arg(b), pBands);
    m_apBand[b - 1]->setChecked(options.abUseBand[b] == 1);
    pBandGrid->addWidget(m_apBand[b - 1], (b - 1) / 4, (b - 1) % 4);
  }
  auto* pNames = new QGroupBox(Text(kszCategoryNamesGroup), this);
  auto* pNameGrid = new QGridLayout(pNames);
  for (int c = 1; c <= 8; ++c) {
    m_apName[c - 1] = new QLineEdit(QString::fromStdString(options.astrName[c]), pNames);
    pNameGrid->addWidget(new QLabel(Text(kaszCategoryLabel[c - 1]), pNames), c - 1, 0);
    pNameGrid->addWidget(m_apName[c - 1], c - 1, 1);
  }
  auto* pLayout = new QVBoxLayout(this);
  pLayout->addWidget(pBands);
  pLayout->addWidget(pNames);
  pLayout->addWidget(new QLabel(Text(kszUseBandsNote), this));
  pLayout->addWidget(Buttons(this, "OK", "キャンセル"));
}

CategoryOptions CCategoryOptionsDlg::Options() const {
  CategoryOptions options = m_options;
  for (int i = 1; i <= 8; ++i) {
    options.abUseBand[i] = m_apBand[i - 1]->isChecked() ? 1 : 0;
    options.astrName[i] = m_apName[i - 1]->text().toStdString();
  }
  return options;
}

CClassifyOptionsDlg::CClassifyOptionsDlg(const CategoryOptions& options, QWidget* pParent)
    : QDialog(pParent), m_options(options) {
  setWindowTitle(Text(kszClassifyOptionsTitle));
  auto* pCategories = new QGroupBox(Text(kszClassifyCategoriesGroup), this);
  auto* pGrid = new QGridLayout(pCategories);
  for (int c = 1; c <= 8; ++c) {
    m_apCategory[c - 1] = new QCheckBox(Text(kaszCategoryLabel[c - 1]), pCategories);
    m_apCategory[c - 1]->setChecked(options.abClassify[c] == 1);
    // The names are set in the category options; here they are only shown, on the dialog's
    // own background rather than an edit field's white, so they do not invite typing.
    auto* pName = new QLineEdit(QString::fromStdString(options.astrName[c]), pCategories);
    pName->setReadOnly(true);
    QPalette palette = pName->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Window));
    pName->setPalette(palette);
    m_apName[c - 1] = pName;
    pGrid->addWidget(m_apCategory[c - 1], c - 1, 0);
    pGrid->addWidget(pName, c - 1, 1);
  }
  // The bands in use, shown only.
  auto* pBands = new QGroupBox(Text(kszBandsInUseGroup), this);
  auto* pBandGrid = new QGridLayout(pBands);
  for (int b = 1; b <= 8; ++b) {
    auto* pBox = new QCheckBox(b == 8 ? QStringLiteral("Bnad8") : QStringLiteral("Band%1").arg(b),
                               pBands);
    pBox->setChecked(options.abUseBand[b] == 1);
    pBox->setEnabled(false);
    pBandGrid->addWidget(pBox, (b - 1) / 4, (b - 1) % 4);
  }
  auto* pLayout = new QVBoxLayout(this);
  pLayout->addWidget(pCategories);
  pLayout->addWidget(pBands);
  pLayout->addWidget(Buttons(this, "OK", "キャンセル"));
}

CategoryOptions CClassifyOptionsDlg::Options() const {
  CategoryOptions options = m_options;
  for (int c = 1; c <= 8; ++c) options.abClassify[c] = m_apCategory[c - 1]->isChecked() ? 1 : 0;
  return options;
}

void OnCategoryOptionsDialog() {
  CCategoryOptionsDlg dlg(CurrentCategoryOptions(), DialogParent());
  if (dlg.exec() == QDialog::Accepted) ApplyCategoryOptions(dlg.Options());
}

void OnClassifyOptionsDialog() {
  CClassifyOptionsDlg dlg(CurrentCategoryOptions(), DialogParent());
  if (dlg.exec() == QDialog::Accepted) ApplyClassifyOptions(dlg.Options());
}
