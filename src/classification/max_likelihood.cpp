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

// A category as the loops need it, in double and in single precision: the inverse W of its
// Cholesky factor (lower triangle), so that the squared Mahalanobis distance is
// |W (x - m)|^2 = |W x - W m|^2, W m, ln|S| and its class 0..7 as the lanes carry it.
template <typename T>
struct alignas(64) ScoreTables {
  T aInverse[kMaxBands][kMaxBands] = {};
  T aInverseMean[kMaxBands] = {};
  T logDet = 0;
  T cls = 0;
};

struct LikelihoodArgs {
  const ScoreTables<double>* aDouble;
  const ScoreTables<float>* aSingle;
  int nCategories;
  const std::size_t* anByte;
  bool bWholeWords;  // every band in use lies in a pixel's first eight bytes, all of them its own
  double dRejectSquared;
  // How close to a tie or to the threshold a lane's single-precision score may come before
  // it is worked out again in double precision (see SingleScoreError and Assign).
  float fTieMargin, fRejectMargin;
  PixelRun run;
};

// Pixels are taken a chunk at a time, their bands in rows (as the whole scene's planes already
// hold them), so each band's lanes are one load.
constexpr int kChunk = 256;

// The compiler's vector types: B lanes of T, and lanes of the same width for masks and of 32
// bits for the classes.
template <typename T, int B>
struct Vectors;
#define GEOLUMEN_VECTORS(T, B, I)                                               \
  template <>                                                                   \
  struct Vectors<T, B> {                                                        \
    using Lanes = T __attribute__((vector_size(B * sizeof(T))));                \
    using Mask = I __attribute__((vector_size(B * sizeof(T))));                 \
    using Ints = std::int32_t __attribute__((vector_size(B * 4)));              \
  };
GEOLUMEN_VECTORS(float, 16, std::int32_t)
GEOLUMEN_VECTORS(float, 8, std::int32_t)
GEOLUMEN_VECTORS(float, 4, std::int32_t)
GEOLUMEN_VECTORS(double, 8, std::int64_t)
GEOLUMEN_VECTORS(double, 4, std::int64_t)
GEOLUMEN_VECTORS(double, 2, std::int64_t)
#undef GEOLUMEN_VECTORS

// The best score of a block of B pixels (band j's lanes in x[j]) over the categories, with its
// ln|S| and class and the score of the runner-up. N bands in use and B are known when
// compiled, so the triangle's loops unroll into straight vector code, every step a
// multiply-add over the lanes: z_i = sum_j W_ij x_j - (W m)_i, score = ln|S| + sum_i z_i^2.
// Strictly smaller replaces: on a tie the earlier, lower-numbered category stays.
template <typename Lanes>
struct BlockScore {
  Lanes best, second, bestLogDet, bestClass;
};

template <int N, typename T, int B>
[[gnu::always_inline]] inline BlockScore<typename Vectors<T, B>::Lanes> ScoreBlock(
    const typename Vectors<T, B>::Lanes* x, const ScoreTables<T>* aTable, int nCategories) {
  using Lanes = typename Vectors<T, B>::Lanes;
  const Lanes zero = {};
  BlockScore<Lanes> s;
  s.best = s.second = zero + std::numeric_limits<T>::infinity();
  s.bestLogDet = zero;
  s.bestClass = zero + aTable[0].cls;
  for (int c = 0; c < nCategories; ++c) {
    const ScoreTables<T>& t = aTable[c];
    Lanes g = zero + t.logDet;
    for (int i = 0; i < N; ++i) {
      Lanes z = x[0] * t.aInverse[i][0] - t.aInverseMean[i];
      for (int j = 1; j <= i; ++j) z += x[j] * t.aInverse[i][j];
      g += z * z;
    }
    const typename Vectors<T, B>::Mask bBetter = g < s.best;
    s.second = bBetter ? s.best : (g < s.second ? g : s.second);
    s.best = bBetter ? g : s.best;
    s.bestLogDet = bBetter ? zero + t.logDet : s.bestLogDet;
    s.bestClass = bBetter ? zero + t.cls : s.bestClass;
  }
  return s;
}

