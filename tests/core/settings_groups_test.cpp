// The settings-group registry: refusals at start-up and the digest the fuzz targets compare.
#include <gtest/gtest.h>

#include <cstdio>

#include "classification/category_settings.h"
#include "core/settings_groups.h"
#include "products/coarse_settings.h"

namespace {

void NoReset() {}

// A table filled up to its end, in the death test's child only.
void RegisterUntilFull() {
  static char s_aszNames[64][16];
  for (int i = 0; i < 64; ++i) {
    std::snprintf(s_aszNames[i], sizeof s_aszNames[i], "filler %d", i);
    RegisterSettingsGroup({.szName = s_aszNames[i], .pfnResetQuery = NoReset});
  }
}

}  // namespace

TEST(SettingsGroupsDeathTest, DuplicatesFullTablesAndIncompleteSectionsStopTheStart) {
  EXPECT_DEATH(RegisterSettingsGroup({.szName = "coarse", .pfnResetQuery = NoReset}),
               "settings group \"coarse\": registered twice");
  EXPECT_DEATH(RegisterUntilFull(), "the table of settings groups is full");
  EXPECT_DEATH(RegisterSettingsGroup({.szName = "half", .pfnResetQuery = NoReset,
                                      .workFile = {.nCount = 1}}),
               "\"half\": has work-file sections without");
  EXPECT_DEATH(RegisterSettingsGroup({.szName = "no reset"}), "has no query reset");
}

TEST(SettingsGroupsTest, TheDigestFollowsEveryByteOfTheSettingsAndTheTexts) {
  const std::uint64_t nBefore = SettingsGroupsDigest();
  EXPECT_EQ(SettingsGroupsDigest(), nBefore);
  // A member no code names when it registers its group: the last of the coarse colours.
  const Colorref crOld = g_coarse.acrRankColour[8][8];
  g_coarse.acrRankColour[8][8] = crOld ^ 1u;
  EXPECT_NE(SettingsGroupsDigest(), nBefore);
  g_coarse.acrRankColour[8][8] = crOld;
  EXPECT_EQ(SettingsGroupsDigest(), nBefore);
  const std::string strOld = g_astrCategoryName[8];
  g_astrCategoryName[8] += "x";
  EXPECT_NE(SettingsGroupsDigest(), nBefore);
  g_astrCategoryName[8] = strOld;
  EXPECT_EQ(SettingsGroupsDigest(), nBefore);
}
