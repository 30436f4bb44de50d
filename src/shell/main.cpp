#include "shell/desktop.h"

int main(int argc, char* argv[]) {
  // Headless sub-commands are recognised here, before any window exists.
  return RunDesktop(argc, argv);
}
