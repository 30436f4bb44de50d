// Areas through vector files on the sample scene: painted areas saved as a GeoPackage come back
// pixel for pixel, and the whole scene's accuracy against the saved test polygons equals the
// window's when the window is the whole scene.
#include <gdal.h>
#include <gtest/gtest.h>
#include <ogr_api.h>
#include <ogr_srs_api.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>

#include "classification/category_settings.h"
#include "cli_fixture.h"
#include "core/text_format.h"
#include "output/messages.h"
#include "output/vector_areas.h"
#include "support/area_file.h"

namespace {


class VectorAreasCliTest : public CliTest {
 protected:
  void SetUp() override {
    CliTest::SetUp();
    if (!std::filesystem::exists(kSample)) GTEST_SKIP() << "the sample scene was not fetched";
  }
};

}  // namespace

TEST_F(VectorAreasCliTest, SavedAreasComeBackPixelForPixel) {
  // One pixel a dot: training 1 on 13 x 13 pixels, training 2 on 15 x 15 sharing 7 x 7 with
  // it, test 2 and test 3 on 13 x 13 each, and test 3 on the window's corner pixel.
  const std::string strAreas = PathOf("areas.gpkg");
  const Run painted = RunHere(
      {"report", "--raster", kSample, "--dot-size", "1",
       "--category", "1", "--train-select", "--paint-rect", "290,270,302,282",
       "--category", "2", "--paint-rect", "296,276,310,290",
       "--area", "test", "--paint-rect", "100,110,112,122",
       "--category", "3", "--paint-rect", "60,300,72,312", "--paint", "0,0",
       "--save-areas", strAreas});
  ASSERT_EQ(painted.nStatus, kExitOk) << painted.strErr;
  const std::vector<std::uint8_t> abPainted = WindowMarks();

  // The file: one layer in the scene's coordinate system, a multipolygon per category and kind.
  GDALDatasetH h = GDALOpenEx(strAreas.c_str(), GDAL_OF_VECTOR, nullptr, nullptr, nullptr);
  ASSERT_NE(h, nullptr);
  ASSERT_EQ(GDALDatasetGetLayerCount(h), 1);
  OGRLayerH hLayer = GDALDatasetGetLayer(h, 0);
  EXPECT_STREQ(OGR_L_GetName(hLayer), kszAreasLayer);
  OGRSpatialReferenceH hScene = OSRNewSpatialReference(g_strCoordinateSystem.c_str());
  EXPECT_TRUE(OSRIsSame(OGR_L_GetSpatialRef(hLayer), hScene));
  OSRDestroySpatialReference(hScene);
  std::vector<std::string> astrRows;
  for (OGRFeatureH hFeature; (hFeature = OGR_L_GetNextFeature(hLayer)) != nullptr;) {
    astrRows.push_back(FormatText("%d %s %s", OGR_F_GetFieldAsInteger(hFeature, 0),
                                  OGR_F_GetFieldAsString(hFeature, 1),
                                  OGR_F_GetFieldAsString(hFeature, 2)));
    OGR_F_Destroy(hFeature);
  }
  GDALClose(h);
  EXPECT_EQ(astrRows, (std::vector<std::string>{"1 Name1 training", "2 Name2 training",
                                                "2 Name2 test", "3 Name3 test"}));

  // Read into a fresh program: the kind field decides, every mark as painted.
  ResetProgramState();
  const Run read = RunHere({"report", "--raster", kSample, "--areas", strAreas, "--class-field",
                            "category"});
  ASSERT_EQ(read.nStatus, kExitOk) << read.strErr;
  EXPECT_EQ(WindowMarks(), abPainted);
  for (const std::string& strLine :
       {FormatText(kszAreasMarked, "カテゴリー１", "Name1", kszAreasTraining, "169"),
        FormatText(kszAreasMarked, "カテゴリー２", "Name2", kszAreasTraining, "225"),
        FormatText(kszAreasMarked, "カテゴリー３", "Name3", kszAreasTest, "170")}) {
    EXPECT_NE(read.strErr.find(strLine), std::string::npos) << read.strErr;
  }

  // All as test areas, by the name field: the 49 pixels in both training areas have no
  // single reference and stay unmarked; every other marked pixel is a test pixel of its one
  // category.
  ResetProgramState();
  const Run test = RunHere({"report", "--raster", kSample, "--areas", strAreas, "--class-field",
                            "name", "--as", "test"});
  ASSERT_EQ(test.nStatus, kExitOk) << test.strErr;
  const std::vector<std::uint8_t> abTest = WindowMarks();
  int nWrong = 0, nLeftOut = 0;
  for (std::size_t i = 0; i < abPainted.size(); i += 8) {
    int nCategories = 0;
    for (int c = 0; c < 8; ++c) nCategories += abPainted[i + c] != 0;
    nLeftOut += nCategories > 1;
    for (int c = 0; c < 8; ++c) {
      const int nWanted = nCategories == 1 && abPainted[i + c] != 0 ? kTestMark : 0;
      nWrong += abTest[i + c] != nWanted;
    }
  }
  EXPECT_EQ(nWrong, 0);
  EXPECT_EQ(nLeftOut, 49);
  EXPECT_NE(test.strErr.find(FormatText(kszAreasAmbiguous, "49")), std::string::npos);

  // Only GeoPackages are written; a missing field is refused as any refused input.
  EXPECT_EQ(RunHere({"report", "--raster", kSample, "--save-areas", PathOf("a.shp")}).nStatus,
            kExitUsage);
  EXPECT_EQ(RunHere({"report", "--raster", kSample, "--areas", strAreas, "--class-field", "cls"})
                .nStatus,
            kExitImportFailed);
}

