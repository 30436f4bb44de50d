// The composite settings group: its work-file section, report lines and "stats" entries.
#include "products/composite_settings.h"

#include <nlohmann/json.hpp>

#include "core/archive.h"
#include "core/settings_groups.h"
#include "core/text_format.h"
#include "products/composite.h"

CompositeSettings g_composite;
std::uint32_t g_anRedHist[256], g_anGreenHist[256], g_anBlueHist[256];
std::uint32_t g_nRedHistMax, g_nGreenHistMax, g_nBlueHistMax;

namespace {

CompositeSettings s_staged;

const char* const kaszSection[] = {"composite"};
const char* const kaszLabel[] = {"合成画像"};

// The rate, the bands, the bounds of red, green and blue, the tables as red, green, blue of
// value 0, then of 1, ..., and the link of the cut-off.
bool WriteSection(ArchiveWriter& out, int, std::string&) {
  const CompositeSettings& s = g_composite;
  for (int n : {s.nCutOffRate, s.nRedBand, s.nGreenBand, s.nBlueBand, s.nRedLower, s.nRedUpper,
                s.nGreenLower, s.nGreenUpper, s.nBlueLower, s.nBlueUpper}) {
    out.Int(n);
  }
  for (int v = 0; v < 256; ++v) {
    const std::uint8_t abRgb[3] = {s.abRedLut[v], s.abGreenLut[v], s.abBlueLut[v]};
    out.Bytes(abRgb, 3);
  }
  out.Int(s.bCutOffLinked);
  return true;
}

bool ReadSection(ArchiveReader& in, int) {
  CompositeSettings& s = s_staged;
  int an[10];
  std::uint8_t abLut[768];
  if (!in.Ints(an, 10) || !in.Bytes(abLut, sizeof abLut) || !in.Ints(&s.bCutOffLinked, 1)) {
    return false;
  }
  s.nCutOffRate = an[0];
  s.nRedBand = an[1];
  s.nGreenBand = an[2];
  s.nBlueBand = an[3];
  s.nRedLower = an[4];
  s.nRedUpper = an[5];
  s.nGreenLower = an[6];
  s.nGreenUpper = an[7];
  s.nBlueLower = an[8];
  s.nBlueUpper = an[9];
  for (int v = 0; v < 256; ++v) {
    s.abRedLut[v] = abLut[3 * v];
    s.abGreenLut[v] = abLut[3 * v + 1];
    s.abBlueLut[v] = abLut[3 * v + 2];
  }
  return true;
}

bool ValidateSection(const int abInFile[], std::string& strReason) {
  if (abInFile[0] != 1) return true;
  const CompositeSettings& s = s_staged;
  if (SettingOutside(strReason, "the composite's cut-off rate", s.nCutOffRate, 0, 49) ||
      SettingOutside(strReason, "the composite's red band", s.nRedBand, 1, kMaxBands) ||
      SettingOutside(strReason, "the composite's green band", s.nGreenBand, 1, kMaxBands) ||
      SettingOutside(strReason, "the composite's blue band", s.nBlueBand, 1, kMaxBands) ||
      SettingOutside(strReason, "the composite's link of the cut-off", s.bCutOffLinked, 0, 1)) {
    return false;
  }
  const int anLower[3] = {s.nRedLower, s.nGreenLower, s.nBlueLower};
  const int anUpper[3] = {s.nRedUpper, s.nGreenUpper, s.nBlueUpper};
  for (int k = 0; k < 3; ++k) {
    if (SettingOutside(strReason, "a lower value of the composite", anLower[k], 0, 254) ||
        SettingOutside(strReason, "an upper value of the composite", anUpper[k], anLower[k] + 1,
                       255)) {
      return false;
    }
  }
  return true;
}

// Without its section the composite takes its default query (it has no palette).
void CommitSection(const int abInFile[]) {
  if (abInFile[0] == 1) {
    g_composite = s_staged;
  } else {
    ResetCompositeQuery();
  }
}

void ReportLines(std::vector<ReportLine>& aLines) {
  aLines.push_back({4, "合成画像"});
  aLines.push_back({5, FormatText("上下限切り捨て率：%d", g_nCutOffRate)});
  aLines.push_back({6, FormatText("赤の下限値：%d  上限値：%d", g_nRedLower, g_nRedUpper)});
  aLines.push_back({7, FormatText("緑の下限値：%d  上限値：%d", g_nGreenLower, g_nGreenUpper)});
  aLines.push_back({8, FormatText("青の下限値：%d  上限値：%d", g_nBlueLower, g_nBlueUpper)});
}

void Stats(nlohmann::ordered_json& obj) {
  obj["composite"] = {
      {"red_band", g_nRedBand},       {"green_band", g_nGreenBand},
      {"blue_band", g_nBlueBand},     {"red_lower", g_nRedLower},
      {"red_upper", g_nRedUpper},     {"green_lower", g_nGreenLower},
      {"green_upper", g_nGreenUpper}, {"blue_lower", g_nBlueLower},
      {"blue_upper", g_nBlueUpper},   {"cutoff_rate", g_nCutOffRate},
      {"cutoff_linked", g_bCutOffLinked == 1},
  };
}

// A stretch no picture could be drawn with can only come from memory written wrongly.
bool CheckComposite(std::string& strWhy) {
  const CompositeSettings& s = g_composite;
  const int anLower[3] = {s.nRedLower, s.nGreenLower, s.nBlueLower};
  const int anUpper[3] = {s.nRedUpper, s.nGreenUpper, s.nBlueUpper};
  const int anBand[3] = {s.nRedBand, s.nGreenBand, s.nBlueBand};
  for (int k = 0; k < 3; ++k) {
    if (anLower[k] < 0 || anUpper[k] > 255 || anLower[k] >= anUpper[k]) {
      strWhy = "a composite stretch out of range";
      return false;
    }
    if (anBand[k] < 1 || anBand[k] > kMaxBands) {
      strWhy = "a composite band outside 1..8";
      return false;
    }
  }
  return true;
}

}  // namespace

void RegisterCompositeSettings() {
  RegisterSettingsGroup({
      .szName = "composite",
      .pfnResetQuery = ResetCompositeQuery,
      .pfnClearDerived = ClearCompositeTables,
      .bResetByDefaults = true,
      .workFile = OneSection(kaszSection, kaszLabel, WriteSection, ReadSection, ValidateSection,
                             CommitSection),
      .pfnReportLines = ReportLines,
      .pfnStats = Stats,
      .abSettings = SettingsBytes(g_composite),
  });
  RegisterConsistencyCheck(CheckComposite);
}
