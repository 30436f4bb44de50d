#include "products/composite.h"

#include <algorithm>
#include <cstring>

#include "core/platform.h"
#include "core/state.h"
#include "histograms/composite_panel.h"
#include "histograms/panels.h"
#include "products/messages.h"
#include "products/render.h"

void ResetCompositeQuery() {
  g_nRedBand = 3;
  g_nGreenBand = 2;
  g_nBlueBand = 1;
  g_nRedLower = g_nGreenLower = g_nBlueLower = 0;
  g_nRedUpper = g_nGreenUpper = g_nBlueUpper = 255;
  g_nCutOffRate = 3;
  g_bCutOffLinked = 0;
}

namespace {

// The settings of one component, so that red, green and blue share one code path.
struct Stretch {
  int& nBand;
  int& nLower;
  int& nUpper;
  const char* szCaption;
};

Stretch StretchOf(Component component) {
  switch (component) {
    case Component::Red: return {g_nRedBand, g_nRedLower, g_nRedUpper, kszCapRedBand};
    case Component::Green: return {g_nGreenBand, g_nGreenLower, g_nGreenUpper, kszCapGreenBand};
    case Component::Blue: break;
  }
  return {g_nBlueBand, g_nBlueLower, g_nBlueUpper, kszCapBlueBand};
}

constexpr Component kaComponents[3] = {Component::Red, Component::Green, Component::Blue};

// Byte offset of a band in a pixel record. A band number outside 1..8 can only come from a
// damaged work file; it is pulled into range so no read leaves the record.
int BandOffset(int nBand) { return std::clamp(nBand, 1, kMaxBands) - 1; }

std::uint32_t HistogramMax(const std::uint32_t anCount[256]) {
  return *std::max_element(anCount, anCount + 256);
}

// Counts the three composite histograms, walking each column's contiguous records (the plane
// is stored column by column, so this is one pass in memory order).
void CountCompositeHistograms() {
  const int nRed = BandOffset(g_nRedBand);
  const int nGreen = BandOffset(g_nGreenBand);
  const int nBlue = BandOffset(g_nBlueBand);
  const int nWidth = WindowWidth();
  const int nHeight = WindowHeight();

  std::memset(g_anRedHist, 0, sizeof g_anRedHist);
  std::memset(g_anGreenHist, 0, sizeof g_anGreenHist);
  std::memset(g_anBlueHist, 0, sizeof g_anBlueHist);
  for (int x = 0; x < nWidth; ++x) {
    const PixelRecord* pColumn = g_aPixel[x];
    for (int y = 0; y < nHeight; ++y) {
      const std::uint8_t* ab = pColumn[y].abBand;
      ++g_anRedHist[ab[nRed]];
      ++g_anGreenHist[ab[nGreen]];
      ++g_anBlueHist[ab[nBlue]];
    }
  }
  g_nRedHistMax = HistogramMax(g_anRedHist);
  g_nGreenHistMax = HistogramMax(g_anGreenHist);
  g_nBlueHistMax = HistogramMax(g_anBlueHist);
}

// A band that is not loaded becomes the last loaded band, with a warning per component.
void CorrectMissingBands() {
  for (Component component : kaComponents) {
    Stretch s = StretchOf(component);
    if (s.nBand - 1 > g_nLastBand) {
      s.nBand = g_nLastBand + 1;
      ShowMessage(kszMsgNoBand, s.szCaption);
    }
  }
}

void ComputeAllCutOffs() {
  for (Component component : kaComponents) ComputeCutOff(component);
}

void SetBands(int nRed, int nGreen, int nBlue) {
  g_nRedBand = nRed;
  g_nGreenBand = nGreen;
  g_nBlueBand = nBlue;
}

// The checked libraries: bands from the table, corrected to what is loaded, cut-off for all.
void ApplyCheckedLibrary(int nRed, int nGreen, int nBlue) {
  SetBands(nRed, nGreen, nBlue);
  CorrectMissingBands();
  ComputeAllCutOffs();
  RedisplayComposite();
}

}  // namespace

void BuildStretchTable(int nLower, int nUpper, std::uint8_t abLut[256]) {
  // Callers keep lower < upper; a damaged work file could break that, so the bounds are
  // pulled into range rather than dividing by zero or writing outside the table.
  const int nL = std::clamp(nLower, 0, 254);
  const int nU = std::clamp(nUpper, nL + 1, 255);
  // The factor is the integer quotient, taken once: entry U reaches 255 only when U - L
  // divides 255.
  const int nFactor = 255 / (nU - nL);
  for (int v = 0; v < nL; ++v) abLut[v] = 0;
  for (int v = nL; v <= nU; ++v) abLut[v] = static_cast<std::uint8_t>((v - nL) * nFactor);
  for (int v = nU + 1; v < 256; ++v) abLut[v] = 255;
}

void ComputeCutOff(Component component) {
  Stretch s = StretchOf(component);
  const std::uint32_t* anHist = g_anBandHist[BandOffset(s.nBand)];
  const std::uint64_t nPixels = static_cast<std::uint64_t>(WindowHeight()) * WindowWidth();
  const std::uint64_t nThreshold = (nPixels / 100) * static_cast<std::uint64_t>(g_nCutOffRate);

  // A histogram that never passes the threshold (no pixels counted) stops at the far end.
  std::uint64_t nSum = 0;
  int nUpper = 255;
  for (; nUpper > 0; --nUpper) {
    nSum += anHist[nUpper];
    if (nSum > nThreshold) break;
  }
  if (nUpper < 1) nUpper = 1;

  nSum = 0;
  int nLower = 0;
  for (; nLower < 255; ++nLower) {
    nSum += anHist[nLower];
    if (nSum > nThreshold) break;
  }

  if (nLower < 255) {
    if (nUpper <= nLower) nUpper = nLower + 1;
  } else {
    nLower = 254;
    if (nUpper <= 254) nUpper = 255;
  }
  s.nLower = nLower;
  s.nUpper = nUpper;
}

