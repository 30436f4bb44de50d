// The fine picture's settings group (points k = 1..9, intervals k = 1..8, bands b = 1..8): the
// band, the points, their colours and the interval colouring; and the ramp its prepare step
// builds.
#pragma once

#include <cstdint>

#include "core/state.h"

struct FineSettings {
  int nFineBand = 1;
  int anFinePoint[10][9] = {};
  Colorref acrPointColour[10][9] = {};
  int anFineSpanOn[9][9] = {};  // the work file keeps them as integers
};
extern FineSettings g_fine;

// The program's names for them.
inline int& g_nFineBand = g_fine.nFineBand;
inline int (&g_anFinePoint)[10][9] = g_fine.anFinePoint;
inline Colorref (&g_acrPointColour)[10][9] = g_fine.acrPointColour;
inline int (&g_anFineSpanOn)[9][9] = g_fine.anFineSpanOn;

extern std::uint8_t g_abFineValueOn[256][9];
extern int g_anFineRed[256], g_anFineGreen[256], g_anFineBlue[256];
extern std::uint32_t g_anFineHist[256];
extern std::uint32_t g_nFineHistMax;

// Registers the group (with the fine picture).
void RegisterFineSettings();
