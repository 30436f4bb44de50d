// What the subsystems' dialogs need from the desktop, and no more of it: the window that owns
// them, the table of the described dialogs' windows, and word of a work file opened or saved.
// The main window lives above this, so a dialog cannot reach into it.
#pragma once

#include <span>

#include "core/dialogs.h"

class CIntegerDialog;
class QString;
class QWidget;

// The window that owns the program's dialogs (the main frame once it exists), or nullptr.
QWidget* DialogParent();
void SetDialogParent(QWidget* pParent);

// Makes the window of a described dialog, opened with anValues.
using DialogFactory = CIntegerDialog* (*)(const int anValues[], QWidget* pParent);

template <typename Dialog>
CIntegerDialog* MakeDialogWindow(const int anValues[], QWidget* pParent) {
  return new Dialog(anValues, pParent);
}

struct DialogWindowEntry {
  int nId;  // the described dialog's number
  DialogFactory pfnMake;
};

// Room for every described dialog, with some to spare.
inline constexpr int kMaxDialogWindows = 32;

// Gives a described dialog its window, at start-up:
//   RegisterDialogWindow(kCutOffDialog, MakeDialogWindow<CCutOffRateDlg>);
// A second window for the same number, or one more than the table holds, is a programming
// error: it is reported on stderr, naming the dialog, and the program stops.
void RegisterDialogWindow(const DialogSpec& dialog, DialogFactory pfnMake);

// The registered windows, in the order of registration.
std::span<const DialogWindowEntry> DialogWindows();
// The window of dialog nId, or nullptr when the desktop has none for it.
const DialogWindowEntry* FindDialogWindow(int nId);

// Runs the window of dialog modally: true and the values on OK.
bool RunDialogWindow(const DialogSpec& dialog, int anValues[]);

// A work file was opened or saved under strPath: whoever keeps the recent-file list (the main
// frame while it exists) hears of it; nobody does when no handler is set.
using RecentFileHandler = void (*)(const QString& strPath);
void SetRecentFileHandler(RecentFileHandler pfnHandler);
void NoteRecentFile(const QString& strPath);

// The program's own file dialog (the same look in every session): an existing file to open, or
// a name to save under (strSuggested preselected). strFilter as Qt's name filters ("" for all
// files). An empty string when cancelled.
QString AskFilePath(bool bSave, const QString& strFilter, const QString& strSuggested);
