#include "output/vector_areas.h"

#include <gdal_alg.h>
#include <ogr_api.h>
#include <ogr_srs_api.h>

#include <algorithm>
#include <bit>
#include <map>
#include <span>

#include "classification/categories.h"
#include "classification/category_settings.h"
#include "classification/messages.h"
#include "core/dialogs.h"
#include "core/file_io.h"
#include "core/platform.h"
#include "core/state.h"
#include "core/text_format.h"
#include "output/gdal_support.h"
#include "output/messages.h"

namespace {

struct GeometryDeleter {
  void operator()(void* h) const { OGR_G_DestroyGeometry(static_cast<OGRGeometryH>(h)); }
};
using Geometry = std::unique_ptr<void, GeometryDeleter>;

struct SrsDeleter {
  void operator()(void* h) const { OSRDestroySpatialReference(static_cast<OGRSpatialReferenceH>(h)); }
};
using Srs = std::unique_ptr<void, SrsDeleter>;

struct TransformDeleter {
  void operator()(void* h) const {
    OCTDestroyCoordinateTransformation(static_cast<OGRCoordinateTransformationH>(h));
  }
};
using Transform = std::unique_ptr<void, TransformDeleter>;

struct FeatureDeleter {
  void operator()(void* h) const { OGR_F_Destroy(static_cast<OGRFeatureH>(h)); }
};
using Feature = std::unique_ptr<void, FeatureDeleter>;

struct AreaPolygon {
  int nCategory = 0;
  bool bTest = false;
  Geometry geometry;
  OGREnvelope envelope{};
};

// What a file's layer held: its polygons with their category and kind, and what was left out.
struct AreaContents {
  std::vector<AreaPolygon> aPolygons;
  int nNotPolygons = 0;                        // points, lines, empty or missing geometries
  std::map<std::string, int> mapNoCategory;    // field values naming no category, with counts
  std::map<std::string, int> mapNoKind;        // kind values other than training and test
};

// A coordinate system that keeps x as easting (longitude) and y as northing (latitude),
// whatever order its authority gives the axes.
Srs TraditionalOrder(OGRSpatialReferenceH hSrs) {
  Srs srs(OSRClone(hSrs));
  OSRSetAxisMappingStrategy(static_cast<OGRSpatialReferenceH>(srs.get()),
                            OAMS_TRADITIONAL_GIS_ORDER);
  return srs;
}

Dataset OpenVectorFile(const std::string& strPath, const CGdalErrors& errors,
                       std::string& strReason) {
  GDALAllRegister();
  Dataset file(GDALOpenEx(strPath.c_str(), GDAL_OF_VECTOR | GDAL_OF_READONLY | GDAL_OF_VERBOSE_ERROR,
                          nullptr, nullptr, nullptr));
  if (!file) {
    strReason = FormatText(kszAreasCannotOpen, errors.Text("no driver takes it").c_str());
  } else if (GDALDatasetGetLayerCount(file.get()) < 1) {
    strReason = kszAreasNoLayer;
    file.reset();
  }
  return file;
}

std::vector<std::string> FieldNames(OGRFeatureDefnH hDefn) {
  std::vector<std::string> astr;
  for (int i = 0; i < OGR_FD_GetFieldCount(hDefn); ++i) {
    astr.emplace_back(OGR_Fld_GetNameRef(OGR_FD_GetFieldDefn(hDefn, i)));
  }
  return astr;
}

// The category a field value names: a number 1..8, or one of the names; 0 for none.
int CategoryOf(OGRFeatureH hFeature, int nField, const std::string astrName[9]) {
  if (!OGR_F_IsFieldSetAndNotNull(hFeature, nField)) return 0;
  const std::string strValue = OGR_F_GetFieldAsString(hFeature, nField);
  int n = 0;
  if (ParseInteger(strValue, n)) return n >= 1 && n <= 8 ? n : 0;
  for (int c = 1; c <= 8; ++c) {
    if (!astrName[c].empty() && strValue == astrName[c]) return c;
  }
  return 0;
}

std::string ValueText(OGRFeatureH hFeature, int nField) {
  return OGR_F_IsFieldSetAndNotNull(hFeature, nField) ? OGR_F_GetFieldAsString(hFeature, nField)
                                                      : kszAreasEmptyValue;
}

bool IsAreal(OGRGeometryH hGeometry) {
  if (!hGeometry || OGR_G_IsEmpty(hGeometry)) return false;
  const OGRwkbGeometryType eType = wkbFlatten(OGR_G_GetGeometryType(hGeometry));
  return eType == wkbPolygon || eType == wkbMultiPolygon;
}

// The polygons of the file's first layer with their category (named by the field) and kind,
// in the coordinate system strTargetWkt ("" or a file without one: taken as they are). With
// bTestOnly, the features a kind field marks as training are left out without a count.
bool ReadAreaPolygons(const AreaReading& reading, const std::string& strTargetWkt,
                      const std::string astrName[9], bool bTestOnly, AreaContents& contents,
                      std::string& strReason) {
  CGdalErrors errors;
  const Dataset file = OpenVectorFile(reading.strPath, errors, strReason);
  if (!file) return false;
  OGRLayerH hLayer = GDALDatasetGetLayer(file.get(), 0);
  OGRFeatureDefnH hDefn = OGR_L_GetLayerDefn(hLayer);
  const int nField = OGR_FD_GetFieldIndex(hDefn, reading.strField.c_str());
  if (nField < 0) {
    std::string strFields;
    for (const std::string& str : FieldNames(hDefn)) strFields += (strFields.empty() ? "" : ", ") + str;
    strReason = FormatText(kszAreasNoField, OGR_L_GetName(hLayer), reading.strField.c_str(),
                           strFields.empty() ? kszAreasNoFields : strFields.c_str());
    return false;
  }
  const int nKindField =
      reading.eKind == AreaKind::FromFile ? OGR_FD_GetFieldIndex(hDefn, kszKindField) : -1;

  Transform transform;
  OGRSpatialReferenceH hLayerSrs = OGR_L_GetSpatialRef(hLayer);
  if (hLayerSrs && !strTargetWkt.empty()) {
    const Srs scene(OSRNewSpatialReference(strTargetWkt.c_str()));
    if (!scene) {
      strReason = FormatText(kszAreasCannotTransform, "the scene's coordinate system is unknown");
      return false;
    }
    const Srs source = TraditionalOrder(hLayerSrs);
    const Srs target = TraditionalOrder(static_cast<OGRSpatialReferenceH>(scene.get()));
    if (!OSRIsSame(static_cast<OGRSpatialReferenceH>(source.get()),
                   static_cast<OGRSpatialReferenceH>(target.get()))) {
      transform.reset(OCTNewCoordinateTransformation(
          static_cast<OGRSpatialReferenceH>(source.get()),
          static_cast<OGRSpatialReferenceH>(target.get())));
      if (!transform) {
        strReason = FormatText(kszAreasCannotTransform, errors.Text("no transformation").c_str());
        return false;
      }
    }
  }

  OGR_L_ResetReading(hLayer);
  for (Feature feature(OGR_L_GetNextFeature(hLayer)); feature;
       feature.reset(OGR_L_GetNextFeature(hLayer))) {
    OGRFeatureH hFeature = static_cast<OGRFeatureH>(feature.get());
    // Reference polygons are test areas unless the file's kind says otherwise.
    bool bTest = reading.eKind == AreaKind::Test || bTestOnly;
    if (nKindField >= 0) {
      const std::string strKind = ValueText(hFeature, nKindField);
      if (strKind != kszKindTraining && strKind != kszKindTest) {
        ++contents.mapNoKind[strKind];
        continue;
      }
      bTest = strKind == kszKindTest;
    }
    if (bTestOnly && !bTest) continue;
    OGRGeometryH hGeometry = OGR_F_GetGeometryRef(hFeature);
    if (!IsAreal(hGeometry)) {
      ++contents.nNotPolygons;
      continue;
    }
    const int nCategory = CategoryOf(hFeature, nField, astrName);
    if (nCategory == 0) {
      ++contents.mapNoCategory[ValueText(hFeature, nField)];
      continue;
    }
    AreaPolygon polygon{nCategory, bTest, Geometry(OGR_G_Clone(hGeometry)), {}};
    // A ring whose last point is not its first (GeoJSON from some writers) is closed, as
    // drawing programs close it; otherwise the geometry library refuses to test it.
    OGR_G_CloseRings(static_cast<OGRGeometryH>(polygon.geometry.get()));
    if (transform && OGR_G_Transform(static_cast<OGRGeometryH>(polygon.geometry.get()),
                                     static_cast<OGRCoordinateTransformationH>(
                                         transform.get())) != OGRERR_NONE) {
      strReason = FormatText(kszAreasFeatureNotTransformed,
                             static_cast<long long>(OGR_F_GetFID(hFeature)));
      return false;
    }
    OGR_G_GetEnvelope(static_cast<OGRGeometryH>(polygon.geometry.get()), &polygon.envelope);
    contents.aPolygons.push_back(std::move(polygon));
  }
  if (errors.Failed()) {
    strReason = FormatText(kszAreasCannotOpen, errors.Text("").c_str());
    return false;
  }
  return true;
}

// The map coordinates of pixel corner (x, y) of a block placed by t.
void Corner(const double t[6], double x, double y, double& dX, double& dY) {
  dX = t[0] + x * t[1] + y * t[2];
  dY = t[3] + x * t[4] + y * t[5];
}

// The block's outline on the ground, as a polygon.
Geometry BlockOutline(const double t[6], int nWidth, int nHeight) {
  OGRGeometryH hRing = OGR_G_CreateGeometry(wkbLinearRing);
  const double adCorner[5][2] = {{0, 0}, {1.0 * nWidth, 0}, {1.0 * nWidth, 1.0 * nHeight},
                                 {0, 1.0 * nHeight}, {0, 0}};
  for (const auto& ad : adCorner) {
    double dX = 0, dY = 0;
    Corner(t, ad[0], ad[1], dX, dY);
    OGR_G_AddPoint_2D(hRing, dX, dY);
  }
  Geometry polygon(OGR_G_CreateGeometry(wkbPolygon));
  OGR_G_AddGeometryDirectly(static_cast<OGRGeometryH>(polygon.get()), hRing);
  return polygon;
}

// 1 where a pixel's centre lies in one of the polygons, else 0: GDAL's rasterizer with its
// default rule (pixel centres) over an in-memory raster placed by t, row by row into pOut.
bool BurnPolygons(const double t[6], int nWidth, int nHeight, std::span<OGRGeometryH> ahPolygons,
                  std::uint8_t* pOut, std::string& strReason) {
  CGdalErrors errors;
  Dataset raster(GDALCreate(GDALGetDriverByName("MEM"), "", nWidth, nHeight, 1, GDT_Byte, nullptr));
  bool bBurnt = raster != nullptr;
  if (bBurnt) {
    GDALSetGeoTransform(raster.get(), const_cast<double*>(t));
    int nBand = 1;
    const std::vector<double> adBurn(ahPolygons.size(), 1.0);
    bBurnt = GDALRasterizeGeometries(raster.get(), 1, &nBand, static_cast<int>(ahPolygons.size()),
                                     ahPolygons.data(), nullptr, nullptr, adBurn.data(), nullptr,
                                     nullptr, nullptr) == CE_None &&
             GDALRasterIO(GDALGetRasterBand(raster.get(), 1), GF_Read, 0, 0, nWidth, nHeight,
                          pOut, nWidth, nHeight, GDT_Byte, 0, 0) == CE_None;
  }
  if (!bBurnt) strReason = FormatText(kszAreasCannotBurn, errors.Text("out of memory").c_str());
  return bBurnt;
}

bool Overlaps(const OGREnvelope& a, const OGREnvelope& b) {
  return a.MinX <= b.MaxX && b.MinX <= a.MaxX && a.MinY <= b.MaxY && b.MinY <= a.MaxY;
}

// The block's reference categories from the test polygons of aPolygons: each category burnt
// on its own, a pixel in several categories' polygons ambiguous.
bool BurnReference(const std::vector<AreaPolygon>& aPolygons, const double t[6], int nWidth,
                   int nHeight, std::uint8_t* pOut, std::string& strReason) {
  const std::size_t nPixels = static_cast<std::size_t>(nWidth) * static_cast<std::size_t>(nHeight);
  std::fill(pOut, pOut + nPixels, 0);
  const Geometry outline = BlockOutline(t, nWidth, nHeight);
  OGREnvelope block;
  OGR_G_GetEnvelope(static_cast<OGRGeometryH>(outline.get()), &block);
  std::vector<std::uint8_t> abInside;
  for (int c = 1; c <= 8; ++c) {
    std::vector<OGRGeometryH> ahPolygons;
    for (const AreaPolygon& polygon : aPolygons) {
      if (polygon.bTest && polygon.nCategory == c && Overlaps(polygon.envelope, block)) {
        ahPolygons.push_back(static_cast<OGRGeometryH>(polygon.geometry.get()));
      }
    }
    if (ahPolygons.empty()) continue;
    abInside.resize(nPixels);
    if (!BurnPolygons(t, nWidth, nHeight, ahPolygons, abInside.data(), strReason)) return false;
    for (std::size_t i = 0; i < nPixels; ++i) {
      if (abInside[i]) pOut[i] |= static_cast<std::uint8_t>(1u << (c - 1));
    }
  }
  for (std::size_t i = 0; i < nPixels; ++i) {
    if (pOut[i] == 0) continue;
    pOut[i] = std::has_single_bit(pOut[i])
                  ? static_cast<std::uint8_t>(std::countr_zero(pOut[i]) + 1)
                  : kAmbiguousReference;
  }
  return true;
}

// The window's place on the ground: the scene's geotransform moved to the window's corner.
void WindowTransform(double t[6]) {
  std::copy(g_adGeoTransform, g_adGeoTransform + 6, t);
  t[0] += g_nSceneOffsetX * t[1] + g_nSceneOffsetY * t[2];
  t[3] += g_nSceneOffsetX * t[4] + g_nSceneOffsetY * t[5];
}

bool WindowGeoreferenced() { return g_nSensor == Sensor::Raster && g_bGeoreferenced; }

// "「a」2 個、「b」1 個"
std::string ValueCounts(const std::map<std::string, int>& mapCounts, int& nAll) {
  std::string str;
  nAll = 0;
  for (const auto& [strValue, nCount] : mapCounts) {
    if (!str.empty()) str += kszAreasValueJoint;
    str += FormatText(kszAreasValueCount, strValue.c_str(), nCount);
    nAll += nCount;
  }
  return str;
}

// What a reading marked (pixels per category and kind, training first) and what it left out.
std::string AreasSummary(const AreaReading& reading, const AreaContents& contents,
                         const std::uint64_t aanMarked[2][9], int nOutside,
                         std::uint64_t nAmbiguous) {
  std::string strSummary = FormatText(kszMsgAreasRead, reading.strPath.c_str());
  bool bAny = false;
  for (int c = 1; c <= 8; ++c) {
    for (int k = 0; k < 2; ++k) {
      if (aanMarked[k][c] == 0) continue;
      strSummary += "\n" + FormatText(kszAreasMarked, kaszCategoryLabel[c - 1],
                                      g_astrCategoryName[c].c_str(),
                                      k == 0 ? kszAreasTraining : kszAreasTest,
                                      GroupDigits(static_cast<long long>(aanMarked[k][c])).c_str());
      bAny = true;
    }
  }
  if (!bAny) strSummary += "\n" + std::string(kszAreasNoneMarked);
  if (nOutside > 0) strSummary += "\n" + FormatText(kszAreasOutside, nOutside);
  int nCount = 0;
  if (!contents.mapNoCategory.empty()) {
    const std::string strValues = ValueCounts(contents.mapNoCategory, nCount);
    strSummary += "\n" + FormatText(kszAreasUnknownCategory, reading.strField.c_str(), nCount,
                                    strValues.c_str());
  }
  if (!contents.mapNoKind.empty()) {
    const std::string strValues = ValueCounts(contents.mapNoKind, nCount);
    strSummary += "\n" + FormatText(kszAreasUnknownKind, nCount, strValues.c_str());
  }
  if (contents.nNotPolygons > 0) {
    strSummary += "\n" + FormatText(kszAreasNotPolygons, contents.nNotPolygons);
  }
  if (nAmbiguous > 0) {
    strSummary += "\n" + FormatText(kszAreasAmbiguous,
                                    GroupDigits(static_cast<long long>(nAmbiguous)).c_str());
  }
  return strSummary;
}

}  // namespace

