// The fine settings group: its work-file section, report lines and "stats" entries.
#include "products/fine_settings.h"

#include <algorithm>
#include <nlohmann/json.hpp>

#include "core/archive.h"
#include "core/settings_groups.h"
#include "core/text_format.h"
#include "products/fine.h"

FineSettings g_fine;
std::uint8_t g_abFineValueOn[256][9];
int g_anFineRed[256], g_anFineGreen[256], g_anFineBlue[256];
std::uint32_t g_anFineHist[256];
std::uint32_t g_nFineHistMax;

namespace {

FineSettings s_staged;

const char* const kaszSection[] = {"fine"};
const char* const kaszLabel[] = {"精画像"};

// The band, then per band the interval flags 1..8, the points 1..9 and their colours.
bool WriteSection(ArchiveWriter& out, int, std::string&) {
  out.Int(g_nFineBand);
  for (int b = 1; b <= kMaxBands; ++b) {
    for (int k = 1; k <= 8; ++k) out.Int(g_anFineSpanOn[k][b]);
    for (int k = 1; k <= 9; ++k) out.Int(g_anFinePoint[k][b]);
    for (int k = 1; k <= 9; ++k) out.Int(static_cast<std::int32_t>(g_acrPointColour[k][b]));
  }
  return true;
}

bool ReadSection(ArchiveReader& in, int) {
  FineSettings& s = s_staged;
  if (!in.Ints(&s.nFineBand, 1)) return false;
  for (int b = 1; b <= kMaxBands; ++b) {
    int an[26];
    if (!in.Ints(an, 26)) return false;
    for (int k = 1; k <= 8; ++k) s.anFineSpanOn[k][b] = an[k - 1];
    for (int k = 1; k <= 9; ++k) {
      s.anFinePoint[k][b] = an[8 + k - 1];
      s.acrPointColour[k][b] = static_cast<Colorref>(an[17 + k - 1]);
    }
  }
  return true;
}

bool ValidateSection(const int abInFile[], std::string& strReason) {
  return abInFile[0] != 1 ||
         !SettingOutside(strReason, "the fine picture's band", s_staged.nFineBand, 1, kMaxBands);
}

void CommitSection(const int abInFile[]) {
  if (abInFile[0] == 1) {
    g_fine = s_staged;
  } else {
    ResetFineQuery();
    ResetFinePalette();
  }
}

// Only the bands present get a line; with no data there are none.
void ReportLines(std::vector<ReportLine>& aLines) {
  aLines.push_back({20, "精画像"});
  for (int b = 1; b <= std::clamp(BandCount(), 0, kMaxBands); ++b) {
    aLines.push_back(
        {20 + b,
         FormatText("Band%d Point1=%d P.2=%d P.3=%d P.4=%d P.5=%d P.6=%d P.7=%d P.8=%d P.9=%d", b,
                    g_anFinePoint[1][b], g_anFinePoint[2][b], g_anFinePoint[3][b],
                    g_anFinePoint[4][b], g_anFinePoint[5][b], g_anFinePoint[6][b],
                    g_anFinePoint[7][b], g_anFinePoint[8][b], g_anFinePoint[9][b])});
  }
}

// Per band 1..8: points 1..9 with their colours, and the colouring of intervals 1..8.
void Stats(nlohmann::ordered_json& obj) {
  nlohmann::ordered_json aBands = nlohmann::ordered_json::array();
  for (int b = 1; b <= kMaxBands; ++b) {
    nlohmann::ordered_json band = {{"points", nlohmann::ordered_json::array()},
                                   {"colours", nlohmann::ordered_json::array()},
                                   {"intervals_on", nlohmann::ordered_json::array()}};
    for (int k = 1; k <= 9; ++k) {
      band["points"].push_back(g_anFinePoint[k][b]);
      band["colours"].push_back(JsonColour(g_acrPointColour[k][b]));
    }
    for (int k = 1; k <= 8; ++k) band["intervals_on"].push_back(g_anFineSpanOn[k][b] == 1);
    aBands.push_back(std::move(band));
  }
  obj["fine"] = {{"band", g_nFineBand}, {"points_of_band", std::move(aBands)}};
}

}  // namespace

void RegisterFineSettings() {
  RegisterSettingsGroup({
      .szName = "fine",
      .pfnResetQuery = ResetFineQuery,
      .pfnResetPalette = ResetFinePalette,
      .pfnClearDerived = ClearFineTables,
      .bResetByDefaults = true,
      .workFile = OneSection(kaszSection, kaszLabel, WriteSection, ReadSection, ValidateSection,
                             CommitSection),
      .pfnReportLines = ReportLines,
      .pfnStats = Stats,
      .abSettings = SettingsBytes(g_fine),
  });
}
