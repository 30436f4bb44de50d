// The desktop program: the main window with its menus, views and dialogs.
#pragma once

// Runs the desktop program until its main window closes; argv may name a work file.
int RunDesktop(int argc, char* argv[]);
