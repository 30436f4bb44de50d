#include "support.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/mman.h>
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

// The watch on the pixel plane: the whole pages inside it are made read-only, and a write fault
// there notes the write and makes them writable again, so the write goes through on return (from
// any thread). Other faults go to the handler that was there before, the sanitizer's report.
std::uint8_t* s_pWatchBegin = nullptr;
std::size_t s_nWatchBytes = 0;
volatile sig_atomic_t s_bPlaneWritten = 0;
struct sigaction s_previousAction;

void OnSegmentationFault(int nSignal, siginfo_t* pInfo, void* pContext) {
  auto* p = static_cast<std::uint8_t*>(pInfo->si_addr);
  if (p >= s_pWatchBegin && p < s_pWatchBegin + s_nWatchBytes) {
    s_bPlaneWritten = 1;
    ::mprotect(s_pWatchBegin, s_nWatchBytes, PROT_READ | PROT_WRITE);
    return;
  }
  if (s_previousAction.sa_flags & SA_SIGINFO) {
    s_previousAction.sa_sigaction(nSignal, pInfo, pContext);
  } else if (s_previousAction.sa_handler != SIG_IGN && s_previousAction.sa_handler != SIG_DFL) {
    s_previousAction.sa_handler(nSignal);
  } else {
    ::signal(nSignal, SIG_DFL);
    ::raise(nSignal);
  }
}

void SetUpPlaneWatch() {
  const PageSpan pages = WholePages(g_aPixel, sizeof g_aPixel);
  s_pWatchBegin = pages.p;
  s_nWatchBytes = pages.nBytes;
  struct sigaction action = {};
  action.sa_sigaction = OnSegmentationFault;
  action.sa_flags = SA_SIGINFO | SA_NODEFER;
  sigemptyset(&action.sa_mask);
  if (::sigaction(SIGSEGV, &action, &s_previousAction) != 0) std::abort();
}

// The plane's bytes on pages that are only partly its own, which the watch cannot cover.
std::uint64_t UnwatchedPlaneDigest(std::uint64_t n) {
  const auto* pStart = reinterpret_cast<const std::uint8_t*>(&g_aPixel[0][0]);
  const std::uint8_t* pEnd = pStart + sizeof g_aPixel;
  n = DigestBytes(n, pStart, static_cast<std::size_t>(s_pWatchBegin - pStart));
  const std::uint8_t* pTail = s_pWatchBegin + s_nWatchBytes;
  return DigestBytes(n, pTail, static_cast<std::size_t>(pEnd - pTail));
}

void EndPlaneWatch() {
  if (::mprotect(s_pWatchBegin, s_nWatchBytes, PROT_READ | PROT_WRITE) != 0) std::abort();
}

}  // namespace

const std::string& FuzzSetUp() {
  static const std::string s_strFolder = [] {
    RegisterFeatures();
    SetPlatform(&s_platform);
    SetUpPlaneWatch();
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

namespace {

// The scene and the view, then every settings group as it registered itself: a setting added to
// a group is compared without a line here. The plane is watched instead.
std::uint64_t StateDigest() {
  std::uint64_t n = UnwatchedPlaneDigest(SettingsGroupsDigest());
  auto add = [&n](const auto& value) { n = DigestBytes(n, &value, sizeof value); };
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

}  // namespace

std::uint64_t BeginRun() {
  const std::uint64_t n = StateDigest();
  s_bPlaneWritten = 0;
  if (::mprotect(s_pWatchBegin, s_nWatchBytes, PROT_READ) != 0) std::abort();
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
  EndPlaneWatch();
  if (bAccepted) {
    std::string strWhy;
    if (!CheckStateConsistency(strWhy)) {
      std::fprintf(stderr, "%s accepted, but the state is inconsistent: %s\n", szWhat, strWhy.c_str());
      std::abort();
    }
  } else if (s_bPlaneWritten) {
    std::fprintf(stderr, "%s refused, but the pixel plane was written\n", szWhat);
    std::abort();
  } else if (StateDigest() != nDigestBefore) {
    std::fprintf(stderr, "%s refused, but the program state changed\n", szWhat);
    std::abort();
  }
}
