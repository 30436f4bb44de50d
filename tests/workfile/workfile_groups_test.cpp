// A settings group the work file, the save options, the report and "stats" have never heard of:
// registered here only, it gets its section, its check box and its entries by registering.
#include <nlohmann/json.hpp>
#include <sstream>

#include "cli/stats.h"
#include "core/archive.h"
#include "core/settings_groups.h"
#include "output/report.h"
#include "support/recording_platform.h"
#include "support/scene_dir.h"
#include "workfile/workfile.h"
#include "workfile/workfile_format.h"

namespace {

struct TestSettings {
  int nLevel = 4;
  int nExtra = 0;  // stands for a member added later: saved by the group, compared by the digest
};
TestSettings g_test;
TestSettings s_staged;
int s_nCommits = 0;

const char* const kaszName[] = {"test"};
const char* const kaszLabel[] = {"テスト"};

void ResetTest() { g_test = TestSettings{}; }
bool WriteTest(ArchiveWriter& out, int, std::string&) {
  out.Int(g_test.nLevel);
  out.Int(g_test.nExtra);
  return true;
}
bool ReadTest(ArchiveReader& in, int) { return in.Ints(&s_staged.nLevel, 1) && in.Ints(&s_staged.nExtra, 1); }
bool ValidateTest(const int abInFile[], std::string& strReason) {
  return abInFile[0] != 1 || !SettingOutside(strReason, "the test level", s_staged.nLevel, 0, 9);
}
void CommitTest(const int abInFile[]) {
  ++s_nCommits;
  if (abInFile[0] == 1) g_test = s_staged;
}

class WorkFileGroupsTest : public SceneDirTest {
 protected:
  void SetUp() override {
    m_nGroups = SettingsGroups().size();
    RegisterSettingsGroup({
        .szName = "test",
        .pfnResetQuery = ResetTest,
        .workFile = OneSection(kaszName, kaszLabel, WriteTest, ReadTest, ValidateTest, CommitTest),
        .pfnReportLines = [](std::vector<ReportLine>& aLines) { aLines.push_back({60, "テスト"}); },
        .pfnStats = [](nlohmann::ordered_json& obj) { obj["test"] = {g_test.nLevel, g_test.nExtra}; },
        .abSettings = SettingsBytes(g_test),
    });
    SceneDirTest::SetUp();  // a fresh program: the save options now have a box for it
    s_nCommits = 0;
  }
  void TearDown() override {
    SceneDirTest::TearDown();
    TruncateSettingsGroups(m_nGroups);
    ResetProgramState();
  }
  std::size_t m_nGroups = 0;
};

}  // namespace

TEST_F(WorkFileGroupsTest, ARegisteredGroupIsSavedLoadedReportedAndDigested) {
  MakeScene(16, 8, 3, Sensor::TmFloppy, [](int x, int y, int b) { return x + y + b; });
  EXPECT_EQ(SaveSectionCount(), 14);
  EXPECT_EQ(SaveSectionIndex("test"), 13);
  EXPECT_EQ(SaveSectionLabel(13), "テスト");
  EXPECT_EQ(kSaveOptionsDialog.aFields.size(), 14u);

  const std::uint64_t nDigest = SettingsGroupsDigest();
  g_test = {7, 123};
  EXPECT_NE(SettingsGroupsDigest(), nDigest) << "a member no line of the digest names";

  const std::string strFile = PathOf("test.glw");
  ASSERT_TRUE(SaveWorkFile(strFile));
  g_test = {};
  ASSERT_TRUE(OpenWorkFile(strFile));
  EXPECT_EQ(g_test.nLevel, 7);
  EXPECT_EQ(g_test.nExtra, 123);
  EXPECT_EQ(s_nCommits, 1);

  std::ostringstream out;
  WriteStatsJson(out);
  EXPECT_EQ(nlohmann::json::parse(out.str())["test"], nlohmann::json({7, 123}));
  const std::vector<ReportLine> aLines = ReportLines();
  ASSERT_FALSE(aLines.empty());
  EXPECT_EQ(aLines.back().nRow, 60);

  // Its check refuses the whole file before anything changes; without its box it is left out.
  g_test.nLevel = 12;
  ASSERT_TRUE(SaveWorkFile(strFile));
  g_test = {};
  EXPECT_FALSE(OpenWorkFile(strFile));
  EXPECT_EQ(g_test.nLevel, 4);
  EXPECT_EQ(s_nCommits, 1);
  ASSERT_FALSE(m_platform.m_aMessages.empty());
  EXPECT_NE(m_platform.m_aMessages.back().strText.find("the test level is 12, outside 0..9"),
            std::string::npos);
  g_abSaveSection[SaveSectionIndex("test")] = 0;
  g_test = {3, 3};
  ASSERT_TRUE(SaveWorkFile(strFile));
  g_test = {};
  ASSERT_TRUE(OpenWorkFile(strFile));
  EXPECT_EQ(g_test.nLevel, 4) << "not in the file: left as it was";
}
