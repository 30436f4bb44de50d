// A raster scene's work file keeps where its window lies on the ground and how its wide values
// became bytes, so the reopened work has its map coordinates and scaling; other scenes' files
// stay the classic format.
#include <gtest/gtest.h>

#include "core/band_rule.h"
#include "import/raster.h"
#include "support/geotiff_file.h"
#include "support/scene_dir.h"
#include "workfile/workfile.h"
#include "workfile/workfile_format.h"

namespace {

using WorkFilePlaceTest = SceneDirTest;

TEST_F(WorkFilePlaceTest, TheWindowComesBackOnTheGroundWithItsScaling) {
  // 16-bit values with 0 as nodata, 30 m pixels from (500000, 9000000), UTM zone 33 south of
  // nothing in particular; a window from column 20, line 10.
  const std::string strScene = WriteTestGeoTiff(
      PathOf("wide.tif"), 200, 150, 3, GDT_UInt16,
      [](int x, int y, int b) { return 100 + x * 17 + y * 5 + b * 300; },
      {.bNoData = true, .szSrs = "EPSG:32633"});
  ASSERT_TRUE(ApplyOpenRaster({.astrPaths = {strScene}, .nWidth = 120, .nHeight = 100,
                               .nOffsetX = 20, .nOffsetY = 10}));
  double dEast = 0, dNorth = 0;
  ASSERT_TRUE(MapCoordinates(3, 4, dEast, dNorth));
  // Pixel (3, 4) of the window is scene pixel (23, 14); its centre by hand.
  EXPECT_DOUBLE_EQ(dEast, 500000.0 + 23.5 * 30.0);
  EXPECT_DOUBLE_EQ(dNorth, 9000000.0 - 14.5 * 30.0);
  const BandRule rule2 = RasterBandRule(1);
  ASSERT_TRUE(rule2.bScaled);
  const int nEpsg = g_nEpsgCode;
  const std::uint8_t nValue = g_aPixel[50][60].abBand[1];

  const std::string strWork = PathOf("wide.glw");
  ASSERT_TRUE(SaveWorkFile(strWork));
  ResetProgramState();
  ASSERT_TRUE(OpenWorkFile(strWork));
  double dEastAgain = 0, dNorthAgain = 0;
  ASSERT_TRUE(MapCoordinates(3, 4, dEastAgain, dNorthAgain));
  EXPECT_DOUBLE_EQ(dEastAgain, dEast);
  EXPECT_DOUBLE_EQ(dNorthAgain, dNorth);
  EXPECT_EQ(g_nEpsgCode, nEpsg);
  EXPECT_NE(g_strCoordinateSystem.find("32633"), std::string::npos);
  const BandRule back = RasterBandRule(1);
  EXPECT_TRUE(back.bScaled);
  EXPECT_EQ(back.dLow, rule2.dLow);
  EXPECT_EQ(back.dHigh, rule2.dHigh);
  EXPECT_TRUE(back.bHasNoData);
  EXPECT_EQ(g_aPixel[50][60].abBand[1], nValue);

  // A work file read over it without a place (a floppy scene's) leaves no place behind.
  ResetProgramState();
  MakeScene(16, 12, 3, Sensor::TmFloppy, [](int x, int, int) { return x; });
  const std::string strPlain = PathOf("plain.glw");
  ASSERT_TRUE(SaveWorkFile(strPlain));
  ASSERT_TRUE(OpenWorkFile(strWork));
  ASSERT_TRUE(OpenWorkFile(strPlain));
  EXPECT_FALSE(g_bGeoreferenced);
  EXPECT_FALSE(RasterBandRule(1).bScaled);
}

}  // namespace
