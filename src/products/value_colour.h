// The pixel colour of the coarse and fine pictures: each value of the product's band has its
// colour from a table, or, where its colouring is off, the pixel shows its composite colour.
// Built once per render so the per-pixel work stays a few table reads.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/state.h"
#include "products/composite.h"
#include "products/render.h"

class CValueColour {
 public:
  // nBand 1..8; anColour in ScreenPixel form; abComposite marks values that show the composite.
  CValueColour(int nBand, const std::uint32_t anColour[256], const bool abComposite[256])
      : m_nByte(static_cast<std::size_t>(nBand - 1)) {
    for (int v = 0; v < 256; ++v) m_anColour[v] = abComposite[v] ? 0u : anColour[v] | 0xFF000000u;
  }
  std::uint32_t operator()(const PixelRecord& px) const {
    return OwnOrComposite(m_anColour[px.abBand[m_nByte]], m_composite, px);
  }

 private:
  // size_t, which no pixel store can alias, so the offset stays in a register.
  std::size_t m_nByte;
  std::uint32_t m_anColour[256];  // 0 where the value shows the composite
  CCompositeColour m_composite;
};

// The same picture when every value has its own colour (no part switched off): one table read
// per pixel, the finished 32-bit pixel.
class CTableColour {
 public:
  CTableColour(int nBand, const std::uint32_t anColour[256])
      : m_nByte(static_cast<std::size_t>(nBand - 1)) {
    for (int v = 0; v < 256; ++v) m_anColour[v] = anColour[v];
  }
  std::uint32_t operator()(const PixelRecord& px) const { return m_anColour[px.abBand[m_nByte]]; }

 private:
  std::size_t m_nByte;
  std::uint32_t m_anColour[256];
};

// Renders band nBand's picture: anColour per value, or the composite where abComposite says so.
inline void RenderValuePicture(int nBand, const std::uint32_t anColour[256],
                               const bool abComposite[256], bool bSmooth) {
  bool bAnyComposite = false;
  for (int v = 0; v < 256; ++v) bAnyComposite = bAnyComposite || abComposite[v];
  if (bAnyComposite) {
    RenderProduct(CValueColour(nBand, anColour, abComposite), bSmooth);
  } else {
    RenderProduct(CTableColour(nBand, anColour), bSmooth);
  }
}
