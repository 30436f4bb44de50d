#include "products/ui/products_ui.h"

#include "products/coarse.h"
#include "products/composite.h"
#include "products/fine.h"
#include "products/ui/composite_dialogs.h"
#include "products/ui/rank_point_dialogs.h"
#include "shell/base/dialog_windows.h"

void RegisterProductsUi() {
  RegisterDialogWindow(kCutOffDialog, MakeDialogWindow<CCutOffRateDlg>);
  RegisterDialogWindow(kCompositeValueDialog, MakeDialogWindow<CCompositeValueDlg>);
  RegisterDialogWindow(kRankValueDialog, MakeDialogWindow<CRankValueDlg>);
  RegisterDialogWindow(kPointValueDialog, MakeDialogWindow<CPointValueDlg>);
}
