// The category settings group: its work-file sections (one per category, each followed by the
// category's training marks), report lines and "stats" entries.
#include "classification/category_settings.h"

#include <algorithm>
#include <cstring>
#include <nlohmann/json.hpp>

#include "classification/categories.h"
#include "classification/classify_method.h"
#include "classification/plots.h"
#include "classification/separability.h"
#include "core/archive.h"
#include "core/file_io.h"
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

// The extension records: the classification method and reject threshold (tag 1), written only
// when they are not the classic minimum distance without a threshold, and the test areas
// (tag 2), written only when there are test pixels.
bool AnySaved(const int abSaved[]) {
  return std::any_of(abSaved, abSaved + 8, [](int n) { return n == 1; });
}

bool ClassifyRecordNeeded(const int abSaved[]) {
  return !ClassifyMethodIsDefault() && AnySaved(abSaved);
}

bool WriteClassifyRecord(ArchiveWriter& out, std::string&) {
  out.Int(g_nClassifyMethod);
  out.Int(g_nRejectDistance);
  out.Int(g_nRejectProbability);
  return true;
}

bool ReadClassifyRecord(ArchiveReader& in) {
  int an[3];
  if (!in.Ints(an, 3)) return false;
  s_staged.nClassifyMethod = an[0];
  s_staged.nRejectDistance = an[1];
  s_staged.nRejectProbability = an[2];
  return true;
}

// A file without the record was saved with the classic method.
void UnstageClassifyRecord() {
  s_staged.nClassifyMethod = kMethodMinimumDistance;
  s_staged.nRejectDistance = 0;
  s_staged.nRejectProbability = 0;
}

// The test areas: the window's width and height, then a byte per pixel, column by column, the
// pixel's reference category 1..8 or 0.
struct StagedTestAreas {
  int nWidth = 0, nHeight = 0;
  std::span<const std::uint8_t> ab;
};
StagedTestAreas s_stagedTest;

bool TestAreasNeeded(const int abSaved[]) {
  if (!HasData() || !AnySaved(abSaved)) return false;
  // A record's eight marks at once: a mark equal to kTestMark is a zero byte of the exclusive
  // or, which the borrow of the subtraction shows in that byte's top bit.
  constexpr std::uint64_t kOnes = 0x0101010101010101ull, kTest = kOnes * kTestMark;
  static_assert(sizeof(PixelRecord::abTrainMark) == 8);
  for (int x = 0; x < WindowWidth(); ++x) {
    for (int y = 0; y < WindowHeight(); ++y) {
      std::uint64_t n;
      std::memcpy(&n, g_aPixel[x][y].abTrainMark, 8);
      n ^= kTest;
      if ((n - kOnes) & ~n & (kOnes << 7)) return true;
    }
  }
  return false;
}

bool WriteTestAreas(ArchiveWriter& out, std::string&) {
  out.Int(WindowWidth());
  out.Int(WindowHeight());
  ByteBuffer& ab = out.Data();
  const std::size_t nStart = ab.size();
  ab.resize(nStart + static_cast<std::size_t>(WindowWidth()) * static_cast<std::size_t>(WindowHeight()));
  std::uint8_t* p = ab.data() + nStart;
  for (int x = 0; x < WindowWidth(); ++x) {
    for (int y = 0; y < WindowHeight(); ++y) {
      std::uint8_t n = 0;
      for (int c = 0; c < 8; ++c) {
        if (g_aPixel[x][y].abTrainMark[c] == kTestMark) n = static_cast<std::uint8_t>(c + 1);
      }
      *p++ = n;
    }
  }
  return true;
}

bool ReadTestAreas(ArchiveReader& in) {
  int an[2];
  if (!in.Ints(an, 2) || an[0] < 1 || an[0] > kMaxColumns || an[1] < 1 || an[1] > kMaxLines) {
    return false;
  }
  s_stagedTest.nWidth = an[0];
  s_stagedTest.nHeight = an[1];
  return in.View(static_cast<std::size_t>(an[0]) * static_cast<std::size_t>(an[1]), s_stagedTest.ab);
}

void UnstageTestAreas() { s_stagedTest = StagedTestAreas{}; }

// Over the training marks just read: each test pixel of the file, its other marks cleared.
void CommitTestAreas() {
  const int nWidth = std::min(s_stagedTest.nWidth, WindowWidth());
  const int nHeight = std::min(s_stagedTest.nHeight, WindowHeight());
  for (int x = 0; x < nWidth; ++x) {
    const std::uint8_t* p = s_stagedTest.ab.data() + static_cast<std::size_t>(x) * static_cast<std::size_t>(s_stagedTest.nHeight);
    for (int y = 0; y < nHeight; ++y) {
      if (p[y] == 0) continue;
      std::uint8_t* pMarks = g_aPixel[x][y].abTrainMark;
      std::fill(pMarks, pMarks + 8, std::uint8_t{0});
      pMarks[p[y] - 1] = kTestMark;
    }
  }
}

