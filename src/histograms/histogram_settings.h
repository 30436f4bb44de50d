// The histogram settings group: the detailed histogram's kind, type, scale and value cursor,
// and the curves' colours and widths of bands b = 1..8.
#pragma once

#include <cstdint>

#include "core/state.h"

struct HistogramSettings {
  int nHistKind = 0;    // 0 composite, 1 coarse, 2 fine, 3 category, 4 classification
  int nHistType = 0;    // 0 double, 1 all, 2 area
  int nHistScale = 0;   // lower chart of the double type: 0 the upper one's scale, 1 its own
  int nHistCursor = 10;
  Colorref acrHistLineColour[9] = {};  // curve colour of band b
  int anHistLineWidth[9] = {};         // curve width of band b, 1..3
};
extern HistogramSettings g_histogram;

// The program's names for them.
inline int& g_nHistKind = g_histogram.nHistKind;
inline int& g_nHistType = g_histogram.nHistType;
inline int& g_nHistScale = g_histogram.nHistScale;
inline int& g_nHistCursor = g_histogram.nHistCursor;
inline Colorref (&g_acrHistLineColour)[9] = g_histogram.acrHistLineColour;
inline int (&g_anHistLineWidth)[9] = g_histogram.anHistLineWidth;

// K of the previous detailed histogram (0 at start).
extern std::uint32_t g_nHistLastK;

// Registers the group (with the histogram commands).
void RegisterHistogramSettings();
