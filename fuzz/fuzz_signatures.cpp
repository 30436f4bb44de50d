// Signature files read onto a loaded scene of 3 or 4 bands (the first byte chooses; the rest is
// the file): a refused file changes nothing, a taken one leaves the state consistent, and what
// was taken writes out and reads back as the same model.
#include "classification/signature.h"
#include "core/state.h"
#include "support.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize) {
  FuzzSetUp();
  if (nSize == 0) return 0;
  const int nBands = 3 + pData[0] % 2;
  if (!HasData() || g_nLastBand != nBands - 1) LoadFuzzScene(nBands);
  const std::string strPath = WriteFuzzFile("signatures.json", pData + 1, nSize - 1);
  const std::uint64_t nBefore = BeginRun();
  CheckOutcome(LoadSignatures(strPath), nBefore, "signatures");

  Signature sig, again;
  std::string strReason;
  if (ParseSignature(std::string_view(reinterpret_cast<const char*>(pData + 1), nSize - 1), sig,
                     strReason)) {
    if (!ParseSignature(SignatureJson(sig), again, strReason) ||
        SignatureJson(again) != SignatureJson(sig)) {
      std::abort();
    }
  }
  return 0;
}
