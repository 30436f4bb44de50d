#include "classification/plots.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>
#include <nlohmann/json.hpp>

#include "classification/category_settings.h"
#include "classification/messages.h"
#include "classification/signature.h"
#include "core/commands.h"
#include "core/display_modes.h"
#include "core/parallel.h"
#include "core/platform.h"
#include "core/text_format.h"
#include "core/view.h"
#include "histograms/detailed_histogram.h"
#include "histograms/panels.h"
#include "resources/resource.h"

namespace {

constexpr Colorref kcrGrid = Rgb(210, 210, 210);
constexpr Colorref kcrBoundary = Rgb(255, 128, 0);

// A lighter shade of a colour: half way to white.
Colorref Lighter(Colorref cr) {
  return Rgb((GetRValue(cr) + 255) / 2, (GetGValue(cr) + 255) / 2, (GetBValue(cr) + 255) / 2);
}

int LegendLeft() { return std::max(g_nMaxX, kPlotLegendColumn) + 3; }

// The row of a value (0..255; a mean may lie between) and the column of a grid value.
int RowOf(double dValue) {
  return kPlotTop + static_cast<int>(std::lround(PlotScale() * (255.0 - std::clamp(dValue, 0.0, 255.0))));
}
int ColumnOfCell(double dValue) {
  const int s = PlotScale();
  return kPlotLeft + static_cast<int>(std::lround(s * std::clamp(dValue, 0.0, 255.0) + (s - 1) * 0.5));
}
int RowOfCell(double dValue) {
  const int s = PlotScale();
  return kPlotTop +
         static_cast<int>(std::lround(s * (255.0 - std::clamp(dValue, 0.0, 255.0)) + (s - 1) * 0.5));
}

// The whole area the charts use, white: the view's area and the legend strip beside it.
void ClearChartArea(Canvas& canvas) {
  canvas.FillRect(0, 0, std::max(WindowWidth(), kPlotLegendColumn + 1) + 260,
                  std::max(WindowHeight(), kMaxLines), kcrWhite, kcrWhite);
}

// The legend: the title, a row per shown category (swatch, number, name, training pixels)
// and the notes under them; returns the row below the last line.
int DrawLegend(Canvas& canvas, const std::string& strTitle, const char* const* aszNotes,
               int nNotes) {
  const int x = LegendLeft();
  canvas.TextOut(x, 0, kPanelTextHeight, strTitle);
  int y = 30;
  bool bAny = false;
  for (int c = 1; c <= 8; ++c) {
    if (!CategoryShownInPlots(c)) continue;
    bAny = true;
    canvas.FillRect(x, y + 1, x + 25, y + 14, kcrBlack, g_acrCategoryColour[c]);
    canvas.TextOut(x + 31, y, kPanelSmallTextHeight,
                   FormatText(kszPlotLegendRow, c, g_astrCategoryName[c].c_str(), g_anTrainCount[c]));
    y += 20;
  }
  if (!bAny) {
    canvas.TextOut(x, y, kPanelSmallTextHeight, kszPlotNoCategory);
    y += 20;
  }
  y += 10;
  for (int i = 0; i < nNotes; ++i, y += 16) canvas.TextOut(x, y, kPanelSmallTextHeight, aszNotes[i]);
  return y;
}

// The value axis: grid lines and labels every 50.
void DrawValueAxis(Canvas& canvas, int nRight) {
  for (int v = 0; v <= 250; v += 50) {
    const int y = RowOf(v);
    Line(canvas, kPlotLeft + 1, y, nRight - 1, y, kcrGrid);
    canvas.TextOut(kPlotLeft - 28, y - 6, kPanelSmallTextHeight, FormatText("%d", v));
  }
}

std::vector<int> BandsInUse() {
  std::vector<int> anBand;
  for (int b = 0; b < std::min(BandCount(), kMaxBands); ++b) {
    if (g_abUseBand[b] == 1) anBand.push_back(b);
  }
  return anBand;
}

// ---- The signature plot --------------------------------------------------------------------------

int SignatureColumn(int i) { return kPlotLeft + kSignatureBandStep * (i + 1); }

void VerticalLine(Canvas& canvas, int x, int yTop, int yBottom, Colorref cr) {
  // The pen leaves out the last point: one row further includes the bottom.
  Line(canvas, x, yTop, x, yBottom + 1, cr);
}

void DrawSignatureCategory(Canvas& canvas, const std::vector<int>& anBand,
                           const TrainingStatistics& stats, int c, int nPass) {
  const int n = static_cast<int>(anBand.size());
  if (stats.nPixels == 0 || n == 0) return;
  const Colorref cr = g_acrCategoryColour[c];
  auto mean = [&](int i) { return stats.adMean[static_cast<std::size_t>(i)]; };
  auto deviation = [&](int i) {
    return std::sqrt(std::max(0.0, stats.adCovariance[static_cast<std::size_t>(i * n + i)]));
  };
  if (nPass == 0) {
    // The band of plus and minus one deviation, column by column, straight between the bands.
    const Colorref crBand = Lighter(cr);
    if (n == 1) {
      for (int x = SignatureColumn(0) - 6; x <= SignatureColumn(0) + 6; ++x) {
        VerticalLine(canvas, x, RowOf(mean(0) + deviation(0)), RowOf(mean(0) - deviation(0)), crBand);
      }
      return;
    }
    for (int i = 0; i + 1 < n; ++i) {
      for (int x = SignatureColumn(i); x < SignatureColumn(i + 1) + (i + 2 == n ? 1 : 0); ++x) {
        const double t = static_cast<double>(x - SignatureColumn(i)) / kSignatureBandStep;
        const double m = mean(i) + t * (mean(i + 1) - mean(i));
        const double d = deviation(i) + t * (deviation(i + 1) - deviation(i));
        VerticalLine(canvas, x, RowOf(m + d), RowOf(m - d), crBand);
      }
    }
  } else if (nPass == 1) {
    // The range as a whisker beside the band, each category a little apart.
    for (int i = 0; i < n; ++i) {
      const int b = anBand[static_cast<std::size_t>(i)] + 1;
      const int x = SignatureColumn(i) - 8 + 2 * c;
      const int yUpper = RowOf(g_anCatUpper[b][c]), yLower = RowOf(g_anCatLower[b][c]);
      VerticalLine(canvas, x, yUpper, yLower, cr);
      Line(canvas, x - 2, yUpper, x + 3, yUpper, cr);
      Line(canvas, x - 2, yLower, x + 3, yLower, cr);
    }
  } else {
    Point aPoints[kMaxBands];
    for (int i = 0; i < n; ++i) aPoints[i] = {SignatureColumn(i), RowOf(mean(i))};
    if (n == 1) {
      Line(canvas, aPoints[0].x - 6, aPoints[0].y, aPoints[0].x + 7, aPoints[0].y, cr, 2);
    } else {
      canvas.Polyline(aPoints, n, cr, 2);
    }
  }
}

std::string SignaturePane0() {
  const std::vector<int> anBand = BandsInUse();
  const int s = PlotScale();
  if (anBand.empty() || g_nMouseY < kPlotTop || g_nMouseY >= kPlotTop + 256 * s) return "";
  // Each band's column reads half a step either side of it.
  const int nFromFirst = g_nMouseX - kPlotLeft - kSignatureBandStep / 2;
  const int i = nFromFirst / kSignatureBandStep;
  if (nFromFirst < 0 || i >= static_cast<int>(anBand.size())) return "";
  return FormatText(kszSignatureReadout, anBand[static_cast<std::size_t>(i)] + 1,
                    255 - (g_nMouseY - kPlotTop) / s);
}

// ---- The feature-space plot ----------------------------------------------------------------------

ScatterGrid s_grid;
// Each part's own counts and categories, added together afterwards. A part counts even and odd
// lines into two tables, so a run of equal values does not wait on one counter.
std::uint32_t s_aanPartCount[2][2][kScatterCells];
std::uint8_t s_aabPartCategory[2][kScatterCells];

// ln n for the small counts, which most cells hold.
constexpr int kLogTable = 4096;
const float* LogTable() {
  static float s_af[kLogTable];
  static const bool s_bMade = [] {
    for (int n = 1; n < kLogTable; ++n) s_af[n] = std::log(static_cast<float>(n));
    return true;
  }();
  (void)s_bMade;
  return s_af;
}

void DrawCross(Canvas& canvas, int x, int y, Colorref cr) {
  Line(canvas, x - 7, y, x + 8, y, cr, 3);
  Line(canvas, x, y - 7, x, y + 8, cr, 3);
  Line(canvas, x - 6, y, x + 7, y, kcrBlack);
  Line(canvas, x, y - 6, x, y + 7, kcrBlack);
}

// Mean plus and minus two deviations: the ellipse of the 2 x 2 covariance, from its axes.
void DrawEllipse(Canvas& canvas, const TrainingStatistics& stats, Colorref cr) {
  if (stats.nPixels < 2) return;
  const double a = stats.adCovariance[0], b = stats.adCovariance[1], d = stats.adCovariance[3];
  const double dHalf = (a + d) / 2, dRoot = std::sqrt((a - d) * (a - d) / 4 + b * b);
  const double r1 = 2 * std::sqrt(std::max(0.0, dHalf + dRoot));
  const double r2 = 2 * std::sqrt(std::max(0.0, dHalf - dRoot));
  const double dAngle = 0.5 * std::atan2(2 * b, a - d);
  const double dCos = std::cos(dAngle), dSin = std::sin(dAngle);
  constexpr int kSteps = 72;
  Point aPoints[kSteps + 1];
  for (int k = 0; k <= kSteps; ++k) {
    const double t = 2 * std::numbers::pi * k / kSteps;
    const double u = r1 * std::cos(t), v = r2 * std::sin(t);
    aPoints[k] = {ColumnOfCell(stats.adMean[0] + u * dCos - v * dSin),
                  RowOfCell(stats.adMean[1] + u * dSin + v * dCos)};
  }
  canvas.Polyline(aPoints, kSteps + 1, cr, 2);
}

// Cells whose nearest centre (in these two bands, a tie to the lower number) differs from
// their right or upper neighbour's.
void DrawBoundaries(Canvas& canvas, const std::vector<std::pair<int, int>>& aCentre) {
  if (aCentre.size() < 2) return;
  static std::uint8_t s_abNearest[kScatterCells];
  for (int y = 0; y < 256; ++y) {
    for (int x = 0; x < 256; ++x) {
      int nBest = 0, nBestSquare = 1 << 30;
      for (std::size_t k = 0; k < aCentre.size(); ++k) {
        const int dx = x - aCentre[k].first, dy = y - aCentre[k].second;
        if (dx * dx + dy * dy < nBestSquare) {
          nBestSquare = dx * dx + dy * dy;
          nBest = static_cast<int>(k);
        }
      }
      s_abNearest[ScatterCell(x, y)] = static_cast<std::uint8_t>(nBest);
    }
  }
  const int s = PlotScale();
  for (int y = 0; y < 256; ++y) {
    for (int x = 0; x < 256; ++x) {
      const std::uint8_t n = s_abNearest[ScatterCell(x, y)];
      if ((x < 255 && s_abNearest[ScatterCell(x + 1, y)] != n) ||
          (y < 255 && s_abNearest[ScatterCell(x, y + 1)] != n)) {
        const int x0 = kPlotLeft + s * x, y0 = kPlotTop + s * (255 - y);
        for (int i = 0; i < s; ++i) {
          for (int j = 0; j < s; ++j) canvas.SetPixel(x0 + i, y0 + j, kcrBoundary);
        }
      }
    }
  }
}

bool CellUnderMouse(int& nValueX, int& nValueY) {
  const int s = PlotScale();
  if (g_nMouseX < kPlotLeft || g_nMouseY < kPlotTop || g_nMouseX >= kPlotLeft + 256 * s ||
      g_nMouseY >= kPlotTop + 256 * s) {
    return false;
  }
  nValueX = (g_nMouseX - kPlotLeft) / s;
  nValueY = 255 - (g_nMouseY - kPlotTop) / s;
  return true;
}

std::string ScatterPane0() {
  int vx = 0, vy = 0;
  if (!CellUnderMouse(vx, vy)) return "";
  return FormatText(kszScatterReadout, ScatterBandX(), vx, ScatterBandY(), vy,
                    s_grid.anCount[ScatterCell(vx, vy)]);
}

std::string BlankPane() { return " "; }

// The arrow keys step the bands: left and right the one across, up and down the one up.
void OnScatterArrowKey(ArrowKey key) {
  const int nLast = std::min(BandCount(), kMaxBands);
  int nX = ScatterBandX(), nY = ScatterBandY();
  switch (key) {
    case ArrowKey::Left: nX = std::max(1, nX - 1); break;
    case ArrowKey::Right: nX = std::min(nLast, nX + 1); break;
    case ArrowKey::Down: nY = std::max(1, nY - 1); break;
    case ArrowKey::Up: nY = std::min(nLast, nY + 1); break;
  }
  if (nX == ScatterBandX() && nY == ScatterBandY()) return;
  g_nScatterBandX = nX;
  g_nScatterBandY = nY;
  ThePlatform().RepaintNow();
  UpdateStatusReadout();
}

// ---- Commands, dialog ----------------------------------------------------------------------------

void OnSignatureView() {
  DrawSignaturePlot();
  UpdateStatusReadout();
}

void OnScatterView() {
  DrawScatterPlot();
  UpdateStatusReadout();
}

bool CheckBoundaries(int) { return g_bScatterBoundaries; }

void OnScatterBoundaries() {
  g_bScatterBoundaries = !g_bScatterBoundaries;
  RepaintShownPlot();
}

constexpr DialogField kaBandFields[] = {
    {FieldKind::Range, "X", 1, kMaxBands, true},
    {FieldKind::Range, "Y", 1, kMaxBands, true},
};

void CurrentScatterBands(int anValues[]) {
  // The bands in force: a default the scene lacks opens as its last band.
  anValues[0] = ScatterBandX();
  anValues[1] = ScatterBandY();
}

std::string ScatterBandsRefusal(const int anValues[]) {
  for (int i = 0; i < 2; ++i) {
    if (anValues[i] > BandCount()) return FormatText(kszMsgScatterNoBand, anValues[i], BandCount());
  }
  return "";
}

void ApplyScatterBands(const int anValues[]) {
  g_nScatterBandX = anValues[0];
  g_nScatterBandY = anValues[1];
  RepaintShownPlot();
}

const CommandEntry kaPlotCommands[] = {
    COMMAND(ID_SIGNATURE_VIEW, "シグネチャ表示(&G)", D3, .pfnHandler = OnSignatureView),
    COMMAND(ID_SCATTER_VIEW, "特徴空間表示(&P)", D3, .pfnHandler = OnScatterView),
    COMMAND(ID_SCATTER_BANDS, "特徴空間のバンド(&N)...", D3, .szCliOption = "--scatter-bands",
            .pDialog = &kScatterBandsDialog),
    COMMAND(ID_SCATTER_BOUNDARIES, "決定境界を表示(&J)", D3c, .pfnCheck = CheckBoundaries,
            .pfnHandler = OnScatterBoundaries),
};

}  // namespace