TEST_F(VectorAreasCliTest, TheWholeScenesAccuracyEqualsTheWindows) {
  const std::string strModel = PathOf("model.json"), strAreas = PathOf("areas.gpkg");
  // Three categories trained, each with a test area beside its training area: 21 x 13,
  // 21 x 11 and 19 x 19 test pixels; a reject distance leaves some of them unclassified.
  const Run window = RunHere(
      {"accuracy", "--raster", kSample, "--dot-size", "1",
       "--category", "1", "--train-select", "--paint-rect", "290,270,302,282",
       "--area", "test", "--paint-rect", "280,250,300,262", "--area", "training",
       "--category", "2", "--paint-rect", "100,110,112,122",
       "--area", "test", "--paint-rect", "120,130,140,140", "--area", "training",
       "--category", "3", "--paint-rect", "60,300,72,312",
       "--area", "test", "--paint-rect", "40,280,58,298", "--area", "training",
       "--train-update-all", "--classify-categories", "1,2,3", "--reject-distance", "12",
       "--classify", "--save-signatures", strModel, "--save-areas", strAreas});
  ASSERT_EQ(window.nStatus, kExitOk) << window.strErr;
  const nlohmann::json windowJson = nlohmann::json::parse(window.strOut);
  EXPECT_EQ(windowJson["test_pixels"], nlohmann::json({273, 231, 361, 0, 0, 0, 0, 0}));
  // The threshold leaves some test pixels unclassified: the last row must agree too.
  int nUnclassified = 0;
  for (const auto& n : windowJson["matrix"][8]) nUnclassified += n.get<int>();
  EXPECT_GT(nUnclassified, 0);

  const std::string strJson = PathOf("accuracy.json");
  const Run scene = RunHere({"classify", "--raster", kSample, "--signatures", strModel, "--out",
                             PathOf("classes.tif"), "--test-areas", strAreas, "--class-field",
                             "category", "--accuracy", strJson, "--no-progress"});
  ASSERT_EQ(scene.nStatus, kExitOk) << scene.strErr;
  EXPECT_EQ(scene.strErr, "");
  std::ifstream in(strJson);
  EXPECT_EQ(nlohmann::json::parse(in), windowJson);

  // The accuracy takes all three options; a field the file lacks refuses the run before any
  // file is written.
  EXPECT_EQ(RunHere({"classify", "--raster", kSample, "--signatures", strModel, "--out",
                     PathOf("c2.tif"), "--test-areas", strAreas, "--class-field", "category"})
                .nStatus,
            kExitUsage);
  const Run refused = RunHere({"classify", "--raster", kSample, "--signatures", strModel, "--out",
                               PathOf("c2.tif"), "--test-areas", strAreas, "--class-field", "cls",
                               "--accuracy", PathOf("a2.json"), "--no-progress"});
  EXPECT_EQ(refused.nStatus, kExitImportFailed);
  EXPECT_NE(refused.strErr.find("has no field cls"), std::string::npos) << refused.strErr;
  EXPECT_FALSE(std::filesystem::exists(PathOf("c2.tif")));
  EXPECT_FALSE(std::filesystem::exists(PathOf("a2.json")));
}
