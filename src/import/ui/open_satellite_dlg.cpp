#include "import/ui/open_satellite_dlg.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "core/document.h"
#include "import/messages.h"
#include "shell/base/dialog_windows.h"

namespace {

QString Text(const char* sz) { return QString::fromUtf8(sz); }

}  // namespace

COpenSatelliteDlg::COpenSatelliteDlg(const SatelliteDialogValues& values, QWidget* pParent)
    : QDialog(pParent) {
  setWindowTitle(Text(kszOpenSatelliteTitle));

  auto* pSensorBox = new QGroupBox(Text(kszSensorGroup), this);
  auto* pSensorGrid = new QGridLayout(pSensorBox);
  m_pSensor = new QButtonGroup(this);
  for (int i = 0; i < 5; ++i) {
    auto* pRadio = new QRadioButton(Text(kaszSensorLabel[i]), pSensorBox);
    m_pSensor->addButton(pRadio, i);
    pSensorGrid->addWidget(pRadio, i, 0);
    pSensorGrid->addWidget(new QLabel(Text(kaszSensorLine[i]), pSensorBox), i, 1);
  }
  if (QAbstractButton* pChecked = m_pSensor->button(SensorCode(values.nSensor))) {
    pChecked->setChecked(true);
  }

  auto* pSizeBox = new QGroupBox(Text(kszDisplaySizeGroup), this);
  auto* pSizeRow = new QHBoxLayout(pSizeBox);
  m_pDisplaySize = new QButtonGroup(this);
  for (int i = 0; i < 3; ++i) {
    auto* pRadio = new QRadioButton(Text(kaszDisplaySizeLabel[i]), pSizeBox);
    m_pDisplaySize->addButton(pRadio, i);
    pSizeRow->addWidget(pRadio);
  }
  if (QAbstractButton* pChecked = m_pDisplaySize->button(values.nDisplaySize)) {
    pChecked->setChecked(true);
  }

  auto* pBandGrid = new QGridLayout;
  for (int i = 0; i < kMaxBands; ++i) {
    m_apBand[i] = new QCheckBox(Text(kaszBandLabel[i]), this);
    m_apBand[i]->setChecked(values.abBandSelected[i] != 0);
    m_apPath[i] = new QLineEdit(QString::fromStdString(values.astrBandPath[i]), this);
    m_apPath[i]->setMinimumWidth(360);
    m_apBrowse[i] = new QPushButton(Text(kszBrowseButton), this);
    connect(m_apBrowse[i], &QPushButton::clicked, this, [this, i] { OnBrowseBand(i + 1); });
    pBandGrid->addWidget(m_apBand[i], i, 0);
    pBandGrid->addWidget(m_apPath[i], i, 1);
    pBandGrid->addWidget(m_apBrowse[i], i, 2);
  }
  // Band 8 is shown but cannot be chosen here.
  m_apBand[7]->setEnabled(false);
  m_apPath[7]->setEnabled(false);
  m_apBrowse[7]->setEnabled(false);

  auto* pButtons = new QDialogButtonBox(this);
  pButtons->addButton(Text(kszOpenButton), QDialogButtonBox::AcceptRole)->setDefault(true);
  pButtons->addButton(Text(kszCancelButton), QDialogButtonBox::RejectRole);
  connect(pButtons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(pButtons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* pLayout = new QVBoxLayout(this);
  pLayout->addWidget(pSensorBox);
  pLayout->addWidget(pSizeBox);
  pLayout->addLayout(pBandGrid);
  pLayout->addWidget(pButtons);
}

SatelliteDialogValues COpenSatelliteDlg::Values() const {
  SatelliteDialogValues values;
  // No radio button chosen reads as -1: no sensor, which the import refuses.
  values.nSensor = SensorFromCode(m_pSensor->checkedId());
  values.nDisplaySize = m_pDisplaySize->checkedId();
  for (int i = 0; i < kMaxBands; ++i) {
    values.abBandSelected[i] = m_apBand[i]->isChecked() ? 1 : 0;
    values.astrBandPath[i] = m_apPath[i]->text().toStdString();
  }
  return values;
}

void COpenSatelliteDlg::SetUpBrowseDialog(QFileDialog& dlg) {
  dlg.setFileMode(QFileDialog::ExistingFile);
  dlg.setAcceptMode(QFileDialog::AcceptOpen);
  // The widget dialog hides each filter's pattern, so the entries read exactly as listed while
  // the first one really matches every file ("*.*" would miss names without a dot here).
  dlg.setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::HideNameFilterDetails);
  dlg.setNameFilters({Text(kszFilterAllFiles) + QStringLiteral(" (*)"),
                      Text(kszFilterTextFiles) + QStringLiteral(" (*.txt)")});
}

void COpenSatelliteDlg::OnBrowseBand(int nBand) {
  QFileDialog dlg(this);
  SetUpBrowseDialog(dlg);
  if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return;
  m_apPath[nBand - 1]->setText(QDir::toNativeSeparators(dlg.selectedFiles().first()));
}

void OnFileOpenSatellite() {
  COpenSatelliteDlg dlg(CurrentSatelliteDialogValues(), DialogParent());
  if (dlg.exec() != QDialog::Accepted || !ConfirmSaveChanges()) return;
  ApplyOpenSatellite(dlg.Values());
}
