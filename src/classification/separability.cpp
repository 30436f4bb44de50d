#include "classification/separability.h"

#include <algorithm>
#include <cmath>
#include <nlohmann/json.hpp>

#include "classification/category_settings.h"
#include "classification/messages.h"
#include "core/state.h"
#include "core/text_format.h"

namespace {

// A covariance n x n (row by row) and its Cholesky factor L, lower triangular, L L^T = C. The
// measures need only L: det C is the square of L's diagonal product, and v^T C^-1 v is the
// squared length of L^-1 v, so no inverse is ever formed.
class CFactor {
 public:
  // -1 when C is positive definite; else the first band (index) whose pivot is not positive, or
  // below a billionth of the band's variance (the band is then, up to rounding, a linear
  // function of the bands before it).
  int Factor(const std::vector<double>& adC, std::size_t n) {
    m_n = n;
    m_adL.assign(n * n, 0.0);
    for (std::size_t j = 0; j < n; ++j) {
      const double dVariance = adC[j * n + j];
      double d = dVariance;
      for (std::size_t k = 0; k < j; ++k) d -= L(j, k) * L(j, k);
      if (!(dVariance > 0.0) || !(d > 1e-9 * dVariance)) return static_cast<int>(j);
      const double dPivot = std::sqrt(d);
      m_adL[j * n + j] = dPivot;
      for (std::size_t i = j + 1; i < n; ++i) {
        double s = adC[i * n + j];
        for (std::size_t k = 0; k < j; ++k) s -= L(i, k) * L(j, k);
        m_adL[i * n + j] = s / dPivot;
      }
    }
    return -1;
  }

  double LogDeterminant() const {
    double d = 0.0;
    for (std::size_t i = 0; i < m_n; ++i) d += 2.0 * std::log(L(i, i));
    return d;
  }

  // |L^-1 v|^2, which is v^T C^-1 v.
  double InverseSquare(std::vector<double> v) const {
    double d = 0.0;
    for (std::size_t i = 0; i < m_n; ++i) {
      double s = v[i];
      for (std::size_t k = 0; k < i; ++k) s -= L(i, k) * v[k];
      v[i] = s / L(i, i);
      d += v[i] * v[i];
    }
    return d;
  }

  // tr(C^-1 M) for M = K K^T: the sum of |L^-1 k|^2 over K's columns k.
  double TraceOfQuotient(const CFactor& other) const {
    double d = 0.0;
    std::vector<double> v(m_n);
    for (std::size_t j = 0; j < m_n; ++j) {
      for (std::size_t i = 0; i < m_n; ++i) v[i] = other.L(i, j);
      d += InverseSquare(v);
    }
    return d;
  }

 private:
  double L(std::size_t i, std::size_t j) const { return m_adL[i * m_n + j]; }

  std::size_t m_n = 0;
  std::vector<double> m_adL;
};

// Factors a category's covariance; "" when it can be inverted, else why not.
std::string FactorCategory(int nCategory, const TrainingStatistics& st,
                           const std::vector<int>& anBand, CFactor& factor) {
  const std::size_t n = anBand.size();
  // Fewer than n + 1 pixels span fewer than n dimensions: the covariance is singular.
  if (st.nPixels < static_cast<int>(n) + 1) {
    return FormatText(kszSepTooFewPixels, nCategory, st.nPixels, static_cast<int>(n),
                      static_cast<int>(n) + 1);
  }
  const int k = factor.Factor(st.adCovariance, n);
  if (k < 0) return "";
  const std::size_t i = static_cast<std::size_t>(k);
  return FormatText(st.adCovariance[i * n + i] == 0.0 ? kszSepConstantBand : kszSepDependentBands,
                    nCategory, anBand[i] + 1);
}

std::vector<int> BandsInUse() {
  std::vector<int> an;
  for (int b = 0; b < std::clamp(BandCount(), 0, kMaxBands); ++b) {
    if (g_abUseBand[b] == 1) an.push_back(b);
  }
  return an;
}

}  // namespace

