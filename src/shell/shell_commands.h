// Commands that need the desktop: dialogs and the framework's own commands. Each dialog
// command runs its dialog and hands the values to the logic's Apply function.
#pragma once

class QWidget;

// The window that owns the program's dialogs (the main frame once it exists).
QWidget* DialogParent();
void SetDialogParent(QWidget* pParent);

// Gives the command table the handlers that only the shell can carry out.
void RegisterShellCommands();
