#include "output/output.h"

#include "core/commands.h"
#include "resources/resource.h"

namespace {

// Printing and the clipboard are not built yet: their rows have no handler, so they stay
// disabled.
const CommandEntry kaOutputCommands[] = {
    COMMAND(ID_FILE_PRINT, "クエリーを印刷(&P)...", Always, .szShortcut = "Ctrl+P"),
    COMMAND(ID_FILE_PRINT_PREVIEW, "印刷プレビュー(&V)", Always),
    COMMAND(ID_FILE_PRINT_SETUP, "プリンタの設定(&R)...", Always),
    COMMAND(ID_PRINT_STEP, "印刷ステップの設定( )", Always),
    COMMAND(ID_EDIT_COPY, "クリップボードへ画像をコピー(&C)", D1, .szShortcut = "Ctrl+C;Ctrl+Ins",
            .szIcon = "copy"),
    COMMAND(ID_EDIT_EMPTY_CLIPBOARD, "クリップボードを空にする(&E)", D1),
};

}  // namespace

void RegisterOutput() { RegisterCommands(kaOutputCommands); }
