// Maximum likelihood from the command line on the sample scene: the window's classes against
// the plain double-precision reference worked out here from the scene's values and the
// training rectangles, with the chi-square table's 1 % value for six bands; the whole scene
// classified with the saved model equals them; stats count the unclassified pixels; the
// distance picture with its panel; a model that cannot be inverted refused.
#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>

#include "classification/category_panels.h"
#include "classification/category_settings.h"
#include "classification/signature.h"
#include "cli_fixture.h"
#include "core/text_format.h"
#include "output/messages.h"
#include "support/gaussian_reference.h"
#include "support/geotiff_file.h"
#include "support/scene_model.h"

namespace {

using MaxLikelihoodCliTest = CliTest;

// Water, forest and town, one dot per pixel.
constexpr int kaaRect[3][4] = {{290, 270, 302, 282}, {100, 110, 112, 122}, {60, 300, 72, 312}};

std::vector<std::string> TrainedArgs(const std::string& strCommand,
                                     const std::vector<std::string>& astrMore) {
  std::vector<std::string> astr = {strCommand, "--raster", kSample, "--dot-size", "1"};
  for (int c = 1; c <= 3; ++c) {
    const int* r = kaaRect[c - 1];
    astr.insert(astr.end(), {"--category", std::to_string(c), "--train-select", "--paint-rect",
                             FormatText("%d,%d,%d,%d", r[0], r[1], r[2], r[3]), "--train-update"});
  }
  astr.insert(astr.end(), {"--classify-categories", "1,2,3", "--method", "max-likelihood",
                           "--reject-probability", "1", "--classify"});
  astr.insert(astr.end(), astrMore.begin(), astrMore.end());
  return astr;
}

}  // namespace

TEST_F(MaxLikelihoodCliTest, TheSampleSceneMatchesThePlainLoopAndTheWholeSceneRun) {
  if (!std::filesystem::exists(kSample)) GTEST_SKIP() << "the sample scene was not fetched";
  const std::string strModel = PathOf("model.json"), strWindow = PathOf("window.tif"),
                    strWhole = PathOf("whole.tif");
  ASSERT_EQ(RunProgram(TrainedArgs("export", {"--save-signatures", strModel, "--product",
                                              "classification", "--out", strWindow})),
            kExitOk);
  TestRaster window;
  ReadTestRaster(strWindow, window);
  ASSERT_EQ(window.nWidth, 349);

  // The scene's six bands (8-bit, taken as they are), the categories' means and unbiased
  // covariances, and every pixel's best category.
  GDALDatasetH hScene = GDALOpen(kSample.c_str(), GA_ReadOnly);
  ASSERT_NE(hScene, nullptr);
  const int W = window.nWidth, H = window.nHeight, n = 6;
  std::vector<std::uint8_t> ab(static_cast<std::size_t>(W) * H * n);
  ASSERT_EQ(GDALDatasetRasterIO(hScene, GF_Read, 0, 0, W, H, ab.data(), W, H, GDT_Byte, n,
                                nullptr, n, n * W, 1),
            CE_None);
  GDALClose(hScene);
  const auto value = [&](int x, int y, int b) { return double(ab[(std::size_t(y) * W + x) * n + b]); };
  std::vector<GaussianReference> aRef;
  for (const auto& r : kaaRect) {
    std::vector<double> adMean(n), adCov(n * n);
    const double dCount = (r[2] - r[0] + 1) * (r[3] - r[1] + 1);
    for (int x = r[0]; x <= r[2]; ++x)
      for (int y = r[1]; y <= r[3]; ++y)
        for (int i = 0; i < n; ++i) adMean[i] += value(x, y, i) / dCount;
    for (int x = r[0]; x <= r[2]; ++x)
      for (int y = r[1]; y <= r[3]; ++y)
        for (int i = 0; i < n; ++i)
          for (int j = 0; j < n; ++j)
            adCov[i * n + j] += (value(x, y, i) - adMean[i]) * (value(x, y, j) - adMean[j]) / (dCount - 1);
    aRef.emplace_back(adMean, adCov);
  }
  constexpr double kTable = 16.812;  // chi-square, 6 degrees of freedom, 99 %
  int nWrong = 0, nClose = 0, nUnclassified = 0;
  for (int y = 0; y < H; ++y) {
    for (int x = 0; x < W; ++x) {
      double v[6];
      for (int b = 0; b < n; ++b) v[b] = value(x, y, b);
      const auto [nBest, dGap] = BestScore(aRef, v);
      const double dSquared = aRef[nBest].Squared(v);
      nUnclassified += window.At(x, y) == 0;
      if (dGap < 1e-9 * (1.0 + std::abs(aRef[nBest].Score(v))) || std::abs(dSquared - kTable) < 5e-4) {
        ++nClose;
        continue;
      }
      nWrong += window.At(x, y) != (dSquared > kTable ? 0 : nBest + 1);
    }
  }
  EXPECT_EQ(nWrong, 0);
  EXPECT_LT(nClose, 10);
  EXPECT_GT(nUnclassified, W * H / 100) << "the threshold leaves some pixels out";

  // The whole scene with the saved model: the same classes, the unclassified counted apart.
  const Run run = RunHere({"classify", "--raster", kSample, "--signatures", strModel, "--out",
                           strWhole, "--no-progress"});
  ASSERT_EQ(run.nStatus, kExitOk) << run.strErr;
  TestRaster whole;
  ReadTestRaster(strWhole, whole);
  EXPECT_EQ(whole.ab, window.ab);
  const char* szUnclassified = GDALGetMetadataItem(whole.h, "UNCLASSIFIED_PIXELS", nullptr);
  ASSERT_NE(szUnclassified, nullptr);
  EXPECT_EQ(std::atoi(szUnclassified), nUnclassified);
  const nlohmann::json j = nlohmann::json::parse(RunHere(TrainedArgs("stats", {})).strOut);
  EXPECT_EQ(j["unclassified_pixels"], nUnclassified);
}

