// Polygons of vector files burnt into the window's marks: which pixel centres count at the
// edges, the painting rules, names and numbers, reprojection from longitude and latitude, and
// refusals that change nothing. Expected pixels are worked out by hand from the scene's grid.
#include "output/vector_areas.h"

#include <array>
#include <filesystem>
#include <fstream>
#include <vector>

#include "classification/categories.h"
#include "core/text_format.h"
#include "import/raster.h"
#include "output/messages.h"
#include "support/area_file.h"
#include "support/geotiff_file.h"
#include "support/scene_dir.h"

namespace {

// The scene: 40 x 30 pixels of 30 m from (500000, 9000000) in UTM 33S; the window is its
// 20 x 15 pixels from column 10, line 5.
constexpr int kOffsetX = 10, kOffsetY = 5;

class VectorAreasTest : public SceneDirTest {
 protected:
  void SetUp() override {
    SceneDirTest::SetUp();
    const std::string strScene =
        WriteTestGeoTiff(PathOf("scene.tif"), 40, 30, 3, GDT_Byte,
                         [](int x, int y, int b) { return (x + 2 * y + b) % 200; },
                         {.szSrs = "EPSG:32733"});
    ASSERT_TRUE(ApplyOpenRaster({{strScene}, 20, 15, kOffsetX, kOffsetY}));
  }

  // The areas in UTM 33S or (nEpsg 4326) in longitude and latitude.
  std::string WriteAreas(const std::string& strName, const std::vector<TestArea>& aAreas,
                         int nEpsg = 32733, const char* szDriver = "GPKG") {
    return WriteTestAreas(PathOf(strName), aAreas, 32733, nEpsg, szDriver);
  }

  static std::array<int, 8> Marks(int x, int y) {
    std::array<int, 8> an{};
    for (int c = 0; c < 8; ++c) an[c] = g_aPixel[x][y].abTrainMark[c];
    return an;
  }
  // Every window pixel whose mark of category c is not nMark exactly inside (x0..x1, y0..y1).
  static int Misplaced(int c, int nMark, int x0, int y0, int x1, int y1) {
    int nWrong = 0;
    for (int x = 0; x < WindowWidth(); ++x) {
      for (int y = 0; y < WindowHeight(); ++y) {
        const bool bInside = x >= x0 && x <= x1 && y >= y0 && y <= y1;
        nWrong += (g_aPixel[x][y].abTrainMark[c - 1] == nMark) != bInside;
      }
    }
    return nWrong;
  }
};

}  // namespace

TEST_F(VectorAreasTest, PixelsWhoseCentresLieInsideAreMarkedByThePaintingRules) {
  // Scene columns 12.6..16.4 hold the centres 13.5, 14.5, 15.5 (window columns 3..5); lines
  // 6.4..10.6 the centres 6.5 .. 10.5 (window lines 1..5). 12.5 and 16.5 lie 3 m outside.
  g_astrCategoryName[2] = "water";
  const std::string strFile = WriteAreas(
      "areas.gpkg", {{"5", {12.6, 6.4, 16.4, 10.6}},
                     {"water", {20.0, 8.0, 22.0, 9.0}},   // window columns 10, 11 of line 3
                     {"5", {0.0, 0.0, 5.0, 5.0}},         // left of the window
                     {"9", {25.0, 10.0, 27.0, 12.0}},     // no category 9
                     {"forest", {25.0, 10.0, 27.0, 12.0}},
                     {"5", {14.0, 7.0, 14.0, 7.0}}});     // a point
  g_aPixel[3][1].abTrainMark[0] = kTrainingMark;
  g_abCategoryValid[1] = g_abCategoryValid[5] = true;
  g_bClassified = true;

  ASSERT_TRUE(LoadVectorAreas({strFile, "class", AreaKind::Test}));
  EXPECT_EQ(Misplaced(5, kTestMark, 3, 1, 5, 5), 0);
  EXPECT_EQ(Misplaced(2, kTestMark, 10, 3, 11, 3), 0);
  EXPECT_EQ(Marks(3, 1), (std::array<int, 8>{0, 0, 0, 0, 2, 0, 0, 0})) << "a test pixel has one category";
  EXPECT_TRUE(g_abCategoryValid[1] && g_abCategoryValid[5] && g_bClassified) << "test areas train nothing";
  const std::string strSummary =
      FormatText(kszMsgAreasRead, strFile.c_str()) + "\n" +
      FormatText(kszAreasMarked, "カテゴリー２", "water", kszAreasTest, "2") + "\n" +
      FormatText(kszAreasMarked, "カテゴリー５", "Name5", kszAreasTest, "15") + "\n" +
      FormatText(kszAreasOutside, 1) + "\n" +
      FormatText(kszAreasUnknownCategory, "class", 2, "「9」1 個、「forest」1 個") + "\n" +
      FormatText(kszAreasNotPolygons, 1);
  ASSERT_EQ(m_platform.m_aMessages.size(), 1u);
  EXPECT_EQ(m_platform.m_aMessages[0].strText, strSummary);
  EXPECT_EQ(m_platform.m_aMessages[0].strCaption, kszCapAreas);

  // As training the same polygons take the pixels back from the test areas and leave their
  // categories and the map needing an update; a training pixel of category 1 stays beside.
  g_aPixel[4][2].abTrainMark[0] = kTrainingMark;
  ASSERT_TRUE(LoadVectorAreas({strFile, "class", AreaKind::Training}));
  EXPECT_EQ(Misplaced(5, kTrainingMark, 3, 1, 5, 5), 0);
  EXPECT_EQ(Marks(4, 2), (std::array<int, 8>{1, 0, 0, 0, 1, 0, 0, 0}));
  EXPECT_FALSE(g_abCategoryValid[5]);
  EXPECT_FALSE(g_bClassified);
  EXPECT_TRUE(g_abCategoryValid[1]);
}

