// Moving the window over a scene larger than it (CD-ROM and raster scenes): the thirteen
// scrolling commands and the re-read of the window from the band files.
#pragma once

// Move nIndex (0..12: one screen left, right, up, down; 100 dots left, right, up, down;
// centre; top-left, bottom-left, top-right, bottom-right corner) from where the window is.
void ScrollWindow(int nIndex);

// The window re-read at these scene offsets: every band from its file with the scene's own
// reader, then the histograms and the composite picture. A read that fails shows its messages
// and keeps the old window, offsets, histograms and picture exactly as they were (returns
// false).
bool ReloadSceneWindow(int nOffsetX, int nOffsetY);

// Whether the last re-read failed (for the command line's exit status).
bool LastReloadFailed();
