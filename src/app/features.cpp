#include "app/features.h"

#include "classification/classification.h"
#include "core/commands.h"
#include "core/state.h"
#include "core/view.h"
#include "histograms/histograms.h"
#include "import/import.h"
#include "output/output.h"
#include "products/products.h"
#include "resources/resource.h"
#include "workfile/workfile.h"

namespace {

bool CheckAlwaysRedraw(int) { return g_bAlwaysRedraw == 1; }

// The main window's own commands. Apart from the redisplay toggle, what they do belongs to the
// desktop, which gives them their handlers when its window exists.
const CommandEntry kaFrameCommands[] = {
    COMMAND(ID_FILE_MRU_FILE1, "最新のファイル", Always),
    COMMAND(ID_APP_EXIT, "Geolumenの終了(&X)", Always),
    COMMAND(ID_VIEW_TOOLBAR, "ツール バー(&T)", Always),
    COMMAND(ID_VIEW_STATUS_BAR, "ステータス バー(&S)", Always),
    COMMAND(ID_WINDOW_SPLIT, "分割ウインドウ(&P)", Always),
    COMMAND(ID_ALWAYS_REDRAW, "画像を常に再表示(&R)", R, .pfnCheck = CheckAlwaysRedraw,
            .pfnHandler = OnAlwaysRedraw),
    COMMAND(ID_HELP_FINDER, "目次とキーワード(&H)", Always, .szShortcut = "F1;Shift+F1"),
    COMMAND(ID_APP_ABOUT, "バージョン情報(&A)...", Always),
};

}  // namespace

void RegisterFeatures() {
  static bool s_bDone = false;
  if (s_bDone) return;
  s_bDone = true;
  RegisterCommands(kaFrameCommands);
  RegisterViewModes();
  RegisterWorkFile();
  RegisterImport();
  RegisterProducts();
  RegisterClassification();
  RegisterHistograms();
  RegisterOutput();
  ResetProgramState();
}
