#include "products/sliced_picture.h"

#include <algorithm>
#include <climits>

#include "core/platform.h"
#include "products/messages.h"

int SlicedBand(const SlicedPicture& pic) { return std::clamp(pic.nBand, 1, kMaxBands); }

void RefreshSliced(const SlicedPicture& pic) {
  if (g_bAlwaysRedraw == 1) {
    pic.pfnView();
  } else {
    pic.pfnPrepare();
  }
}

void SelectSlicedBand(const SlicedPicture& pic, int nBand) {
  if (nBand < 1 || nBand > kMaxBands) return;
  pic.nBand = nBand;
  RefreshSliced(pic);
}

void ApplySlicedColourLibrary(const SlicedPicture& pic, int nLibrary) {
  if (nLibrary < 1 || nLibrary > 8) return;
  const int b = SlicedBand(pic);
  const Colorref* pLibrary = pic.pLibraries + (nLibrary - 1) * pic.nColours;
  for (int k = 1; k <= pic.nColours; ++k) pic.aacrColour[k][b] = pLibrary[k - 1];
  RefreshSliced(pic);
}

namespace {
void FlipPart(const SlicedPicture& pic, int k, int b) {
  int& nOn = pic.aanPartOn[k][b];
  if (++nOn >= 2) nOn = 0;
  if (pic.pfnPartSwitched) pic.pfnPartSwitched(k, b);
}
}  // namespace

void ToggleSlicedPart(const SlicedPicture& pic, int k) {
  if (k < 1 || k > 8) return;
  FlipPart(pic, k, SlicedBand(pic));
  pic.pfnPrepare();
}

void SetAllSlicedParts(const SlicedPicture& pic, std::uint8_t bOn) {
  const int b = SlicedBand(pic);
  for (int k = 1; k <= 8; ++k) pic.aanPartOn[k][b] = bOn;
  if (pic.pfnAllSwitched) pic.pfnAllSwitched(b, bOn);
  pic.pfnPrepare();
}

void InvertSlicedParts(const SlicedPicture& pic) {
  const int b = SlicedBand(pic);
  for (int k = 1; k <= 8; ++k) FlipPart(pic, k, b);
  pic.pfnPrepare();
}

void EditSlicedColour(const SlicedPicture& pic, int k) {
  if (k < 1 || k > pic.nColours) return;
  const int b = SlicedBand(pic);
  Colorref cr = pic.aacrColour[k][b];
  if (!ThePlatform().ChooseColour(cr)) return;
  pic.aacrColour[k][b] = cr;
  RefreshSliced(pic);
}

void ApplySlicedValues(const SlicedPicture& pic, int nBand, const int anValue[]) {
  // The dialog keeps the band within 1..8; anything else cannot be stored.
  if (nBand < 1 || nBand > kMaxBands) return;
  pic.nBand = nBand;
  for (int k = pic.nFirstValue; k <= pic.nLastValue; ++k) {
    pic.aanValue[k][nBand] = anValue[k - pic.nFirstValue];
  }
  if (nBand - 1 > g_nLastBand) {
    pic.nBand = g_nLastBand + 1;
    ShowMessage(kszMsgNoBand, pic.szNoBandCaption);
  }
  RefreshSliced(pic);
}

void NudgeSlicedValue(const SlicedPicture& pic, int k, int nStep, int nFloorValue) {
  int& nValue = pic.aanValue[k][SlicedBand(pic)];
  if (nStep < 0) {
    // The first value never goes below 1 by a click.
    if (k != nFloorValue || nValue > 1) --nValue;
  } else if (nValue < INT_MAX) {
    ++nValue;
  }
  pic.pfnPrepare();
}
