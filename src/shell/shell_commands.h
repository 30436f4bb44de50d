// What only the desktop can carry out: the dialogs' windows and the scene dialog's command.
#pragma once

#include "core/dialogs.h"
#include "shell/base/dialog_windows.h"

class CIntegerDialog;
class QWidget;

// Makes the window of a described dialog, opened with anValues.
using DialogFactory = CIntegerDialog* (*)(const int anValues[], QWidget* pParent);
// The window for dialog nId; false when the desktop has none for it.
bool HasDialogWindow(int nId);
// Runs the window of dialog modally: true and the values on OK.
bool RunDialogWindow(const DialogSpec& dialog, int anValues[]);

// Gives the commands of the desktop's own dialogs (scene, category and classification options)
// their handlers and every described dialog its window.
void RegisterShellCommands();
