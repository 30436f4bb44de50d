// The classification model in one place: built from a signature (its method, its reject
// threshold and its categories' centres or statistics over the bands in use), it assigns
// pixels for the window's generation, for the whole scene and, through the squared distances
// it hands back, for the distance picture. Each caller only says where a pixel's bands lie.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "classification/max_likelihood.h"
#include "classification/nearest_centre.h"
#include "classification/signature.h"

// What keeps a signature from becoming a model: under maximum likelihood, a category whose
// covariance cannot be inverted.
struct ModelRefusal {
  enum class Reason {
    None,
    FewPixels,  // fewer training pixels than the bands in use plus one
    Singular,   // a band of one value, or a band that follows from the others
  };
  Reason eReason = Reason::None;
  int nCategory = 0;
  int nPixels = 0, nNeeded = 0;  // FewPixels: the pixels it has and those it needs
};

// The threshold of the signature's method as a squared distance: the reject distance squared
// (minimum distance) or the chi-square quantile of 1 - P with as many degrees of freedom as
// bands in use (maximum likelihood); infinity when there is none.
double RejectSquaredDistance(const Signature& sig);

class CClassModel {
 public:
  CClassModel();
  ~CClassModel();
  CClassModel(const CClassModel&) = delete;
  CClassModel& operator=(const CClassModel&) = delete;

  // The model of sig (at least one category) for pixels whose band b (0-based, of the scene
  // trained on) lies anBandByte[b] bytes from the pixel's first byte; only the bands in use
  // are read. False with the first category that stops it; the model is then not to be used.
  bool Build(const Signature& sig, const std::size_t anBandByte[kMaxBands],
             ModelRefusal& refusal);

  // The run's pixels; the squared distances are Euclidean under minimum distance, Mahalanobis
  // under maximum likelihood. A pixel of eight bytes or more may be read eight bytes at a time
  // from its first.
  void Assign(const PixelRun& run) const;

  int Method() const { return m_nMethod; }

 private:
  int m_nMethod = 0;
  std::unique_ptr<CNearestCentre> m_pNearest;
  std::unique_ptr<CMaxLikelihood> m_pLikelihood;
};
