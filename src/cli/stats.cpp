#include "cli/stats.h"

#include <cmath>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

#include "core/commands.h"
#include "core/state.h"
#include "core/text_format.h"
#include "workfile/header_sheet.h"

namespace {

// Quotes, backslashes and control characters are escaped; every other byte goes out unchanged,
// so UTF-8 names stay UTF-8.
void WriteJsonString(std::ostream& out, std::string_view str) {
  static constexpr char s_szHex[] = "0123456789abcdef";
  out << '"';
  for (const char ch : str) {
    const auto b = static_cast<unsigned char>(ch);
    if (ch == '"' || ch == '\\') {
      out << '\\' << ch;
    } else if (b < 0x20) {
      out << "\\u00" << s_szHex[b >> 4] << s_szHex[b & 0xF];
    } else {
      out << ch;
    }
  }
  out << '"';
}

const char* JsonBool(bool b) { return b ? "true" : "false"; }

// [fnValue(nFirst), ..., fnValue(nLast)] on one line; [] when nLast < nFirst.
template <typename Fn>
void WriteNumbers(std::ostream& out, int nFirst, int nLast, Fn fnValue) {
  out << '[';
  for (int i = nFirst; i <= nLast; ++i) out << (i > nFirst ? ", " : "") << fnValue(i);
  out << ']';
}

std::string Indent(int nDepth) { return std::string(static_cast<std::size_t>(nDepth) * 2, ' '); }

// One object: writes the braces and the commas between members, so a member cannot be left
// without its comma or followed by a stray one.
class CJsonObject {
 public:
  CJsonObject(std::ostream& out, int nDepth) : m_out(out), m_nDepth(nDepth) { m_out << '{'; }
  std::ostream& Member(std::string_view strKey) {
    m_out << (m_bEmpty ? "\n" : ",\n") << Indent(m_nDepth + 1);
    WriteJsonString(m_out, strKey);
    m_bEmpty = false;
    return m_out << ": ";
  }
  void End() { m_out << '\n' << Indent(m_nDepth) << '}'; }

 private:
  std::ostream& m_out;
  int m_nDepth;
  bool m_bEmpty = true;
};

// The ground area of one pixel in square map units (square metres for a projected system),
// or 0 when the scene has no georeferencing.
double PixelArea() {
  if (g_nSensor != Sensor::Raster || g_bGeoreferenced != 1) return 0.0;
  const double* t = g_adGeoTransform;
  return std::abs(t[1] * t[5] - t[2] * t[4]);
}

std::string JsonNumber(double d) { return FormatText("%.10g", d); }

std::string JsonColour(Colorref cr) {
  return FormatText("[%d, %d, %d]", GetRValue(cr), GetGValue(cr), GetBValue(cr));
}

// The command line's word for the row of option szOption whose number is nArg.
const char* CliWord(const char* szOption, int nArg) {
  for (const CommandEntry& cmd : CommandTable()) {
    if (cmd.szCliOption && std::strcmp(cmd.szCliOption, szOption) == 0 && cmd.nArg == nArg) {
      return cmd.szCliValue ? cmd.szCliValue : "";
    }
  }
  return "";
}

// The detailed histogram's settings, by the command line's words.
void WriteHistogramSettings(std::ostream& out, int nDepth) {
  CJsonObject obj(out, nDepth);
  obj.Member("kind") << '"' << CliWord("--hist-kind", g_nHistKind) << '"';
  obj.Member("type") << '"' << CliWord("--hist-type", g_nHistType) << '"';
  obj.Member("scale") << '"' << CliWord("--hist-scale", g_nHistScale) << '"';
  obj.Member("cursor") << g_nHistCursor;
  std::ostream& outColours = obj.Member("line_colours");
  outColours << '[';
  for (int b = 1; b <= kMaxBands; ++b) {
    outColours << (b > 1 ? ", " : "") << JsonColour(g_acrHistLineColour[b]);
  }
  outColours << ']';
  WriteNumbers(obj.Member("line_widths"), 1, kMaxBands, [](int b) { return g_anHistLineWidth[b]; });
  obj.End();
}

void WriteCategory(std::ostream& out, int c, int nDepth) {
  CJsonObject obj(out, nDepth);
  obj.Member("number") << c;
  WriteJsonString(obj.Member("name"), g_astrCategoryName[c]);
  obj.Member("colour") << JsonColour(g_acrCategoryColour[c]);
  WriteNumbers(obj.Member("lower"), 1, kMaxBands, [c](int b) { return g_anCatLower[b][c]; });
  WriteNumbers(obj.Member("upper"), 1, kMaxBands, [c](int b) { return g_anCatUpper[b][c]; });
  obj.Member("training_pixels") << g_anTrainCount[c];
  obj.Member("valid") << JsonBool(g_abCategoryValid[c] == 1);
  obj.Member("takes_part") << JsonBool(g_abClassify[c] == 1);
  obj.Member("colouring_on") << JsonBool(g_abClassColourOn[c] == 1);
  // Hectares, when the pixel size is known in metres.
  const double dArea = PixelArea();
  obj.Member("class_hectares")
      << (dArea > 0.0 ? JsonNumber(g_anClassCount[c] * dArea / 10000.0) : std::string("null"));
  obj.Member("class_pixels") << g_anClassCount[c];
  obj.End();
}

}  // namespace

