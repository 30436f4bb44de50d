// The maximum-likelihood rule on its own: each pixel goes to the category whose normal
// distribution (the training pixels' mean and covariance over the bands in use) gives it the
// highest log-likelihood, all categories equally likely beforehand. That is the smallest
// ln|S| + (x - m)' S^-1 (x - m), ties to the lowest number; a pixel whose squared Mahalanobis
// distance (x - m)' S^-1 (x - m) to that category exceeds the reject threshold stays
// unclassified. The scores are worked out in single precision, and again in double precision
// for every pixel whose decision single precision cannot be sure of, so the classes are those
// of double precision. Used through CClassModel, by the window and the whole scene alike.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "classification/nearest_centre.h"
#include "core/state.h"

// The Cholesky factor L (S = L L', lower triangle row by row in adLower, n x n) of a
// covariance matrix; false when S is not positive definite to working precision: a band
// whose variance not explained by the bands before it is at most a billionth of its own
// variance (a band of one value, or one that follows from the others) counts as singular.
bool CholeskyFactor(const double* adCovariance, int n, double* adLower);

class CMaxLikelihood {
 public:
  // nUsed bands (0..8), band i of a pixel at anByte[i] bytes from its first; pixels whose
  // squared Mahalanobis distance to their category exceeds dRejectSquared stay unclassified
  // (infinity: none).
  CMaxLikelihood(int nUsed, const std::size_t anByte[kMaxBands], double dRejectSquared);
  ~CMaxLikelihood();
  CMaxLikelihood(const CMaxLikelihood&) = delete;
  CMaxLikelihood& operator=(const CMaxLikelihood&) = delete;

  // Adds the category of class nClass (0..7, in ascending order) with its mean (nUsed values)
  // and covariance (nUsed x nUsed, row by row); false, nothing added, when the covariance
  // cannot be factored (CholeskyFactor).
  bool AddCategory(int nClass, const double* adMean, const double* adCovariance);

  // The run's pixels (at least one category added), with their squared Mahalanobis
  // distances. A pixel of eight bytes or more (nPixelStep) is read eight bytes at a time from
  // its first.
  void Assign(const PixelRun& run) const;

 private:
  struct Tables;
  std::unique_ptr<Tables> m_pTables;
};
