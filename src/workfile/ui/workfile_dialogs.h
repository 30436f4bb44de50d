// The work file's dialogs: the save options (145), the file information shown before a file is
// read (167), and the open, save and save-as commands with their file dialogs.
#pragma once

#include <QDialog>

#include "core/platform.h"
#include "shell/base/integer_dialog.h"

class CSaveOptionsDlg : public CIntegerDialog {
  Q_OBJECT

 public:
  // anValues: the thirteen section flags.
  explicit CSaveOptionsDlg(const int anValues[], QWidget* pParent = nullptr);
};

class CFileInformationDlg : public QDialog {
  Q_OBJECT

 public:
  explicit CFileInformationDlg(const FileInformation& info, QWidget* pParent = nullptr);
};

// The file menu's open, save and save-as commands.
void OnFileOpenWorkFile();
void OnFileSave();
void OnFileSaveAs();
// Opens strPath as a work file and, when it was read, puts it at the top of the recent files.
bool OpenWorkFileFromShell(const QString& strPath);
