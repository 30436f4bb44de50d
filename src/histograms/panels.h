// What every picture's panel shares: the strip beside the picture, the histogram frame and
// curve, the colour bar, swatches and texts. Coordinates are logical view coordinates; W is
// g_nMaxX, the picture's last column.
#pragma once

#include <cstdint>
#include <string>

#include "core/platform.h"
#include "core/text_format.h"

inline constexpr int kPanelTextHeight = 15;
inline constexpr int kPanelSmallTextHeight = 12;

// Scale unit of a histogram curve: a hundredth of the maximum. Below a maximum of 100 the unit
// would be 0; it is taken as 1 so the curve stays defined.
std::uint32_t HistogramUnit(std::uint32_t nMax);

// Shows a product's panel after its prepare step: clears the strip (or, over the detailed
// histogram, the whole window and repaints), sets the display mode to the product's and draws.
void ShowProductPanel(int nProductMode, void (*pfnDrawPanel)());

// The white frame with a black border at top t: (W+2, t) to (W+260, t+102).
void DrawHistogramFrame(Canvas& canvas, int t);
// The curve of anCount through columns W+3..W+258 and a last segment to W+259.
void DrawHistogramCurve(Canvas& canvas, int t, const std::uint32_t anCount[256],
                        std::uint32_t nMax, Colorref crCurve);
// Rows t+103..t+110, column W+3+v in acrColour[v]; columns with abSkip[v] set stay untouched.
void DrawColourBar(Canvas& canvas, int t, const Colorref acrColour[256],
                   const bool* abSkip = nullptr);
// Columns nLeft..nRight and lines nTop..nBottom (inclusive) set pixel by pixel.
void FillSwatch(Canvas& canvas, int nLeft, int nTop, int nRight, int nBottom, Colorref cr);
