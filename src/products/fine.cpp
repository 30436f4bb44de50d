#include "products/fine.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>

#include "core/platform.h"
#include "histograms/fine_panel.h"
#include "histograms/panels.h"
#include "products/coarse.h"
#include "products/messages.h"
#include "products/render.h"
#include "products/value_colour.h"

const Colorref kaacrFineColourLibrary[8][9] = {
    {Rgb(128, 0, 0), Rgb(0, 128, 128), Rgb(128, 255, 255), Rgb(255, 128, 128), Rgb(0, 255, 255),
     Rgb(0, 255, 0), Rgb(255, 0, 128), Rgb(255, 255, 0), Rgb(255, 0, 0)},
    {Rgb(85, 85, 85), Rgb(0, 0, 170), Rgb(0, 170, 0), Rgb(0, 170, 170), Rgb(170, 0, 0),
     Rgb(170, 0, 170), Rgb(170, 170, 0), Rgb(120, 170, 85), Rgb(170, 170, 170)},
    {Rgb(128, 0, 255), Rgb(0, 128, 255), Rgb(0, 255, 255), Rgb(0, 255, 128), Rgb(60, 200, 60),
     Rgb(255, 255, 0), Rgb(255, 128, 60), Rgb(255, 0, 128), Rgb(255, 0, 0)},
    {Rgb(0, 0, 0), Rgb(0, 0, 0), Rgb(0, 0, 0), Rgb(0, 0, 0), Rgb(0, 0, 0), Rgb(0, 0, 0),
     Rgb(0, 0, 0), Rgb(0, 0, 0), Rgb(0, 0, 0)},
    {Rgb(0, 0, 0), Rgb(32, 32, 32), Rgb(64, 64, 64), Rgb(96, 96, 96), Rgb(128, 128, 128),
     Rgb(160, 160, 160), Rgb(192, 192, 192), Rgb(224, 224, 224), Rgb(255, 255, 255)},
    {Rgb(255, 0, 0), Rgb(255, 32, 32), Rgb(255, 64, 64), Rgb(255, 96, 96), Rgb(255, 128, 128),
     Rgb(255, 160, 160), Rgb(255, 192, 192), Rgb(255, 224, 224), Rgb(255, 255, 255)},
    {Rgb(0, 255, 0), Rgb(32, 255, 32), Rgb(64, 255, 64), Rgb(96, 255, 96), Rgb(128, 255, 128),
     Rgb(160, 255, 160), Rgb(192, 255, 192), Rgb(224, 255, 224), Rgb(255, 255, 255)},
    {Rgb(0, 0, 255), Rgb(32, 32, 255), Rgb(64, 64, 255), Rgb(96, 96, 255), Rgb(128, 128, 255),
     Rgb(160, 160, 255), Rgb(192, 192, 255), Rgb(224, 224, 255), Rgb(255, 255, 255)},
};

const Colorref kacrFineResetPalette[9] = {
    Rgb(0, 0, 255),   Rgb(0, 255, 255), Rgb(128, 0, 128), Rgb(255, 255, 0), Rgb(255, 128, 255),
    Rgb(255, 3, 6),   Rgb(255, 255, 0), Rgb(255, 128, 255), Rgb(255, 3, 6)};

void ResetFineQuery() {
  static const int kanDefaultPoint[10] = {0, 0, 31, 63, 95, 127, 159, 191, 223, 255};
  g_nFineBand = 1;
  for (int b = 1; b <= kMaxBands; ++b) {
    for (int v = 0; v < 256; ++v) g_abFineValueOn[v][b] = 1;
    for (int k = 1; k <= 9; ++k) g_anFinePoint[k][b] = kanDefaultPoint[k];
    for (int k = 1; k <= 8; ++k) g_anFineSpanOn[k][b] = 1;
  }
}

void ResetFinePalette() {
  for (int b = 1; b <= kMaxBands; ++b) {
    for (int k = 1; k <= 9; ++k) g_acrPointColour[k][b] = kacrFineResetPalette[k - 1];
  }
}

