#include "import/ui/import_ui.h"

#include "core/commands.h"
#include "import/import.h"
#include "import/ui/bmp_dialogs.h"
#include "import/ui/open_raster_dlg.h"
#include "import/ui/open_satellite_dlg.h"
#include "resources/resource.h"
#include "shell/base/dialog_windows.h"

void RegisterImportUi() {
  SetCommandHandler(ID_OPEN_SATELLITE, OnFileOpenSatellite);
  SetCommandHandler(ID_OPEN_RASTER, OnFileOpenRaster);
  SetCommandHandler(ID_OPEN_BMP, OnFileOpenBmp);
  RegisterDialogWindow(kBandArithmeticDialog, MakeDialogWindow<CBandArithmeticDlg>);
}
