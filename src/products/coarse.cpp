#include "products/coarse.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <cstdint>

#include "core/commands.h"
#include "core/dialogs.h"
#include "core/display_modes.h"
#include "core/platform.h"
#include "core/settings_groups.h"
#include "core/text_format.h"
#include "core/view.h"
#include "products/coarse_panel.h"
#include "products/messages.h"
#include "products/render.h"
#include "products/value_colour.h"
#include "resources/resource.h"

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

// Bounds typed by hand, read from a work file or stepped down by libraries 5 and 6 can lie
// below 0; such a bound counts as -1, so its rank is empty and every value 0..255 still has
// exactly one rank.
int EffectiveUpper(int nUpper) { return std::max(nUpper, -1); }

int SaturateInt(long long n) {
  return static_cast<int>(std::clamp<long long>(n, INT_MIN, INT_MAX));
}

void RenderCoarse(bool bSmooth) {
  OnCoarseHistogram();
  BusyCursorScope cursor(BusyCursor::Wait);
  const int b = SlicedBand(kCoarsePicture);
  // Per value: the rank colour, or "show the composite" for a rank switched off.
  std::uint32_t anColour[256];
  bool abComposite[256];
  for (int v = 0; v < 256; ++v) {
    const int r = g_abCoarseRankOfValue[v];
    abComposite[v] = r < 1 || r > 8 || g_anRankColourOn[r][b] == 0;
    anColour[v] = abComposite[v] ? 0 : ScreenPixel(g_acrRankColour[r][b]);
  }
  RenderValuePicture(b, anColour, abComposite, bSmooth);
}

}  // namespace

const SlicedPicture kCoarsePicture = {
    .nBand = g_nCoarseBand,
    .aanValue = g_anRankUpper,
    .nFirstValue = 1,
    .nLastValue = 7,
    .aacrColour = g_acrRankColour,
    .nColours = 8,
    .pLibraries = &kaacrCoarseColourLibrary[0][0],
    .aanPartOn = g_anRankColourOn,
    .pfnPartSwitched = nullptr,
    .pfnAllSwitched = nullptr,
    .pfnView = OnCoarseView,
    .pfnPrepare = OnCoarseHistogram,
    .szNoBandCaption = kszCapPseudoBand,
    .eMode = DisplayMode::Coarse,
};

void OnCoarseHistogram() {
  BusyCursorScope cursor(BusyCursor::Wait);
  const int b = SlicedBand(kCoarsePicture);
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

  ShowProductPanel(DisplayMode::Coarse, DrawCoarsePanel);
}

void OnCoarseView() {
  RenderCoarse(false);
  ThePlatform().RepaintNow();
}

void OnCoarseSmoothView() { RenderCoarse(true); }

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
  const int b = SlicedBand(kCoarsePicture);
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
  RefreshSliced(kCoarsePicture);
}

void OnCoarsePanelClick(int x, int y, bool) {
  const PanelHit hit = CoarsePanelLayout::Hit(x, y);
  if (hit.bSwatch) {
    EditSlicedColour(kCoarsePicture, hit.nRow);
  } else if (hit.nStep != 0) {
    NudgeSlicedValue(kCoarsePicture, hit.nRow, hit.nStep, 1);
  }
}

// ---- Registration ---------------------------------------------------------------------------
namespace {

template <int N> void OnRankLibrary() { ApplyRankLibrary(N); }

std::string CoarsePane1() {
  const PixelRecord& px = g_aPixel[g_nMouseX][g_nMouseY];
  const int v = px.abBand[SlicedBand(kCoarsePicture) - 1];
  return FormatText("(Rank,CCT COUNT)=( %d, %d )", g_abCoarseRankOfValue[v], v);
}

constexpr DialogField kaRankValueFields[] = {
    {FieldKind::Range, "B", 1, 8, true},
    {FieldKind::Integer, "T1"}, {FieldKind::Integer, "T2"}, {FieldKind::Integer, "T3"},
    {FieldKind::Integer, "T4"}, {FieldKind::Integer, "T5"}, {FieldKind::Integer, "T6"},
    {FieldKind::Integer, "T7"},
};

constexpr const SlicedPicture& P = kCoarsePicture;

#define BAND(n) COMMAND(ID_COARSE_BAND##n, "Band&" #n, Band, .nArg = n, \
    .pfnCheck = CheckSlicedBand<P>, .pfnHandler = OnSlicedBand<P, n>, \
    .szCliOption = "--coarse-band")
#define TOGGLE(n, text) COMMAND(ID_RANK_TOGGLE##n, text, D3c, .nArg = n, \
    .pfnCheck = CheckSlicedPart<P>, .pfnHandler = OnSlicedPartToggle<P, n>, \
    .szCliOption = "--rank-toggle")
#define LIBRARY(n, text) COMMAND(ID_RANK_LIBRARY##n, text, D1, .nArg = n, \
    .pfnHandler = OnRankLibrary<n>, .szCliOption = "--rank-library")
