#include "classification/max_likelihood.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "classification/nearest_centre.h"

namespace {

// A pivot of the factorization at most this fraction of its band's variance is taken as zero.
constexpr double kMinResidual = 1e-9;
// A category as the loop needs it: the inverse W of its Cholesky factor (lower triangle), so
// that the squared Mahalanobis distance is |W (x - m)|^2 = |W x - W m|^2, W m, and ln|S|.
struct alignas(64) CategoryTables {
  double aadInverse[kMaxBands][kMaxBands] = {};
  double adInverseMean[kMaxBands] = {};
  double dLogDet = 0.0;
  double dClass = 0.0;  // the class 0..7, as the lanes carry it
};

struct LikelihoodArgs {
  const CategoryTables* aCategory;
  int nCategories;
  const std::size_t* anByte;
  bool bWholeWords;  // every band in use lies in a pixel's first eight bytes, all of them its own
  double dRejectSquared;
  PixelRun run;
};

// B bands in use and a block of B pixels side by side in the lanes of the compiler's vector
// type (every step of the quadratic form is done for the block at once), both known when
// compiled, so the triangle's loops unroll into straight vector code.
// Pixels are taken a chunk at a time, their bands in rows of bytes (as the whole scene's
// planes already hold them), so each band's lanes are one load.
constexpr int kChunk = 256;

template <int B>
struct VectorsOf;
template <>
struct VectorsOf<4> {
  using Lanes = double __attribute__((vector_size(32)));
  using LaneMask = std::int64_t __attribute__((vector_size(32)));
  using LaneInts = std::int32_t __attribute__((vector_size(16)));
  using LaneFloats = float __attribute__((vector_size(16)));
};
template <>
struct VectorsOf<8> {
  using Lanes = double __attribute__((vector_size(64)));
  using LaneMask = std::int64_t __attribute__((vector_size(64)));
  using LaneInts = std::int32_t __attribute__((vector_size(32)));
  using LaneFloats = float __attribute__((vector_size(32)));
};

// N bands in use and a block of B pixels side by side in the lanes of the compiler's vector
// type (every step of the quadratic form is done for the block at once), both known when
// compiled, so the triangle's loops unroll into straight vector code.
template <int N, int B>
[[gnu::always_inline]] inline void LikelihoodLoop(const LikelihoodArgs& a) {
  using V = VectorsOf<B>;
  using Lanes = typename V::Lanes;
  const PixelRun& r = a.run;
  constexpr int M = N > 0 ? N : 1;
  static_assert(kChunk % B == 0);
  std::size_t anByte[M] = {};
  for (int j = 0; j < N; ++j) anByte[j] = a.anByte[j];
  // A counter set per lane: the lanes of a block mostly share a class, and one counter would
  // make each increment wait for the one before.
  std::uint32_t aanCount[B][9] = {};
  const Lanes zero = {};
  const Lanes reject = zero + a.dRejectSquared;
  alignas(64) std::uint8_t aab[M][kChunk];
  alignas(64) std::uint64_t anWord[kChunk];
  alignas(64) double aadX[M][kChunk];
  for (int n0 = 0; n0 < r.nCount; n0 += kChunk) {
    const int nChunk = std::min(kChunk, r.nCount - n0);
    const int nPadded = (nChunk + B - 1) / B * B;
    const std::uint8_t* p = r.pPixels + static_cast<std::size_t>(n0) * r.nPixelStep;
    if (a.bWholeWords) {
      // Each pixel's first eight bytes in one read, its bands then shifted out of the word.
      for (int n = 0; n < nChunk; ++n, p += r.nPixelStep) std::memcpy(&anWord[n], p, 8);
      for (int n = nChunk; n < nPadded; ++n) anWord[n] = anWord[nChunk - 1];
      for (int j = 0; j < N; ++j) {
        const unsigned nShift = 8 * static_cast<unsigned>(anByte[j]);
        for (int n = 0; n < nPadded; ++n) {
          aadX[j][n] = static_cast<double>(static_cast<std::int32_t>((anWord[n] >> nShift) & 0xFF));
        }
      }
    } else {
      const std::uint8_t* apBand[M];
      if (r.nPixelStep == 1 && nChunk == kChunk) {
        for (int j = 0; j < N; ++j) apBand[j] = p + anByte[j];
      } else {
        for (int n = 0; n < nChunk; ++n, p += r.nPixelStep) {
          for (int j = 0; j < N; ++j) aab[j][n] = p[anByte[j]];
        }
        for (int j = 0; j < N; ++j) apBand[j] = aab[j];
      }
      for (int j = 0; j < N; ++j) {
        for (int n = 0; n < nPadded; ++n) aadX[j][n] = apBand[j][std::min(n, nChunk - 1)];
      }
    }
    for (int m0 = 0; m0 < nChunk; m0 += B) {
      Lanes x[M];
      for (int j = 0; j < N; ++j) std::memcpy(&x[j], &aadX[j][m0], sizeof(Lanes));
      Lanes best = zero + std::numeric_limits<double>::infinity();
      Lanes bestLogDet = zero, bestClass = zero + a.aCategory[0].dClass;
      for (int c = 0; c < a.nCategories; ++c) {
        const CategoryTables& t = a.aCategory[c];
        // g = ln|S| + |W x - W m|^2, every step a multiply-add.
        Lanes g = zero + t.dLogDet;
        for (int i = 0; i < N; ++i) {
          Lanes z = x[0] * t.aadInverse[i][0] - t.adInverseMean[i];
          for (int j = 1; j <= i; ++j) z += x[j] * t.aadInverse[i][j];
          g += z * z;
        }
        // Strictly smaller: on a tie the earlier, lower-numbered category stays.
        const typename V::LaneMask bBetter = g < best;
        best = bBetter ? g : best;
        bestLogDet = bBetter ? zero + t.dLogDet : bestLogDet;
        bestClass = bBetter ? zero + t.dClass : bestClass;
      }
      Lanes bestSquared = best - bestLogDet;
      const typename V::LaneMask bOut = bestSquared > reject;
      bestClass = bOut ? zero + kUnclassified : bestClass;
      bestSquared = bOut ? zero - 1.0 : bestSquared;
      const typename V::LaneInts anClass =
          __builtin_convertvector(bestClass, typename V::LaneInts);
      const int nIn = std::min(B, nChunk - m0);
      const std::size_t nFirst = static_cast<std::size_t>(n0 + m0);
      for (int m = 0; m < nIn; ++m) {
        r.pClass[(nFirst + static_cast<std::size_t>(m)) * r.nClassStep] =
            static_cast<std::uint8_t>(anClass[m]);
        ++aanCount[m][anClass[m]];
      }
      if (r.pfSquared) {
        const typename V::LaneFloats afSquared =
            __builtin_convertvector(bestSquared, typename V::LaneFloats);
        std::memcpy(r.pfSquared + nFirst, &afSquared, static_cast<std::size_t>(nIn) * sizeof(float));
      }
    }
  }
  for (int m = 0; m < B; ++m) {
    for (int k = 0; k < 9; ++k) r.anCount[k] += aanCount[m][k];
  }
}

template <int B>
[[gnu::always_inline]] inline void LikelihoodLoops(const LikelihoodArgs& a, int nUsed) {
  switch (nUsed) {
    case 0: return LikelihoodLoop<0, B>(a);
    case 1: return LikelihoodLoop<1, B>(a);
    case 2: return LikelihoodLoop<2, B>(a);
    case 3: return LikelihoodLoop<3, B>(a);
    case 4: return LikelihoodLoop<4, B>(a);
    case 5: return LikelihoodLoop<5, B>(a);
    case 6: return LikelihoodLoop<6, B>(a);
    case 7: return LikelihoodLoop<7, B>(a);
    default: return LikelihoodLoop<8, B>(a);
  }
}

// Built for AVX-512 (a block of eight pixels, one register), for AVX2 with FMA and for plain
// x86-64 (four, which leaves the registers for the triangle), chosen when the program starts.
__attribute__((target("default"))) void AssignLikelihood(const LikelihoodArgs& a, int nUsed) {
  LikelihoodLoops<4>(a, nUsed);
}
__attribute__((target("arch=x86-64-v3"))) void AssignLikelihood(const LikelihoodArgs& a,
                                                                 int nUsed) {
  LikelihoodLoops<4>(a, nUsed);
}
__attribute__((target("arch=x86-64-v4"))) void AssignLikelihood(const LikelihoodArgs& a,
                                                                 int nUsed) {
  LikelihoodLoops<8>(a, nUsed);
}

}  // namespace

