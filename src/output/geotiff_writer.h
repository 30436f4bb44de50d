// Pictures and classifications as GeoTIFF files, georeferenced like the window they show when
// the scene is: opened in any GIS they lie where the ground is.
#pragma once

#include <gdal.h>

#include <cstdint>
#include <string>

#include "core/state.h"

// The W x H picture (0xFFRRGGBB pixels, nStride per line) as an RGB GeoTIFF.
// Both are written in memory first and put in place through a temporary file renamed over the
// target; false with the reason, the old file untouched, when that fails.
bool WriteGeoTiffPicture(const std::string& strPath, int nWidth, int nHeight,
                         const std::uint32_t* pPixels, int nStride, std::string& strReason);

// The classification as one band of category numbers 1..8 (0 where no class), with the
// category colours as its colour table and their names as category names.
bool WriteGeoTiffClasses(const std::string& strPath, std::string& strReason);

// True for a path that names a GeoTIFF (.tif or .tiff, any case).
bool IsGeoTiffPath(const std::string& strPath);

// The colours and names of categories 1..8 in a classes file. A category without an entry
// (one that took no part) gets black and no name.
struct ClassLegend {
  bool abPresent[9] = {};
  Colorref acrColour[9] = {};
  std::string astrName[9];
};

// The band of category numbers as every classes file has it: the legend as its colour table
// (0 black) and category names ("-" for 0), and 0 as nodata.
void SetClassLegend(GDALRasterBandH hBand, const ClassLegend& legend);

// Places a file cut from a scene: the scene's geotransform moved to the corner at column nX,
// line nY, and its coordinate system (when strWkt is not empty).
void SetWindowGeoreference(GDALDatasetH h, const double adSceneTransform[6], int nX, int nY,
                           const std::string& strWkt);