bool SeparateCategories(int nFirst, const TrainingStatistics& first, int nSecond,
                        const TrainingStatistics& second, const std::vector<int>& anBand,
                        Separation& sep, std::string& strReason) {
  const std::size_t n = anBand.size();
  if (n == 0) {
    strReason = kszSepNoBands;
    return false;
  }
  CFactor factor1, factor2;
  const std::string strWhy1 = FactorCategory(nFirst, first, anBand, factor1);
  const std::string strWhy2 = FactorCategory(nSecond, second, anBand, factor2);
  if (!strWhy1.empty() || !strWhy2.empty()) {
    strReason = strWhy1.empty() || strWhy2.empty() ? strWhy1 + strWhy2
                                                   : strWhy1 + kszSepReasonJoint + strWhy2;
    return false;
  }
  std::vector<double> adDiff(n), adMeanCovariance(n * n);
  for (std::size_t i = 0; i < n; ++i) adDiff[i] = first.adMean[i] - second.adMean[i];
  for (std::size_t i = 0; i < n * n; ++i) {
    adMeanCovariance[i] = (first.adCovariance[i] + second.adCovariance[i]) / 2.0;
  }
  // The mean of two positive definite matrices is positive definite.
  CFactor factor;
  factor.Factor(adMeanCovariance, n);

  // B = 1/8 d^T C^-1 d + 1/2 ln(det C / sqrt(det C1 det C2)), C = (C1 + C2) / 2.
  sep.dBhattacharyya = factor.InverseSquare(adDiff) / 8.0 +
                       0.5 * (factor.LogDeterminant() -
                              0.5 * (factor1.LogDeterminant() + factor2.LogDeterminant()));
  // D = 1/2 tr((C1 - C2)(C2^-1 - C1^-1)) + 1/2 d^T (C1^-1 + C2^-1) d, the first trace written
  // as tr(C2^-1 C1) + tr(C1^-1 C2) - 2n.
  sep.dDivergence = 0.5 * (factor2.TraceOfQuotient(factor1) + factor1.TraceOfQuotient(factor2) -
                           2.0 * static_cast<double>(n)) +
                    0.5 * (factor1.InverseSquare(adDiff) + factor2.InverseSquare(adDiff));
  sep.dJm = -2.0 * std::expm1(-sep.dBhattacharyya);
  sep.dTd = -2000.0 * std::expm1(-sep.dDivergence / 8.0);
  return true;
}

const SeparabilityPair* SeparabilityTable::Find(int nFirst, int nSecond) const {
  for (const SeparabilityPair& pair : aPairs) {
    if ((pair.nFirst == nFirst && pair.nSecond == nSecond) ||
        (pair.nFirst == nSecond && pair.nSecond == nFirst)) {
      return &pair;
    }
  }
  return nullptr;
}

SeparabilityTable ComputeSeparability() {
  SeparabilityTable table;
  for (int c = 1; c <= 8; ++c) {
    if (g_abCategoryValid[c]) table.anCategories.push_back(c);
  }
  table.anBands = BandsInUse();
  if (table.anCategories.size() < 2) return table;
  const std::vector<int>& anBand = table.anBands;
  TrainingStatistics aStats[8];
  ComputeTrainingStatistics(anBand, aStats);
  for (std::size_t i = 0; i < table.anCategories.size(); ++i) {
    for (std::size_t j = i + 1; j < table.anCategories.size(); ++j) {
      SeparabilityPair pair;
      pair.nFirst = table.anCategories[i];
      pair.nSecond = table.anCategories[j];
      pair.bComputed = SeparateCategories(pair.nFirst, aStats[pair.nFirst - 1], pair.nSecond,
                                          aStats[pair.nSecond - 1], anBand, pair.sep,
                                          pair.strReason);
      table.aPairs.push_back(std::move(pair));
    }
  }
  return table;
}

bool IsPoorlySeparated(const SeparabilityPair& pair) {
  return pair.bComputed && pair.sep.dJm < kdWellSeparatedJm;
}

std::string SeparabilityJmText(const SeparabilityPair& pair) {
  if (!pair.bComputed) return kszSepNoValue;
  return FormatText("%.3f%s", std::floor(pair.sep.dJm * 1000.0) / 1000.0,
                    IsPoorlySeparated(pair) ? kszSepPoorMark : "");
}

std::string SeparabilityTdText(const SeparabilityPair& pair) {
  if (!pair.bComputed) return kszSepNoValue;
  return FormatText("%.0f", std::floor(pair.sep.dTd));
}

std::string SeparabilityHeading(int nCategory) {
  return FormatText("%d %s", nCategory, g_astrCategoryName[std::clamp(nCategory, 1, 8)].c_str());
}

std::vector<std::string> SeparabilityNotes(const SeparabilityTable& table) {
  std::string strBands;
  for (int b : table.anBands) strBands += FormatText(strBands.empty() ? "%d" : ", %d", b + 1);
  std::vector<std::string> astr = {
      FormatText(kszSepBandsNote, strBands.empty() ? kszSepBandsNone : strBands.c_str())};
  if (table.anCategories.size() < 2) {
    astr.push_back(kszSepNeedTwo);
    return astr;
  }
  astr.push_back(kszSepCellNote);
  astr.push_back(kszSepPoorNote);
  for (const SeparabilityPair& pair : table.aPairs) {
    if (!pair.bComputed) {
      astr.push_back(FormatText(kszSepNoValueNote, pair.nFirst, pair.nSecond,
                                pair.strReason.c_str()));
    }
  }
  return astr;
}

void AppendSeparabilityStats(nlohmann::ordered_json& obj) {
  nlohmann::ordered_json aPairs = nlohmann::ordered_json::array();
  for (const SeparabilityPair& pair : ComputeSeparability().aPairs) {
    nlohmann::ordered_json j = {{"a", pair.nFirst}, {"b", pair.nSecond}};
    if (pair.bComputed) {
      j["jm"] = pair.sep.dJm;
      j["td"] = pair.sep.dTd;
    } else {
      j["jm"] = nullptr;
      j["td"] = nullptr;
      j["reason"] = pair.strReason;
    }
    aPairs.push_back(std::move(j));
  }
  obj["separability"] = std::move(aPairs);
}
