// The classification of the window: every pixel goes to a classified category by the method
// set (the nearest centre, or the highest likelihood) or, beyond the reject threshold, stays
// unclassified (class 8).
#pragma once

#include <cstdint>

class CClassModel;

// Centres [c][b] (c, b = 1..8) of the categories from their category-image histograms: the last
// value before the cumulative count passes half the pixels; 255 for an empty image.
void ComputeClassCentres(int aanCentre[9][9]);

// Every pixel of the window assigned by the model (bClassifyClass 0..7, or 8 beyond its
// threshold), g_anClassCount and g_nUnclassifiedCount counted, g_afClassSquared filled.
void ClassifyAssign(const CClassModel& model);
// The same by minimum distance from the centres, g_abClassify, g_abUseBand and the reject
// distance in force. At least one category must take part.
void ClassifyAssign(const int aanCentre[9][9]);
// The same as the plain double-precision loop, the reference the fast one is tested against.
void ClassifyAssignPlain(const int aanCentre[9][9]);
// Whether the classification on show was made with a reject threshold.
bool ClassifiedWithThreshold();

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
