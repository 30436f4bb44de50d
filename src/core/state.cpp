#include "core/state.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <unistd.h>

#ifdef __linux__
#include <sys/mman.h>
#endif

#include "core/display_modes.h"
#include "core/document.h"
#include "core/parallel.h"
#include "core/settings_groups.h"

alignas(64) PixelRecord g_aPixel[kMaxColumns][kMaxLines];

Sensor g_nSensor = Sensor::None;
int g_nDisplaySize = -1;
int g_nMaxX = 511;
int g_nMaxY = 399;
int g_nLastBand = -1;
bool g_bWindowHasFiles = false;
int g_nSceneOffsetX = 0;
int g_nSceneOffsetY = 0;
std::string g_astrBandPath[kMaxBands];
std::uint8_t g_aszBandHeader[kMaxBands][kHeaderBytes];
std::string g_astrUserText[kUserTexts];
int g_abBandSelected[kMaxBands];

int g_nRasterColumns, g_nRasterLines;
int g_anRasterBandOfFile[kMaxBands];
int g_abRasterScaled[kMaxBands];
double g_adRasterLow[kMaxBands];
double g_adRasterHigh[kMaxBands];
int g_abRasterHasNoData[kMaxBands];
double g_adRasterNoData[kMaxBands];
bool g_bGeoreferenced;
double g_adGeoTransform[6];
std::string g_strCoordinateSystem;
int g_nEpsgCode;

std::uint32_t g_anBandHist[kMaxBands][256];
int g_abUseBand[kMaxBands];

DisplayMode g_nDisplayMode = DisplayMode::NoData;
bool g_bAlwaysRedraw = true;
int g_nMouseX = 0;
int g_nMouseY = 0;
bool g_bStroke = false;
int g_nStrokeX = 0;
int g_nStrokeY = 0;
alignas(64) std::uint32_t g_anOffscreen[kMaxLines * kMaxColumns];

bool GetSceneExtent(Sensor eSensor, SceneExtent& extent) {
  switch (eSensor) {
    case Sensor::TmCeos: extent = {6919, 5964, 3459, 2981}; return true;
    case Sensor::Etm6921: extent = {6920, 6315, 3459, 3157}; return true;
    case Sensor::Etm6845: extent = {6844, 6315, 3421, 3157}; return true;
    case Sensor::Raster:
      // The centre in integers, the rule that gives the CD-ROM scenes their centres.
      extent = {g_nRasterColumns - 1, g_nRasterLines - 1, g_nRasterColumns / 2 - 1,
                g_nRasterLines / 2 - 1};
      return g_nRasterColumns > 0 && g_nRasterLines > 0;
    case Sensor::Mss:
    case Sensor::TmFloppy:
    case Sensor::None: return false;
  }
  return false;
}

namespace {

using BandCounts = std::uint32_t[kMaxBands][256];

// Adds the columns' values to counts. One set of counters is enough: the bands of a record
// already make eight independent chains of increments, even where a band is flat.
template <int kBands>
void CountColumns(int nFirstColumn, int nEndColumn, int nLines, BandCounts& counts) {
  for (int x = nFirstColumn; x < nEndColumn; ++x) {
    const PixelRecord* pColumn = g_aPixel[x];
    for (int y = 0; y < nLines; ++y) {
      const std::uint8_t* ab = pColumn[y].abBand;
      for (int b = 0; b < kBands; ++b) ++counts[b][ab[b]];
    }
  }
}

void CountColumnsOfBands(int nBands, int nFirstColumn, int nEndColumn, int nLines,
                         BandCounts& counts) {
  switch (nBands) {
    case 1: CountColumns<1>(nFirstColumn, nEndColumn, nLines, counts); break;
    case 2: CountColumns<2>(nFirstColumn, nEndColumn, nLines, counts); break;
    case 3: CountColumns<3>(nFirstColumn, nEndColumn, nLines, counts); break;
    case 4: CountColumns<4>(nFirstColumn, nEndColumn, nLines, counts); break;
    case 5: CountColumns<5>(nFirstColumn, nEndColumn, nLines, counts); break;
    case 6: CountColumns<6>(nFirstColumn, nEndColumn, nLines, counts); break;
    case 7: CountColumns<7>(nFirstColumn, nEndColumn, nLines, counts); break;
    default: CountColumns<8>(nFirstColumn, nEndColumn, nLines, counts); break;
  }
}

}  // namespace

