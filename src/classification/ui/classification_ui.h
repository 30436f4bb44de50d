// The categories' and the classification's dialogs on the desktop.
#pragma once

// Gives the two option commands their handlers and the category values dialog its window;
// called once at the desktop's start-up, after the commands are registered.
void RegisterClassificationUi();
