// Raster scenes through GDAL, on small GeoTIFFs the tests write: band sets, scaling, windows,
// refusals that change nothing, and the real sample scene where setup has fetched it.
#include <gdal.h>
#include <sys/stat.h>

#include <fstream>
#include <limits>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include <sstream>

#include <nlohmann/json.hpp>

#include "cli/stats.h"
#include "core/commands.h"
#include "import/scrolling.h"
#include "resources/resource.h"
#include "output/geotiff_writer.h"
#include "core/text_format.h"
#include "core/view.h"
#include "import/messages.h"
#include "import/ndvi.h"
#include "import/raster.h"
#include "support/geotiff_file.h"
#include "support/scene_dir.h"
#include "classification/category_settings.h"

namespace {

class RasterTest : public SceneDirTest {
 protected:
  void SetUp() override {
    SceneDirTest::SetUp();
    GDALAllRegister();
  }
  // bNoData marks 0 as nodata.
  template <typename Fn>
  std::string Write(const std::string& strName, int nWidth, int nHeight, int nBands,
                    GDALDataType eType, Fn fnValue, bool bNoData = false) {
    return WriteTestGeoTiff(PathOf(strName), nWidth, nHeight, nBands, eType, fnValue,
                            {.bNoData = bNoData});
  }
};

}  // namespace

TEST_F(RasterTest, MultiBandAndSingleBandFilesGiveTheSameWindowAtAnOffset) {
  auto value = [](int x, int y, int b) { return (x * 3 + y * 5 + b * 40) % 256; };
  const std::string strMulti = Write("multi.tif", 1500, 1200, 4, GDT_Byte, value);
  RasterValues values{{strMulti}, 800, 600, 300, 250};
  ASSERT_TRUE(ApplyOpenRaster(values));
  EXPECT_EQ(g_nSensor, Sensor::Raster);
  EXPECT_EQ(g_nLastBand, 3);
  EXPECT_EQ(WindowWidth(), 800);
  EXPECT_EQ(g_nSceneOffsetX, 300);
  EXPECT_EQ(g_nDisplayMode, DisplayMode::Prompt);
  int nWrong = 0;
  for (int x = 0; x < 800; x += 7) {
    for (int y = 0; y < 600; y += 5) {
      for (int b = 1; b <= 4; ++b) nWrong += g_aPixel[x][y].abBand[b - 1] != value(x + 300, y + 250, b);
    }
  }
  EXPECT_EQ(nWrong, 0);
  // The pixel's ground position: the centre of scene pixel (310, 260).
  double dE = 0, dN = 0;
  ASSERT_TRUE(MapCoordinates(10, 10, dE, dN));
  EXPECT_DOUBLE_EQ(dE, 500000.0 + 310.5 * 30);
  EXPECT_DOUBLE_EQ(dN, 9000000.0 - 260.5 * 30);
  // Extents for the scrolling commands: the file's size, centres in integers.
  SceneExtent extent{};
  ASSERT_TRUE(GetSceneExtent(Sensor::Raster, extent));
  EXPECT_EQ(extent.nLastColumn, 1499);
  EXPECT_EQ(extent.nCentreLine, 599);

  // The same bands as single files, and a window larger than the scene refused.
  std::vector<std::string> astrSingle;
  for (int b = 1; b <= 4; ++b) {
    astrSingle.push_back(Write("b" + std::to_string(b) + ".tif", 1500, 1200, 1, GDT_Byte,
                               [&](int x, int y, int) { return value(x, y, b); }));
  }
  ASSERT_TRUE(ApplyOpenRaster({astrSingle, 800, 600, 300, 250}));
  nWrong = 0;
  for (int x = 0; x < 800; x += 7) {
    for (int b = 1; b <= 4; ++b) nWrong += g_aPixel[x][33].abBand[b - 1] != value(x + 300, 283, b);
  }
  EXPECT_EQ(nWrong, 0);
  // Without a size: the whole scene up to 1024 x 1024.
  ASSERT_TRUE(ApplyOpenRaster({astrSingle, 0, 0, 0, 0}));
  EXPECT_EQ(WindowWidth(), 1024);
  EXPECT_EQ(WindowHeight(), 1024);
}

