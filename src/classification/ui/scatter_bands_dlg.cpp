#include "classification/ui/scatter_bands_dlg.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "classification/messages.h"
#include "classification/plots.h"

namespace {
QString Text(const char* sz) { return QString::fromUtf8(sz); }
}  // namespace

CScatterBandsDlg::CScatterBandsDlg(const int anValues[], QWidget* pParent)
    : CIntegerDialog(kScatterBandsDialog, anValues, Text(kszScatterBandsTitle), pParent) {
  auto* pGrid = new QGridLayout;
  pGrid->addWidget(new QLabel(Text(kszScatterBandXLabel), this), 0, 0);
  pGrid->addWidget(FieldWidget(0), 0, 1);
  pGrid->addWidget(new QLabel(Text(kszScatterBandYLabel), this), 1, 0);
  pGrid->addWidget(FieldWidget(1), 1, 1);
  auto* pLayout = new QVBoxLayout(this);
  pLayout->addLayout(pGrid);
  pLayout->addWidget(OkCancelButtons());
}
