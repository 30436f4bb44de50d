#include "workfile/ui/workfile_dialogs.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "shell/base/dialog_windows.h"
#include "workfile/workfile.h"
#include "workfile/workfile_format.h"

namespace {

QString Text(const char* sz) { return QString::fromUtf8(sz); }
QString Text(const std::string& str) { return QString::fromStdString(str); }

QString AskPath(bool bSave) {
  return AskFilePath(bSave, QString(), bSave ? Text(DocumentPath()) : QString());
}

}  // namespace

CSaveOptionsDlg::CSaveOptionsDlg(const int anValues[], QWidget* pParent)
    : CIntegerDialog(kSaveOptionsDialog, anValues, Text("保存のオプション"), pParent) {
  auto* pLayout = new QVBoxLayout(this);
  pLayout->addWidget(new QLabel(
      Text("1.データのみ\n（複数のバンドを1つのファイルとします）\n"
           "2.クエリーとパレットのみ\n（同一センサのデータならクエリーとパレットを入替できます）\n"
           "3.データとクエリーとパレット\n（上記2つを併せ、今の状態が丸ごと保存されます）"),
      this));
  auto* pGrid = new QGridLayout;
  for (int i = 0; i < SaveSectionCount(); ++i) {
    CheckBox(i)->setText(Text(SaveSectionLabel(i)));
    pGrid->addWidget(FieldWidget(i), i, 0);
    const std::string strDetail = SaveSectionDetail(i);
    if (!strDetail.empty()) {
      // What the section is about (a category's current name), read-only.
      auto* pDetail = new QLineEdit(Text(strDetail), this);
      pDetail->setReadOnly(true);
      pGrid->addWidget(pDetail, i, 1);
    }
  }
  auto* pCategories = new QGroupBox(Text("カテゴリー画像（トレーニングエリア）"), this);
  pCategories->setLayout(pGrid);
  pLayout->addWidget(pCategories);
  pLayout->addWidget(new QLabel(
      Text("クエリーとはデータをどのように表示するかの設定値（変数）です。パレットは色情報です。\n"
           "よく分からない場合は全てチェックして保存することをお勧めします。"),
      this));
  pLayout->addWidget(OkCancelButtons());
}

CFileInformationDlg::CFileInformationDlg(const FileInformation& info, QWidget* pParent)
    : QDialog(pParent) {
  setWindowTitle(Text("ファイルの情報"));
  auto* pFile = new QGroupBox(Text("FileInfo"), this);
  auto* pFileGrid = new QGridLayout(pFile);
  const std::pair<const char*, int> aValues[4] = {
      {"Sensor:", info.nSensor}, {"X", info.nMaxX}, {"Y", info.nMaxY}, {"Z", info.nLastBand}};
  for (int i = 0; i < 4; ++i) {
    pFileGrid->addWidget(new QLabel(Text(aValues[i].first), pFile), i, 0);
    auto* pValue = new QLineEdit(QString::number(aValues[i].second), pFile);
    pValue->setReadOnly(true);
    pFileGrid->addWidget(pValue, i, 1);
  }
  auto* pSections = new QGroupBox(Text("読み込み項目（参考）"), this);
  auto* pSectionGrid = new QGridLayout(pSections);
  for (int i = 0; i < static_cast<int>(info.abSection.size()); ++i) {
    auto* pBox = new QCheckBox(Text(SaveSectionLabel(i)), pSections);
    pBox->setChecked(info.abSection[i] == 1);
    pBox->setEnabled(false);
    pSectionGrid->addWidget(pBox, i % 7, i / 7);
  }
  auto* pCase = new QGroupBox(Text("このファイルの読み込み情報"), this);
  auto* pCaseLayout = new QVBoxLayout(pCase);
  auto* pCaseText = new QLabel(Text(info.strCase), pCase);
  pCaseText->setWordWrap(true);
  pCaseLayout->addWidget(pCaseText);

  auto* pButtons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(pButtons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(pButtons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* pLayout = new QVBoxLayout(this);
  pLayout->addWidget(pFile);
  pLayout->addWidget(pSections);
  pLayout->addWidget(pCase);
  pLayout->addWidget(pButtons);
}

bool OpenWorkFileFromShell(const QString& strPath) {
  if (!ConfirmSaveChanges() || !OpenWorkFile(strPath.toStdString())) return false;
  NoteRecentFile(strPath);
  return true;
}

void OnFileOpenWorkFile() {
  const QString strPath = AskPath(false);
  if (!strPath.isEmpty()) OpenWorkFileFromShell(strPath);
}

void OnFileSaveAs() {
  const QString strPath = AskPath(true);
  if (!strPath.isEmpty() && SaveWorkFile(strPath.toStdString())) NoteRecentFile(strPath);
}

void OnFileSave() {
  if (DocumentPath().empty()) {
    OnFileSaveAs();
    return;
  }
  SaveWorkFile(DocumentPath());
}