const DialogSpec kScatterBandsDialog = {.nId = IDD_SCATTER_BANDS,
                                        .aFields = kaBandFields,
                                        .anCliOrder = {},
                                        .pfnCurrent = CurrentScatterBands,
                                        .pfnApply = ApplyScatterBands,
                                        .pfnRefusal = ScatterBandsRefusal};

int PlotScale() {
  return WindowWidth() >= kPlotLargeWindow && WindowHeight() >= kPlotLargeWindow ? 2 : 1;
}

bool CategoryShownInPlots(int c) { return g_abCategoryValid[c] && g_abClassify[c] == 1; }

int ScatterBandX() { return std::clamp(g_nScatterBandX, 1, std::max(1, std::min(BandCount(), kMaxBands))); }
int ScatterBandY() { return std::clamp(g_nScatterBandY, 1, std::max(1, std::min(BandCount(), kMaxBands))); }

void CountScatterGrid(int nBandX, int nBandY, const bool abShown[9], ScatterGrid& grid) {
  const int bx = std::clamp(nBandX, 1, kMaxBands) - 1, by = std::clamp(nBandY, 1, kMaxBands) - 1;
  // The marks of the shown categories in a record's eight bytes at once.
  std::uint64_t nShown = 0;
  for (int c = 1; c <= 8; ++c) {
    if (abShown[c]) nShown |= std::uint64_t{0xFF} << (8 * (c - 1));
  }
  const int nHeight = WindowHeight();
  // Each part is called for run after run of columns: its tables are cleared once, before.
  std::memset(s_aanPartCount, 0, sizeof s_aanPartCount);
  std::memset(s_aabPartCategory, 0, sizeof s_aabPartCategory);
  ForColumnParts(WindowWidth(), nHeight, [&](int nFirst, int nEnd, int nPart) {
    std::uint32_t* anEven = s_aanPartCount[nPart][0];
    std::uint32_t* anOdd = s_aanPartCount[nPart][1];
    std::uint8_t* abCategory = s_aabPartCategory[nPart];
    // A training pixel of a shown category: rare, so the loop over categories is cheap.
    auto note = [&](const PixelRecord& px, int nCell) {
      std::uint64_t nMarks;
      std::memcpy(&nMarks, px.abTrainMark, 8);
      if ((nMarks & nShown) == 0) return;
      for (int c = 1; c <= 8; ++c) {
        if (abShown[c] && px.abTrainMark[c - 1] == kTrainingMark) {
          if (abCategory[nCell] == 0 || c < abCategory[nCell]) {
            abCategory[nCell] = static_cast<std::uint8_t>(c);
          }
          return;
        }
      }
    };
    for (int x = nFirst; x < nEnd; ++x) {
      const PixelRecord* p = g_aPixel[x];
      int y = 0;
      for (; y + 2 <= nHeight; y += 2) {
        const int nCell0 = ScatterCell(p[y].abBand[bx], p[y].abBand[by]);
        const int nCell1 = ScatterCell(p[y + 1].abBand[bx], p[y + 1].abBand[by]);
        ++anEven[nCell0];
        ++anOdd[nCell1];
        note(p[y], nCell0);
        note(p[y + 1], nCell1);
      }
      for (; y < nHeight; ++y) {
        const int nCell = ScatterCell(p[y].abBand[bx], p[y].abBand[by]);
        ++anEven[nCell];
        note(p[y], nCell);
      }
    }
  });
  std::uint32_t nLargest = 0;
  for (int i = 0; i < kScatterCells; ++i) {
    const std::uint32_t n = s_aanPartCount[0][0][i] + s_aanPartCount[0][1][i] +
                            s_aanPartCount[1][0][i] + s_aanPartCount[1][1][i];
    std::uint8_t c = s_aabPartCategory[0][i];
    const std::uint8_t c1 = s_aabPartCategory[1][i];
    if (c1 != 0 && (c == 0 || c1 < c)) c = c1;
    grid.anCount[i] = n;
    grid.abCategory[i] = c;
    nLargest = std::max(nLargest, n);
  }
  grid.nLargest = nLargest;
}

