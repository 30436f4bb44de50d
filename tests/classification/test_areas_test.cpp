// Test areas: painted beside the training areas with their own rules (one reference category,
// never a training pixel too, no part in the training), cleared with them, and kept by the work
// file in its extension block while the classic blocks keep the training marks alone.
#include <gtest/gtest.h>

#include <array>

#include "classification/categories.h"
#include "core/commands.h"
#include "resources/resource.h"
#include "support/scene_dir.h"
#include "workfile/workfile.h"
#include "workfile/workfile_format.h"

namespace {

class TestAreasTest : public SceneDirTest {
 protected:
  void SetUp() override {
    SceneDirTest::SetUp();
    MakeScene(40, 30, 3, Sensor::TmFloppy, [](int x, int y, int b) { return (x * 3 + y + b) % 256; });
    g_nDotSize = 0;  // one pixel a dot
    ASSERT_TRUE(DispatchCommand(ID_TRAINING_SELECT));
  }
  static void Paint(int c, bool bTest, int x, int y, bool bErase = false) {
    g_nCategory = c;
    g_bPaintTest = bTest;
    OnTrainingPaint(x, y, bErase);
  }
  static std::array<int, 8> Marks(int x, int y) {
    std::array<int, 8> an{};
    for (int c = 0; c < 8; ++c) an[c] = g_aPixel[x][y].abTrainMark[c];
    return an;
  }
};

TEST_F(TestAreasTest, APixelIsTrainingOfAnyCategoriesOrTestOfOne) {
  Paint(1, false, 5, 5);
  Paint(2, false, 5, 5);
  EXPECT_EQ(Marks(5, 5), (std::array<int, 8>{1, 1, 0, 0, 0, 0, 0, 0})) << "training may share";
  g_abCategoryValid[1] = true;
  g_bClassified = true;
  Paint(3, true, 5, 5);
  EXPECT_EQ(Marks(5, 5), (std::array<int, 8>{0, 0, 2, 0, 0, 0, 0, 0}));
  EXPECT_TRUE(g_abCategoryValid[1]) << "test areas leave the training as it is";
  EXPECT_TRUE(g_bClassified);
  Paint(4, true, 5, 5);
  EXPECT_EQ(Marks(5, 5), (std::array<int, 8>{0, 0, 0, 2, 0, 0, 0, 0})) << "moved to category 4";
  Paint(4, false, 5, 5, true);
  EXPECT_EQ(Marks(5, 5)[3], 2) << "erasing training leaves a test pixel";
  Paint(2, false, 5, 5);
  EXPECT_EQ(Marks(5, 5), (std::array<int, 8>{0, 1, 0, 0, 0, 0, 0, 0}));
  EXPECT_FALSE(g_bClassified) << "training changed";

  // Test pixels take no part in the update.
  for (int x = 10; x < 20; ++x) Paint(6, true, x, 12);
  Paint(6, false, 30, 20);
  g_nCategory = 6;
  OnTrainingUpdate();
  EXPECT_EQ(g_anTrainCount[6], 1);

  // Clearing the target clears its test pixels; clearing all clears every mark.
  ASSERT_TRUE(DispatchCommand(ID_CLEAR_CATEGORY));
  EXPECT_EQ(Marks(10, 12)[5], 0);
  EXPECT_EQ(Marks(30, 20)[5], 0);
  Paint(7, true, 1, 1);
  ASSERT_TRUE(DispatchCommand(ID_CLEAR_ALL_CATEGORIES));
  EXPECT_EQ(Marks(1, 1)[6], 0);
  EXPECT_EQ(Marks(5, 5)[1], 0);
}

TEST_F(TestAreasTest, TheWorkFileKeepsTestPixelsInItsExtensionOnly) {
  Paint(1, false, 3, 4);
  ByteBuffer abClassic;
  std::string strReason;
  ASSERT_TRUE(EncodeWorkFile(abClassic, strReason));
  Paint(2, true, 7, 8);
  Paint(5, true, 39, 29);
  ByteBuffer abWithTest;
  ASSERT_TRUE(EncodeWorkFile(abWithTest, strReason));
  // The classic part is the same bytes but at the test pixels, where the blocks hold no mark;
  // then the block with the test record follows.
  ASSERT_GT(abWithTest.size(), abClassic.size());
  EXPECT_TRUE(std::equal(abClassic.begin(), abClassic.end(), abWithTest.begin()));
  EXPECT_EQ(abWithTest[abClassic.size()], 'G');

  const std::string strPath = PathOf("test.glw");
  ASSERT_TRUE(SaveWorkFile(strPath));
  ResetProgramState();
  ASSERT_TRUE(OpenWorkFile(strPath));
  EXPECT_EQ(Marks(3, 4), (std::array<int, 8>{1, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(Marks(7, 8), (std::array<int, 8>{0, 2, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(Marks(39, 29), (std::array<int, 8>{0, 0, 0, 0, 2, 0, 0, 0}));
}

}  // namespace