bool IsGeoPackagePath(const std::string& strPath) { return FileExtension(strPath) == ".gpkg"; }

bool ReadAreaFields(const std::string& strPath, std::vector<std::string>& astrFields,
                    std::string& strReason) {
  CGdalErrors errors;
  const Dataset file = OpenVectorFile(strPath, errors, strReason);
  if (!file) return false;
  astrFields = FieldNames(OGR_L_GetLayerDefn(GDALDatasetGetLayer(file.get(), 0)));
  return true;
}

bool LoadVectorAreas(const AreaReading& reading) {
  auto refuse = [&](const std::string& strReason) {
    ShowMessage(FormatText(kszMsgAreasNotRead, reading.strPath.c_str(), strReason.c_str()),
                kszCapAreas);
    return false;
  };
  if (!WindowGeoreferenced()) return refuse(kszAreasNoGeoreference);
  AreaContents contents;
  std::string strReason;
  if (!ReadAreaPolygons(reading, g_strCoordinateSystem, g_astrCategoryName, false, contents,
                        strReason)) {
    return refuse(strReason);
  }

  // The polygons that reach into the window, by category and kind.
  const int nWidth = WindowWidth(), nHeight = WindowHeight();
  double t[6];
  WindowTransform(t);
  const Geometry window = BlockOutline(t, nWidth, nHeight);
  OGREnvelope windowEnvelope;
  OGR_G_GetEnvelope(static_cast<OGRGeometryH>(window.get()), &windowEnvelope);
  int nOutside = 0;
  std::vector<OGRGeometryH> aahTraining[9];
  std::vector<AreaPolygon> aTest;
  // A polygon the geometry library cannot test (a ring of fewer than four points, say) is
  // placed by its envelope, and burning decides its pixels; the library's complaint is kept
  // from the terminal.
  const CGdalErrors errors;
  for (AreaPolygon& polygon : contents.aPolygons) {
    OGRGeometryH hPolygon = static_cast<OGRGeometryH>(polygon.geometry.get());
    CPLErrorReset();
    bool bReaches = OGR_G_Intersects(hPolygon, static_cast<OGRGeometryH>(window.get()));
    if (!bReaches && CPLGetLastErrorType() >= CE_Failure) {
      bReaches = Overlaps(polygon.envelope, windowEnvelope);
    }
    if (!bReaches) {
      ++nOutside;
    } else if (polygon.bTest) {
      aTest.push_back(std::move(polygon));
    } else {
      aahTraining[polygon.nCategory].push_back(hPolygon);
    }
  }

  // Everything is burnt before a mark changes, so a failure leaves the marks as they were.
  const std::size_t nPixels = static_cast<std::size_t>(nWidth) * static_cast<std::size_t>(nHeight);
  std::vector<std::uint8_t> abReference(nPixels);
  if (!BurnReference(aTest, t, nWidth, nHeight, abReference.data(), strReason)) {
    return refuse(strReason);
  }
  std::vector<std::vector<std::uint8_t>> aabTraining(9);
  for (int c = 1; c <= 8; ++c) {
    if (aahTraining[c].empty()) continue;
    aabTraining[c].resize(nPixels);
    if (!BurnPolygons(t, nWidth, nHeight, aahTraining[c], aabTraining[c].data(), strReason)) {
      return refuse(strReason);
    }
    // Where the file makes a pixel a test pixel, it is no training pixel of the file's.
    for (std::size_t i = 0; i < nPixels; ++i) {
      if (abReference[i] != 0 && abReference[i] != kAmbiguousReference) aabTraining[c][i] = 0;
    }
  }

  std::uint64_t aanMarked[2][9] = {};
  for (int c = 1; c <= 8; ++c) {
    if (!aabTraining[c].empty()) aanMarked[0][c] = MarkWindowArea(c, false, aabTraining[c].data());
  }
  std::vector<std::uint8_t> abTest(nPixels);
  std::uint64_t nAmbiguous = 0;
  for (int c = 1; c <= 8; ++c) {
    for (std::size_t i = 0; i < nPixels; ++i) abTest[i] = abReference[i] == c ? 1 : 0;
    aanMarked[1][c] = MarkWindowArea(c, true, abTest.data());
  }
  for (std::uint8_t b : abReference) nAmbiguous += b == kAmbiguousReference;

  ShowMessage(AreasSummary(reading, contents, aanMarked, nOutside, nAmbiguous), kszCapAreas);
  ShowChangedMarks();
  return true;
}

