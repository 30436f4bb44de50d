#include "support.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "app/features.h"
#include "core/platform.h"
#include "core/state.h"

namespace {

// FNV-1a over 64-bit words, then over the odd bytes.
class Digest {
 public:
  // Reads only memory the program owns; the checks of every load would triple its cost.
  __attribute__((no_sanitize("address"))) void Add(const void* p, std::size_t n) {
    const auto* pb = static_cast<const std::uint8_t*>(p);
    std::size_t i = 0;
    for (; i + 8 <= n; i += 8) {
      std::uint64_t w;
      std::memcpy(&w, pb + i, 8);
      m_n = (m_n ^ w) * 0x100000001B3ull;
    }
    for (; i < n; ++i) m_n = (m_n ^ pb[i]) * 0x100000001B3ull;
  }
  void Add(const std::string& str) {
    Add(str.data(), str.size());
    Add(static_cast<std::uint64_t>(str.size()));
  }
  template <typename T>
  void Add(const T& value) {
    Add(&value, sizeof value);
  }
  std::uint64_t Value() const { return m_n; }

 private:
  std::uint64_t m_n = 0xCBF29CE484222325ull;
};

CSilentPlatform s_platform;

}  // namespace

const std::string& FuzzSetUp() {
  static const std::string s_strFolder = [] {
    RegisterFeatures();
    SetPlatform(&s_platform);
    const std::filesystem::path base =
        ::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : std::filesystem::temp_directory_path();
    const std::filesystem::path dir = base / ("geolumen_fuzz_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    // Kept for the exit handler, which runs after the static strings are gone.
    static const std::filesystem::path* s_pDir = new std::filesystem::path(dir);
    std::atexit([] {
      std::error_code ec;
      std::filesystem::remove_all(*s_pDir, ec);
    });
    return dir.string();
  }();
  return s_strFolder;
}

std::uint64_t StateDigest() {
  Digest d;
  d.Add(g_aPixel, sizeof g_aPixel);
  d.Add(g_nSensor);
  d.Add(g_nDisplaySize);
  d.Add(g_nMaxX);
  d.Add(g_nMaxY);
  d.Add(g_nLastBand);
  d.Add(g_bWindowHasFiles);
  d.Add(g_nSceneOffsetX);
  d.Add(g_nSceneOffsetY);
  for (const std::string& str : g_astrBandPath) d.Add(str);
  d.Add(g_aszBandHeader);
  for (const std::string& str : g_astrUserText) d.Add(str);
  d.Add(g_abBandSelected);
  d.Add(g_nRasterColumns);
  d.Add(g_nRasterLines);
  d.Add(g_anBandHist);
  d.Add(g_abUseBand);
  d.Add(g_nDisplayMode);
  for (int n : {g_nRedBand, g_nGreenBand, g_nBlueBand, g_nRedLower, g_nGreenLower, g_nBlueLower,
                g_nRedUpper, g_nGreenUpper, g_nBlueUpper, g_nCutOffRate, g_bCutOffLinked,
                g_nCoarseBand, g_nFineBand, g_nCategory, g_bClassified, g_nHistCursor}) {
    d.Add(n);
  }
  d.Add(g_anRankUpper);
  d.Add(g_anRankColourOn);
  d.Add(g_acrRankColour);
  d.Add(g_anFinePoint);
  d.Add(g_acrPointColour);
  d.Add(g_anFineSpanOn);
  d.Add(g_anCatLower);
  d.Add(g_anCatUpper);
  d.Add(g_abCategoryValid);
  d.Add(g_acrCategoryColour);
  for (const std::string& str : g_astrCategoryName) d.Add(str);
  d.Add(g_abClassify);
  d.Add(g_abClassColourOn);
  d.Add(g_acrHistLineColour);
  d.Add(g_anHistLineWidth);
  d.Add(g_abSaveSection);
  return d.Value();
}

std::string WriteFuzzFile(const std::string& strName, const std::uint8_t* pData, std::size_t nSize) {
  const std::string strPath = FuzzSetUp() + "/" + strName;
  const int fd = ::open(strPath.c_str(), O_CREAT | O_TRUNC | O_WRONLY, 0600);
  if (fd < 0) std::abort();
  for (std::size_t nDone = 0; nDone < nSize;) {
    const ssize_t n = ::write(fd, pData + nDone, nSize - nDone);
    if (n <= 0) std::abort();
    nDone += static_cast<std::size_t>(n);
  }
  ::close(fd);
  return strPath;
}

void LoadFuzzScene(int nBands) {
  ResetProgramState();
  g_nSensor = Sensor::TmFloppy;
  g_nMaxX = 39;
  g_nMaxY = 29;
  g_nLastBand = nBands - 1;
  for (int x = 0; x < 40; ++x) {
    for (int y = 0; y < 30; ++y) {
      for (int b = 0; b < nBands; ++b) g_aPixel[x][y].abBand[b] = static_cast<std::uint8_t>(x * 3 + y * 5 + b * 7);
    }
  }
  g_aPixel[4][5].abTrainMark[1] = 1;
  RecomputeAfterImport();
  ResetAfterImport();
}

void CheckOutcome(bool bAccepted, std::uint64_t nDigestBefore, const char* szWhat) {
  if (bAccepted) {
    std::string strWhy;
    if (!CheckStateConsistency(strWhy)) {
      std::fprintf(stderr, "%s accepted, but the state is inconsistent: %s\n", szWhat, strWhy.c_str());
      std::abort();
    }
  } else if (StateDigest() != nDigestBefore) {
    std::fprintf(stderr, "%s refused, but the program state changed\n", szWhat);
    std::abort();
  }
}
