#include "output/ui/vector_areas_dlg.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "core/platform.h"
#include "core/text_format.h"
#include "output/messages.h"
#include "shell/base/dialog_windows.h"
#include "shell/base/integer_dialog.h"

namespace {

QString Text(const char* sz) { return QString::fromUtf8(sz); }

QString VectorFilter() {
  return Text("ベクタファイル (*.gpkg *.shp *.geojson *.json *.kml *.gml *.sqlite);;"
              "すべてのファイル (*)");
}

}  // namespace

CAreaFieldDlg::CAreaFieldDlg(const std::string& strPath, const std::vector<std::string>& astrFields,
                             QWidget* pParent)
    : QDialog(pParent), m_strPath(strPath) {
  setWindowTitle(Text("ベクタファイルからエリアを読み込む"));
  m_pField = new QComboBox(this);
  bool bHasKind = false;
  for (const std::string& str : astrFields) {
    m_pField->addItem(QString::fromStdString(str));
    bHasKind = bHasKind || QString::fromStdString(str).compare(Text(kszKindField), Qt::CaseInsensitive) == 0;
  }
  const int nCategory = m_pField->findText(QStringLiteral("category"), Qt::MatchFixedString);
  if (nCategory >= 0) m_pField->setCurrentIndex(nCategory);

  auto* pKinds = new QGroupBox(Text("エリアの種類"), this);
  auto* pKindLayout = new QVBoxLayout(pKinds);
  const char* kaszKind[3] = {"ファイルの kind フィールドに従う", "トレーニングエリア", "テストエリア"};
  for (int k = 0; k < 3; ++k) {
    m_apKind[k] = new QRadioButton(Text(kaszKind[k]), pKinds);
    pKindLayout->addWidget(m_apKind[k]);
  }
  m_apKind[static_cast<int>(AreaKind::FromFile)]->setEnabled(bHasKind);
  m_apKind[static_cast<int>(bHasKind ? AreaKind::FromFile : AreaKind::Training)]->setChecked(true);

  auto* pForm = new QFormLayout;
  pForm->addRow(Text("カテゴリーの番号か名前のフィールド："), m_pField);
  auto* pButtons = new QDialogButtonBox(this);
  pButtons->addButton(Text(kszDialogOk), QDialogButtonBox::AcceptRole)->setDefault(true);
  pButtons->addButton(Text(kszDialogCancel), QDialogButtonBox::RejectRole);
  connect(pButtons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(pButtons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* pLayout = new QVBoxLayout(this);
  pLayout->addLayout(pForm);
  pLayout->addWidget(pKinds);
  pLayout->addWidget(pButtons);
  // A layer without fields names no category: nothing to choose.
  pButtons->buttons().first()->setEnabled(!astrFields.empty());
}

AreaReading CAreaFieldDlg::Reading() const {
  AreaReading reading{.strPath = m_strPath, .strField = m_pField->currentText().toStdString()};
  for (int k = 0; k < 3; ++k) {
    if (m_apKind[k]->isChecked()) reading.eKind = static_cast<AreaKind>(k);
  }
  return reading;
}

void OnLoadAreasDialog() {
  const QString strPath = AskFilePath(false, VectorFilter(), QString());
  if (strPath.isEmpty()) return;
  const std::string strFile = strPath.toStdString();
  std::vector<std::string> astrFields;
  std::string strReason;
  if (!ReadAreaFields(strFile, astrFields, strReason)) {
    ShowMessage(FormatText(kszMsgAreasNotRead, strFile.c_str(), strReason.c_str()), kszCapAreas);
    return;
  }
  CAreaFieldDlg dlg(strFile, astrFields, DialogParent());
  if (dlg.exec() == QDialog::Accepted) LoadVectorAreas(dlg.Reading());
}

void OnSaveAreasDialog() {
  QString strPath = AskFilePath(true, Text("GeoPackage (*.gpkg)"), QStringLiteral("areas.gpkg"));
  if (strPath.isEmpty()) return;
  if (!IsGeoPackagePath(strPath.toStdString())) strPath += QStringLiteral(".gpkg");
  SaveVectorAreas(strPath.toStdString());
}
