#include "products/composite.h"

#include <algorithm>
#include <cstring>

#include "core/commands.h"
#include "core/dialogs.h"
#include "core/display_modes.h"
#include "core/platform.h"
#include "core/settings_groups.h"
#include "core/state.h"
#include "core/text_format.h"
#include "core/view.h"
#include "products/composite_panel.h"
#include "products/messages.h"
#include "products/render.h"
#include "resources/resource.h"

void ResetCompositeQuery() {
  g_nRedBand = 3;
  g_nGreenBand = 2;
  g_nBlueBand = 1;
  g_nRedLower = g_nGreenLower = g_nBlueLower = 0;
  g_nRedUpper = g_nGreenUpper = g_nBlueUpper = 255;
  g_nCutOffRate = 3;
  g_bCutOffLinked = 0;
}

void ClearCompositeTables() {
  std::memset(g_abRedLut, 0, 256);
  std::memset(g_abGreenLut, 0, 256);
  std::memset(g_abBlueLut, 0, 256);
  std::memset(g_anRedHist, 0, sizeof g_anRedHist);
  std::memset(g_anGreenHist, 0, sizeof g_anGreenHist);
  std::memset(g_anBlueHist, 0, sizeof g_anBlueHist);
  g_nRedHistMax = g_nGreenHistMax = g_nBlueHistMax = 0;
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
  ShowProductPanel(DisplayMode::Composite, DrawCompositePanel);
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
  if (g_nSensor != Sensor::Etm6921) ComputeCutOff(component);
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

void OnCompositePanelClick(int x, int y, bool) {
  const PanelHit hit = CompositePanelLayout::Hit(x, y);
  if (!hit.Any()) return;
  Stretch s = StretchOf(kaComponents[hit.nRow]);
  if (hit.nPair == 0) {
    if (hit.nStep < 0 && s.nLower > 0) --s.nLower;
    if (hit.nStep > 0 && s.nLower < s.nUpper - 1) ++s.nLower;
  } else {
    if (hit.nStep < 0 && s.nLower + 1 < s.nUpper) --s.nUpper;
    if (hit.nStep > 0 && s.nUpper < 255) ++s.nUpper;
  }
  // Also after a refused step, so the panel and tables follow the settings.
  OnCompositeHistogram();
}

// ---- Registration ---------------------------------------------------------------------------
namespace {

template <Component C, int N> void OnBand() { SelectCompositeBand(C, N); }
template <int N> void OnRgbLibrary() { ApplyRgbLibrary(N); }
bool CheckRedBand(int n) { return g_nRedBand == n; }
bool CheckGreenBand(int n) { return g_nGreenBand == n; }
bool CheckBlueBand(int n) { return g_nBlueBand == n; }

std::string CompositePane1() {
  const PixelRecord& px = g_aPixel[g_nMouseX][g_nMouseY];
  return FormatText("(R,G,B)=( %d, %d, %d )", g_abRedLut[px.abBand[BandOffset(g_nRedBand)]],
                    g_abGreenLut[px.abBand[BandOffset(g_nGreenBand)]],
                    g_abBlueLut[px.abBand[BandOffset(g_nBlueBand)]]);
}

// Dialog IDD_CUTOFF_RATE.
constexpr DialogField kaCutOffFields[] = {{FieldKind::Range, "N", 0, 49, true}};
void CurrentCutOff(int anValues[]) { anValues[0] = g_nCutOffRate; }
void ApplyCutOffValues(const int anValues[]) { ApplyCutOffDialog(anValues[0]); }

// Dialog IDD_COMPOSITE_VALUE checks row by row: band, lower, upper of red, then green, then blue; the command
// line lists the three bands first.
constexpr DialogField kaBandValueFields[] = {
    {FieldKind::Range, "R", 1, 8, true}, {FieldKind::Range, "RL", 0, 254},
    {FieldKind::Range, "RU", 1, 255},    {FieldKind::Range, "G", 1, 8, true},
    {FieldKind::Range, "GL", 0, 254},    {FieldKind::Range, "GU", 1, 255},
    {FieldKind::Range, "B", 1, 8, true}, {FieldKind::Range, "BL", 0, 254},
    {FieldKind::Range, "BU", 1, 255},    {FieldKind::Check, "LINK"},
};
constexpr int kanBandValueCliOrder[] = {0, 3, 6, 1, 2, 4, 5, 7, 8, 9};

void CurrentBandValues(int anValues[]) {
  const CompositeBandValues v = CurrentCompositeBandValues();
  const int an[] = {v.nRedBand,   v.nRedLower,  v.nRedUpper,  v.nGreenBand, v.nGreenLower,
                    v.nGreenUpper, v.nBlueBand, v.nBlueLower, v.nBlueUpper, v.bCutOffLinked};
  std::copy(std::begin(an), std::end(an), anValues);
}

void ApplyBandValues(const int a[]) {
  ApplyCompositeBandValueDialog({a[0], a[3], a[6], a[1], a[2], a[4], a[5], a[7], a[8], a[9]});
}

#define RED(n, text) COMMAND(ID_RED_BAND##n, text, CompositeBand, .nArg = n, \
    .pfnCheck = CheckRedBand, .pfnHandler = OnBand<Component::Red, n>, .szCliOption = "--red")
#define GREEN(n) COMMAND(ID_GREEN_BAND##n, "Band&" #n, CompositeBand, .nArg = n, \
    .pfnCheck = CheckGreenBand, .pfnHandler = OnBand<Component::Green, n>, .szCliOption = "--green")
