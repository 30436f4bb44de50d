#include "classification/categories.h"

#include <algorithm>
#include <bit>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "classification/category_panels.h"
#include "classification/classify.h"
#include "classification/classify_method.h"
#include "classification/plots.h"
#include "classification/messages.h"
#include "core/dialogs.h"
#include "core/document.h"
#include "core/parallel.h"
#include "core/platform.h"
#include "core/text_format.h"
#include "core/view.h"
#include "histograms/panels.h"
#include "products/composite.h"
#include "products/render.h"
#include "resources/resource.h"

namespace {

constexpr Colorref kacrCategoryDefault[9] = {0,
                                             Rgb(255, 255, 85),
                                             Rgb(255, 85, 255),
                                             Rgb(255, 85, 85),
                                             Rgb(85, 255, 255),
                                             Rgb(85, 255, 85),
                                             Rgb(85, 85, 255),
                                             Rgb(170, 170, 0),
                                             Rgb(170, 0, 170)};

bool UsesBand(int b) { return b >= 1 && b <= kMaxBands && g_abUseBand[b - 1] == 1; }

// The target's colour where the record's byte nMark is 1 (a training mark, or the category
// image's membership), its test-area colour where it is a test mark, and with bAlsoCategory
// the target's colour also inside the category image (the previous category image under the
// marks); elsewhere the composite colour.
class CMarkedColour {
 public:
  CMarkedColour(std::size_t nMark, bool bAlsoCategory)
      : m_nMark(nMark), m_bAlsoCategory(bAlsoCategory),
        m_nColour(ScreenPixel(g_acrCategoryColour[TargetCategory()])),
        m_nTestColour(ScreenPixel(TestAreaColour(g_acrCategoryColour[TargetCategory()]))) {}
  std::uint32_t operator()(const PixelRecord& px) const {
    const std::uint8_t* pb = reinterpret_cast<const std::uint8_t*>(&px);
    if (pb[m_nMark] == kTestMark && m_nMark != kCategoryByte) return m_nTestColour;
    if (pb[m_nMark] == 1 || (m_bAlsoCategory && px.bCategoryClass != 0)) return m_nColour;
    return m_composite(px);
  }
  static constexpr std::size_t kCategoryByte = offsetof(PixelRecord, bCategoryClass);

