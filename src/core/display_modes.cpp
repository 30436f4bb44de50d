#include "core/display_modes.h"

#include <cstdio>
#include <cstdlib>

namespace {
constexpr int kMaxModes = 16;
DisplayModeEntry s_aModes[kMaxModes];
int s_nModes = 0;
const char* s_szDefaultPopup = nullptr;
}  // namespace

void RegisterDisplayMode(const DisplayModeEntry& entry) {
  // A second entry for a mode, or one the full table cannot take, is a programming error that
  // would otherwise only show as a picture painted by the wrong code or not at all.
  if (FindDisplayMode(entry.eMode)) {
    std::fprintf(stderr, "display mode %d is registered twice\n", DisplayModeCode(entry.eMode));
    std::abort();
  }
  if (s_nModes == kMaxModes) {
    std::fprintf(stderr, "no room for display mode %d: the table holds %d modes\n",
                 DisplayModeCode(entry.eMode), kMaxModes);
    std::abort();
  }
  s_aModes[s_nModes++] = entry;
}

const DisplayModeEntry* FindDisplayMode(DisplayMode eMode) {
  for (int i = 0; i < s_nModes; ++i) {
    if (s_aModes[i].eMode == eMode) return &s_aModes[i];
  }
  return nullptr;
}

std::span<const DisplayModeEntry> DisplayModes() {
  return {s_aModes, static_cast<std::size_t>(s_nModes)};
}

void SetDefaultContextPopup(const char* szPopup) { s_szDefaultPopup = szPopup; }
const char* DefaultContextPopup() { return s_szDefaultPopup; }