#define BLUE(n) COMMAND(ID_BLUE_BAND##n, "Band&" #n, CompositeBand, .nArg = n, \
    .pfnCheck = CheckBlueBand, .pfnHandler = OnBand<Component::Blue, n>, .szCliOption = "--blue")
#define LIBRARY(n, text) COMMAND(ID_RGB_LIBRARY##n, text, D3, .nArg = n, \
    .pfnHandler = OnRgbLibrary<n>, .szCliOption = "--rgb-library")

const CommandEntry kaCompositeCommands[] = {
    COMMAND(ID_COMPOSITE_VIEW, "合成画像表示(&V)", D3, .pfnHandler = OnCompositeView,
            .szIcon = "composite"),
    COMMAND(ID_COMPOSITE_SMOOTH_VIEW, "合成画像スムーズ表示(&S)", D3,
            .pfnHandler = OnCompositeSmoothView, .szIcon = "composite-smooth"),
    COMMAND(ID_COMPOSITE_HISTOGRAM, "簡易ヒストグラム表示(&H)", D3,
            .pfnHandler = OnCompositeHistogram),
    // The menu has always spelt some of these so.
    RED(1, "Band&1"), RED(2, "Band&2"), RED(3, "Bnad&3"), RED(4, "Bnad&4"),
    RED(5, "Bnad&5"), RED(6, "Bnad&6"), RED(7, "Band&7"), RED(8, "Bnad&8"),
    GREEN(1), GREEN(2), GREEN(3), GREEN(4), GREEN(5), GREEN(6), GREEN(7), GREEN(8),
    BLUE(1), BLUE(2), BLUE(3), BLUE(4), BLUE(5), BLUE(6), BLUE(7), BLUE(8),
    COMMAND(ID_TRUE_COLOUR, "トゥルーカラー(&T)", TC, .pfnHandler = OnTrueColour,
            .szCliOption = "--true-colour"),
    COMMAND(ID_NATURAL_COLOUR, "ナチュラルカラー(&N)", NF, .pfnHandler = OnNaturalColour,
            .szCliOption = "--natural-colour"),
    COMMAND(ID_FALSE_COLOUR, "フォールスカラー(&F)", NF, .pfnHandler = OnFalseColour,
            .szCliOption = "--false-colour"),
    LIBRARY(1, "赤Band3 緑Band2 青Band1 (Lib&1)"),
    LIBRARY(2, "赤Band3 緑Band1 青Band2 (Lib&2)"),
    LIBRARY(3, "赤Band2 緑Band3 青Band1 (Lib&3)"),
    LIBRARY(4, "赤Band2 緑Band1 青Band3 (Lib&4)"),
    LIBRARY(5, "赤Band1 緑Band3 青Band2 (Lib&5)"),
    LIBRARY(6, "赤Band1 緑Band2 青Band3 (Lib&6)"),
    COMMAND(ID_COMPOSITE_CUTOFF, "上下限切捨率の設定(&M)...", D3, .szCliOption = "--cutoff",
            .pDialog = &kCutOffDialog),
    COMMAND(ID_COMPOSITE_RELEASE, "上下限切捨率の解除(&C)", D3,
            .pfnHandler = OnCompositeReleaseCutOff, .szCliOption = "--release-cutoff"),
    COMMAND(ID_COMPOSITE_BAND_VALUE, "バンドと値を設定(&A)...", D3,
            .szCliOption = "--band-values", .pDialog = &kCompositeValueDialog),
};

#undef RED
#undef GREEN
#undef BLUE
#undef LIBRARY

}  // namespace

const DialogSpec kCutOffDialog = {IDD_CUTOFF_RATE, kaCutOffFields, {}, CurrentCutOff,
                                  ApplyCutOffValues};
const DialogSpec kCompositeValueDialog = {IDD_COMPOSITE_VALUE, kaBandValueFields,
                                          kanBandValueCliOrder, CurrentBandValues,
                                          ApplyBandValues};

void RegisterComposite() {
  RegisterCommands(kaCompositeCommands);
  RegisterDisplayMode({
      .eMode = DisplayMode::Composite,
      .bShowsPicture = true,
      .pfnDrawPanel = DrawCompositePanel,
      .pfnClick = OnCompositePanelClick,
      .pfnPane0 = PixelReadout,
      .pfnPane1 = CompositePane1,
      .pfnArrowKey = MoveReadoutCursor,
      .szProduct = "composite",
      .nViewCommand = ID_COMPOSITE_VIEW,
  });
  RegisterCompositeSettings();
}
