#include "classification/nearest_centre.h"

#include <array>
#include <cstring>
#include <limits>

namespace {

// Eight 32-bit lanes, one per category, as the compiler's vector type (plain SSE2 pairs where
// nothing wider is enabled).
using Lanes = std::int32_t __attribute__((vector_size(32)));

// A category's distance is kept as distance * 8 + its index, so the smallest lane is both the
// nearest category and, on a tie, the lowest-numbered one. Categories not taking part start far
// beyond any distance (8 bands x 255 squared x 8 is below 2^23).
constexpr std::int32_t kFar = 1 << 28;

struct alignas(32) BandLanes {
  Lanes an[256];  // entry v: (v - centre of category k)^2 * 8 in lane k
};

struct AssignArgs {
  const BandLanes* pTable;
  const std::size_t* anByte;
  int nUsed;
  const std::int32_t* anBase;
  std::int32_t nLimit;  // a smallest lane above this is beyond the reject distance
  PixelRun run;
};

// The lanes' minimum is taken by halving, so every lane ends holding it.
template <bool bSquared>
[[gnu::always_inline]] inline void AssignLoop(const AssignArgs& a) {
  Lanes base;
  std::memcpy(&base, a.anBase, sizeof base);
  std::size_t anOffset[kMaxBands];
  for (int i = 0; i < a.nUsed; ++i) anOffset[i] = a.anByte[i];
  // Four sets of counters: neighbouring pixels mostly share a class, and one counter would make
  // each increment wait for the one before.
  std::uint32_t aanCount[4][9] = {};
  const PixelRun& r = a.run;
  for (int n = 0; n < r.nCount; ++n) {
    const std::uint8_t* pPixel = r.pPixels + static_cast<std::size_t>(n) * r.nPixelStep;
    Lanes d = base;
    for (int i = 0; i < a.nUsed; ++i) d += a.pTable[i].an[pPixel[anOffset[i]]];
    Lanes e = __builtin_shufflevector(d, d, 4, 5, 6, 7, 0, 1, 2, 3);
    d = d < e ? d : e;
    e = __builtin_shufflevector(d, d, 2, 3, 0, 1, 6, 7, 4, 5);
    d = d < e ? d : e;
    e = __builtin_shufflevector(d, d, 1, 0, 3, 2, 5, 4, 7, 6);
    d = d < e ? d : e;
    // Without a branch: near a threshold, classified and unclassified pixels alternate.
    const int nOut = d[0] > a.nLimit;
    const int k = ((d[0] & 7) & (nOut - 1)) | (nOut * kUnclassified);
    r.pClass[static_cast<std::size_t>(n) * r.nClassStep] = static_cast<std::uint8_t>(k);
    ++aanCount[n & 3][k];
    if constexpr (bSquared) r.pfSquared[n] = static_cast<float>(((d[0] >> 3) & (nOut - 1)) - nOut);
  }
  for (int k = 0; k < 9; ++k) {
    r.anCount[k] += aanCount[0][k] + aanCount[1][k] + aanCount[2][k] + aanCount[3][k];
  }
}

// The nearest category of every pixel, counted. Built twice, for processors with and without
// AVX2, and chosen when the program starts.
__attribute__((target_clones("avx2", "default"))) void AssignPixels(const AssignArgs& a) {
  if (a.run.pfSquared) {
    AssignLoop<true>(a);
  } else {
    AssignLoop<false>(a);
  }
}

// Band b at b x nStep bytes from band 1.
std::array<std::size_t, kMaxBands> EvenBandBytes(std::size_t nStep) {
  std::array<std::size_t, kMaxBands> an{};
  for (std::size_t b = 0; b < an.size(); ++b) an[b] = b * nStep;
  return an;
}

}  // namespace

struct CNearestCentre::Tables {
  BandLanes aTable[kMaxBands];
  std::size_t anByte[kMaxBands] = {};
  int nUsed = 0;
  std::int32_t anBase[8] = {};
  std::int32_t nLimit = std::numeric_limits<std::int32_t>::max();
};

CNearestCentre::CNearestCentre(const int aanCentre[9][9], const bool abTakesPart[9],
                               const bool abUseBand[kMaxBands], int nBands,
                               std::size_t nBandStep, int nRejectDistance)
    : CNearestCentre(aanCentre, abTakesPart, abUseBand, nBands, EvenBandBytes(nBandStep).data(),
                     nRejectDistance) {}

CNearestCentre::CNearestCentre(const int aanCentre[9][9], const bool abTakesPart[9],
                               const bool abUseBand[kMaxBands], int nBands,
                               const std::size_t anBandByte[kMaxBands], int nRejectDistance)
    : m_pTables(std::make_unique<Tables>()) {
  Tables& t = *m_pTables;
  for (int b = 1; b <= nBands && b <= kMaxBands; ++b) {
    if (!abUseBand[b - 1]) continue;
    for (int v = 0; v < 256; ++v) {
      for (int k = 0; k < 8; ++k) {
        const std::int32_t nDiff = v - aanCentre[k + 1][b];
        t.aTable[t.nUsed].an[v][k] = nDiff * nDiff * 8;
      }
    }
    t.anByte[t.nUsed++] = anBandByte[b - 1];
  }
  for (int k = 0; k < 8; ++k) t.anBase[k] = k + (abTakesPart[k + 1] ? 0 : kFar);
  // A squared distance above D^2 is a lane of at least (D^2 + 1) x 8: integers compared exactly.
  if (nRejectDistance > 0) t.nLimit = nRejectDistance * nRejectDistance * 8 + 7;
}

CNearestCentre::~CNearestCentre() = default;

void CNearestCentre::Assign(const PixelRun& run) const {
  const Tables& t = *m_pTables;
  AssignPixels({t.aTable, t.anByte, t.nUsed, t.anBase, t.nLimit, run});
}
