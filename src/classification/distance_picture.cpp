#include "classification/distance_picture.h"

#include <algorithm>
#include <cmath>

#include "classification/category_panels.h"
#include "classification/category_settings.h"
#include "classification/signature.h"
#include "core/commands.h"
#include "core/display_modes.h"
#include "core/platform.h"
#include "core/text_format.h"
#include "core/view.h"
#include "histograms/panels.h"
#include "products/render.h"
#include "resources/resource.h"

namespace {

int s_nMethod = kMethodMinimumDistance;
double s_dLargest = 0.0;

// The squared distances lie beside the plane, record for record.
const float* SquaredOf(const PixelRecord& px) {
  return &g_afClassSquared[0][0] + (&px - &g_aPixel[0][0]);
}

// A classified pixel's grey, red for one left unclassified.
class CDistanceColour {
 public:
  CDistanceColour()
      : m_bEuclidean(s_nMethod != kMethodMaximumLikelihood),
        m_fScale(s_dLargest > 0.0 ? static_cast<float>(255.0 / s_dLargest) : 0.0f) {}
  std::uint32_t operator()(const PixelRecord& px) const {
    if (px.bClassifyClass >= 8) return ScreenPixel(255, 0, 0);
    const float fSquared = *SquaredOf(px);
    const float f = m_bEuclidean ? std::sqrt(fSquared) : fSquared;
    // Single precision is plenty for 256 levels.
    const auto nGrey = static_cast<std::uint32_t>(f * m_fScale + 0.5f);
    return 0xFF000000u | nGrey * 0x010101u;
  }

 private:
  bool m_bEuclidean;
  float m_fScale;
};

// The largest squared distance of the window's classified pixels (unclassified ones hold -1).
float LargestSquared() {
  const int nHeight = WindowHeight();
  float afLargest[2] = {0.0f, 0.0f};
  ForColumnParts(WindowWidth(), nHeight, [&](int nFirst, int nEnd, int nPart) {
    // Eight running maxima, so the loop does not wait on one.
    float af[8] = {};
    for (int x = nFirst; x < nEnd; ++x) {
      const float* p = g_afClassSquared[x];
      int y = 0;
      for (; y + 8 <= nHeight; y += 8) {
        for (int i = 0; i < 8; ++i) af[i] = af[i] < p[y + i] ? p[y + i] : af[i];
      }
      for (; y < nHeight; ++y) af[0] = std::max(af[0], p[y]);
    }
    afLargest[nPart] = *std::max_element(af, af + 8);
  });
  return std::max(afLargest[0], afLargest[1]);
}

std::string DistancePane1() {
  const PixelRecord& px = g_aPixel[g_nMouseX][g_nMouseY];
  if (px.bClassifyClass >= 8) return "[距離]=[ - ]";
  return FormatText("[距離]=[ %.2f ]", ShownDistance(*SquaredOf(px), s_nMethod));
}

void DrawShownDistancePanel() {
  if (g_bClassified == 1) {
    DrawDistancePanel();
  } else {
    DrawClassifyInvalidPanel();
  }
}

const CommandEntry kaDistanceCommands[] = {
    COMMAND(ID_DISTANCE_VIEW, "距離画像表示(&D)", CL, .pfnHandler = OnDistanceView),
};

}  // namespace

double ShownDistance(float fSquared, int nMethod) {
  return nMethod == kMethodMaximumLikelihood ? fSquared : std::sqrt(static_cast<double>(fSquared));
}

void OnDistanceHistogram() {
  s_nMethod = GeneratedSignature().nMethod;
  s_dLargest = ShownDistance(LargestSquared(), s_nMethod);
  ShowProductPanel(DisplayMode::Distance, DrawShownDistancePanel);
}

void RenderDistancePicture() {
  BusyCursorScope busy(BusyCursor::AppStarting);
  RenderProduct(CDistanceColour(), false);
}

void OnDistanceView() {
  OnDistanceHistogram();
  RenderDistancePicture();
  ThePlatform().RepaintNow();
}

int DistanceMethod() { return s_nMethod; }
double LargestDistance() { return s_dLargest; }

void RegisterDistancePicture() {
  RegisterCommands(kaDistanceCommands);
  RegisterDisplayMode({.eMode = DisplayMode::Distance, .bShowsPicture = true,
                       .pfnDrawPanel = DrawShownDistancePanel, .pfnPane0 = PixelReadout,
                       .pfnPane1 = DistancePane1, .pfnArrowKey = MoveReadoutCursor,
                       .szProduct = "distance", .nViewCommand = ID_DISTANCE_VIEW});
}
