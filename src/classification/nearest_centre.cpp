#include "classification/nearest_centre.h"

#include <cstring>

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

// The nearest category of every pixel, counted. Built twice, for processors with and without
// AVX2, and chosen when the program starts. The lanes' minimum is taken by halving, so every
// lane ends holding it.
__attribute__((target_clones("avx2", "default"))) void AssignPixels(
    const BandLanes* pTable, const std::size_t* anByte, int nUsed, const std::int32_t* anBase,
    const std::uint8_t* pBand1, std::size_t nPixelStep, int nCount, std::uint8_t* pClass,
    std::size_t nClassStep, std::uint32_t anCount[8]) {
  Lanes base;
  std::memcpy(&base, anBase, sizeof base);
  std::size_t anOffset[kMaxBands];
  for (int i = 0; i < nUsed; ++i) anOffset[i] = anByte[i];
  // Four sets of counters: neighbouring pixels mostly share a class, and one counter would make
  // each increment wait for the one before.
  std::uint32_t aanCount[4][8] = {};
  for (int n = 0; n < nCount; ++n) {
    const std::uint8_t* pPixel = pBand1 + static_cast<std::size_t>(n) * nPixelStep;
    Lanes d = base;
    for (int i = 0; i < nUsed; ++i) d += pTable[i].an[pPixel[anOffset[i]]];
    Lanes e = __builtin_shufflevector(d, d, 4, 5, 6, 7, 0, 1, 2, 3);
    d = d < e ? d : e;
    e = __builtin_shufflevector(d, d, 2, 3, 0, 1, 6, 7, 4, 5);
    d = d < e ? d : e;
    e = __builtin_shufflevector(d, d, 1, 0, 3, 2, 5, 4, 7, 6);
    d = d < e ? d : e;
    const int k = d[0] & 7;
    pClass[static_cast<std::size_t>(n) * nClassStep] = static_cast<std::uint8_t>(k);
    ++aanCount[n & 3][k];
  }
  for (int k = 0; k < 8; ++k) {
    anCount[k] += aanCount[0][k] + aanCount[1][k] + aanCount[2][k] + aanCount[3][k];
  }
}

}  // namespace

struct CNearestCentre::Tables {
  BandLanes aTable[kMaxBands];
  std::size_t anByte[kMaxBands] = {};
  int nUsed = 0;
  std::int32_t anBase[8] = {};
};

CNearestCentre::CNearestCentre(const int aanCentre[9][9], const bool abTakesPart[9],
                               const bool abUseBand[kMaxBands], int nBands,
                               std::size_t nBandStep)
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
    t.anByte[t.nUsed++] = static_cast<std::size_t>(b - 1) * nBandStep;
  }
  for (int k = 0; k < 8; ++k) t.anBase[k] = k + (abTakesPart[k + 1] ? 0 : kFar);
}

CNearestCentre::~CNearestCentre() = default;

void CNearestCentre::Assign(const std::uint8_t* pBand1, std::size_t nPixelStep, int nCount,
                            std::uint8_t* pClass, std::size_t nClassStep,
                            std::uint32_t anCount[8]) const {
  const Tables& t = *m_pTables;
  AssignPixels(t.aTable, t.anByte, t.nUsed, t.anBase, pBand1, nPixelStep, nCount, pClass,
               nClassStep, anCount);
}