TEST_F(VectorAreasTest, TheKindFieldDecidesAndOverlappingTestCategoriesAreLeftOut) {
  const std::string strFile = WriteAreas(
      "kinds.gpkg", {{"1", {12.0, 6.0, 15.0, 8.0}, "training"},   // window 2..4 x 1..2
                     {"2", {14.0, 6.0, 16.0, 7.0}, "test"},       // window 4..5 x 1
                     {"3", {15.0, 6.0, 17.0, 7.0}, "test"},       // window 5..6 x 1
                     {"1", {12.0, 12.0, 13.0, 13.0}, "other"}});
  ASSERT_TRUE(LoadVectorAreas({strFile, "class", AreaKind::FromFile}));
  // Window pixel (4, 1) is training 1 and test 2 in the file: the test wins. (5, 1) lies in
  // the test areas of 2 and 3: no reference, so no mark.
  EXPECT_EQ(Marks(2, 1), (std::array<int, 8>{1, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(Marks(4, 1), (std::array<int, 8>{0, 2, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(Marks(4, 2), (std::array<int, 8>{1, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(Marks(5, 1), (std::array<int, 8>{}));
  EXPECT_EQ(Marks(6, 1), (std::array<int, 8>{0, 0, 2, 0, 0, 0, 0, 0}));
  const std::string& strSummary = m_platform.m_aMessages.back().strText;
  EXPECT_NE(strSummary.find(FormatText(kszAreasUnknownKind, 1, "「other」1 個")), std::string::npos);
  EXPECT_NE(strSummary.find(FormatText(kszAreasAmbiguous, "1")), std::string::npos);
}

TEST_F(VectorAreasTest, LongitudeAndLatitudeLandOnTheSamePixelsAsTheSceneGrid) {
  // Edges on pixel boundaries, half a pixel from every centre: scene columns 13..17 and lines
  // 6..11 are window columns 3..6 and lines 1..5.
  const std::vector<TestArea> aAreas = {{"4", {13.0, 6.0, 17.0, 11.0}}};
  const std::string strGeographic = WriteAreas("lonlat.geojson", aAreas, 4326, "GeoJSON");
  ASSERT_TRUE(LoadVectorAreas({strGeographic, "class", AreaKind::Training}));
  EXPECT_EQ(Misplaced(4, kTrainingMark, 3, 1, 6, 5), 0);
  const std::vector<std::uint8_t> abGeographic = WindowMarks();
  OnClearAllPixels();
  ASSERT_TRUE(LoadVectorAreas({WriteAreas("utm.gpkg", aAreas), "class", AreaKind::Training}));
  EXPECT_EQ(WindowMarks(), abGeographic);
}

TEST_F(VectorAreasTest, RingsLeftOpenAreClosedAndRingsTooShortPrintNothing) {
  // GeoJSON written by hand: the first ring stops at its fourth corner, the one of scene columns
  // 12.6..16.4 and lines 6.4..10.6 above (window columns 3..5, lines 1..5). The second ring has
  // two points, which no polygon test takes. Both once went to the terminal as the geometry
  // library's complaint, and the open ring counted as outside the window.
  auto at = [](double dColumn, double dLine) {
    return "[" + std::to_string(500000 + dColumn * 30) + "," +
           std::to_string(9000000 - dLine * 30) + "]";
  };
  auto feature = [](const char* szClass) {
    return std::string(R"({"type":"Feature","properties":{"class":")") + szClass +
           R"("},"geometry":{"type":"Polygon","coordinates":[[)";
  };
  const std::string strFile = PathOf("open.geojson");
  std::ofstream(strFile)
      << R"({"type":"FeatureCollection","crs":{"type":"name",)"
      << R"("properties":{"name":"urn:ogc:def:crs:EPSG::32733"}},"features":[)"
      << feature("5") << at(12.6, 6.4) << "," << at(16.4, 6.4) << "," << at(16.4, 10.6) << ","
      << at(12.6, 10.6) << "]]}}," << feature("2") << at(20.0, 8.0) << "," << at(22.0, 9.0)
      << "]]}}]}";
  testing::internal::CaptureStderr();
  ASSERT_TRUE(LoadVectorAreas({strFile, "class", AreaKind::Training}));
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  EXPECT_EQ(Misplaced(5, kTrainingMark, 3, 1, 5, 5), 0);
  EXPECT_EQ(Misplaced(2, kTrainingMark, 0, 0, -1, -1), 0) << "a ring of two points marks nothing";
  EXPECT_EQ(m_platform.m_aMessages.back().strText.find(FormatText(kszAreasOutside, 1)),
            std::string::npos);
}

TEST_F(VectorAreasTest, RefusedFilesAndScenesChangeNothing) {
  const std::string strFile = WriteAreas("areas.gpkg", {{"1", {12.0, 6.0, 15.0, 8.0}}});
  g_aPixel[1][1].abTrainMark[6] = kTestMark;
  const std::vector<std::uint8_t> abBefore = WindowMarks();
  std::ofstream(PathOf("garbage.gpkg")) << "no polygons here\n";
  const struct {
    AreaReading reading;
    std::string strReason;
  } aCases[] = {
      {{strFile, "category", AreaKind::Training},
       FormatText(kszAreasNoField, "drawn", "category", "class")},
      {{PathOf("garbage.gpkg"), "class", AreaKind::Training}, "not a vector file GDAL reads"},
      {{PathOf("missing.gpkg"), "class", AreaKind::Training}, "not a vector file GDAL reads"},
  };
  for (const auto& c : aCases) {
    m_platform.m_aMessages.clear();
    EXPECT_FALSE(LoadVectorAreas(c.reading));
    ASSERT_EQ(m_platform.m_aMessages.size(), 1u);
    EXPECT_EQ(m_platform.m_aMessages[0].strText.rfind(
                  FormatText(kszMsgAreasNotRead, c.reading.strPath.c_str(), c.strReason.c_str()), 0),
              0u)
        << m_platform.m_aMessages[0].strText;
    EXPECT_EQ(WindowMarks(), abBefore);
  }

  // A window without georeferencing (a floppy scene) neither reads nor writes areas.
  MakeScene(20, 15, 3, Sensor::TmFloppy, [](int x, int, int) { return x; });
  const std::vector<std::uint8_t> abFloppy = WindowMarks();
  m_platform.m_aMessages.clear();
  EXPECT_FALSE(LoadVectorAreas({strFile, "class", AreaKind::Training}));
  EXPECT_FALSE(SaveVectorAreas(PathOf("saved.gpkg")));
  ASSERT_EQ(m_platform.m_aMessages.size(), 2u);
  EXPECT_EQ(m_platform.m_aMessages[0].strText,
            FormatText(kszMsgAreasNotRead, strFile.c_str(), kszAreasNoGeoreference));
  EXPECT_EQ(WindowMarks(), abFloppy);
  EXPECT_FALSE(std::filesystem::exists(PathOf("saved.gpkg")));
}