// The pixels of a chunk: B lanes of single precision at a time, then the lanes in doubt again
// in double precision, B / 2 at a time.
template <int N, int B>
[[gnu::always_inline]] inline void LikelihoodLoop(const LikelihoodArgs& a) {
  using F = Vectors<float, B>;
  using D = Vectors<double, B / 2>;
  const PixelRun& r = a.run;
  constexpr int M = N > 0 ? N : 1;
  static_assert(kChunk % B == 0);
  std::size_t anByte[M] = {};
  for (int j = 0; j < N; ++j) anByte[j] = a.anByte[j];
  // A counter set per lane: the lanes of a block mostly share a class, and one counter would
  // make each increment wait for the one before.
  std::uint32_t aanCount[B][9] = {};
  const float fReject = static_cast<float>(a.dRejectSquared);
  alignas(64) std::uint8_t aab[M][kChunk];
  alignas(64) std::uint64_t anWord[kChunk];
  alignas(64) float aafX[M][kChunk];
  alignas(64) double aadX[M][kChunk];
  int anDoubt[kChunk];
  for (int n0 = 0; n0 < r.nCount; n0 += kChunk) {
    const int nChunk = std::min(kChunk, r.nCount - n0);
    const int nPadded = (nChunk + B - 1) / B * B;
    const std::uint8_t* p = r.pPixels + static_cast<std::size_t>(n0) * r.nPixelStep;
    // The next chunk's lines are asked for now, so they arrive while this one is scored.
    if (n0 + kChunk < r.nCount) {
      const int nNext = std::min(kChunk, r.nCount - n0 - kChunk);
      if (r.nPixelStep >= 8) {
        const std::uint8_t* pNext = p + static_cast<std::size_t>(kChunk) * r.nPixelStep;
        const std::size_t nBytes = static_cast<std::size_t>(nNext) * r.nPixelStep;
        for (std::size_t k = 0; k < nBytes; k += 64) __builtin_prefetch(pNext + k);
      } else {
        for (int j = 0; j < N; ++j) {
          for (int k = 0; k < nNext; k += 64) __builtin_prefetch(p + kChunk + anByte[j] + k);
        }
      }
    }
    if (a.bWholeWords) {
      // Each pixel's first eight bytes in one read, its bands then shifted out of the word.
      for (int n = 0; n < nChunk; ++n, p += r.nPixelStep) std::memcpy(&anWord[n], p, 8);
      for (int n = nChunk; n < nPadded; ++n) anWord[n] = anWord[nChunk - 1];
      for (int j = 0; j < N; ++j) {
        const unsigned nShift = 8 * static_cast<unsigned>(anByte[j]);
        for (int n = 0; n < nPadded; ++n) {
          aafX[j][n] = static_cast<float>(static_cast<std::int32_t>((anWord[n] >> nShift) & 0xFF));
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
      // A last, partial block repeats the chunk's last pixel in the lanes left over.
      for (int j = 0; j < N; ++j) {
        for (int n = 0; n < nPadded; ++n) aafX[j][n] = apBand[j][std::min(n, nChunk - 1)];
      }
    }

    int nDoubt = 0;
    for (int m0 = 0; m0 < nChunk; m0 += B) {
      typename F::Lanes x[M];
      for (int j = 0; j < N; ++j) std::memcpy(&x[j], &aafX[j][m0], sizeof x[j]);
      const auto score = ScoreBlock<N, float, B>(x, a.aSingle, a.nCategories);
      const typename F::Lanes squared = score.best - score.bestLogDet;
      const typename F::Lanes zero = {};
      const typename F::Mask bOut = squared > fReject;
      const typename F::Lanes away = squared - fReject;
      const typename F::Mask bDoubt = (score.second - score.best <= a.fTieMargin) |
                                      ((away < 0 ? -away : away) <= a.fRejectMargin);
      const typename F::Ints anClass =
          __builtin_convertvector(bOut ? zero + kUnclassified : score.bestClass, typename F::Ints);
      const int nIn = std::min(B, nChunk - m0);
      const std::size_t nFirst = static_cast<std::size_t>(n0 + m0);
      // Lanes in doubt are written again below.
      if (r.pfSquared) {
        const typename F::Lanes shown = bOut ? zero - 1.0f : squared;
        std::memcpy(r.pfSquared + nFirst, &shown, static_cast<std::size_t>(nIn) * sizeof(float));
      }
      // Through memory: GCC's -O2 with the sanitizers takes the mask's lanes, read one by one,
      // for uninitialised.
      std::int32_t anDoubtMask[B];
      static_assert(sizeof anDoubtMask == sizeof bDoubt);
      std::memcpy(anDoubtMask, &bDoubt, sizeof anDoubtMask);
      unsigned nDoubtLanes = 0;
      for (int m = 0; m < B; ++m) nDoubtLanes |= (anDoubtMask[m] != 0 ? 1u : 0u) << m;
      for (int m = 0; m < nIn; ++m) {
        r.pClass[(nFirst + static_cast<std::size_t>(m)) * r.nClassStep] =
            static_cast<std::uint8_t>(anClass[m]);
        aanCount[m][anClass[m]] += (nDoubtLanes >> m & 1u) ^ 1u;
      }
      for (; nDoubtLanes != 0; nDoubtLanes &= nDoubtLanes - 1) {
        const int m = __builtin_ctz(nDoubtLanes);
        if (m < nIn) anDoubt[nDoubt++] = m0 + m;
      }
    }
    if (nDoubt == 0) continue;

    // The lanes in doubt, packed, in double precision.
    const int nDoubtPadded = (nDoubt + B / 2 - 1) / (B / 2) * (B / 2);
    for (int j = 0; j < N; ++j) {
      for (int k = 0; k < nDoubtPadded; ++k) aadX[j][k] = aafX[j][anDoubt[std::min(k, nDoubt - 1)]];
    }
    for (int k0 = 0; k0 < nDoubt; k0 += B / 2) {
      typename D::Lanes x[M];
      for (int j = 0; j < N; ++j) std::memcpy(&x[j], &aadX[j][k0], sizeof x[j]);
      const auto score = ScoreBlock<N, double, B / 2>(x, a.aDouble, a.nCategories);
      const typename D::Lanes squared = score.best - score.bestLogDet;
      for (int m = 0; m < std::min(B / 2, nDoubt - k0); ++m) {
        const std::size_t i = static_cast<std::size_t>(n0 + anDoubt[k0 + m]);
        const bool bOut = squared[m] > a.dRejectSquared;
        const int k = bOut ? kUnclassified : static_cast<int>(score.bestClass[m]);
        r.pClass[i * r.nClassStep] = static_cast<std::uint8_t>(k);
        ++aanCount[m][k];
        if (r.pfSquared) r.pfSquared[i] = bOut ? -1.0f : static_cast<float>(squared[m]);
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

// Built for AVX-512 (sixteen pixels in one register), for AVX2 with FMA (eight) and for plain
// x86-64 (four), chosen when the program starts. Clang counts such versions as unused.
#if defined(__clang__)
#pragma clang diagnostic push
#pragma clang diagnostic ignored "-Wunused-function"
#endif
__attribute__((target("default"))) void AssignLikelihood(const LikelihoodArgs& a, int nUsed) {
  LikelihoodLoops<4>(a, nUsed);
}
__attribute__((target("avx2,fma"))) void AssignLikelihood(const LikelihoodArgs& a, int nUsed) {
  LikelihoodLoops<8>(a, nUsed);
}
__attribute__((target("avx512f,avx512bw,avx512dq,avx512vl"))) void AssignLikelihood(
    const LikelihoodArgs& a, int nUsed) {
  LikelihoodLoops<16>(a, nUsed);
}
#if defined(__clang__)
#pragma clang diagnostic pop
#endif

// How far a single-precision score of the category may lie from the exact one for any pixel
// (every band 0..255): row i's sum of n + 1 terms is off by at most (i + 3) u T_i, where T_i
// bounds the sum of the terms' sizes (i + 1 rounded multiply-adds, and W and W m themselves
// rounded), so z_i^2 by at most 2 T_i E_i + E_i^2; adding up the squares onto ln|S| rounds
// n + 1 times, each within u of the sum's largest size.
double SingleScoreError(const ScoreTables<double>& t, int n) {
  const double u = std::ldexp(1.0, -24);
  double dError = 0.0, dLargest = std::abs(t.logDet);
  for (int i = 0; i < n; ++i) {
    double dTerms = std::abs(t.aInverseMean[i]);
    for (int j = 0; j <= i; ++j) dTerms += std::abs(t.aInverse[i][j]) * 255.0;
    const double dRow = (i + 3) * u * dTerms;
    dError += 2.0 * dTerms * dRow + dRow * dRow;
    dLargest += dTerms * dTerms;
  }
  return dError + (n + 1) * u * dLargest;
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
  std::vector<ScoreTables<double>> aDouble;
  std::vector<ScoreTables<float>> aSingle;
  std::size_t anByte[kMaxBands] = {};
  int nUsed = 0;
  double dRejectSquared = 0.0;
  double dLargestError = 0.0, dLargestLogDet = 0.0;
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
  ScoreTables<double> cat;
  cat.cls = nClass;
  for (int i = 0; i < n; ++i) {
    // W = L^-1 by forward substitution, row by row.
    const double dDiagonal = adLower[i * n + i];
    cat.aInverse[i][i] = 1.0 / dDiagonal;
    for (int j = 0; j < i; ++j) {
      double d = 0.0;
      for (int k = j; k < i; ++k) d += adLower[i * n + k] * cat.aInverse[k][j];
      cat.aInverse[i][j] = -d / dDiagonal;
    }
    cat.logDet += 2.0 * std::log(dDiagonal);
  }
  for (int i = 0; i < n; ++i) {
    for (int j = 0; j <= i; ++j) cat.aInverseMean[i] += cat.aInverse[i][j] * adMean[j];
  }
  ScoreTables<float> single;
  for (int i = 0; i < kMaxBands; ++i) {
    for (int j = 0; j < kMaxBands; ++j) single.aInverse[i][j] = static_cast<float>(cat.aInverse[i][j]);
    single.aInverseMean[i] = static_cast<float>(cat.aInverseMean[i]);
  }
  single.logDet = static_cast<float>(cat.logDet);
  single.cls = static_cast<float>(nClass);
  Tables& t = *m_pTables;
  t.aDouble.push_back(cat);
  t.aSingle.push_back(single);
  t.dLargestError = std::max(t.dLargestError, SingleScoreError(cat, n));
  t.dLargestLogDet = std::max(t.dLargestLogDet, std::abs(cat.logDet));
  return true;
}

void CMaxLikelihood::Assign(const PixelRun& run) const {
  const Tables& t = *m_pTables;
  if (t.aDouble.empty() || run.nCount <= 0) return;
  // A pixel of eight bytes or more whose bands in use all lie among its first eight is read as
  // one word (the window's records).
  const bool bWholeWords = run.nPixelStep >= 8 && std::all_of(t.anByte, t.anByte + t.nUsed,
                                                              [](std::size_t n) { return n < 8; });
  // Single precision decides where it cannot be wrong: the best and the runner-up further
  // apart than both their errors, the squared distance (the difference of two scores) further
  // from the threshold than theirs and the threshold's own rounding; twice that, so the double
  // loop's far smaller errors cannot tip the balance either. Margins that single precision
  // cannot hold (a nearly singular covariance) send every pixel to double precision.
  const double u = std::ldexp(1.0, -24);
  const double dTie = 2.0 * (2.0 * t.dLargestError);
  const double dReject = std::isinf(t.dRejectSquared)
                             ? 0.0
                             : 2.0 * (2.0 * t.dLargestError +
                                      4.0 * u * (t.dRejectSquared + t.dLargestLogDet));
  const auto Margin = [](double d) {
    return d < 1e30 ? static_cast<float>(d) : std::numeric_limits<float>::infinity();
  };
  AssignLikelihood({t.aDouble.data(), t.aSingle.data(), static_cast<int>(t.aDouble.size()),
                    t.anByte, bWholeWords, t.dRejectSquared, Margin(dTie), Margin(dReject), run},
                   t.nUsed);
}