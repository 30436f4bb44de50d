// The work file's dialogs and commands on the desktop.
#pragma once

// Gives the open, save, save-as and header commands their handlers and the save options dialog
// its window; called once at the desktop's start-up, after the commands are registered.
void RegisterWorkFileUi();
