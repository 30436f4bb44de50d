// Band files for the import tests, written into a fresh temporary directory. The large CD-ROM
// files are sparse: only the lines a window needs hold data.
#pragma once

#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "import/import.h"
#include "support/scene_dir.h"

// The value of scene pixel (c, l) of a band in every generated file.
inline std::uint8_t SceneValue(int nBand, int c, int l) {
  return static_cast<std::uint8_t>(c * 7 + l * 13 + nBand * 31);
}

class ImportTest : public SceneDirTest {
 protected:
  using Pieces = std::vector<std::pair<std::int64_t, std::vector<std::uint8_t>>>;

  // A file of nSize bytes (sparse) with the given pieces written at their offsets.
  static void WriteSparse(const std::string& strPath, std::int64_t nSize, const Pieces& aPieces) {
    const int fd = open(strPath.c_str(), O_CREAT | O_TRUNC | O_WRONLY, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(ftruncate(fd, nSize), 0);
    for (const auto& [nOffset, abData] : aPieces) {
      if (nOffset >= nSize) continue;
      const auto nCount = std::min<std::int64_t>(static_cast<std::int64_t>(abData.size()), nSize - nOffset);
      ASSERT_EQ(pwrite(fd, abData.data(), nCount, nOffset), nCount);
    }
    close(fd);
  }

  static std::vector<std::uint8_t> Header(int nBand) {
    std::vector<std::uint8_t> ab(512);
    for (int i = 0; i < 512; ++i) ab[i] = static_cast<std::uint8_t>(0x40 + nBand + i);
    return ab;
  }

  // Header record and 400 lines of 512 bytes; nSize cuts the file (205,312 is complete).
  std::string FloppyBand(int nBand, std::int64_t nSize = 401 * 512) {
    return LargeBand("fd" + std::to_string(nBand), nBand, 512, 1, nSize, 0, 0, 512, 400);
  }

  // A CD-ROM band file with data in the window at (nX, nY) of W x H: CEOS when nRecord is the
  // record length (header in record 0, line l in record l + 1), HDF when nHeaderRecords is 0.
  std::string LargeBand(const std::string& strName, int nBand, std::int64_t nRecord,
                        int nHeaderRecords, std::int64_t nSize, int nX, int nY, int nW, int nH) {
    const std::string strPath = PathOf(strName);
    Pieces aPieces;
    if (nHeaderRecords) aPieces.push_back({0, Header(nBand)});
    for (int l = nY; l < nY + nH; ++l) {
      std::vector<std::uint8_t> abLine(nW);
      for (int i = 0; i < nW; ++i) abLine[i] = SceneValue(nBand, nX + i, l);
      aPieces.push_back({(l + nHeaderRecords) * nRecord + nX, abLine});
    }
    WriteSparse(strPath, nSize, aPieces);
    return strPath;
  }

  // Written out here rather than asked of the reader, so a wrong length in it shows.
  static std::int64_t CeosRecord(int nBand) { return nBand <= 3 ? 7250 : 7020; }

  static SatelliteDialogValues Run(Sensor eSensor, int nSize, std::vector<std::string> astrPaths) {
    SatelliteDialogValues values;
    values.nSensor = eSensor;
    values.nDisplaySize = nSize;
    for (std::size_t i = 0; i < astrPaths.size() && i < 8; ++i) {
      values.abBandSelected[i] = 1;
      values.astrBandPath[i] = astrPaths[i];
    }
    return values;
  }

  // True when band b of the W x H window holds scene pixels from (nX, nY) on.
  static bool WindowHolds(int nBand, int nX, int nY, int nW, int nH) {
    for (int x = 0; x < nW; ++x)
      for (int y = 0; y < nH; ++y)
        if (g_aPixel[x][y].abBand[nBand - 1] != SceneValue(nBand, nX + x, nY + y)) return false;
    return true;
  }

  std::vector<RecordedMessage> Messages() const { return m_platform.m_aMessages; }
};
