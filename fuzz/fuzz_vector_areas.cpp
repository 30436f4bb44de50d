// Vector files of areas read onto a georeferenced raster window (the first byte chooses the
// field and the kind; the rest is the file, GeoJSON or anything else GDAL may take): a refused
// file changes nothing, a taken one leaves the state consistent. Now and then the marks are
// saved as a GeoPackage and read back into an empty window, which must give them again.
#include <gdal.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "core/state.h"
#include "import/raster.h"
#include "output/vector_areas.h"
#include "support.h"

namespace {

// A 40 x 30 three-band scene of 30 m pixels in UTM 33N, opened as a raster scene.
void LoadGeoreferencedScene() {
  const std::string strPath = FuzzSetUp() + "/scene.tif";
  GDALAllRegister();
  GDALDatasetH h = GDALCreate(GDALGetDriverByName("GTiff"), strPath.c_str(), 40, 30, 3, GDT_Byte,
                              nullptr);
  if (!h) std::abort();
  double adTransform[6] = {500000.0, 30.0, 0.0, 9000000.0, 0.0, -30.0};
  GDALSetGeoTransform(h, adTransform);
  GDALSetProjection(h, "EPSG:32633");
  std::uint8_t ab[40 * 30];
  for (int i = 0; i < 40 * 30; ++i) ab[i] = static_cast<std::uint8_t>(i * 7);
  for (int b = 1; b <= 3; ++b) {
    if (GDALRasterIO(GDALGetRasterBand(h, b), GF_Write, 0, 0, 40, 30, ab, 40, 30, GDT_Byte, 0, 0) !=
        CE_None) {
      std::abort();
    }
  }
  GDALClose(h);
  if (!ApplyOpenRaster({{strPath}, 0, 0, 0, 0})) std::abort();
}

std::vector<std::uint8_t> Marks() {
  std::vector<std::uint8_t> ab;
  for (int x = 0; x < WindowWidth(); ++x)
    for (int y = 0; y < WindowHeight(); ++y)
      ab.insert(ab.end(), g_aPixel[x][y].abTrainMark, g_aPixel[x][y].abTrainMark + 8);
  return ab;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize) {
  FuzzSetUp();
  if (nSize == 0) return 0;
  if (g_nSensor != Sensor::Raster || !g_bGeoreferenced) LoadGeoreferencedScene();
  const std::uint8_t nChoice = pData[0];
  const AreaReading reading{WriteFuzzFile(nChoice & 8 ? "areas.json" : "areas.geojson", pData + 1,
                                          nSize - 1),
                            nChoice & 4 ? "category" : "class",
                            static_cast<AreaKind>(nChoice % 3)};
  const std::uint64_t nBefore = BeginRun();
  const bool bAccepted = LoadVectorAreas(reading);
  CheckOutcome(bAccepted, nBefore, "vector areas");
  if (!bAccepted || (nChoice & 0xF0) != 0) return 0;

  const std::vector<std::uint8_t> abMarks = Marks();
  const std::string strSaved = FuzzSetUp() + "/saved.gpkg";
  if (!SaveVectorAreas(strSaved)) std::abort();
  for (int x = 0; x < WindowWidth(); ++x) {
    for (int y = 0; y < WindowHeight(); ++y) {
      std::memset(g_aPixel[x][y].abTrainMark, 0, sizeof g_aPixel[x][y].abTrainMark);
    }
  }
  if (!LoadVectorAreas({strSaved, "category", AreaKind::FromFile}) || Marks() != abMarks) {
    std::fprintf(stderr, "the saved areas did not read back as the marks\n");
    std::abort();
  }
  return 0;
}