namespace {

int FineBand() { return std::clamp(g_nFineBand, 1, kMaxBands); }

void RefreshFine() {
  if (g_bAlwaysRedraw == 1) {
    OnFineView();
  } else {
    OnFineHistogram();
  }
}

// The values interval k (1..8) of band b covers now, clipped to the table: [nFrom, nTo], empty
// when nFrom > nTo. Points typed by hand or read from a work file may lie outside 0..255.
void SpanValues(int k, int b, int& nFrom, int& nTo) {
  const long long nLast = k == 8 ? g_anFinePoint[9][b] : g_anFinePoint[k + 1][b] - 1LL;
  nFrom = std::max(g_anFinePoint[k][b], 0);
  nTo = static_cast<int>(std::min<long long>(nLast, 255));
}

void SetSpanValues(int k, int b, std::uint8_t bOn) {
  int nFrom = 0, nTo = -1;
  SpanValues(k, b, nFrom, nTo);
  for (int v = nFrom; v <= nTo; ++v) g_abFineValueOn[v][b] = bOn;
}

void FlipSpan(int k, int b) {
  int& nOn = g_anFineSpanOn[k][b];
  if (++nOn >= 2) {
    nOn = 0;
    SetSpanValues(k, b, 0);
  }
  if (nOn == 1) SetSpanValues(k, b, 1);
}

// One colour component of the ramp over interval [nLo, nHi] (the last value included only for
// interval 8): truncating integer slope in hundredths, as the panel shows it.
void RampComponent(int anTable[256], long long nLo, long long nHi, bool bLastIncluded,
                   int nFromColour, int nToColour) {
  const long long nWidth = nHi - nLo;
  // Interval 8 may be a single value (a work file can set point 9 onto point 8).
  const long long nSlope = nWidth == 0 ? 0 : (nToColour - nFromColour) * 100LL / nWidth;
  const long long nEnd = std::min<long long>(bLastIncluded ? nHi : nHi - 1, 255);
  for (long long v = std::max<long long>(nLo, 0); v <= nEnd; ++v) {
    anTable[v] = static_cast<int>(nFromColour + nSlope * (v - nLo) / 100);
  }
}

void RenderFine(bool bSmooth) {
  OnFineHistogram();
  BusyCursorScope cursor(BusyCursor::Wait);
  const int b = FineBand();
  std::uint32_t anColour[256];
  bool abComposite[256];
  for (int v = 0; v < 256; ++v) {
    abComposite[v] = g_abFineValueOn[v][b] == 0;
    anColour[v] = ScreenPixel(g_anFineRed[v], g_anFineGreen[v], g_anFineBlue[v]);
  }
  RenderProduct(CValueColour(b, anColour, abComposite), bSmooth);
}

}  // namespace

void OnFineHistogram() {
  BusyCursorScope cursor(BusyCursor::Wait);
  const int b = FineBand();
  int* P[10];
  for (int k = 1; k <= 9; ++k) P[k] = &g_anFinePoint[k][b];
  for (int k = 2; k <= 8; ++k) *P[k] = std::min(*P[k], 246 + k);
  for (int k = 2; k <= 8; ++k) {
    if (*P[k - 1] >= *P[k]) *P[k] = *P[k - 1] == INT_MAX ? INT_MAX : *P[k - 1] + 1;
  }

  for (int k = 1; k <= 8; ++k) {
    const long long nLo = *P[k], nHi = *P[k + 1];
    if (k < 8 ? nLo >= nHi : nLo > nHi) continue;
    const Colorref crFrom = g_acrPointColour[k][b], crTo = g_acrPointColour[k + 1][b];
    RampComponent(g_anFineRed, nLo, nHi, k == 8, GetRValue(crFrom), GetRValue(crTo));
    RampComponent(g_anFineGreen, nLo, nHi, k == 8, GetGValue(crFrom), GetGValue(crTo));
    RampComponent(g_anFineBlue, nLo, nHi, k == 8, GetBValue(crFrom), GetBValue(crTo));
  }

  CountWindowValues(b, g_anFineHist);
  g_nFineHistMax = *std::max_element(g_anFineHist, g_anFineHist + 256);

  ShowProductPanel(kModeFine, DrawFinePanel);
}