void RecomputeBandHistogramsPlain() {
  const int nBands = std::clamp(BandCount(), 0, kMaxBands);
  for (int b = 0; b < nBands; ++b) {
    std::fill(std::begin(g_anBandHist[b]), std::end(g_anBandHist[b]), 0u);
  }
  for (int x = 0; x <= g_nMaxX; ++x) {
    const PixelRecord* pColumn = g_aPixel[x];
    for (int y = 0; y <= g_nMaxY; ++y) {
      for (int b = 0; b < nBands; ++b) ++g_anBandHist[b][pColumn[y].abBand[b]];
    }
  }
  for (int b = 0; b < kMaxBands; ++b) g_abUseBand[b] = b < nBands ? 1 : 0;
}

void RecomputeBandHistograms() {
  const int nBands = std::clamp(BandCount(), 0, kMaxBands);
  const int nWidth = std::clamp(WindowWidth(), 0, kMaxColumns);
  const int nLines = std::clamp(WindowHeight(), 0, kMaxLines);
  static BandCounts s_aCounts[2];
  std::memset(s_aCounts, 0, sizeof s_aCounts);
  if (nBands > 0) {
    ForColumnParts(nWidth, nLines, [&](int nFirst, int nEnd, int nPart) {
      CountColumnsOfBands(nBands, nFirst, nEnd, nLines, s_aCounts[nPart]);
    });
  }
  for (int b = 0; b < nBands; ++b) {
    for (int v = 0; v < 256; ++v) {
      g_anBandHist[b][v] = s_aCounts[0][b][v] + s_aCounts[1][b][v];
    }
  }
  for (int b = 0; b < kMaxBands; ++b) g_abUseBand[b] = b < nBands ? 1 : 0;
}

void CountWindowValues(int nBand, std::uint32_t anCount[256]) {
  const int nByte = std::clamp(nBand, 1, kMaxBands) - 1;
  const int nWidth = std::clamp(WindowWidth(), 0, kMaxColumns);
  const int nLines = std::clamp(WindowHeight(), 0, kMaxLines);
  // Four sets of counters per part: with one band there is only one chain of increments, and
  // on flat areas each would wait for the one before.
  static std::uint32_t s_aanCounts[2][4][256];
  std::memset(s_aanCounts, 0, sizeof s_aanCounts);
  ForColumnParts(nWidth, nLines, [&](int nFirst, int nEnd, int nPart) {
    auto& aanCounts = s_aanCounts[nPart];
    for (int x = nFirst; x < nEnd; ++x) {
      const PixelRecord* pColumn = g_aPixel[x];
      int y = 0;
      for (; y + 4 <= nLines; y += 4) {
        for (int k = 0; k < 4; ++k) ++aanCounts[k][pColumn[y + k].abBand[nByte]];
      }
      for (; y < nLines; ++y) ++aanCounts[0][pColumn[y].abBand[nByte]];
    }
  });
  for (int v = 0; v < 256; ++v) {
    std::uint32_t n = 0;
    for (int nPart = 0; nPart < 2; ++nPart) {
      for (int k = 0; k < 4; ++k) n += s_aanCounts[nPart][k][v];
    }
    anCount[v] = n;
  }
}

void RecomputeAfterImport() {
  RecomputeBandHistograms();
  NotifyBandsChanged();
  g_nDisplayMode = DisplayMode::Prompt;
}

