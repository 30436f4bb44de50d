// The composite picture: three bands through linear stretches as red, green and blue.
#pragma once

#include <cstddef>
#include <cstdint>

#include "products/composite_settings.h"
#include "core/state.h"

struct DialogSpec;

enum class Component { Red, Green, Blue };

// Values of the band/value dialog, in the order the dialog shows them.
struct CompositeBandValues {
  int nRedBand, nGreenBand, nBlueBand;
  int nRedLower, nRedUpper;
  int nGreenLower, nGreenUpper;
  int nBlueLower, nBlueUpper;
  int bCutOffLinked;
};

// Dialog IDD_CUTOFF_RATE (the cut-off rate) and dialog IDD_COMPOSITE_VALUE (bands and stretch values).
extern const DialogSpec kCutOffDialog;
extern const DialogSpec kCompositeValueDialog;

// Its commands, display mode, settings group and dialogs.
void RegisterComposite();

void ResetCompositeQuery();
// The look-up tables and histograms, back to empty.
void ClearCompositeTables();

// Look-up table of a stretch from lower L to upper U (L < U).
void BuildStretchTable(int nLower, int nUpper, std::uint8_t abLut[256]);
void ComputeCutOff(Component component);

// The prepare step without its panel: the three look-up tables, the three histograms over the
// window and their maxima.
void PrepareCompositeTables();

// The composite colour of a pixel as the look-up tables stand, in ScreenPixel form. Built once
// per render so the per-pixel work is three table reads.
class CCompositeColour {
 public:
  CCompositeColour();
  std::uint32_t operator()(const PixelRecord& px) const {
    return m_anRed[px.abBand[m_nRed]] | m_anGreen[px.abBand[m_nGreen]] |
           m_anBlue[px.abBand[m_nBlue]];
  }

 private:
  // Byte offsets of the three bands in a record; size_t, which no pixel store can alias, so
  // they stay in registers through the render loop.
  std::size_t m_nRed, m_nGreen, m_nBlue;
  std::uint32_t m_anRed[256], m_anGreen[256], m_anBlue[256];
};

// The pixel's own colour from a picture's table, or its composite colour where the table holds
// 0. Every own colour is opaque (top byte 0xFF), so the entry's top bit chooses without a branch:
// with a part of the picture switched off, the values on both sides of its bounds are mixed
// in any real scene, and a branch there mispredicts (1.8 against 2.3 ms on one core).
inline std::uint32_t OwnOrComposite(std::uint32_t nOwn, const CCompositeColour& composite,
                                    const PixelRecord& px) {
  const auto nKeep = static_cast<std::uint32_t>(static_cast<std::int32_t>(nOwn) >> 31);
  return nOwn | (composite(px) & ~nKeep);
}

// After a settings change: the picture again when "always redisplay" is on, else the panel.
void RedisplayComposite();

// Commands.
void OnCompositeView();
void OnCompositeSmoothView();
void OnCompositeHistogram();
void OnCompositeReleaseCutOff();
void OnTrueColour();
void OnNaturalColour();
void OnFalseColour();
// RGB library 1..6.
void ApplyRgbLibrary(int nLibrary);
// One of the 24 band items: component and band 1..8.
void SelectCompositeBand(Component component, int nBand);

// After OK in the dialogs (the values have passed the dialogs' range checks).
void ApplyCutOffDialog(int nRate);
void ApplyCompositeBandValueDialog(const CompositeBandValues& values);
CompositeBandValues CurrentCompositeBandValues();

// Left button in the composite panel (logical coordinates).
void OnCompositePanelClick(int x, int y, bool bShift);
