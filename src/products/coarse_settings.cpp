// The coarse settings group: its work-file section, report lines and "stats" entries.
#include "products/coarse_settings.h"

#include <algorithm>
#include <nlohmann/json.hpp>

#include "core/archive.h"
#include "core/settings_groups.h"
#include "core/text_format.h"
#include "products/coarse.h"

CoarseSettings g_coarse;
std::uint8_t g_abCoarseRankOfValue[256];
std::uint32_t g_anCoarseHist[256];
std::uint32_t g_nCoarseHistMax;
std::uint32_t g_anRankCount[9];

namespace {

CoarseSettings s_staged;

const char* const kaszSection[] = {"coarse"};
const char* const kaszLabel[] = {"粗画像"};

// The band, then per band the upper bounds, the colouring flags and the colours of ranks 1..8.
bool WriteSection(ArchiveWriter& out, int, std::string&) {
  out.Int(g_nCoarseBand);
  for (int b = 1; b <= kMaxBands; ++b) {
    for (int k = 1; k <= 8; ++k) out.Int(g_anRankUpper[k][b]);
    for (int k = 1; k <= 8; ++k) out.Int(g_anRankColourOn[k][b]);
    for (int k = 1; k <= 8; ++k) out.Int(static_cast<std::int32_t>(g_acrRankColour[k][b]));
  }
  return true;
}

bool ReadSection(ArchiveReader& in, int) {
  CoarseSettings& s = s_staged;
  if (!in.Ints(&s.nCoarseBand, 1)) return false;
  for (int b = 1; b <= kMaxBands; ++b) {
    int an[24];
    if (!in.Ints(an, 24)) return false;
    for (int k = 1; k <= 8; ++k) {
      s.anRankUpper[k][b] = an[k - 1];
      s.anRankColourOn[k][b] = an[8 + k - 1];
      s.acrRankColour[k][b] = static_cast<Colorref>(an[16 + k - 1]);
    }
  }
  return true;
}

bool ValidateSection(const int abInFile[], std::string& strReason) {
  return abInFile[0] != 1 ||
         !SettingOutside(strReason, "the coarse picture's band", s_staged.nCoarseBand, 1, kMaxBands);
}

void CommitSection(const int abInFile[]) {
  if (abInFile[0] == 1) {
    g_coarse = s_staged;
  } else {
    ResetCoarseQuery();
    ResetCoarsePalette();
  }
}

// Only the bands present get a line; with no data there are none.
void ReportLines(std::vector<ReportLine>& aLines) {
  aLines.push_back({10, "粗画像"});
  for (int b = 1; b <= std::clamp(BandCount(), 0, kMaxBands); ++b) {
    aLines.push_back(
        {10 + b, FormatText("Band%d Rank1=%d R.2=%d R.3=%d R.4=%d R.5=%d R.6=%d R.7=%d R.8=%d", b,
                            g_anRankUpper[1][b], g_anRankUpper[2][b], g_anRankUpper[3][b],
                            g_anRankUpper[4][b], g_anRankUpper[5][b], g_anRankUpper[6][b],
                            g_anRankUpper[7][b], g_anRankUpper[8][b])});
  }
}

// Per band 1..8: the upper bounds, colours and colouring of ranks 1..8.
void Stats(nlohmann::ordered_json& obj) {
  nlohmann::ordered_json aBands = nlohmann::ordered_json::array();
  for (int b = 1; b <= kMaxBands; ++b) {
    nlohmann::ordered_json band = {{"upper", nlohmann::ordered_json::array()},
                                   {"colours", nlohmann::ordered_json::array()},
                                   {"colouring_on", nlohmann::ordered_json::array()}};
    for (int k = 1; k <= 8; ++k) {
      band["upper"].push_back(g_anRankUpper[k][b]);
      band["colours"].push_back(JsonColour(g_acrRankColour[k][b]));
      band["colouring_on"].push_back(g_anRankColourOn[k][b] == 1);
    }
    aBands.push_back(std::move(band));
  }
  obj["coarse"] = {{"band", g_nCoarseBand}, {"ranks_of_band", std::move(aBands)}};
}

}  // namespace

void RegisterCoarseSettings() {
  RegisterSettingsGroup({
      .szName = "coarse",
      .pfnResetQuery = ResetCoarseQuery,
      .pfnResetPalette = ResetCoarsePalette,
      .bResetByDefaults = true,
      .workFile = OneSection(kaszSection, kaszLabel, WriteSection, ReadSection, ValidateSection,
                             CommitSection),
      .pfnReportLines = ReportLines,
      .pfnStats = Stats,
      .abSettings = SettingsBytes(g_coarse),
  });
}