bool CholeskyFactor(const double* adCovariance, int n, double* adLower) {
  std::fill(adLower, adLower + n * n, 0.0);
  for (int j = 0; j < n; ++j) {
    const double dVariance = adCovariance[j * n + j];
    double dPivot = dVariance;
    for (int k = 0; k < j; ++k) dPivot -= adLower[j * n + k] * adLower[j * n + k];
    // Also false for a variance that is not a number.
    if (!(dVariance > 0.0) || !(dPivot > kMinResidual * dVariance)) return false;
    const double dDiagonal = std::sqrt(dPivot);
    adLower[j * n + j] = dDiagonal;
    for (int i = j + 1; i < n; ++i) {
      double d = adCovariance[i * n + j];
      for (int k = 0; k < j; ++k) d -= adLower[i * n + k] * adLower[j * n + k];
      adLower[i * n + j] = d / dDiagonal;
    }
  }
  return true;
}

struct CMaxLikelihood::Tables {
  std::vector<CategoryTables> aCategory;
  std::size_t anByte[kMaxBands] = {};
  int nUsed = 0;
  double dRejectSquared = 0.0;
};

CMaxLikelihood::CMaxLikelihood(int nUsed, const std::size_t anByte[kMaxBands],
                               double dRejectSquared)
    : m_pTables(std::make_unique<Tables>()) {
  Tables& t = *m_pTables;
  t.nUsed = std::clamp(nUsed, 0, kMaxBands);
  std::copy(anByte, anByte + t.nUsed, t.anByte);
  t.dRejectSquared = dRejectSquared;
}