void ScatterPicture(const ScatterGrid& grid, std::uint32_t acrCell[kScatterCells]) {
  const float* afLog = LogTable();
  const float fLogLargest = grid.nLargest > 1 ? std::log(static_cast<float>(grid.nLargest)) : 0.0f;
  const float fScale = fLogLargest > 0.0f ? kScatterLightest / fLogLargest : 0.0f;
  for (int i = 0; i < kScatterCells; ++i) {
    const std::uint32_t n = grid.anCount[i];
    if (grid.abCategory[i] != 0) {
      acrCell[i] = g_acrCategoryColour[grid.abCategory[i]];
    } else if (n == 0) {
      acrCell[i] = kcrWhite;
    } else {
      const float fLog = n < kLogTable ? afLog[n] : std::log(static_cast<float>(n));
      const int nGrey = kScatterLightest - static_cast<int>(fLog * fScale + 0.5f);
      acrCell[i] = Rgb(nGrey, nGrey, nGrey);
    }
  }
}

const ScatterGrid& LastScatterGrid() { return s_grid; }

void DrawSignaturePlot() {
  BusyCursorScope busy(BusyCursor::Wait);
  Canvas& canvas = ThePlatform().WindowCanvas();
  ClearChartArea(canvas);
  const std::vector<int> anBand = BandsInUse();
  const int n = static_cast<int>(anBand.size());
  const int nRight = SignatureColumn(std::max(n, 1));
  const int nBottom = kPlotTop + 256 * PlotScale();
  canvas.FillRect(kPlotLeft, kPlotTop - 1, nRight + 1, nBottom + 1, kcrBlack, kcrWhite);
  DrawValueAxis(canvas, nRight);
  for (int i = 0; i < n; ++i) {
    Line(canvas, SignatureColumn(i), nBottom, SignatureColumn(i), nBottom + 4);
    canvas.TextOut(SignatureColumn(i) - 3, nBottom + 5, kPanelSmallTextHeight,
                   FormatText("%d", anBand[static_cast<std::size_t>(i)] + 1));
  }
  canvas.TextOut(nRight - 30, nBottom + 20, kPanelSmallTextHeight, kszPlotBandAxis);

  TrainingStatistics aStats[8];
  if (n > 0) ComputeTrainingStatistics(anBand, aStats);
  // Bands first, then whiskers, then the means, so no category's line hides under a band.
  for (int nPass = 0; nPass < 3; ++nPass) {
    for (int c = 1; c <= 8; ++c) {
      if (CategoryShownInPlots(c)) DrawSignatureCategory(canvas, anBand, aStats[c - 1], c, nPass);
    }
  }
  DrawLegend(canvas, kszSignatureTitle, kaszSignatureNotes, 3);
  g_nDisplayMode = DisplayMode::Signatures;
}

