// The coarse picture: one band sliced into eight coloured ranks.
#pragma once

#include "core/state.h"

// Rank colours of the colour libraries, in menu order (bright, dark, rainbow, black, grey,
// red, green, blue strength), ranks 1..8.
extern const Colorref kaacrCoarseColourLibrary[8][8];

// Commands.
void OnCoarseView();
void OnCoarseSmoothView();
void OnCoarseHistogram();
void SelectCoarseBand(int nBand);
void ApplyRankLibrary(int nLibrary);          // 1..8
void ApplyCoarseColourLibrary(int nLibrary);  // 1..8 in menu order
void ToggleRankColour(int nRank);             // 1..8
void OnRanksAllOn();
void OnRanksAllOff();
void OnRanksInvert();
// The rank colour picker for rank 1..8 of the coarse band (menu item or panel swatch).
void EditRankColour(int nRank);

// After OK in dialog 136: the band typed and the upper values of ranks 1..7.
void ApplyRankValueDialog(int nBand, const int anUpper[7]);

// Left button in the coarse panel (logical coordinates).
void OnCoarsePanelClick(int x, int y);

// The histogram splits of rank libraries 1..4 (also the fine point libraries): anBound[1..7]
// take, each, the last value of band nBand whose cumulative count stays within its limit and
// keep their values when there is none.
void SplitBoundsByHistogram(int nLibrary, int nBand, int anBound[8]);

// Handlers of the numbered menu families (N counted from 1).
template <int N> void OnCoarseBand() { SelectCoarseBand(N); }
template <int N> void OnRankLibrary() { ApplyRankLibrary(N); }
template <int N> void OnCoarseColourLibrary() { ApplyCoarseColourLibrary(N); }
template <int N> void OnRankColourToggle() { ToggleRankColour(N); }
template <int N> void OnRankColour() { EditRankColour(N); }
