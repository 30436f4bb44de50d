#include "products/ui/rank_point_dialogs.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "core/state.h"
#include "products/coarse.h"
#include "products/fine.h"
#include "products/messages.h"
#include "shell/shell_commands.h"

namespace {

QString Text(const char* sz) { return QString::fromUtf8(sz); }

// The "対象とするバンド" group: "Band =" with the edit and its spin.
QGroupBox* BandGroup(QDialog* pDialog, QWidget* pSpinEdit) {
  auto* pGroup = new QGroupBox(Text(kszTargetBandGroup), pDialog);
  auto* pRow = new QHBoxLayout(pGroup);
  pRow->addWidget(new QLabel(Text(kszBandEqualsLabel), pGroup));
  pRow->addWidget(pSpinEdit);
  return pGroup;
}

}  // namespace

CRankValueDlg::CRankValueDlg(int nBand, const int anUpper[7], QWidget* pParent)
    : CIntegerDialog(Text(kszRankPointValueTitle), pParent) {
  // The band is checked first, then the bounds, which only have to be integers.
  m_pBand = AddRangeField(nBand, 1, 8);
  auto* pGrid = new QGridLayout;
  for (int k = 1; k <= 7; ++k) {
    m_apUpper[k - 1] = AddIntegerField(anUpper[k - 1]);
    pGrid->addWidget(new QLabel(Text(kaszRankBoundLabel[k - 1]), this), k - 1, 0);
    pGrid->addWidget(m_apUpper[k - 1], k - 1, 1);
    pGrid->addWidget(new QLabel(Text(kszRankBoundClose), this), k - 1, 2);
  }
  pGrid->addWidget(new QLabel(Text(kszRank8Fixed), this), 7, 0, 1, 3);

  auto* pLayout = new QVBoxLayout(this);
  pLayout->addWidget(BandGroup(this, WithSpin(m_pBand, 1, 8)));
  pLayout->addLayout(pGrid);
  pLayout->addWidget(OkCancelButtons());
}

void CRankValueDlg::Uppers(int anUpper[7]) const {
  for (int k = 0; k < 7; ++k) anUpper[k] = IntegerValue(m_apUpper[k]);
}

CPointValueDlg::CPointValueDlg(int nBand, const int anPoint[9], QWidget* pParent)
    : CIntegerDialog(Text(kszRankPointValueTitle), pParent) {
  m_pBand = AddRangeField(nBand, 1, 8);
  auto* pGrid = new QGridLayout;
  for (int k = 1; k <= 9; ++k) {
    m_apPoint[k - 1] = AddIntegerField(anPoint[k - 1]);
    // Points 1 and 9 are the ends of the scale: shown, not edited.
    m_apPoint[k - 1]->setReadOnly(k == 1 || k == 9);
    pGrid->addWidget(new QLabel(Text(kaszPointLabel[k - 1]), this), k - 1, 0);
    pGrid->addWidget(m_apPoint[k - 1], k - 1, 1);
  }

  auto* pLayout = new QVBoxLayout(this);
  pLayout->addWidget(BandGroup(this, WithSpin(m_pBand, 1, 8)));
  pLayout->addLayout(pGrid);
  pLayout->addWidget(OkCancelButtons());
}

void CPointValueDlg::Points(int anPoint[9]) const {
  for (int k = 0; k < 9; ++k) anPoint[k] = IntegerValue(m_apPoint[k]);
}

void OnCoarseBandValueDialog() {
  const int b = std::clamp(g_nCoarseBand, 1, kMaxBands);
  int anUpper[7];
  for (int k = 1; k <= 7; ++k) anUpper[k - 1] = g_anRankUpper[k][b];
  CRankValueDlg dlg(b, anUpper, DialogParent());
  if (dlg.exec() != QDialog::Accepted) return;
  dlg.Uppers(anUpper);
  ApplyRankValueDialog(dlg.Band(), anUpper);
}

void OnFineBandValueDialog() {
  const int b = std::clamp(g_nFineBand, 1, kMaxBands);
  int anPoint[9];
  for (int k = 1; k <= 9; ++k) anPoint[k - 1] = g_anFinePoint[k][b];
  CPointValueDlg dlg(b, anPoint, DialogParent());
  if (dlg.exec() != QDialog::Accepted) return;
  dlg.Points(anPoint);
  ApplyPointValueDialog(dlg.Band(), anPoint);
}