void DrawScatterPlot() {
  BusyCursorScope busy(BusyCursor::Wait);
  Canvas& canvas = ThePlatform().WindowCanvas();
  ClearChartArea(canvas);
  const int s = PlotScale();
  const int nBandX = ScatterBandX(), nBandY = ScatterBandY();
  bool abShown[9] = {};
  for (int c = 1; c <= 8; ++c) abShown[c] = CategoryShownInPlots(c);
  CountScatterGrid(nBandX, nBandY, abShown, s_grid);
  static std::uint32_t s_acrCell[kScatterCells];
  ScatterPicture(s_grid, s_acrCell);

  const int nSide = 256 * s;
  canvas.FillRect(kPlotLeft - 1, kPlotTop - 1, kPlotLeft + nSide + 1, kPlotTop + nSide + 1,
                  kcrBlack, kcrWhite);
  for (int vy = 0; vy < 256; ++vy) {
    for (int vx = 0; vx < 256; ++vx) {
      const Colorref cr = s_acrCell[ScatterCell(vx, vy)];
      if (cr == kcrWhite) continue;
      const int x0 = kPlotLeft + s * vx, y0 = kPlotTop + s * (255 - vy);
      for (int i = 0; i < s; ++i) {
        for (int j = 0; j < s; ++j) canvas.SetPixel(x0 + i, y0 + j, cr);
      }
    }
  }
  for (int v = 0; v <= 250; v += 50) {
    canvas.TextOut(kPlotLeft - 28, RowOfCell(v) - 6, kPanelSmallTextHeight, FormatText("%d", v));
    canvas.TextOut(ColumnOfCell(v) - 6, kPlotTop + nSide + 4, kPanelSmallTextHeight,
                   FormatText("%d", v));
  }
  canvas.TextOut(kPlotLeft + nSide - 40, kPlotTop + nSide + 20, kPanelSmallTextHeight,
                 BandLabel(nBandX) + " →");
  canvas.TextOut(0, kPlotTop + nSide + 20, kPanelSmallTextHeight, "↑ " + BandLabel(nBandY));

  // Centres of the last generation, in these two bands.
  std::vector<std::pair<int, int>> aCentre;
  if (g_bClassified) {
    for (const CategorySignature& cat : GeneratedSignature().aCategories) {
      aCentre.emplace_back(cat.anCentre[nBandX - 1], cat.anCentre[nBandY - 1]);
    }
    if (g_bScatterBoundaries) DrawBoundaries(canvas, aCentre);
  }
  TrainingStatistics aStats[8];
  ComputeTrainingStatistics({nBandX - 1, nBandY - 1}, aStats);
  for (int c = 1; c <= 8; ++c) {
    if (abShown[c]) DrawEllipse(canvas, aStats[c - 1], g_acrCategoryColour[c]);
  }
  if (g_bClassified) {
    const auto& aCat = GeneratedSignature().aCategories;
    for (std::size_t k = 0; k < aCat.size(); ++k) {
      DrawCross(canvas, ColumnOfCell(aCentre[k].first), RowOfCell(aCentre[k].second),
                g_acrCategoryColour[std::clamp(aCat[k].nCategory, 1, 8)]);
    }
  }

  int y = DrawLegend(canvas, FormatText(kszScatterTitle, nBandX, nBandY), kaszScatterNotes, 3);
  if (!g_bClassified) {
    canvas.TextOut(LegendLeft(), y, kPanelSmallTextHeight, kszScatterNoCentres);
  } else if (g_bScatterBoundaries) {
    canvas.TextOut(LegendLeft(), y, kPanelSmallTextHeight, kszScatterBoundaries);
  }
  g_nDisplayMode = DisplayMode::Scatter;
}

