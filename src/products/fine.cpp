#include "products/fine.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>

#include "core/commands.h"
#include "core/dialogs.h"
#include "core/display_modes.h"
#include "core/platform.h"
#include "core/settings_groups.h"
#include "core/text_format.h"
#include "core/view.h"
#include "products/coarse.h"
#include "products/fine_panel.h"
#include "products/messages.h"
#include "products/render.h"
#include "products/value_colour.h"
#include "resources/resource.h"

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

void ClearFineTables() {
  std::memset(g_anFineRed, 0, sizeof g_anFineRed);
  std::memset(g_anFineGreen, 0, sizeof g_anFineGreen);
  std::memset(g_anFineBlue, 0, sizeof g_anFineBlue);
  std::memset(g_anFineHist, 0, sizeof g_anFineHist);
  g_nFineHistMax = 0;
}

void ResetFinePalette() {
  for (int b = 1; b <= kMaxBands; ++b) {
    for (int k = 1; k <= 9; ++k) g_acrPointColour[k][b] = kacrFineResetPalette[k - 1];
  }
}

namespace {

// The values interval k (1..8) of band b covers now, clipped to the table: [nFrom, nTo], empty
// when nFrom > nTo. Points typed by hand or read from a work file may lie outside 0..255.
void SpanValues(int k, int b, int& nFrom, int& nTo) {
  const long long nLast = k == 8 ? g_anFinePoint[9][b] : g_anFinePoint[k + 1][b] - 1LL;
  nFrom = std::max(g_anFinePoint[k][b], 0);
  nTo = static_cast<int>(std::min<long long>(nLast, 255));
}

// The value flags follow an interval's switch.
void OnSpanSwitched(int k, int b) {
  int nFrom = 0, nTo = -1;
  SpanValues(k, b, nFrom, nTo);
  const std::uint8_t bOn = g_anFineSpanOn[k][b] == 1 ? 1 : 0;
  for (int v = nFrom; v <= nTo; ++v) g_abFineValueOn[v][b] = bOn;
}

void OnAllSpansSwitched(int b, std::uint8_t bOn) {
  for (int v = 0; v < 256; ++v) g_abFineValueOn[v][b] = bOn;
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
  const int b = SlicedBand(kFinePicture);
  std::uint32_t anColour[256];
  bool abComposite[256];
  for (int v = 0; v < 256; ++v) {
    abComposite[v] = g_abFineValueOn[v][b] == 0;
    anColour[v] = ScreenPixel(g_anFineRed[v], g_anFineGreen[v], g_anFineBlue[v]);
  }
  RenderValuePicture(b, anColour, abComposite, bSmooth);
}

}  // namespace

const SlicedPicture kFinePicture = {
    .nBand = g_nFineBand,
    .aanValue = g_anFinePoint,
    .nFirstValue = 1,
    .nLastValue = 9,
    .aacrColour = g_acrPointColour,
    .nColours = 9,
    .pLibraries = &kaacrFineColourLibrary[0][0],
    .aanPartOn = g_anFineSpanOn,
    .pfnPartSwitched = OnSpanSwitched,
    .pfnAllSwitched = OnAllSpansSwitched,
    .pfnView = OnFineView,
    .pfnPrepare = OnFineHistogram,
    .szNoBandCaption = kszCapZoruzodAzod,
    .eMode = DisplayMode::Fine,
};

void OnFineHistogram() {
  BusyCursorScope cursor(BusyCursor::Wait);
  const int b = SlicedBand(kFinePicture);
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

  ShowProductPanel(DisplayMode::Fine, DrawFinePanel);
}

void OnFineView() {
  RenderFine(false);
  ThePlatform().RepaintNow();
}

void OnFineSmoothView() { RenderFine(true); }

void ApplyPointLibrary(int nLibrary) {
  if (nLibrary < 1 || nLibrary > 4) return;
  const int b = SlicedBand(kFinePicture);
  g_anFinePoint[1][b] = 0;
  int anBound[8];
  for (int k = 1; k <= 7; ++k) anBound[k] = g_anFinePoint[k + 1][b];
  SplitBoundsByHistogram(nLibrary, b, anBound);
  for (int k = 1; k <= 7; ++k) g_anFinePoint[k + 1][b] = anBound[k];
  g_anFinePoint[9][b] = 255;
  RefreshSliced(kFinePicture);
}

void OnFinePanelClick(int x, int y, bool) {
  const PanelHit hit = FinePanelLayout::Hit(x, y);
  if (hit.nStep != 0) NudgeSlicedValue(kFinePicture, hit.nRow, hit.nStep, 2);
}

// ---- Registration ---------------------------------------------------------------------------
namespace {

template <int N> void OnPointLibrary() { ApplyPointLibrary(N); }

std::string FinePane1() {
  const PixelRecord& px = g_aPixel[g_nMouseX][g_nMouseY];
  const int v = px.abBand[SlicedBand(kFinePicture) - 1];
  return FormatText("(R,G,B)=( %d, %d, %d )", g_anFineRed[v] & 0xFF, g_anFineGreen[v] & 0xFF,
                    g_anFineBlue[v] & 0xFF);
}

// Points 1 and 9 are the ends of the scale: shown, not edited.
constexpr DialogField kaPointValueFields[] = {
    {FieldKind::Range, "B", 1, 8, true},
    {FieldKind::Fixed, "P1"},   {FieldKind::Integer, "P2"}, {FieldKind::Integer, "P3"},
    {FieldKind::Integer, "P4"}, {FieldKind::Integer, "P5"}, {FieldKind::Integer, "P6"},
    {FieldKind::Integer, "P7"}, {FieldKind::Integer, "P8"}, {FieldKind::Fixed, "P9"},
};

constexpr const SlicedPicture& P = kFinePicture;

#define BAND(n) COMMAND(ID_FINE_BAND##n, "Band&" #n, Band, .nArg = n, \
    .pfnCheck = CheckSlicedBand<P>, .pfnHandler = OnSlicedBand<P, n>, .szCliOption = "--fine-band")
