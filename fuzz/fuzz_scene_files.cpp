// Floppy, CEOS and HDF band files through the import driver, then a scroll over the scene.
// The input chooses the sensor, the window size, the bands, the offsets and how far each file's
// length is off from what its format needs; its remaining bytes are the file contents, placed
// at the header and at the window's first line (the large CD-ROM files are sparse).
#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>

#include "core/state.h"
#include "support.h"
#include "import/import.h"
#include "import/scrolling.h"

namespace {

void WriteAt(int fd, const std::vector<std::uint8_t>& ab, long nOffset, long nSize) {
  if (ab.empty() || nOffset >= nSize) return;
  const long nCount = std::min<long>(static_cast<long>(ab.size()), nSize - nOffset);
  if (::pwrite(fd, ab.data(), static_cast<std::size_t>(nCount), nOffset) != nCount) std::abort();
}

// Band b's file for the sensor, nDelta bytes longer (or shorter) than the format needs.
std::string BandFile(Sensor eSensor, int b, const std::vector<std::uint8_t>& abData, int nDelta,
                     int nOffsetX, int nOffsetY) {
  long nSize = 0, nLineStart = 0;
  switch (eSensor) {
    case Sensor::Mss:
    case Sensor::TmFloppy:
      nSize = 401L * 512;
      nLineStart = 512;
      break;
    case Sensor::TmCeos: {
      const long nRecord = b < 3 ? 7250 : 7020;
      nSize = nRecord * 5966;
      nLineStart = (nOffsetY + 1) * nRecord + nOffsetX;
      break;
    }
    case Sensor::Etm6921:
    case Sensor::Etm6845: {
      const long nStride = eSensor == Sensor::Etm6921 ? 6921 : 6845;
      nSize = nStride * 6316;
      nLineStart = nOffsetY * nStride + nOffsetX;
      break;
    }
    case Sensor::Raster:
    case Sensor::None: break;
  }
  nSize = std::max(0L, nSize + nDelta);
  const std::string strPath = FuzzSetUp() + "/band" + std::to_string(b + 1);
  const int fd = ::open(strPath.c_str(), O_CREAT | O_TRUNC | O_WRONLY, 0600);
  if (fd < 0 || ::ftruncate(fd, nSize) != 0) std::abort();
  WriteAt(fd, abData, 0, nSize);
  WriteAt(fd, abData, nLineStart, nSize);
  ::close(fd);
  return strPath;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize) {
  FuzzSetUp();
  FuzzInput in(pData, nSize);
  const Sensor eSensor = SensorFromCode(in.Byte() % 5);
  // The smallest window (512 x 400) mostly: the larger ones and no size at all now and then.
  const std::uint8_t nSizeByte = in.Byte();
  const int nSizeCode = nSizeByte < 0xE0 ? 0 : nSizeByte % 4;
  const int nBands = 1 + in.Byte() % 8;
  const int nEmptyPaths = in.Byte();
  const int nDeltas = in.Byte();
  const int nOffsetX = in.Word() % 7000, nOffsetY = in.Word() % 6400;
  // A scroll (a second read of the window) after one import in four.
  const std::uint8_t nScrollByte = in.Byte();
  const int nScroll = nScrollByte < 0xC0 ? 13 : nScrollByte % 14;
  const std::vector<std::uint8_t> abData = in.Rest();

  if (!HasData()) LoadFuzzScene(3);
  SatelliteDialogValues values;
  values.nSensor = eSensor;
  values.nDisplaySize = nSizeCode == 3 ? -1 : nSizeCode;
  for (int b = 0; b < nBands; ++b) {
    values.abBandSelected[b] = 1;
    // Mostly whole files; now and then one a byte or two off, or no path at all.
    const int nDelta = (nDeltas >> b & 1) ? (b % 2 ? -1 : 2) : 0;
    if (!(nEmptyPaths >> b & 1) || b == 0) {
      values.astrBandPath[b] = BandFile(eSensor, b, abData, nDelta, nOffsetX, nOffsetY);
    }
  }
  const int nOldX = g_nSceneOffsetX, nOldY = g_nSceneOffsetY;
  g_nSceneOffsetX = nOffsetX;  // the import places the window at the offsets as they stand
  g_nSceneOffsetY = nOffsetY;
  const std::uint64_t nWithOffsets = BeginRun();
  const bool bAccepted = ApplyOpenSatellite(values);
  CheckOutcome(bAccepted, nWithOffsets, "band files");
  if (!bAccepted) {
    g_nSceneOffsetX = nOldX;
    g_nSceneOffsetY = nOldY;
    return 0;
  }
  if (nScroll < 13) {
    const std::uint64_t nBefore = BeginRun();
    ScrollWindow(nScroll);
    CheckOutcome(!LastReloadFailed(), nBefore, "scroll");
  }
  return 0;
}
