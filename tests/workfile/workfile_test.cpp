// Opening and saving work files: the five cases with their dialog and messages, the previous
// format, files that change nothing, and saves that never destroy the previous file.
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/commands.h"
#include "core/text_format.h"
#include "resources/resource.h"
#include "support/recording_platform.h"
#include "support/scene_dir.h"
#include "workfile/header_sheet.h"
#include "workfile/messages.h"
#include "workfile/workfile.h"
#include "workfile/workfile_format.h"
#include "products/composite_settings.h"
#include "products/coarse_settings.h"
#include "histograms/histogram_settings.h"
#include "classification/category_settings.h"

namespace {

class WorkFileTest : public SceneDirTest {
 protected:
  void MakeWork() {
    MakeScene(64, 40, 3, Sensor::TmFloppy, [](int x, int y, int b) { return (x * 5 + y * b) % 256; });
    g_astrUserText[1] = "流域調査";
    g_nRedUpper = 180;
    g_anRankUpper[2][1] = 77;
    g_acrHistLineColour[2] = Rgb(5, 6, 7);
    g_astrCategoryName[3] = "森林";
    g_acrCategoryColour[3] = Rgb(0, 90, 0);
    g_aPixel[5][6].abTrainMark[2] = 1;
  }

  // Everything a refused file must leave alone, as bytes.
  std::vector<std::uint8_t> Snapshot() {
    std::vector<std::uint8_t> ab(reinterpret_cast<const std::uint8_t*>(g_aPixel),
                                 reinterpret_cast<const std::uint8_t*>(g_aPixel) + sizeof g_aPixel);
    for (int n : {DisplayModeCode(g_nDisplayMode), g_nMaxX, g_nMaxY, g_nLastBand, g_nRedUpper,
                  g_anRankUpper[2][1], g_abSaveSection[0], g_abSaveSection[5]}) {
      ab.push_back(static_cast<std::uint8_t>(n));
    }
    for (const std::string& str : {g_astrUserText[1], g_astrCategoryName[3]}) {
      ab.insert(ab.end(), str.begin(), str.end());
    }
    return ab;
  }

  void Write(const std::string& strPath, std::span<const std::uint8_t> ab) {
    std::ofstream(strPath, std::ios::binary)
        .write(reinterpret_cast<const char*>(ab.data()), static_cast<long>(ab.size()));
  }
};

}  // namespace

TEST_F(WorkFileTest, AWholeWorkComesBackAndSettingsGoToASceneOfTheSameSize) {
  MakeWork();
  const std::string strFile = PathOf("work.glw");
  ASSERT_TRUE(SaveWorkFile(strFile));
  EXPECT_EQ(DocumentTitle(), "work.glw");
  const std::uint32_t nZeros = g_anBandHist[0][0];

  // Case 1: nothing loaded, the file has data.
  ResetProgramState();
  ASSERT_TRUE(OpenWorkFile(strFile));
  ASSERT_EQ(m_platform.m_aFileInformation.size(), 1u);
  EXPECT_EQ(m_platform.m_aFileInformation[0].strCase, kszCaseNewData);
  EXPECT_EQ(m_platform.m_aFileInformation[0].nMaxX, 63);
  EXPECT_EQ(g_nDisplayMode, DisplayMode::Prompt);
  EXPECT_EQ(g_aPixel[7][9].abBand[2], (7 * 5 + 9 * 3) % 256);
  EXPECT_EQ(g_astrUserText[1], "流域調査");
  EXPECT_EQ(g_anBandHist[0][0], nZeros) << "histograms recounted";
  EXPECT_EQ(g_acrHistLineColour[2], Rgb(5, 6, 7));
  EXPECT_EQ(g_aPixel[5][6].abTrainMark[2], 1);
  EXPECT_EQ(g_astrCategoryName[3], "森林");

  // Case 4: a settings-only file over a scene of the same sensor and size replaces the groups it
  // holds and resets the others; categories 1..7 read are not reset by an absent category 8.
  g_abSaveSection[kSectionData] = 0;
  g_abSaveSection[SaveSectionIndex("coarse")] = 0;
  g_abSaveSection[SaveSectionIndex("cat8")] = 0;
  const std::string strSettings = PathOf("settings.glw");
  ASSERT_TRUE(SaveWorkFile(strSettings));
  MakeScene(64, 40, 3, Sensor::TmFloppy, [](int, int, int) { return 9; });
  ASSERT_TRUE(OpenWorkFile(strSettings));
  EXPECT_EQ(m_platform.m_aFileInformation.back().strCase, kszCaseSettings);
  EXPECT_EQ(g_aPixel[7][9].abBand[2], 9) << "the data stays";
  EXPECT_EQ(g_nRedUpper, 180);
  EXPECT_NE(g_anRankUpper[2][1], 77) << "coarse absent: back to its defaults";
  EXPECT_EQ(g_acrCategoryColour[3], Rgb(0, 90, 0));
  EXPECT_EQ(g_astrCategoryName[3], "森林");

  // Case 5: a different size: the message, nothing changes.
  MakeScene(64, 41, 3, Sensor::TmFloppy, [](int, int, int) { return 9; });
  m_platform.m_aMessages.clear();
  const std::vector<std::uint8_t> abBefore = Snapshot();
  EXPECT_FALSE(OpenWorkFile(strSettings));
  EXPECT_EQ(m_platform.m_aFileInformation.back().strCase, kszMsgNotMatching);
  ASSERT_EQ(m_platform.m_aMessages.size(), 1u);
  EXPECT_EQ(m_platform.m_aMessages[0].strCaption, kszCapNotMatching);
  EXPECT_TRUE(Snapshot() == abBefore);

  // Case 2: nothing loaded and no data in the file.
  ResetProgramState();
  m_platform.m_aMessages.clear();
  EXPECT_FALSE(OpenWorkFile(strSettings));
  EXPECT_EQ(m_platform.m_aFileInformation.back().strCase, kszCaseNoData);
  ASSERT_EQ(m_platform.m_aMessages.size(), 1u);
  EXPECT_EQ(m_platform.m_aMessages[0].strCaption, kszCapNoData);
  EXPECT_EQ(g_nDisplayMode, DisplayMode::NoData);

  // Cancel in the information dialog: nothing is read.
  MakeScene(64, 40, 3, Sensor::TmFloppy, [](int, int, int) { return 9; });
  m_platform.m_bFileInformationOk = false;
  EXPECT_FALSE(OpenWorkFile(strFile));
  EXPECT_EQ(g_aPixel[7][9].abBand[2], 9);
}

