// BMP pictures: the decoder straight from the bytes (every row of a header it accepts), then the
// import over a loaded scene.
#include <cstdlib>

#include "core/state.h"
#include "support.h"
#include "import/bmp.h"
#include "import/bmp_import.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize) {
  FuzzSetUp();
  const std::span<const std::uint8_t> ab(pData, nSize);
  BmpLayout layout;
  std::string strDetail;
  const bool bDecodable = ReadBmpLayout(ab, layout, strDetail) == BmpFault::None;
  if (bDecodable) {
    static std::uint8_t s_abRow[kMaxColumns * 3];
    for (int y = 0; y < layout.nHeight; ++y) DecodeBmpRow(ab, layout, y, s_abRow);
  }

  if (!HasData()) LoadFuzzScene(4);
  const std::uint64_t nBefore = BeginRun();
  const bool bAccepted = ImportBmpFile(WriteFuzzFile("picture.bmp", pData, nSize));
  CheckOutcome(bAccepted, nBefore, "BMP picture");
  // The import takes exactly what the decoder takes, at the picture's size.
  if (bAccepted != bDecodable ||
      (bAccepted && (WindowWidth() != layout.nWidth || WindowHeight() != layout.nHeight))) {
    std::abort();
  }
  return 0;
}