// The feature-space picture's bands and boundaries (tag 5), written only when they are not
// the defaults.
bool ScatterRecordNeeded(const int abSaved[]) {
  return !ScatterSettingsAreDefault() && AnySaved(abSaved);
}

bool WriteScatterRecord(ArchiveWriter& out, std::string&) {
  out.Int(g_nScatterBandX);
  out.Int(g_nScatterBandY);
  out.Int(g_bScatterBoundaries ? 1 : 0);
  return true;
}

int s_nStagedBoundaries = 0;

bool ReadScatterRecord(ArchiveReader& in) {
  int an[3];
  if (!in.Ints(an, 3)) return false;
  s_staged.nScatterBandX = an[0];
  s_staged.nScatterBandY = an[1];
  s_nStagedBoundaries = an[2];
  return true;
}

void UnstageScatterRecord() {
  s_staged.nScatterBandX = kDefaultScatterBandX;
  s_staged.nScatterBandY = kDefaultScatterBandY;
  s_nStagedBoundaries = 0;
}

const WorkFileRecord kaRecords[] = {
    {.nTag = 1,
     .pfnNeeded = ClassifyRecordNeeded,
     .pfnWrite = WriteClassifyRecord,
     .pfnRead = ReadClassifyRecord,
     .pfnUnstage = UnstageClassifyRecord},
    {.nTag = 2,
     .pfnNeeded = TestAreasNeeded,
     .pfnWrite = WriteTestAreas,
     .pfnRead = ReadTestAreas,
     .pfnUnstage = UnstageTestAreas},
    {.nTag = 5,
     .pfnNeeded = ScatterRecordNeeded,
     .pfnWrite = WriteScatterRecord,
     .pfnRead = ReadScatterRecord,
     .pfnUnstage = UnstageScatterRecord},
};

bool ValidateSection(const int[], std::string& strReason) {
  const auto itBad = std::find_if(s_stagedTest.ab.begin(), s_stagedTest.ab.end(),
                                  [](std::uint8_t n) { return n > 8; });
  if (itBad != s_stagedTest.ab.end()) {
    strReason = FormatText("a test pixel names category %d", *itBad);
    return false;
  }
  return !SettingOutside(strReason, "the classification method", s_staged.nClassifyMethod, 0, 1) &&
         !SettingOutside(strReason, "the reject distance", s_staged.nRejectDistance, 0,
                         kMaxRejectDistance) &&
         !SettingOutside(strReason, "the reject probability", s_staged.nRejectProbability, 0, 6) &&
         !SettingOutside(strReason, "the feature space's band across", s_staged.nScatterBandX, 1,
                         kMaxBands) &&
         !SettingOutside(strReason, "the feature space's band up", s_staged.nScatterBandY, 1,
                         kMaxBands) &&
         !SettingOutside(strReason, "the feature space's boundaries", s_nStagedBoundaries, 0, 1);
}

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
  if (bAny) {
    CommitTestAreas();
    g_nClassifyMethod = s_staged.nClassifyMethod;
    g_nRejectDistance = s_staged.nRejectDistance;
    g_nRejectProbability = s_staged.nRejectProbability;
    g_nScatterBandX = s_staged.nScatterBandX;
    g_nScatterBandY = s_staged.nScatterBandY;
    g_bScatterBoundaries = s_nStagedBoundaries == 1;
  } else {
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
  AppendScatterReport(aLines);
}

void Stats(nlohmann::ordered_json& obj) {
  const double dArea = PixelGroundArea();
  std::uint32_t anTest[9] = {};
  for (int x = 0; x < WindowWidth(); ++x) {
    for (int y = 0; y < WindowHeight(); ++y) {
      for (int c = 0; c < 8; ++c) anTest[c + 1] += g_aPixel[x][y].abTrainMark[c] == kTestMark;
    }
  }
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
        {"test_pixels", anTest[c]},
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
  obj["paint_area"] = g_bPaintTest ? "test" : "training";
  obj["unclassified_pixels"] = g_nUnclassifiedCount;
  AppendClassifyMethodStats(obj);
  AppendSeparabilityStats(obj);
  AppendScatterStats(obj);
}

bool CheckTarget(std::string& strWhy) {
  if (g_nCategory < 1 || g_nCategory > 8) {
    strWhy = "target category outside 1..8";
    return false;
  }
  if (g_nClassifyMethod < 0 || g_nClassifyMethod > 1 || g_nRejectDistance < 0 ||
      g_nRejectDistance > kMaxRejectDistance || g_nRejectProbability < 0 ||
      g_nRejectProbability > 6 || g_nScatterBandX < 1 || g_nScatterBandX > kMaxBands ||
      g_nScatterBandY < 1 || g_nScatterBandY > kMaxBands) {
    strWhy = "classification method, reject threshold or feature-space bands outside their values";
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
                   .bMarksFollow = true,
                   .aRecords = kaRecords},
      .pfnReportLines = ReportLines,
      .pfnStats = Stats,
      .abSettings = SettingsBytes(g_categories),
      .astrTexts = g_astrCategoryName,
  });
  RegisterConsistencyCheck(CheckTarget);
}
