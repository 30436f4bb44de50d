#include "core/display_modes.h"

namespace {
constexpr int kMaxModes = 16;
DisplayModeEntry s_aModes[kMaxModes];
int s_nModes = 0;
const char* s_szDefaultPopup = nullptr;
}  // namespace

void RegisterDisplayMode(const DisplayModeEntry& entry) {
  for (int i = 0; i < s_nModes; ++i) {
    if (s_aModes[i].eMode == entry.eMode) {
      s_aModes[i] = entry;
      return;
    }
  }
  if (s_nModes < kMaxModes) s_aModes[s_nModes++] = entry;
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
