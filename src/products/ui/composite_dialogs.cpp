#include "products/ui/composite_dialogs.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "products/composite.h"
#include "products/messages.h"

namespace {

QString Text(const char* sz) { return QString::fromUtf8(sz); }

}  // namespace

CCutOffRateDlg::CCutOffRateDlg(const int anValues[], QWidget* pParent)
    : CIntegerDialog(kCutOffDialog, anValues, Text(kszCutOffTitle), pParent) {
  auto* pRow = new QHBoxLayout;
  pRow->addWidget(new QLabel(Text(kszCutOffLabel), this));
  pRow->addWidget(FieldWidget(0));
  pRow->addWidget(new QLabel(Text(kszCutOffHint), this));
  auto* pLayout = new QVBoxLayout(this);
  pLayout->addLayout(pRow);
  pLayout->addWidget(OkCancelButtons());
}

CCompositeValueDlg::CCompositeValueDlg(const int anValues[], QWidget* pParent)
    : CIntegerDialog(kCompositeValueDialog, anValues, Text(kszBandValueTitle), pParent) {
  const char* const kaszRow[3] = {kszRedBandLabel, kszGreenBandLabel, kszBlueBandLabel};
  auto* pGrid = new QGridLayout;
  for (int i = 0; i < 3; ++i) {
    pGrid->addWidget(new QLabel(Text(kaszRow[i]), this), i, 0);
    pGrid->addWidget(FieldWidget(3 * i), i, 1);
    pGrid->addWidget(new QLabel(Text(kszLowerLabel), this), i, 2);
    pGrid->addWidget(FieldWidget(3 * i + 1), i, 3);
    pGrid->addWidget(new QLabel(Text(kszUpperLabel), this), i, 4);
    pGrid->addWidget(FieldWidget(3 * i + 2), i, 5);
  }
  LinkedBox()->setText(Text(kszCutOffLinkedLabel));

  auto* pLayout = new QVBoxLayout(this);
  pLayout->addLayout(pGrid);
  pLayout->addWidget(LinkedBox());
  pLayout->addWidget(OkCancelButtons());
}
