#include "workfile/workfile.h"

#include "core/commands.h"
#include "resources/resource.h"

namespace {

// The work file is not built yet: its rows have no handler, so they stay disabled.
const CommandEntry kaWorkFileCommands[] = {
    COMMAND(ID_FILE_NEW, "ファイル名(&N)", Always, .szShortcut = "Ctrl+N"),
    COMMAND(ID_DEFAULT_QUERY, "クエリー(&C)", D1),
    COMMAND(ID_DEFAULT_PALETTE, "パレット(&P)", D1),
    COMMAND(ID_FILE_OPEN, "ワークファイルを開く(&O)...", Always, .szShortcut = "Ctrl+O",
            .szIcon = "open"),
    COMMAND(ID_FILE_SAVE, "ワークファイルを上書き保存(&S)", D1, .szShortcut = "Ctrl+S"),
    COMMAND(ID_FILE_SAVE_AS, "ワークファイルに名前を付けて保存(&A)...", D1),
    COMMAND(ID_SAVE_OPTIONS, "保存のオプション(&O)...", D1),
    COMMAND(ID_HEADER_PROPERTIES, "データのプロパティ(&H)...", D1),
};

}  // namespace

void RegisterWorkFile() { RegisterCommands(kaWorkFileCommands); }