void OnFineView() {
  RenderFine(false);
  ThePlatform().RepaintNow();
}

void OnFineSmoothView() { RenderFine(true); }

void SelectFineBand(int nBand) {
  if (nBand < 1 || nBand > kMaxBands) return;
  g_nFineBand = nBand;
  RefreshFine();
}

void ApplyPointLibrary(int nLibrary) {
  if (nLibrary < 1 || nLibrary > 4) return;
  const int b = FineBand();
  g_anFinePoint[1][b] = 0;
  int anBound[8];
  for (int k = 1; k <= 7; ++k) anBound[k] = g_anFinePoint[k + 1][b];
  SplitBoundsByHistogram(nLibrary, b, anBound);
  for (int k = 1; k <= 7; ++k) g_anFinePoint[k + 1][b] = anBound[k];
  g_anFinePoint[9][b] = 255;
  RefreshFine();
}

void ApplyFineColourLibrary(int nLibrary) {
  if (nLibrary < 1 || nLibrary > 8) return;
  const int b = FineBand();
  for (int k = 1; k <= 9; ++k) g_acrPointColour[k][b] = kaacrFineColourLibrary[nLibrary - 1][k - 1];
  RefreshFine();
}

void ToggleFineSpan(int nSpan) {
  if (nSpan < 1 || nSpan > 8) return;
  FlipSpan(nSpan, FineBand());
  OnFineHistogram();
}

void OnSpansAllOn() {
  const int b = FineBand();
  for (int k = 1; k <= 8; ++k) g_anFineSpanOn[k][b] = 1;
  for (int v = 0; v < 256; ++v) g_abFineValueOn[v][b] = 1;
  OnFineHistogram();
}

void OnSpansAllOff() {
  const int b = FineBand();
  for (int k = 1; k <= 8; ++k) g_anFineSpanOn[k][b] = 0;
  for (int v = 0; v < 256; ++v) g_abFineValueOn[v][b] = 0;
  OnFineHistogram();
}

void OnSpansInvert() {
  const int b = FineBand();
  for (int k = 1; k <= 8; ++k) FlipSpan(k, b);
  OnFineHistogram();
}

void EditPointColour(int nPoint) {
  if (nPoint < 1 || nPoint > 9) return;
  const int b = FineBand();
  Colorref cr = g_acrPointColour[nPoint][b];
  if (!ThePlatform().ChooseColour(cr)) return;
  g_acrPointColour[nPoint][b] = cr;
  RefreshFine();
}

void ApplyPointValueDialog(int nBand, const int anPoint[9]) {
  // The dialog keeps the band within 1..8; anything else cannot be stored.
  if (nBand < 1 || nBand > kMaxBands) return;
  g_nFineBand = nBand;
  for (int k = 1; k <= 9; ++k) g_anFinePoint[k][nBand] = anPoint[k - 1];
  if (nBand - 1 > g_nLastBand) {
    g_nFineBand = g_nLastBand + 1;
    ShowMessage(kszMsgNoBand, kszCapZoruzodAzod);
  }
  RefreshFine();
}

void OnFinePanelClick(int x, int y) {
  const int W = g_nMaxX;
  const int b = FineBand();
  for (int k = 2; k <= 8; ++k) {
    const int nRow = 30 * (k - 2);
    if (y < 161 + nRow || y > 176 + nRow) continue;
    int& nPoint = g_anFinePoint[k][b];
    if (x >= W + 224 && x <= W + 239) {
      // Point 2 never goes below 1 by a click.
      if (k != 2 || nPoint > 1) --nPoint;
    } else if (x >= W + 240 && x <= W + 255) {
      if (nPoint < INT_MAX) ++nPoint;
    } else {
      return;
    }
    OnFineHistogram();
    return;
  }
}
