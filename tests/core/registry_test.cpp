// The registries refuse rows they cannot keep: a second row for an id and a row beyond a full
// table stop the program with a message naming the id, instead of replacing or dropping a row.
// Each case runs in a child process, which starts from the program's own registrations.
#include <gtest/gtest.h>

#include "core/commands.h"
#include "core/display_modes.h"
#include "resources/resource.h"

namespace {

// Ids and mode codes far from anything the program registers.
constexpr int kFirstSpareId = 900000;
constexpr int kFirstSpareMode = 1000;

// More rows than any table holds, all with ids of their own.
void RegisterManyCommands() {
  for (int i = 0; i < 4096; ++i) {
    const CommandEntry row = COMMAND(kFirstSpareId + i, "spare", Always);
    RegisterCommands({&row, 1});
  }
}

void RegisterManyDisplayModes() {
  for (int i = 0; i < 4096; ++i) {
    RegisterDisplayMode({.eMode = static_cast<DisplayMode>(kFirstSpareMode + i)});
  }
}

class RegistryDeathTest : public ::testing::Test {
 protected:
  // The program keeps a second thread: the child runs the test anew rather than a bare fork.
  void SetUp() override { GTEST_FLAG_SET(death_test_style, "threadsafe"); }
};

}  // namespace

TEST_F(RegistryDeathTest, CommandsRefuseADuplicateIdAndAFullTable) {
  const CommandEntry again = COMMAND(ID_APP_EXIT, "again", Always);
  EXPECT_DEATH(RegisterCommands({&again, 1}),
               "command " + std::to_string(ID_APP_EXIT) + " is registered twice");
  EXPECT_DEATH(RegisterManyCommands(), "no room for command 9[0-9]+: the table holds");
}

TEST_F(RegistryDeathTest, DisplayModesRefuseADuplicateModeAndAFullTable) {
  EXPECT_DEATH(RegisterDisplayMode({.eMode = DisplayMode::Composite}),
               "display mode 0 is registered twice");
  EXPECT_DEATH(RegisterManyDisplayModes(), "no room for display mode [0-9]+: the table holds");
}

TEST_F(RegistryDeathTest, RulePredicatesAreGivenOnceAndOnlyToRulesWithAFeaturePart) {
  // The classification gave CI its predicate at start-up.
  EXPECT_DEATH(RegisterRulePredicate(Rule::CI, [](int) { return true; }),
               "rule [0-9]+ has a predicate already");
  EXPECT_DEATH(RegisterRulePredicate(Rule::D3, [](int) { return true; }),
               "rule [0-9]+ takes no predicate");
}
