#include <algorithm>
#include <set>
#include <string>

#include "core/commands.h"
#include "resources/menus.h"
#include "resources/resource.h"
#include "core/state.h"
#include "support/recording_platform.h"
#include "products/fine_settings.h"
#include "products/coarse_settings.h"

namespace {

// Gives every command a handler so the rules alone decide; restores the table afterwards.
class CommandRulesTest : public LogicTest {
 protected:
  void SetUp() override {
    LogicTest::SetUp();
    for (const CommandEntry& cmd : CommandTable()) m_aSaved.push_back(cmd.pfnHandler);
    for (const CommandEntry& cmd : CommandTable()) {
      if (!cmd.pfnHandler) SetCommandHandler(cmd.nId, [] {});
    }
  }
  void TearDown() override {
    size_t i = 0;
    for (const CommandEntry& cmd : CommandTable()) SetCommandHandler(cmd.nId, m_aSaved[i++]);
    LogicTest::TearDown();
  }
  void Load(int nBands, int nSensorCode) {
    MakeScene(512, 400, nBands, SensorFromCode(nSensorCode),
              [](int x, int, int b) { return (x + b) % 256; });
  }
  std::vector<CommandHandler> m_aSaved;
};

std::vector<int> MenuIds(std::span<const MenuNode> menu) {
  std::vector<int> anIds;
  for (const MenuNode& node : menu) {
    if (node.eKind == MenuKind::Item) anIds.push_back(node.nId);
  }
  return anIds;
}

}  // namespace

TEST(CommandTableTest, IdsAreUniqueAndEveryCommandSitsInTheMainMenu) {
  std::set<int> setIds;
  for (const CommandEntry& cmd : CommandTable()) {
    EXPECT_TRUE(setIds.insert(cmd.nId).second) << "duplicate id " << cmd.nId;
    EXPECT_NE(std::string(cmd.szText), "") << cmd.nId;
  }
  const std::vector<int> anMenu = MenuIds(MainMenu());
  for (int nId : setIds) {
    EXPECT_EQ(std::count(anMenu.begin(), anMenu.end(), nId), 1) << "menu places of " << nId;
  }
  for (int nId : anMenu) EXPECT_NE(FindCommand(nId), nullptr) << nId;
  for (int nId : MenuIds(ContextMenu())) EXPECT_NE(FindCommand(nId), nullptr) << nId;
  for (int nId : ToolBarButtons()) {
    if (nId != 0) {
      EXPECT_NE(FindCommand(nId), nullptr) << nId;
    }
  }
}

TEST(CommandTableTest, MenusAreBalanced) {
  int nDepth = 0, nTop = 0;
  for (const MenuNode& node : MainMenu()) {
    if (node.eKind == MenuKind::Popup && nDepth++ == 0) ++nTop;
    if (node.eKind == MenuKind::End) {
      ASSERT_GE(--nDepth, 0);
    }
  }
  EXPECT_EQ(nDepth, 0);
  EXPECT_EQ(nTop, 10);
}

TEST(CommandTableTest, CheckableFamiliesHaveCheckRules) {
  // Every item whose rule carries a check mark and that can run has a way to compute it.
  for (const CommandEntry& cmd : CommandTable()) {
    const bool bCheckable = cmd.eRule == Rule::R || cmd.eRule == Rule::CompositeBand ||
                            cmd.eRule == Rule::D3c || cmd.eRule == Rule::D1c ||
                            cmd.eRule == Rule::CLc;
    if (bCheckable && cmd.pfnHandler) {
      EXPECT_NE(cmd.pfnCheck, nullptr) << cmd.nId;
    }
  }
}

TEST_F(CommandRulesTest, WithoutDataOnlyTheAlwaysEnabledItemsWork) {
  for (const CommandEntry& cmd : CommandTable()) {
    const bool bAlways = cmd.eRule == Rule::Always || cmd.eRule == Rule::R;
    EXPECT_EQ(IsCommandEnabled(cmd.nId), bAlways) << cmd.nId << " " << cmd.szText;
  }
}

TEST_F(CommandRulesTest, ThreeBandsEnableTheirBandItemsOnly) {
  Load(3, 1);
  for (int n = 1; n <= 8; ++n) {
    EXPECT_EQ(IsCommandEnabled(kanRedBandIds[n - 1]), n <= 3) << n;
    EXPECT_EQ(IsCommandEnabled(kanGreenBandIds[n - 1]), n <= 3) << n;
    EXPECT_EQ(IsCommandEnabled(kanCoarseBandIds[n - 1]), n <= 3) << n;
    EXPECT_EQ(IsCommandEnabled(kanFineBandIds[n - 1]), n <= 3) << n;
  }
  EXPECT_TRUE(IsCommandEnabled(ID_TRUE_COLOUR));
  EXPECT_FALSE(IsCommandEnabled(ID_NATURAL_COLOUR));
  EXPECT_FALSE(IsCommandEnabled(ID_FALSE_COLOUR));
  EXPECT_TRUE(IsCommandEnabled(ID_COMPOSITE_VIEW));
  EXPECT_TRUE(IsCommandEnabled(kanRankToggleIds[0]));
}