#define TOGGLE(n, text) COMMAND(ID_SPAN_TOGGLE##n, text, D3c, .nArg = n, \
    .pfnCheck = CheckSlicedPart<P>, .pfnHandler = OnSlicedPartToggle<P, n>, \
    .szCliOption = "--span-toggle")
#define LIBRARY(n, text) COMMAND(ID_POINT_LIBRARY##n, text, D1, .nArg = n, \
    .pfnHandler = OnPointLibrary<n>, .szCliOption = "--point-library")
#define COLOURS(n, text) COMMAND(ID_FINE_COLOURS##n, text, D1, .nArg = n, \
    .pfnHandler = OnSlicedColourLibrary<P, n>, .szCliOption = "--point-colours")
#define COLOUR(n) COMMAND(ID_POINT_COLOUR##n, "Point&" #n, D1, .pfnHandler = OnSlicedColour<P, n>)

const CommandEntry kaFineCommands[] = {
    COMMAND(ID_FINE_VIEW, "精画像表示(&V)", D1, .pfnHandler = OnFineView, .szIcon = "fine"),
    COMMAND(ID_FINE_SMOOTH_VIEW, "精画像スムーズ表示(&S)", D1, .pfnHandler = OnFineSmoothView,
            .szIcon = "fine-smooth"),
    COMMAND(ID_FINE_HISTOGRAM, "簡易ヒストグラム表示(&H)", D1, .pfnHandler = OnFineHistogram),
    BAND(1), BAND(2), BAND(3), BAND(4), BAND(5), BAND(6), BAND(7), BAND(8),
    LIBRARY(1, "全 １００％を等分する(Lib&1)"),
    LIBRARY(2, "上限５０％を等分する(Lib&2)"),
    LIBRARY(3, "中限５０％を等分する(Lib&3)"),
    LIBRARY(4, "下限５０％を等分する(Lib&4)"),
    COLOURS(1, "明色(Lib&1)"),
    COLOURS(2, "暗色(Lib&2)"),
    COLOURS(3, "虹色(Lib&3)"),
    COLOURS(4, "黒色(Lib&4)"),
    COLOURS(5, "無色ベースの強弱(Lib&5)"),
    COLOURS(6, "赤色ベースの強弱(Lib&6)"),
    COLOURS(7, "緑色ベースの強弱(Lib&7)"),
    COLOURS(8, "青色ベースの強弱(Lib&8)"),
    TOGGLE(1, "ポイント１～２間の着色(&1)"),
    TOGGLE(2, "ポイント２～３間の着色(&2)"),
    TOGGLE(3, "ポイント３～４間の着色(&3)"),
    TOGGLE(4, "ポイント４～５間の着色(&4)"),
    TOGGLE(5, "ポイント５～６間の着色(&5)"),
    TOGGLE(6, "ポイント６～７間の着色(&6)"),
    TOGGLE(7, "ポイント７～８間の着色(&7)"),
    TOGGLE(8, "ポイント８～９間の着色(&8)"),
    COMMAND(ID_SPANS_ON, "全ポイント間ＯＮ(&O)", D3, .pfnHandler = OnSlicedAllOn<P>,
            .szCliOption = "--spans-on"),
    COMMAND(ID_SPANS_OFF, "全ポイント間ＯＦＦ(&F)", D3, .pfnHandler = OnSlicedAllOff<P>,
            .szCliOption = "--spans-off"),
    COMMAND(ID_SPANS_INVERT, "ＯＮ／ＯＦＦ反転(&T)", D3, .pfnHandler = OnSlicedInvert<P>,
            .szCliOption = "--spans-invert"),
    COLOUR(1), COLOUR(2), COLOUR(3), COLOUR(4), COLOUR(5), COLOUR(6), COLOUR(7), COLOUR(8),
    COLOUR(9),
    COMMAND(ID_FINE_BAND_VALUE, "バンドと値を設定(&A)...", D1, .szCliOption = "--point-values",
            .pDialog = &kPointValueDialog),
};

#undef BAND
#undef TOGGLE
#undef LIBRARY
#undef COLOURS
#undef COLOUR

}  // namespace

const DialogSpec kPointValueDialog = {IDD_POINT_VALUE, kaPointValueFields, {},
                                      CurrentSlicedValues<kFinePicture>,
                                      ApplySlicedValueDialog<kFinePicture>};

void RegisterFine() {
  RegisterCommands(kaFineCommands);
  RegisterDisplayMode({
      .eMode = DisplayMode::Fine,
      .bShowsPicture = true,
      .pfnDrawPanel = DrawFinePanel,
      .pfnClick = OnFinePanelClick,
      .pfnPane0 = PixelReadout,
      .pfnPane1 = FinePane1,
      .szPopup = kszPopupFineColouring,
      .szCtrlPopup = kszPopupFineBand,
      .szProduct = "fine",
      .nViewCommand = ID_FINE_VIEW,
  });
  RegisterFineSettings();
}
