// The program state: every piece of working data, fixed in size, alive from start to exit.
// Command handlers read and write these globals directly; the names are the ones the whole
// program uses. Tables indexed "[k][b]" with k and b counted from 1 keep row/column 0 unused so
// that the code reads the way the users' documentation counts ranks, points and bands.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// ---- Sizes ---------------------------------------------------------------------------------
inline constexpr int kMaxColumns = 1024;
inline constexpr int kMaxLines = 1024;
inline constexpr int kMaxBands = 8;
inline constexpr int kHeaderBytes = 512;
inline constexpr int kUserTexts = 4;

// ---- Colours -------------------------------------------------------------------------------
// Colour reference: red in the low byte, then green, then blue (the form the work file keeps).
using Colorref = std::uint32_t;
constexpr Colorref Rgb(int r, int g, int b) {
  return static_cast<Colorref>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int GetRValue(Colorref cr) { return static_cast<int>(cr & 0xFF); }
constexpr int GetGValue(Colorref cr) { return static_cast<int>((cr >> 8) & 0xFF); }
constexpr int GetBValue(Colorref cr) { return static_cast<int>((cr >> 16) & 0xFF); }

// Off-screen image pixels are 0xFFRRGGBB, the layout a 32-bit RGB screen image uses, so the
// view can show the buffer without converting it.
constexpr std::uint32_t ScreenPixel(int r, int g, int b) {
  return 0xFF000000u | (static_cast<std::uint32_t>(r & 0xFF) << 16) |
         (static_cast<std::uint32_t>(g & 0xFF) << 8) | static_cast<std::uint32_t>(b & 0xFF);
}
constexpr std::uint32_t ScreenPixel(Colorref cr) {
  return ScreenPixel(GetRValue(cr), GetGValue(cr), GetBValue(cr));
}
constexpr Colorref ColorrefFromScreen(std::uint32_t px) {
  return Rgb(static_cast<int>((px >> 16) & 0xFF), static_cast<int>((px >> 8) & 0xFF),
             static_cast<int>(px & 0xFF));
}

// ---- Pixel plane ---------------------------------------------------------------------------
#pragma pack(push, 1)
struct PixelRecord {
  std::uint8_t abBand[kMaxBands];      // band 1..8 value ("CCT COUNT"), band b at b-1
  std::uint8_t bCategoryClass;         // 1 = inside the ranges of the last target category
  std::uint8_t bClassifyClass;         // 0..7 = category 1..8, 8 = not classified
  std::uint8_t abTrainMark[kMaxBands]; // training-area mark of category 1..8
};
#pragma pack(pop)
static_assert(sizeof(PixelRecord) == 18, "a pixel record is 18 bytes without gaps");
static_assert(offsetof(PixelRecord, bCategoryClass) == 8);
static_assert(offsetof(PixelRecord, bClassifyClass) == 9);
static_assert(offsetof(PixelRecord, abTrainMark) == 10);

// Indexed [x][y]: the record of pixel (x, y) is record x * 1024 + y, each column contiguous.
alignas(64) extern PixelRecord g_aPixel[kMaxColumns][kMaxLines];
static_assert(sizeof(g_aPixel) == 18874368);

// ---- Scene description ----------------------------------------------------------------------
// Sensor codes, as the scene dialog's buttons and the work file number them.
enum class Sensor : int {
  Mss = 0,        // MSS, floppy
  TmFloppy = 1,   // TM, floppy
  TmCeos = 2,     // TM, CEOS CD-ROM
  Etm6921 = 3,    // ETM+, HDF CD-ROM, 6921 columns
  Etm6845 = 4,    // ETM+, HDF CD-ROM, 6845 columns
  Raster = 5,     // a raster file of today (GeoTIFF and the other formats GDAL reads)
  None = 20,      // no scene
};
constexpr int SensorCode(Sensor eSensor) { return static_cast<int>(eSensor); }
// The sensor of a code 0..5; any other code is no sensor.
constexpr Sensor SensorFromCode(int nCode) {
  return nCode >= 0 && nCode <= 5 ? static_cast<Sensor>(nCode) : Sensor::None;
}

extern Sensor g_nSensor;
extern int g_nDisplaySize;
extern int g_nMaxX;
extern int g_nMaxY;
extern int g_nLastBand;
// 1 while the window was read from band files that a scroll can read again (a satellite or
// raster import); 0 after a BMP picture or a work file, whose bands have no files behind them.
extern bool g_bWindowHasFiles;
extern int g_nSceneOffsetX;
extern int g_nSceneOffsetY;
extern std::string g_astrBandPath[kMaxBands];
extern std::uint8_t g_aszBandHeader[kMaxBands][kHeaderBytes];
extern std::string g_astrUserText[kUserTexts];
extern int g_abBandSelected[kMaxBands];

// ---- Raster scenes (sensor Raster) -----------------------------------------------------------
// The whole scene's size, the file and band each band comes from, its scaling to 1..255, and
// where the scene lies on the ground.
extern int g_nRasterColumns, g_nRasterLines;
extern int g_anRasterBandOfFile[kMaxBands];  // band b's band number in its file
extern int g_abRasterScaled[kMaxBands];      // 1: values scaled; 0: 8-bit values as they are
extern double g_adRasterLow[kMaxBands];      // the values scaled to 1 and to 255
extern double g_adRasterHigh[kMaxBands];
extern int g_abRasterHasNoData[kMaxBands];
extern double g_adRasterNoData[kMaxBands];
extern bool g_bGeoreferenced;                // the geotransform is known
extern double g_adGeoTransform[6];           // of the whole scene (GDAL's order)
extern std::string g_strCoordinateSystem;    // WKT, "" when unknown
extern int g_nEpsgCode;                      // 0 when none
// Map coordinates of the centre of window pixel (x, y); false when the scene has none.
bool MapCoordinates(int x, int y, double& dEasting, double& dNorthing);
// The ground area of one pixel in square map units (square metres for a projected system), or 0
// when the scene has no georeferencing.
double PixelGroundArea();

// ---- Histograms and band use ------------------------------------------------------------------
extern std::uint32_t g_anBandHist[kMaxBands][256];
extern int g_abUseBand[kMaxBands];

// ---- Display state ---------------------------------------------------------------------------
// What the view shows. Every mode but NoData means a scene is loaded.
enum class DisplayMode : int {
  Composite = 0,
  Coarse = 1,
  Category = 2,
  Training = 3,
  Classify = 4,
  DetailedHistogram = 5,
  Fine = 6,
  Bmp = 8,
  Prompt = 10,
  Distance = 11,
  Signatures = 12,
  Scatter = 13,
  NoData = 20,
};
constexpr int DisplayModeCode(DisplayMode eMode) { return static_cast<int>(eMode); }

extern DisplayMode g_nDisplayMode;
extern bool g_bAlwaysRedraw;
extern int g_nMouseX;
extern int g_nMouseY;
// While the left button is held down in the view: where it was pressed or last moved to, so
// the next move continues the stroke from there.
extern bool g_bStroke;
extern int g_nStrokeX;
extern int g_nStrokeY;

// The view's off-screen image: W x H pixels used, row stride kMaxColumns, 0xFFRRGGBB.
alignas(64) extern std::uint32_t g_anOffscreen[kMaxLines * kMaxColumns];
inline std::uint32_t& OffscreenPixel(int x, int y) { return g_anOffscreen[y * kMaxColumns + x]; }

// ---- Large scenes ---------------------------------------------------------------------------
// Extent of the CD-ROM scenes (sensors 2, 3, 4): last column and line, and the centre.
struct SceneExtent {
  int nLastColumn;
  int nLastLine;
  int nCentreColumn;
  int nCentreLine;
};
// False for sensors whose scenes are not larger than the window (floppy, none).
bool GetSceneExtent(Sensor eSensor, SceneExtent& extent);

// ---- Shared operations --------------------------------------------------------------------------
// W and H of the loaded window.
inline int WindowWidth() { return g_nMaxX + 1; }
inline int WindowHeight() { return g_nMaxY + 1; }
inline int BandCount() { return g_nLastBand + 1; }
inline bool HasData() { return g_nDisplayMode != DisplayMode::NoData; }

// Band histograms over the window, band-use flags, what the settings groups counted from the old
// bands cleared, DisplayMode::Prompt.
void RecomputeAfterImport();
// The same without clearing what the groups counted.
void RecomputeAfterWorkFileLoad();
// Band histograms of bands 1..g_nLastBand+1 and the band-use flags only (no mode change).
void RecomputeBandHistograms();
// The same as one plain loop, kept as the reference the fast version is tested against.
void RecomputeBandHistogramsPlain();
// Histogram of band nBand (1..8) over the window, on both cores for a large window.
void CountWindowValues(int nBand, std::uint32_t anCount[256]);
// Every settings group's query reset, then every palette reset (what an import does).
void ResetAfterImport();
// Every value back to its start value, the registered settings groups' included: for tests
// and a fresh program.
void ResetProgramState();

// The memory pages lying wholly inside [p, p + nBytes): the first one's start and their length
// in bytes (0 when there is none). The reset gives the plane's back to the system; the fuzz
// targets watch the same pages for writes.
struct PageSpan {
  std::uint8_t* p;
  std::size_t nBytes;
};
PageSpan WholePages(void* p, std::size_t nBytes);
// Fill the W x H off-screen image with white.
void ClearOffscreenImage();

// What must hold of the program state after any operation that succeeded: the window inside
// the plane, the band count, the display mode, the histograms of the bands present adding up
// to the window's pixels, the offsets inside the scene, and what each registered check says of
// its own settings. False with the first thing that does not hold (used by the fuzz targets).
bool CheckStateConsistency(std::string& strWhy);
// A subsystem's own consistency rule for CheckStateConsistency (false with what is wrong).
void RegisterConsistencyCheck(bool (*pfnCheck)(std::string& strWhy));
