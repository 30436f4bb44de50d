// GeoTIFFs the tests write (nBands bands of eType, value fnValue(x, y, band), north-up at
// (500000, 9000000) with 30 m pixels) and the band of classes they read back.
#pragma once

#include <gdal.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

struct TestTiffLayout {
  bool bNoData = false;    // 0 marked as nodata in every band
  bool bTiled = false;     // 256 x 256 tiles rather than strips
  const char* szSrs = "";  // the coordinate system ("EPSG:32633"), none when empty
};

template <typename Fn>
std::string WriteTestGeoTiff(const std::string& strPath, int nWidth, int nHeight, int nBands,
                             GDALDataType eType, Fn fnValue, const TestTiffLayout& layout = {}) {
  GDALAllRegister();
  const char* aszTiled[] = {"TILED=YES", nullptr};
  GDALDatasetH h = GDALCreate(GDALGetDriverByName("GTiff"), strPath.c_str(), nWidth, nHeight,
                              nBands, eType, layout.bTiled ? const_cast<char**>(aszTiled) : nullptr);
  double adTransform[6] = {500000.0, 30.0, 0.0, 9000000.0, 0.0, -30.0};
  GDALSetGeoTransform(h, adTransform);
  if (*layout.szSrs) GDALSetProjection(h, layout.szSrs);
  std::vector<double> ad(static_cast<std::size_t>(nWidth) * nHeight);
  for (int b = 1; b <= nBands; ++b) {
    for (int y = 0; y < nHeight; ++y) {
      for (int x = 0; x < nWidth; ++x) ad[static_cast<std::size_t>(y) * nWidth + x] = fnValue(x, y, b);
    }
    GDALRasterBandH hBand = GDALGetRasterBand(h, b);
    if (layout.bNoData) GDALSetRasterNoDataValue(hBand, 0.0);
    EXPECT_EQ(GDALRasterIO(hBand, GF_Write, 0, 0, nWidth, nHeight, ad.data(), nWidth, nHeight,
                           GDT_Float64, 0, 0),
              CE_None);
  }
  GDALClose(h);
  return strPath;
}

// A raster's first band as bytes, with its size and placement; nWidth 0 when it cannot be read.
struct TestRaster {
  int nWidth = 0, nHeight = 0;
  std::vector<std::uint8_t> ab;  // row by row
  double adTransform[6] = {};
  std::string strWkt;
  GDALDatasetH h = nullptr;  // still open, for the test's further questions; closed with the object
  std::uint8_t At(int x, int y) const { return ab[static_cast<std::size_t>(y) * nWidth + x]; }
  TestRaster() = default;
  TestRaster(const TestRaster&) = delete;
  TestRaster& operator=(const TestRaster&) = delete;
  ~TestRaster() {
    if (h) GDALClose(h);
  }
};

inline void ReadTestRaster(const std::string& strPath, TestRaster& raster) {
  GDALAllRegister();
  raster.h = GDALOpen(strPath.c_str(), GA_ReadOnly);
  if (!raster.h) return;
  raster.nWidth = GDALGetRasterXSize(raster.h);
  raster.nHeight = GDALGetRasterYSize(raster.h);
  raster.ab.resize(static_cast<std::size_t>(raster.nWidth) * raster.nHeight);
  EXPECT_EQ(GDALRasterIO(GDALGetRasterBand(raster.h, 1), GF_Read, 0, 0, raster.nWidth,
                         raster.nHeight, raster.ab.data(), raster.nWidth, raster.nHeight, GDT_Byte,
                         0, 0),
            CE_None);
  GDALGetGeoTransform(raster.h, raster.adTransform);
  raster.strWkt = GDALGetProjectionRef(raster.h);
}
