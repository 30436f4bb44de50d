#include "classification/category_panels.h"

#include <algorithm>

#include "classification/categories.h"
#include "classification/class_model.h"
#include "classification/classify.h"
#include "classification/distance_picture.h"
#include "classification/messages.h"
#include "histograms/histogram_settings.h"
#include "core/view.h"

namespace {


void Text(int x, int y, int nHeight, const std::string& str) {
  DrawPanelText(ThePlatform().WindowCanvas(), x, y, nHeight, str);
}

// A text of a row at its column x, or half a character past xAfter when the text before it
// reaches that far (a count of many digits); returns where it ends.
int TextAfter(int x, int xAfter, int y, int nHeight, const std::string& str) {
  Canvas& canvas = ThePlatform().WindowCanvas();
  const int xText = std::max(x, xAfter + nHeight / 2);
  DrawPanelText(canvas, xText, y, nHeight, str);
  return xText + canvas.TextWidth(nHeight, str);
}

// The lines at y = 0, 15, 30, ... when the guidance is on.
template <std::size_t N>
void Guide(const char* const (&aszLines)[N], int nLastX = -1) {
  if (g_bShowGuide != 1) return;
  for (std::size_t i = 0; i < N; ++i) {
    const int x = i + 1 == N && nLastX >= 0 ? nLastX : g_nMaxX + 3;
    Text(x, 15 * static_cast<int>(i), kGuideTextHeight, aszLines[i]);
  }
}

void ClearPanelToPictureBottom() {
  ThePlatform().WindowCanvas().FillRect(g_nMaxX + 2, 0, 1023, g_nMaxY + 1, kcrWhite, kcrWhite);
}

// Marks, title, labels and swatches that both classification panels show.
void ClassifyRows() {
  Canvas& canvas = ThePlatform().WindowCanvas();
  const int X0 = g_nMaxX;
  for (int c = 1; c <= 8; ++c) {
    if (g_abClassify[c] == 1) canvas.DrawIcon(X0 + 3, CategoryPanelLayout::RowTop(c), kIconPanelCheck);
  }
  for (int c = 1; c <= 8; ++c) {
    if (g_abClassify[c] == 1 && g_abClassColourOn[c] == 1) {
      canvas.DrawIcon(X0 + 3, CategoryPanelLayout::RowTop(c), kIconPanelDoubleCheck);
    }
  }
  Text(X0 + 3, 130, kPanelTextHeight, kszClassifyTitle);
  for (int c = 1; c <= 8; ++c) {
    Text(X0 + 20, CategoryPanelLayout::RowTop(c), kPanelTextHeight, FormatText("%d", c));
    FillSwatch(canvas, CategoryPanelLayout::ColourSwatch(c), g_acrCategoryColour[c]);
  }
}

}  // namespace

int PercentOfWindow(long long nCount) {
  const long long nHundredth = static_cast<long long>(WindowWidth()) * WindowHeight() / 100;
  return nHundredth == 0 ? 0 : static_cast<int>(nCount / nHundredth);
}

void DrawTrainingPanel() {
  Canvas& canvas = ThePlatform().WindowCanvas();
  const int X0 = g_nMaxX;
  canvas.DrawIcon(X0 + 3, CategoryPanelLayout::RowTop(TargetCategory()), kIconPanelCheck);
  if (g_bShowGuide == 1) {
    for (int i = 0; i < 8; ++i) {
      const std::string str = i == 4 ? FormatText(kaszTrainingGuide[4], WindowWidth(),
                                                  WindowHeight(), g_nRequiredPixels)
                                     : std::string(kaszTrainingGuide[i]);
      Text(X0 + 3, 15 * i, kGuideTextHeight, str);
    }
  }
  Text(X0 + 3, 130, kPanelTextHeight, kszTrainingTitle);
  for (int c = 1; c <= 8; ++c) {
    const int y = CategoryPanelLayout::RowTop(c);
    Text(X0 + 20, y, kPanelTextHeight, FormatText("%d", c));
    FillSwatch(canvas, CategoryPanelLayout::ColourSwatch(c), g_acrCategoryColour[c]);
    // The columns of the count, the required count and the state give way to wide numbers.
    int xEnd = TextAfter(X0 + 70, X0, y, kGuideTextHeight, FormatText("%d", g_anTrainCount[c]));
    xEnd = TextAfter(X0 + 100, xEnd, y, kGuideTextHeight, FormatText("> %d", g_nRequiredPixels));
    Text(X0 + 100, y + 14, kGuideTextHeight, g_astrCategoryName[c]);
    TextAfter(X0 + 150, xEnd, y, kGuideTextHeight,
              g_abCategoryValid[c] == 0 ? kszNeedsUpdate : kszTrainingOk);
  }
  // The legend of the test areas: the target's test colour, and whether painting marks them.
  const int yLegend = CategoryPanelLayout::RowTop(9);
  FillSwatch(canvas, {X0 + 31, yLegend + 2, X0 + 55, yLegend + 15},
             TestAreaColour(g_acrCategoryColour[TargetCategory()]));
  Text(X0 + 70, yLegend, kGuideTextHeight, g_bPaintTest ? kszTestAreaPainting : kszTestAreaLegend);
}

