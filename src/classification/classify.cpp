#include "classification/classify.h"

#include <algorithm>
#include <cstring>

#include "classification/categories.h"
#include "classification/category_panels.h"
#include "classification/class_model.h"
#include "classification/classify_method.h"
#include "classification/messages.h"
#include "classification/nearest_centre.h"
#include "classification/signature.h"
#include "core/document.h"
#include "core/parallel.h"
#include "core/platform.h"
#include "histograms/panels.h"
#include "products/composite.h"
#include "products/render.h"

namespace {

// Category k+1's colour, or where its colouring is off the composite; black for no class.
class CClassColour {
 public:
  CClassColour() {
    for (int k = 0; k < 256; ++k) {
      m_anColour[k] = k >= 8                          ? ScreenPixel(0, 0, 0)
                      : g_abClassColourOn[k + 1] == 1 ? ScreenPixel(g_acrCategoryColour[k + 1])
                                                      : 0u;
    }
  }
  std::uint32_t operator()(const PixelRecord& px) const {
    return OwnOrComposite(m_anColour[px.bClassifyClass], m_composite, px);
  }

 private:
  std::uint32_t m_anColour[256];  // 0 where the class shows the composite
  CCompositeColour m_composite;
};

// A pixel record's band b is its byte b: the layout the models read the window in.
constexpr std::size_t kanWindowBandByte[kMaxBands] = {0, 1, 2, 3, 4, 5, 6, 7};

// The window column by column on both cores (a column's records follow each other, 18 bytes
// apart): classes into the plane, squared distances beside it, counts.
template <typename Rule>
void AssignWindow(const Rule& rule) {
  const int nWidth = WindowWidth(), nHeight = WindowHeight();
  static std::uint32_t s_aanCount[2][9];
  std::memset(s_aanCount, 0, sizeof s_aanCount);
  ForColumnParts(nWidth, nHeight, [&](int nFirst, int nEnd, int nPart) {
    for (int x = nFirst; x < nEnd; ++x) {
      PixelRecord* pColumn = g_aPixel[x];
      rule.Assign({pColumn->abBand, sizeof(PixelRecord), nHeight, &pColumn->bClassifyClass,
                   sizeof(PixelRecord), s_aanCount[nPart], g_afClassSquared[x]});
    }
  });
  g_anClassCount[0] = 0;
  for (int k = 0; k < 8; ++k) g_anClassCount[k + 1] = s_aanCount[0][k] + s_aanCount[1][k];
  g_nUnclassifiedCount = s_aanCount[0][kUnclassified] + s_aanCount[1][kUnclassified];
}

// The message of a model refused: the category, its name and why.
std::string RefusalMessage(const ModelRefusal& refusal) {
  const int c = refusal.nCategory;
  if (refusal.eReason == ModelRefusal::Reason::FewPixels) {
    return FormatText(kszMsgFewTrainingPixels, c, g_astrCategoryName[c].c_str(), refusal.nPixels,
                      refusal.nNeeded);
  }
  return FormatText(kszMsgSingularCovariance, c, g_astrCategoryName[c].c_str());
}

}  // namespace

void RenderClassification(bool bSmooth) {
  BusyCursorScope busy(BusyCursor::AppStarting);
  RenderProduct(CClassColour(), bSmooth);
}

void ComputeClassCentres(int aanCentre[9][9]) {
  const int nb = std::clamp(BandCount(), 0, kMaxBands);
  for (int c = 1; c <= 8; ++c) {
    for (int b = 1; b <= nb; ++b) {
      const std::uint32_t* anHist = g_anCatHist[c - 1][b - 1];
      std::uint64_t nTotal = 0;
      for (int v = 0; v < 256; ++v) nTotal += anHist[v];
      const std::uint64_t nHalf = nTotal / 2;
      // The largest value whose cumulative count is not above half; 0 when value 0 alone is.
      int nCentre = 0;
      std::uint64_t nSum = 0;
      for (int v = 0; v < 256; ++v) {
        nSum += anHist[v];
        if (nSum <= nHalf) nCentre = v;
      }
      aanCentre[c][b] = nCentre;
    }
  }
}

void ClassifyAssignPlain(const int aanCentre[9][9]) {
  const int nb = std::clamp(BandCount(), 0, kMaxBands);
  const double dReject = RejectDistanceInForce();
  for (int y = 0; y < WindowHeight(); ++y) {
    for (int x = 0; x < WindowWidth(); ++x) {
      PixelRecord& px = g_aPixel[x][y];
      double dBest = 1000000000.0;
      int nBest = 8;
      for (int k = 0; k < 8; ++k) {
        if (g_abClassify[k + 1] != 1) continue;
        double d = 0.0;
        for (int b = 1; b <= nb; ++b) {
          if (g_abUseBand[b - 1] != 1) continue;
          const double dDiff = std::abs(px.abBand[b - 1] - aanCentre[k + 1][b]);
          d += dDiff * dDiff;
        }
        if (d < dBest) {
          dBest = d;
          nBest = k;
        }
      }
      if (dReject > 0.0 && dBest > dReject * dReject) nBest = 8;
      px.bClassifyClass = static_cast<std::uint8_t>(nBest);
    }
  }
  std::memset(g_anClassCount, 0, sizeof g_anClassCount);
  g_nUnclassifiedCount = 0;
  for (int x = 0; x < WindowWidth(); ++x) {
    for (int y = 0; y < WindowHeight(); ++y) {
      const int k = g_aPixel[x][y].bClassifyClass;
      if (k < 8) ++g_anClassCount[k + 1];
      else ++g_nUnclassifiedCount;
    }
  }
}

