#include <filesystem>
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
  // Otherwise the desktop program, with a work file or a scene and settings to open.
  std::error_code ec;
  if (argc > 1 && !IsSceneArgument(argv[1]) && !std::filesystem::exists(argv[1], ec)) {
    std::cerr << UnknownFirstWordMessage(argv[1]);
    return kExitUsage;
  }
  std::string strWhy;
  if (!DesktopCanStart(strWhy)) {
    std::cerr << "geolumen: " << strWhy << "; the command line needs none (geolumen --help)\n";
    return 1;
  }
  return RunDesktop(argc, argv);
}