 private:
  std::size_t m_nMark;
  bool m_bAlsoCategory;
  std::uint32_t m_nColour, m_nTestColour;
  CCompositeColour m_composite;
};

// The training marks of category nCategory: their byte in a record.
std::size_t MarkByte(int nCategory) {
  return offsetof(PixelRecord, abTrainMark) + static_cast<std::size_t>(nCategory - 1);
}

// What each display mode does when the target category changes.
struct CategoryReaction {
  DisplayMode eMode;
  void (*pfnReact)();
};
constexpr int kMaxReactions = 16;
CategoryReaction s_aReactions[kMaxReactions];
int s_nReactions = 0;

void (*FindCategoryReaction(DisplayMode eMode))() {
  for (int i = 0; i < s_nReactions; ++i) {
    if (s_aReactions[i].eMode == eMode) return s_aReactions[i].pfnReact;
  }
  return nullptr;
}

// What the window shows while the target is not valid in DisplayMode::Category with redrawing on.
void ShowInvalidCategory() {
  DrawCategoryInvalidPanel();
  if (g_bAlwaysRedraw != 1) return;
  {
    BusyCursorScope busy(BusyCursor::AppStarting);
    RenderProduct(CCompositeColour(), false);
  }
  DrawPanelText(ThePlatform().WindowCanvas(), g_nMaxX + 3, 130, kPanelTextHeight,
                FormatText("Category%d", TargetCategory()));
  ThePlatform().RepaintNow();
}

// Per-band membership masks: bit c-1 of entry v of band b is set when category c (of nMask)
// has v inside its range of band b. A pixel is inside the categories whose bits survive the
// AND over all eight bands.
void RangeMasks(unsigned nMask, std::uint8_t aabMask[kMaxBands][256]) {
  for (int b = 1; b <= kMaxBands; ++b) {
    for (int v = 0; v < 256; ++v) {
      unsigned nBits = 0;
      for (int c = 1; c <= 8; ++c) {
        if ((nMask >> (c - 1) & 1) && g_anCatLower[b][c] <= v && v <= g_anCatUpper[b][c]) {
          nBits |= 1u << (c - 1);
        }
      }
      aabMask[b - 1][v] = static_cast<std::uint8_t>(nBits);
    }
  }
}

using CategoryHistSets = std::uint32_t[4][8][kMaxBands][256];

#if defined(__SSE2__)
// One category k (0-based): all eight bands of a record tested at once, as (v - lower) <= span
// in unsigned 16-bit lanes, a saturating subtraction that is 0 exactly inside.
void CountOneCategoryImage(int k, int nb, CategoryHistSets& aanHist) {
  alignas(16) std::int16_t anLower[8], anSpan[8];
  bool bEmpty = false;
  for (int b = 1; b <= kMaxBands; ++b) {
    const int nLo = std::clamp(g_anCatLower[b][k + 1], 0, 256);
    const int nHi = std::clamp(g_anCatUpper[b][k + 1], -1, 255);
    bEmpty |= nLo > nHi;
    anLower[b - 1] = static_cast<std::int16_t>(nLo);
    anSpan[b - 1] = static_cast<std::int16_t>(std::max(nHi - nLo, 0));
  }
  const __m128i vLower = _mm_load_si128(reinterpret_cast<const __m128i*>(anLower));
  const __m128i vSpan = _mm_load_si128(reinterpret_cast<const __m128i*>(anSpan));
  const __m128i vZero = _mm_setzero_si128();
  const int nHeight = WindowHeight();
  ForColumnParts(WindowWidth(), nHeight, [&](int nFirst, int nEnd, int nPart) {
    for (int x = nFirst; x < nEnd; ++x) {
      PixelRecord* pColumn = g_aPixel[x];
      // One set of counters per part is enough here: the lane test leaves time between them.
      auto& aanBand = aanHist[2 * nPart][k];
      for (int y = 0; y < nHeight; ++y) {
        PixelRecord& px = pColumn[y];
        const std::uint8_t* ab = px.abBand;
        const __m128i vBands = _mm_unpacklo_epi8(
            _mm_loadl_epi64(reinterpret_cast<const __m128i*>(ab)), vZero);
        const __m128i vOver = _mm_subs_epu16(_mm_sub_epi16(vBands, vLower), vSpan);
        const bool bInside =
            !bEmpty && _mm_movemask_epi8(_mm_cmpeq_epi16(vOver, vZero)) == 0xFFFF;
        px.bCategoryClass = bInside ? 1 : 0;
        if (!bInside) continue;
        for (int b = 0; b < nb; ++b) ++aanBand[b][ab[b]];
      }
    }
  });
}
#endif

}  // namespace

void CountCategoryImages(unsigned nMask, int nTarget) {
  const int nb = std::clamp(BandCount(), 0, kMaxBands);
  std::uint8_t aabMask[kMaxBands][256];
  RangeMasks(nMask, aabMask);
  const unsigned nTargetBit = std::clamp(nTarget, 1, 8) - 1u;
  const int nWidth = WindowWidth(), nHeight = WindowHeight();
  // Each part counts into its own histograms, two sets of them taking alternate lines
  // (neighbouring pixels often share values, and one set would make each increment wait for the
  // one before); they are added afterwards.
  static CategoryHistSets s_aanHist;
  for (auto& aaanSet : s_aanHist) {
    for (int c = 0; c < 8; ++c) {
      if (nMask >> c & 1) std::memset(aaanSet[c], 0, sizeof aaanSet[c]);
    }
  }
#if defined(__SSE2__)
  if (std::has_single_bit(nMask)) {
    CountOneCategoryImage(std::countr_zero(nMask), nb, s_aanHist);
  } else
#endif
  ForColumnParts(nWidth, nHeight, [&](int nFirst, int nEnd, int nPart) {
    for (int x = nFirst; x < nEnd; ++x) {
      PixelRecord* pColumn = g_aPixel[x];
      for (int y = 0; y < nHeight; ++y) {
        auto& aanHist = s_aanHist[2 * nPart + (y & 1)];
        PixelRecord& px = pColumn[y];
        const std::uint8_t* ab = px.abBand;
        unsigned nInside = aabMask[0][ab[0]] & aabMask[1][ab[1]] & aabMask[2][ab[2]] &
                           aabMask[3][ab[3]] & aabMask[4][ab[4]] & aabMask[5][ab[5]] &
                           aabMask[6][ab[6]] & aabMask[7][ab[7]];
        px.bCategoryClass = static_cast<std::uint8_t>(nInside >> nTargetBit & 1);
        while (nInside != 0) {
          const int k = std::countr_zero(nInside);
          nInside &= nInside - 1;
          for (int b = 0; b < nb; ++b) ++aanHist[k][b][ab[b]];
        }
      }
    }
  });
  for (int c = 0; c < 8; ++c) {
    if ((nMask >> c & 1) == 0) continue;
    for (int b = 0; b < kMaxBands; ++b) {
      for (int v = 0; v < 256; ++v) {
        g_anCatHist[c][b][v] = s_aanHist[0][c][b][v] + s_aanHist[1][c][b][v] +
                               s_aanHist[2][c][b][v] + s_aanHist[3][c][b][v];
      }
    }
  }
}

