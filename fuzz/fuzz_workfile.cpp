// Work files, current and previous format, opened with no scene loaded or over a loaded one
// (the first byte chooses; the rest is the file).
#include "core/state.h"
#include "support.h"
#include "workfile/workfile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize) {
  FuzzSetUp();
  if (nSize == 0) return 0;
  const int nChoice = pData[0] % 3;
  if (nChoice == 0) {
    if (HasData()) ResetProgramState();
  } else if (!HasData() || g_nLastBand != nChoice + 2) {
    LoadFuzzScene(nChoice + 2);  // 3 or 4 bands of 40 x 30
  }
  const std::string strPath = WriteFuzzFile("work.glw", pData + 1, nSize - 1);
  const std::uint64_t nBefore = BeginRun();
  CheckOutcome(OpenWorkFile(strPath), nBefore, "work file");
  return 0;
}
