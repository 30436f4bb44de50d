#include "shell/integer_dialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QIntValidator>
#include <QLineEdit>
#include <QToolButton>
#include <algorithm>
#include <climits>

#include "core/platform.h"

CIntegerDialog::CIntegerDialog(const QString& strTitle, QWidget* pParent) : QDialog(pParent) {
  setWindowTitle(strTitle);
}

int CIntegerDialog::IntegerValue(const QLineEdit* pEdit) {
  bool bOk = false;
  const int nValue = pEdit->text().trimmed().toInt(&bOk);
  return bOk ? nValue : 0;
}

QLineEdit* CIntegerDialog::AddRangeField(int nValue, int nMin, int nMax) {
  auto* pEdit = new QLineEdit(QString::number(nValue), this);
  // Digits and a sign only; the range itself is checked on OK with the range message.
  pEdit->setValidator(new QIntValidator(INT_MIN, INT_MAX, pEdit));
  m_aFields.push_back({pEdit, nMin, nMax, true});
  return pEdit;
}

QLineEdit* CIntegerDialog::AddIntegerField(int nValue) {
  auto* pEdit = new QLineEdit(QString::number(nValue), this);
  pEdit->setValidator(new QIntValidator(INT_MIN, INT_MAX, pEdit));
  m_aFields.push_back({pEdit, 0, 0, false});
  return pEdit;
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

QDialogButtonBox* CIntegerDialog::OkCancelButtons() {
  auto* pButtons = new QDialogButtonBox(this);
  pButtons->addButton(QString::fromUtf8(kszDialogOk), QDialogButtonBox::AcceptRole)->setDefault(true);
  pButtons->addButton(QString::fromUtf8(kszDialogCancel), QDialogButtonBox::RejectRole);
  connect(pButtons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(pButtons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  return pButtons;
}

void CIntegerDialog::accept() {
  for (const Field& field : m_aFields) {
    bool bOk = false;
    const int nValue = field.pEdit->text().trimmed().toInt(&bOk);
    QString strMessage;
    if (field.bRange && (!bOk || nValue < field.nMin || nValue > field.nMax)) {
      strMessage = QString::fromStdString(RangeMessage(field.nMin, field.nMax));
    } else if (!bOk) {
      strMessage = QString::fromUtf8(kszIntegerMessage);
    }
    if (!strMessage.isEmpty()) {
      ThePlatform().MessageBox(strMessage.toStdString(), kszAppCaption, MsgButtons::Ok);
      field.pEdit->setFocus();
      field.pEdit->selectAll();
      return;
    }
  }
  QDialog::accept();
}
