// The import's dialogs and commands on the desktop.
#pragma once

// Gives the satellite, raster and BMP commands their handlers and the band arithmetic dialog
// its window; called once at the desktop's start-up, after the commands are registered.
void RegisterImportUi();
