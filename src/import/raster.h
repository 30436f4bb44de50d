// Raster files of today (GeoTIFF and whatever else GDAL reads): one multi-band file or up to
// eight single-band files in band order, read into the program's window of at most
// 1024 x 1024 over the larger scene. Bands of more than 8 bits are scaled to 1..255 by one rule
// per band fixed when the scene is opened, so every window of the scene shows the same ground
// in the same colours.
#pragma once

#include <string>
#include <vector>

struct RasterValues {
  std::vector<std::string> astrPaths;  // one multi-band file, or single-band files in band order
  int nWidth = 0, nHeight = 0;         // 0: the whole scene, up to 1024 x 1024
  int nOffsetX = 0, nOffsetY = 0;      // where the window lies in the scene
};

// The scene replaces the one loaded when every file opens, the sizes agree and every band is
// read; otherwise each problem is shown (GDAL's own lines as the message's detail) and nothing
// changes. Only regular files are handed to GDAL; several files must each hold one band; a
// float band needs a finite value. Returns success.
bool ApplyOpenRaster(const RasterValues& values);

// The columns and lines of the raster file at strPath, for checking a window against the
// scene before it is opened; false when it is no raster GDAL reads (the import says why).
bool RasterSceneSize(const std::string& strPath, int& nColumns, int& nLines);

struct SceneWindow;
// The loaded raster scene's bands for another window, through the rules fixed when it was
// opened, into the staging area; false (with a message) when a file cannot be read now.
bool ReadRasterWindow(const SceneWindow& window);
// The bands the raster scene has files for: a band computed later (the vegetation index) has
// none and is not read again.
int RasterFileBandCount();
// What the last read staged, into the pixel plane (the bands RasterFileBandCount() counts).
void CommitRasterWindow(int nWidth, int nHeight);

// The rule of band b (1..8) as a sentence, for the band's header page.
std::string RasterRuleText(int nBand);
