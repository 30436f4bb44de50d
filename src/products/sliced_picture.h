// What the coarse and fine pictures have in common: one band of the scene, cut into numbered
// parts (eight ranks, eight intervals between nine points) whose colouring can be switched on
// and off, numbered colours with libraries and a picker, numbered values set by a dialog or
// nudged on the panel, and the redisplay rule. Each picture describes its own state once; the
// commands of both go through the functions below.
#pragma once

#include <cstdint>

#include "core/state.h"

struct SlicedPicture {
  int& nBand;                   // the picture's band, 1..8
  int (*aanValue)[9];           // values [k][b]: rank upper bounds or points
  int nFirstValue, nLastValue;  // the values the dialog sets (1..7 ranks, 1..9 points)
  Colorref (*aacrColour)[9];    // colours [k][b], k = 1..nColours
  int nColours;
  const Colorref* pLibraries;   // colour library n, colour k at [(n - 1) * nColours + k - 1]
  int (*aanPartOn)[9];          // colouring of part k = 1..8 of band b: 1 on, 0 off
  // After part k of band b was switched (null: nothing more to do).
  void (*pfnPartSwitched)(int k, int b);
  // After every part of band b was switched on (1) or off (0) (null: nothing more to do).
  void (*pfnAllSwitched)(int b, std::uint8_t bOn);
  void (*pfnView)();       // prepare step, panel and picture
  void (*pfnPrepare)();    // prepare step and panel
  const char* szNoBandCaption;  // caption of the warning when the dialog names a missing band
  DisplayMode eMode;
};

// The band pulled into 1..8, for indexing.
int SlicedBand(const SlicedPicture& pic);
// After a settings change: the picture again when "always redisplay" is on, else the panel.
void RefreshSliced(const SlicedPicture& pic);
void SelectSlicedBand(const SlicedPicture& pic, int nBand);
void ApplySlicedColourLibrary(const SlicedPicture& pic, int nLibrary);
// Flips part k: a flag that reaches 2 or more becomes 0, so a stray stored value returns to 0.
void ToggleSlicedPart(const SlicedPicture& pic, int k);
void SetAllSlicedParts(const SlicedPicture& pic, std::uint8_t bOn);
void InvertSlicedParts(const SlicedPicture& pic);
// The colour picker for colour k of the picture's band.
void EditSlicedColour(const SlicedPicture& pic, int k);
// After OK in the band-and-values dialog: the band typed and values nFirstValue..nLastValue.
void ApplySlicedValues(const SlicedPicture& pic, int nBand, const int anValue[]);
// A panel arrow on value k: one step down (never below 1 for nFloorValue) or up.
void NudgeSlicedValue(const SlicedPicture& pic, int k, int nStep, int nFloorValue);

// ---- Handlers of the menu families, for the command rows -------------------------------------
template <const SlicedPicture& kPic, int N> void OnSlicedBand() { SelectSlicedBand(kPic, N); }
template <const SlicedPicture& kPic, int N> void OnSlicedColourLibrary() {
  ApplySlicedColourLibrary(kPic, N);
}
template <const SlicedPicture& kPic, int N> void OnSlicedPartToggle() { ToggleSlicedPart(kPic, N); }
template <const SlicedPicture& kPic> void OnSlicedAllOn() { SetAllSlicedParts(kPic, 1); }
template <const SlicedPicture& kPic> void OnSlicedAllOff() { SetAllSlicedParts(kPic, 0); }
template <const SlicedPicture& kPic> void OnSlicedInvert() { InvertSlicedParts(kPic); }
template <const SlicedPicture& kPic, int N> void OnSlicedColour() { EditSlicedColour(kPic, N); }
template <const SlicedPicture& kPic> bool CheckSlicedBand(int n) { return kPic.nBand == n; }
template <const SlicedPicture& kPic> bool CheckSlicedPart(int k) {
  return kPic.nBand >= 1 && kPic.nBand <= kMaxBands && kPic.aanPartOn[k][kPic.nBand] == 1;
}

// ---- The band-and-values dialog: the band, then the values (fields 1.. of the dialog) ---------
template <const SlicedPicture& kPic> void CurrentSlicedValues(int anValues[]) {
  const int b = SlicedBand(kPic);
  anValues[0] = b;
  for (int k = kPic.nFirstValue; k <= kPic.nLastValue; ++k) {
    anValues[1 + k - kPic.nFirstValue] = kPic.aanValue[k][b];
  }
}
template <const SlicedPicture& kPic> void ApplySlicedValueDialog(const int anValues[]) {
  ApplySlicedValues(kPic, anValues[0], anValues + 1);
}
