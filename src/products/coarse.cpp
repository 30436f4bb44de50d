#include "products/coarse.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <cstdint>

#include "core/platform.h"
#include "histograms/coarse_panel.h"
#include "histograms/panels.h"
#include "products/messages.h"
#include "products/render.h"
#include "products/value_colour.h"

const Colorref kaacrCoarseColourLibrary[8][8] = {
    {Rgb(170, 0, 170), Rgb(170, 170, 0), Rgb(85, 85, 255), Rgb(85, 255, 85), Rgb(85, 255, 255),
     Rgb(255, 85, 85), Rgb(255, 85, 255), Rgb(255, 255, 85)},
    {Rgb(85, 85, 85), Rgb(0, 0, 170), Rgb(0, 170, 0), Rgb(0, 170, 170), Rgb(170, 0, 0),
     Rgb(170, 0, 170), Rgb(170, 170, 0), Rgb(170, 170, 170)},
    {Rgb(128, 0, 255), Rgb(0, 128, 255), Rgb(0, 255, 255), Rgb(0, 255, 128), Rgb(60, 200, 60),
     Rgb(255, 255, 0), Rgb(255, 128, 64), Rgb(255, 0, 128)},
    {Rgb(0, 0, 0), Rgb(0, 0, 0), Rgb(0, 0, 0), Rgb(0, 0, 0), Rgb(0, 0, 0), Rgb(0, 0, 0),
     Rgb(0, 0, 0), Rgb(0, 0, 0)},
    {Rgb(20, 20, 20), Rgb(50, 50, 50), Rgb(80, 80, 80), Rgb(110, 110, 110), Rgb(140, 140, 140),
     Rgb(170, 170, 170), Rgb(200, 200, 200), Rgb(230, 230, 230)},
    {Rgb(20, 0, 0), Rgb(50, 0, 0), Rgb(80, 0, 0), Rgb(110, 0, 0), Rgb(140, 0, 0), Rgb(170, 0, 0),
     Rgb(200, 0, 0), Rgb(230, 0, 0)},
    {Rgb(0, 20, 0), Rgb(0, 50, 0), Rgb(0, 80, 0), Rgb(0, 110, 0), Rgb(0, 140, 0), Rgb(0, 170, 0),
     Rgb(0, 200, 0), Rgb(0, 230, 0)},
    {Rgb(0, 0, 20), Rgb(0, 0, 50), Rgb(0, 0, 80), Rgb(0, 0, 110), Rgb(0, 0, 140), Rgb(0, 0, 170),
     Rgb(0, 0, 200), Rgb(0, 0, 230)},
};

void ResetCoarseQuery() {
  static const int kanDefaultUpper[9] = {0, 30, 60, 90, 120, 150, 180, 210, 255};
  g_nCoarseBand = 1;
  for (int b = 1; b <= kMaxBands; ++b) {
    for (int k = 1; k <= 8; ++k) {
      g_anRankUpper[k][b] = kanDefaultUpper[k];
      g_anRankColourOn[k][b] = 1;
    }
  }
  std::memset(g_abCoarseRankOfValue, 0, sizeof g_abCoarseRankOfValue);
  std::memset(g_anCoarseHist, 0, sizeof g_anCoarseHist);
  g_nCoarseHistMax = 0;
  std::memset(g_anRankCount, 0, sizeof g_anRankCount);
}

void ResetCoarsePalette() {
  for (int b = 1; b <= kMaxBands; ++b) {
    for (int k = 1; k <= 8; ++k) g_acrRankColour[k][b] = kaacrCoarseColourLibrary[0][k - 1];
  }
}

