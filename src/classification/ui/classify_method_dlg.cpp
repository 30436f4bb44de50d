#include "classification/ui/classify_method_dlg.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {
QString Text(const char* sz) { return QString::fromUtf8(sz); }
}  // namespace

CClassifyMethodDlg::CClassifyMethodDlg(const int anValues[], QWidget* pParent)
    : CIntegerDialog(kClassifyMethodDialog, anValues, Text("分類方法の設定"), pParent) {
  auto* pMethods = new QGroupBox(Text("分類方法"), this);
  auto* pMethodLayout = new QVBoxLayout(pMethods);
  const char* kaszMethod[2] = {"最短距離法", "最尤法"};
  for (int m = 0; m < 2; ++m) {
    m_apMethod[m] = new QRadioButton(Text(kaszMethod[m]), pMethods);
    m_apMethod[m]->setChecked(anValues[0] == m);
    pMethodLayout->addWidget(m_apMethod[m]);
    connect(m_apMethod[m], &QRadioButton::toggled, this, [this, m](bool bOn) {
      if (bOn) Edit(0)->setText(QString::number(m));
    });
  }
  FieldWidget(0)->hide();

  auto* pReject = new QGroupBox(Text("棄却しきい値（超えたピクセルは未分類）"), this);
  auto* pGrid = new QGridLayout(pReject);
  pGrid->addWidget(new QLabel(Text("最短距離法：距離"), pReject), 0, 0);
  pGrid->addWidget(FieldWidget(1), 0, 1);
  pGrid->addWidget(new QLabel(Text("（1～721、0 は棄却しない）"), pReject), 0, 2);
  pGrid->addWidget(new QLabel(Text("最尤法：確率"), pReject), 1, 0);
  m_pProbability = new QComboBox(pReject);
  m_pProbability->addItem(Text("棄却しない"));
  for (int k = 1; k <= 6; ++k) {
    m_pProbability->addItem(QString::number(kadRejectPercent[k]) + Text("％"));
  }
  m_pProbability->setCurrentIndex(anValues[2] >= 0 && anValues[2] <= 6 ? anValues[2] : 0);
  connect(m_pProbability, &QComboBox::currentIndexChanged, this,
          [this](int k) { Edit(2)->setText(QString::number(k)); });
  FieldWidget(2)->hide();
  pGrid->addWidget(m_pProbability, 1, 1);

  auto* pLayout = new QVBoxLayout(this);
  pLayout->addWidget(pMethods);
  pLayout->addWidget(pReject);
  pLayout->addWidget(FieldWidget(0));
  pLayout->addWidget(FieldWidget(2));
  pLayout->addWidget(OkCancelButtons());
}