void DrawCategoryPanel() {
  Canvas& canvas = ThePlatform().WindowCanvas();
  const int X0 = g_nMaxX;
  const int t = TargetCategory();
  const int nb = std::clamp(BandCount(), 0, kMaxBands);

  // Every band's histogram on one scale: the largest count of all reaches the top.
  DrawHistogramFrame(canvas, 0);
  std::uint32_t nMax = 0;
  for (int b = 0; b < nb; ++b) {
    nMax = std::max(nMax, *std::max_element(g_anBandHist[b], g_anBandHist[b] + 256));
  }
  for (int b = 1; b <= nb; ++b) {
    DrawHistogramCurve(canvas, 0, g_anBandHist[b - 1], nMax, g_acrHistLineColour[b]);
  }
  for (int b = 1; b <= nb; ++b) {
    if (g_abUseBand[b - 1] == 1) canvas.DrawIcon(X0 + 3, CategoryPanelLayout::RowTop(b), kIconPanelCheck);
  }
  Text(X0 + 3, 130, kPanelTextHeight, FormatText("Category%d", t));
  Text(X0 + 90, 130, kPanelTextHeight, g_astrCategoryName[t]);
  for (int b = 1; b <= nb; ++b) {
    const int y = CategoryPanelLayout::RowTop(b);
    Text(X0 + 20, y, kPanelTextHeight, FormatText("%d", b));
    Text(X0 + 60, y, kPanelTextHeight, FormatText("%d", g_anCatLower[b][t]));
    Text(X0 + 90, y, kPanelTextHeight, FormatText("～ %d", g_anCatUpper[b][t]));
    if (g_abUseBand[b - 1] != 1) continue;
    Text(X0 + 150, y, kPanelTextHeight, FormatText("%d", PercentOfWindow(g_anBandInRange[b])));
    Text(X0 + 180, y, kPanelTextHeight, FormatText("%d", static_cast<int>(g_anBandInRange[b])));
    // The legend: the band's line colour.
    FillSwatch(canvas, {X0 + 31, y + 7, X0 + 55, y + 8}, g_acrHistLineColour[b]);
  }
}

void DrawCategoryInvalidPanel() {
  ClearPanelToPictureBottom();
  Guide(kaszCategoryInvalidGuide);
  const int t = TargetCategory();
  Text(g_nMaxX + 3, 130, kPanelTextHeight, FormatText("Category%d", t));
  Text(g_nMaxX + 90, 130, kPanelTextHeight, g_astrCategoryName[t]);
}

