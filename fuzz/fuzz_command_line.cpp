// The command line's parser: the input is the arguments, separated by zero bytes, after a
// command the first byte chooses. Whatever it takes must be a request the program can run: a
// scene and, for export, a product and an output.
#include <cstdlib>
#include <string>
#include <vector>

#include "cli/command_line_args.h"
#include "support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize) {
  FuzzSetUp();
  if (nSize == 0) return 0;
  static const char* const kaszCommand[] = {"export", "report", "stats", "print", "--help", "x"};
  std::vector<std::string> astrArgs = {kaszCommand[pData[0] % 6]};
  std::string strArg;
  for (std::size_t i = 1; i < nSize && astrArgs.size() < 64; ++i) {
    if (pData[i] == 0) {
      astrArgs.push_back(strArg);
      strArg.clear();
    } else {
      strArg += static_cast<char>(pData[i]);
    }
  }
  if (!strArg.empty()) astrArgs.push_back(strArg);
  CliRequest request;
  std::string strError;
  if (!ParseCommandLine(astrArgs, request, strError)) {
    if (strError.empty()) std::abort();  // a refusal always says why
    return 0;
  }
  if (request.eCommand == CliCommand::Help) return 0;
  if (!request.bSceneGiven) std::abort();
  if (request.eCommand == CliCommand::Export && (!request.pProduct || request.strOut.empty())) {
    std::abort();
  }
  if (request.eCommand == CliCommand::Print && request.strPdf.empty()) std::abort();
  return 0;
}
