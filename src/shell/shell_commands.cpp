#include "shell/shell_commands.h"

#include <QWidget>
#include <map>
#include <memory>

#include "core/commands.h"
#include "classification/ui/category_dialogs.h"
#include "histograms/ui/line_width_dlg.h"
#include "import/ui/bmp_dialogs.h"
#include "import/ui/open_raster_dlg.h"
#include "import/ui/open_satellite_dlg.h"
#include "output/ui/print_commands.h"
#include "products/ui/composite_dialogs.h"
#include "products/ui/rank_point_dialogs.h"
#include "resources/resource.h"
#include "workfile/ui/header_sheet_dlg.h"
#include "workfile/ui/workfile_dialogs.h"

namespace {

std::map<int, DialogFactory> g_mapDialogWindows;

template <typename Dialog>
CIntegerDialog* Make(const int anValues[], QWidget* pParent) {
  return new Dialog(anValues, pParent);
}

}  // namespace

bool HasDialogWindow(int nId) { return g_mapDialogWindows.count(nId) != 0; }

bool RunDialogWindow(const DialogSpec& dialog, int anValues[]) {
  const auto it = g_mapDialogWindows.find(dialog.nId);
  if (it == g_mapDialogWindows.end()) return false;
  std::unique_ptr<CIntegerDialog> pDialog(it->second(anValues, DialogParent()));
  if (pDialog->exec() != QDialog::Accepted) return false;
  pDialog->Values(anValues);
  return true;
}

void RegisterShellCommands() {
  SetCommandHandler(ID_OPEN_SATELLITE, OnFileOpenSatellite);
  SetCommandHandler(ID_OPEN_RASTER, OnFileOpenRaster);
  SetCommandHandler(ID_OPEN_BMP, OnFileOpenBmp);
  SetCommandHandler(ID_FILE_PRINT, OnFilePrint);
  SetCommandHandler(ID_FILE_PRINT_PREVIEW, OnFilePrintPreview);
  SetCommandHandler(ID_FILE_PRINT_SETUP, OnFilePrintSetup);
  SetCommandHandler(ID_EDIT_COPY, OnEditCopy);
  SetCommandHandler(ID_EDIT_EMPTY_CLIPBOARD, OnEditEmptyClipboard);
  SetCommandHandler(ID_CATEGORY_OPTIONS, OnCategoryOptionsDialog);
  SetCommandHandler(ID_CLASSIFY_OPTIONS, OnClassifyOptionsDialog);
  SetCommandHandler(ID_FILE_OPEN, OnFileOpenWorkFile);
  SetCommandHandler(ID_FILE_SAVE, OnFileSave);
  SetCommandHandler(ID_FILE_SAVE_AS, OnFileSaveAs);
  SetCommandHandler(ID_HEADER_PROPERTIES, OnHeaderProperties);
  // One line per described dialog: its number and its window class.
  g_mapDialogWindows[IDD_CUTOFF_RATE] = Make<CCutOffRateDlg>;
  g_mapDialogWindows[IDD_COMPOSITE_VALUE] = Make<CCompositeValueDlg>;
  g_mapDialogWindows[IDD_RANK_VALUE] = Make<CRankValueDlg>;
  g_mapDialogWindows[IDD_POINT_VALUE] = Make<CPointValueDlg>;
  g_mapDialogWindows[IDD_CATEGORY_VALUE] = Make<CCategoryValueDlg>;
  g_mapDialogWindows[IDD_LINE_WIDTH] = Make<CLineWidthDlg>;
  g_mapDialogWindows[IDD_SAVE_OPTIONS] = Make<CSaveOptionsDlg>;
  g_mapDialogWindows[IDD_BAND_ARITHMETIC] = Make<CBandArithmeticDlg>;
  g_mapDialogWindows[IDD_PRINT_STEP] = Make<CPrintStepDlg>;
}