TEST_F(CommandRulesTest, SmallScenesAndSensorsLimitTheCompositeItems) {
  Load(2, 1);
  EXPECT_FALSE(IsCommandEnabled(ID_COMPOSITE_VIEW));
  EXPECT_FALSE(IsCommandEnabled(kanRedBandIds[0]));  // composite items need three bands
  EXPECT_TRUE(IsCommandEnabled(kanCoarseBandIds[1]));
  EXPECT_TRUE(IsCommandEnabled(ID_COARSE_VIEW));
  EXPECT_FALSE(IsCommandEnabled(kanRankToggleIds[0]));
  Load(4, 0);  // MSS: no satellite libraries
  EXPECT_FALSE(IsCommandEnabled(ID_TRUE_COLOUR));
  EXPECT_FALSE(IsCommandEnabled(ID_FALSE_COLOUR));
  // The satellite libraries stop at sensor 3: the 6845-column ETM+ scenes have none.
  Load(4, 4);
  EXPECT_FALSE(IsCommandEnabled(ID_NATURAL_COLOUR));
  EXPECT_FALSE(IsCommandEnabled(ID_TRUE_COLOUR));
  Load(4, 3);
  EXPECT_TRUE(IsCommandEnabled(ID_NATURAL_COLOUR));
  EXPECT_TRUE(IsCommandEnabled(ID_TRUE_COLOUR));
}

TEST_F(CommandRulesTest, ChecksFollowTheSettings) {
  Load(8, 1);
  EXPECT_TRUE(IsCommandChecked(ID_ALWAYS_REDRAW));
  EXPECT_TRUE(IsCommandChecked(kanRedBandIds[2]));
  EXPECT_FALSE(IsCommandChecked(kanRedBandIds[3]));
  g_nCoarseBand = 5;
  EXPECT_TRUE(IsCommandChecked(kanCoarseBandIds[4]));
  g_anRankColourOn[2][5] = 0;
  EXPECT_FALSE(IsCommandChecked(kanRankToggleIds[1]));
  EXPECT_TRUE(IsCommandChecked(kanRankToggleIds[2]));
  g_anFineSpanOn[8][1] = 0;
  EXPECT_FALSE(IsCommandChecked(kanSpanToggleIds[7]));
}

TEST_F(CommandRulesTest, ScrollingFollowsTheWindowEdges) {
  Load(3, 1);
  for (int nId : kanScrollIds) EXPECT_FALSE(IsCommandEnabled(nId)) << "floppy " << nId;
  Load(3, 2);  // CEOS, 512 x 400: right edge at 6919 - 511 = 6408
  // Bands without files behind them (a BMP picture, sensor code 3, or a work file) never scroll.
  for (int nId : kanScrollIds) EXPECT_FALSE(IsCommandEnabled(nId)) << "no files " << nId;
  g_bWindowHasFiles = 1;
  EXPECT_FALSE(IsCommandEnabled(33036));  // left at X = 0
  EXPECT_TRUE(IsCommandEnabled(33037));
  EXPECT_TRUE(IsCommandChecked(33048));   // top-left corner
  g_nSceneOffsetX = 6350;
  EXPECT_TRUE(IsCommandEnabled(33037));   // one screen: a partial step is allowed
  EXPECT_FALSE(IsCommandEnabled(33046));  // 100 dots: 6450 > 6408
  EXPECT_FALSE(IsCommandChecked(33048));
  g_nSceneOffsetX = 6408;
  EXPECT_FALSE(IsCommandEnabled(33037));
  g_nMaxX = g_nMaxY = 1023;
  g_nSceneOffsetX = 5896;
  g_nSceneOffsetY = 4941;
  EXPECT_TRUE(IsCommandChecked(33051));   // bottom-right corner of a 1024 window
  g_nSensor = Sensor::Etm6845;
  g_nMaxX = 799;
  g_nMaxY = 599;
  g_nSceneOffsetX = 3022;
  g_nSceneOffsetY = 2858;
  EXPECT_TRUE(IsCommandChecked(33047));   // centre of a 6845-column scene
  g_nDisplayMode = DisplayMode::NoData;
  for (int nId : kanScrollIds) EXPECT_FALSE(IsCommandEnabled(nId)) << "no data " << nId;
}

TEST_F(CommandRulesTest, DispatchRunsOnlyWhatTheRuleAllows) {
  // Restore the real handler of the toggle and run it through dispatch.
  SetCommandHandler(ID_ALWAYS_REDRAW, m_aSaved[FindCommand(ID_ALWAYS_REDRAW) - CommandTable().data()]);
  EXPECT_TRUE(DispatchCommand(ID_ALWAYS_REDRAW));
  EXPECT_EQ(g_bAlwaysRedraw, 0);
  EXPECT_FALSE(IsCommandChecked(ID_ALWAYS_REDRAW));
  EXPECT_TRUE(DispatchCommand(ID_ALWAYS_REDRAW));
  EXPECT_EQ(g_bAlwaysRedraw, 1);
  static int s_nRuns = 0;
  SetCommandHandler(ID_COMPOSITE_VIEW, [] { ++s_nRuns; });
  EXPECT_FALSE(DispatchCommand(ID_COMPOSITE_VIEW));  // no data
  EXPECT_EQ(s_nRuns, 0);
  Load(3, 1);
  EXPECT_TRUE(DispatchCommand(ID_COMPOSITE_VIEW));
  EXPECT_EQ(s_nRuns, 1);
  EXPECT_FALSE(DispatchCommand(12345));
}

TEST(CommandTableTest, CommandsWithoutHandlersStayDisabled) {
  ResetProgramState();
  g_nDisplayMode = DisplayMode::Prompt;
  g_nLastBand = 7;
  g_nSensor = Sensor::TmFloppy;
  for (const CommandEntry& cmd : CommandTable()) {
    if (!cmd.pfnHandler && !cmd.pDialog) {
      EXPECT_FALSE(IsCommandEnabled(cmd.nId)) << cmd.nId;
    }
  }
  ResetProgramState();
}
