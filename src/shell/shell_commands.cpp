#include "shell/shell_commands.h"

#include <QPointer>
#include <QWidget>

#include "core/commands.h"
#include "import/ui/open_satellite_dlg.h"
#include "products/ui/composite_dialogs.h"
#include "products/ui/rank_point_dialogs.h"

namespace {
QPointer<QWidget> g_pDialogParent;
}  // namespace

QWidget* DialogParent() { return g_pDialogParent.data(); }

void SetDialogParent(QWidget* pParent) { g_pDialogParent = pParent; }

void RegisterShellCommands() {
  // One line per dialog command: SetCommandHandler(id, handler).
  SetCommandHandler(ID_OPEN_SATELLITE, OnFileOpenSatellite);
  SetCommandHandler(ID_COMPOSITE_CUTOFF, OnCompositeCutOffDialog);
  SetCommandHandler(ID_COMPOSITE_BAND_VALUE, OnCompositeBandValueDialog);
  SetCommandHandler(ID_COARSE_BAND_VALUE, OnCoarseBandValueDialog);
  SetCommandHandler(ID_FINE_BAND_VALUE, OnFineBandValueDialog);
}
