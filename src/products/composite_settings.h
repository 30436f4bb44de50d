// The composite picture's settings group: the three bands, their stretches and look-up tables,
// the cut-off rate; and the tables its prepare step counts.
#pragma once

#include <cstdint>

#include "core/state.h"

struct CompositeSettings {
  int nRedBand = 3, nGreenBand = 2, nBlueBand = 1;
  int nRedLower = 0, nGreenLower = 0, nBlueLower = 0;
  int nRedUpper = 255, nGreenUpper = 255, nBlueUpper = 255;
  int nCutOffRate = 3;
  int bCutOffLinked = 0;  // the work file keeps it as an integer
  std::uint8_t abRedLut[256] = {}, abGreenLut[256] = {}, abBlueLut[256] = {};
};
extern CompositeSettings g_composite;

// The program's names for them.
inline int& g_nRedBand = g_composite.nRedBand;
inline int& g_nGreenBand = g_composite.nGreenBand;
inline int& g_nBlueBand = g_composite.nBlueBand;
inline int& g_nRedLower = g_composite.nRedLower;
inline int& g_nGreenLower = g_composite.nGreenLower;
inline int& g_nBlueLower = g_composite.nBlueLower;
inline int& g_nRedUpper = g_composite.nRedUpper;
inline int& g_nGreenUpper = g_composite.nGreenUpper;
inline int& g_nBlueUpper = g_composite.nBlueUpper;
inline int& g_nCutOffRate = g_composite.nCutOffRate;
inline int& g_bCutOffLinked = g_composite.bCutOffLinked;
inline std::uint8_t (&g_abRedLut)[256] = g_composite.abRedLut;
inline std::uint8_t (&g_abGreenLut)[256] = g_composite.abGreenLut;
inline std::uint8_t (&g_abBlueLut)[256] = g_composite.abBlueLut;

// Histograms of the three components' bands over the window and their largest bins.
extern std::uint32_t g_anRedHist[256], g_anGreenHist[256], g_anBlueHist[256];
extern std::uint32_t g_nRedHistMax, g_nGreenHistMax, g_nBlueHistMax;

// Registers the group (with the composite picture).
void RegisterCompositeSettings();
