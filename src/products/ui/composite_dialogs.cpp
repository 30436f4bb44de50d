#include "products/ui/composite_dialogs.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "products/messages.h"
#include "shell/shell_commands.h"

namespace {

QString Text(const char* sz) { return QString::fromUtf8(sz); }

}  // namespace

CCutOffRateDlg::CCutOffRateDlg(int nRate, QWidget* pParent)
    : CIntegerDialog(Text(kszCutOffTitle), pParent) {
  m_pRate = AddRangeField(nRate, 0, 49);
  auto* pRow = new QHBoxLayout;
  pRow->addWidget(new QLabel(Text(kszCutOffLabel), this));
  pRow->addWidget(WithSpin(m_pRate, 0, 49));
  pRow->addWidget(new QLabel(Text(kszCutOffHint), this));
  auto* pLayout = new QVBoxLayout(this);
  pLayout->addLayout(pRow);
  pLayout->addWidget(OkCancelButtons());
}

CCompositeValueDlg::CCompositeValueDlg(const CompositeBandValues& values, QWidget* pParent)
    : CIntegerDialog(Text(kszBandValueTitle), pParent) {
  const char* const kaszRow[3] = {kszRedBandLabel, kszGreenBandLabel, kszBlueBandLabel};
  const int anBand[3] = {values.nRedBand, values.nGreenBand, values.nBlueBand};
  const int anLower[3] = {values.nRedLower, values.nGreenLower, values.nBlueLower};
  const int anUpper[3] = {values.nRedUpper, values.nGreenUpper, values.nBlueUpper};

  auto* pGrid = new QGridLayout;
  for (int i = 0; i < 3; ++i) {
    m_apBand[i] = AddRangeField(anBand[i], 1, 8);
    m_apLower[i] = AddRangeField(anLower[i], 0, 254);
    m_apUpper[i] = AddRangeField(anUpper[i], 1, 255);
    pGrid->addWidget(new QLabel(Text(kaszRow[i]), this), i, 0);
    pGrid->addWidget(WithSpin(m_apBand[i], 1, 8), i, 1);
    pGrid->addWidget(new QLabel(Text(kszLowerLabel), this), i, 2);
    pGrid->addWidget(m_apLower[i], i, 3);
    pGrid->addWidget(new QLabel(Text(kszUpperLabel), this), i, 4);
    pGrid->addWidget(m_apUpper[i], i, 5);
  }
  m_pLinked = new QCheckBox(Text(kszCutOffLinkedLabel), this);
  m_pLinked->setChecked(values.bCutOffLinked == 1);

  auto* pLayout = new QVBoxLayout(this);
  pLayout->addLayout(pGrid);
  pLayout->addWidget(m_pLinked);
  pLayout->addWidget(OkCancelButtons());
}

CompositeBandValues CCompositeValueDlg::Values() const {
  CompositeBandValues values{};
  values.nRedBand = IntegerValue(m_apBand[0]);
  values.nGreenBand = IntegerValue(m_apBand[1]);
  values.nBlueBand = IntegerValue(m_apBand[2]);
  values.nRedLower = IntegerValue(m_apLower[0]);
  values.nRedUpper = IntegerValue(m_apUpper[0]);
  values.nGreenLower = IntegerValue(m_apLower[1]);
  values.nGreenUpper = IntegerValue(m_apUpper[1]);
  values.nBlueLower = IntegerValue(m_apLower[2]);
  values.nBlueUpper = IntegerValue(m_apUpper[2]);
  values.bCutOffLinked = m_pLinked->isChecked() ? 1 : 0;
  return values;
}

void OnCompositeCutOffDialog() {
  CCutOffRateDlg dlg(g_nCutOffRate, DialogParent());
  if (dlg.exec() == QDialog::Accepted) ApplyCutOffDialog(dlg.Rate());
}

void OnCompositeBandValueDialog() {
  CCompositeValueDlg dlg(CurrentCompositeBandValues(), DialogParent());
  if (dlg.exec() == QDialog::Accepted) ApplyCompositeBandValueDialog(dlg.Values());
}
