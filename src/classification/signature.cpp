#include "classification/signature.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <nlohmann/json.hpp>
#include <span>

#include "classification/categories.h"
#include "classification/category_settings.h"
#include "classification/messages.h"
#include "core/document.h"
#include "core/file_io.h"
#include "core/platform.h"
#include "core/settings_groups.h"
#include "core/text_format.h"

namespace {

using Json = nlohmann::ordered_json;

constexpr const char* kszFormat = "geolumen-signatures";
// No signature comes near this (eight categories of eight bands are a few kilobytes).
constexpr std::size_t kMaxSignatureBytes = 1u << 20;

Signature s_generated;

// The training pixels' sums over the bands in use: first and second moments, kept as integers
// so the covariance is exact up to its final division.
struct Moments {
  std::uint64_t n = 0;
  std::uint64_t anSum[kMaxBands] = {};
  std::uint64_t aanCross[kMaxBands][kMaxBands] = {};
};

void CountMoments(const std::vector<int>& anBand, Moments aMoments[8]) {
  const int nUsed = static_cast<int>(anBand.size());
  for (int x = 0; x < WindowWidth(); ++x) {
    for (int y = 0; y < WindowHeight(); ++y) {
      const PixelRecord& px = g_aPixel[x][y];
      for (int c = 0; c < 8; ++c) {
        if (px.abTrainMark[c] != 1) continue;
        Moments& m = aMoments[c];
        ++m.n;
        for (int i = 0; i < nUsed; ++i) {
          const std::uint64_t v = px.abBand[anBand[static_cast<std::size_t>(i)]];
          m.anSum[i] += v;
          for (int j = 0; j <= i; ++j) m.aanCross[i][j] += v * px.abBand[anBand[static_cast<std::size_t>(j)]];
        }
      }
    }
  }
}

void FillStatistics(const Moments& m, int nUsed, TrainingStatistics& st) {
  st.nPixels = static_cast<int>(m.n);
  st.adMean.assign(static_cast<std::size_t>(nUsed), 0.0);
  st.adCovariance.assign(static_cast<std::size_t>(nUsed * nUsed), 0.0);
  if (m.n == 0) return;
  const double dN = static_cast<double>(m.n);
  for (int i = 0; i < nUsed; ++i) st.adMean[static_cast<std::size_t>(i)] = static_cast<double>(m.anSum[i]) / dN;
  if (m.n < 2) return;
  for (int i = 0; i < nUsed; ++i) {
    for (int j = 0; j <= i; ++j) {
      // (n * sum(xy) - sum(x) * sum(y)) / (n (n - 1)), the numerator exact in 64 bits.
      const std::int64_t nNumerator = static_cast<std::int64_t>(m.n * m.aanCross[i][j]) -
                                      static_cast<std::int64_t>(m.anSum[i] * m.anSum[j]);
      const double d = static_cast<double>(nNumerator) / (dN * (dN - 1.0));
      st.adCovariance[static_cast<std::size_t>(i * nUsed + j)] = d;
      st.adCovariance[static_cast<std::size_t>(j * nUsed + i)] = d;
    }
  }
}

// ---- JSON -------------------------------------------------------------------------------------

Json NumberOrNan(double d) { return std::isnan(d) ? Json("nan") : Json(d); }

// Reading: each check names the field it refused.
class CReader {
 public:
  explicit CReader(std::string& strReason) : m_strReason(strReason) {}

