// The whole scene streamed: every pixel against the plain loop of support/scene_model.h, for a
// multi-band file in strips and for single-band files of three types in tiles under a window;
// the classes file's legend, placement and counts; a cancel that leaves nothing behind; test
// polygons counted against the classes run by run.
#include "output/scene_classifier.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "core/text_format.h"
#include "support/area_file.h"
#include "support/geotiff_file.h"
#include "support/scene_dir.h"
#include "support/scene_model.h"

namespace {

using SceneClassifierTest = SceneDirTest;

constexpr int kWidth = 3000, kHeight = 1100;

double MetadataNumber(GDALDatasetH h, const std::string& strKey) {
  const char* sz = GDALGetMetadataItem(h, strKey.c_str(), nullptr);
  return sz ? std::strtod(sz, nullptr) : -1.0;
}

}  // namespace

TEST_F(SceneClassifierTest, EveryPixelIsTheNearestCentreOfItsRuledValues) {
  // The formula by hand, for the loop below and for the rule the program applies.
  const BandRule rule1 = SceneSignature().aRule[0];
  for (const auto& [dValue, nScaled] : {std::pair{999.0, 0}, {1000.0, 1}, {2275.0, 128},
                                        {3540.0, 255}, {3541.0, 255}, {0.0, 0}}) {
    EXPECT_EQ(ScaleByFormula(dValue, kLow1, kHigh1), dValue == 0.0 ? 0 : nScaled);
    EXPECT_EQ(ApplyBandRule(dValue, rule1), nScaled) << dValue;
  }
  EXPECT_EQ(ScaleByFormula(1507, kLow3, kHigh3), 126);  // 1 + floor(1007 x 0.125)
  // Pixel (0, 0): raw 101 and 303 scale to 0 and 0; 40² + 200² = 41600 to categories 2 and 5,
  // 2 x 120² = 28800 to 7.
  EXPECT_EQ(ExpectedClass(0, 0), 7);

  const std::string strMulti = WriteTestGeoTiff(PathOf("multi.tif"), kWidth, kHeight, 3,
                                                GDT_UInt16, SceneValue, {.szSrs = "EPSG:32633"});
  std::vector<std::string> astrSingle;
  for (GDALDataType eType : {GDT_UInt16, GDT_Int16, GDT_Float32}) {
    const int b = static_cast<int>(astrSingle.size()) + 1;
    astrSingle.push_back(WriteTestGeoTiff(
        PathOf(FormatText("band%d.tif", b)), kWidth, kHeight, 1, eType,
        [b](int x, int y, int) { return SceneValue(x, y, b); }, {.bTiled = true}));
  }
  struct Case {
    std::vector<std::string> astrPaths;
    bool bWindow;
    int nX, nY, nWidth, nHeight;
  } const aCases[] = {{{strMulti}, false, 0, 0, kWidth, kHeight},
                      {astrSingle, true, 37, 301, 2900, 700}};
  for (const Case& c : aCases) {
    SceneClassifyRequest request{c.astrPaths, SceneSignature(), PathOf("classes.tif"), c.bWindow,
                                 c.nX, c.nY, c.nWidth, c.nHeight};
    std::vector<int> anDone;
    const std::atomic<bool> bCancel{false};
    const SceneClassifyResult result =
        ClassifyScene(request, [&](int nDone, int nTotal) {
          EXPECT_EQ(nTotal, c.nHeight);
          anDone.push_back(nDone);
        }, bCancel);
    ASSERT_EQ(result.eOutcome, SceneClassifyOutcome::Done) << result.strMessage;
    EXPECT_TRUE(std::is_sorted(anDone.begin(), anDone.end()));
    EXPECT_GT(anDone.size(), 2u) << "the scene is read in several runs";
    EXPECT_EQ(anDone.back(), c.nHeight);

    TestRaster classes;
    ReadTestRaster(request.strOutPath, classes);
    ASSERT_EQ(classes.nWidth, c.nWidth);
    ASSERT_EQ(classes.nHeight, c.nHeight);
    std::uint64_t anExpected[9] = {};
    long nWrong = 0;
    for (int y = 0; y < c.nHeight; ++y) {
      for (int x = 0; x < c.nWidth; ++x) {
        const int k = ExpectedClass(c.nX + x, c.nY + y);
        ++anExpected[k];
        nWrong += classes.At(x, y) != k;
      }
    }
    EXPECT_EQ(nWrong, 0);
    EXPECT_GT(anExpected[0], 0u) << "the scene has nodata pixels";
    // The counts, and the hectares of 30 m pixels (0.09 ha) where the system is in metres.
    const double dHectares = c.bWindow ? 0.0 : 0.09;
    EXPECT_NEAR(result.dPixelHectares, dHectares, 1e-12);
    EXPECT_EQ(MetadataNumber(classes.h, "NODATA_PIXELS"), static_cast<double>(anExpected[0]));
    for (int k : kSceneCategories) {
      EXPECT_EQ(result.anPixels[k], anExpected[k]) << k;
      EXPECT_EQ(MetadataNumber(classes.h, FormatText("CATEGORY_%d_PIXELS", k)),
                static_cast<double>(anExpected[k]));
      EXPECT_NEAR(MetadataNumber(classes.h, FormatText("CATEGORY_%d_HECTARES", k)),
                  c.bWindow ? -1.0 : static_cast<double>(anExpected[k]) * 0.09, 1e-3);
    }
    EXPECT_DOUBLE_EQ(classes.adTransform[0], 500000.0 + 30.0 * c.nX);
    EXPECT_DOUBLE_EQ(classes.adTransform[3], 9000000.0 - 30.0 * c.nY);
  }

  // The legend is the model's: its colours and names, nothing for the categories it lacks.
  TestRaster classes;
  ReadTestRaster(PathOf("classes.tif"), classes);
  GDALRasterBandH hBand = GDALGetRasterBand(classes.h, 1);
  GDALColorTableH hTable = GDALGetRasterColorTable(hBand);
  ASSERT_NE(hTable, nullptr);
  const GDALColorEntry* pForest = GDALGetColorEntry(hTable, 5);
  EXPECT_EQ(std::vector<int>({pForest->c1, pForest->c2, pForest->c3}), std::vector<int>({0, 160, 0}));
  char** aszNames = GDALGetRasterCategoryNames(hBand);
  ASSERT_NE(aszNames, nullptr);
  EXPECT_STREQ(aszNames[5], "森林");
  EXPECT_STREQ(aszNames[1], "");
}

