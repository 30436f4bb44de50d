#include "workfile/ui/header_sheet_dlg.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "core/state.h"
#include "shell/base/dialog_windows.h"
#include "workfile/header_sheet.h"

namespace {
QString Text(const char* sz) { return QString::fromUtf8(sz); }
QString Text(const std::string& str) { return QString::fromStdString(str); }
}  // namespace

CHeaderSheet::CHeaderSheet(QWidget* pParent) : QDialog(pParent) {
  setWindowTitle(Text("ヘッダーのプロパティ"));
  m_pTabs = new QTabWidget(this);
  for (int b = 1; b <= kMaxBands; ++b) {
    auto* pText = new QPlainTextEdit(Text(HeaderPageText(b)));
    pText->setReadOnly(true);
    pText->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_pTabs->addTab(pText, QStringLiteral(" Band%1 ").arg(b));
  }

  auto* pButtons = new QDialogButtonBox(
      QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Apply, this);
  m_pApply = pButtons->button(QDialogButtonBox::Apply);
  m_pApply->setEnabled(false);

  auto* pUser = new QWidget;
  auto* pUserForm = new QFormLayout(pUser);
  const char* const kaszLabel[4] = {"UserName:", "UserInfo:", "DataInfo:", "DateInfo:"};
  for (int i = 0; i < 4; ++i) {
    m_apUser[i] = new QLineEdit(Text(g_astrUserText[i]), pUser);
    pUserForm->addRow(Text(kaszLabel[i]), m_apUser[i]);
    // Typing marks the page modified; Apply stores nothing.
    connect(m_apUser[i], &QLineEdit::textEdited, this, [this] { m_pApply->setEnabled(true); });
  }
  m_pTabs->addTab(pUser, QStringLiteral(" UserInfo "));

  auto* pFile = new QWidget;
  auto* pFileForm = new QFormLayout(pFile);
  const std::pair<const char*, QString> aRows[4] = {
      {"センサ：", Text(SensorName())},
      {"Ｘ軸：", QString::number(g_nMaxX + 1)},
      {"Ｙ軸：", QString::number(g_nMaxY + 1)},
      {"Ｚ軸：", QString::number(g_nLastBand + 1)}};
  for (const auto& [szLabel, strValue] : aRows) {
    auto* pValue = new QLineEdit(strValue, pFile);
    pValue->setReadOnly(true);
    pFileForm->addRow(Text(szLabel), pValue);
  }
  m_pTabs->addTab(pFile, QStringLiteral("FileInfo"));

  connect(pButtons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(pButtons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(m_pApply, &QPushButton::clicked, this, [this] { m_pApply->setEnabled(false); });
  auto* pLayout = new QVBoxLayout(this);
  pLayout->addWidget(m_pTabs);
  pLayout->addWidget(pButtons);
}

void CHeaderSheet::accept() {
  for (int i = 0; i < 4; ++i) g_astrUserText[i] = m_apUser[i]->text().toStdString();
  QDialog::accept();
}

void OnHeaderProperties() {
  CHeaderSheet sheet(DialogParent());
  sheet.exec();
}
