#include "output/ui/output_ui.h"

#include "core/commands.h"
#include "output/output.h"
#include "output/ui/print_commands.h"
#include "output/ui/scene_classify_dlg.h"
#include "output/ui/vector_areas_dlg.h"
#include "resources/resource.h"
#include "shell/base/dialog_windows.h"

void RegisterOutputUi() {
  SetCommandHandler(ID_FILE_PRINT, OnFilePrint);
  SetCommandHandler(ID_FILE_PRINT_PREVIEW, OnFilePrintPreview);
  SetCommandHandler(ID_FILE_PRINT_SETUP, OnFilePrintSetup);
  SetCommandHandler(ID_EDIT_COPY, OnEditCopy);
  SetCommandHandler(ID_EDIT_EMPTY_CLIPBOARD, OnEditEmptyClipboard);
  SetCommandHandler(ID_CLASSIFY_SCENE, OnClassifySceneDialog);
  SetCommandHandler(ID_AREAS_LOAD, OnLoadAreasDialog);
  SetCommandHandler(ID_AREAS_SAVE, OnSaveAreasDialog);
  RegisterDialogWindow(kPrintStepDialog, MakeDialogWindow<CPrintStepDlg>);
}
