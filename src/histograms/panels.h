// What every picture's panel shares: the strip beside the picture, the histogram frame and
// curve, the colour bar, swatches and texts. Coordinates are logical view coordinates; W is
// g_nMaxX, the picture's last column.
#pragma once

#include <cstdint>
#include <string>

#include "core/platform.h"
#include "core/text_format.h"

inline constexpr Colorref kcrWhite = Rgb(255, 255, 255);
inline constexpr Colorref kcrBlack = Rgb(0, 0, 0);

inline constexpr int kPanelTextHeight = 15;
inline constexpr int kPanelSmallTextHeight = 12;

// Scale unit of a histogram curve: a hundredth of the maximum. Below a maximum of 100 the unit
// would be 0; it is taken as 1 so the curve stays defined.
std::uint32_t HistogramUnit(std::uint32_t nMax);

// Shows a product's panel after its prepare step: clears the strip (or, over the detailed
// histogram, the whole window and repaints), sets the display mode to the product's and draws.
void ShowProductPanel(DisplayMode eProductMode, void (*pfnDrawPanel)());

// ---- Buttons ---------------------------------------------------------------------------------
// A pair of arrow buttons is one 32 x 32 icon with its top-left corner at (nLeft, nTop): the
// left half steps a value down, the right half up, on the icon's lines nTop+1 .. nTop+16.
struct ArrowPair {
  int nLeft, nTop;
  // -1 for a click (x, y) on the left arrow, +1 on the right one, 0 elsewhere.
  int Hit(int x, int y) const {
    if (y < nTop + 1 || y > nTop + 16) return 0;
    if (x >= nLeft && x <= nLeft + 15) return -1;
    if (x >= nLeft + 16 && x <= nLeft + 31) return 1;
    return 0;
  }
};

// A colour swatch, columns nLeft..nRight and lines nTop..nBottom (inclusive).
struct Swatch {
  int nLeft, nTop, nRight, nBottom;
  bool Hit(int x, int y) const { return x >= nLeft && x <= nRight && y >= nTop && y <= nBottom; }
};

// What a click on a panel hit: the row (sub-panel, rank or point), the arrow pair in the row
// and its step, or the row's swatch.
struct PanelHit {
  int nRow = 0;
  int nPair = 0;
  int nStep = 0;  // -1 or +1 on an arrow, 0 otherwise
  bool bSwatch = false;
  bool Any() const { return nStep != 0 || bSwatch; }
};

// The white frame with a black border at top t: (W+2, t) to (W+260, t+102).
void DrawHistogramFrame(Canvas& canvas, int t);
// The curve of anCount through columns W+3..W+258 and a last segment to W+259.
void DrawHistogramCurve(Canvas& canvas, int t, const std::uint32_t anCount[256],
                        std::uint32_t nMax, Colorref crCurve);
// Rows t+103..t+110, column W+3+v in acrColour[v]; columns with abSkip[v] set stay untouched.
void DrawColourBar(Canvas& canvas, int t, const Colorref acrColour[256],
                   const bool* abSkip = nullptr);
// The swatch's pixels set one by one.
void FillSwatch(Canvas& canvas, const Swatch& swatch, Colorref cr);
