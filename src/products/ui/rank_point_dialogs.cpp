#include "products/ui/rank_point_dialogs.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "products/coarse.h"
#include "products/fine.h"
#include "products/messages.h"

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

CRankValueDlg::CRankValueDlg(const int anValues[], QWidget* pParent)
    : CIntegerDialog(kRankValueDialog, anValues, Text(kszRankPointValueTitle), pParent) {
  auto* pGrid = new QGridLayout;
  for (int k = 1; k <= 7; ++k) {
    pGrid->addWidget(new QLabel(Text(kaszRankBoundLabel[k - 1]), this), k - 1, 0);
    pGrid->addWidget(FieldWidget(k), k - 1, 1);
    pGrid->addWidget(new QLabel(Text(kszRankBoundClose), this), k - 1, 2);
  }
  pGrid->addWidget(new QLabel(Text(kszRank8Fixed), this), 7, 0, 1, 3);

  auto* pLayout = new QVBoxLayout(this);
  pLayout->addWidget(BandGroup(this, FieldWidget(0)));
  pLayout->addLayout(pGrid);
  pLayout->addWidget(OkCancelButtons());
}

CPointValueDlg::CPointValueDlg(const int anValues[], QWidget* pParent)
    : CIntegerDialog(kPointValueDialog, anValues, Text(kszRankPointValueTitle), pParent) {
  auto* pGrid = new QGridLayout;
  for (int k = 1; k <= 9; ++k) {
    pGrid->addWidget(new QLabel(Text(kaszPointLabel[k - 1]), this), k - 1, 0);
    pGrid->addWidget(FieldWidget(k), k - 1, 1);
  }

  auto* pLayout = new QVBoxLayout(this);
  pLayout->addWidget(BandGroup(this, FieldWidget(0)));
  pLayout->addLayout(pGrid);
  pLayout->addWidget(OkCancelButtons());
}
