#include "histograms/ui/histograms_ui.h"

#include "histograms/histograms.h"
#include "histograms/ui/line_width_dlg.h"
#include "shell/base/dialog_windows.h"

void RegisterHistogramsUi() {
  RegisterDialogWindow(kLineWidthDialog, MakeDialogWindow<CLineWidthDlg>);
}