// The save fills the pixel and mark blocks run by run while it writes (eight records' marks
// at a time when every category is saved); every byte must land where the format puts it.
TEST_F(WorkFileTest, SavedPlaneBlocksHoldEveryBandAndMark) {
  struct Case {
    int nWidth, nLines, nBands;
    std::vector<int> anCategories;
  };
  for (const Case& c : {Case{200, 37, 8, {1, 2, 3, 4, 5, 6, 7, 8}}, Case{130, 16, 7, {2, 5, 8}},
                        Case{65, 9, 3, {1, 2, 3, 4, 5, 6, 7, 8}}}) {
    MakeScene(c.nWidth, c.nLines, c.nBands, Sensor::TmFloppy,
              [](int x, int y, int b) { return (x * 31 + y * 7 + b * 101) % 256; });
    for (int x = 0; x < c.nWidth; ++x) {
      for (int y = 0; y < c.nLines; ++y) {
        for (int k = 0; k < 8; ++k) g_aPixel[x][y].abTrainMark[k] = ((x + 3 * y) >> k) & 1;
      }
    }
    std::fill(std::begin(g_abSaveSection), std::end(g_abSaveSection), 0);
    g_abSaveSection[kSectionData] = 1;
    for (int k : c.anCategories) g_abSaveSection[SaveSectionIndex("cat" + std::to_string(k))] = 1;
    const std::string strFile = PathOf("plane.glw");
    ASSERT_TRUE(SaveWorkFile(strFile));
    ByteBuffer abSaved, abEncoded;
    std::string strReason;
    ASSERT_TRUE(ReadWorkFileBytes(strFile, abSaved, strReason)) << strReason;
    ASSERT_TRUE(EncodeWorkFile(abEncoded, strReason));
    EXPECT_TRUE(std::equal(abSaved.begin(), abSaved.end(), abEncoded.begin(), abEncoded.end()));
    WorkFile file;
    ASSERT_EQ(DecodeWorkFile(abSaved, file, strReason), DecodeError::None) << strReason;
    int nWrong = 0;
    for (int x = 0; x < c.nWidth; ++x) {
      for (int y = 0; y < c.nLines; ++y) {
        const std::size_t i = static_cast<std::size_t>(x) * c.nLines + y;
        for (int b = 0; b < c.nBands; ++b) {
          nWrong += file.abPixels[i * c.nBands + b] != g_aPixel[x][y].abBand[b];
        }
        for (int k : c.anCategories) {
          nWrong += file.aabMarks[k - 1][i] != g_aPixel[x][y].abTrainMark[k - 1];
        }
      }
    }
    EXPECT_EQ(nWrong, 0) << c.nWidth << " x " << c.nLines << ", " << c.nBands << " bands";
  }
}

