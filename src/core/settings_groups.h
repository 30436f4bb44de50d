// Settings groups: each picture or feature owns a group of settings in the program state and
// registers how to reset it. The import, a fresh program and (later) the defaults commands and
// the work file go through these registrations, so no one else names the groups.
#pragma once

#include <span>

struct SettingsGroup {
  const char* szName;
  void (*pfnResetQuery)();         // how the data is shown, back to the defaults
  void (*pfnResetPalette)();       // the colours, back to the defaults (null: none)
  void (*pfnClearDerived)();       // tables computed from the settings, back to empty (null: none)
};

// Adds a group; a group of the same name is replaced.
void RegisterSettingsGroup(const SettingsGroup& group);
std::span<const SettingsGroup> SettingsGroups();

// Every group's query reset, in the order of registration.
void ResetQueries();
// Every group's palette reset, in the order of registration.
void ResetPalettes();
// The query and/or palette reset of the group named szName (nothing when none is registered).
void ResetGroup(const char* szName, bool bQuery, bool bPalette);
