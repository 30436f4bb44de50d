// "シーン全体を分類" on the desktop: the request for the raster scene on show, the run on a worker
// behind the progress dialog, and the dialog's cancel leaving no file.
#include <gtest/gtest.h>

#include <QProgressDialog>
#include <filesystem>

#include "classification/categories.h"
#include "core/commands.h"
#include "import/raster.h"
#include "output/ui/scene_classify_dlg.h"
#include "resources/resource.h"
#include "support/geotiff_file.h"
#include "support/scene_dir.h"

namespace {

using SceneClassifyDlgTest = SceneDirTest;

TEST_F(SceneClassifyDlgTest, TheShownSceneIsClassifiedWholeAndACancelLeavesNoFile) {
  // A raster scene of three bands, two categories trained on its window and generated.
  const std::string strScene = WriteTestGeoTiff(
      PathOf("scene.tif"), 300, 200, 3, GDT_Byte,
      [](int x, int y, int b) { return (x * (b + 1) + y * 3) % 256; });
  ASSERT_TRUE(ApplyOpenRaster({.astrPaths = {strScene}}));
  for (int c = 1; c <= 8; ++c) g_abClassify[c] = c <= 2 ? 1 : 0;
  for (int c = 1; c <= 2; ++c) {
    for (int x = 20 + 150 * (c - 1); x < 60 + 150 * (c - 1); ++x)
      for (int y = 50; y < 90; ++y) g_aPixel[x][y].abTrainMark[c - 1] = 1;
    g_nCategory = c;
    ASSERT_TRUE(DispatchCommand(ID_TRAINING_SELECT));
  }
  EXPECT_FALSE(CommandRuleAllows(ID_CLASSIFY_SCENE)) << "no classification yet";
  ASSERT_TRUE(DispatchCommand(ID_CLASSIFY_GENERATE));
  EXPECT_TRUE(CommandRuleAllows(ID_CLASSIFY_SCENE));

  const std::string strOut = PathOf("classes.tif");
  const SceneClassifyRequest request = SceneRequestForShownScene(strOut);
  EXPECT_EQ(request.astrRasterPaths, std::vector<std::string>{strScene});
  EXPECT_EQ(request.signature.aCategories.size(), 2u);
  {
    CSceneClassifyRun run(request, nullptr);
    const SceneClassifyResult result = run.Run();
    ASSERT_EQ(result.eOutcome, SceneClassifyOutcome::Done) << result.strMessage;
    EXPECT_EQ(run.ProgressDialog()->value(), 200) << "every line reported";
  }
  // The window is the whole scene here: its classes, file and window, are the same.
  TestRaster classes;
  ReadTestRaster(strOut, classes);
  ASSERT_EQ(classes.nWidth, 300);
  int nDiffer = 0;
  for (int x = 0; x < 300; ++x)
    for (int y = 0; y < 200; ++y) nDiffer += classes.At(x, y) != g_aPixel[x][y].bClassifyClass + 1;
  EXPECT_EQ(nDiffer, 0);

  // The dialog's cancel: the worker stops and nothing of the file is left.
  const std::string strCancelled = PathOf("cancelled.tif");
  CSceneClassifyRun run(SceneRequestForShownScene(strCancelled), nullptr);
  emit run.ProgressDialog()->canceled();
  EXPECT_TRUE(run.CancelRequested());
  EXPECT_EQ(run.Run().eOutcome, SceneClassifyOutcome::Cancelled);
  for (const auto& entry : std::filesystem::directory_iterator(m_dir)) {
    EXPECT_EQ(entry.path().string().find("cancelled"), std::string::npos) << entry.path();
  }
}

}  // namespace