void DrawClassifyPanel() {
  const int X0 = g_nMaxX;
  Guide(kaszClassifyGuide);
  ClassifyRows();
  for (int c = 1; c <= 8; ++c) {
    const int y = CategoryPanelLayout::RowTop(c);
    Text(X0 + 70, y, kGuideTextHeight, FormatText("%d", PercentOfWindow(g_anClassCount[c])));
    Text(X0 + 100, y, kGuideTextHeight, FormatText("%d", static_cast<int>(g_anClassCount[c])));
    Text(X0 + 100, y + 14, kGuideTextHeight, g_astrCategoryName[c]);
  }
  // Beyond a reject threshold: the unclassified pixels, black in the picture, as a ninth row,
  // its name on the row's own line so that it fits the 420 lines of an exported panel.
  if (ClassifiedWithThreshold()) {
    const int y = CategoryPanelLayout::RowTop(9);
    FillSwatch(ThePlatform().WindowCanvas(), CategoryPanelLayout::ColourSwatch(9), kcrBlack);
    Text(X0 + 70, y, kGuideTextHeight, FormatText("%d", PercentOfWindow(g_nUnclassifiedCount)));
    const int xEnd = TextAfter(X0 + 100, X0, y, kGuideTextHeight,
                               FormatText("%d", static_cast<int>(g_nUnclassifiedCount)));
    TextAfter(X0 + 150, xEnd, y, kGuideTextHeight, kszUnclassified);
  }
}

void DrawClassifyInvalidPanel() {
  if (g_nDisplayMode == DisplayMode::DetailedHistogram) {
    ThePlatform().WindowCanvas().FillRect(0, 0, 1023, 1023, kcrWhite, kcrWhite);
  } else {
    ClearPanelToPictureBottom();
  }
  Guide(kaszClassifyInvalidGuide, g_nMaxX + 20);
  ClassifyRows();
  for (int c = 1; c <= 8; ++c) {
    const int y = CategoryPanelLayout::RowTop(c);
    // A valid category can still be one whose covariance stopped maximum likelihood.
    const char* szState = g_abClassify[c] != 1 ? kszClassNotTaking
                          : g_abCategoryValid[c] == 1 && c != g_nUnmodelledCategory
                              ? kszClassOk
                              : kszClassCannot;
    Text(g_nMaxX + 70, y, kGuideTextHeight, szState);
    Text(g_nMaxX + 100, y + 14, kGuideTextHeight, g_astrCategoryName[c]);
  }
}

void DrawDistancePanel() {
  using L = DistancePanelLayout;
  Canvas& canvas = ThePlatform().WindowCanvas();
  const int X0 = g_nMaxX;
  Guide(kaszDistanceGuide);
  const bool bLikelihood = DistanceMethod() == kMethodMaximumLikelihood;
  Text(X0 + 3, L::kTitleTop, kPanelTextHeight, kszDistanceTitle);
  Text(X0 + 3, L::kMeasureTop, kGuideTextHeight,
       bLikelihood ? kszDistanceMahalanobis : kszDistanceEuclidean);
  // The scale as the picture draws it: grey v at column v, 0 on the left, the largest right.
  Colorref acrGrey[256];
  for (int v = 0; v < 256; ++v) acrGrey[v] = Rgb(v, v, v);
  canvas.FillRect(X0 + 2, L::kBarTop - 1, X0 + 260, L::kBarTop + L::kBarRows + 1, kcrBlack,
                  kcrWhite);
  DrawColourBar(canvas, L::kBarTop - 103, acrGrey);
  Text(X0 + 3, L::kEndValueTop, kGuideTextHeight, "0");
  const std::string strLargest = FormatText("%.2f", LargestDistance());
  Text(X0 + 259 - canvas.TextWidth(kGuideTextHeight, strLargest), L::kEndValueTop,
       kGuideTextHeight, strLargest);
  const Signature& sig = GeneratedSignature();
  std::string strThreshold = kszDistanceNoThreshold;
  if (ClassifiedWithThreshold()) {
    strThreshold = bLikelihood ? FormatText(kszDistanceThresholdProbability,
                                            kadRejectPercent[sig.nRejectProbability],
                                            RejectSquaredDistance(sig))
                               : FormatText(kszDistanceThresholdDistance, sig.nRejectDistance);
    FillSwatch(canvas, L::UnclassifiedSwatch(), Rgb(255, 0, 0));
    Text(X0 + 35, L::kUnclassifiedTop, kGuideTextHeight,
         FormatText(kszDistanceUnclassified, static_cast<int>(g_nUnclassifiedCount)));
  }
  Text(X0 + 3, L::kThresholdTop, kGuideTextHeight, strThreshold);
}