namespace {

// The polygons of category c's marks of one kind (pixel outlines in map coordinates, through
// the raster's geotransform) as one multipolygon; null when it has no such pixel. GDAL's
// polygonizer makes one polygon per group of touching pixels in a scratch layer.
Geometry PolygonizeMarks(GDALDatasetH hRaster, int c, std::uint8_t nKind,
                         std::vector<std::uint8_t>& abMask, bool& bFailed) {
  const int nWidth = WindowWidth(), nHeight = WindowHeight();
  bool bAny = false;
  for (int y = 0; y < nHeight; ++y) {
    std::uint8_t* pRow = abMask.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(nWidth);
    for (int x = 0; x < nWidth; ++x) {
      pRow[x] = g_aPixel[x][y].abTrainMark[c - 1] == nKind;
      bAny = bAny || pRow[x];
    }
  }
  if (!bAny) return nullptr;
  bFailed = true;
  Dataset scratch(GDALCreate(GDALGetDriverByName("Memory"), "", 0, 0, 0, GDT_Unknown, nullptr));
  OGRLayerH hScratch =
      scratch ? GDALDatasetCreateLayer(scratch.get(), "marks", nullptr, wkbPolygon, nullptr) : nullptr;
  if (!hScratch) return nullptr;
  OGRFieldDefnH hValue = OGR_Fld_Create("value", OFTInteger);
  const OGRErr eField = OGR_L_CreateField(hScratch, hValue, TRUE);
  OGR_Fld_Destroy(hValue);
  GDALRasterBandH hBand = GDALGetRasterBand(hRaster, 1);
  if (eField != OGRERR_NONE ||
      GDALRasterIO(hBand, GF_Write, 0, 0, nWidth, nHeight, abMask.data(), nWidth, nHeight,
                   GDT_Byte, 0, 0) != CE_None ||
      GDALPolygonize(hBand, hBand, hScratch, 0, nullptr, nullptr, nullptr) != CE_None) {
    return nullptr;
  }
  Geometry multi(OGR_G_CreateGeometry(wkbMultiPolygon));
  OGR_L_ResetReading(hScratch);
  for (Feature feature(OGR_L_GetNextFeature(hScratch)); feature;
       feature.reset(OGR_L_GetNextFeature(hScratch))) {
    OGR_G_AddGeometry(static_cast<OGRGeometryH>(multi.get()),
                      OGR_F_GetGeometryRef(static_cast<OGRFeatureH>(feature.get())));
  }
  bFailed = false;
  return multi;
}

// The GeoPackage at strTemp: layer "areas" with a multipolygon per category and kind.
bool WriteAreasPackage(const std::string& strTemp, std::string& strReason) {
  CGdalErrors errors;
  auto failed = [&](const char* szNone) {
    strReason = FormatText(kszAreasCannotWrite, errors.Text(szNone).c_str());
    return false;
  };
  GDALAllRegister();
  Dataset package(GDALCreate(GDALGetDriverByName("GPKG"), strTemp.c_str(), 0, 0, 0, GDT_Unknown,
                             nullptr));
  if (!package) return failed("the file could not be created");
  Srs srs;
  if (!g_strCoordinateSystem.empty()) srs.reset(OSRNewSpatialReference(g_strCoordinateSystem.c_str()));
  OGRLayerH hLayer = GDALDatasetCreateLayer(package.get(), kszAreasLayer,
                                            static_cast<OGRSpatialReferenceH>(srs.get()),
                                            wkbMultiPolygon, nullptr);
  if (!hLayer) return failed("the layer could not be created");
  const struct {
    const char* szName;
    OGRFieldType eType;
  } kaFields[] = {{"category", OFTInteger}, {"name", OFTString}, {kszKindField, OFTString}};
  for (const auto& field : kaFields) {
    OGRFieldDefnH hField = OGR_Fld_Create(field.szName, field.eType);
    const OGRErr eErr = OGR_L_CreateField(hLayer, hField, TRUE);
    OGR_Fld_Destroy(hField);
    if (eErr != OGRERR_NONE) return failed("a field could not be created");
  }

  // The marks go through an in-memory raster placed like the window.
  const int nWidth = WindowWidth(), nHeight = WindowHeight();
  Dataset raster(GDALCreate(GDALGetDriverByName("MEM"), "", nWidth, nHeight, 1, GDT_Byte, nullptr));
  if (!raster) return failed("out of memory");
  double t[6];
  WindowTransform(t);
  GDALSetGeoTransform(raster.get(), t);

  std::vector<std::uint8_t> abMask(static_cast<std::size_t>(nWidth) * static_cast<std::size_t>(nHeight));
  GDALDatasetStartTransaction(package.get(), FALSE);
  for (const std::uint8_t nKind : {kTrainingMark, kTestMark}) {
    for (int c = 1; c <= 8; ++c) {
      bool bFailed = false;
      const Geometry multi = PolygonizeMarks(raster.get(), c, nKind, abMask, bFailed);
      if (bFailed) return failed("the marks could not be polygonized");
      if (!multi) continue;
      const Feature feature(OGR_F_Create(OGR_L_GetLayerDefn(hLayer)));
      OGRFeatureH hFeature = static_cast<OGRFeatureH>(feature.get());
      OGR_F_SetFieldInteger(hFeature, 0, c);
      OGR_F_SetFieldString(hFeature, 1, g_astrCategoryName[c].c_str());
      OGR_F_SetFieldString(hFeature, 2, nKind == kTestMark ? kszKindTest : kszKindTraining);
      OGR_F_SetGeometry(hFeature, static_cast<OGRGeometryH>(multi.get()));
      if (OGR_L_CreateFeature(hLayer, hFeature) != OGRERR_NONE) {
        return failed("a feature could not be written");
      }
    }
  }
  if (GDALDatasetCommitTransaction(package.get()) != OGRERR_NONE) {
    return failed("the features could not be written");
  }
  package.reset();  // closing finishes the SQLite file
  if (errors.Failed()) return failed("");
  return true;
}

}  // namespace