void RecomputeAfterWorkFileLoad() {
  RecomputeBandHistograms();
  g_nDisplayMode = DisplayMode::Prompt;
}

void ResetAfterImport() {
  ResetQueries();
  ResetPalettes();
}

void ClearOffscreenImage() {
  const std::uint32_t white = ScreenPixel(255, 255, 255);
  for (int y = 0; y <= g_nMaxY; ++y) std::fill_n(&OffscreenPixel(0, y), WindowWidth(), white);
}

namespace {

// Zeros a large array. Its whole pages are given back to the system, which hands out zero pages
// when they are next touched: faster than writing every byte, and a small scene after a large one
// leaves the program small. The bytes on pages shared with other data are written.
void ZeroLargeArray(void* p, std::size_t nBytes) {
  auto* pBegin = static_cast<std::uint8_t*>(p);
  std::uint8_t* pEnd = pBegin + nBytes;
#ifdef __linux__
  const PageSpan pages = WholePages(p, nBytes);
  if (pages.nBytes > 0 && ::madvise(pages.p, pages.nBytes, MADV_DONTNEED) == 0) {
    std::memset(pBegin, 0, static_cast<std::size_t>(pages.p - pBegin));
    std::uint8_t* pTail = pages.p + pages.nBytes;
    std::memset(pTail, 0, static_cast<std::size_t>(pEnd - pTail));
    return;
  }
#endif
  std::memset(pBegin, 0, nBytes);
}

}  // namespace

PageSpan WholePages(void* p, std::size_t nBytes) {
  const auto nPage = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
  const auto nStart = reinterpret_cast<std::uintptr_t>(p);
  const std::uintptr_t nFirst = (nStart + nPage - 1) / nPage * nPage;
  const std::uintptr_t nLast = (nStart + nBytes) / nPage * nPage;
  if (nLast <= nFirst) return {static_cast<std::uint8_t*>(p), 0};
  return {reinterpret_cast<std::uint8_t*>(nFirst), static_cast<std::size_t>(nLast - nFirst)};
}

void ResetProgramState() {
  ZeroLargeArray(g_aPixel, sizeof g_aPixel);
  g_nSensor = Sensor::None;
  g_nDisplaySize = -1;
  g_nMaxX = 511;
  g_nMaxY = 399;
  g_nLastBand = -1;
  g_bWindowHasFiles = 0;
  g_nSceneOffsetX = 0;
  g_nSceneOffsetY = 0;
  for (auto& str : g_astrBandPath) str.clear();
  std::memset(g_aszBandHeader, 0, sizeof g_aszBandHeader);
  for (auto& str : g_astrUserText) str.clear();
  std::fill(std::begin(g_abBandSelected), std::end(g_abBandSelected), 0);

  g_nRasterColumns = g_nRasterLines = 0;
  std::fill(std::begin(g_anRasterBandOfFile), std::end(g_anRasterBandOfFile), 0);
  std::fill(std::begin(g_abRasterScaled), std::end(g_abRasterScaled), 0);
  std::fill(std::begin(g_adRasterLow), std::end(g_adRasterLow), 0.0);
  std::fill(std::begin(g_adRasterHigh), std::end(g_adRasterHigh), 0.0);
  std::fill(std::begin(g_abRasterHasNoData), std::end(g_abRasterHasNoData), 0);
  std::fill(std::begin(g_adRasterNoData), std::end(g_adRasterNoData), 0.0);
  g_bGeoreferenced = 0;
  std::fill(std::begin(g_adGeoTransform), std::end(g_adGeoTransform), 0.0);
  g_strCoordinateSystem.clear();
  g_nEpsgCode = 0;
  std::memset(g_anBandHist, 0, sizeof g_anBandHist);
  std::fill(std::begin(g_abUseBand), std::end(g_abUseBand), 0);

  g_nDisplayMode = DisplayMode::NoData;
  g_bAlwaysRedraw = 1;
  g_nMouseX = 0;
  g_nMouseY = 0;
  g_bStroke = false;
  g_nStrokeX = 0;
  g_nStrokeY = 0;
  ZeroLargeArray(g_anOffscreen, sizeof g_anOffscreen);

  // Each group's derived tables start empty (the composite tables stay all 0 until the
  // composite prepare step runs), then its settings take their defaults.
  for (const SettingsGroup& group : SettingsGroups()) {
    if (group.pfnClearDerived) group.pfnClearDerived();
    group.pfnResetQuery();
    if (group.pfnResetPalette) group.pfnResetPalette();
  }
  ResetDocument();
}