void PrepareCompositeTables() {
  BuildStretchTable(g_nRedLower, g_nRedUpper, g_abRedLut);
  BuildStretchTable(g_nGreenLower, g_nGreenUpper, g_abGreenLut);
  BuildStretchTable(g_nBlueLower, g_nBlueUpper, g_abBlueLut);
  CountCompositeHistograms();
}

CCompositeColour::CCompositeColour()
    : m_nRed(BandOffset(g_nRedBand)),
      m_nGreen(BandOffset(g_nGreenBand)),
      m_nBlue(BandOffset(g_nBlueBand)) {
  // The opaque alpha rides in the red table so the three parts just OR together.
  for (int v = 0; v < 256; ++v) {
    m_anRed[v] = ScreenPixel(g_abRedLut[v], 0, 0);
    m_anGreen[v] = static_cast<std::uint32_t>(g_abGreenLut[v]) << 8;
    m_anBlue[v] = g_abBlueLut[v];
  }
}

void OnCompositeHistogram() {
  BusyCursorScope busy(BusyCursor::Wait);
  PrepareCompositeTables();
  ShowProductPanel(kModeComposite, DrawCompositePanel);
}

void OnCompositeView() {
  OnCompositeHistogram();
  {
    BusyCursorScope busy(BusyCursor::Wait);
    RenderProduct(CCompositeColour(), false);
  }
  ThePlatform().RepaintNow();
}

void OnCompositeSmoothView() {
  OnCompositeHistogram();
  BusyCursorScope busy(BusyCursor::Wait);
  RenderProduct(CCompositeColour(), true);
}

void RedisplayComposite() {
  if (g_bAlwaysRedraw == 1) {
    OnCompositeView();
  } else {
    OnCompositeHistogram();
  }
}

void SelectCompositeBand(Component component, int nBand) {
  StretchOf(component).nBand = nBand;
  // With sensor 3 a band switch keeps the bounds the user has set.
  if (g_nSensor != kSensorEtm6921) ComputeCutOff(component);
  RedisplayComposite();
}

void OnTrueColour() { ApplyCheckedLibrary(3, 2, 1); }
void OnNaturalColour() { ApplyCheckedLibrary(3, 4, 1); }
void OnFalseColour() { ApplyCheckedLibrary(4, 3, 1); }

void ApplyRgbLibrary(int nLibrary) {
  static const int kaanBands[6][3] = {{3, 2, 1}, {3, 1, 2}, {2, 3, 1},
                                      {2, 1, 3}, {1, 3, 2}, {1, 2, 3}};
  if (nLibrary < 1 || nLibrary > 6) return;
  const int* an = kaanBands[nLibrary - 1];
  SetBands(an[0], an[1], an[2]);
  RedisplayComposite();
}

void OnCompositeReleaseCutOff() {
  g_nRedLower = g_nGreenLower = g_nBlueLower = 0;
  g_nRedUpper = g_nGreenUpper = g_nBlueUpper = 255;
  RedisplayComposite();
}

void ApplyCutOffDialog(int nRate) {
  g_nCutOffRate = nRate;
  ComputeAllCutOffs();
  RedisplayComposite();
}

CompositeBandValues CurrentCompositeBandValues() {
  return {g_nRedBand,   g_nGreenBand,   g_nBlueBand,  g_nRedLower,  g_nRedUpper,
          g_nGreenLower, g_nGreenUpper, g_nBlueLower, g_nBlueUpper, g_bCutOffLinked};
}

void ApplyCompositeBandValueDialog(const CompositeBandValues& values) {
  SetBands(values.nRedBand, values.nGreenBand, values.nBlueBand);
  g_nRedLower = values.nRedLower;
  g_nRedUpper = values.nRedUpper;
  g_nGreenLower = values.nGreenLower;
  g_nGreenUpper = values.nGreenUpper;
  g_nBlueLower = values.nBlueLower;
  g_nBlueUpper = values.nBlueUpper;
  g_bCutOffLinked = values.bCutOffLinked;
  CorrectMissingBands();
  for (Component component : kaComponents) {
    Stretch s = StretchOf(component);
    if (s.nUpper <= s.nLower) s.nUpper = s.nLower + 1;
  }
  if (g_bCutOffLinked == 1) ComputeAllCutOffs();
  RedisplayComposite();
}

void OnCompositePanelClick(int x, int y) {
  // Button rows of the red, green and blue sub-panels (tops 0, 133, 266), lines inclusive.
  static const int kanRowTop[3] = {114, 247, 380};
  const int nColumn = x - g_nMaxX;
  for (int i = 0; i < 3; ++i) {
    if (y < kanRowTop[i] || y > kanRowTop[i] + 15) continue;
    Stretch s = StretchOf(kaComponents[i]);
    if (nColumn >= 124 && nColumn <= 139) {
      if (s.nLower > 0) --s.nLower;
    } else if (nColumn >= 140 && nColumn <= 155) {
      if (s.nLower < s.nUpper - 1) ++s.nLower;
    } else if (nColumn >= 224 && nColumn <= 239) {
      if (s.nLower + 1 < s.nUpper) --s.nUpper;
    } else if (nColumn >= 240 && nColumn <= 255) {
      if (s.nUpper < 255) ++s.nUpper;
    } else {
      return;
    }
    // Also after a refused step, so the panel and tables follow the settings.
    OnCompositeHistogram();
    return;
  }
}
