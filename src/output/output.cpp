#include "output/output.h"

#include <nlohmann/json.hpp>

#include "core/commands.h"
#include "core/dialogs.h"
#include "core/settings_groups.h"
#include "output/report.h"
#include "resources/resource.h"

namespace {

constexpr DialogField kaPrintStepFields[] = {
    {FieldKind::Range, "STEP", kMinPrintStep, kMaxPrintStep, true}};

void CurrentPrintStep(int anValues[]) { anValues[0] = g_nPrintStep; }
void ApplyPrintStep(const int anValues[]) { g_nPrintStep = anValues[0]; }

}  // namespace

const DialogSpec kPrintStepDialog = {.nId = IDD_PRINT_STEP,
                                     .aFields = kaPrintStepFields,
                                     .anCliOrder = {},
                                     .pfnCurrent = CurrentPrintStep,
                                     .pfnApply = ApplyPrintStep};

namespace {

// Printing, the page setup and the clipboard need the desktop: it gives those rows their
// handlers. The print step is a described dialog.
const CommandEntry kaOutputCommands[] = {
    COMMAND(ID_FILE_PRINT, "クエリーを印刷(&P)...", Always, .szShortcut = "Ctrl+P"),
    COMMAND(ID_FILE_PRINT_PREVIEW, "印刷プレビュー(&V)", Always),
    COMMAND(ID_FILE_PRINT_SETUP, "プリンタの設定(&R)...", Always),
    COMMAND(ID_PRINT_STEP, "印刷ステップの設定( )", Always, .szCliOption = "--print-step",
            .pDialog = &kPrintStepDialog),
    COMMAND(ID_EDIT_COPY, "クリップボードへ画像をコピー(&C)", D1, .szShortcut = "Ctrl+C;Ctrl+Ins",
            .szIcon = "copy"),
    COMMAND(ID_EDIT_EMPTY_CLIPBOARD, "クリップボードを空にする(&E)", D1),
    // The desktop asks for the file; the command line has "geolumen classify".
    COMMAND(ID_CLASSIFY_SCENE, "シーン全体を分類(&A)...", CLr),
    // Training and test areas as polygons: the desktop asks for the file (and the field that
    // names the category); the command line has --areas and --save-areas.
    COMMAND(ID_AREAS_LOAD, "ベクタファイルからエリアを読み込む...", D3),
    COMMAND(ID_AREAS_SAVE, "エリアをベクタファイルに保存...", D3),
};

}  // namespace

void RegisterOutput() {
  RegisterCommands(kaOutputCommands);
  // The print step: not saved and not reset by an import, 7 in a fresh program.
  RegisterSettingsGroup({
      .szName = "print",
      .pfnResetQuery = [] {},
      .pfnClearDerived = [] { g_nPrintStep = 7; },
      .pfnStats = [](nlohmann::ordered_json& obj) { obj["print_step"] = g_nPrintStep; },
      .abSettings = SettingsBytes(g_nPrintStep),
  });
}