TEST_F(RasterTest, WideBandsAreScaledByOneRuleForEveryWindow) {
  // 16-bit values 1000..4999 in a ramp, 0 as nodata in the first column.
  auto value = [](int x, int y, int) { return x == 0 ? 0.0 : 1000.0 + (x * 10 + y) % 4000; };
  const std::string str = Write("wide.tif", 600, 400, 3, GDT_UInt16, value, true);
  ASSERT_TRUE(ApplyOpenRaster({{str}, 512, 400, 0, 0}));
  EXPECT_EQ(g_abRasterScaled[0], 1);
  EXPECT_EQ(g_aPixel[0][5].abBand[0], 0);  // nodata
  const double dLow = g_adRasterLow[0], dHigh = g_adRasterHigh[0];
  EXPECT_NEAR(dLow, 1004.0, 8.0);  // the 0.1 % point
  EXPECT_NEAR(dHigh, 4995.0, 8.0);  // the 99.9 % point
  for (int x = 1; x < 512; x += 13) {
    const double d = value(x, 7, 1);
    const int nExpected = d < dLow ? 0 : d > dHigh ? 255
                                    : static_cast<int>(std::floor(1.0 + (d - dLow) * 254.0 / (dHigh - dLow)));
    EXPECT_EQ(g_aPixel[x][7].abBand[0], nExpected) << x;
  }
  // Another window of the same scene keeps the rule: the same ground, the same value.
  const std::uint8_t bAt100 = g_aPixel[100][7].abBand[0];
  ASSERT_TRUE(ApplyOpenRaster({{str}, 400, 300, 60, 0}));
  EXPECT_EQ(g_aPixel[40][7].abBand[0], bAt100);
  EXPECT_NE(std::string(reinterpret_cast<const char*>(g_aszBandHeader[0])).find("scaled to 1..255"),
            std::string::npos);
}

