#include "import/ui/bmp_dialogs.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QVBoxLayout>

#include "import/bmp_import.h"
#include "import/import.h"
#include "core/document.h"
#include "import/messages.h"
#include "shell/base/dialog_windows.h"

namespace {

QString Text(const char* sz) { return QString::fromUtf8(sz); }

}  // namespace

CBandArithmeticDlg::CBandArithmeticDlg(const int anValues[], QWidget* pParent)
    : CIntegerDialog(kBandArithmeticDialog, anValues, Text(kszBandArithmeticTitle), pParent) {
  auto* pLayout = new QVBoxLayout(this);
  pLayout->addWidget(new QLabel(Text(kszNdviLine1), this));
  pLayout->addWidget(new QLabel(Text(kszNdviLine2), this));
  pLayout->addWidget(OkCancelButtons(kszNdviCreate));
}

void OnFileOpenBmp() {
  // Default extension "bmp", the name box opening with "*.bmp", no list of filters.
  QFileDialog dlg(DialogParent());
  dlg.setOptions(QFileDialog::DontUseNativeDialog);
  dlg.setAcceptMode(QFileDialog::AcceptOpen);
  dlg.setFileMode(QFileDialog::ExistingFile);
  dlg.setDefaultSuffix(Text("bmp"));
  dlg.selectFile(Text("*.bmp"));
  if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return;
  if (!ConfirmSaveChanges()) return;
  ImportBmpFile(dlg.selectedFiles().first().toStdString());
}
