// Raster scenes: GDAL's drivers are fuzzed where they are made; here the files are well formed
// GeoTIFFs of every data type, band count, size and nodata value the input chooses, so that
// our scaling rules and window code around GDAL meet every value and window. Then a scroll.
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
  // Mostly small scenes, up to 64 x 48, which take a millisecond; one wider or taller than the
  // largest window (up to 1200 x 1100) when the size's top bits ask for it.
  auto size = [](std::uint16_t n, int nSmall, int nLarge) {
    return 1 + (n >= 0xF000 ? n % nLarge : n % nSmall);
  };
  const int nColumns = size(in.Word(), 64, 1200), nLines = size(in.Word(), 48, 1100);
  const int nBands = 1 + in.Byte() % 9;
  const int nNoData = in.Byte();
  static const int kaWindow[][2] = {{0, 0}, {512, 400}, {800, 600}, {1024, 1024}, {7, 5}};
  const auto& window = kaWindow[in.Byte() % 5];
  const int nOffsetX = in.Word() % 1300, nOffsetY = in.Word() % 1300;
  const int nScroll = in.Byte() % 14;
  const std::vector<std::uint8_t> abValues = in.Rest();
  // Large scenes only now and then: each one is a file of up to 80 MB.
  if (static_cast<long>(nColumns) * nLines * nBands > 3'000'000 && (nNoData & 0x70) != 0) return 0;

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
