#include "workfile/header_sheet.h"

#include "core/state.h"
#include "core/archive.h"

std::string HeaderPageText(int nBand) {
  if (nBand < 1 || nBand > kMaxBands) return " ";
  std::string strBytes;
  for (int i = 0; i < 256; ++i) {
    const std::uint8_t b = g_aszBandHeader[nBand - 1][i];
    if (b != 0) strBytes += static_cast<char>(b);
  }
  return " " + ShiftJisToUtf8(strBytes);
}

std::string SensorName() {
  switch (g_nSensor) {
    case Sensor::Mss: return "MSS";
    case Sensor::TmFloppy: return "TM";
    case Sensor::TmCeos: return "TM CEOS";
    case Sensor::Etm6921: return "ETM+ HDF";  // also a BMP picture
    case Sensor::Etm6845: return "ETM+ HDF";
    case Sensor::Raster: return "Raster";
    case Sensor::None: return "--";
  }
  return "--";
}