TEST_F(WorkFileTest, FilesThatCannotBeTakenChangeNothing) {
  MakeWork();
  const std::string strFile = PathOf("work.glw");
  ASSERT_TRUE(SaveWorkFile(strFile));
  ByteBuffer ab;
  std::string strReason;
  ASSERT_TRUE(ReadWorkFileBytes(strFile, ab, strReason));
  const std::vector<std::uint8_t> abBefore = Snapshot();

  std::vector<std::uint8_t> abCut(ab.begin(), ab.end() - 100);
  ByteBuffer abForeign = ab;
  abForeign[0] = 42;
  ByteBuffer abWide = ab;
  abWide[61] = 0x10;  // last column 4159
  Write(PathOf("cut.glw"), abCut);
  Write(PathOf("foreign.glw"), abForeign);
  Write(PathOf("wide.glw"), abWide);
  ::mkfifo(PathOf("fifo").c_str(), 0600);
  std::filesystem::create_directory(PathOf("folder"));
  {
    std::ofstream big(PathOf("big.bin"), std::ios::binary);
    big.seekp((100 << 20) - 1);
    big.put('x');
  }
  const struct {
    const char* szName;
    const char* szCaption;
  } aCases[] = {{"cut.glw", kszCapWorkFile},    {"foreign.glw", kszCapNotWorkFile},
                {"wide.glw", kszCapWorkFile},   {"fifo", kszCapWorkFile},
                {"folder", kszCapWorkFile},     {"big.bin", kszCapWorkFile},
                {"missing.glw", kszCapWorkFile}};
  for (const auto& c : aCases) {
    m_platform.m_aMessages.clear();
    EXPECT_FALSE(OpenWorkFile(PathOf(c.szName))) << c.szName;
    ASSERT_EQ(m_platform.m_aMessages.size(), 1u) << c.szName;
    EXPECT_EQ(m_platform.m_aMessages[0].strCaption, c.szCaption) << c.szName;
    if (c.szCaption == kszCapWorkFile) {
      EXPECT_NE(m_platform.m_aMessages[0].strText.find(PathOf(c.szName)), std::string::npos);
    }
    EXPECT_TRUE(Snapshot() == abBefore) << c.szName << " changed the program state";
    EXPECT_EQ(g_nDisplayMode, DisplayMode::Prompt) << "the loaded work stays on show";
  }
  EXPECT_TRUE(m_platform.m_aFileInformation.empty()) << "no file got as far as the dialog";

  // Settings no picture could be drawn with (a red band 200), and a settings file for a scene
  // of another size: refused after the dialog, and the save options stay as they were too.
  g_nRedBand = 200;
  ASSERT_TRUE(SaveWorkFile(PathOf("band200.glw")));
  g_nRedBand = 3;
  std::fill(std::begin(g_abSaveSection), std::end(g_abSaveSection), 0);
  g_abSaveSection[SaveSectionIndex("composite")] = 1;
  ASSERT_TRUE(SaveWorkFile(PathOf("settings.glw")));
  std::fill(std::begin(g_abSaveSection), std::end(g_abSaveSection), 1);
  MakeScene(32, 20, 3, Sensor::TmFloppy, [](int x, int, int) { return x; });
  const std::vector<std::uint8_t> abOther = Snapshot();
  m_platform.m_aMessages.clear();
  EXPECT_FALSE(OpenWorkFile(PathOf("band200.glw")));
  ASSERT_FALSE(m_platform.m_aMessages.empty());
  EXPECT_NE(m_platform.m_aMessages.back().strText.find("red band is 200, outside 1..8"), std::string::npos);
  EXPECT_FALSE(OpenWorkFile(PathOf("settings.glw")));
  EXPECT_EQ(m_platform.m_aMessages.back().strCaption, kszCapNotMatching);
  EXPECT_TRUE(Snapshot() == abOther);
}