TEST_F(RasterTest, RefusedFilesChangeNothing) {
  const std::string strA = Write("a.tif", 300, 200, 1, GDT_Byte, [](int, int, int) { return 9; });
  const std::string strB = Write("b.tif", 301, 200, 1, GDT_Byte, [](int, int, int) { return 9; });
  const std::string strThree =
      Write("three.tif", 300, 200, 3, GDT_Byte, [](int, int, int) { return 9; });
  // A float band of NaN and infinities, and one of nodata (0) and +Inf: nothing to scale by.
  const double dInf = std::numeric_limits<double>::infinity();
  const std::string strNaN = Write("nan.tif", 30, 20, 2, GDT_Float32, [&](int x, int, int b) {
    return b == 1 ? x : x % 3 == 0 ? std::nan("") : x % 3 == 1 ? dInf : -dInf;
  });
  const std::string strNoData = Write(
      "nodata.tif", 30, 20, 1, GDT_Float64, [&](int x, int, int) { return x % 2 ? 0.0 : dInf; },
      true);
  const std::string strFifo = PathOf("pipe.tif");
  ASSERT_EQ(mkfifo(strFifo.c_str(), 0600), 0);  // refused at once, never opened
  MakeScene(64, 48, 3, Sensor::TmFloppy, [](int x, int, int b) { return x + b; });
  g_nDisplayMode = DisplayMode::Composite;
  const std::vector<std::uint8_t> abBefore(reinterpret_cast<std::uint8_t*>(g_aPixel),
                                           reinterpret_cast<std::uint8_t*>(g_aPixel) + 64 * 1024 * 18);
  struct Case {
    RasterValues values;
    std::string strMessage;
  } aCases[] = {
      {{{strA, strB}, 0, 0, 0, 0}, FormatText(kszMsgRasterSizeDiffers, strB.c_str(), 301, 200, strA.c_str(), 300, 200)},
      {{{strA}, 512, 400, 0, 0}, FormatText(kszMsgRasterWindowTooLarge, 512, 400, 300, 200)},
      {{{PathOf("none.tif")}, 0, 0, 0, 0}, FormatText(kszMsgRasterCannotOpen, PathOf("none.tif").c_str())},
      {{{m_dir.string()}, 0, 0, 0, 0}, FormatText(kszMsgRasterNotRegular, m_dir.string().c_str(), "a folder")},
      {{{strA, strFifo}, 0, 0, 0, 0}, FormatText(kszMsgRasterNotRegular, strFifo.c_str(), "a named pipe")},
      {{{strA, strThree, strThree}, 0, 0, 0, 0}, FormatText(kszMsgRasterSeveralBands, strThree.c_str(), 3)},
      {{{strNaN}, 0, 0, 0, 0}, FormatText(kszMsgRasterNoFiniteValue, strNaN.c_str(), 2)},
      {{{strNoData}, 0, 0, 0, 0}, FormatText(kszMsgRasterNoFiniteValue, strNoData.c_str(), 1)},
  };
  for (const Case& c : aCases) {
    m_platform.m_aMessages.clear();
    EXPECT_FALSE(ApplyOpenRaster(c.values));
    ASSERT_EQ(m_platform.m_aMessages.size(), 1u) << c.strMessage;
    EXPECT_EQ(m_platform.m_aMessages[0].strText, c.strMessage);
    EXPECT_EQ(m_platform.m_aMessages[0].strCaption, kszCapRaster);
  }
  // Of these only the missing file got as far as GDAL, which said so.
  ASSERT_EQ(m_platform.m_aDetailed.size(), 1u);
  EXPECT_EQ(m_platform.m_aDetailed[0].second.rfind("GDAL, " + PathOf("none.tif") + ": ", 0), 0u)
      << m_platform.m_aDetailed[0].second;
  m_platform.m_aDetailed.clear();

  // A damaged TIFF: GDAL's own lines are the message's detail, one line naming the file, and
  // nothing of GDAL's reaches the error stream as it comes.
  const std::string strBroken = PathOf("broken.tif");
  std::ofstream(strBroken, std::ios::binary) << std::string("II*\0\xC8\0\0\0", 8)
                                             << std::string(50, '\0');
  m_platform.m_aMessages.clear();
  testing::internal::CaptureStderr();
  EXPECT_FALSE(ApplyOpenRaster({{strBroken}, 0, 0, 0, 0}));
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  ASSERT_EQ(m_platform.m_aDetailed.size(), 1u);
  EXPECT_EQ(m_platform.m_aDetailed[0].first, FormatText(kszMsgRasterCannotOpen, strBroken.c_str()));
  const std::string& strDetail = m_platform.m_aDetailed[0].second;
  EXPECT_EQ(strDetail.rfind("GDAL, " + strBroken + ": ", 0), 0u) << strDetail;
  EXPECT_NE(strDetail.find("TIFFReadDirectory"), std::string::npos) << strDetail;
  EXPECT_EQ(strDetail.find('\n'), std::string::npos) << strDetail;

  EXPECT_EQ(g_nSensor, Sensor::TmFloppy);
  EXPECT_EQ(WindowWidth(), 64);
  EXPECT_EQ(g_nDisplayMode, DisplayMode::Composite);
  EXPECT_EQ(std::memcmp(abBefore.data(), g_aPixel, abBefore.size()), 0);
}

