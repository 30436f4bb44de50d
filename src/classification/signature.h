// Signatures: the trained model apart from the image. A generation records exactly what it
// used (the categories that took part, their names, colours, ranges and centres, the bands in
// use, each band's scaling rule); the model goes to a JSON file and comes back from one, onto
// another window or another scene. docs/FILES.md describes the file.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/band_rule.h"
#include "core/state.h"

inline constexpr int kSignatureVersion = 1;

struct CategorySignature {
  int nCategory = 0;  // 1..8
  std::string strName;
  Colorref crColour = 0;
  bool bValid = false;
  int nTrainingPixels = 0;
  // Per band of the scene (band b at b-1): the category's range and its centre.
  int anLower[kMaxBands] = {}, anUpper[kMaxBands] = {}, anCentre[kMaxBands] = {};
  // Over the bands in use, in band order: the training pixels' mean and their covariance
  // (unbiased, n x n row by row; zeros below two pixels), and how many pixels they come from
  // (the marks a generation found; a file's are its training pixels).
  std::vector<double> adMean, adCovariance;
  int nStatisticsPixels = 0;
};

struct Signature {
  int nBands = 0;  // bands of the scene trained on, 1..8
  // How pixels are assigned: kMethodMinimumDistance or kMethodMaximumLikelihood, and the reject
  // threshold of that method (0 none; the distance 1..721, or the probability code 1..6).
  int nMethod = 0, nRejectDistance = 0, nRejectProbability = 0;
  bool abUseBand[kMaxBands] = {};
  BandRule aRule[kMaxBands];  // how each band became 0..255 in the scene trained on
  std::vector<CategorySignature> aCategories;  // those that took part, by number
  // The bands in use, 0-based, in order.
  std::vector<int> UsedBands() const;
};

// The mean and unbiased covariance of one category's marked training pixels over some bands.
struct TrainingStatistics {
  int nPixels = 0;
  // Per band asked for, in that order; the covariance n x n row by row (zeros below two pixels).
  std::vector<double> adMean, adCovariance;
};
// Every category's statistics from its current marks (category c at [c - 1]) over anBand
// (0-based, in order), summed as 64-bit integers in one pass over the window, so the
// covariance is exact up to its last division.
void ComputeTrainingStatistics(const std::vector<int>& anBand, TrainingStatistics aStats[8]);

// The model of the last generation; records it (centres [c][b] as the generation computed them).
void RecordGeneratedSignature(const int aanCentre[9][9]);
const Signature& GeneratedSignature();

// The model as the file's JSON text, and back; false with the reason for a text that is not a
// signature file of this version (nothing of sig is to be used then).
std::string SignatureJson(const Signature& sig);
bool ParseSignature(std::string_view strJson, Signature& sig, std::string& strReason);

// The files: written through a temporary file and renamed; read whole (at most 1 MB).
bool WriteSignatureFile(const std::string& strPath, const Signature& sig, std::string& strReason);
bool ReadSignatureFile(const std::string& strPath, Signature& sig, std::string& strReason);

// The model onto the window: the categories' names, colours, ranges, validity and training
// counts, the bands in use and the classification options; the classification then needs a
// generation. Band data and marks stay. False with the reason, nothing changed, when the scene
// lacks a band the model uses.
bool ApplySignature(const Signature& sig, std::string& strReason);

// The commands' work with their messages: save the last generation's model, read one.
bool SaveSignatures(const std::string& strPath);
bool LoadSignatures(const std::string& strPath);