CMaxLikelihood::~CMaxLikelihood() = default;

bool CMaxLikelihood::AddCategory(int nClass, const double* adMean, const double* adCovariance) {
  const int n = m_pTables->nUsed;
  double adLower[kMaxBands * kMaxBands];
  if (!CholeskyFactor(adCovariance, n, adLower)) return false;
  CategoryTables cat;
  cat.dClass = nClass;
  for (int i = 0; i < n; ++i) {
    // W = L^-1 by forward substitution, row by row.
    const double dDiagonal = adLower[i * n + i];
    cat.aadInverse[i][i] = 1.0 / dDiagonal;
    for (int j = 0; j < i; ++j) {
      double d = 0.0;
      for (int k = j; k < i; ++k) d += adLower[i * n + k] * cat.aadInverse[k][j];
      cat.aadInverse[i][j] = -d / dDiagonal;
    }
    cat.dLogDet += 2.0 * std::log(dDiagonal);
  }
  for (int i = 0; i < n; ++i) {
    for (int j = 0; j <= i; ++j) cat.adInverseMean[i] += cat.aadInverse[i][j] * adMean[j];
  }
  m_pTables->aCategory.push_back(cat);
  return true;
}

void CMaxLikelihood::Assign(const PixelRun& run) const {
  const Tables& t = *m_pTables;
  if (t.aCategory.empty() || run.nCount <= 0) return;
  // A pixel of eight bytes or more whose bands in use all lie among its first eight is read as
  // one word (the window's records).
  const bool bWholeWords = run.nPixelStep >= 8 && std::all_of(t.anByte, t.anByte + t.nUsed,
                                                              [](std::size_t n) { return n < 8; });
  AssignLikelihood({t.aCategory.data(), static_cast<int>(t.aCategory.size()), t.anByte,
                    bWholeWords, t.dRejectSquared, run},
                   t.nUsed);
}
