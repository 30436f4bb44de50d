// The coarse picture: one band sliced into eight coloured ranks.
#pragma once

#include "products/coarse_settings.h"
#include "core/state.h"
#include "products/sliced_picture.h"

struct DialogSpec;

// Rank colours of the colour libraries, in menu order (bright, dark, rainbow, black, grey,
// red, green, blue strength), ranks 1..8.
extern const Colorref kaacrCoarseColourLibrary[8][8];

// The coarse band, its rank bounds, colours and colouring, for the shared commands.
extern const SlicedPicture kCoarsePicture;
// Dialog IDD_RANK_VALUE: the band and the upper values of ranks 1..7.
extern const DialogSpec kRankValueDialog;

// Its commands, display mode, settings group and dialog.
void RegisterCoarse();

void ResetCoarseQuery();
void ResetCoarsePalette();

// Commands.
void OnCoarseView();
void OnCoarseSmoothView();
// The prepare step: rank table and counts of the coarse band, then the panel.
void OnCoarseHistogram();
void ApplyRankLibrary(int nLibrary);  // 1..8

// Left button in the coarse panel (logical coordinates).
void OnCoarsePanelClick(int x, int y, bool bShift);

// The histogram splits of rank libraries 1..4 (also the fine point libraries): anBound[1..7]
// take, each, the last value of band nBand whose cumulative count stays within its limit and
// keep their values when there is none.
void SplitBoundsByHistogram(int nLibrary, int nBand, int anBound[8]);
