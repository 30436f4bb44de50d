#include "output/geotiff_writer.h"

#include <cpl_vsi.h>
#include <gdal.h>
#include <unistd.h>

#include <algorithm>
#include <vector>

#include "classification/category_settings.h"
#include "core/file_io.h"
#include "core/state.h"

namespace {

// GDAL writes the file in memory; the bytes then go to the target through a temporary file
// renamed over it, so a failed write never leaves half a file in the old one's place.
std::string MemoryPath() {
  static int s_nFile = 0;
  return "/vsimem/geolumen_" + std::to_string(::getpid()) + "_" + std::to_string(++s_nFile) +
         ".tif";
}

// Moves a file GDAL wrote in memory (and its side-car of extra metadata, if GDAL made one) to
// strPath; the memory is freed either way.
bool CommitMemoryFile(const std::string& strMemory, const std::string& strPath,
                      std::string& strReason) {
  bool bOk = true;
  for (const char* szSuffix : {"", ".aux.xml"}) {
    const std::string strFrom = strMemory + szSuffix;
    vsi_l_offset nSize = 0;
    GByte* p = VSIGetMemFileBuffer(strFrom.c_str(), &nSize, FALSE);
    if (!p) {
      if (*szSuffix == 0) {
        strReason = "the picture could not be encoded";
        bOk = false;
      }
      continue;
    }
    if (bOk) {
      bOk = WriteFileAtomically(strPath + szSuffix,
                                std::span<const std::uint8_t>(p, static_cast<std::size_t>(nSize)),
                                strReason);
    }
    VSIUnlink(strFrom.c_str());
  }
  return bOk;
}

// A GeoTIFF of the window's size and nBands bytes per pixel, with the window's place on the
// ground where the scene has one; null when it cannot be made.
GDALDatasetH CreateWindowTiff(const std::string& strPath, int nBands, bool bRgb) {
  GDALAllRegister();
  GDALDriverH hDriver = GDALGetDriverByName("GTiff");
  if (!hDriver) return nullptr;
  const char* aszRgb[] = {"PHOTOMETRIC=RGB", nullptr};
  CPLPushErrorHandler(CPLQuietErrorHandler);
  GDALDatasetH h = GDALCreate(hDriver, strPath.c_str(), WindowWidth(), WindowHeight(), nBands,
                              GDT_Byte, bRgb ? const_cast<char**>(aszRgb) : nullptr);
  CPLPopErrorHandler();
  if (!h) return nullptr;
  if (g_nSensor == Sensor::Raster && g_bGeoreferenced == 1) {
    SetWindowGeoreference(h, g_adGeoTransform, g_nSceneOffsetX, g_nSceneOffsetY,
                          g_strCoordinateSystem);
  }
  return h;
}

// Closing writes the file out; a write that failed, or an error GDAL reported on the way, is a
// failed file.
bool Finish(GDALDatasetH h, bool bWritten, const std::string& strMemory,
            const std::string& strPath, std::string& strReason) {
  CPLErrorReset();
  GDALClose(h);
  if (!bWritten || CPLGetLastErrorType() >= CE_Failure) {
    strReason = "the picture could not be encoded";
    VSIUnlink(strMemory.c_str());
    VSIUnlink((strMemory + ".aux.xml").c_str());
    return false;
  }
  return CommitMemoryFile(strMemory, strPath, strReason);
}

}  // namespace

void SetClassLegend(GDALRasterBandH hBand, const ClassLegend& legend) {
  GDALColorTableH hTable = GDALCreateColorTable(GPI_RGB);
  const GDALColorEntry none = {0, 0, 0, 0};
  GDALSetColorEntry(hTable, 0, &none);
  std::vector<std::string> astrNames = {"-"};
  for (int c = 1; c <= 8; ++c) {
    const Colorref cr = legend.acrColour[c];
    const GDALColorEntry entry = {static_cast<short>(GetRValue(cr)),
                                  static_cast<short>(GetGValue(cr)),
                                  static_cast<short>(GetBValue(cr)), 255};
    GDALSetColorEntry(hTable, c, legend.abPresent[c] ? &entry : &none);
    astrNames.push_back(legend.abPresent[c] ? legend.astrName[c] : std::string());
  }
  GDALSetRasterColorTable(hBand, hTable);
  GDALDestroyColorTable(hTable);
  std::vector<char*> aszNames;
  for (std::string& str : astrNames) aszNames.push_back(str.data());
  aszNames.push_back(nullptr);
  GDALSetRasterCategoryNames(hBand, aszNames.data());
  GDALSetRasterNoDataValue(hBand, 0.0);
}