void WriteStatsJson(std::ostream& out) {
  // No data leaves the band count at 0; a damaged count must not index past the tables.
  const int nBands = std::clamp(BandCount(), 0, kMaxBands);
  CJsonObject obj(out, 0);
  obj.Member("sensor") << SensorCode(g_nSensor);
  obj.Member("width") << WindowWidth();
  obj.Member("height") << WindowHeight();
  obj.Member("bands") << nBands;
  obj.Member("display_mode") << DisplayModeCode(g_nDisplayMode);

  std::ostream& outHists = obj.Member("band_histograms");
  outHists << '[';
  for (int b = 1; b <= nBands; ++b) {
    outHists << (b > 1 ? ",\n" : "\n") << Indent(2);
    WriteNumbers(outHists, 0, 255, [b](int v) { return g_anBandHist[b - 1][v]; });
  }
  outHists << (nBands > 0 ? "\n" + Indent(1) : "") << ']';

  CJsonObject composite(obj.Member("composite"), 1);
  composite.Member("red_band") << g_nRedBand;
  composite.Member("green_band") << g_nGreenBand;
  composite.Member("blue_band") << g_nBlueBand;
  composite.Member("red_lower") << g_nRedLower;
  composite.Member("red_upper") << g_nRedUpper;
  composite.Member("green_lower") << g_nGreenLower;
  composite.Member("green_upper") << g_nGreenUpper;
  composite.Member("blue_lower") << g_nBlueLower;
  composite.Member("blue_upper") << g_nBlueUpper;
  composite.Member("cutoff_rate") << g_nCutOffRate;
  composite.Member("cutoff_linked") << JsonBool(g_bCutOffLinked == 1);
  composite.End();
  WriteHistogramSettings(obj.Member("histogram"), 1);
  // The header sheet's texts: the four user texts, and the page text of each band present.
  std::ostream& outUser = obj.Member("user_texts");
  outUser << '[';
  for (int i = 0; i < kUserTexts; ++i) {
    if (i > 0) outUser << ", ";
    WriteJsonString(outUser, g_astrUserText[i]);
  }
  outUser << ']';
  std::ostream& outHeaders = obj.Member("band_headers");
  outHeaders << '[';
  for (int b = 1; b <= nBands; ++b) {
    if (b > 1) outHeaders << ", ";
    WriteJsonString(outHeaders, HeaderPageText(b));
  }
  outHeaders << ']';

  std::ostream& outCategories = obj.Member("categories");
  outCategories << '[';
  for (int c = 1; c <= 8; ++c) {
    outCategories << (c > 1 ? ",\n" : "\n") << Indent(2);
    WriteCategory(outCategories, c, 2);
  }
  outCategories << '\n' << Indent(1) << ']';

  // Where the scene lies: the whole scene's geotransform (GDAL's order), the window's position
  // in it, the coordinate system and the pixel's area; null where the scene has none.
  const bool bGeo = g_nSensor == Sensor::Raster && g_bGeoreferenced == 1;
  if (bGeo) {
    WriteNumbers(obj.Member("geotransform"), 0, 5,
                 [](int i) { return JsonNumber(g_adGeoTransform[i]); });
  } else {
    obj.Member("geotransform") << "null";
  }
  obj.Member("window_offset") << '[' << g_nSceneOffsetX << ", " << g_nSceneOffsetY << ']';
  obj.Member("epsg") << (g_nEpsgCode > 0 ? std::to_string(g_nEpsgCode) : std::string("null"));
  WriteJsonString(obj.Member("coordinate_system"), g_strCoordinateSystem);
  obj.Member("pixel_area") << (bGeo ? JsonNumber(PixelArea()) : std::string("null"));
  obj.Member("required_pixels") << g_nRequiredPixels;
  std::ostream& outUse = obj.Member("bands_in_use");
  outUse << '[';
  bool bFirst = true;
  for (int b = 1; b <= kMaxBands; ++b) {
    if (g_abUseBand[b - 1] != 1) continue;
    outUse << (bFirst ? "" : ", ") << b;
    bFirst = false;
  }
  outUse << ']';
  WriteNumbers(obj.Member("band_in_range"), 1, nBands, [](int b) { return g_anBandInRange[b]; });
  obj.Member("classified") << JsonBool(g_bClassified == 1);
  obj.End();
  out << '\n';
}
