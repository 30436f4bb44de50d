// Pictures and classifications as GeoTIFF files, georeferenced like the window they show when
// the scene is: opened in any GIS they lie where the ground is.
#pragma once

#include <cstdint>
#include <string>

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
