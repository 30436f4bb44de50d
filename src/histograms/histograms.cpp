#include "histograms/histograms.h"

#include <algorithm>
#include <string>

#include "core/commands.h"
#include "core/dialogs.h"
#include "core/settings_groups.h"
#include "core/platform.h"
#include "core/view.h"
#include "histograms/detailed_histogram.h"
#include "resources/resource.h"

namespace {

std::string HistogramPane0() { return HistogramReadout(g_nHistCursor); }
std::string HistogramPane1() { return " "; }

// The readout tells the cursor's value and counts wherever on the chart the mouse is, also
// beyond the columns of a window narrower than the chart.
void ShowHistogramReadout() {
  ThePlatform().SetStatusText(HistogramPane0(), HistogramPane1());
}

}  // namespace

void OnHistogramClick(int x, int, bool) {
  if (x < 0 || x >= kHistogramChartWidth) return;
  g_nHistCursor = x / 2;
  ThePlatform().RepaintNow();
  ShowHistogramReadout();
}

void OnHistogramArrowKey(ArrowKey key) {
  if (key == ArrowKey::Left) {
    g_nHistCursor = std::max(0, g_nHistCursor - 1);
  } else if (key == ArrowKey::Right) {
    g_nHistCursor = std::min(255, g_nHistCursor + 1);
  } else {
    return;
  }
  ThePlatform().RepaintNow();
  ShowHistogramReadout();
}

namespace {

// The detailed histogram command of the kind last chosen.
int DetailedHistogramCommand() {
  static const int kanCommand[5] = {ID_COMPOSITE_DETAILED_HISTOGRAM, ID_COARSE_DETAILED_HISTOGRAM,
                                    ID_FINE_DETAILED_HISTOGRAM, ID_CATEGORY_DETAILED_HISTOGRAM,
                                    ID_CLASSIFY_DETAILED_HISTOGRAM};
  return kanCommand[std::clamp(g_nHistKind, 0, 4)];
}


template <HistogramKind eKind>
void OnDetailedHistogram() {
  g_nHistKind = static_cast<int>(eKind);
  ShowDetailedHistogram();
}

bool CheckHistType(int n) { return g_nHistType == n; }
bool CheckHistScale(int n) { return g_nHistScale == n; }

template <int n>
void OnHistType() {
  g_nHistType = n;
  ShowDetailedHistogram();
}

template <int n>
void OnHistScale() {
  g_nHistScale = n;
  ShowDetailedHistogram();
}

// The chart follows the colour picker and the width dialog on OK and on Cancel alike.
template <int b>
void OnLineColour() {
  Colorref cr = g_acrHistLineColour[b];
  if (ThePlatform().ChooseColour(cr)) g_acrHistLineColour[b] = cr;
  ShowDetailedHistogram();
}

// The band whose width dialog IDD_LINE_WIDTH edits.
int s_nWidthBand = 1;
constexpr DialogField kaLineWidthFields[] = {{FieldKind::Range, "W", 1, 3, true}};
void CurrentLineWidth(int anValues[]) { anValues[0] = g_anHistLineWidth[s_nWidthBand]; }
void ApplyLineWidth(const int anValues[]) { g_anHistLineWidth[s_nWidthBand] = anValues[0]; }

template <int b>
void OnLineWidth() {
  s_nWidthBand = b;
  RunDialogCommand(kLineWidthDialog);
  ShowDetailedHistogram();
}

#define DETAILED(id, rule, kind, word) COMMAND(id, "詳細ヒストグラム表示(&D)", rule, \
    .nArg = static_cast<int>(HistogramKind::kind), \
    .pfnHandler = OnDetailedHistogram<HistogramKind::kind>, .szCliOption = "--hist-kind", \
    .szCliValue = word)
#define TYPE(id, text, n, word) COMMAND(id, text, D1c, .nArg = n, .pfnCheck = CheckHistType, \
    .pfnHandler = OnHistType<n>, .szCliOption = "--hist-type", .szCliValue = word)
