// The detailed histogram's dialog on the desktop.
#pragma once

// Gives the line-width dialog its window; called once at the desktop's start-up.
void RegisterHistogramsUi();
