// The category settings group: its work-file sections (one per category, each followed by the
// category's training marks), report lines and "stats" entries.
#include "classification/category_settings.h"

#include <algorithm>
#include <cstring>
#include <nlohmann/json.hpp>

#include "classification/categories.h"
#include "classification/classify_method.h"
#include "core/archive.h"
#include "core/settings_groups.h"
#include "core/text_format.h"

CategorySettings g_categories;
std::string g_astrCategoryName[9];
int g_anTrainCount[9];
int g_nRequiredPixels;
std::uint32_t g_anBandInRange[9];
std::uint32_t g_anClassCount[9];
std::uint32_t g_nUnclassifiedCount;
int g_nUnmodelledCategory;
alignas(64) float g_afClassSquared[kMaxColumns][kMaxLines];
std::uint32_t g_anCatHist[8][kMaxBands][256];

namespace {

CategorySettings s_staged;
std::string s_astrStagedName[9];

const char* const kaszSection[8] = {"cat1", "cat2", "cat3", "cat4",
                                    "cat5", "cat6", "cat7", "cat8"};
const char* const kaszLabel[8] = {"カテゴリー１", "カテゴリー２", "カテゴリー３", "カテゴリー４",
                                  "カテゴリー５", "カテゴリー６", "カテゴリー７", "カテゴリー８"};

// Category i + 1: its name, colour, colouring and taking part (its marks follow).
bool WriteSection(ArchiveWriter& out, int i, std::string& strReason) {
  const int c = i + 1;
  if (!out.String(g_astrCategoryName[c])) {
    strReason = FormatText("the name of category %d (\"%s\") has characters that cannot be saved",
                           c, g_astrCategoryName[c].c_str());
    return false;
  }
  out.Int(static_cast<std::int32_t>(g_acrCategoryColour[c]));
  out.Int(g_abClassColourOn[c]);
  out.Int(g_abClassify[c]);
  return true;
}

bool ReadSection(ArchiveReader& in, int i) {
  const int c = i + 1;
  int an[3];
  if (!in.String(s_astrStagedName[c]) || !in.Ints(an, 3)) return false;
  s_staged.acrCategoryColour[c] = static_cast<Colorref>(an[0]);
  s_staged.abClassColourOn[c] = an[1];
  s_staged.abClassify[c] = an[2];
  return true;
}

bool ValidateSection(const int[], std::string&) { return true; }

// The group is reset only when the file holds none of the eight sections: a reset after
// categories 1..7 were read would wipe their colours and flags again. A category whose marks
// were read needs its training area updated before it is used again, and a classification made
// from the old marks is gone.
void CommitSection(const int abInFile[]) {
  bool bAny = false;
  for (int c = 1; c <= 8; ++c) {
    if (abInFile[c - 1] != 1) continue;
    bAny = true;
    g_astrCategoryName[c] = s_astrStagedName[c];
    g_acrCategoryColour[c] = s_staged.acrCategoryColour[c];
    g_abClassColourOn[c] = s_staged.abClassColourOn[c];
    g_abClassify[c] = s_staged.abClassify[c];
    g_abCategoryValid[c] = 0;
    g_bClassified = 0;
  }
  if (!bAny) {
    ResetCategoryQuery();
    ResetCategoryPalette();
  }
}

std::string SectionDetail(int i) { return g_astrCategoryName[i + 1]; }

void ClearDerived() {
  g_nCategory = 1;
  g_bShowGuide = 1;
  std::memset(g_anTrainCount, 0, sizeof g_anTrainCount);
  g_nRequiredPixels = 0;
  std::memset(g_anBandInRange, 0, sizeof g_anBandInRange);
  std::memset(g_anClassCount, 0, sizeof g_anClassCount);
  g_nUnclassifiedCount = 0;
  g_nUnmodelledCategory = 0;
  std::memset(g_anCatHist, 0, sizeof g_anCatHist);
}

// The category images were counted over the old band values.
void BandsChanged() { std::memset(g_anCatHist, 0, sizeof g_anCatHist); }

void ReportLines(std::vector<ReportLine>& aLines) {
  aLines.push_back({30, "カテゴリー画像"});
  for (int c = 1; c <= 8; ++c) {
    aLines.push_back({29 + 2 * c, FormatText("Category%d", c)});
    std::string str = "Band";
    for (int b = 1; b <= kMaxBands; ++b) {
      str += FormatText(b == 1 ? "%d:(%d～%d)" : " %d:(%d～%d)", b, g_anCatLower[b][c],
                        g_anCatUpper[b][c]);
    }
    aLines.push_back({30 + 2 * c, str});
  }
  AppendClassifyMethodReport(aLines);
}

void Stats(nlohmann::ordered_json& obj) {
  const double dArea = PixelGroundArea();
  nlohmann::ordered_json aCategories = nlohmann::ordered_json::array();
  for (int c = 1; c <= 8; ++c) {
    nlohmann::ordered_json lower = nlohmann::ordered_json::array();
    nlohmann::ordered_json upper = nlohmann::ordered_json::array();
    for (int b = 1; b <= kMaxBands; ++b) {
      lower.push_back(g_anCatLower[b][c]);
      upper.push_back(g_anCatUpper[b][c]);
    }
    aCategories.push_back({
        {"number", c},
        {"name", g_astrCategoryName[c]},
        {"colour", JsonColour(g_acrCategoryColour[c])},
        {"lower", std::move(lower)},
        {"upper", std::move(upper)},
        {"training_pixels", g_anTrainCount[c]},
        {"valid", g_abCategoryValid[c] == 1},
        {"takes_part", g_abClassify[c] == 1},
        {"colouring_on", g_abClassColourOn[c] == 1},
        // Hectares, when the pixel's ground area is known in square metres.
        {"class_hectares", dArea > 0.0 ? nlohmann::ordered_json(g_anClassCount[c] * dArea / 10000.0)
                                       : nlohmann::ordered_json(nullptr)},
        {"class_pixels", g_anClassCount[c]},
    });
  }
  obj["categories"] = std::move(aCategories);
  obj["target_category"] = g_nCategory;
  obj["required_pixels"] = g_nRequiredPixels;
  nlohmann::ordered_json aInRange = nlohmann::ordered_json::array();
  for (int b = 1; b <= std::clamp(BandCount(), 0, kMaxBands); ++b) aInRange.push_back(g_anBandInRange[b]);
  obj["band_in_range"] = std::move(aInRange);
  obj["classified"] = g_bClassified == 1;
  obj["unclassified_pixels"] = g_nUnclassifiedCount;
  AppendClassifyMethodStats(obj);
}

bool CheckTarget(std::string& strWhy) {
  if (g_nCategory < 1 || g_nCategory > 8) {
    strWhy = "target category outside 1..8";
    return false;
  }
  if (g_nClassifyMethod < 0 || g_nClassifyMethod > 1 || g_nRejectDistance < 0 ||
      g_nRejectDistance > kMaxRejectDistance || g_nRejectProbability < 0 ||
      g_nRejectProbability > 6) {
    strWhy = "classification method or reject threshold outside its values";
    return false;
  }
  return true;
}

}  // namespace

void RegisterCategorySettings() {
  RegisterSettingsGroup({
      .szName = "category",
      .pfnResetQuery = ResetCategoryQuery,
      .pfnResetPalette = ResetCategoryPalette,
      .pfnClearDerived = ClearDerived,
      .pfnBandsChanged = BandsChanged,
      .bResetByDefaults = true,
      .workFile = {.nCount = 8,
                   .aszNames = kaszSection,
                   .aszLabels = kaszLabel,
                   .pfnDetail = SectionDetail,
                   .pfnWrite = WriteSection,
                   .pfnRead = ReadSection,
                   .pfnValidate = ValidateSection,
                   .pfnCommit = CommitSection,
                   .bMarksFollow = true},
      .pfnReportLines = ReportLines,
      .pfnStats = Stats,
      .abSettings = SettingsBytes(g_categories),
      .astrTexts = g_astrCategoryName,
  });
  RegisterConsistencyCheck(CheckTarget);
}
