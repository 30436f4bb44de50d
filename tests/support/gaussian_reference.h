// The Gaussian log-likelihood in plain double precision, independently of the program's
// Cholesky factor: the inverse and the determinant by Gauss-Jordan elimination with partial
// pivoting, the quadratic form as a double loop.
#pragma once

#include <cmath>
#include <utility>
#include <vector>

struct GaussianReference {
  int n = 0;
  std::vector<double> adMean, adInverse;
  double dLogDet = 0.0;

  GaussianReference(std::vector<double> adMeanIn, std::vector<double> a)
      : n(static_cast<int>(adMeanIn.size())), adMean(std::move(adMeanIn)), adInverse(a.size()) {
    for (int i = 0; i < n; ++i) adInverse[i * n + i] = 1.0;
    for (int c = 0; c < n; ++c) {
      int p = c;
      for (int r = c + 1; r < n; ++r) {
        if (std::abs(a[r * n + c]) > std::abs(a[p * n + c])) p = r;
      }
      for (int k = 0; k < n; ++k) {
        std::swap(a[c * n + k], a[p * n + k]);
        std::swap(adInverse[c * n + k], adInverse[p * n + k]);
      }
      const double dPivot = a[c * n + c];
      dLogDet += std::log(std::abs(dPivot));
      for (int k = 0; k < n; ++k) {
        a[c * n + k] /= dPivot;
        adInverse[c * n + k] /= dPivot;
      }
      for (int r = 0; r < n; ++r) {
        const double f = r == c ? 0.0 : a[r * n + c];
        for (int k = 0; k < n; ++k) {
          a[r * n + k] -= f * a[c * n + k];
          adInverse[r * n + k] -= f * adInverse[c * n + k];
        }
      }
    }
  }
  // (x - m)' S^-1 (x - m) and ln|S| + (x - m)' S^-1 (x - m).
  double Squared(const double* x) const {
    double d = 0.0;
    for (int i = 0; i < n; ++i) {
      for (int j = 0; j < n; ++j) d += (x[i] - adMean[i]) * adInverse[i * n + j] * (x[j] - adMean[j]);
    }
    return d;
  }
  double Score(const double* x) const { return dLogDet + Squared(x); }
};

// The index of the lowest score (the first on a tie) and the gap to the next lowest.
inline std::pair<int, double> BestScore(const std::vector<GaussianReference>& aRef,
                                        const double* x) {
  int nBest = 0;
  double dBest = aRef[0].Score(x), dNext = INFINITY;
  for (int k = 1; k < static_cast<int>(aRef.size()); ++k) {
    const double d = aRef[k].Score(x);
    if (d < dBest) {
      dNext = dBest;
      dBest = d;
      nBest = k;
    } else {
      dNext = std::min(dNext, d);
    }
  }
  return {nBest, dNext - dBest};
}
