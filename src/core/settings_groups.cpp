#include "core/settings_groups.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <nlohmann/json.hpp>

#include "core/document.h"
#include "core/text_format.h"

namespace {
constexpr std::size_t kMaxGroups = 16;
SettingsGroup s_aGroups[kMaxGroups];
std::size_t s_nGroups = 0;

[[noreturn]] void Refuse(const char* szWhy, const char* szName) {
  std::fprintf(stderr, "settings group \"%s\": %s\n", szName, szWhy);
  std::abort();
}
}  // namespace

void RegisterSettingsGroup(const SettingsGroup& group) {
  for (const SettingsGroup& old : SettingsGroups()) {
    if (std::strcmp(old.szName, group.szName) == 0) Refuse("registered twice", group.szName);
  }
  if (s_nGroups == kMaxGroups) Refuse("the table of settings groups is full", group.szName);
  if (!group.pfnResetQuery) Refuse("has no query reset", group.szName);
  const WorkFileSectionCodec& codec = group.workFile;
  if (codec.nCount > 0 && (!codec.aszNames || !codec.aszLabels || !codec.pfnWrite || !codec.pfnRead ||
                           !codec.pfnValidate || !codec.pfnCommit)) {
    Refuse("has work-file sections without their names, writer, reader, check or commit",
           group.szName);
  }
  for (const WorkFileRecord& record : codec.aRecords) {
    if (codec.nCount == 0 || record.nTag <= 0 || !record.pfnNeeded || !record.pfnWrite ||
        !record.pfnRead || !record.pfnUnstage) {
      Refuse("has an extension record without sections, a tag, its test, writer, reader or "
             "unstaging",
             group.szName);
    }
    for (const SettingsGroup& old : SettingsGroups()) {
      for (const WorkFileRecord& other : old.workFile.aRecords) {
        if (other.nTag == record.nTag) Refuse("takes another group's record tag", group.szName);
      }
    }
  }
  s_aGroups[s_nGroups++] = group;
}

std::span<const SettingsGroup> SettingsGroups() { return {s_aGroups, s_nGroups}; }

void TruncateSettingsGroups(std::size_t nCount) {
  if (nCount < s_nGroups) s_nGroups = nCount;
}

void ResetQueries() {
  for (const SettingsGroup& group : SettingsGroups()) group.pfnResetQuery();
}

void ResetPalettes() {
  for (const SettingsGroup& group : SettingsGroups()) {
    if (group.pfnResetPalette) group.pfnResetPalette();
  }
}

void ResetDefaults(bool bQuery, bool bPalette) {
  for (const SettingsGroup& group : SettingsGroups()) {
    if (!group.bResetByDefaults) continue;
    if (bQuery) group.pfnResetQuery();
    if (bPalette && group.pfnResetPalette) group.pfnResetPalette();
  }
}

void NotifyBandsChanged() {
  // New band values are a change the work file would keep.
  MarkDocumentModified();
  for (const SettingsGroup& group : SettingsGroups()) {
    if (group.pfnBandsChanged) group.pfnBandsChanged();
  }
}

void AppendGroupReportLines(std::vector<ReportLine>& aLines) {
  for (const SettingsGroup& group : SettingsGroups()) {
    if (group.pfnReportLines) group.pfnReportLines(aLines);
  }
}

// Word by word, then the odd bytes. Reads only memory the program owns; under the sanitizers
// the checks of every load would triple the fuzz targets' time.
__attribute__((no_sanitize("address"))) std::uint64_t DigestBytes(std::uint64_t nHash,
                                                                  const void* p, std::size_t n) {
  const auto* pb = static_cast<const std::uint8_t*>(p);
  std::size_t i = 0;
  for (; i + 8 <= n; i += 8) {
    std::uint64_t w;
    std::memcpy(&w, pb + i, 8);
    nHash = (nHash ^ w) * 0x100000001B3ull;
  }
  for (; i < n; ++i) nHash = (nHash ^ pb[i]) * 0x100000001B3ull;
  return nHash;
}

std::uint64_t DigestText(std::uint64_t nHash, const std::string& str) {
  const std::uint64_t nSize = str.size();
  return DigestBytes(DigestBytes(nHash, str.data(), str.size()), &nSize, sizeof nSize);
}

std::uint64_t SettingsGroupsDigest() {
  std::uint64_t nHash = kDigestStart;
  for (const SettingsGroup& group : SettingsGroups()) {
    nHash = DigestBytes(nHash, group.abSettings.data(), group.abSettings.size());
    for (const std::string& str : group.astrTexts) nHash = DigestText(nHash, str);
  }
  return nHash;
}

bool SettingOutside(std::string& strReason, const char* szWhat, int n, int nMin, int nMax) {
  if (n >= nMin && n <= nMax) return false;
  strReason = FormatText("%s is %d, outside %d..%d", szWhat, n, nMin, nMax);
  return true;
}

nlohmann::ordered_json JsonColour(std::uint32_t crColour) {
  return {crColour & 0xFF, (crColour >> 8) & 0xFF, (crColour >> 16) & 0xFF};
}