void FinishCategoryImage(int t) {
  for (int b = 1; b <= std::min(BandCount(), kMaxBands); ++b) {
    g_anBandInRange[b] = 0;
    if (!UsesBand(b) || g_anCatLower[b][t] > g_anCatUpper[b][t]) continue;
    const int nFrom = std::max(g_anCatLower[b][t], 0), nTo = std::min(g_anCatUpper[b][t], 255);
    for (int v = nFrom; v <= nTo; ++v) g_anBandInRange[b] += g_anBandHist[b - 1][v];
  }
  ShowProductPanel(DisplayMode::Category, DrawCategoryPanel);
}

namespace {

void BandExistenceCheck(int abUseBand[9]) {
  for (int b = 1; b <= kMaxBands; ++b) {
    if (abUseBand[b] != 1 || g_nLastBand >= b - 1) continue;
    ShowMessage(b == 8 ? std::string(kszMsgNoBand8Check) : FormatText(kszMsgNoBandCheck, b),
                FormatText(kszCapNoBandCheck, b));
    abUseBand[b] = 0;
  }
}

// Dialog IDD_CATEGORY_VALUE: the number, then lower (0..254) and upper (1..255) of bands 1..8.
constexpr DialogField kaCategoryValueFields[] = {
    {FieldKind::Range, "K", 1, 8, true},
    {FieldKind::Range, "L1", 0, 254}, {FieldKind::Range, "U1", 1, 255},
    {FieldKind::Range, "L2", 0, 254}, {FieldKind::Range, "U2", 1, 255},
    {FieldKind::Range, "L3", 0, 254}, {FieldKind::Range, "U3", 1, 255},
    {FieldKind::Range, "L4", 0, 254}, {FieldKind::Range, "U4", 1, 255},
    {FieldKind::Range, "L5", 0, 254}, {FieldKind::Range, "U5", 1, 255},
    {FieldKind::Range, "L6", 0, 254}, {FieldKind::Range, "U6", 1, 255},
    {FieldKind::Range, "L7", 0, 254}, {FieldKind::Range, "U7", 1, 255},
    {FieldKind::Range, "L8", 0, 254}, {FieldKind::Range, "U8", 1, 255},
};

void CurrentCategoryValues(int anValues[]) { CategoryValues(TargetCategory(), anValues); }

void ApplyCategoryValues(const int anValues[]) {
  const int c = std::clamp(anValues[0], 1, 8);
  // The previous category image belongs to the old target.
  if (c != g_nCategory) g_nTrainBackground = 0;
  g_nCategory = c;
  for (int b = 1; b <= kMaxBands; ++b) {
    g_anCatLower[b][c] = anValues[2 * b - 1];
    g_anCatUpper[b][c] = anValues[2 * b];
  }
}

}  // namespace

const DialogSpec kCategoryValueDialog = {IDD_CATEGORY_VALUE, kaCategoryValueFields, {},
                                         CurrentCategoryValues, ApplyCategoryValues};

void CategoryValues(int nCategory, int anValues[17]) {
  const int c = std::clamp(nCategory, 1, 8);
  anValues[0] = c;
  for (int b = 1; b <= kMaxBands; ++b) {
    anValues[2 * b - 1] = g_anCatLower[b][c];
    anValues[2 * b] = g_anCatUpper[b][c];
  }
}

