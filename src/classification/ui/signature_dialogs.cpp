#include "classification/ui/signature_dialogs.h"

#include <QString>

#include "classification/signature.h"
#include "core/platform.h"
#include "shell/base/dialog_windows.h"

namespace {
QString SignatureFilter() { return QString::fromUtf8("シグネチャ (*.json);;すべてのファイル (*)"); }
}  // namespace

void OnSaveSignaturesDialog() {
  const QString strPath = AskFilePath(true, SignatureFilter(), QStringLiteral("signatures.json"));
  if (!strPath.isEmpty()) SaveSignatures(strPath.toStdString());
}

void OnLoadSignaturesDialog() {
  const QString strPath = AskFilePath(false, SignatureFilter(), QString());
  if (!strPath.isEmpty() && LoadSignatures(strPath.toStdString())) ThePlatform().RepaintNow();
}
