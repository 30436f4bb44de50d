// The minimum-distance rule on its own: each pixel goes to the taking-part category whose
// centre is nearest (squared distance over the bands in use; ties to the lowest number). The
// window's classification and the whole scene's streamed one both assign through it, each
// over its own layout of band bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "core/state.h"

class CNearestCentre {
 public:
  // aanCentre[c][b] and abTakesPart[c] for c, b = 1..8 (at least one category takes part);
  // abUseBand[b - 1] for the nBands bands. nBandStep: bytes from a pixel's band b to its
  // band b + 1 where Assign reads them.
  CNearestCentre(const int aanCentre[9][9], const bool abTakesPart[9],
                 const bool abUseBand[kMaxBands], int nBands, std::size_t nBandStep);
  ~CNearestCentre();
  CNearestCentre(const CNearestCentre&) = delete;
  CNearestCentre& operator=(const CNearestCentre&) = delete;

  // nCount pixels, band 1 of pixel i at pBand1[i * nPixelStep]: pixel i's class k (0..7, for
  // category k + 1) goes to pClass[i * nClassStep] and is counted in anCount[k].
  void Assign(const std::uint8_t* pBand1, std::size_t nPixelStep, int nCount,
              std::uint8_t* pClass, std::size_t nClassStep, std::uint32_t anCount[8]) const;

 private:
  struct Tables;
  std::unique_ptr<Tables> m_pTables;
};
