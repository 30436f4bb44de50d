// Settings groups: each picture or feature owns a group of settings and registers what the rest
// of the program does with it: the resets, its sections of the work file, its lines of the
// settings report and its entries in "stats". The import, a fresh program, the defaults
// commands, the work file, the report, "stats" and the fuzz targets' state digest go through
// these registrations, so no one else names the groups or their settings.
#pragma once

#include <cstddef>
#include <cstdint>
#include <nlohmann/json_fwd.hpp>
#include <span>
#include <string>
#include <type_traits>
#include <vector>

class ArchiveReader;
class ArchiveWriter;

// One line of the settings report: its top is at nRow x L (L the report's line height).
struct ReportLine {
  int nRow;
  std::string strText;  // UTF-8
};

// A group's sections of the work file: nCount consecutive section flags, each with its name
// (the save options' field and the command line's word). A section is written and read whole;
// reading goes into the group's staging copy, which is checked and taken only when the whole file
// has been read and accepted.
struct WorkFileSectionCodec {
  int nCount = 0;                          // 0: the group keeps nothing in the work file
  const char* const* aszNames = nullptr;   // nCount names
  const char* const* aszLabels = nullptr;  // nCount labels of the save options' boxes (UTF-8)
  // A text shown beside section i's box, read-only (null: none).
  std::string (*pfnDetail)(int i) = nullptr;
  // Section i of the group (0-based) from the settings; false with the reason when a text of
  // it cannot be saved (nothing of the file is written then).
  bool (*pfnWrite)(ArchiveWriter& out, int i, std::string& strReason) = nullptr;
  // Section i into the staging copy; false when the file ends inside it.
  bool (*pfnRead)(ArchiveReader& in, int i) = nullptr;
  // Whether the staged sections (abInFile[i]: section i was in the file) hold values the
  // program can use; false with the setting and its value in strReason.
  bool (*pfnValidate)(const int abInFile[], std::string& strReason) = nullptr;
  // The staged sections become the settings; the group decides what a section that was not in
  // the file leaves behind.
  void (*pfnCommit)(const int abInFile[]) = nullptr;
  // Each section is followed by a block of the pixel plane's marks (the window's pixels, column
  // by column), which the work file writes and reads itself: section i holds the marks at
  // abTrainMark[i].
  bool bMarksFollow = false;

  // The group's records of the extension block that follows the last section (below).
  std::span<const struct WorkFileRecord> aRecords = {};
};

// A record of the work file's extension block: settings newer than the sections. It is written
// only when pfnNeeded says the settings differ from what a file without it means, so a file of
// such defaults stays the classic format byte for byte. A tag is its record's alone, for good.
struct WorkFileRecord {
  int nTag = 0;
  // Whether the next save needs the record (abSaved: the group's section flags of that save).
  bool (*pfnNeeded)(const int abSaved[]) = nullptr;
  // The payload; false with the reason when a text of it cannot be saved.
  bool (*pfnWrite)(ArchiveWriter& out, std::string& strReason) = nullptr;
  // The payload into the staging copy; false when it is shorter than its fields or longer.
  bool (*pfnRead)(ArchiveReader& in) = nullptr;
  // Before a file is read: the staging copy holds what a file without the record means.
  void (*pfnUnstage)() = nullptr;
};

// The usual codec: one section with its name and label.
constexpr WorkFileSectionCodec OneSection(const char* const (&aszName)[1],
                                          const char* const (&aszLabel)[1],
                                          bool (*pfnWrite)(ArchiveWriter&, int, std::string&),
                                          bool (*pfnRead)(ArchiveReader&, int),
                                          bool (*pfnValidate)(const int[], std::string&),
                                          void (*pfnCommit)(const int[])) {
  return {.nCount = 1,
          .aszNames = aszName,
          .aszLabels = aszLabel,
          .pfnWrite = pfnWrite,
          .pfnRead = pfnRead,
          .pfnValidate = pfnValidate,
          .pfnCommit = pfnCommit};
}

struct SettingsGroup {
  const char* szName = "";
  void (*pfnResetQuery)() = nullptr;    // how the data is shown, back to the defaults
  void (*pfnResetPalette)() = nullptr;  // the colours, back to the defaults (null: none)
  // A fresh program: the tables computed from the settings back to empty, and what the group
  // holds besides its query and palette back to its start (null: nothing).
  void (*pfnClearDerived)() = nullptr;
  // New band values under the window (an import, a computed band): what was counted from the
  // old ones is cleared (null: nothing).
  void (*pfnBandsChanged)() = nullptr;
  // The defaults commands ("クエリー", "パレット") reset this group.
  bool bResetByDefaults = false;
  WorkFileSectionCodec workFile = {};
  // The group's lines of the settings report, in row order (null: none).
  void (*pfnReportLines)(std::vector<ReportLine>& aLines) = nullptr;
  // The group's members of the "stats" object (null: none).
  void (*pfnStats)(nlohmann::ordered_json& obj) = nullptr;
  // The group's state as it is compared before and after an input: the bytes of its settings
  // struct (see SettingsBytes) and its texts.
  std::span<const std::byte> abSettings = {};
  std::span<const std::string> astrTexts = {};
};

// The bytes of a settings struct, for SettingsGroup::abSettings. Only structs without pointers
// or owned memory can be compared byte for byte.
template <typename T>
std::span<const std::byte> SettingsBytes(const T& settings) {
  static_assert(std::is_trivially_copyable_v<T>, "settings compared by their bytes");
  return std::as_bytes(std::span<const T, 1>(&settings, 1));
}

// Adds a group. A second group of the same name, or more groups than the table holds, is a
// programming error: it is reported on stderr and the program stops at start-up.
void RegisterSettingsGroup(const SettingsGroup& group);
std::span<const SettingsGroup> SettingsGroups();
// Forgets the groups registered after the first nCount (for tests that add a group of their own).
void TruncateSettingsGroups(std::size_t nCount);

// Every group's query reset, in the order of registration.
void ResetQueries();
// Every group's palette reset, in the order of registration.
void ResetPalettes();
// The query or the palette reset of every group the defaults commands reset.
void ResetDefaults(bool bQuery, bool bPalette);
// Every group's reaction to new band values.
void NotifyBandsChanged();
// Every group's report lines, in the order of registration.
void AppendGroupReportLines(std::vector<ReportLine>& aLines);

// A colour reference (0x00BBGGRR) as "stats" gives colours: [red, green, blue].
nlohmann::ordered_json JsonColour(std::uint32_t crColour);

// For the groups' checks of staged values: false when n lies within nMin..nMax; otherwise true,
// with "<szWhat> is <n>, outside <nMin>..<nMax>" in strReason.
bool SettingOutside(std::string& strReason, const char* szWhat, int n, int nMin, int nMax);

// A digest of every group's settings and texts (FNV-1a), for telling whether anything changed.
std::uint64_t SettingsGroupsDigest();
// FNV-1a over the bytes, continuing from nHash.
std::uint64_t DigestBytes(std::uint64_t nHash, const void* p, std::size_t n);
// The same over a text and its length (so "ab" + "c" and "a" + "bc" differ).
std::uint64_t DigestText(std::uint64_t nHash, const std::string& str);
inline constexpr std::uint64_t kDigestStart = 0xCBF29CE484222325ull;
