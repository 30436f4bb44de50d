// Raster scenes: GDAL's drivers are fuzzed where they are made; here the files are well formed
// GeoTIFFs of every data type, band count, size and nodata value the input chooses, so that
// our scaling rules and window code around GDAL meet every value and window. Then a scroll.
// The scenes are small (up to 64 x 48), so a run takes about a millisecond: the fuzzer's time
// goes to values and choices, not to writing pixels. Windows of hundreds of thousands of pixels
// (the read on two threads, the scan's grid over bands wider than it) are few fixed paths, and
// the raster tests take them on files of 1500 x 1200 and 2100 x 1100 under the sanitizers.
#include <gdal.h>

#include <cmath>
#include <cstring>

#include "core/state.h"
#include "support.h"
#include "import/raster.h"
#include "import/scrolling.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize) {
  FuzzSetUp();
  GDALAllRegister();
  FuzzInput in(pData, nSize);
  static const GDALDataType kaTypes[] = {GDT_Byte, GDT_UInt16, GDT_Int16, GDT_UInt32,
                                         GDT_Int32, GDT_Float32, GDT_Float64};
  const GDALDataType eType = kaTypes[in.Byte() % 7];
  const int nColumns = 1 + in.Word() % 64, nLines = 1 + in.Word() % 48;
  const int nBands = 1 + in.Byte() % 9;
  const int nNoData = in.Byte();
  // The whole scene, windows that fit most scenes, and one that none does (refused).
  static const int kaWindow[][2] = {{0, 0}, {512, 400}, {33, 21}, {60, 40}, {7, 5}};
  const auto& window = kaWindow[in.Byte() % 5];
  // Offsets mostly within the scene's reach, now and then far beyond it (clamped).
  auto offset = [](std::uint16_t n) { return n >= 0xF000 ? int{n} : n % 80; };
  const int nOffsetX = offset(in.Word()), nOffsetY = offset(in.Word());
  const int nScroll = in.Byte() % 14;
  const std::vector<std::uint8_t> abValues = in.Rest();
  const std::string strPath = FuzzSetUp() + "/scene.tif";
  GDALDriverH hDriver = GDALGetDriverByName("GTiff");
  GDALDatasetH h = GDALCreate(hDriver, strPath.c_str(), nColumns, nLines, nBands, eType, nullptr);
  if (!h) return 0;
  // The values: the input's bytes as doubles spread over the type's range, repeated.
  std::vector<double> ad(static_cast<std::size_t>(nColumns) * nLines);
  for (int b = 1; b <= nBands; ++b) {
    for (std::size_t i = 0; i < ad.size(); ++i) {
      const std::uint8_t v = abValues.empty() ? 0 : abValues[(i + static_cast<std::size_t>(b)) % abValues.size()];
      ad[i] = eType == GDT_Byte ? v : (v - 128) * (eType >= GDT_Float32 ? 1e3 : 250.0) + (v & 1 ? 0.5 : 0);
    }
    if (nNoData & 1) {
      ad[0] = std::nan("");
    }
    GDALRasterBandH hBand = GDALGetRasterBand(h, b);
    if (nNoData & 2) GDALSetRasterNoDataValue(hBand, nNoData & 4 ? 0.0 : -32768.0);
    if (GDALRasterIO(hBand, GF_Write, 0, 0, nColumns, nLines, ad.data(), nColumns, nLines,
                     GDT_Float64, 0, 0) != CE_None) {
      GDALClose(h);
      return 0;
    }
  }
  GDALClose(h);

  if (!HasData()) LoadFuzzScene(3);
  const std::uint64_t nBefore = BeginRun();
  const bool bAccepted =
      ApplyOpenRaster({{strPath}, window[0], window[1], nOffsetX, nOffsetY});
  CheckOutcome(bAccepted, nBefore, "raster scene");
  if (bAccepted && nScroll < 13) {
    const std::uint64_t nScrollBefore = BeginRun();
    ScrollWindow(nScroll);
    CheckOutcome(!LastReloadFailed(), nScrollBefore, "raster scroll");
  }
  return 0;
}
