// The composite picture: three bands through linear stretches as red, green and blue.
#pragma once

#include <cstdint>

enum class Component { Red, Green, Blue };

// Values of the band/value dialog, in the order the dialog shows them.
struct CompositeBandValues {
  int nRedBand, nGreenBand, nBlueBand;
  int nRedLower, nRedUpper;
  int nGreenLower, nGreenUpper;
  int nBlueLower, nBlueUpper;
  int bCutOffLinked;
};

// Look-up table of a stretch from lower L to upper U (L < U).
void BuildStretchTable(int nLower, int nUpper, std::uint8_t abLut[256]);
void ComputeCutOff(Component component);

// Commands.
void OnCompositeView();
void OnCompositeSmoothView();
void OnCompositeHistogram();
void OnCompositeReleaseCutOff();
void OnTrueColour();
void OnNaturalColour();
void OnFalseColour();
// RGB library 1..6.
void ApplyRgbLibrary(int nLibrary);
// One of the 24 band items: component and band 1..8.
void SelectCompositeBand(Component component, int nBand);

// After OK in the dialogs (the values have passed the dialogs' range checks).
void ApplyCutOffDialog(int nRate);
void ApplyCompositeBandValueDialog(const CompositeBandValues& values);
CompositeBandValues CurrentCompositeBandValues();

// Left button in the composite panel (logical coordinates).
void OnCompositePanelClick(int x, int y);
