#include "histograms/ui/line_width_dlg.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "histograms/histograms.h"

namespace {
QString Text(const char* sz) { return QString::fromUtf8(sz); }
}  // namespace

CLineWidthDlg::CLineWidthDlg(const int anValues[], QWidget* pParent)
    : CIntegerDialog(kLineWidthDialog, anValues, Text("線の幅"), pParent) {
  auto* pRow = new QHBoxLayout;
  pRow->addWidget(new QLabel(Text("Ｂ＝"), this));
  pRow->addWidget(FieldWidget(0));
  pRow->addWidget(new QLabel(Text("( 1～3 )"), this));
  auto* pLayout = new QVBoxLayout(this);
  pLayout->addLayout(pRow);
  pLayout->addWidget(OkCancelButtons("更新", "ｷｬﾝｾﾙ"));
}
