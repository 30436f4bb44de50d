// The distance picture (DisplayMode::Distance): every classified pixel in grey by its distance
// to its category as the last generation measured it (Euclidean under minimum distance, the
// squared Mahalanobis distance under maximum likelihood), black at 0 and white at the largest
// distance in the picture; pixels the reject threshold left unclassified red.
#pragma once

// The distance shown for a squared distance g_afClassSquared holds, under the method. A pixel
// at distance d is grey 255 x d / (the largest), rounded to the nearest level.
double ShownDistance(float fSquared, int nMethod);

// The prepare step: the largest distance among the window's classified pixels, then the panel.
void OnDistanceHistogram();
// The command: the prepare step and the picture.
void OnDistanceView();
void RenderDistancePicture();
// What the last prepare step found: the method the distances were measured by and the largest.
int DistanceMethod();
double LargestDistance();

// The command row and the display mode (called by RegisterClassification).
void RegisterDistancePicture();