namespace {

int CoarseBand() { return std::clamp(g_nCoarseBand, 1, kMaxBands); }

// Bounds typed by hand, read from a work file or stepped down by libraries 5 and 6 can lie
// below 0; such a bound counts as -1, so its rank is empty and every value 0..255 still has
// exactly one rank.
int EffectiveUpper(int nUpper) { return std::max(nUpper, -1); }

int SaturateInt(long long n) {
  return static_cast<int>(std::clamp<long long>(n, INT_MIN, INT_MAX));
}

void RefreshCoarse() {
  if (g_bAlwaysRedraw == 1) {
    OnCoarseView();
  } else {
    OnCoarseHistogram();
  }
}

void RenderCoarse(bool bSmooth) {
  OnCoarseHistogram();
  BusyCursorScope cursor(BusyCursor::Wait);
  const int b = CoarseBand();
  // Per value: the rank colour, or "show the composite" for a rank switched off.
  std::uint32_t anColour[256];
  bool abComposite[256];
  for (int v = 0; v < 256; ++v) {
    const int r = g_abCoarseRankOfValue[v];
    abComposite[v] = r < 1 || r > 8 || g_anRankColourOn[r][b] == 0;
    anColour[v] = abComposite[v] ? 0 : ScreenPixel(g_acrRankColour[r][b]);
  }
  RenderProduct(CValueColour(b, anColour, abComposite), bSmooth);
}

}  // namespace

void OnCoarseHistogram() {
  BusyCursorScope cursor(BusyCursor::Wait);
  const int b = CoarseBand();
  int* T[9];
  for (int k = 1; k <= 8; ++k) T[k] = &g_anRankUpper[k][b];
  for (int k = 1; k <= 7; ++k) *T[k] = std::min(*T[k], 248 + k);
  for (int k = 2; k <= 7; ++k) {
    if (*T[k - 1] >= *T[k]) *T[k] = *T[k - 1] + 1;
  }

  std::memset(g_anRankCount, 0, sizeof g_anRankCount);
  CountWindowValues(b, g_anCoarseHist);

  // Ranks 1..7 end at their (clipped) upper values, rank 8 takes the rest up to 255.
  int nFrom = 0;
  for (int k = 1; k <= 8; ++k) {
    const int nTo = k == 8 ? 255 : EffectiveUpper(*T[k]);
    for (int v = nFrom; v <= nTo; ++v) {
      g_abCoarseRankOfValue[v] = static_cast<std::uint8_t>(k);
      g_anRankCount[k] += g_anCoarseHist[v];
    }
    nFrom = std::max(nFrom, nTo + 1);
  }
  g_nCoarseHistMax = *std::max_element(g_anCoarseHist, g_anCoarseHist + 256);

  ShowProductPanel(kModeCoarse, DrawCoarsePanel);
}

void OnCoarseView() {
  RenderCoarse(false);
  ThePlatform().RepaintNow();
}

void OnCoarseSmoothView() { RenderCoarse(true); }

void SelectCoarseBand(int nBand) {
  if (nBand < 1 || nBand > kMaxBands) return;
  g_nCoarseBand = nBand;
  RefreshCoarse();
}

void SplitBoundsByHistogram(int nLibrary, int nBand, int anBound[8]) {
  const std::uint32_t* H = g_anBandHist[std::clamp(nBand, 1, kMaxBands) - 1];
  const long long N = static_cast<long long>(g_nMaxX + 1) * (g_nMaxY + 1);
  long long anLimit[8] = {};
  switch (nLibrary) {
    case 1:
      for (int k = 1; k <= 7; ++k) anLimit[k] = k * (N / 8);
      break;
    case 2: {
      const long long h = N / 2, s = h / 7;
      anLimit[1] = h;
      for (int k = 2; k <= 7; ++k) anLimit[k] = h + (k - 1) * s;
      break;
    }
    case 3: {
      const long long q = N / 4, s = N / 12;
      anLimit[1] = q;
      for (int k = 2; k <= 7; ++k) anLimit[k] = q + (k - 1) * s;
      break;
    }
    case 4: {
      const long long s = N / 12;
      anLimit[1] = anLimit[2] = s;
      for (int k = 3; k <= 7; ++k) anLimit[k] = (k - 1) * s;
      break;
    }
    default:
      return;
  }
  // Each bound ends as the last value whose cumulative count stays within its limit.
  long long c = 0;
  for (int v = 0; v < 256; ++v) {
    c += H[v];
    for (int k = 1; k <= 7; ++k) {
      if (c <= anLimit[k]) anBound[k] = v;
    }
  }
}