#define SCALE(id, text, n, word) COMMAND(id, text, D1c, .nArg = n, .pfnCheck = CheckHistScale, \
    .pfnHandler = OnHistScale<n>, .szCliOption = "--hist-scale", .szCliValue = word)
#define LINE_COLOUR(n) COMMAND(ID_HIST_LINE_COLOUR##n, "Band&" #n "...", Band, .nArg = n, \
    .pfnHandler = OnLineColour<n>)
#define LINE_WIDTH(n) COMMAND(ID_HIST_LINE_WIDTH##n, "Band&" #n "...", Band, .nArg = n, \
    .pfnHandler = OnLineWidth<n>, .pDialog = &kLineWidthDialog)

const CommandEntry kaHistogramCommands[] = {
    DETAILED(ID_COMPOSITE_DETAILED_HISTOGRAM, D3, Composite, "composite"),
    DETAILED(ID_COARSE_DETAILED_HISTOGRAM, D1, Coarse, "coarse"),
    DETAILED(ID_FINE_DETAILED_HISTOGRAM, D1, Fine, "fine"),
    DETAILED(ID_CATEGORY_DETAILED_HISTOGRAM, CI, Category, "category"),
    DETAILED(ID_CLASSIFY_DETAILED_HISTOGRAM, CL, Classify, "classification"),
    TYPE(ID_HIST_DOUBLE, "ダブル( )", 0, "double"),
    TYPE(ID_HIST_ALL, "オール( )", 1, "all"),
    TYPE(ID_HIST_AREA, "エリア( )", 2, "area"),
    SCALE(ID_HIST_SAME_SCALE, "同一スケール( )", 0, "same"),
    SCALE(ID_HIST_SINGLE_SCALE, "単独スケール( )", 1, "single"),
    LINE_COLOUR(1), LINE_COLOUR(2), LINE_COLOUR(3), LINE_COLOUR(4),
    LINE_COLOUR(5), LINE_COLOUR(6), LINE_COLOUR(7), LINE_COLOUR(8),
    LINE_WIDTH(1), LINE_WIDTH(2), LINE_WIDTH(3), LINE_WIDTH(4),
    LINE_WIDTH(5), LINE_WIDTH(6), LINE_WIDTH(7), LINE_WIDTH(8),
};

#undef DETAILED
#undef TYPE
#undef SCALE
#undef LINE_COLOUR
#undef LINE_WIDTH

}  // namespace

const DialogSpec kLineWidthDialog = {IDD_LINE_WIDTH, kaLineWidthFields, {}, CurrentLineWidth,
                                     ApplyLineWidth};

void ShowDetailedHistogram() {
  DrawDetailedHistogram();
  ShowHistogramReadout();
}

void ResetHistogramQuery() {
  g_nHistCursor = 10;
  g_nHistKind = 0;
  g_nHistType = 0;
  g_nHistScale = 0;
  for (int b = 1; b <= kMaxBands; ++b) g_anHistLineWidth[b] = 1;
}

void ResetHistogramPalette() {
  static const Colorref kacrLine[9] = {0,
                                       Rgb(0, 0, 255),     Rgb(0, 255, 0),   Rgb(255, 0, 0),
                                       Rgb(255, 255, 0),   Rgb(255, 0, 255), Rgb(0, 255, 255),
                                       Rgb(100, 100, 255), Rgb(100, 100, 0)};
  for (int b = 1; b <= kMaxBands; ++b) g_acrHistLineColour[b] = kacrLine[b];
}

void RegisterHistograms() {
  RegisterCommands(kaHistogramCommands);
  RegisterHistogramSettings();
  RegisterDisplayMode({
      .eMode = DisplayMode::DetailedHistogram,
      .pfnPaint = DrawDetailedHistogram,
      .pfnClick = OnHistogramClick,
      .pfnPane0 = HistogramPane0,
      .pfnPane1 = HistogramPane1,
      .pfnArrowKey = OnHistogramArrowKey,
      .szPopup = kszPopupHistogram,
      .szProduct = "histogram",
      .pfnViewCommand = DetailedHistogramCommand,
      .bWholeWindow = true,
  });
}