  bool Fail(const std::string& strWhat) {
    m_strReason = strWhat;
    return false;
  }
  const Json* Member(const Json& obj, const char* szKey, const std::string& strWhere) {
    const auto it = obj.find(szKey);
    if (it == obj.end()) {
      Fail(strWhere + szKey + " is missing");
      return nullptr;
    }
    return &*it;
  }
  bool Int(const Json& obj, const char* szKey, const std::string& strWhere, int nMin, int nMax,
           int& n) {
    const Json* p = Member(obj, szKey, strWhere);
    if (!p) return false;
    if (!p->is_number_integer() || *p < nMin || *p > nMax) {
      return Fail(FormatText("%s%s is not a whole number from %d to %d", strWhere.c_str(), szKey,
                             nMin, nMax));
    }
    n = p->get<int>();
    return true;
  }
  bool Bool(const Json& obj, const char* szKey, const std::string& strWhere, bool& b) {
    const Json* p = Member(obj, szKey, strWhere);
    if (!p) return false;
    if (!p->is_boolean()) return Fail(strWhere + szKey + " is not true or false");
    b = p->get<bool>();
    return true;
  }
  // A number; with bNanText also the text "nan".
  bool Number(const Json& value, const std::string& strWhat, bool bNanText, double& d) {
    if (bNanText && value.is_string() && value.get<std::string>() == "nan") {
      d = std::nan("");
      return true;
    }
    if (!value.is_number()) return Fail(strWhat + " is not a number");
    d = value.get<double>();
    if (!std::isfinite(d)) return Fail(strWhat + " is not a finite number");
    return true;
  }
  // An array of exactly nCount whole numbers nMin..nMax.
  bool Ints(const Json& obj, const char* szKey, const std::string& strWhere, std::size_t nCount,
            int nMin, int nMax, int* an) {
    const Json* p = Member(obj, szKey, strWhere);
    if (!p) return false;
    if (!p->is_array() || p->size() != nCount) {
      return Fail(FormatText("%s%s is not a list of %zu values", strWhere.c_str(), szKey, nCount));
    }
    for (std::size_t i = 0; i < nCount; ++i) {
      const Json& v = (*p)[i];
      if (!v.is_number_integer() || v < nMin || v > nMax) {
        return Fail(FormatText("%s%s[%zu] is not a whole number from %d to %d", strWhere.c_str(),
                               szKey, i, nMin, nMax));
      }
      an[i] = v.get<int>();
    }
    return true;
  }
  bool Numbers(const Json& obj, const char* szKey, const std::string& strWhere, std::size_t nCount,
               std::vector<double>& ad) {
    const Json* p = Member(obj, szKey, strWhere);
    if (!p) return false;
    if (!p->is_array() || p->size() != nCount) {
      return Fail(FormatText("%s%s is not a list of %zu numbers", strWhere.c_str(), szKey, nCount));
    }
    ad.resize(nCount);
    for (std::size_t i = 0; i < nCount; ++i) {
      if (!Number((*p)[i], FormatText("%s%s[%zu]", strWhere.c_str(), szKey, i), false, ad[i])) {
        return false;
      }
    }
    return true;
  }

