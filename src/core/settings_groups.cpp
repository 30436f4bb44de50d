#include "core/settings_groups.h"

#include <cstring>

namespace {
constexpr int kMaxGroups = 16;
SettingsGroup s_aGroups[kMaxGroups];
int s_nGroups = 0;
}  // namespace

void RegisterSettingsGroup(const SettingsGroup& group) {
  for (int i = 0; i < s_nGroups; ++i) {
    if (std::strcmp(s_aGroups[i].szName, group.szName) == 0) {
      s_aGroups[i] = group;
      return;
    }
  }
  if (s_nGroups < kMaxGroups) s_aGroups[s_nGroups++] = group;
}

std::span<const SettingsGroup> SettingsGroups() {
  return {s_aGroups, static_cast<std::size_t>(s_nGroups)};
}

void ResetQueries() {
  for (const SettingsGroup& group : SettingsGroups()) group.pfnResetQuery();
}

void ResetPalettes() {
  for (const SettingsGroup& group : SettingsGroups()) {
    if (group.pfnResetPalette) group.pfnResetPalette();
  }
}

void ResetGroup(const char* szName, bool bQuery, bool bPalette) {
  for (const SettingsGroup& group : SettingsGroups()) {
    if (std::strcmp(group.szName, szName) != 0) continue;
    if (bQuery) group.pfnResetQuery();
    if (bPalette && group.pfnResetPalette) group.pfnResetPalette();
  }
}
