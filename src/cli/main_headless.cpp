// The program built without Qt: the command line only.
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "app/features.h"
#include "cli/cli.h"

int main(int argc, char* argv[]) {
  RegisterFeatures();
  if (argc > 1 && IsCommandLineCommand(argv[1])) {
    return RunCommandLine(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
  }
  std::error_code ec;
  if (argc > 1 && !IsSceneArgument(argv[1]) && !std::filesystem::exists(argv[1], ec)) {
    std::cerr << UnknownFirstWordMessage(argv[1]);
    return kExitUsage;
  }
  std::cerr << "geolumen: this build has no desktop program (it was built without Qt 6);\n"
               "the command line works: geolumen --help\n";
  return kExitUsage;
}