 private:
  std::string& m_strReason;
};

bool ParseRules(CReader& rd, const Json& root, Signature& sig) {
  const Json* pRules = rd.Member(root, "band_rules", "");
  if (!pRules) return false;
  if (!pRules->is_array() || pRules->size() != static_cast<std::size_t>(sig.nBands)) {
    return rd.Fail(FormatText("band_rules is not a list of %d rules, one per band", sig.nBands));
  }
  for (int b = 0; b < sig.nBands; ++b) {
    const Json& rule = (*pRules)[static_cast<std::size_t>(b)];
    const std::string strWhere = FormatText("band_rules[%d].", b);
    if (!rule.is_object()) return rd.Fail(FormatText("band_rules[%d] is not an object", b));
    BandRule& r = sig.aRule[b];
    if (!rd.Bool(rule, "scaled", strWhere, r.bScaled)) return false;
    if (r.bScaled) {
      const Json* pLow = rd.Member(rule, "low", strWhere);
      const Json* pHigh = pLow ? rd.Member(rule, "high", strWhere) : nullptr;
      if (!pHigh || !rd.Number(*pLow, strWhere + "low", false, r.dLow) ||
          !rd.Number(*pHigh, strWhere + "high", false, r.dHigh)) {
        return false;
      }
      if (!(r.dHigh > r.dLow)) return rd.Fail(strWhere + "high is not above low");
    }
    const Json* pNoData = rd.Member(rule, "nodata", strWhere);
    if (!pNoData) return false;
    r.bHasNoData = !pNoData->is_null();
    if (r.bHasNoData && !rd.Number(*pNoData, strWhere + "nodata", true, r.dNoData)) return false;
  }
  return true;
}

// The method and threshold: absent in files of the first programs that wrote signatures, which
// knew only minimum distance without a threshold.
bool ParseMethod(CReader& rd, const Json& root, Signature& sig) {
  if (const auto it = root.find("method"); it != root.end()) {
    if (*it == "max-likelihood") {
      sig.nMethod = kMethodMaximumLikelihood;
    } else if (*it != "min-distance") {
      return rd.Fail("method is not \"min-distance\" or \"max-likelihood\"");
    }
  }
  if (const auto it = root.find("reject_distance"); it != root.end() && !it->is_null()) {
    if (!rd.Int(root, "reject_distance", "", 1, kMaxRejectDistance, sig.nRejectDistance)) {
      return false;
    }
  }
  if (const auto it = root.find("reject_probability_percent"); it != root.end() && !it->is_null()) {
    for (int k = 1; k <= 6 && !sig.nRejectProbability; ++k) {
      if (it->is_number() && it->get<double>() == kadRejectPercent[k]) sig.nRejectProbability = k;
    }
    if (!sig.nRejectProbability) {
      return rd.Fail("reject_probability_percent is not 0.1, 0.5, 1, 2.5, 5 or 10");
    }
  }
  return true;
}

bool ParseCategory(CReader& rd, const Json& cat, int nIndex, int nUsed, Signature& sig,
                   CategorySignature& out) {
  const std::string strWhere = FormatText("categories[%d].", nIndex);
  if (!cat.is_object()) return rd.Fail(FormatText("categories[%d] is not an object", nIndex));
  if (!rd.Int(cat, "category", strWhere, 1, 8, out.nCategory)) return false;
  const Json* pName = rd.Member(cat, "name", strWhere);
  if (!pName) return false;
  if (!pName->is_string()) return rd.Fail(strWhere + "name is not a text");
  out.strName = pName->get<std::string>();
  int anRgb[3];
  if (!rd.Ints(cat, "colour", strWhere, 3, 0, 255, anRgb)) return false;
  out.crColour = Rgb(anRgb[0], anRgb[1], anRgb[2]);
  if (!rd.Bool(cat, "valid", strWhere, out.bValid)) return false;
  if (!rd.Int(cat, "training_pixels", strWhere, 0, kMaxColumns * kMaxLines, out.nTrainingPixels)) {
    return false;
  }
  const std::size_t nBands = static_cast<std::size_t>(sig.nBands);
  if (!rd.Ints(cat, "lower", strWhere, nBands, 0, 255, out.anLower) ||
      !rd.Ints(cat, "upper", strWhere, nBands, 0, 255, out.anUpper) ||
      !rd.Ints(cat, "centre", strWhere, nBands, 0, 255, out.anCentre) ||
      !rd.Numbers(cat, "mean", strWhere, static_cast<std::size_t>(nUsed), out.adMean) ||
      !rd.Numbers(cat, "covariance", strWhere, static_cast<std::size_t>(nUsed * nUsed),
                  out.adCovariance)) {
    return false;
  }
  out.nStatisticsPixels = out.nTrainingPixels;
  return true;
}

}  // namespace

std::vector<int> Signature::UsedBands() const {
  std::vector<int> an;
  for (int b = 0; b < nBands; ++b) {
    if (abUseBand[b]) an.push_back(b);
  }
  return an;
}

void ComputeTrainingStatistics(const std::vector<int>& anBand, TrainingStatistics aStats[8]) {
  static Moments s_aMoments[8];
  std::fill(std::begin(s_aMoments), std::end(s_aMoments), Moments{});
  CountMoments(anBand, s_aMoments);
  const int nUsed = static_cast<int>(anBand.size());
  for (int c = 0; c < 8; ++c) FillStatistics(s_aMoments[c], nUsed, aStats[c]);
}

void RecordGeneratedSignature(const int aanCentre[9][9]) {
  Signature sig;
  sig.nBands = std::clamp(BandCount(), 1, kMaxBands);
  sig.nMethod = g_nClassifyMethod;
  sig.nRejectDistance = g_nRejectDistance;
  sig.nRejectProbability = g_nRejectProbability;
  for (int b = 0; b < sig.nBands; ++b) {
    sig.abUseBand[b] = g_abUseBand[b] == 1;
    if (g_nSensor == Sensor::Raster) sig.aRule[b] = RasterBandRule(b);
  }
  TrainingStatistics aStats[8];
  ComputeTrainingStatistics(sig.UsedBands(), aStats);
  for (int c = 1; c <= 8; ++c) {
    if (g_abClassify[c] != 1) continue;
    CategorySignature cat;
    cat.nCategory = c;
    cat.strName = g_astrCategoryName[c];
    cat.crColour = g_acrCategoryColour[c];
    cat.bValid = g_abCategoryValid[c];
    cat.nTrainingPixels = g_anTrainCount[c];
    for (int b = 1; b <= sig.nBands; ++b) {
      cat.anLower[b - 1] = g_anCatLower[b][c];
      cat.anUpper[b - 1] = g_anCatUpper[b][c];
      cat.anCentre[b - 1] = aanCentre[c][b];
    }
    cat.nStatisticsPixels = aStats[c - 1].nPixels;
    cat.adMean = std::move(aStats[c - 1].adMean);
    cat.adCovariance = std::move(aStats[c - 1].adCovariance);
    sig.aCategories.push_back(std::move(cat));
  }
  s_generated = std::move(sig);
}

