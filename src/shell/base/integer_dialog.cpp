#include "shell/base/integer_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <algorithm>
#include <climits>

#include "core/platform.h"

namespace {

int IntegerValue(const QLineEdit* pEdit) {
  bool bOk = false;
  const int nValue = pEdit->text().trimmed().toInt(&bOk);
  return bOk ? nValue : 0;
}

}  // namespace

CIntegerDialog::CIntegerDialog(const DialogSpec& dialog, const int anValues[],
                               const QString& strTitle, QWidget* pParent)
    : QDialog(pParent), m_dialog(dialog) {
  setWindowTitle(strTitle);
  for (std::size_t i = 0; i < dialog.aFields.size(); ++i) {
    const DialogField& field = dialog.aFields[i];
    Field f;
    if (field.eKind == FieldKind::Check) {
      f.pCheck = new QCheckBox(this);
      f.pCheck->setChecked(anValues[i] == 1);
      f.pWidget = f.pCheck;
    } else {
      f.pEdit = new QLineEdit(QString::number(anValues[i]), this);
      // Digits and a sign only; the range itself is checked on OK with the range message.
      f.pEdit->setValidator(new QIntValidator(INT_MIN, INT_MAX, f.pEdit));
      f.pEdit->setReadOnly(field.eKind == FieldKind::Fixed);
      f.pWidget = field.bSpin ? WithSpin(f.pEdit, field.nMin, field.nMax) : f.pEdit;
    }
    m_aFields.push_back(f);
  }
}

void CIntegerDialog::Values(int anValues[]) const {
  for (std::size_t i = 0; i < m_aFields.size(); ++i) {
    const Field& f = m_aFields[i];
    anValues[i] = f.pCheck ? (f.pCheck->isChecked() ? 1 : 0) : IntegerValue(f.pEdit);
  }
}

QWidget* CIntegerDialog::WithSpin(QLineEdit* pEdit, int nMin, int nMax) {
  auto* pBox = new QWidget(this);
  auto* pLayout = new QHBoxLayout(pBox);
  pLayout->setContentsMargins(0, 0, 0, 0);
  pLayout->setSpacing(0);
  pLayout->addWidget(pEdit);
  auto* pUp = new QToolButton(pBox);
  pUp->setArrowType(Qt::UpArrow);
  auto* pDown = new QToolButton(pBox);
  pDown->setArrowType(Qt::DownArrow);
  pLayout->addWidget(pUp);
  pLayout->addWidget(pDown);
  auto step = [pEdit, nMin, nMax](int nDelta) {
    const int nValue = std::clamp(IntegerValue(pEdit) + nDelta, nMin, nMax);
    pEdit->setText(QString::number(nValue));
  };
  connect(pUp, &QToolButton::clicked, pEdit, [step] { step(1); });
  connect(pDown, &QToolButton::clicked, pEdit, [step] { step(-1); });
  return pBox;
}

QDialogButtonBox* CIntegerDialog::OkCancelButtons(const char* szOk, const char* szCancel) {
  auto* pButtons = new QDialogButtonBox(this);
  pButtons->addButton(QString::fromUtf8(szOk), QDialogButtonBox::AcceptRole)->setDefault(true);
  pButtons->addButton(QString::fromUtf8(szCancel), QDialogButtonBox::RejectRole);
  connect(pButtons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(pButtons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  return pButtons;
}

void CIntegerDialog::accept() {
  for (std::size_t i = 0; i < m_aFields.size(); ++i) {
    QLineEdit* pEdit = m_aFields[i].pEdit;
    if (!pEdit) continue;
    const std::string strMessage = FieldRefusal(m_dialog.aFields[i], pEdit->text().toStdString());
    if (!strMessage.empty()) {
      ThePlatform().MessageBox(strMessage, kszAppCaption, MsgButtons::Ok);
      pEdit->setFocus();
      pEdit->selectAll();
      return;
    }
  }
  // Values that do not fit the scene keep the dialog open too, on its first field.
  if (m_dialog.pfnRefusal) {
    int anValues[kMaxDialogFields] = {};
    Values(anValues);
    const std::string strMessage = m_dialog.pfnRefusal(anValues);
    if (!strMessage.empty()) {
      ThePlatform().MessageBox(strMessage, kszAppCaption, MsgButtons::Ok);
      if (!m_aFields.empty() && m_aFields.front().pEdit) {
        m_aFields.front().pEdit->setFocus();
        m_aFields.front().pEdit->selectAll();
      }
      return;
    }
  }
  QDialog::accept();
}
