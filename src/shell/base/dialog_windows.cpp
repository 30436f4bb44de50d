#include "shell/base/dialog_windows.h"

#include <QPointer>
#include <QWidget>

namespace {

QPointer<QWidget> g_pDialogParent;
RecentFileHandler g_pfnRecentFile = nullptr;

}  // namespace

QWidget* DialogParent() { return g_pDialogParent.data(); }

void SetDialogParent(QWidget* pParent) { g_pDialogParent = pParent; }

void SetRecentFileHandler(RecentFileHandler pfnHandler) { g_pfnRecentFile = pfnHandler; }

void NoteRecentFile(const QString& strPath) {
  if (g_pfnRecentFile) g_pfnRecentFile(strPath);
}
