#include "histograms/histograms.h"

#include <algorithm>
#include <string>

#include "core/commands.h"
#include "core/settings_groups.h"
#include "core/platform.h"
#include "core/view.h"
#include "resources/resource.h"

void OnHistogramClick(int x, int, bool) {
  if (x < 0 || x >= 512) return;
  g_nHistCursor = x / 2;
  ThePlatform().RepaintNow();
  UpdateStatusReadout();
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
  UpdateStatusReadout();
}

namespace {

std::string HistogramPane0() { return HistogramReadout(g_nHistCursor); }
std::string HistogramPane1() { return " "; }

#define LINE_COLOUR(n) COMMAND(ID_HIST_LINE_COLOUR##n, "Band&" #n "...", Band, .nArg = n)
#define LINE_WIDTH(n) COMMAND(ID_HIST_LINE_WIDTH##n, "Band&" #n "...", Band, .nArg = n)

// The detailed histograms and the histogram settings are not built yet: their rows have no
// handler, so they stay disabled.
const CommandEntry kaHistogramCommands[] = {
    COMMAND(ID_COMPOSITE_DETAILED_HISTOGRAM, "詳細ヒストグラム表示(&D)", D3),
    COMMAND(ID_COARSE_DETAILED_HISTOGRAM, "詳細ヒストグラム表示(&D)", D1),
    COMMAND(ID_FINE_DETAILED_HISTOGRAM, "詳細ヒストグラム表示(&D)", D1),
    COMMAND(ID_CATEGORY_DETAILED_HISTOGRAM, "詳細ヒストグラム表示(&D)", CI),
    COMMAND(ID_CLASSIFY_DETAILED_HISTOGRAM, "詳細ヒストグラム表示(&D)", CL),
    COMMAND(ID_HIST_DOUBLE, "ダブル( )", D1c, .nArg = 0),
    COMMAND(ID_HIST_ALL, "オール( )", D1c, .nArg = 1),
    COMMAND(ID_HIST_AREA, "エリア( )", D1c, .nArg = 2),
    COMMAND(ID_HIST_SAME_SCALE, "同一スケール( )", D1c, .nArg = 0),
    COMMAND(ID_HIST_SINGLE_SCALE, "単独スケール( )", D1c, .nArg = 1),
    LINE_COLOUR(1), LINE_COLOUR(2), LINE_COLOUR(3), LINE_COLOUR(4),
    LINE_COLOUR(5), LINE_COLOUR(6), LINE_COLOUR(7), LINE_COLOUR(8),
    LINE_WIDTH(1), LINE_WIDTH(2), LINE_WIDTH(3), LINE_WIDTH(4),
    LINE_WIDTH(5), LINE_WIDTH(6), LINE_WIDTH(7), LINE_WIDTH(8),
};

#undef LINE_COLOUR
#undef LINE_WIDTH

}  // namespace

void ResetHistogramQuery() {
  g_nHistCursor = 10;
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
  RegisterSettingsGroup({"histogram", ResetHistogramQuery, ResetHistogramPalette, nullptr});
  RegisterDisplayMode({
      .eMode = DisplayMode::DetailedHistogram,
      .pfnClick = OnHistogramClick,
      .pfnPane0 = HistogramPane0,
      .pfnPane1 = HistogramPane1,
      .pfnArrowKey = OnHistogramArrowKey,
      .szPopup = kszPopupHistogram,
  });
}
