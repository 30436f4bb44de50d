// The fine picture: one band graded through nine coloured points.
#pragma once

#include "products/fine_settings.h"
#include "core/state.h"
#include "products/sliced_picture.h"

struct DialogSpec;

// Point colours of the colour libraries, in menu order, points 1..9.
extern const Colorref kaacrFineColourLibrary[8][9];
// The palette a reset gives every band, points 1..9.
extern const Colorref kacrFineResetPalette[9];

// The fine band, its points, colours and interval colouring, for the shared commands.
extern const SlicedPicture kFinePicture;
// Dialog IDD_POINT_VALUE: the band and points 1..9 (1 and 9 shown, not edited).
extern const DialogSpec kPointValueDialog;

// Its commands, display mode, settings group and dialog.
void RegisterFine();

void ResetFineQuery();
void ResetFinePalette();
// The ramp tables and histogram, back to empty.
void ClearFineTables();

// Commands.
void OnFineView();
void OnFineSmoothView();
// The prepare step: the ramp of the fine band and its histogram, then the panel.
void OnFineHistogram();
void ApplyPointLibrary(int nLibrary);  // 1..4

// Left button in the fine panel (logical coordinates).
void OnFinePanelClick(int x, int y, bool bShift);