void ResetCategoryQuery() {
  std::memset(g_anCatLower, 0, sizeof g_anCatLower);
  std::memset(g_anCatUpper, 0, sizeof g_anCatUpper);
  g_nDotSize = 3;
  g_nTrainBackground = 0;
  for (int c = 1; c <= 8; ++c) {
    g_abCategoryValid[c] = 0;
    g_astrCategoryName[c] = "Name" + std::to_string(c);
    g_abClassColourOn[c] = 1;
    g_abClassify[c] = 1;
  }
  g_bClassified = 0;
  g_bPaintTest = false;
  ResetClassifyMethod();
  ResetScatterSettings();
}

Colorref TestAreaColour(Colorref cr) {
  return Rgb(GetRValue(cr) / 2, GetGValue(cr) / 2, GetBValue(cr) / 2);
}

void ResetCategoryPalette() {
  for (int c = 1; c <= 8; ++c) g_acrCategoryColour[c] = kacrCategoryDefault[c];
  g_crCategoryEdit = Rgb(255, 255, 255);
}

int TargetCategory() { return std::clamp(g_nCategory, 1, 8); }

void OnSelectCategory(int nCategory) {
  if (nCategory < 1 || nCategory > 8) return;
  g_nCategory = nCategory;
  OnCategoryChanged();
}

void RegisterCategoryReaction(DisplayMode eMode, void (*pfnReact)()) {
  if (FindCategoryReaction(eMode)) {
    std::fprintf(stderr, "display mode %d has a category reaction already\n",
                 DisplayModeCode(eMode));
    std::abort();
  }
  if (s_nReactions == kMaxReactions) {
    std::fprintf(stderr, "no room for the category reaction of display mode %d\n",
                 DisplayModeCode(eMode));
    std::abort();
  }
  s_aReactions[s_nReactions++] = {eMode, pfnReact};
}

void OnCategoryChanged() {
  if (g_nTrainBackground == 1) {
    ShowMessage(kszMsgBackgroundReset, kszCapBackgroundReset);
    g_nTrainBackground = 0;
  }
  if (void (*pfnReact)() = FindCategoryReaction(g_nDisplayMode)) pfnReact();
}

void ShowCategoryOfTarget() {
  if (g_abCategoryValid[TargetCategory()] == 1) {
    if (g_bAlwaysRedraw == 1) {
      OnCategoryView();
    } else {
      OnCategoryHistogram();
    }
  } else {
    ShowInvalidCategory();
  }
}

void ShowTrainingOfTarget() {
  if (g_bAlwaysRedraw == 1) {
    OnTrainingSelect();
  } else {
    OnTrainingUpdate();
  }
}

namespace {

// The update of category t: its ranges, count and validity from its training pixels.
void UpdateTrainingOf(int t) {
  const int nb = std::clamp(BandCount(), 0, kMaxBands);
  for (int b = 1; b <= kMaxBands; ++b) {
    // Bands not in use, and bands the scene does not have, accept every value.
    const bool bRanged = b <= nb && UsesBand(b);
    g_anCatLower[b][t] = bRanged ? 254 : 0;
    g_anCatUpper[b][t] = bRanged ? 0 : 255;
  }
  g_nRequiredPixels = static_cast<int>(static_cast<long long>(WindowWidth()) * WindowHeight() / 1000);

  int anLower[kMaxBands], anUpper[kMaxBands], anBand[kMaxBands];
  int nRanged = 0;
  for (int b = 1; b <= nb; ++b) {
    if (!UsesBand(b)) continue;
    anBand[nRanged] = b - 1;
    anLower[nRanged] = 254;
    anUpper[nRanged] = 0;
    ++nRanged;
  }
  const std::size_t nMark = static_cast<std::size_t>(t - 1);
  int nCount = 0;
  for (int x = 0; x < WindowWidth(); ++x) {
    const PixelRecord* pColumn = g_aPixel[x];
    for (int y = 0; y < WindowHeight(); ++y) {
      const PixelRecord& px = pColumn[y];
      if (px.abTrainMark[nMark] != 1) continue;
      ++nCount;
      for (int i = 0; i < nRanged; ++i) {
        const int v = px.abBand[anBand[i]];
        anLower[i] = std::min(anLower[i], v);
        anUpper[i] = std::max(anUpper[i], v);
      }
    }
  }
  for (int i = 0; i < nRanged; ++i) {
    g_anCatLower[anBand[i] + 1][t] = anLower[i];
    g_anCatUpper[anBand[i] + 1][t] = anUpper[i];
  }
  g_anTrainCount[t] = nCount;
  g_abCategoryValid[t] = nCount >= g_nRequiredPixels ? 1 : 0;
}

}  // namespace

