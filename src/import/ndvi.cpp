// Compiled without floating-point contraction (see CMakeLists.txt): a fused multiply-add in the
// formula would change the truncated value for some pairs.
#include "import/ndvi.h"

#include <array>
#include <cstring>

#include "core/parallel.h"
#include "core/platform.h"
#include "core/settings_groups.h"
#include "core/state.h"

namespace {

inline constexpr const char* kszMsgAllBands = "全バンド（Band1～7）が必要です";
inline constexpr const char* kszCapLandsatTm = "Warning in Landsat TM";

// Every (B3, B4) pair worked out once: the window loop is then one lookup per pixel.
const std::array<std::uint8_t, 256 * 256>& NdviTable() {
  static const auto s_ab = [] {
    std::array<std::uint8_t, 256 * 256> ab{};
    for (int b3 = 0; b3 < 256; ++b3) {
      for (int b4 = 0; b4 < 256; ++b4) ab[static_cast<std::size_t>(b3 * 256 + b4)] = NdviValue(b3, b4);
    }
    return ab;
  }();
  return s_ab;
}

}  // namespace

std::uint8_t NdviValue(int nBand3, int nBand4) {
  const int nDifference = nBand4 - nBand3;
  int nSum = nBand4 + nBand3;
  if (nSum == 0) nSum = 1;
  const double dRatio = static_cast<double>(nDifference) / static_cast<double>(nSum);
  const double dValue = dRatio * 100.0 + 100.0;
  return static_cast<std::uint8_t>(static_cast<int>(dValue));
}

void CreateNdviBand() {
  if (g_nLastBand != 6) {
    ShowMessage(kszMsgAllBands, kszCapLandsatTm);
    return;
  }
  BusyCursorScope busy(BusyCursor::AppStarting);
  g_nLastBand = 7;
  const std::uint8_t* const pTable = NdviTable().data();
  const int nLines = WindowHeight();
  // Band 8's histogram is counted in the same pass (four sets of counters per part, so that
  // flat areas do not make each count wait for the one before); bands 1 to 7 are unchanged, so
  // their histograms are too.
  static std::uint32_t s_aanCounts[2][4][256];
  std::memset(s_aanCounts, 0, sizeof s_aanCounts);
  ForColumnParts(WindowWidth(), nLines, [&](int nFirst, int nEnd, int nPart) {
    auto& aanCounts = s_aanCounts[nPart];
    for (int x = nFirst; x < nEnd; ++x) {
      PixelRecord* p = g_aPixel[x];
      for (int y = 0; y < nLines; ++y) {
        const std::uint8_t v = pTable[p[y].abBand[2] * 256 + p[y].abBand[3]];
        p[y].abBand[7] = v;
        ++aanCounts[y & 3][v];
      }
    }
  });
  for (int v = 0; v < 256; ++v) {
    std::uint32_t n = 0;
    for (const auto& aan : s_aanCounts) n += aan[0][v] + aan[1][v] + aan[2][v] + aan[3][v];
    g_anBandHist[7][v] = n;
  }
  g_abUseBand[7] = 1;
  NotifyBandsChanged();
  g_nDisplayMode = DisplayMode::Prompt;
  ThePlatform().RepaintNow();
}