#define COLOURS(n, text) COMMAND(ID_COARSE_COLOURS##n, text, D1, .nArg = n, \
    .pfnHandler = OnSlicedColourLibrary<P, n>, .szCliOption = "--rank-colours")
#define COLOUR(n) COMMAND(ID_RANK_COLOUR##n, "Rank&" #n, D1, .pfnHandler = OnSlicedColour<P, n>)

const CommandEntry kaCoarseCommands[] = {
    COMMAND(ID_COARSE_VIEW, "粗画像表示(&V)", D1, .pfnHandler = OnCoarseView, .szIcon = "coarse"),
    COMMAND(ID_COARSE_SMOOTH_VIEW, "粗画像スムーズ表示(&S)", D1, .pfnHandler = OnCoarseSmoothView,
            .szIcon = "coarse-smooth"),
    COMMAND(ID_COARSE_HISTOGRAM, "簡易ヒストグラム表示(&H)", D1, .pfnHandler = OnCoarseHistogram),
    BAND(1), BAND(2), BAND(3), BAND(4), BAND(5), BAND(6), BAND(7), BAND(8),
    LIBRARY(1, "全 １００％を等分する(Lib&1)"),
    LIBRARY(2, "上限５０％を等分する(Lib&2)"),
    LIBRARY(3, "中限５０％を等分する(Lib&3)"),
    LIBRARY(4, "下限５０％を等分する(Lib&4)"),
    LIBRARY(5, "Rank8より１刻みダウン(Lib&5)"),
    LIBRARY(6, "Rank8より２刻みダウン(Lin&6)"),
    LIBRARY(7, "Rank1より１刻みアップ(Lib&7)"),
    LIBRARY(8, "Rank1より２刻みアップ(Lib&8)"),
    COLOURS(1, "明色(Lib&1)"),
    COLOURS(2, "暗色(Lib&2)"),
    COLOURS(3, "虹色(Lib&3)"),
    COLOURS(4, "黒色(Lib&4)"),
    COLOURS(5, "無色の強弱(Lib&5)"),
    COLOURS(6, "赤色の強弱(Lib&6)"),
    COLOURS(7, "緑色の強弱(Lib&6)"),
    COLOURS(8, "青色の強弱(Lib&7)"),
    TOGGLE(1, "ランク１ の着色(Rank&1)"),
    TOGGLE(2, "ランク２ の着色(Rank&2)"),
    TOGGLE(3, "ランク３ の着色(Rank&3)"),
    TOGGLE(4, "ランク４ の着色(Rank&4)"),
    TOGGLE(5, "ランク５ の着色(Rank&5)"),
    TOGGLE(6, "ランク６ の着色(Rank&6)"),
    TOGGLE(7, "ランク７ の着色(Rank&7)"),
    TOGGLE(8, "ランク８ の着色(Rank&8)"),
    COMMAND(ID_RANKS_ON, "全ランクＯＮ(&O)", D3, .pfnHandler = OnSlicedAllOn<P>,
            .szCliOption = "--ranks-on"),
    COMMAND(ID_RANKS_OFF, "全ランクＯＦＦ(&F)", D3, .pfnHandler = OnSlicedAllOff<P>,
            .szCliOption = "--ranks-off"),
    COMMAND(ID_RANKS_INVERT, "ＯＮ／ＯＦＦ反転(&T)", D3, .pfnHandler = OnSlicedInvert<P>,
            .szCliOption = "--ranks-invert"),
    COLOUR(1), COLOUR(2), COLOUR(3), COLOUR(4), COLOUR(5), COLOUR(6), COLOUR(7), COLOUR(8),
    COMMAND(ID_COARSE_BAND_VALUE, "バンドと値を設定(&A)...", D1, .szCliOption = "--rank-values",
            .pDialog = &kRankValueDialog),
};

#undef BAND
#undef TOGGLE
#undef LIBRARY
#undef COLOURS
#undef COLOUR

}  // namespace

const DialogSpec kRankValueDialog = {IDD_RANK_VALUE, kaRankValueFields, {},
                                     CurrentSlicedValues<kCoarsePicture>,
                                     ApplySlicedValueDialog<kCoarsePicture>};

void RegisterCoarse() {
  RegisterCommands(kaCoarseCommands);
  RegisterDisplayMode({
      .eMode = DisplayMode::Coarse,
      .bShowsPicture = true,
      .pfnDrawPanel = DrawCoarsePanel,
      .pfnClick = OnCoarsePanelClick,
      .pfnPane0 = PixelReadout,
      .pfnPane1 = CoarsePane1,
      .pfnArrowKey = MoveReadoutCursor,
      .szPopup = kszPopupCoarseColouring,
      .szCtrlPopup = kszPopupCoarseBand,
      .szProduct = "coarse",
      .nViewCommand = ID_COARSE_VIEW,
  });
  RegisterCoarseSettings();
}
