#include "workfile/ui/workfile_ui.h"

#include "core/commands.h"
#include "resources/resource.h"
#include "shell/base/dialog_windows.h"
#include "workfile/ui/header_sheet_dlg.h"
#include "workfile/ui/workfile_dialogs.h"
#include "workfile/workfile.h"

void RegisterWorkFileUi() {
  SetCommandHandler(ID_FILE_OPEN, OnFileOpenWorkFile);
  SetCommandHandler(ID_FILE_SAVE, OnFileSave);
  SetCommandHandler(ID_FILE_SAVE_AS, OnFileSaveAs);
  SetCommandHandler(ID_HEADER_PROPERTIES, OnHeaderProperties);
  RegisterDialogWindow(kSaveOptionsDialog, MakeDialogWindow<CSaveOptionsDlg>);
}
