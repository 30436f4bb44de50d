// The minimum-distance rule on its own: each pixel goes to the taking-part category whose
// centre is nearest (squared distance over the bands in use; ties to the lowest number), or
// stays unclassified when that centre lies farther than the reject distance. The window's
// classification and the whole scene's streamed one both assign through it (within
// CClassModel), each over its own layout of band bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "core/state.h"

// The class of a pixel that no category takes: beyond the reject threshold (as the plane's
// "not classified").
inline constexpr std::uint8_t kUnclassified = 8;

// A run of pixels to classify and where their results go: nCount pixels, pixel i from
// pPixels + i * nPixelStep; its class (0..7 for category k + 1, or kUnclassified) at
// pClass[i * nClassStep], counted in anCount[class] (nine counters); with pfSquared, its
// squared distance to its class at pfSquared[i] (-1 when unclassified).
struct PixelRun {
  const std::uint8_t* pPixels;
  std::size_t nPixelStep;
  int nCount;
  std::uint8_t* pClass;
  std::size_t nClassStep;
  std::uint32_t* anCount;
  float* pfSquared = nullptr;
};

class CNearestCentre {
 public:
  // aanCentre[c][b] and abTakesPart[c] for c, b = 1..8 (at least one category takes part);
  // abUseBand[b - 1] for the nBands bands. nBandStep: bytes from a pixel's band b to its
  // band b + 1 where Assign reads them. nRejectDistance: the largest distance that is still
  // classified, 0 for none.
  CNearestCentre(const int aanCentre[9][9], const bool abTakesPart[9],
                 const bool abUseBand[kMaxBands], int nBands, std::size_t nBandStep,
                 int nRejectDistance = 0);
  // The same with band b (1-based) of a pixel at anBandByte[b - 1] bytes from its first.
  CNearestCentre(const int aanCentre[9][9], const bool abTakesPart[9],
                 const bool abUseBand[kMaxBands], int nBands,
                 const std::size_t anBandByte[kMaxBands], int nRejectDistance);
  ~CNearestCentre();
  CNearestCentre(const CNearestCentre&) = delete;
  CNearestCentre& operator=(const CNearestCentre&) = delete;

  // The run's pixels (band 1 at a pixel's first byte): the squared distances are exact, as
  // integers below 2^24.
  void Assign(const PixelRun& run) const;

 private:
  struct Tables;
  std::unique_ptr<Tables> m_pTables;
};