void ClassifyAssign(const CClassModel& model) { AssignWindow(model); }

void ClassifyAssign(const int aanCentre[9][9]) {
  bool abTakesPart[9] = {}, abUseBand[kMaxBands] = {};
  for (int c = 1; c <= 8; ++c) abTakesPart[c] = g_abClassify[c] == 1;
  for (int b = 0; b < kMaxBands; ++b) abUseBand[b] = g_abUseBand[b] == 1;
  AssignWindow(CNearestCentre(aanCentre, abTakesPart, abUseBand,
                              std::clamp(BandCount(), 0, kMaxBands), kanWindowBandByte,
                              RejectDistanceInForce()));
}

bool ClassifiedWithThreshold() {
  const Signature& sig = GeneratedSignature();
  return g_bClassified == 1 && (sig.nMethod == kMethodMaximumLikelihood
                                    ? sig.nRejectProbability > 0
                                    : sig.nRejectDistance > 0);
}

void OnClassifyHistogram() { ShowProductPanel(DisplayMode::Classify, DrawClassifyPanel); }

void OnClassifyView() {
  OnClassifyHistogram();
  RenderClassification(false);
  ThePlatform().RepaintNow();
}

void OnClassifySmoothView() {
  OnClassifyHistogram();
  RenderClassification(true);
}

void OnClassifyGenerate() {
  ThePlatform().SetBusyCursor(BusyCursor::Wait);
  g_nDisplayMode = DisplayMode::Classify;
  g_bClassified = 0;
  g_nUnmodelledCategory = 0;
  bool bAny = false, bAllValid = true;
  for (int c = 1; c <= 8; ++c) {
    if (g_abClassify[c] != 1) continue;
    bAny = true;
    bAllValid &= g_abCategoryValid[c] == 1;
  }
  if (!bAny || !bAllValid) {
    ThePlatform().Beep();
    DrawClassifyInvalidPanel();
    ThePlatform().SetBusyCursor(BusyCursor::Arrow);
    return;
  }
  g_bClassified = 1;

  std::memset(g_anCatHist, 0, sizeof g_anCatHist);
  ThePlatform().WindowCanvas().FillRect(g_nMaxX + 2, 0, 1023, g_nMaxY + 1, Rgb(255, 255, 255),
                                        Rgb(255, 255, 255));
  // Every classified category's image in one pass; the membership kept is the last one's, as
  // if they had been computed one after the other.
  unsigned nMask = 0;
  int nLast = 1;
  for (int c = 1; c <= 8; ++c) {
    if (g_abClassify[c] != 1) continue;
    nMask |= 1u << (c - 1);
    nLast = c;
  }
  CountCategoryImages(nMask, nLast);
  for (int c = 1; c <= 8; ++c) {
    if (g_abClassify[c] != 1) continue;
    g_nCategory = c;
    DrawCategoryPanel();
    FinishCategoryImage(c);
    g_nDisplayMode = DisplayMode::Classify;
  }
  const bool bGuide = g_bShowGuide;
  g_bShowGuide = 0;
  DrawClassifyInvalidPanel();
  g_bShowGuide = bGuide;

  // Every pixel of the window gets a class below, or 8 beyond a reject threshold.
  int aanCentre[9][9] = {};
  ComputeClassCentres(aanCentre);
  RecordGeneratedSignature(aanCentre);
  CClassModel model;
  ModelRefusal refusal;
  if (!model.Build(GeneratedSignature(), kanWindowBandByte, refusal)) {
    // As for a category that is not valid: the panel says which one cannot take part.
    g_bClassified = 0;
    g_nUnmodelledCategory = refusal.nCategory;
    DrawClassifyInvalidPanel();
    ThePlatform().SetBusyCursor(BusyCursor::Arrow);
    ShowMessage(RefusalMessage(refusal), kszCapMaximumLikelihood);
    return;
  }
  ClassifyAssign(model);
  MarkDocumentModified();

  if (g_bAlwaysRedraw == 0) {
    OnClassifyHistogram();
  } else {
    OnClassifyView();
  }
  ThePlatform().SetBusyCursor(BusyCursor::Arrow);
}

void ToggleClassColour(int nCategory) {
  if (nCategory < 1 || nCategory > 8) return;
  g_abClassColourOn[nCategory] = g_abClassColourOn[nCategory] == 1 ? 0 : 1;
  OnClassifyHistogram();
}

void SetAllClassColours(int bOn) {
  for (int c = 1; c <= 8; ++c) g_abClassColourOn[c] = bOn;
  OnClassifyHistogram();
}

void InvertClassColours() {
  for (int c = 1; c <= 8; ++c) g_abClassColourOn[c] = g_abClassColourOn[c] == 1 ? 0 : 1;
  OnClassifyHistogram();
}