bool SaveVectorAreas(const std::string& strPath) {
  std::string strReason;
  CFileBeside file;
  if (!WindowGeoreferenced()) {
    strReason = kszAreasNoGeoreference;
  } else if (file.ReserveName(strPath, strReason) &&
             WriteAreasPackage(file.TemporaryPath(), strReason) && file.Commit(strReason)) {
    return true;
  }
  ShowMessage(FormatText(kszMsgAreasNotSaved, strPath.c_str(), strReason.c_str()), kszCapAreas);
  return false;
}

struct CReferenceAreas::Polygons {
  std::vector<AreaPolygon> aPolygons;
};

CReferenceAreas::CReferenceAreas() : m_pPolygons(std::make_unique<Polygons>()) {}
CReferenceAreas::~CReferenceAreas() = default;

bool CReferenceAreas::Open(const AreaReading& reading, const std::string& strSceneWkt,
                           const std::string astrName[9], std::string& strReason) {
  AreaContents contents;
  if (!ReadAreaPolygons(reading, strSceneWkt, astrName, true, contents, strReason)) return false;
  m_pPolygons->aPolygons = std::move(contents.aPolygons);
  return true;
}

bool CReferenceAreas::Burn(const double adTransform[6], int nWidth, int nHeight,
                           std::uint8_t* pOut, std::string& strReason) const {
  return BurnReference(m_pPolygons->aPolygons, adTransform, nWidth, nHeight, pOut, strReason);
}
