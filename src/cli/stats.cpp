#include "cli/stats.h"

#include <algorithm>
#include <nlohmann/json.hpp>
#include <string>

#include "core/settings_groups.h"
#include "core/state.h"
#include "workfile/header_sheet.h"

namespace {

using Json = nlohmann::ordered_json;

// Where the scene lies: the whole scene's geotransform (GDAL's order), the window's position in
// it, the coordinate system and the pixel's area; null where the scene has none.
void AddPlace(Json& obj) {
  const bool bGeo = g_nSensor == Sensor::Raster && g_bGeoreferenced == 1;
  obj["geotransform"] =
      bGeo ? Json(std::vector<double>(std::begin(g_adGeoTransform), std::end(g_adGeoTransform)))
           : Json(nullptr);
  obj["window_offset"] = {g_nSceneOffsetX, g_nSceneOffsetY};
  obj["epsg"] = g_nEpsgCode > 0 ? Json(g_nEpsgCode) : Json(nullptr);
  obj["coordinate_system"] = g_strCoordinateSystem;
  obj["pixel_area"] = bGeo ? Json(PixelGroundArea()) : Json(nullptr);
}

}  // namespace

void WriteStatsJson(std::ostream& out) {
  // No data leaves the band count at 0; a damaged count must not index past the tables.
  const int nBands = std::clamp(BandCount(), 0, kMaxBands);
  Json obj = Json::object();
  obj["sensor"] = SensorCode(g_nSensor);
  obj["width"] = WindowWidth();
  obj["height"] = WindowHeight();
  obj["bands"] = nBands;
  obj["display_mode"] = DisplayModeCode(g_nDisplayMode);
  Json aHists = Json::array();
  for (int b = 0; b < nBands; ++b) {
    aHists.push_back(std::vector<std::uint32_t>(std::begin(g_anBandHist[b]), std::end(g_anBandHist[b])));
  }
  obj["band_histograms"] = std::move(aHists);
  Json aUse = Json::array();
  for (int b = 1; b <= kMaxBands; ++b) {
    if (g_abUseBand[b - 1] == 1) aUse.push_back(b);
  }
  obj["bands_in_use"] = std::move(aUse);
  // The header sheet's texts: the four user texts, and the page text of each band present.
  obj["user_texts"] = std::vector<std::string>(std::begin(g_astrUserText), std::end(g_astrUserText));
  Json aHeaders = Json::array();
  for (int b = 1; b <= nBands; ++b) aHeaders.push_back(HeaderPageText(b));
  obj["band_headers"] = std::move(aHeaders);
  AddPlace(obj);
  for (const SettingsGroup& group : SettingsGroups()) {
    if (group.pfnStats) group.pfnStats(obj);
  }
  // Bytes that are no UTF-8 (a band header as the file had it) come out as U+FFFD.
  out << obj.dump(2, ' ', false, Json::error_handler_t::replace) << '\n';
}