TEST_F(WorkFileTest, AFailedSaveLeavesThePreviousFile) {
  MakeWork();
  const std::string strFile = PathOf("work.glw");
  ASSERT_TRUE(SaveWorkFile(strFile));
  ByteBuffer abOld, abNow;
  std::string strReason;
  ASSERT_TRUE(ReadWorkFileBytes(strFile, abOld, strReason));

  // A name with no Shift-JIS form: refused before anything is written.
  g_astrCategoryName[1] = "🌲";
  EXPECT_FALSE(SaveWorkFile(strFile));
  ASSERT_FALSE(m_platform.m_aMessages.empty());
  EXPECT_NE(m_platform.m_aMessages.back().strText.find("category 1"), std::string::npos);
  ASSERT_TRUE(ReadWorkFileBytes(strFile, abNow, strReason));
  EXPECT_TRUE(abNow == abOld);
  g_astrCategoryName[1] = "Name1";

  // A folder that cannot be written (as root, permissions do not stop a write, so a path whose
  // folder is a file stands for it): refused, the old file kept, no temporary left behind.
  const std::string strBlocked = PathOf("work.glw") + "/inner.glw";
  EXPECT_FALSE(SaveWorkFile(strBlocked));
  ASSERT_TRUE(ReadWorkFileBytes(strFile, abNow, strReason));
  EXPECT_TRUE(abNow == abOld);
  EXPECT_EQ(DocumentTitle(), "work.glw") << "the document keeps its name";
  int nFiles = 0;
  for (const auto& entry : std::filesystem::directory_iterator(m_dir)) nFiles += entry.is_regular_file();
  EXPECT_EQ(nFiles, 1);

  // A save that works replaces the file and keeps its permissions.
  ::chmod(strFile.c_str(), 0640);
  g_nRedUpper = 150;
  ASSERT_TRUE(SaveWorkFile(strFile));
  struct stat st = {};
  ASSERT_EQ(::stat(strFile.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
}

TEST_F(WorkFileTest, HeaderPagesShowTheFirst256BytesWithoutZeros) {
  MakeScene(512, 400, 7, Sensor::TmFloppy, [](int, int, int) { return 1; });
  std::memcpy(g_aszBandHeader[0], "LANDSAT\0TM 5", 12);
  g_aszBandHeader[0][300] = 'Z';  // beyond byte 255: never shown
  std::memcpy(g_aszBandHeader[1], "\x90\x85\x93\x63\xA0\xFD", 6);
  EXPECT_EQ(HeaderPageText(1), " LANDSATTM 5");
  EXPECT_EQ(HeaderPageText(2), " 水田??") << "Shift-JIS where it decodes, ? where it does not";
  EXPECT_EQ(HeaderPageText(8), " ");
  EXPECT_EQ(SensorName(), "TM");
  g_nSensor = Sensor::None;
  EXPECT_EQ(SensorName(), "--");
}

TEST_F(WorkFileTest, PreviousFormatAndUnknownDataFlags) {
  // A previous-format TM CD-ROM file, 800 x 2, one band: the data only, every setting reset.
  ByteBuffer ab;
  auto put = [&](std::int32_t n) {
    for (int i = 0; i < 4; ++i) ab.push_back(static_cast<std::uint8_t>(n >> (8 * i)));
  };
  for (std::int32_t n : {2, 799, 1, 0, 0}) put(n);
  ab.resize(ab.size() + 4096, 'h');
  for (int i = 0; i < 4; ++i) ab.push_back(0);
  for (int i = 0; i < 5; ++i) put(1);
  for (int i = 0; i < 800 * 2; ++i) ab.push_back(static_cast<std::uint8_t>(i % 7));
  Write(PathOf("old.wrk"), ab);
  g_nRedUpper = 3;
  ASSERT_TRUE(OpenWorkFile(PathOf("old.wrk")));
  ASSERT_EQ(m_platform.m_aMessages.size(), 1u);
  EXPECT_EQ(m_platform.m_aMessages[0].strCaption, kszCapPreviousFormat);
  EXPECT_EQ(g_nSensor, Sensor::TmCeos);
  EXPECT_EQ(WindowWidth(), 800);
  EXPECT_EQ(g_aPixel[799][1].abBand[0], (799 * 2 + 1) % 7);
  EXPECT_EQ(g_aszBandHeader[0][0], 'h');
  EXPECT_EQ(g_aszBandHeader[1][0], 0) << "headers above the last band cleared";
  EXPECT_EQ(g_aszBandHeader[1][300], 'h') << "beyond byte 255 they stay";
  EXPECT_EQ(g_nDisplayMode, DisplayMode::Prompt);

  // A data flag other than 0 or 1 with nothing loaded: "This File is ???", nothing read.
  MakeWork();
  const std::string strFile = PathOf("odd.glw");
  ASSERT_TRUE(SaveWorkFile(strFile));
  std::string strReason;
  ASSERT_TRUE(ReadWorkFileBytes(strFile, ab, strReason));
  ab[4] = 2;
  Write(strFile, ab);
  ResetProgramState();
  m_platform.m_aMessages.clear();
  EXPECT_FALSE(OpenWorkFile(strFile));
  ASSERT_EQ(m_platform.m_aMessages.size(), 1u);
  EXPECT_EQ(m_platform.m_aMessages[0].strCaption, kszCapUnknownData);
  EXPECT_EQ(g_nDisplayMode, DisplayMode::NoData);
}
