// The fine picture: one band graded through nine coloured points.
#pragma once

#include "core/state.h"

// Point colours of the colour libraries, in menu order, points 1..9.
extern const Colorref kaacrFineColourLibrary[8][9];
// The palette a reset gives every band, points 1..9.
extern const Colorref kacrFineResetPalette[9];

// Commands.
void OnFineView();
void OnFineSmoothView();
void OnFineHistogram();
void SelectFineBand(int nBand);
void ApplyPointLibrary(int nLibrary);       // 1..4
void ApplyFineColourLibrary(int nLibrary);  // 1..8 in menu order
void ToggleFineSpan(int nSpan);             // 1..8
void OnSpansAllOn();
void OnSpansAllOff();
void OnSpansInvert();
// The point colour picker for point 1..9 of the fine band.
void EditPointColour(int nPoint);

// After OK in dialog 156: the band typed and points 1..9 (1 and 9 as shown, read-only).
void ApplyPointValueDialog(int nBand, const int anPoint[9]);

// Left button in the fine panel (logical coordinates).
void OnFinePanelClick(int x, int y);

// Handlers of the numbered menu families (N counted from 1).
template <int N> void OnFineBand() { SelectFineBand(N); }
template <int N> void OnPointLibrary() { ApplyPointLibrary(N); }
template <int N> void OnFineColourLibrary() { ApplyFineColourLibrary(N); }
template <int N> void OnFineSpanToggle() { ToggleFineSpan(N); }
template <int N> void OnPointColour() { EditPointColour(N); }