TEST_F(RasterTest, FloatBandsAreScaledOverTheirFiniteValuesOnly) {
  // 100 x 20 pixels numbered i = 100 y + x: pixel 0 is nodata (0), 1 +Inf, 2 -Inf, 3 NaN, the
  // others hold i. The 1996 finite values 4..1999 put the 0.1 % point at the second (5) and
  // the 99.9 % point at the 1995th (1998).
  const double dInf = std::numeric_limits<double>::infinity();
  auto value = [&](int x, int y, int) {
    const int i = y * 100 + x;
    return i == 1 ? dInf : i == 2 ? -dInf : i == 3 ? std::nan("") : static_cast<double>(i);
  };
  const std::string strRamp = Write("ramp.tif", 100, 20, 1, GDT_Float32, value, true);
  testing::internal::CaptureStderr();
  ASSERT_TRUE(ApplyOpenRaster({{strRamp}, 0, 0, 0, 0}));
  // GDAL had no complaint (it once said "dfMin and dfMax should be finite" here).
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  EXPECT_TRUE(m_platform.m_aNotices.empty());
  EXPECT_EQ(g_adRasterLow[0], 5.0);
  EXPECT_EQ(g_adRasterHigh[0], 1998.0);
  int nWrong = 0;
  for (int y = 0; y < 20; ++y) {
    for (int x = 0; x < 100; ++x) {
      const int i = y * 100 + x;
      // Hand-worked ends, then 1 + floor((i - 5) x 254 / 1993) in plain doubles.
      const int nExpected = i == 0 || i == 2 || i == 3 || i == 4 ? 0
                            : i == 1 || i == 1999            ? 255
                            : 1 + static_cast<int>(std::floor((i - 5) * 254.0 / 1993.0));
      nWrong += g_aPixel[x][y].abBand[0] != nExpected;
    }
  }
  EXPECT_EQ(nWrong, 0);
  EXPECT_EQ(g_aPixel[5][0].abBand[0], 1);
  EXPECT_EQ(g_aPixel[0][10].abBand[0], 127);  // i = 1000: floor(1 + 995 x 254 / 1993) = floor(127.8)

  // Values at the ends of the double range spread over 1..255 rather than 0 and 1:
  // -1e308 is 1, 1e308 is 255, 0 the middle, 1 + 127 = 128, 5e307 1 + floor(190.5) = 191.
  const double adHuge[4] = {-1e308, 1e308, 0.0, 5e307};
  const std::string strHuge = Write("huge.tif", 4, 1, 1, GDT_Float64,
                                    [&](int x, int, int) { return adHuge[x]; });
  ASSERT_TRUE(ApplyOpenRaster({{strHuge}, 0, 0, 0, 0}));
  EXPECT_EQ(g_adRasterLow[0], -1e308);
  EXPECT_EQ(g_adRasterHigh[0], 1e308);
  const int anHuge[4] = {1, 255, 128, 191};
  for (int x = 0; x < 4; ++x) EXPECT_EQ(g_aPixel[x][0].abBand[0], anHuge[x]) << adHuge[x];

  // A band larger than the grid the scan looks at, NaN but for one corner pixel: taken, since
  // a band is called empty only when it is. Its one value is 1.
  const std::string strSparse =
      Write("sparse.tif", 2100, 1100, 1, GDT_Float32,
            [](int x, int y, int) { return x == 0 && y == 0 ? 7.0 : std::nan(""); });
  ASSERT_TRUE(ApplyOpenRaster({{strSparse}, 512, 400, 0, 0}));
  EXPECT_EQ(g_aPixel[0][0].abBand[0], 1);
  EXPECT_EQ(g_aPixel[1][0].abBand[0], 0);
}

