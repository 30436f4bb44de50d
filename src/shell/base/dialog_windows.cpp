#include "shell/base/dialog_windows.h"

#include <QFileDialog>
#include <QPointer>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "shell/base/integer_dialog.h"

namespace {

QPointer<QWidget> g_pDialogParent;
RecentFileHandler g_pfnRecentFile = nullptr;

DialogWindowEntry s_aWindows[kMaxDialogWindows];
int s_nWindows = 0;

}  // namespace

QWidget* DialogParent() { return g_pDialogParent.data(); }

void SetDialogParent(QWidget* pParent) { g_pDialogParent = pParent; }

void RegisterDialogWindow(const DialogSpec& dialog, DialogFactory pfnMake) {
  // Two windows for one dialog would leave it to the order of registration which one shows.
  if (FindDialogWindow(dialog.nId)) {
    std::fprintf(stderr, "dialog %d has a window already\n", dialog.nId);
    std::abort();
  }
  if (s_nWindows == kMaxDialogWindows) {
    std::fprintf(stderr, "no room for the window of dialog %d (%d windows at most)\n", dialog.nId,
                 kMaxDialogWindows);
    std::abort();
  }
  s_aWindows[s_nWindows++] = {dialog.nId, pfnMake};
}

std::span<const DialogWindowEntry> DialogWindows() {
  return {s_aWindows, static_cast<std::size_t>(s_nWindows)};
}

const DialogWindowEntry* FindDialogWindow(int nId) {
  for (const DialogWindowEntry& entry : DialogWindows()) {
    if (entry.nId == nId) return &entry;
  }
  return nullptr;
}

bool RunDialogWindow(const DialogSpec& dialog, int anValues[]) {
  const DialogWindowEntry* pEntry = FindDialogWindow(dialog.nId);
  if (!pEntry) return false;
  std::unique_ptr<CIntegerDialog> pDialog(pEntry->pfnMake(anValues, DialogParent()));
  if (pDialog->exec() != QDialog::Accepted) return false;
  pDialog->Values(anValues);
  return true;
}

void SetRecentFileHandler(RecentFileHandler pfnHandler) { g_pfnRecentFile = pfnHandler; }

void NoteRecentFile(const QString& strPath) {
  if (g_pfnRecentFile) g_pfnRecentFile(strPath);
}

QString AskFilePath(bool bSave, const QString& strFilter, const QString& strSuggested) {
  QFileDialog dlg(DialogParent());
  dlg.setOptions(QFileDialog::DontUseNativeDialog);
  dlg.setAcceptMode(bSave ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dlg.setFileMode(bSave ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  if (!strFilter.isEmpty()) dlg.setNameFilter(strFilter);
  if (!strSuggested.isEmpty()) dlg.selectFile(strSuggested);
  if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return {};
  return dlg.selectedFiles().first();
}