bool MapCoordinates(int x, int y, double& dEasting, double& dNorthing) {
  if (g_nSensor != Sensor::Raster || g_bGeoreferenced != 1) return false;
  const double dColumn = g_nSceneOffsetX + x + 0.5, dLine = g_nSceneOffsetY + y + 0.5;
  const double* t = g_adGeoTransform;
  dEasting = t[0] + dColumn * t[1] + dLine * t[2];
  dNorthing = t[3] + dColumn * t[4] + dLine * t[5];
  return true;
}

namespace {
constexpr int kMaxChecks = 16;
bool (*s_apfnCheck[kMaxChecks])(std::string&);
int s_nChecks = 0;
}  // namespace

double PixelGroundArea() {
  if (g_nSensor != Sensor::Raster || g_bGeoreferenced != 1) return 0.0;
  const double* t = g_adGeoTransform;
  return std::abs(t[1] * t[5] - t[2] * t[4]);
}

bool CheckStateConsistency(std::string& strWhy) {
  auto fail = [&](const char* sz) {
    strWhy = sz;
    return false;
  };
  // A mode nobody registered can only come from memory written wrongly.
  if (!FindDisplayMode(g_nDisplayMode)) return fail("unknown display mode");
  if (!HasData()) return true;
  if (g_nMaxX < 0 || g_nMaxX >= kMaxColumns || g_nMaxY < 0 || g_nMaxY >= kMaxLines) {
    return fail("window outside the plane");
  }
  if (g_nLastBand < 0 || g_nLastBand >= kMaxBands) return fail("band count outside 1..8");
  const std::uint64_t nPixels =
      static_cast<std::uint64_t>(WindowWidth()) * static_cast<std::uint64_t>(WindowHeight());
  for (int b = 0; b < kMaxBands; ++b) {
    // A band can be left out of the categories' ranges; one the scene lacks cannot be used.
    if (g_abUseBand[b] != 0 && (g_abUseBand[b] != 1 || b > g_nLastBand)) return fail("band-use flags");
    if (b > g_nLastBand) continue;
    std::uint64_t nCounted = 0;
    for (std::uint32_t n : g_anBandHist[b]) nCounted += n;
    if (nCounted != nPixels) return fail("a band histogram does not add up to the window");
  }
  if (g_nSceneOffsetX < 0 || g_nSceneOffsetY < 0) return fail("negative scene offsets");
  SceneExtent ext{};
  if (g_bWindowHasFiles == 1 && GetSceneExtent(g_nSensor, ext) &&
      (g_nSceneOffsetX + g_nMaxX > ext.nLastColumn || g_nSceneOffsetY + g_nMaxY > ext.nLastLine)) {
    return fail("the window reaches past the scene");
  }
  for (int i = 0; i < s_nChecks; ++i) {
    if (!s_apfnCheck[i](strWhy)) return false;
  }
  return true;
}

void RegisterConsistencyCheck(bool (*pfnCheck)(std::string& strWhy)) {
  if (s_nChecks == kMaxChecks) {
    std::fprintf(stderr, "more than %d consistency checks registered\n", kMaxChecks);
    std::abort();
  }
  s_apfnCheck[s_nChecks++] = pfnCheck;
}
