// Speed of the loops a user waits for, each measured against BM_MemoryBound: one streaming pass
// over the 1024 x 1024 window of the pixel plane that writes a 4 MB image, the least any
// whole-window pass can cost on the machine at hand.
//
//   build-cli/geolumen_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true

#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include <gdal.h>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#if defined(GEOLUMEN_BENCH_HAS_DESKTOP)
#include "shell/cli_surface.h"
#endif

#include "app/features.h"
#include "workfile/recovery.h"
#include "histograms/histograms.h"
#include "import/raster.h"
#include "classification/categories.h"
#include "classification/class_model.h"
#include "classification/classify.h"
#include "classification/classify_method.h"
#include "classification/distance_picture.h"
#include "classification/plots.h"
#include "classification/signature.h"
#include "core/platform.h"
#include "core/state.h"
#include "import/bmp_import.h"
#include "import/import.h"
#include "import/ndvi.h"
#include "import/readers.h"
#include "import/scrolling.h"
#include "products/coarse.h"
#include "products/composite.h"
#include "products/fine.h"
#include "products/render.h"
#include "products/value_colour.h"
#include "workfile/workfile.h"
#include "workfile/workfile_format.h"

namespace {

constexpr int kSide = 1024;

// A value with structure (gradients, band correlation) and noise, so histograms are spread.
std::uint8_t SceneValue(std::uint32_t x, std::uint32_t y, std::uint32_t b) {
  std::uint32_t h = x * 0x9E3779B1u ^ y * 0x85EBCA77u ^ b * 0xC2B2AE3Du;
  h ^= h >> 15;
  h *= 0x2C1B3C6Du;
  h ^= h >> 12;
  return static_cast<std::uint8_t>((x / 5 + y / 7 + 30 * b + (h & 63)) & 0xFF);
}

// The 1024 x 1024 x 8-band scene, made once, as an import leaves it.
void MakeBenchScene() {
  static bool s_bMade = false;
  if (s_bMade && g_nMaxX == kSide - 1 && g_nMaxY == kSide - 1 && g_nLastBand == 7) return;
  ResetProgramState();
  g_nSensor = Sensor::TmFloppy;
  g_nMaxX = kSide - 1;
  g_nMaxY = kSide - 1;
  g_nLastBand = 7;
  for (int x = 0; x < kSide; ++x) {
    for (int y = 0; y < kSide; ++y) {
      for (int b = 0; b < 8; ++b) g_aPixel[x][y].abBand[b] = SceneValue(x, y, b);
    }
  }
  RecomputeAfterImport();
  ResetAfterImport();
  s_bMade = true;
}

// Band files made once per run in a folder of their own, removed at exit.
class CTempFolder {
 public:
  CTempFolder() {
    std::string strTemplate = (std::filesystem::temp_directory_path() / "geolumen_bench_XXXXXX");
    if (mkdtemp(strTemplate.data())) m_path = strTemplate;
  }
  ~CTempFolder() {
    std::error_code ec;
    if (!m_path.empty()) std::filesystem::remove_all(m_path, ec);
  }
  std::string File(const std::string& strName) const { return (m_path / strName).string(); }

