// The accuracy of a classification on test pixels: the confusion matrix of classified against
// reference categories and the figures a report quotes from it (overall, producer's and user's
// accuracy, Cohen's kappa with its approximate standard error).
#pragma once

#include <cstdint>
#include <string>

#include <nlohmann/json_fwd.hpp>

// Rows: the classified category 1..8, and kUnclassifiedRow for pixels a reject threshold left
// unclassified; columns: the reference category 1..8. Index 0 is not used.
inline constexpr int kUnclassifiedRow = 9;

struct Accuracy {
  std::uint64_t aanMatrix[10][9] = {};
  std::uint64_t anRowTotal[10] = {}, anColumnTotal[9] = {};
  std::uint64_t nTotal = 0;
  double dOverall = 0.0;
  // Per category: the share of its test pixels classified as it (producer's) and of the pixels
  // classified as it that are its test pixels (user's); NaN where the total is 0.
  double adProducers[9] = {}, adUsers[9] = {};
  double dKappa = 0.0, dKappaSe = 0.0;

  // Counts one test pixel: classified as nClass (1..8, or kUnclassifiedRow), reference nReference.
  void Add(int nClass, int nReference, std::uint64_t nCount = 1);
  // The totals and figures from the matrix; false (figures NaN) without any test pixel.
  bool Finish();
};

// The window's classification against its test pixels; false when there are none.
bool WindowAccuracy(Accuracy& acc);

// The figures as the command line prints them: matrix, overall, producers, users, kappa,
// kappa_se, test_pixels (null for a figure that has no pixels to stand on).
nlohmann::ordered_json AccuracyJson(const Accuracy& acc);
// The same as CSV (UTF-8, comma-separated, one table after the other), category names from
// astrName[1..8].
std::string AccuracyCsv(const Accuracy& acc, const std::string astrName[9]);