TEST_F(RasterTest, GeoTiffExportsLieWhereTheWindowIs) {
  const std::string str = Write("scene.tif", 700, 500, 3, GDT_Byte,
                                [](int x, int y, int b) { return (x + y + b) % 256; });
  ASSERT_TRUE(ApplyOpenRaster({{str}, 512, 400, 100, 50}));
  for (int x = 0; x < 512; ++x) {
    for (int y = 0; y < 400; ++y) g_aPixel[x][y].bClassifyClass = static_cast<std::uint8_t>((x / 64) % 9);
  }
  g_astrCategoryName[2] = "水田";
  g_acrCategoryColour[2] = Rgb(10, 20, 30);
  const std::string strClasses = PathOf("classes.tif");
  std::string strReason;
  ASSERT_TRUE(WriteGeoTiffClasses(strClasses, strReason)) << strReason;
  GDALDatasetH h = GDALOpen(strClasses.c_str(), GA_ReadOnly);
  ASSERT_NE(h, nullptr);
  double t[6];
  ASSERT_EQ(GDALGetGeoTransform(h, t), CE_None);
  EXPECT_DOUBLE_EQ(t[0], 500000.0 + 100 * 30.0);  // shifted by the window's offset
  EXPECT_DOUBLE_EQ(t[3], 9000000.0 - 50 * 30.0);
  GDALRasterBandH hBand = GDALGetRasterBand(h, 1);
  std::uint8_t ab[3] = {};
  ASSERT_EQ(GDALRasterIO(hBand, GF_Read, 0, 0, 1, 1, &ab[0], 1, 1, GDT_Byte, 0, 0), CE_None);
  ASSERT_EQ(GDALRasterIO(hBand, GF_Read, 64, 0, 1, 1, &ab[1], 1, 1, GDT_Byte, 0, 0), CE_None);
  ASSERT_EQ(GDALRasterIO(hBand, GF_Read, 511, 0, 1, 1, &ab[2], 1, 1, GDT_Byte, 0, 0), CE_None);
  EXPECT_EQ(ab[0], 1);  // class 0 is category 1
  EXPECT_EQ(ab[1], 2);
  EXPECT_EQ(ab[2], 8);
  const GDALColorEntry* pEntry = GDALGetColorEntry(GDALGetRasterColorTable(hBand), 2);
  ASSERT_NE(pEntry, nullptr);
  EXPECT_EQ(std::vector<short>({pEntry->c1, pEntry->c2, pEntry->c3}), std::vector<short>({10, 20, 30}));
  char** aszNames = GDALGetRasterCategoryNames(hBand);
  ASSERT_NE(aszNames, nullptr);
  EXPECT_STREQ(aszNames[2], "水田");
  GDALClose(h);
  // Unclassified pixels (8) are 0, the nodata value.
  g_aPixel[5][5].bClassifyClass = 8;
  ASSERT_TRUE(WriteGeoTiffClasses(strClasses, strReason)) << strReason;
  h = GDALOpen(strClasses.c_str(), GA_ReadOnly);
  ASSERT_EQ(GDALRasterIO(GDALGetRasterBand(h, 1), GF_Read, 5, 5, 1, 1, &ab[0], 1, 1, GDT_Byte, 0, 0), CE_None);
  EXPECT_EQ(ab[0], 0);
  GDALClose(h);
}

// The vegetation index belongs to the window it was computed over: after a scroll band 8 is no
// longer loaded, and computing it again gives the new window's index.
TEST_F(RasterTest, AfterAScrollTheVegetationBandIsComputedForTheNewWindow) {
  auto value = [](int x, int y, int b) { return (x * (b + 1) + y * 5 + b * 31) % 256; };
  const std::string str = Write("seven.tif", 1100, 500, 7, GDT_Byte, value);
  ASSERT_TRUE(ApplyOpenRaster({{str}, 512, 400, 0, 0}));
  CreateNdviBand();
  ASSERT_EQ(BandCount(), 8);
  ASSERT_TRUE(DispatchCommand(ID_SCROLL_RIGHT));
  EXPECT_EQ(g_nSceneOffsetX, 512);
  EXPECT_EQ(BandCount(), 7) << "band 8 came from the old window";
  EXPECT_EQ(g_abUseBand[7], 0);
  m_platform.m_aMessages.clear();
  CreateNdviBand();
  EXPECT_TRUE(m_platform.m_aMessages.empty()) << "no warning: the scene has seven bands again";
  ASSERT_EQ(BandCount(), 8);
  int nWrong = 0;
  for (int x = 0; x < 512; x += 7) {
    for (int y = 0; y < 400; y += 5) {
      nWrong += g_aPixel[x][y].abBand[7] != NdviValue(value(x + 512, y, 3), value(x + 512, y, 4));
    }
  }
  EXPECT_EQ(nWrong, 0);
}