 private:
  std::filesystem::path m_path;
};

CTempFolder& TempFolder() {
  static CTempFolder s_folder;
  return s_folder;
}

bool WriteFile(const std::string& strPath, const std::vector<std::uint8_t>& ab) {
  std::FILE* pFile = std::fopen(strPath.c_str(), "wb");
  if (!pFile) return false;
  const bool bOk = std::fwrite(ab.data(), 1, ab.size(), pFile) == ab.size();
  return std::fclose(pFile) == 0 && bOk;
}

// Eight band files of one format; bFloppy: 512-byte header and 400 lines of 512, else an HDF
// scene of 6921 x 6316.
std::vector<std::string> MakeBandFiles(bool bFloppy) {
  std::vector<std::string> astr;
  const int nColumns = bFloppy ? 512 : 6921;
  const int nLines = bFloppy ? 400 : kHdfSceneLines;
  const std::size_t nHeader = bFloppy ? 512 : 0;
  std::vector<std::uint8_t> ab(nHeader + static_cast<std::size_t>(nColumns) * nLines);
  for (int b = 0; b < 8; ++b) {
    for (int y = 0; y < nLines; ++y) {
      for (int x = 0; x < nColumns; ++x) {
        ab[nHeader + static_cast<std::size_t>(y) * nColumns + x] = SceneValue(x, y, b);
      }
    }
    astr.push_back(TempFolder().File((bFloppy ? "fd_band" : "hdf_band") + std::to_string(b + 1)));
    if (!WriteFile(astr.back(), ab)) return {};
  }
  return astr;
}

// ---- The yardstick -------------------------------------------------------------------------

// Records in memory order, one 32-bit pixel written per record: every cache line of the
// window's 18 MB is read once and 4 MB are written once.
void MemoryBoundPass() {
  const PixelRecord* p = &g_aPixel[0][0];
  std::uint32_t* pOut = g_anOffscreen;
  for (int i = 0; i < kSide * kSide; ++i) {
    pOut[i] = 0xFF000000u | std::uint32_t{p[i].abBand[0]} << 16 |
              std::uint32_t{p[i].abBand[1]} << 8 | p[i].abBand[2];
  }
  benchmark::ClobberMemory();
}

void BM_MemoryBound(benchmark::State& state) {
  MakeBenchScene();
  for (auto _ : state) MemoryBoundPass();
}
BENCHMARK(BM_MemoryBound)->Unit(benchmark::kMillisecond);

// ---- Histograms and the prepare step -------------------------------------------------------

void BM_BandHistograms(benchmark::State& state) {
  MakeBenchScene();
  for (auto _ : state) {
    RecomputeBandHistograms();
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_BandHistograms)->Unit(benchmark::kMillisecond);

// The reference loops the fast paths are tested against, for comparison.
void BM_BandHistogramsPlain(benchmark::State& state) {
  MakeBenchScene();
  for (auto _ : state) {
    RecomputeBandHistogramsPlain();
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_BandHistogramsPlain)->Unit(benchmark::kMillisecond);

void BM_CompositePrepare(benchmark::State& state) {
  MakeBenchScene();
  g_nRedBand = 4;
  g_nGreenBand = 3;
  g_nBlueBand = 1;
  for (auto _ : state) {
    PrepareCompositeTables();
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_CompositePrepare)->Unit(benchmark::kMillisecond);

// ---- Renders into the off-screen image -----------------------------------------------------

// The bench scene with the composite of bands 4, 3, 1 prepared.
void MakeCompositeScene() {
  MakeBenchScene();
  g_nRedBand = 4;
  g_nGreenBand = 3;
  g_nBlueBand = 1;
  PrepareCompositeTables();
}

void BM_CompositeRender(benchmark::State& state) {
  MakeCompositeScene();
  for (auto _ : state) {
    RenderProduct(CCompositeColour(), false);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_CompositeRender)->Unit(benchmark::kMillisecond);

void BM_CompositeRenderPlain(benchmark::State& state) {
  MakeCompositeScene();
  for (auto _ : state) {
    RenderProductPlain(CCompositeColour());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_CompositeRenderPlain)->Unit(benchmark::kMillisecond);

// The tiled render on this thread alone: what the second thread adds.
void BM_CompositeRenderOneThread(benchmark::State& state) {
  MakeCompositeScene();
  for (auto _ : state) {
    RenderColumns(CCompositeColour(), 0, WindowWidth(), WindowHeight());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_CompositeRenderOneThread)->Unit(benchmark::kMillisecond);

// The plane and the picture out of every cache before each pass, as on a machine whose
// last-level cache cannot hold the window: the yardstick and the composite render from memory.
bool FlushPlaneAndPicture() {
#if defined(__SSE2__)
  const auto* pPlane = reinterpret_cast<const char*>(g_aPixel);
  for (std::size_t i = 0; i < sizeof g_aPixel; i += 64) _mm_clflush(pPlane + i);
  const auto* pPicture = reinterpret_cast<const char*>(g_anOffscreen);
  for (std::size_t i = 0; i < sizeof g_anOffscreen; i += 64) _mm_clflush(pPicture + i);
  _mm_mfence();
  return true;
#else
  return false;
#endif
}

template <bool kRender>
void BM_FromMemory(benchmark::State& state) {
  MakeCompositeScene();
  for (auto _ : state) {
    state.PauseTiming();
    if (!FlushPlaneAndPicture()) {
      state.SkipWithError("no cache flush on this processor");
      return;
    }
    state.ResumeTiming();
    if (kRender) {
      RenderProduct(CCompositeColour(), false);
    } else {
      MemoryBoundPass();
    }
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_FromMemory<false>)
    ->Name("BM_MemoryBoundFromMemory")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_FromMemory<true>)
    ->Name("BM_CompositeRenderFromMemory")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The coarse and fine renders draw through the value-colour functor, from tables their prepare
// step leaves: value to colour, or to the composite where a rank or interval is off.
void BM_CoarseRender(benchmark::State& state) {
  MakeBenchScene();
  PrepareCompositeTables();
  g_nCoarseBand = 4;
  ToggleSlicedPart(kCoarsePicture, 3);  // one rank shows the composite, as users often leave it
  OnCoarseHistogram();
  std::uint32_t anColour[256];
  bool abComposite[256];
  for (int v = 0; v < 256; ++v) {
    const int r = g_abCoarseRankOfValue[v];
    abComposite[v] = g_anRankColourOn[r][4] == 0;
    anColour[v] = ScreenPixel(g_acrRankColour[r][4]);
  }
  for (auto _ : state) {
    RenderProduct(CValueColour(4, anColour, abComposite), false);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_CoarseRender)->Unit(benchmark::kMillisecond);

// Every rank coloured (the pictures' defaults): one table read per pixel.
void BM_CoarseRenderAllColoured(benchmark::State& state) {
  MakeBenchScene();
  PrepareCompositeTables();
  g_nCoarseBand = 4;
  OnCoarseHistogram();
  std::uint32_t anColour[256];
  bool abComposite[256] = {};
  for (int v = 0; v < 256; ++v) anColour[v] = ScreenPixel(g_acrRankColour[g_abCoarseRankOfValue[v]][4]);
  for (auto _ : state) {
    RenderValuePicture(4, anColour, abComposite, false);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_CoarseRenderAllColoured)->Unit(benchmark::kMillisecond);

void BM_FineRender(benchmark::State& state) {
  MakeBenchScene();
  PrepareCompositeTables();
  g_nFineBand = 5;
  ToggleSlicedPart(kFinePicture, 2);
  OnFineHistogram();
  std::uint32_t anColour[256];
  bool abComposite[256];
  for (int v = 0; v < 256; ++v) {
    abComposite[v] = g_abFineValueOn[v][5] == 0;
    anColour[v] = ScreenPixel(g_anFineRed[v], g_anFineGreen[v], g_anFineBlue[v]);
  }
  for (auto _ : state) {
    RenderProduct(CValueColour(5, anColour, abComposite), false);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_FineRender)->Unit(benchmark::kMillisecond);

// The whole display commands for comparison: prepare step, panel (on the silent window) and
// render.
void BM_CoarseView(benchmark::State& state) {
  MakeBenchScene();
  PrepareCompositeTables();
  g_nCoarseBand = 4;
  for (auto _ : state) {
    OnCoarseView();
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_CoarseView)->Unit(benchmark::kMillisecond);

void BM_FineView(benchmark::State& state) {
  MakeBenchScene();
  PrepareCompositeTables();
  g_nFineBand = 5;
  for (auto _ : state) {
    OnFineView();
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_FineView)->Unit(benchmark::kMillisecond);

// ---- The detailed histogram ----------------------------------------------------------------

#if defined(GEOLUMEN_BENCH_HAS_DESKTOP)
// A platform whose window is an off-screen image on the desktop's canvas.
class CImagePlatform final : public CSilentPlatform {
 public:
  CImagePlatform() : m_pSurface(MakeCliSurface(1024 + 260, 1024)) {}
  Canvas& WindowCanvas() override { return *m_pSurface; }

 private:
  std::unique_ptr<Canvas> m_pSurface;
};

// The chart of eight bands in the double type, computed and drawn into the image.
void BM_DetailedHistogram8Bands(benchmark::State& state) {
  MakeBenchScene();
  PrepareCompositeTables();
  CImagePlatform platform;
  SetPlatform(&platform);
  for (auto _ : state) {
    ShowDetailedHistogram();
    benchmark::ClobberMemory();
  }
  SetPlatform(nullptr);
}
BENCHMARK(BM_DetailedHistogram8Bands)->Unit(benchmark::kMillisecond);
#endif

// ---- The feature-space plot --------------------------------------------------------------------

// Four categories' training areas of 64 x 64 pixels, marked for a run and cleared after it.
void MarkFourTrainingAreas(std::uint8_t nMark) {
  for (int c = 0; c < 4; ++c) {
    for (int x = 100 + 200 * c; x < 164 + 200 * c; ++x) {
      for (int y = 300; y < 364; ++y) g_aPixel[x][y].abTrainMark[c] = nMark;
    }
  }
}

// The picture of bands 3 and 4: every pixel of the window counted into the 256 x 256 grid with
// the training pixels of four categories, then each cell's grey or colour.
void BM_ScatterPicture(benchmark::State& state) {
  MakeBenchScene();
  MarkFourTrainingAreas(1);
  bool abShown[9] = {false, true, true, true, true};
  static ScatterGrid s_grid;
  static std::uint32_t s_acrCell[kScatterCells];
  for (auto _ : state) {
    CountScatterGrid(3, 4, abShown, s_grid);
    ScatterPicture(s_grid, s_acrCell);
    benchmark::ClobberMemory();
  }
  MarkFourTrainingAreas(0);
}
BENCHMARK(BM_ScatterPicture)->Unit(benchmark::kMillisecond);

// ---- Work files (warm page cache) ------------------------------------------------------------

// The 1024 x 1024 x 8-band scene with every section: 8 MB of pixels and 8 MB of marks. The
// save flushes the file to its device before renaming it over the old one; in memory (/dev/shm,
// where there is one) that costs nothing, so the figure is the program's own work. On a disk
// the device's flush comes on top.
std::string WorkFileBenchPath(const char* szName) {
  if (access("/dev/shm", W_OK) == 0) return std::string("/dev/shm/") + szName;
  return TempFolder().File(szName);
}

void BM_WorkFileSave(benchmark::State& state) {
  MakeBenchScene();
  std::fill(std::begin(g_abSaveSection), std::end(g_abSaveSection), 1);
  const std::string strPath = WorkFileBenchPath("geolumen_bench_save.glw");
  for (auto _ : state) {
    if (!SaveWorkFile(strPath)) {
      state.SkipWithError("save failed");
      return;
    }
  }
  std::remove(strPath.c_str());
}
BENCHMARK(BM_WorkFileSave)->Unit(benchmark::kMillisecond);

void BM_WorkFileLoad(benchmark::State& state) {
  MakeBenchScene();
  std::fill(std::begin(g_abSaveSection), std::end(g_abSaveSection), 1);
  const std::string strPath = WorkFileBenchPath("geolumen_bench_load.glw");
  if (!SaveWorkFile(strPath)) {
    state.SkipWithError("save failed");
    return;
  }
  for (auto _ : state) {
    if (!OpenWorkFile(strPath)) {
      state.SkipWithError("load failed");
      return;
    }
  }
  std::remove(strPath.c_str());
}
BENCHMARK(BM_WorkFileLoad)->Unit(benchmark::kMillisecond);

// ---- The recovery copy -------------------------------------------------------------------------

// What the program's thread pays for a recovery copy of the whole 1024 x 1024 x 8-band window:
// the settings encoded, the plane's 18 MB of records copied (the test-area scan included, the
// case without test areas, which reads every record's marks to the end).
void BM_RecoveryCopyTake(benchmark::State& state) {
  MakeBenchScene();
  for (int x = 0; x < kSide; x += 3) g_aPixel[x][x / 2].abTrainMark[x % 8] = 1;
  CRecoveryCopy copy;
  std::string strReason;
  for (auto _ : state) {
    if (!copy.Take(strReason)) {
      state.SkipWithError("copy failed");
      return;
    }
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_RecoveryCopyTake)->Unit(benchmark::kMillisecond);

// Its first part alone: the settings and texts encoded with room for the blocks.
void BM_RecoveryCopyEncode(benchmark::State& state) {
  MakeBenchScene();
  for (int x = 0; x < kSide; x += 3) g_aPixel[x][x / 2].abTrainMark[x % 8] = 1;
  std::array<int, kMaxSaveSections> abAll;
  abAll.fill(1);
  ByteBuffer ab;
  PlaneBlocks blocks;
  std::string strReason;
  for (auto _ : state) {
    if (!EncodeWorkFileLayout(ab, blocks, strReason, abAll.data())) {
      state.SkipWithError("encoding failed");
      return;
    }
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_RecoveryCopyEncode)->Unit(benchmark::kMillisecond);

// The writer thread's part: the blocks filled from the copy and the file written atomically.
void BM_RecoveryCopyWrite(benchmark::State& state) {
  MakeBenchScene();
  CRecoveryCopy copy;
  std::string strReason;
  const std::string strPath = WorkFileBenchPath("geolumen_bench_recovery.glw");
  if (!copy.Take(strReason)) {
    state.SkipWithError("copy failed");
    return;
  }
  for (auto _ : state) {
    if (!copy.Write(strPath, nullptr, strReason)) {
      state.SkipWithError("write failed");
      return;
    }
  }
  std::remove(strPath.c_str());
}
BENCHMARK(BM_RecoveryCopyWrite)->Unit(benchmark::kMillisecond);

// ---- Imports (warm page cache: the files were just written) --------------------------------

void BM_FloppyImport8Bands(benchmark::State& state) {
  static const std::vector<std::string> s_astrFiles = MakeBandFiles(true);
  if (s_astrFiles.size() != 8) {
    state.SkipWithError("cannot write the band files");
    return;
  }
  SatelliteDialogValues values;
  values.nSensor = Sensor::Mss;
  values.nDisplaySize = 0;
  for (int b = 0; b < 8; ++b) {
    values.abBandSelected[b] = 1;
    values.astrBandPath[b] = s_astrFiles[b];
  }
  for (auto _ : state) {
    if (!ApplyOpenSatellite(values)) {
      state.SkipWithError("import failed");
      break;
    }
  }
}
BENCHMARK(BM_FloppyImport8Bands)->Unit(benchmark::kMillisecond);

const std::vector<std::string>& HdfFiles() {
  static const std::vector<std::string> s_astrFiles = MakeBandFiles(false);
  return s_astrFiles;
}

// The scene dialog's values for the eight HDF files, a 1024 x 1024 window.
SatelliteDialogValues HdfValues() {
  SatelliteDialogValues values;
  values.nSensor = Sensor::Etm6921;
  values.nDisplaySize = 2;
  for (int b = 0; b < 8; ++b) {
    values.abBandSelected[b] = 1;
    values.astrBandPath[b] = HdfFiles()[b];
  }
  return values;
}

// The reader and the copy into the plane only: eight 1024 x 1024 windows of 6921 x 6316 files.
void BM_HdfWindowRead8Bands(benchmark::State& state) {
  if (HdfFiles().size() != 8) {
    state.SkipWithError("cannot write the band files");
    return;
  }
  const SceneWindow window{kSide, kSide, 2900, 2700};
  for (auto _ : state) {
    for (int b = 1; b <= 8; ++b) {
      CBandFile file;
      if (!file.Open(HdfFiles()[b - 1]) || !ReadHdfBand(file, Sensor::Etm6921, b, window)) {
        state.SkipWithError("read failed");
        return;
      }
    }
    CommitStagedBands(0xFF, kSide, kSide);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_HdfWindowRead8Bands)->Unit(benchmark::kMillisecond);

// The same through the import driver: read, band histograms, resets, cleared picture.
void BM_HdfImport8Bands(benchmark::State& state) {
  if (HdfFiles().size() != 8) {
    state.SkipWithError("cannot write the band files");
    return;
  }
  const SatelliteDialogValues values = HdfValues();
  g_nSceneOffsetX = 2900;
  g_nSceneOffsetY = 2700;
  for (auto _ : state) {
    if (!ApplyOpenSatellite(values)) {
      state.SkipWithError("import failed");
      break;
    }
  }
}
BENCHMARK(BM_HdfImport8Bands)->Unit(benchmark::kMillisecond);

// A scroll over the HDF scene: the eight windows re-read, the band histograms and the
// composite picture, as the scrolling commands do.
void BM_HdfScroll8Bands(benchmark::State& state) {
  if (HdfFiles().size() != 8) {
    state.SkipWithError("cannot write the band files");
    return;
  }
  const SatelliteDialogValues values = HdfValues();
  g_nSceneOffsetX = 2900;
  g_nSceneOffsetY = 2700;
  if (!ApplyOpenSatellite(values)) {
    state.SkipWithError("import failed");
    return;
  }
  int nStep = 0;
  for (auto _ : state) {
    // Back and forth by 100 dots, so every re-read moves the window.
    if (!ReloadSceneWindow(2900 + 100 * (nStep++ & 1), 2700)) {
      state.SkipWithError("re-read failed");
      return;
    }
  }
}
BENCHMARK(BM_HdfScroll8Bands)->Unit(benchmark::kMillisecond);

// ---- BMP pictures and the vegetation index ----------------------------------------------

// A 1024 x 1024 24-bit picture (3 MB), written once.
const std::string& BmpFile() {
  static const std::string s_strPath = [] {
    const std::size_t nPixels = static_cast<std::size_t>(kSide) * kSide * 3;
    std::vector<std::uint8_t> ab(54 + nPixels);
    const std::uint32_t anHeader[] = {static_cast<std::uint32_t>(ab.size()), 0, 54, 40, kSide, kSide};
    ab[0] = 'B';
    ab[1] = 'M';
    std::memcpy(&ab[2], anHeader, sizeof anHeader);
    ab[26] = 1;   // planes
    ab[28] = 24;  // bits per pixel
    for (std::size_t i = 0; i < nPixels; ++i) ab[54 + i] = SceneValue(static_cast<std::uint32_t>(i / 3 % kSide), static_cast<std::uint32_t>(i / 3 / kSide), static_cast<std::uint32_t>(i % 3));
    const std::string strPath = TempFolder().File("picture.bmp");
    return WriteFile(strPath, ab) ? strPath : std::string();
  }();
  return s_strPath;
}

void BM_BmpImport24Bit(benchmark::State& state) {
  if (BmpFile().empty()) {
    state.SkipWithError("cannot write the picture");
    return;
  }
  for (auto _ : state) {
    if (!ImportBmpFile(BmpFile())) {
      state.SkipWithError("import failed");
      return;
    }
  }
}
BENCHMARK(BM_BmpImport24Bit)->Unit(benchmark::kMillisecond);

void BM_NdviBand(benchmark::State& state) {
  MakeBenchScene();
  for (auto _ : state) {
    g_nLastBand = 6;
    CreateNdviBand();
  }
}
BENCHMARK(BM_NdviBand)->Unit(benchmark::kMillisecond);

// ---- Raster scenes through GDAL -------------------------------------------------------------

// An eight-band 2048 x 2048 GeoTIFF of bytes, written once: striped and uncompressed, or tiled
// and DEFLATE-compressed.
std::string MakeRasterFile(bool bDeflate) {
  GDALAllRegister();
  const std::string strPath = TempFolder().File(bDeflate ? "deflate.tif" : "striped.tif");
  const char* aszStriped[] = {nullptr};
  const char* aszDeflate[] = {"TILED=YES", "COMPRESS=DEFLATE", nullptr};
  GDALDatasetH h = GDALCreate(GDALGetDriverByName("GTiff"), strPath.c_str(), 2048, 2048, 8,
                              GDT_Byte, const_cast<char**>(bDeflate ? aszDeflate : aszStriped));
  if (!h) return {};
  std::vector<std::uint8_t> ab(2048u * 2048u);
  for (int b = 0; b < 8; ++b) {
    for (std::uint32_t y = 0; y < 2048; ++y) {
      for (std::uint32_t x = 0; x < 2048; ++x) ab[y * 2048 + x] = SceneValue(x, y, b);
    }
    if (GDALRasterIO(GDALGetRasterBand(h, b + 1), GF_Write, 0, 0, 2048, 2048, ab.data(), 2048,
                     2048, GDT_Byte, 0, 0) != CE_None) {
      GDALClose(h);
      return {};
    }
  }
  GDALClose(h);
  return strPath;
}

// A 1024 x 1024 window of eight bands from the file into the plane, the scene already open,
// moved between four places of the file as scrolls move it. The compressed file's decoded blocks
// are dropped from GDAL's block cache before each read, so that every read decodes its blocks.
template <bool kDeflate>
void BM_RasterWindowRead8Bands(benchmark::State& state) {
  static const std::string s_strPath = MakeRasterFile(kDeflate);
  if (s_strPath.empty() || !ApplyOpenRaster({{s_strPath}, kSide, kSide, 300, 500})) {
    state.SkipWithError("cannot write or open the raster file");
    return;
  }
  const SceneWindow aWindow[] = {{kSide, kSide, 600, 700},
                                 {kSide, kSide, 0, 1024},
                                 {kSide, kSide, 1024, 0},
                                 {kSide, kSide, 300, 200}};
  std::size_t i = 0;
  for (auto _ : state) {
    if (kDeflate) {
      state.PauseTiming();
      while (GDALFlushCacheBlock()) {
      }
      state.ResumeTiming();
    }
    if (!ReadRasterWindow(aWindow[i++ % std::size(aWindow)])) {
      state.SkipWithError("read failed");
      return;
    }
    CommitRasterWindow(kSide, kSide);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_RasterWindowRead8Bands<false>)
    ->Name("BM_RasterWindowRead8Bands")
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RasterWindowRead8Bands<true>)
    ->Name("BM_RasterWindowRead8BandsDeflateTiled")
    ->Unit(benchmark::kMillisecond);

// One 7000 x 7000 band, written once: 16-bit values, or floats with a fraction and, every
// 997th pixel, +Inf or NaN (the float scan's path around them).
std::string MakeWide7000(GDALDataType eType) {
  GDALAllRegister();
  const std::string strPath =
      TempFolder().File(eType == GDT_UInt16 ? "wide7000.tif" : "float7000.tif");
  GDALDatasetH h =
      GDALCreate(GDALGetDriverByName("GTiff"), strPath.c_str(), 7000, 7000, 1, eType, nullptr);
  if (!h) return std::string();
  std::vector<double> ad(7000);
  for (std::uint32_t y = 0; y < 7000; ++y) {
    for (std::uint32_t x = 0; x < 7000; ++x) {
      ad[x] = 5000.0 + 40.0 * SceneValue(x, y, 3);
      if (eType == GDT_UInt16) continue;
      const std::uint32_t i = y * 7000 + x;
      ad[x] = i % 997 == 0   ? (i % 2 ? HUGE_VAL : std::nan(""))
              : ad[x] + 0.25 * static_cast<double>(x % 4);
    }
    if (GDALRasterIO(GDALGetRasterBand(h, 1), GF_Write, 0, static_cast<int>(y), 7000, 1,
                     ad.data(), 7000, 1, GDT_Float64, 0, 0) != CE_None) {
      GDALClose(h);
      return std::string();
    }
  }
  GDALClose(h);
  return strPath;
}

// Opening one 7000 x 7000 band, the scaling rule fixed (16-bit: GDAL's approximate
// statistics; float: our scan of a 1024 x 1024 grid of the band), then a 1024 x 1024 window
// read, scaled, counted and reset as an import does.
template <GDALDataType kType>
void BM_RasterOpen7000(benchmark::State& state) {
  static const std::string s_strPath = MakeWide7000(kType);
  for (auto _ : state) {
    if (s_strPath.empty() || !ApplyOpenRaster({{s_strPath}, kSide, kSide, 3000, 3000})) {
      state.SkipWithError("cannot write or open the raster file");
      return;
    }
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_RasterOpen7000<GDT_UInt16>)
    ->Name("BM_RasterOpen16Bit7000")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK(BM_RasterOpen7000<GDT_Float32>)
    ->Name("BM_RasterOpenFloat7000")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

// ---- Categories and classification ---------------------------------------------------------

// Eight categories, each trained on its own 64 x 64 block and updated, every band in use.
void MakeClassifyScene() {
  MakeBenchScene();
  for (int c = 1; c <= 8; ++c) {
    for (int x = (c - 1) * 128; x < (c - 1) * 128 + 64; ++x) {
      for (int y = 100 * c; y < 100 * c + 64; ++y) g_aPixel[x][y].abTrainMark[c - 1] = 1;
    }
    g_nCategory = c;
    OnTrainingUpdate();
  }
}

void BM_TrainingUpdate(benchmark::State& state) {
  MakeClassifyScene();
  g_nCategory = 5;
  for (auto _ : state) {
    OnTrainingUpdate();
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_TrainingUpdate)->Unit(benchmark::kMillisecond);

// Two targets in turn, so the membership of the pixels where they differ really changes.
void BM_ComputeCategoryImage(benchmark::State& state) {
  MakeClassifyScene();
  int nTurn = 0;
  for (auto _ : state) {
    g_nCategory = 3 + (nTurn++ & 1);
    ComputeCategoryImage();
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_ComputeCategoryImage)->Unit(benchmark::kMillisecond);

// The category and classification pictures alone, from a computed image and classes.
void BM_CategoryRender(benchmark::State& state) {
  MakeClassifyScene();
  g_nCategory = 3;
  ComputeCategoryImage();
  for (auto _ : state) {
    RenderCategoryPicture(false);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_CategoryRender)->Unit(benchmark::kMillisecond);

void BM_ClassifyRender(benchmark::State& state) {
  MakeClassifyScene();
  g_bAlwaysRedraw = 0;
  OnClassifyGenerate();
  g_bAlwaysRedraw = 1;
  g_abClassColourOn[4] = 0;  // one class shows the composite, as the coarse benchmark does
  for (auto _ : state) {
    RenderClassification(false);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_ClassifyRender)->Unit(benchmark::kMillisecond);

// The assignment alone, the centres known from a generation's category images.
template <void (*pfnAssign)(const int[9][9])>
void BM_Assign(benchmark::State& state) {
  MakeClassifyScene();
  g_bAlwaysRedraw = 0;
  OnClassifyGenerate();
  g_bAlwaysRedraw = 1;
  int aanCentre[9][9] = {};
  ComputeClassCentres(aanCentre);
  for (auto _ : state) {
    pfnAssign(aanCentre);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_Assign<ClassifyAssign>)->Name("BM_ClassifyAssign")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Assign<ClassifyAssignPlain>)
    ->Name("BM_ClassifyAssignPlain")
    ->Unit(benchmark::kMillisecond);

// The assignment by a model built from a generation's signature: minimum distance or maximum
// likelihood (eight categories over eight bands), without and with a reject threshold.
template <int nMethod, int nReject>
void BM_ModelAssign(benchmark::State& state) {
  MakeClassifyScene();
  g_nClassifyMethod = nMethod;
  g_nRejectDistance = nMethod == kMethodMinimumDistance ? nReject : 0;
  g_nRejectProbability = nMethod == kMethodMaximumLikelihood ? nReject : 0;
  g_bAlwaysRedraw = 0;
  OnClassifyGenerate();
  g_bAlwaysRedraw = 1;
  CClassModel model;
  ModelRefusal refusal;
  const std::size_t anBandByte[kMaxBands] = {0, 1, 2, 3, 4, 5, 6, 7};
  if (!g_bClassified || !model.Build(GeneratedSignature(), anBandByte, refusal)) {
    state.SkipWithError("the model was refused");
    return;
  }
  for (auto _ : state) {
    ClassifyAssign(model);
    benchmark::ClobberMemory();
  }
  state.counters["unclassified"] = g_nUnclassifiedCount;
  ResetClassifyMethod();
}
BENCHMARK(BM_ModelAssign<kMethodMinimumDistance, 0>)
    ->Name("BM_ModelAssignMinimumDistance")
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ModelAssign<kMethodMinimumDistance, 60>)
    ->Name("BM_ModelAssignMinimumDistanceReject")
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ModelAssign<kMethodMaximumLikelihood, 0>)
    ->Name("BM_ModelAssignMaxLikelihood")
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ModelAssign<kMethodMaximumLikelihood, 3>)
    ->Name("BM_ModelAssignMaxLikelihoodReject")
    ->Unit(benchmark::kMillisecond);

// The distance picture of a maximum-likelihood classification with a threshold (its largest
// distance found, every pixel drawn), against BM_ClassifyRender's picture of the classes.
void BM_DistanceRender(benchmark::State& state) {
  MakeClassifyScene();
  g_nClassifyMethod = kMethodMaximumLikelihood;
  g_nRejectProbability = 3;
  g_bAlwaysRedraw = 0;
  OnClassifyGenerate();
  g_bAlwaysRedraw = 1;
  for (auto _ : state) {
    OnDistanceHistogram();
    RenderDistancePicture();
    benchmark::ClobberMemory();
  }
  ResetClassifyMethod();
}
BENCHMARK(BM_DistanceRender)->Unit(benchmark::kMillisecond);

// The whole generation: eight category images, centres, assignment, counts; no rendering.
void BM_ClassifyGenerate(benchmark::State& state) {
  MakeClassifyScene();
  g_bAlwaysRedraw = 0;
  for (auto _ : state) {
    OnClassifyGenerate();
    benchmark::ClobberMemory();
  }
  g_bAlwaysRedraw = 1;
}
BENCHMARK(BM_ClassifyGenerate)->Unit(benchmark::kMillisecond);

}  // namespace

// The yardstick measured once before the run (the median of 15 passes), so that figures from
// different machines can be compared: it heads the output with the number of threads.
double MemoryBoundMilliseconds() {
  MakeBenchScene();
  std::vector<double> ad;
  for (int i = 0; i < 15; ++i) {
    const auto start = std::chrono::steady_clock::now();
    MemoryBoundPass();
    ad.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
  }
  std::nth_element(ad.begin(), ad.begin() + 7, ad.end());
  return ad[7];
}

// The program's registrations first, as the program starts.
int main(int argc, char** argv) {
  RegisterFeatures();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  char szBound[32];
  std::snprintf(szBound, sizeof szBound, "%.3f ms", MemoryBoundMilliseconds());
  benchmark::AddCustomContext("memory bound (BM_MemoryBound's pass, median of 15)", szBound);
  benchmark::AddCustomContext("threads (hardware)", std::to_string(std::thread::hardware_concurrency()));
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
