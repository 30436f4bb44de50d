#include "cli/classify_command.h"

#include <unistd.h>

#include <atomic>
#include <chrono>
#include <csignal>

#include <nlohmann/json.hpp>

#include "classification/accuracy.h"
#include "classification/messages.h"
#include "classification/signature.h"
#include "cli/cli.h"
#include "cli/command_line_args.h"
#include "cli/headless_platform.h"
#include "core/text_format.h"
#include "output/scene_classifier.h"

namespace {

// Set by Ctrl+C or a polite kill while a scene is classified: the run stops at the next run of
// rows and removes what it wrote.
std::atomic<bool> s_bCancel{false};
static_assert(std::atomic<bool>::is_always_lock_free);

void OnStopSignal(int) { s_bCancel = true; }

// Stop signals cancel the run while the object lives; the old handlers come back after.
class CStopSignals {
 public:
  CStopSignals() {
    s_bCancel = false;
    struct sigaction action = {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGINT, &action, &m_oldInt);
    ::sigaction(SIGTERM, &action, &m_oldTerm);
  }
  ~CStopSignals() {
    ::sigaction(SIGINT, &m_oldInt, nullptr);
    ::sigaction(SIGTERM, &m_oldTerm, nullptr);
  }
  CStopSignals(const CStopSignals&) = delete;
  CStopSignals& operator=(const CStopSignals&) = delete;

 private:
  struct sigaction m_oldInt = {}, m_oldTerm = {};
};

std::string Duration(double dSeconds) {
  const long n = static_cast<long>(dSeconds + 0.5);
  return n >= 3600 ? FormatText("%ld:%02ld:%02ld", n / 3600, n / 60 % 60, n % 60)
                   : FormatText("%ld:%02ld", n / 60, n % 60);
}

// The progress line: a bar, the rows done of all, the speed and the time left.
std::string ProgressLine(int nDone, int nTotal, double dSeconds) {
  constexpr int kBar = 30;
  const int nFilled =
      nTotal > 0 ? static_cast<int>(static_cast<long long>(nDone) * kBar / nTotal) : kBar;
  std::string str = "[" + std::string(static_cast<std::size_t>(nFilled), '#') +
                    std::string(static_cast<std::size_t>(kBar - nFilled), '.') + "] " +
                    GroupDigits(nDone) + " / " + GroupDigits(nTotal) + " rows";
  if (dSeconds > 0.0 && nDone > 0) {
    const double dRate = nDone / dSeconds;
    str += FormatText("  %.0f rows/s", dRate);
    str += nDone < nTotal ? "  " + Duration((nTotal - nDone) / dRate) + " left"
                          : "  " + Duration(dSeconds) + " in all";
  }
  return str;
}

// Redraws the progress line at most five times a second, and once more at the end.
class CProgressBar {
 public:
  explicit CProgressBar(std::ostream& err) : m_err(err), m_start(Clock::now()) {}
  void Show(int nDone, int nTotal) {
    const Clock::time_point now = Clock::now();
    if (nDone < nTotal && now - m_last < std::chrono::milliseconds(200)) return;
    m_last = now;
    m_err << '\r'
          << ProgressLine(nDone, nTotal, std::chrono::duration<double>(now - m_start).count())
          << std::flush;
    m_bShown = true;
  }
  ~CProgressBar() {
    if (m_bShown) m_err << '\n';
  }

 private:
  using Clock = std::chrono::steady_clock;
  std::ostream& m_err;
  Clock::time_point m_start, m_last;
  bool m_bShown = false;
};

// The accuracy of the classes written, as "geolumen accuracy" prints it, into its file.
int WriteSceneAccuracy(const CliRequest& request, const SceneClassifyResult& result,
                       std::ostream& err) {
  if (result.accuracy.nTotal == 0) {
    err << "geolumen: no test pixel of " << request.testAreas.strPath
        << " lies in the classified scene; the accuracy's figures are null\n";
  }
  if (result.nAmbiguousPixels > 0) {
    err << "geolumen: " << GroupDigits(static_cast<long long>(result.nAmbiguousPixels))
        << " pixels lie in test polygons of more than one category and were left out\n";
  }
  const std::string strJson = AccuracyJson(result.accuracy).dump(2) + "\n";
  return WriteOutputText(request.strAccuracy, strJson, err) ? kExitOk : kExitOutputFailed;
}

}  // namespace

int RunClassifyCommand(const CliRequest& request, std::ostream& err) {
  SceneClassifyRequest scene;
  std::string strReason;
  if (!ReadSignatureFile(request.strSignatures, scene.signature, strReason)) {
    CHeadlessPlatform(err).MessageBox(
        FormatText(kszMsgSignatureNotRead, request.strSignatures.c_str(), strReason.c_str()),
        kszCapSignature, MsgButtons::Ok);
    return kExitImportFailed;
  }
  scene.astrRasterPaths = request.raster.astrPaths;
  scene.strOutPath = request.strOut;
  if (request.bWindowGiven) {
    scene.bWindow = true;
    scene.nX = request.anWindow[0];
    scene.nY = request.anWindow[1];
    scene.nWidth = request.anWindow[2];
    scene.nHeight = request.anWindow[3];
  }
  scene.testAreas = request.testAreas;
  const bool bProgress = request.eProgress == CliProgress::On ||
                         (request.eProgress == CliProgress::Auto && ::isatty(STDERR_FILENO));
  SceneClassifyResult result;
  {
    CStopSignals signals;
    CProgressBar bar(err);
    SceneProgress fnProgress;
    if (bProgress) fnProgress = [&](int nDone, int nTotal) { bar.Show(nDone, nTotal); };
    result = ClassifyScene(scene, fnProgress, s_bCancel);
  }
  switch (result.eOutcome) {
    case SceneClassifyOutcome::Done:
      return request.strAccuracy.empty() ? kExitOk : WriteSceneAccuracy(request, result, err);
    case SceneClassifyOutcome::InputRefused:
      err << "geolumen: " << result.strMessage << '\n';
      return kExitImportFailed;
    case SceneClassifyOutcome::OutputFailed:
    case SceneClassifyOutcome::Cancelled:
      err << "geolumen: " << result.strMessage << '\n';
      return kExitOutputFailed;
  }
  return kExitOutputFailed;
}
