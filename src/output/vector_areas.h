// Training and test areas as polygons in vector files, through GDAL's OGR. Reading burns the
// polygons of any vector format GDAL reads into the window's marks, a pixel being inside when
// its centre is; saving turns the marks into polygons of a GeoPackage; and the whole scene's
// accuracy takes its reference pixels from such polygons, a block of rows at a time.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// Which marks the polygons of a file make.
enum class AreaKind {
  FromFile,  // each feature's "kind" ("training" or "test") where the layer has that field,
             // else training
  Training,
  Test,
};

struct AreaReading {
  std::string strPath;
  std::string strField;  // each feature's category: its number 1..8 or its name
  AreaKind eKind = AreaKind::FromFile;
};

// The field that tells a feature's kind, and its two values, in files read and written.
inline constexpr const char* kszKindField = "kind";
inline constexpr const char* kszKindTraining = "training";
inline constexpr const char* kszKindTest = "test";
// The layer a saved file holds.
inline constexpr const char* kszAreasLayer = "areas";

// True for a path that names a GeoPackage (.gpkg, any case).
bool IsGeoPackagePath(const std::string& strPath);

// The fields of a vector file's first layer, for choosing the category's; false with the
// reason when the file does not open or has no layer.
bool ReadAreaFields(const std::string& strPath, std::vector<std::string>& astrFields,
                    std::string& strReason);

// Burns the file's polygons into the window's marks (a scene with georeferencing only) and
// says which category got how many pixels; a file that cannot be taken is refused with a
// message and changes nothing. The polygons are reprojected into the scene's coordinate system
// when the file's differs (a file without one is taken to be in the scene's).
bool LoadVectorAreas(const AreaReading& reading);

// Writes the window's training and test areas into a GeoPackage: layer "areas", one
// multipolygon per category and kind with the fields category, name and kind, in the scene's
// coordinate system. False, having said why, without georeferencing or when it cannot be
// written (the old file then stays as it was).
bool SaveVectorAreas(const std::string& strPath);

// The reference category of a pixel covered by test polygons of more than one category.
inline constexpr std::uint8_t kAmbiguousReference = 255;

// The reference polygons of a whole scene's accuracy: the test features of a vector file (with
// a "kind" field, only those whose kind is "test"), in the scene's coordinate system.
class CReferenceAreas {
 public:
  CReferenceAreas();
  ~CReferenceAreas();
  CReferenceAreas(const CReferenceAreas&) = delete;
  CReferenceAreas& operator=(const CReferenceAreas&) = delete;

  // Reads the polygons; category names are looked up in astrName[1..8]. False with the reason.
  bool Open(const AreaReading& reading, const std::string& strSceneWkt,
            const std::string astrName[9], std::string& strReason);
  // Each pixel's reference in a block of nWidth x nHeight pixels placed by adTransform: 0 none,
  // c for category c, kAmbiguousReference; row by row into pOut. False with the reason.
  bool Burn(const double adTransform[6], int nWidth, int nHeight, std::uint8_t* pOut,
            std::string& strReason) const;

 private:
  struct Polygons;
  std::unique_ptr<Polygons> m_pPolygons;
};
