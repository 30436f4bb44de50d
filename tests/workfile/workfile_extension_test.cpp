// The work file's extension block: absent for classic settings, laid out as documented when a
// group's record is needed, read back into the settings, and refused or skipped as documented.
#include <fstream>
#include <iterator>
#include <vector>

#include "classification/category_settings.h"
#include "core/settings_groups.h"
#include "support/scene_dir.h"
#include "workfile/workfile.h"
#include "workfile/workfile_format.h"

namespace {

class WorkFileExtensionTest : public SceneDirTest {
 protected:
  void SetUp() override {
    SceneDirTest::SetUp();
    MakeScene(16, 12, 3, Sensor::TmFloppy, [](int x, int y, int b) { return (x + y * b) % 256; });
  }
  std::vector<std::uint8_t> Encoded() {
    ByteBuffer ab;
    std::string strReason;
    EXPECT_TRUE(EncodeWorkFile(ab, strReason)) << strReason;
    return {ab.begin(), ab.end()};
  }
  std::string Write(const std::vector<std::uint8_t>& ab) {
    const std::string strPath = PathOf("work.glw");
    std::ofstream(strPath, std::ios::binary)
        .write(reinterpret_cast<const char*>(ab.data()), static_cast<long>(ab.size()));
    return strPath;
  }
  static void Put(std::vector<std::uint8_t>& ab, std::int32_t n) {
    for (int k = 0; k < 4; ++k) ab.push_back(static_cast<std::uint8_t>(static_cast<std::uint32_t>(n) >> (8 * k)));
  }
  // The block as documented, built by hand: magic, version 1, the records.
  static std::vector<std::uint8_t> Block(const std::vector<std::vector<std::int32_t>>& aRecords) {
    std::vector<std::uint8_t> ab = {'G', 'L', 'E', 'X'};
    Put(ab, 1);
    Put(ab, static_cast<std::int32_t>(aRecords.size()));
    for (const auto& an : aRecords) {
      Put(ab, an[0]);
      Put(ab, static_cast<std::int32_t>(4 * (an.size() - 1)));
      for (std::size_t i = 1; i < an.size(); ++i) Put(ab, an[i]);
    }
    return ab;
  }
};

TEST_F(WorkFileExtensionTest, ClassicSettingsWriteNoBlockAndOthersAppendTheDocumentedRecord) {
  const std::vector<std::uint8_t> abClassic = Encoded();
  g_nClassifyMethod = kMethodMaximumLikelihood;
  g_nRejectProbability = 4;
  std::vector<std::uint8_t> abExpected = abClassic;
  const std::vector<std::uint8_t> abBlock = Block({{1, 1, 0, 4}});
  abExpected.insert(abExpected.end(), abBlock.begin(), abBlock.end());
  EXPECT_EQ(Encoded(), abExpected) << "the classic file, then the block";

  // Without any category section saved, the record has nothing to belong to.
  for (int c = 1; c <= 8; ++c) g_abSaveSection[SaveSectionIndex("cat" + std::to_string(c))] = 0;
  const std::vector<std::uint8_t> abNoCategories = Encoded();
  g_nClassifyMethod = kMethodMinimumDistance;
  g_nRejectProbability = 0;
  EXPECT_EQ(Encoded(), abNoCategories);
}

TEST_F(WorkFileExtensionTest, TheRecordReadsBackAndItsAbsenceMeansTheClassicMethod) {
  g_nClassifyMethod = kMethodMaximumLikelihood;
  g_nRejectProbability = 2;
  g_nRejectDistance = 33;
  const std::string strPath = PathOf("ml.glw");
  ASSERT_TRUE(SaveWorkFile(strPath));
  ResetProgramState();
  ASSERT_TRUE(OpenWorkFile(strPath));
  EXPECT_EQ(g_nClassifyMethod, kMethodMaximumLikelihood);
  EXPECT_EQ(g_nRejectProbability, 2);
  EXPECT_EQ(g_nRejectDistance, 33);

  // A classic file read over these settings: its categories were saved with the classic method.
  g_nClassifyMethod = kMethodMinimumDistance;
  g_nRejectProbability = g_nRejectDistance = 0;
  const std::string strClassic = PathOf("classic.glw");
  ASSERT_TRUE(SaveWorkFile(strClassic));
  ASSERT_TRUE(OpenWorkFile(strPath));
  ASSERT_TRUE(OpenWorkFile(strClassic));
  EXPECT_EQ(g_nClassifyMethod, kMethodMinimumDistance);
  EXPECT_EQ(g_nRejectProbability, 0);
}

TEST_F(WorkFileExtensionTest, BadBlocksAreRefusedUnknownRecordsSkipped) {
  const std::vector<std::uint8_t> abClassic = Encoded();
  auto with = [&](const std::vector<std::uint8_t>& abTail) {
    std::vector<std::uint8_t> ab = abClassic;
    ab.insert(ab.end(), abTail.begin(), abTail.end());
    return Write(ab);
  };
  // A newer program's record of another tag is skipped; ours is read.
  ASSERT_TRUE(OpenWorkFile(with(Block({{77, 5, 6}, {1, 1, 20, 0}}))));
  EXPECT_EQ(g_nClassifyMethod, kMethodMaximumLikelihood);
  EXPECT_EQ(g_nRejectDistance, 20);

  struct Case {
    std::vector<std::uint8_t> abTail;
    const char* szReason;
  };
  std::vector<std::uint8_t> abVersion2 = Block({{1, 1, 0, 0}});
  abVersion2[4] = 2;
  std::vector<std::uint8_t> abCut = Block({{1, 1, 0, 0}});
  abCut.resize(abCut.size() - 3);
  const Case aCases[] = {
      {Block({{1, 7, 0, 0}}), "the classification method is 7, outside 0..1"},
      {Block({{1, 0, 722, 0}}), "the reject distance is 722, outside 0..721"},
      {Block({{1, 1, 0}}), "record 1 (tag 1) of its extension block does not fit its length"},
      {abVersion2, "extension block is of version 2"},
      {abCut, "the file ends inside record 1"},
  };
  const std::uint64_t nBefore = SettingsGroupsDigest();
  for (const Case& c : aCases) {
    m_platform.m_aMessages.clear();
    EXPECT_FALSE(OpenWorkFile(with(c.abTail))) << c.szReason;
    ASSERT_FALSE(m_platform.m_aMessages.empty()) << c.szReason;
    EXPECT_NE(m_platform.m_aMessages.back().strText.find(c.szReason), std::string::npos)
        << m_platform.m_aMessages.back().strText;
    EXPECT_EQ(SettingsGroupsDigest(), nBefore) << c.szReason;
  }
}

TEST_F(WorkFileExtensionTest, TheFeatureSpaceRecordIsWrittenAsDocumentedAndChecked) {
  const std::vector<std::uint8_t> abClassic = Encoded();
  g_nScatterBandX = 2;
  g_nScatterBandY = 1;
  g_bScatterBoundaries = true;
  std::vector<std::uint8_t> abExpected = abClassic;
  const std::vector<std::uint8_t> abBlock = Block({{5, 2, 1, 1}});
  abExpected.insert(abExpected.end(), abBlock.begin(), abBlock.end());
  EXPECT_EQ(Encoded(), abExpected);

  ResetProgramState();
  MakeScene(16, 12, 3, Sensor::TmFloppy, [](int x, int y, int b) { return (x + y * b) % 256; });
  ASSERT_TRUE(OpenWorkFile(Write(abExpected)));
  EXPECT_EQ(g_nScatterBandX, 2);
  EXPECT_EQ(g_nScatterBandY, 1);
  EXPECT_TRUE(g_bScatterBoundaries);

  const std::uint64_t nBefore = SettingsGroupsDigest();
  for (const auto& [an, szReason] :
       {std::pair<std::vector<std::int32_t>, const char*>{{5, 9, 1, 0}, "band across is 9, outside 1..8"},
        {{5, 1, 0, 0}, "band up is 0, outside 1..8"},
        {{5, 1, 2, 2}, "boundaries is 2, outside 0..1"}}) {
    std::vector<std::uint8_t> ab = abClassic;
    const std::vector<std::uint8_t> abBad = Block({an});
    ab.insert(ab.end(), abBad.begin(), abBad.end());
    m_platform.m_aMessages.clear();
    EXPECT_FALSE(OpenWorkFile(Write(ab))) << szReason;
    ASSERT_FALSE(m_platform.m_aMessages.empty());
    EXPECT_NE(m_platform.m_aMessages.back().strText.find(szReason), std::string::npos)
        << m_platform.m_aMessages.back().strText;
    EXPECT_EQ(SettingsGroupsDigest(), nBefore) << szReason;
  }
}

}  // namespace