void ApplyRankLibrary(int nLibrary) {
  const int b = CoarseBand();
  int T[8];
  for (int k = 1; k <= 7; ++k) T[k] = g_anRankUpper[k][b];
  if (nLibrary >= 1 && nLibrary <= 4) {
    SplitBoundsByHistogram(nLibrary, b, T);
  } else if (nLibrary >= 5 && nLibrary <= 8) {
    // Steps from one bound; 64-bit so that any stored bound steps without overflow.
    const long long nStep = nLibrary == 5 || nLibrary == 7 ? 1 : 2;
    for (int k = 1; k <= 7; ++k) {
      if (nLibrary <= 6 && k != 7) T[k] = SaturateInt(T[7] - nStep * (7 - k));
      if (nLibrary >= 7 && k != 1) T[k] = SaturateInt(T[1] + nStep * (k - 1));
    }
  } else {
    return;
  }
  for (int k = 1; k <= 7; ++k) g_anRankUpper[k][b] = T[k];
  RefreshCoarse();
}

void ApplyCoarseColourLibrary(int nLibrary) {
  if (nLibrary < 1 || nLibrary > 8) return;
  const int b = CoarseBand();
  for (int k = 1; k <= 8; ++k) g_acrRankColour[k][b] = kaacrCoarseColourLibrary[nLibrary - 1][k - 1];
  RefreshCoarse();
}

namespace {
void FlipRankColour(int nRank, int b) {
  int& nOn = g_anRankColourOn[nRank][b];
  if (++nOn >= 2) nOn = 0;
}
}  // namespace

void ToggleRankColour(int nRank) {
  if (nRank < 1 || nRank > 8) return;
  FlipRankColour(nRank, CoarseBand());
  OnCoarseHistogram();
}

void OnRanksAllOn() {
  const int b = CoarseBand();
  for (int k = 1; k <= 8; ++k) g_anRankColourOn[k][b] = 1;
  OnCoarseHistogram();
}

void OnRanksAllOff() {
  const int b = CoarseBand();
  for (int k = 1; k <= 8; ++k) g_anRankColourOn[k][b] = 0;
  OnCoarseHistogram();
}

void OnRanksInvert() {
  const int b = CoarseBand();
  for (int k = 1; k <= 8; ++k) FlipRankColour(k, b);
  OnCoarseHistogram();
}

void EditRankColour(int nRank) {
  if (nRank < 1 || nRank > 8) return;
  const int b = CoarseBand();
  Colorref cr = g_acrRankColour[nRank][b];
  if (!ThePlatform().ChooseColour(cr)) return;
  g_acrRankColour[nRank][b] = cr;
  RefreshCoarse();
}

void ApplyRankValueDialog(int nBand, const int anUpper[7]) {
  // The dialog keeps the band within 1..8; anything else cannot be stored.
  if (nBand < 1 || nBand > kMaxBands) return;
  g_nCoarseBand = nBand;
  for (int k = 1; k <= 7; ++k) g_anRankUpper[k][nBand] = anUpper[k - 1];
  if (nBand - 1 > g_nLastBand) {
    g_nCoarseBand = g_nLastBand + 1;
    ShowMessage(kszMsgNoBand, kszCapPseudoBand);
  }
  RefreshCoarse();
}

void OnCoarsePanelClick(int x, int y) {
  const int W = g_nMaxX;
  const int b = CoarseBand();
  for (int k = 1; k <= 8; ++k) {
    const int nRow = 30 * (k - 1);
    if (k <= 7 && y >= 161 + nRow && y <= 176 + nRow) {
      int& nUpper = g_anRankUpper[k][b];
      if (x >= W + 224 && x <= W + 239) {
        // Rank 1 never goes below 1 by a click.
        if (k != 1 || nUpper > 1) --nUpper;
        OnCoarseHistogram();
        return;
      }
      if (x >= W + 240 && x <= W + 255) {
        if (nUpper < INT_MAX) ++nUpper;
        OnCoarseHistogram();
        return;
      }
    }
    if (x >= W + 31 && x <= W + 55 && y >= 162 + nRow && y <= 175 + nRow) {
      EditRankColour(k);
      return;
    }
  }
}