void RepaintShownPlot() {
  if (g_nDisplayMode == DisplayMode::Signatures || g_nDisplayMode == DisplayMode::Scatter) {
    ThePlatform().RepaintNow();
  }
}

void ResetScatterSettings() {
  g_nScatterBandX = kDefaultScatterBandX;
  g_nScatterBandY = kDefaultScatterBandY;
  g_bScatterBoundaries = false;
}

bool ScatterSettingsAreDefault() {
  return g_nScatterBandX == kDefaultScatterBandX && g_nScatterBandY == kDefaultScatterBandY &&
         !g_bScatterBoundaries;
}

void AppendScatterReport(std::vector<ReportLine>& aLines) {
  if (ScatterSettingsAreDefault()) return;
  aLines.push_back({48, FormatText(kszScatterReport, g_nScatterBandX, g_nScatterBandY,
                                   g_bScatterBoundaries ? "表示" : "なし")});
}

void AppendScatterStats(nlohmann::ordered_json& obj) {
  obj["scatter"] = {{"band_x", g_nScatterBandX},
                    {"band_y", g_nScatterBandY},
                    {"boundaries", g_bScatterBoundaries}};
}

void RegisterPlots() {
  RegisterCommands(kaPlotCommands);
  RegisterDisplayMode({.eMode = DisplayMode::Signatures,
                       .pfnPaint = DrawSignaturePlot,
                       .pfnPane0 = SignaturePane0,
                       .pfnPane1 = BlankPane,
                       .szProduct = "signatures",
                       .nViewCommand = ID_SIGNATURE_VIEW,
                       .bWholeWindow = true,
                       .bReadoutEverywhere = true});
  RegisterDisplayMode({.eMode = DisplayMode::Scatter,
                       .pfnPaint = DrawScatterPlot,
                       .pfnPane0 = ScatterPane0,
                       .pfnPane1 = BlankPane,
                       .pfnArrowKey = OnScatterArrowKey,
                       .szProduct = "scatter",
                       .nViewCommand = ID_SCATTER_VIEW,
                       .bWholeWindow = true,
                       .bReadoutEverywhere = true});
}
