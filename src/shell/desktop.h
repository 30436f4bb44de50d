// The desktop program: the main window with its menus, views and dialogs.
#pragma once

#include <string>

// False, with the reason, when there is no display for the window: no X or Wayland display in
// the environment and no Qt platform chosen (starting would only abort).
bool DesktopCanStart(std::string& strWhy);

// Gives the commands the desktop carries out their handlers and the described dialogs their
// windows: each subsystem's ui registers its own. Once, after the commands are registered and
// before the main window; the command line never calls it, so it never meets a Qt handler.
void RegisterDesktopUi();

// Runs the desktop program until its main window closes; argv may name a work file.
int RunDesktop(int argc, char* argv[]);

// Qt's own Japanese texts for the standard dialogs and buttons (file, colour and print dialogs),
// whatever the system's language: the program speaks Japanese. False when they are not
// installed (Debian's qt6-translations-l10n).
bool InstallQtTranslations();