void OnTrainingUpdate() {
  BusyCursorScope busy(BusyCursor::Wait);
  UpdateTrainingOf(TargetCategory());
  ShowProductPanel(DisplayMode::Training, DrawTrainingPanel);
}

void OnTrainingUpdateAll() {
  BusyCursorScope busy(BusyCursor::Wait);
  // Which categories have marks, in one pass; one without keeps its ranges (perhaps typed).
  std::uint8_t abMarked[8] = {};
  for (int x = 0; x < WindowWidth(); ++x) {
    const PixelRecord* pColumn = g_aPixel[x];
    for (int y = 0; y < WindowHeight(); ++y) {
      for (int c = 0; c < 8; ++c) {
        abMarked[c] |= static_cast<std::uint8_t>(pColumn[y].abTrainMark[c] == 1);
      }
    }
  }
  for (int c = 1; c <= 8; ++c) {
    if (abMarked[c - 1] != 0) UpdateTrainingOf(c);
  }
  ShowProductPanel(DisplayMode::Training, DrawTrainingPanel);
}

namespace {

// A pixel is a training pixel of any categories or a test pixel of one, never both: a test
// mark takes the pixel from every other category, a training mark takes it from a test one.
void SetMark(std::uint8_t* pMarks, int nCategory, std::uint8_t nKind) {
  for (int c = 0; c < 8; ++c) {
    if (nKind == kTestMark || pMarks[c] == kTestMark) pMarks[c] = 0;
  }
  pMarks[nCategory - 1] = nKind;
}

// The target's marks over the composite (or the previous category image), shown at once.
void RenderTrainingArea() {
  {
    BusyCursorScope busy(BusyCursor::AppStarting);
    RenderProduct(CMarkedColour(MarkByte(TargetCategory()), g_nTrainBackground == 1), false);
  }
  ThePlatform().RepaintNow();
}

}  // namespace

void OnTrainingSelect() {
  OnTrainingUpdate();
  RenderTrainingArea();
}

std::uint64_t MarkWindowArea(int nCategory, bool bTest, const std::uint8_t* pInside) {
  if (nCategory < 1 || nCategory > 8) return 0;
  const std::uint8_t nKind = bTest ? kTestMark : kTrainingMark;
  const int nWidth = WindowWidth(), nHeight = WindowHeight();
  std::uint64_t nMarked = 0;
  for (int y = 0; y < nHeight; ++y) {
    const std::uint8_t* pRow =
        pInside + static_cast<std::size_t>(y) * static_cast<std::size_t>(nWidth);
    for (int x = 0; x < nWidth; ++x) {
      if (pRow[x] == 0) continue;
      SetMark(g_aPixel[x][y].abTrainMark, nCategory, nKind);
      ++nMarked;
    }
  }
  if (nMarked == 0) return 0;
  MarkDocumentModified();
  // As painting: new training pixels leave the category and the map needing an update; test
  // pixels take no part in the training.
  if (!bTest) {
    g_abCategoryValid[nCategory] = 0;
    g_bClassified = 0;
  }
  return nMarked;
}

void ShowChangedMarks() {
  if (g_nDisplayMode == DisplayMode::Training) RenderTrainingArea();
}

