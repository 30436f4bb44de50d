// A synthetic three-band 16-bit scene and a model for it, with the class of every pixel worked
// out here by the documented formula and a plain loop, independently of the program's code.
// Bands 1 and 3 are in use, band 2 is not; categories 2, 5 and 7 take part.
#pragma once

#include <cmath>

#include "classification/signature.h"

// Raw values 0..4099 in a slanted ramp: every band holds values below, inside and above its
// rule's range and, here and there, its nodata value.
inline double SceneValue(int x, int y, int b) { return (x * 7 + y * 13 + b * 101) % 4100; }

// Band 1: 1000..3540 scaled (254 / 2540 = 0.1 per value), nodata 0; band 3: 500..2532
// (0.125 per value), nodata 4000; band 2 is not used.
inline constexpr double kLow1 = 1000, kHigh1 = 3540, kNoData1 = 0;
inline constexpr double kLow3 = 500, kHigh3 = 2532, kNoData3 = 4000;
inline constexpr int kSceneCategories[3] = {2, 5, 7};
// Centres on bands 1 and 3 (band 2's are far off, to show it is ignored).
inline constexpr int kCentre1[3] = {40, 200, 120}, kCentre3[3] = {200, 40, 120};

inline Signature SceneSignature() {
  Signature sig;
  sig.nBands = 3;
  sig.abUseBand[0] = sig.abUseBand[2] = true;
  sig.aRule[0] = {true, kLow1, kHigh1, true, kNoData1};
  sig.aRule[1] = {true, 0.0, 1.0, false, 0.0};
  sig.aRule[2] = {true, kLow3, kHigh3, true, kNoData3};
  const Colorref acr[3] = {Rgb(0, 0, 255), Rgb(0, 160, 0), Rgb(200, 200, 200)};
  const char* aszName[3] = {"水域", "森林", "市街地"};
  for (int i = 0; i < 3; ++i) {
    CategorySignature cat;
    cat.nCategory = kSceneCategories[i];
    cat.strName = aszName[i];
    cat.crColour = acr[i];
    cat.bValid = true;
    cat.anCentre[0] = kCentre1[i];
    cat.anCentre[1] = 255 - 100 * i;
    cat.anCentre[2] = kCentre3[i];
    cat.adMean.assign(2, 0.0);
    cat.adCovariance.assign(4, 0.0);
    sig.aCategories.push_back(cat);
  }
  return sig;
}

// v < low: 0, v > high: 255, else 1 + floor((v - low) x 254 / (high - low)).
inline int ScaleByFormula(double v, double dLow, double dHigh) {
  if (v < dLow) return 0;
  if (v > dHigh) return 255;
  return static_cast<int>(std::floor(1.0 + (v - dLow) * 254.0 / (dHigh - dLow)));
}

// The category of scene pixel (x, y), 0 for nodata: the smallest squared distance over bands
// 1 and 3, the first (lowest) category on a tie.
inline int ExpectedClass(int x, int y) {
  const double d1 = SceneValue(x, y, 1), d3 = SceneValue(x, y, 3);
  if (d1 == kNoData1 || d3 == kNoData3) return 0;
  const int v1 = ScaleByFormula(d1, kLow1, kHigh1), v3 = ScaleByFormula(d3, kLow3, kHigh3);
  int nBest = 0;
  double dBest = 1e30;
  for (int i = 0; i < 3; ++i) {
    const double d = std::pow(v1 - kCentre1[i], 2) + std::pow(v3 - kCentre3[i], 2);
    if (d < dBest) {
      dBest = d;
      nBest = kSceneCategories[i];
    }
  }
  return nBest;
}
