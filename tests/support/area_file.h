// Vector files of areas the tests write through OGR: rectangles (or points) given in columns
// and lines of the tests' GeoTIFF grid (support/geotiff_file.h: 30 m pixels from (500000,
// 9000000)), stored in the grid's UTM zone or in another coordinate system; and the marks the
// window holds, to compare.
#pragma once

#include <gdal.h>
#include <gtest/gtest.h>
#include <ogr_api.h>
#include <ogr_srs_api.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "core/state.h"

inline double GridEasting(double dColumn) { return 500000.0 + 30.0 * dColumn; }
inline double GridNorthing(double dLine) { return 9000000.0 - 30.0 * dLine; }

struct TestArea {
  std::string strClass;
  // The outline in columns and lines (x0, y0, x1, y1); a point where x0 == x1.
  double adBox[4];
  const char* szKind = "";
};

// A layer "drawn" with a "class" field and, where any area has one, a "kind" field; the grid
// is in EPSG nGridEpsg, the file in nFileEpsg.
inline std::string WriteTestAreas(const std::string& strPath, const std::vector<TestArea>& aAreas,
                                  int nGridEpsg, int nFileEpsg, const char* szDriver = "GPKG") {
  GDALAllRegister();
  GDALDatasetH h = GDALCreate(GDALGetDriverByName(szDriver), strPath.c_str(), 0, 0, 0,
                              GDT_Unknown, nullptr);
  OGRSpatialReferenceH hFile = OSRNewSpatialReference(nullptr);
  OGRSpatialReferenceH hGrid = OSRNewSpatialReference(nullptr);
  OSRImportFromEPSG(hFile, nFileEpsg);
  OSRImportFromEPSG(hGrid, nGridEpsg);
  OSRSetAxisMappingStrategy(hFile, OAMS_TRADITIONAL_GIS_ORDER);
  OSRSetAxisMappingStrategy(hGrid, OAMS_TRADITIONAL_GIS_ORDER);
  OGRCoordinateTransformationH hToFile = OCTNewCoordinateTransformation(hGrid, hFile);
  OGRLayerH hLayer = GDALDatasetCreateLayer(h, "drawn", hFile, wkbUnknown, nullptr);
  const bool bKind = std::any_of(aAreas.begin(), aAreas.end(),
                                 [](const TestArea& area) { return *area.szKind != 0; });
  for (const char* szField : {"class", "kind"}) {
    if (!bKind && std::string(szField) == "kind") continue;
    OGRFieldDefnH hField = OGR_Fld_Create(szField, OFTString);
    EXPECT_EQ(OGR_L_CreateField(hLayer, hField, TRUE), OGRERR_NONE);
    OGR_Fld_Destroy(hField);
  }
  for (const TestArea& area : aAreas) {
    OGRFeatureH hFeature = OGR_F_Create(OGR_L_GetLayerDefn(hLayer));
    OGR_F_SetFieldString(hFeature, 0, area.strClass.c_str());
    if (bKind) OGR_F_SetFieldString(hFeature, 1, area.szKind);
    const double* ad = area.adBox;
    OGRGeometryH hGeometry = nullptr;
    if (ad[0] == ad[2]) {
      hGeometry = OGR_G_CreateGeometry(wkbPoint);
      OGR_G_SetPoint_2D(hGeometry, 0, GridEasting(ad[0]), GridNorthing(ad[1]));
    } else {
      OGRGeometryH hRing = OGR_G_CreateGeometry(wkbLinearRing);
      const double aad[5][2] = {{ad[0], ad[1]}, {ad[2], ad[1]}, {ad[2], ad[3]}, {ad[0], ad[3]},
                                {ad[0], ad[1]}};
      for (const auto& p : aad) OGR_G_AddPoint_2D(hRing, GridEasting(p[0]), GridNorthing(p[1]));
      hGeometry = OGR_G_CreateGeometry(wkbPolygon);
      OGR_G_AddGeometryDirectly(hGeometry, hRing);
    }
    EXPECT_EQ(OGR_G_Transform(hGeometry, hToFile), OGRERR_NONE);
    OGR_F_SetGeometryDirectly(hFeature, hGeometry);
    EXPECT_EQ(OGR_L_CreateFeature(hLayer, hFeature), OGRERR_NONE);
    OGR_F_Destroy(hFeature);
  }
  OCTDestroyCoordinateTransformation(hToFile);
  OSRDestroySpatialReference(hGrid);
  OSRDestroySpatialReference(hFile);
  GDALClose(h);
  return strPath;
}

// The window's marks, eight a pixel, column by column.
inline std::vector<std::uint8_t> WindowMarks() {
  std::vector<std::uint8_t> ab;
  for (int x = 0; x < WindowWidth(); ++x)
    for (int y = 0; y < WindowHeight(); ++y)
      ab.insert(ab.end(), g_aPixel[x][y].abTrainMark, g_aPixel[x][y].abTrainMark + 8);
  return ab;
}
