// Minimum-distance classification: every pixel of the window goes to the classified category
// whose centre is nearest (squared distance over the bands in use; ties to the lowest number).
#pragma once

#include <cstdint>

// Centres [c][b] (c, b = 1..8) of the categories from their category-image histograms: the last
// value before the cumulative count passes half the pixels; 255 for an empty image.
void ComputeClassCentres(int aanCentre[9][9]);

// Every pixel of the window assigned (bClassifyClass 0..7) and g_anClassCount counted, from the
// centres, g_abClassify and g_abUseBand. At least one category must take part.
void ClassifyAssign(const int aanCentre[9][9]);
// The same as the plain double-precision loop, the reference the fast one is tested against.
void ClassifyAssignPlain(const int aanCentre[9][9]);

// Commands.
void OnClassifyGenerate();
void OnClassifyView();
// The classification picture from the classes as they stand (the view command's render step).
void RenderClassification(bool bSmooth);
void OnClassifySmoothView();
// The panel only (DisplayMode::Classify).
void OnClassifyHistogram();
void ToggleClassColour(int nCategory);  // 1..8
void SetAllClassColours(int bOn);
void InvertClassColours();