void OnTrainingPaint(int x, int y, bool bErase) {
  // Dot sizes 1, 4, 9, 16: the dot's offsets from the click and the margin it needs.
  static const int kanFrom[4] = {0, -1, -1, -2}, kanTo[4] = {0, 0, 1, 1};
  const int d = std::clamp(g_nDotSize, 0, 3);
  const int nFrom = kanFrom[d], nTo = kanTo[d];
  // Only whole dots: no partial dot at the edges.
  if (x + nFrom < 0 || y + nFrom < 0 || x + nTo > g_nMaxX || y + nTo > g_nMaxY) return;
  const int t = TargetCategory();
  const std::uint8_t nKind = g_bPaintTest ? kTestMark : kTrainingMark;
  for (int i = nFrom; i <= nTo; ++i) {
    for (int j = nFrom; j <= nTo; ++j) {
      std::uint8_t* pMarks = g_aPixel[x + i][y + j].abTrainMark;
      if (bErase) {
        // Shift erases the kind being painted, of the target only.
        if (pMarks[t - 1] == nKind) pMarks[t - 1] = 0;
        continue;
      }
      SetMark(pMarks, t, nKind);
    }
  }
  MarkDocumentModified();
  // Test pixels take no part in the training: the categories and the map stay valid.
  if (!g_bPaintTest) {
    if (g_abCategoryValid[t] == 1) {
      g_abCategoryValid[t] = 0;
      DrawTrainingPanel();
    }
    g_abCategoryValid[t] = 0;
    g_bClassified = 0;
  }
  // Straight onto the window; the picture is rebuilt by the next selection.
  Canvas& window = ThePlatform().WindowCanvas();
  const CCompositeColour composite;
  const Colorref crPaint =
      g_bPaintTest ? TestAreaColour(g_acrCategoryColour[t]) : g_acrCategoryColour[t];
  for (int i = nFrom; i <= nTo; ++i) {
    for (int j = nFrom; j <= nTo; ++j) {
      const Colorref cr = bErase ? ColorrefFromScreen(composite(g_aPixel[x + i][y + j])) : crPaint;
      window.SetPixel(x + i, y + j, cr);
    }
  }
}

void OnTrainingStroke(int x0, int y0, int x1, int y1, bool bErase) {
  // An integer line walk: each step moves one pixel in x, in y or in both, so the dots of a
  // stroke touch however far the mouse went between two moves.
  const int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
  const int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
  int nError = dx + dy;
  for (int x = x0, y = y0;;) {
    OnTrainingPaint(x, y, bErase);
    if (x == x1 && y == y1) break;
    const int nTwice = 2 * nError;
    if (nTwice >= dy) {
      nError += dy;
      x += sx;
    }
    if (nTwice <= dx) {
      nError += dx;
      y += sy;
    }
  }
}

void ComputeCategoryImagePlain() {
  const int t = TargetCategory();
  const int nb = std::clamp(BandCount(), 0, kMaxBands);
  std::memset(g_anCatHist[t - 1], 0, sizeof g_anCatHist[t - 1]);
  for (int y = 0; y < WindowHeight(); ++y) {
    for (int x = 0; x < WindowWidth(); ++x) {
      PixelRecord& px = g_aPixel[x][y];
      bool bInside = true;
      for (int b = 1; b <= kMaxBands; ++b) {
        const int v = px.abBand[b - 1];
        if (v < g_anCatLower[b][t] || v > g_anCatUpper[b][t]) bInside = false;
      }
      px.bCategoryClass = bInside ? 1 : 0;
      if (!bInside) continue;
      for (int b = 1; b <= nb; ++b) ++g_anCatHist[t - 1][b - 1][px.abBand[b - 1]];
    }
  }
}

void ComputeCategoryImage() {
  BusyCursorScope busy(BusyCursor::Wait);
  const int t = TargetCategory();
  CountCategoryImages(1u << (t - 1), t);
  FinishCategoryImage(t);
}

void OnCategoryHistogram() { ComputeCategoryImage(); }

void RenderCategoryPicture(bool bSmooth) {
  BusyCursorScope busy(BusyCursor::AppStarting);
  RenderProduct(CMarkedColour(CMarkedColour::kCategoryByte, false), bSmooth);
}

void OnCategoryView() {
  ComputeCategoryImage();
  RenderCategoryPicture(false);
  ThePlatform().RepaintNow();
}

void OnCategorySmoothView() {
  ComputeCategoryImage();
  RenderCategoryPicture(true);
}