TEST_F(SceneClassifierTest, ACancelledRunLeavesTheOldFileAndNothingElse) {
  const std::string strScene =
      WriteTestGeoTiff(PathOf("scene.tif"), kWidth, kHeight, 3, GDT_UInt16, SceneValue);
  const std::string strOut = PathOf("classes.tif");
  std::ofstream(strOut) << "old";
  std::atomic<bool> bCancel{false};
  int nCalls = 0;
  const SceneClassifyResult result = ClassifyScene(
      {{strScene}, SceneSignature(), strOut},
      [&](int, int) {
        ++nCalls;
        bCancel = true;
      },
      bCancel);
  EXPECT_EQ(result.eOutcome, SceneClassifyOutcome::Cancelled);
  EXPECT_EQ(nCalls, 1);
  std::ifstream in(strOut);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "old");
  int nFiles = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(m_dir)) ++nFiles;
  EXPECT_EQ(nFiles, 2) << "the scene and the old file only";
}

TEST_F(SceneClassifierTest, TestPolygonsAreCountedAgainstTheClassesAcrossRuns) {
  const std::string strScene = WriteTestGeoTiff(PathOf("scene.tif"), kWidth, kHeight, 3,
                                                GDT_UInt16, SceneValue, {.szSrs = "EPSG:32633"});
  // Scene columns and lines, edges on pixel boundaries. Category 2's area spans the end of the
  // first run of rows; 5's (named by the model's name) overlaps it by 10 x 20 pixels, which
  // have no single reference; 1 takes no part in the model; the training area is left out.
  const std::vector<TestArea> aAreas = {{"2", {100, 300, 160, 420}, "test"},
                                        {"森林", {150, 400, 260, 800}, "test"},
                                        {"7", {2000, 1000, 2100, 1100}, "test"},
                                        {"1", {500, 50, 520, 70}, "test"},
                                        {"7", {0, 0, 3000, 1100}, "training"}};
  SceneClassifyRequest request{{strScene}, SceneSignature(), PathOf("classes.tif"), true,
                               37, 1, 2900, 1099};
  request.testAreas = {WriteTestAreas(PathOf("areas.gpkg"), aAreas, 32633, 32633), "class",
                       AreaKind::FromFile};
  const std::atomic<bool> bCancel{false};
  const SceneClassifyResult result = ClassifyScene(request, nullptr, bCancel);
  ASSERT_EQ(result.eOutcome, SceneClassifyOutcome::Done) << result.strMessage;

  std::uint64_t aanExpected[10][9] = {};
  std::uint64_t nAmbiguous = 0;
  for (int y = request.nY; y < request.nY + request.nHeight; ++y) {
    for (int x = request.nX; x < request.nX + request.nWidth; ++x) {
      int nReference = 0, nCovering = 0;
      for (const TestArea& area : aAreas) {
        const double* ad = area.adBox;
        if (std::string(area.szKind) == "test" && x + 0.5 > ad[0] && x + 0.5 < ad[2] &&
            y + 0.5 > ad[1] && y + 0.5 < ad[3]) {
          nReference = area.strClass == "森林" ? 5 : std::atoi(area.strClass.c_str());
          ++nCovering;
        }
      }
      const int k = ExpectedClass(x, y);
      if (nCovering == 0 || k == 0) continue;
      if (nCovering > 1) {
        ++nAmbiguous;
      } else {
        ++aanExpected[k][nReference];
      }
    }
  }
  EXPECT_GT(aanExpected[5][2] + aanExpected[2][2] + aanExpected[7][2], 0u);
  EXPECT_GT(aanExpected[7][1] + aanExpected[2][1] + aanExpected[5][1], 0u);
  for (int r = 1; r <= 9; ++r) {
    for (int c = 1; c <= 8; ++c) EXPECT_EQ(result.accuracy.aanMatrix[r][c], aanExpected[r][c]) << r << "," << c;
  }
  EXPECT_EQ(result.nAmbiguousPixels, nAmbiguous);
  EXPECT_GT(nAmbiguous, 0u);
  EXPECT_EQ(result.accuracy.nTotal, result.accuracy.anColumnTotal[1] + result.accuracy.anColumnTotal[2] +
                                        result.accuracy.anColumnTotal[5] + result.accuracy.anColumnTotal[7]);
}
