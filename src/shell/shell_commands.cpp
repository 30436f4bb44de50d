#include "shell/shell_commands.h"

#include <QPointer>
#include <QWidget>

#include "core/commands.h"

namespace {
QPointer<QWidget> g_pDialogParent;
}  // namespace

QWidget* DialogParent() { return g_pDialogParent.data(); }

void SetDialogParent(QWidget* pParent) { g_pDialogParent = pParent; }

void RegisterShellCommands() {
  // One line per dialog command: SetCommandHandler(id, handler).
}