void OnClearCategoryPixels() {
  if (ThePlatform().MessageBox(kszMsgClearCategory, kszCapClear, MsgButtons::OkCancel) !=
      MsgResult::Ok) {
    return;
  }
  const int t = TargetCategory();
  for (int x = 0; x < WindowWidth(); ++x) {
    for (int y = 0; y < WindowHeight(); ++y) {
      g_aPixel[x][y].abTrainMark[t - 1] = 0;
      g_aPixel[x][y].bCategoryClass = 0;
    }
  }
  g_bClassified = 0;
  g_abCategoryValid[t] = 0;
  g_anTrainCount[t] = 0;
  MarkDocumentModified();
  OnCategoryChanged();
}

void OnClearAllPixels() {
  if (ThePlatform().MessageBox(kszMsgClearAll, kszCapClear, MsgButtons::OkCancel) !=
      MsgResult::Ok) {
    return;
  }
  // The marks of every category go, whatever the number of bands, in the whole plane.
  for (auto& column : g_aPixel) {
    for (PixelRecord& px : column) {
      std::memset(px.abTrainMark, 0, sizeof px.abTrainMark);
      px.bCategoryClass = 0;
    }
  }
  for (int c = 1; c <= 8; ++c) {
    g_anTrainCount[c] = 0;
    g_abCategoryValid[c] = 0;
  }
  g_bClassified = 0;
  MarkDocumentModified();
  OnCategoryChanged();
}

void SetDotSize(int nDotSize) { g_nDotSize = std::clamp(nDotSize, 0, 3); }

void SetTrainBackground(int nBackground) { g_nTrainBackground = nBackground == 1 ? 1 : 0; }

void OnCategoryColour() {
  const int t = TargetCategory();
  g_crCategoryEdit = g_acrCategoryColour[t];
  Colorref cr = g_crCategoryEdit;
  if (!ThePlatform().ChooseColour(cr)) return;
  g_crCategoryEdit = cr;
  g_acrCategoryColour[t] = cr;
  if (g_nDisplayMode == DisplayMode::Category || g_nDisplayMode == DisplayMode::Training) {
    OnCategoryChanged();
  } else if (g_nDisplayMode == DisplayMode::Classify && g_bClassified == 1) {
    if (g_bAlwaysRedraw == 1) {
      OnClassifyView();
    } else {
      OnClassifyHistogram();
    }
  }
}

CategoryOptions CurrentCategoryOptions() {
  CategoryOptions options;
  for (int i = 1; i <= 8; ++i) {
    options.abUseBand[i] = g_abUseBand[i - 1];
    options.abClassify[i] = g_abClassify[i];
    options.astrName[i] = g_astrCategoryName[i];
  }
  return options;
}

void ApplyCategoryOptions(const CategoryOptions& options) {
  int abUseBand[9];
  std::copy(std::begin(options.abUseBand), std::end(options.abUseBand), abUseBand);
  for (int c = 1; c <= 8; ++c) g_astrCategoryName[c] = options.astrName[c];
  BandExistenceCheck(abUseBand);
  bool bChanged = false;
  for (int b = 1; b <= kMaxBands; ++b) {
    bChanged |= g_abUseBand[b - 1] != abUseBand[b];
    g_abUseBand[b - 1] = abUseBand[b];
  }
  if (bChanged) {
    ShowMessage(kszMsgBandsChanged, kszCapProcess);
    for (int c = 1; c <= 8; ++c) {
      g_anTrainCount[c] = 0;
      g_abCategoryValid[c] = 0;
    }
    g_bClassified = 0;
  }
  // A chart shown follows the names and the bands at once.
  RepaintShownPlot();
}

void ApplyClassifyOptions(const CategoryOptions& options) {
  int abUseBand[9];
  std::copy(std::begin(options.abUseBand), std::end(options.abUseBand), abUseBand);
  for (int c = 1; c <= 8; ++c) {
    g_astrCategoryName[c] = options.astrName[c];
    g_abClassify[c] = options.abClassify[c] == 1 ? 1 : 0;
  }
  BandExistenceCheck(abUseBand);
  for (int b = 1; b <= kMaxBands; ++b) g_abUseBand[b - 1] = abUseBand[b];
  if (g_bClassified == 1) ShowMessage(kszMsgRegenerate, kszCapProcess);
  g_nDisplayMode = DisplayMode::Classify;
}