TEST_F(MaxLikelihoodCliTest, TheDistancePictureExportsWithItsPanel) {
  if (!std::filesystem::exists(kSample)) GTEST_SKIP() << "the sample scene was not fetched";
  const std::string strPanel = PathOf("panel.png"), strPicture = PathOf("picture.png");
  const int nStatus = RunProgram(TrainedArgs("export", {"--product", "distance", "--panel",
                                                        "--out", strPanel}));
  ASSERT_EQ(RunHere(TrainedArgs("export", {"--product", "distance", "--out", strPicture})).nStatus,
            kExitOk);
  ExpectPictureEqualsOffscreen(strPicture);
  if (!GEOLUMEN_HAS_DESKTOP) GTEST_SKIP() << "--panel needs the desktop's canvas";
  ASSERT_EQ(nStatus, kExitOk);
  ExpectPictureEqualsOffscreen(strPanel, kPanelExportExtraColumns);
  ExpectPanelIn(strPanel, DrawDistancePanel);
}

TEST_F(MaxLikelihoodCliTest, TheWholeSceneRefusesACovarianceItCannotInvert) {
  const std::string strScene =
      WriteTestGeoTiff(PathOf("scene.tif"), 300, 200, 3, GDT_UInt16, SceneValue);
  Signature sig = SceneSignature();
  sig.nMethod = kMethodMaximumLikelihood;
  for (CategorySignature& cat : sig.aCategories) {
    cat.nTrainingPixels = cat.nStatisticsPixels = 2;  // two bands in use need three
    cat.adCovariance = {9, 1, 1, 9};
  }
  std::string strReason;
  ASSERT_TRUE(WriteSignatureFile(PathOf("few.json"), sig, strReason)) << strReason;
  const Run run = RunHere({"classify", "--raster", strScene, "--signatures", PathOf("few.json"),
                           "--out", PathOf("out.tif"), "--no-progress"});
  EXPECT_EQ(run.nStatus, kExitImportFailed);
  EXPECT_NE(run.strErr.find(FormatText(kszMsgSceneFewPixels, 2, 2, 3)), std::string::npos)
      << run.strErr;
  EXPECT_FALSE(std::filesystem::exists(PathOf("out.tif")));
}
