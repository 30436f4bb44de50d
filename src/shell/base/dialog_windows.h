// What the subsystems' dialogs need from the desktop, and no more of it: the window that owns
// them and word of a work file opened or saved.
// The main window lives above this, so a dialog cannot reach into it.
#pragma once

class QString;
class QWidget;

// The window that owns the program's dialogs (the main frame once it exists), or nullptr.
QWidget* DialogParent();
void SetDialogParent(QWidget* pParent);

// A work file was opened or saved under strPath: whoever keeps the recent-file list (the main
// frame while it exists) hears of it; nobody does when no handler is set.
using RecentFileHandler = void (*)(const QString& strPath);
void SetRecentFileHandler(RecentFileHandler pfnHandler);
void NoteRecentFile(const QString& strPath);
