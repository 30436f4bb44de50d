#include <iostream>
#include <string>
#include <vector>

#include "app/features.h"
#include "cli/cli.h"
#include "shell/cli_surface.h"
#include "shell/desktop.h"

int main(int argc, char* argv[]) {
  RegisterFeatures();
  // Headless sub-commands are recognised here, before any window exists.
  if (argc > 1 && IsCommandLineCommand(argv[1])) {
    return RunCommandLine(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr,
                          MakeCliSurface, WriteCliReportPdf);
  }
  return RunDesktop(argc, argv);  // a work file or a scene with settings may follow
}
