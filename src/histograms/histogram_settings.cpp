// The histogram settings group: its work-file section and "stats" entries.
#include "histograms/histogram_settings.h"

#include <cstring>
#include <nlohmann/json.hpp>

#include "core/archive.h"
#include "core/commands.h"
#include "core/settings_groups.h"
#include "histograms/histograms.h"

HistogramSettings g_histogram;
std::uint32_t g_nHistLastK = 0;

namespace {

HistogramSettings s_staged;

const char* const kaszSection[] = {"histogram"};
const char* const kaszLabel[] = {"ヒストグラム（線の幅と色）"};

// The cursor, the line widths and the line colours of bands 1..8.
bool WriteSection(ArchiveWriter& out, int, std::string&) {
  out.Int(g_nHistCursor);
  for (int b = 1; b <= kMaxBands; ++b) out.Int(g_anHistLineWidth[b]);
  for (int b = 1; b <= kMaxBands; ++b) out.Int(static_cast<std::int32_t>(g_acrHistLineColour[b]));
  return true;
}

bool ReadSection(ArchiveReader& in, int) {
  int anColour[kMaxBands];
  if (!in.Ints(&s_staged.nHistCursor, 1) || !in.Ints(&s_staged.anHistLineWidth[1], kMaxBands) ||
      !in.Ints(anColour, kMaxBands)) {
    return false;
  }
  for (int b = 1; b <= kMaxBands; ++b) {
    s_staged.acrHistLineColour[b] = static_cast<Colorref>(anColour[b - 1]);
  }
  return true;
}

bool ValidateSection(const int abInFile[], std::string& strReason) {
  if (abInFile[0] != 1) return true;
  if (SettingOutside(strReason, "the histogram's cursor", s_staged.nHistCursor, 0, 255)) {
    return false;
  }
  for (int b = 1; b <= kMaxBands; ++b) {
    if (SettingOutside(strReason, "a histogram line width", s_staged.anHistLineWidth[b], 1, 3)) {
      return false;
    }
  }
  return true;
}

// The file keeps the cursor and the lines; the kind, type and scale stay as they are.
void CommitSection(const int abInFile[]) {
  if (abInFile[0] == 1) {
    g_nHistCursor = s_staged.nHistCursor;
    std::memcpy(g_anHistLineWidth, s_staged.anHistLineWidth, sizeof g_anHistLineWidth);
    std::memcpy(g_acrHistLineColour, s_staged.acrHistLineColour, sizeof g_acrHistLineColour);
  } else {
    ResetHistogramQuery();
    ResetHistogramPalette();
  }
}

void ClearDerived() { g_nHistLastK = 0; }

// The command line's word for the row of option szOption whose number is nArg.
const char* CliWord(const char* szOption, int nArg) {
  for (const CommandEntry& cmd : CommandTable()) {
    if (cmd.szCliOption && std::strcmp(cmd.szCliOption, szOption) == 0 && cmd.nArg == nArg) {
      return cmd.szCliValue ? cmd.szCliValue : "";
    }
  }
  return "";
}

// The detailed histogram's settings by the command line's words.
void Stats(nlohmann::ordered_json& obj) {
  nlohmann::ordered_json aColours = nlohmann::ordered_json::array();
  nlohmann::ordered_json aWidths = nlohmann::ordered_json::array();
  for (int b = 1; b <= kMaxBands; ++b) {
    aColours.push_back(JsonColour(g_acrHistLineColour[b]));
    aWidths.push_back(g_anHistLineWidth[b]);
  }
  obj["histogram"] = {
      {"kind", CliWord("--hist-kind", g_nHistKind)},
      {"type", CliWord("--hist-type", g_nHistType)},
      {"scale", CliWord("--hist-scale", g_nHistScale)},
      {"cursor", g_nHistCursor},
      {"line_colours", std::move(aColours)},
      {"line_widths", std::move(aWidths)},
  };
}

}  // namespace

void RegisterHistogramSettings() {
  RegisterSettingsGroup({
      .szName = "histogram",
      .pfnResetQuery = ResetHistogramQuery,
      .pfnResetPalette = ResetHistogramPalette,
      .pfnClearDerived = ClearDerived,
      .workFile = OneSection(kaszSection, kaszLabel, WriteSection, ReadSection, ValidateSection,
                             CommitSection),
      .pfnStats = Stats,
      .abSettings = SettingsBytes(g_histogram),
  });
}
