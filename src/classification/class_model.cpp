#include "classification/class_model.h"

#include <limits>

#include "classification/category_settings.h"
#include "classification/chi_square.h"

double RejectSquaredDistance(const Signature& sig) {
  if (sig.nMethod == kMethodMaximumLikelihood) {
    const int nUsed = static_cast<int>(sig.UsedBands().size());
    if (sig.nRejectProbability >= 1 && sig.nRejectProbability <= 6 && nUsed > 0) {
      return ChiSquareQuantile(nUsed, 1.0 - kadRejectPercent[sig.nRejectProbability] / 100.0);
    }
  } else if (sig.nRejectDistance > 0) {
    return static_cast<double>(sig.nRejectDistance) * sig.nRejectDistance;
  }
  return std::numeric_limits<double>::infinity();
}

CClassModel::CClassModel() = default;
CClassModel::~CClassModel() = default;

bool CClassModel::Build(const Signature& sig, const std::size_t anBandByte[kMaxBands],
                        ModelRefusal& refusal) {
  refusal = ModelRefusal{};
  m_nMethod = sig.nMethod;
  m_pNearest.reset();
  m_pLikelihood.reset();
  if (sig.nMethod != kMethodMaximumLikelihood) {
    int aanCentre[9][9] = {};
    bool abTakesPart[9] = {};
    for (const CategorySignature& cat : sig.aCategories) {
      abTakesPart[cat.nCategory] = true;
      for (int b = 1; b <= sig.nBands; ++b) aanCentre[cat.nCategory][b] = cat.anCentre[b - 1];
    }
    m_pNearest = std::make_unique<CNearestCentre>(aanCentre, abTakesPart, sig.abUseBand,
                                                  sig.nBands, anBandByte, sig.nRejectDistance);
    return true;
  }
  const std::vector<int> anUsed = sig.UsedBands();
  const int nUsed = static_cast<int>(anUsed.size());
  std::size_t anByte[kMaxBands] = {};
  for (int i = 0; i < nUsed; ++i) anByte[i] = anBandByte[anUsed[static_cast<std::size_t>(i)]];
  auto pLikelihood = std::make_unique<CMaxLikelihood>(nUsed, anByte, RejectSquaredDistance(sig));
  for (const CategorySignature& cat : sig.aCategories) {
    refusal.nCategory = cat.nCategory;
    if (cat.nStatisticsPixels < nUsed + 1) {
      refusal.eReason = ModelRefusal::Reason::FewPixels;
      refusal.nPixels = cat.nStatisticsPixels;
      refusal.nNeeded = nUsed + 1;
      return false;
    }
    const std::size_t nSize = static_cast<std::size_t>(nUsed);
    if (cat.adMean.size() != nSize || cat.adCovariance.size() != nSize * nSize ||
        !pLikelihood->AddCategory(cat.nCategory - 1, cat.adMean.data(), cat.adCovariance.data())) {
      refusal.eReason = ModelRefusal::Reason::Singular;
      return false;
    }
  }
  refusal = ModelRefusal{};
  m_pLikelihood = std::move(pLikelihood);
  return true;
}

void CClassModel::Assign(const PixelRun& run) const {
  if (m_pLikelihood) {
    m_pLikelihood->Assign(run);
  } else if (m_pNearest) {
    m_pNearest->Assign(run);
  }
}
