#include "support.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "app/features.h"
#include "core/platform.h"
#include "core/settings_groups.h"
#include "core/state.h"

namespace {

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

// The scene, the plane and the view, then every settings group as it registered itself: a
// setting added to a group is compared without a line here.
std::uint64_t StateDigest() {
  std::uint64_t n = SettingsGroupsDigest();
  auto add = [&n](const auto& value) { n = DigestBytes(n, &value, sizeof value); };
  n = DigestBytes(n, g_aPixel, sizeof g_aPixel);
  add(g_nSensor);
  add(g_nDisplaySize);
  add(g_nMaxX);
  add(g_nMaxY);
  add(g_nLastBand);
  add(g_bWindowHasFiles);
  add(g_nSceneOffsetX);
  add(g_nSceneOffsetY);
  for (const std::string& str : g_astrBandPath) n = DigestText(n, str);
  add(g_aszBandHeader);
  for (const std::string& str : g_astrUserText) n = DigestText(n, str);
  add(g_abBandSelected);
  add(g_nRasterColumns);
  add(g_nRasterLines);
  add(g_anBandHist);
  add(g_abUseBand);
  add(g_nDisplayMode);
  return n;
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
