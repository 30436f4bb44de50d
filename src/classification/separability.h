// How well the trained categories can be told apart, pair by pair, over the bands in use. Each
// category's training pixels are taken as a normal distribution (their mean and unbiased
// covariance); a pair gets the Jeffries-Matusita distance JM = 2 (1 - e^-B) of the Bhattacharyya
// distance B, 0..2, and the transformed divergence TD = 2000 (1 - e^(-D/8)) of the divergence D,
// 0..2000. Both need every covariance inverted, which too few pixels or a band without spread
// in them make impossible; such a pair has no values and says why.
#pragma once

#include <nlohmann/json_fwd.hpp>
#include <string>
#include <vector>

#include "classification/signature.h"

// A pair with a JM below this is not well apart; the table marks it.
inline constexpr double kdWellSeparatedJm = 1.9;

struct Separation {
  double dBhattacharyya = 0.0, dDivergence = 0.0;
  double dJm = 0.0, dTd = 0.0;
};

// The measures of two categories' statistics over the same bands (anBand, 0-based, names them
// in the reason). False with the reason, naming category nFirst or nSecond, when a covariance
// cannot be inverted.
bool SeparateCategories(int nFirst, const TrainingStatistics& first, int nSecond,
                        const TrainingStatistics& second, const std::vector<int>& anBand,
                        Separation& sep, std::string& strReason);

struct SeparabilityPair {
  int nFirst = 0, nSecond = 0;  // category numbers, nFirst < nSecond
  bool bComputed = false;
  Separation sep;
  std::string strReason;  // why there are no values
};

struct SeparabilityTable {
  std::vector<int> anBands;       // the bands in use, 0-based
  std::vector<int> anCategories;  // the valid categories, by number
  // Each pair of them once: (1, 2), (1, 3), ..., (2, 3), ...
  std::vector<SeparabilityPair> aPairs;
  const SeparabilityPair* Find(int nFirst, int nSecond) const;  // in either order
};

// Every pair of valid categories from their current training marks over the bands in use.
SeparabilityTable ComputeSeparability();

// Computed with a JM below kdWellSeparatedJm.
bool IsPoorlySeparated(const SeparabilityPair& pair);
// A pair's value as the table shows it: JM cut (not rounded) to three decimals, so a marked
// pair never reads 1.900, with the mark when it is poorly separated; TD cut to a whole number.
// "－" when the pair has no values.
std::string SeparabilityJmText(const SeparabilityPair& pair);
std::string SeparabilityTdText(const SeparabilityPair& pair);
// The table window's texts: a category's heading (its number and name), and the lines under
// the table (the bands, what a cell holds, what the mark means and why each pair without values
// has none; or that two valid categories are needed).
std::string SeparabilityHeading(int nCategory);
std::vector<std::string> SeparabilityNotes(const SeparabilityTable& table);

// "stats": "separability", one object per pair: a, b, jm, td (null with a reason when the pair
// has no values).
void AppendSeparabilityStats(nlohmann::ordered_json& obj);