const Signature& GeneratedSignature() { return s_generated; }

std::string SignatureJson(const Signature& sig) {
  Json root;
  root["format"] = kszFormat;
  root["version"] = kSignatureVersion;
  root["bands"] = sig.nBands;
  root["method"] = sig.nMethod == kMethodMaximumLikelihood ? "max-likelihood" : "min-distance";
  root["reject_distance"] = sig.nRejectDistance > 0 ? Json(sig.nRejectDistance) : Json(nullptr);
  root["reject_probability_percent"] =
      sig.nRejectProbability > 0 ? Json(kadRejectPercent[sig.nRejectProbability]) : Json(nullptr);
  Json aUsed = Json::array();
  for (int b : sig.UsedBands()) aUsed.push_back(b + 1);
  root["bands_in_use"] = aUsed;
  Json aRules = Json::array();
  for (int b = 0; b < sig.nBands; ++b) {
    const BandRule& r = sig.aRule[b];
    Json rule;
    rule["scaled"] = r.bScaled;
    if (r.bScaled) {
      rule["low"] = r.dLow;
      rule["high"] = r.dHigh;
    }
    rule["nodata"] = r.bHasNoData ? NumberOrNan(r.dNoData) : Json(nullptr);
    aRules.push_back(rule);
  }
  root["band_rules"] = aRules;
  Json aCategories = Json::array();
  for (const CategorySignature& cat : sig.aCategories) {
    Json j;
    j["category"] = cat.nCategory;
    j["name"] = cat.strName;
    j["colour"] = JsonColour(cat.crColour);
    j["valid"] = cat.bValid;
    j["training_pixels"] = cat.nTrainingPixels;
    const auto perBand = [&](const int* an) {
      return Json(std::vector<int>(an, an + sig.nBands));
    };
    j["lower"] = perBand(cat.anLower);
    j["upper"] = perBand(cat.anUpper);
    j["centre"] = perBand(cat.anCentre);
    j["mean"] = cat.adMean;
    j["covariance"] = cat.adCovariance;
    aCategories.push_back(j);
  }
  root["categories"] = aCategories;
  return root.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

bool ParseSignature(std::string_view strJson, Signature& sig, std::string& strReason) {
  sig = Signature{};
  CReader rd(strReason);
  const Json root = Json::parse(strJson, nullptr, false);
  if (root.is_discarded()) return rd.Fail("the file is not JSON");
  if (!root.is_object()) return rd.Fail("the file is not a JSON object");
  const Json* pFormat = rd.Member(root, "format", "");
  if (!pFormat) return false;
  if (!pFormat->is_string() || pFormat->get<std::string>() != kszFormat) {
    return rd.Fail(FormatText("format is not \"%s\"", kszFormat));
  }
  const Json* pVersion = rd.Member(root, "version", "");
  if (!pVersion) return false;
  if (!pVersion->is_number_integer() || *pVersion != kSignatureVersion) {
    return rd.Fail(FormatText("version %s is not %d, the version this program reads",
                              pVersion->dump().c_str(), kSignatureVersion));
  }
  if (!rd.Int(root, "bands", "", 1, kMaxBands, sig.nBands)) return false;
  if (!ParseMethod(rd, root, sig)) return false;
  const Json* pUsed = rd.Member(root, "bands_in_use", "");
  if (!pUsed) return false;
  if (!pUsed->is_array() || pUsed->empty()) return rd.Fail("bands_in_use is not a list of bands");
  for (const Json& band : *pUsed) {
    if (!band.is_number_integer() || band < 1 || band > sig.nBands) {
      return rd.Fail(FormatText("bands_in_use holds %s, not a band from 1 to %d",
                                band.dump().c_str(), sig.nBands));
    }
    bool& bUse = sig.abUseBand[band.get<int>() - 1];
    if (bUse) return rd.Fail(FormatText("bands_in_use names band %s twice", band.dump().c_str()));
    bUse = true;
  }
  if (!ParseRules(rd, root, sig)) return false;
  const Json* pCategories = rd.Member(root, "categories", "");
  if (!pCategories) return false;
  if (!pCategories->is_array() || pCategories->empty() || pCategories->size() > 8) {
    return rd.Fail("categories is not a list of 1 to 8 categories");
  }
  const int nUsed = static_cast<int>(pUsed->size());
  bool abSeen[9] = {};
  for (std::size_t i = 0; i < pCategories->size(); ++i) {
    CategorySignature cat;
    if (!ParseCategory(rd, (*pCategories)[i], static_cast<int>(i), nUsed, sig, cat)) return false;
    if (abSeen[cat.nCategory]) {
      return rd.Fail(FormatText("category %d comes twice", cat.nCategory));
    }
    abSeen[cat.nCategory] = true;
    sig.aCategories.push_back(std::move(cat));
  }
  std::sort(sig.aCategories.begin(), sig.aCategories.end(),
            [](const CategorySignature& a, const CategorySignature& b) {
              return a.nCategory < b.nCategory;
            });
  return true;
}

bool WriteSignatureFile(const std::string& strPath, const Signature& sig, std::string& strReason) {
  const std::string strJson = SignatureJson(sig);
  return WriteFileAtomically(
      strPath,
      std::span(reinterpret_cast<const std::uint8_t*>(strJson.data()), strJson.size()),
      strReason);
}

bool ReadSignatureFile(const std::string& strPath, Signature& sig, std::string& strReason) {
  ByteBuffer ab;
  if (!ReadWholeFile(strPath, kMaxSignatureBytes, "signature file", ab, strReason)) return false;
  return ParseSignature(
      std::string_view(reinterpret_cast<const char*>(ab.data()), ab.size()), sig, strReason);
}

bool ApplySignature(const Signature& sig, std::string& strReason) {
  const int nBands = BandCount();
  for (int b : sig.UsedBands()) {
    if (b >= nBands) {
      strReason = FormatText("the signatures use band %d; the scene has %d", b + 1, nBands);
      return false;
    }
  }
  for (int b = 0; b < kMaxBands; ++b) {
    g_abUseBand[b] = b < nBands && b < sig.nBands && sig.abUseBand[b] ? 1 : 0;
  }
  for (int c = 1; c <= 8; ++c) g_abClassify[c] = 0;
  for (const CategorySignature& cat : sig.aCategories) {
    const int c = cat.nCategory;
    g_astrCategoryName[c] = cat.strName;
    g_acrCategoryColour[c] = cat.crColour;
    for (int b = 1; b <= kMaxBands; ++b) {
      // Bands the model does not range accept every value.
      const bool bRanged = b <= sig.nBands && b <= nBands;
      g_anCatLower[b][c] = bRanged ? cat.anLower[b - 1] : 0;
      g_anCatUpper[b][c] = bRanged ? cat.anUpper[b - 1] : 255;
    }
    g_anTrainCount[c] = cat.nTrainingPixels;
    g_abCategoryValid[c] = cat.bValid;
    g_abClassify[c] = 1;
  }
  g_nClassifyMethod = sig.nMethod;
  g_nRejectDistance = sig.nRejectDistance;
  g_nRejectProbability = sig.nRejectProbability;
  g_bClassified = false;
  return true;
}

bool SaveSignatures(const std::string& strPath) {
  std::string strReason;
  if (WriteSignatureFile(strPath, GeneratedSignature(), strReason)) return true;
  ShowMessage(FormatText(kszMsgSignatureNotSaved, strPath.c_str(), strReason.c_str()),
              kszCapSignature);
  return false;
}

bool LoadSignatures(const std::string& strPath) {
  Signature sig;
  std::string strReason;
  if (ReadSignatureFile(strPath, sig, strReason) && ApplySignature(sig, strReason)) {
    NoteDocumentChanges();
    return true;
  }
  ShowMessage(FormatText(kszMsgSignatureNotRead, strPath.c_str(), strReason.c_str()),
              kszCapSignature);
  return false;
}