void SetWindowGeoreference(GDALDatasetH h, const double adSceneTransform[6], int nX, int nY,
                           const std::string& strWkt) {
  double t[6];
  std::copy(adSceneTransform, adSceneTransform + 6, t);
  t[0] += nX * t[1] + nY * t[2];
  t[3] += nX * t[4] + nY * t[5];
  GDALSetGeoTransform(h, t);
  if (!strWkt.empty()) GDALSetProjection(h, strWkt.c_str());
}

bool IsGeoTiffPath(const std::string& strPath) {
  const std::string str = FileExtension(strPath);
  return str == ".tif" || str == ".tiff";
}

bool WriteGeoTiffPicture(const std::string& strPath, int nWidth, int nHeight,
                         const std::uint32_t* pPixels, int nStride, std::string& strReason) {
  const std::string strMemory = MemoryPath();
  GDALDatasetH h = CreateWindowTiff(strMemory, 3, true);
  if (!h) {
    strReason = "the picture could not be encoded";
    return false;
  }
  std::vector<std::uint8_t> ab(static_cast<std::size_t>(nWidth) * nHeight);
  bool bWritten = true;
  for (int nBand = 0; nBand < 3 && bWritten; ++nBand) {
    const int nShift = 16 - 8 * nBand;  // red, green, blue
    for (int y = 0; y < nHeight; ++y) {
      for (int x = 0; x < nWidth; ++x) {
        ab[static_cast<std::size_t>(y) * nWidth + x] =
            static_cast<std::uint8_t>(pPixels[static_cast<std::size_t>(y) * nStride + x] >> nShift);
      }
    }
    bWritten = GDALRasterIO(GDALGetRasterBand(h, nBand + 1), GF_Write, 0, 0, nWidth, nHeight,
                            ab.data(), nWidth, nHeight, GDT_Byte, 0, 0) == CE_None;
  }
  return Finish(h, bWritten, strMemory, strPath, strReason);
}

bool WriteGeoTiffClasses(const std::string& strPath, std::string& strReason) {
  const std::string strMemory = MemoryPath();
  GDALDatasetH h = CreateWindowTiff(strMemory, 1, false);
  if (!h) {
    strReason = "the picture could not be encoded";
    return false;
  }
  const int nWidth = WindowWidth(), nHeight = WindowHeight();
  std::vector<std::uint8_t> ab(static_cast<std::size_t>(nWidth) * nHeight);
  for (int y = 0; y < nHeight; ++y) {
    for (int x = 0; x < nWidth; ++x) {
      const int k = g_aPixel[x][y].bClassifyClass;
      ab[static_cast<std::size_t>(y) * nWidth + x] = static_cast<std::uint8_t>(k < 8 ? k + 1 : 0);
    }
  }
  GDALRasterBandH hBand = GDALGetRasterBand(h, 1);
  ClassLegend legend;
  for (int c = 1; c <= 8; ++c) {
    legend.abPresent[c] = true;
    legend.acrColour[c] = g_acrCategoryColour[c];
    legend.astrName[c] = g_astrCategoryName[c];
  }
  SetClassLegend(hBand, legend);
  const bool bWritten = GDALRasterIO(hBand, GF_Write, 0, 0, nWidth, nHeight, ab.data(), nWidth,
                                     nHeight, GDT_Byte, 0, 0) == CE_None;
  return Finish(h, bWritten, strMemory, strPath, strReason);
}