TEST_F(RasterTest, ScrollingMovesTheWindowOverTheFileAndAFailedReadKeepsIt) {
  int nShift = 0;
  auto value = [&](int x, int y, int b) { return (x * 7 + y * 3 + b * 50 + nShift) % 256; };
  const std::string str = Write("big.tif", 1500, 1200, 3, GDT_Byte, value);
  ASSERT_TRUE(ApplyOpenRaster({{str}, 512, 400, 0, 0}));
  auto windowHolds = [&] {
    int nWrong = 0;
    for (int x = 0; x < 512; x += 11) {
      for (int y = 0; y < 400; y += 7) {
        for (int b = 1; b <= 3; ++b) {
          nWrong += g_aPixel[x][y].abBand[b - 1] != value(x + g_nSceneOffsetX, y + g_nSceneOffsetY, b);
        }
      }
    }
    return nWrong == 0;
  };
  ASSERT_TRUE(DispatchCommand(ID_SCROLL_RIGHT));
  EXPECT_EQ(g_nSceneOffsetX, 512);
  EXPECT_TRUE(windowHolds());
  EXPECT_EQ(g_nDisplayMode, DisplayMode::Composite);  // the picture becomes the composite
  ASSERT_TRUE(DispatchCommand(ID_SCROLL_RIGHT));
  EXPECT_EQ(g_nSceneOffsetX, 988);  // flush with the right edge: 1499 - 511
  EXPECT_FALSE(IsCommandEnabled(ID_SCROLL_RIGHT));
  EXPECT_TRUE(IsCommandChecked(ID_SCROLL_TOP_RIGHT));
  ASSERT_TRUE(DispatchCommand(ID_SCROLL_CENTRE));
  EXPECT_EQ(g_nSceneOffsetX, 749 - 255);
  EXPECT_EQ(g_nSceneOffsetY, 599 - 199);
  EXPECT_TRUE(windowHolds());
  ASSERT_TRUE(DispatchCommand(ID_SCROLL_UP100));
  EXPECT_EQ(g_nSceneOffsetY, 300);

  // The file is written anew between scrolls: the next read shows what it holds now.
  nShift = 1;
  Write("big.tif", 1500, 1200, 3, GDT_Byte, value);
  ASSERT_TRUE(DispatchCommand(ID_SCROLL_DOWN100));
  EXPECT_TRUE(windowHolds());

  // The file goes away: the re-read fails, and window, offsets and histograms stay.
  const std::vector<std::uint32_t> anHist(&g_anBandHist[0][0], &g_anBandHist[0][0] + 3 * 256);
  std::filesystem::remove(str);
  m_platform.m_aMessages.clear();
  ASSERT_TRUE(DispatchCommand(ID_SCROLL_BOTTOM_LEFT));
  EXPECT_TRUE(LastReloadFailed());
  EXPECT_EQ(g_nSceneOffsetX, 749 - 255);
  EXPECT_EQ(g_nSceneOffsetY, 400);
  EXPECT_EQ(std::vector<std::uint32_t>(&g_anBandHist[0][0], &g_anBandHist[0][0] + 3 * 256), anHist);
  EXPECT_TRUE(windowHolds());
  ASSERT_EQ(m_platform.m_aMessages.size(), 2u);
  EXPECT_EQ(m_platform.m_aMessages[1].strText, kszMsgCheckFiles);
}

TEST_F(RasterTest, TheSampleLandsatExcerptOpens) {
  const std::string strSample = GEOLUMEN_SOURCE_DIR "/data/L7_ETMs.tif";
  if (!std::filesystem::exists(strSample)) {
    GTEST_SKIP() << "data/L7_ETMs.tif is fetched by tools/setup.sh (package r-cran-stars)";
  }
  ASSERT_TRUE(ApplyOpenRaster({{strSample}, 0, 0, 0, 0}));
  EXPECT_EQ(BandCount(), 6);
  EXPECT_EQ(WindowWidth(), 349);
  EXPECT_EQ(WindowHeight(), 352);
  EXPECT_EQ(g_bGeoreferenced, 1);
  EXPECT_NE(g_strCoordinateSystem.find("UTM zone 25S"), std::string::npos);
  // The stats name the ground: 28.5 m pixels in EPSG 31985.
  std::ostringstream out;
  WriteStatsJson(out);
  const nlohmann::json j = nlohmann::json::parse(out.str());
  EXPECT_EQ(j["epsg"], 31985);
  EXPECT_NEAR(j["pixel_area"].get<double>(), 812.25, 1e-6);
}
