#include "classification/ui/classification_ui.h"

#include "classification/categories.h"
#include "classification/ui/accuracy_dlg.h"
#include "classification/ui/category_dialogs.h"
#include "classification/ui/classify_method_dlg.h"
#include "classification/plots.h"
#include "classification/ui/scatter_bands_dlg.h"
#include "classification/ui/separability_dlg.h"
#include "classification/ui/signature_dialogs.h"
#include "core/commands.h"
#include "resources/resource.h"
#include "shell/base/dialog_windows.h"

void RegisterClassificationUi() {
  SetCommandHandler(ID_CATEGORY_OPTIONS, OnCategoryOptionsDialog);
  SetCommandHandler(ID_CLASSIFY_OPTIONS, OnClassifyOptionsDialog);
  SetCommandHandler(ID_CLASSIFY_SEPARABILITY, OnSeparabilityDialog);
  SetCommandHandler(ID_SIGNATURE_SAVE, OnSaveSignaturesDialog);
  SetCommandHandler(ID_SIGNATURE_LOAD, OnLoadSignaturesDialog);
  SetCommandHandler(ID_ACCURACY, OnAccuracyDialog);
  RegisterDialogWindow(kCategoryValueDialog, MakeDialogWindow<CCategoryValueDlg>);
  RegisterDialogWindow(kClassifyMethodDialog, MakeDialogWindow<CClassifyMethodDlg>);
  RegisterDialogWindow(kScatterBandsDialog, MakeDialogWindow<CScatterBandsDlg>);
}
