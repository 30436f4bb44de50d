// Printing and the clipboard on the desktop.
#pragma once

// Gives the print, preview, page setup and clipboard commands their handlers and the print
// step dialog its window; called once at the desktop's start-up, after the commands are
// registered.
void RegisterOutputUi();
