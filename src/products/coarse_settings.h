// The coarse picture's settings group (ranks k = 1..8, bands b = 1..8): the band, the rank
// bounds, colours and colouring; and the tables its prepare step builds.
#pragma once

#include <cstdint>

#include "core/state.h"

struct CoarseSettings {
  int nCoarseBand = 1;
  int anRankUpper[9][9] = {};
  int anRankColourOn[9][9] = {};  // the work file keeps them as integers
  Colorref acrRankColour[9][9] = {};
};
extern CoarseSettings g_coarse;

// The program's names for them.
inline int& g_nCoarseBand = g_coarse.nCoarseBand;
inline int (&g_anRankUpper)[9][9] = g_coarse.anRankUpper;
inline int (&g_anRankColourOn)[9][9] = g_coarse.anRankColourOn;
inline Colorref (&g_acrRankColour)[9][9] = g_coarse.acrRankColour;

extern std::uint8_t g_abCoarseRankOfValue[256];
extern std::uint32_t g_anCoarseHist[256];
extern std::uint32_t g_nCoarseHistMax;
extern std::uint32_t g_anRankCount[9];

// Registers the group (with the coarse picture).
void RegisterCoarseSettings();
