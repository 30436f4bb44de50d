// The category settings group (categories c = 1..8, bands b = 1..8): the target, each
// category's ranges, validity, colour and name, painting, and the classification's flags; and
// what the training update, the category image and the classification count.
#pragma once

#include <cstdint>
#include <string>

#include "core/state.h"

struct CategorySettings {
  int nCategory = 1;             // the target category, always 1..8
  int anCatLower[9][9] = {};     // [b][c], inclusive
  int anCatUpper[9][9] = {};     // [b][c], inclusive
  Colorref acrCategoryColour[9] = {};
  Colorref crCategoryEdit = 0;   // what the colour picker opens with
  int nDotSize = 3;              // 0..3: 1, 4, 9 or 16 pixels per dot
  int nTrainBackground = 0;      // 0 composite, 1 the previous category image
  int abClassify[9] = {};        // category c takes part (the work file keeps it as an integer)
  int abClassColourOn[9] = {};   // category c's pixels in its colour, else the composite (likewise)
  bool abCategoryValid[9] = {};  // updated with enough training pixels
  bool bShowGuide = true;        // draw the panels' guidance lines
  bool bClassified = false;      // a generated classification exists
  int nClassifyMethod = 0;       // 0 minimum distance, 1 maximum likelihood
  int nRejectDistance = 0;       // minimum distance: 0 none, else the largest distance 1..721
  int nRejectProbability = 0;    // maximum likelihood: 0 none, else 1..6 (kadRejectPercent)
  bool bPaintTest = false;       // painting marks test areas rather than training areas
  int nScatterBandX = 3;         // the feature-space picture's bands across and up, 1..8
  int nScatterBandY = 4;
  bool bScatterBoundaries = false;  // it draws the minimum-distance decision boundaries
};
extern CategorySettings g_categories;
// The categories' names, the group's texts.
extern std::string g_astrCategoryName[9];

// The program's names for them.
inline int& g_nCategory = g_categories.nCategory;
inline int (&g_anCatLower)[9][9] = g_categories.anCatLower;
inline int (&g_anCatUpper)[9][9] = g_categories.anCatUpper;
inline bool (&g_abCategoryValid)[9] = g_categories.abCategoryValid;
inline Colorref (&g_acrCategoryColour)[9] = g_categories.acrCategoryColour;
inline Colorref& g_crCategoryEdit = g_categories.crCategoryEdit;
inline int& g_nDotSize = g_categories.nDotSize;
inline int& g_nTrainBackground = g_categories.nTrainBackground;
inline bool& g_bShowGuide = g_categories.bShowGuide;
inline bool& g_bClassified = g_categories.bClassified;
inline int (&g_abClassify)[9] = g_categories.abClassify;
inline int (&g_abClassColourOn)[9] = g_categories.abClassColourOn;
inline int& g_nClassifyMethod = g_categories.nClassifyMethod;
inline int& g_nRejectDistance = g_categories.nRejectDistance;
inline int& g_nRejectProbability = g_categories.nRejectProbability;
inline bool& g_bPaintTest = g_categories.bPaintTest;
inline int& g_nScatterBandX = g_categories.nScatterBandX;
inline int& g_nScatterBandY = g_categories.nScatterBandY;
inline bool& g_bScatterBoundaries = g_categories.bScatterBoundaries;

// A record's mark of category c (abTrainMark[c - 1]): 0 none, kTrainingMark a training pixel
// (categories may share one), kTestMark a test pixel of that reference category (then the
// pixel's other marks are 0: a test pixel has one reference and is no training pixel).
inline constexpr std::uint8_t kTrainingMark = 1;
inline constexpr std::uint8_t kTestMark = 2;

// The classification methods and the reject probabilities a threshold can take, in percent
// (g_nRejectProbability k is kadRejectPercent[k]; 0 is none).
inline constexpr int kMethodMinimumDistance = 0;
inline constexpr int kMethodMaximumLikelihood = 1;
inline constexpr int kMaxRejectDistance = 721;
inline constexpr double kadRejectPercent[7] = {0.0, 0.1, 0.5, 1.0, 2.5, 5.0, 10.0};

extern int g_anTrainCount[9];             // training pixels found by the last update
extern int g_nRequiredPixels;             // W x H / 1000
extern std::uint32_t g_anBandInRange[9];  // pixels inside the target's range of band b
extern std::uint32_t g_anClassCount[9];   // pixels assigned to category c
extern std::uint32_t g_nUnclassifiedCount;  // pixels beyond the reject threshold
// The category whose covariance stopped the last generation (maximum likelihood), 0 for none.
extern int g_nUnmodelledCategory;
// Each pixel's squared distance to its class as the last generation found it, [x][y] as the
// plane (Euclidean or Mahalanobis as the method measures; -1 for an unclassified pixel).
alignas(64) extern float g_afClassSquared[kMaxColumns][kMaxLines];
// Histogram of band b over the category image of category c, at [c - 1][b - 1].
extern std::uint32_t g_anCatHist[8][kMaxBands][256];

// Registers the group (with the category commands).
void RegisterCategorySettings();
