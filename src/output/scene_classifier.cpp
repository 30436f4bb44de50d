#include "output/scene_classifier.h"

#include <cpl_conv.h>
#include <cpl_error.h>
#include <gdal.h>
#include <ogr_srs_api.h>
#include <unistd.h>

#include <algorithm>
#include <condition_variable>
#include <limits>
#include <cstring>
#include <memory>
#include <mutex>
#include <span>
#include <thread>

#include "classification/class_model.h"
#include "core/band_rule.h"
#include "core/file_io.h"
#include "core/text_format.h"
#include "output/gdal_support.h"
#include "output/geotiff_writer.h"
#include "output/messages.h"

namespace {

// A run of rows is as many as make about this many bytes of raw values (at least one block
// row of the file where that fits): large enough for GDAL to read whole blocks, small enough
// that two runs in flight stay a few megabytes.
constexpr std::size_t kRunBytes = 4u << 20;
// The classes file's tiles: rows are gathered until a whole row of tiles can be written, so
// no tile is compressed twice.
constexpr int kTileSize = 256;

// A band in use, as it is read and ruled.
struct UsedBand {
  int nBand = 0;  // 0-based, in the scene
  GDALRasterBandH hBand = nullptr;
  int nFile = 0;
  GDALDataType eRead = GDT_Float64;  // Byte, UInt16 and Int16 as they are, the rest as doubles
  BandRule rule;
  // For 8- and 16-bit values, the rule worked out once per value (Int16 shifted by 32768):
  // the value it gives and whether it is nodata.
  std::vector<std::uint8_t> abValue, abNoData;
};

struct Source {
  std::vector<Dataset> aFiles;
  std::vector<std::string> astrPaths;
  GDALRasterBandH ahBand[kMaxBands] = {};
  int anFile[kMaxBands] = {};
  int nBands = 0, nColumns = 0, nLines = 0;
};

bool OpenSource(const std::vector<std::string>& astrPaths, Source& src, std::string& strMessage) {
  if (astrPaths.empty()) {
    strMessage = kszMsgSceneNoFile;
    return false;
  }
  if (astrPaths.size() > kMaxBands) {
    strMessage = FormatText(kszMsgSceneTooManyFiles, static_cast<int>(astrPaths.size()));
    return false;
  }
  // Compressed blocks are decoded on two threads (GeoTIFF and the drivers that take the
  // option): in a tiled, compressed file decoding is most of the work, and the classifying
  // thread would otherwise wait for it.
  static const char* const kaszOpen[] = {"NUM_THREADS=2", nullptr};
  for (const std::string& strPath : astrPaths) {
    // A FIFO would keep GDAL's open waiting for a writer.
    if (const char* szKind = SpecialFileKind(strPath)) {
      strMessage = FormatText(kszMsgSceneNotRegular, strPath.c_str(), szKind);
      return false;
    }
    CGdalErrors errors;
    Dataset file(GDALOpenEx(strPath.c_str(),
                            GDAL_OF_RASTER | GDAL_OF_READONLY | GDAL_OF_VERBOSE_ERROR, nullptr,
                            kaszOpen, nullptr));
    if (!file || GDALGetRasterCount(file.get()) < 1) {
      strMessage = FormatText(kszMsgSceneCannotOpen, strPath.c_str(),
                              errors.Text("not a raster file GDAL reads").c_str());
      return false;
    }
    if (astrPaths.size() > 1 && GDALGetRasterCount(file.get()) > 1) {
      strMessage =
          FormatText(kszMsgSceneSeveralBands, strPath.c_str(), GDALGetRasterCount(file.get()));
      return false;
    }
    src.aFiles.push_back(std::move(file));
    src.astrPaths.push_back(strPath);
  }
  // One file: its bands (the first eight, as the import takes them); several: band 1 of each.
  if (src.aFiles.size() == 1) {
    src.nBands = std::min(GDALGetRasterCount(src.aFiles[0].get()), kMaxBands);
    for (int b = 0; b < src.nBands; ++b)
      src.ahBand[b] = GDALGetRasterBand(src.aFiles[0].get(), b + 1);
  } else {
    src.nBands = static_cast<int>(src.aFiles.size());
    for (int b = 0; b < src.nBands; ++b) {
      src.ahBand[b] = GDALGetRasterBand(src.aFiles[static_cast<std::size_t>(b)].get(), 1);
      src.anFile[b] = b;
    }
  }
  src.nColumns = GDALGetRasterBandXSize(src.ahBand[0]);
  src.nLines = GDALGetRasterBandYSize(src.ahBand[0]);
  for (int b = 1; b < src.nBands; ++b) {
    const int nColumns = GDALGetRasterBandXSize(src.ahBand[b]);
    const int nLines = GDALGetRasterBandYSize(src.ahBand[b]);
    if (nColumns != src.nColumns || nLines != src.nLines) {
      strMessage = FormatText(kszMsgSceneSizeDiffers,
                              src.astrPaths[static_cast<std::size_t>(src.anFile[b])].c_str(),
                              nColumns, nLines, src.astrPaths[0].c_str(), src.nColumns, src.nLines);
      return false;
    }
  }
  return true;
}

// The model's categories valid, and the bands it uses checked against the scene: each present,
// the count the model was trained on, and values its rule can take.
bool TakeUsedBands(const Source& src, const Signature& sig, std::vector<UsedBand>& aUsed,
                   std::string& strMessage) {
  // The window's generation takes only models whose categories are all valid.
  for (const CategorySignature& cat : sig.aCategories) {
    if (!cat.bValid) {
      strMessage = FormatText(kszMsgSceneInvalidCategory, cat.nCategory);
      return false;
    }
  }
  // Nor one whose covariance maximum likelihood cannot invert (the layout does not matter here).
  CClassModel probe;
  ModelRefusal refusal;
  const std::size_t anAnyLayout[kMaxBands] = {};
  if (!probe.Build(sig, anAnyLayout, refusal)) {
    strMessage = refusal.eReason == ModelRefusal::Reason::FewPixels
                     ? FormatText(kszMsgSceneFewPixels, refusal.nCategory, refusal.nPixels,
                                  refusal.nNeeded)
                     : FormatText(kszMsgSceneSingular, refusal.nCategory);
    return false;
  }
  const std::string& strScene = src.astrPaths[0];
  for (int b : sig.UsedBands()) {
    if (b >= src.nBands) {
      strMessage = FormatText(kszMsgSceneBandMissing, b + 1, strScene.c_str(), src.nBands);
      return false;
    }
  }
  if (src.nBands != sig.nBands) {
    strMessage = FormatText(kszMsgSceneBandCount, strScene.c_str(), src.nBands, sig.nBands);
    return false;
  }
  for (int b : sig.UsedBands()) {
    UsedBand used;
    used.nBand = b;
    used.hBand = src.ahBand[b];
    used.nFile = src.anFile[b];
    used.rule = sig.aRule[b];
    const GDALDataType eType = GDALGetRasterDataType(used.hBand);
    if ((!used.rule.bScaled && eType != GDT_Byte) || GDALDataTypeIsComplex(eType)) {
      strMessage = FormatText(kszMsgSceneBandType, b + 1,
                              src.astrPaths[static_cast<std::size_t>(used.nFile)].c_str(),
                              GDALGetDataTypeName(eType));
      return false;
    }
    used.eRead =
        eType == GDT_Byte || eType == GDT_UInt16 || eType == GDT_Int16 ? eType : GDT_Float64;
    if (used.eRead != GDT_Float64) {
      const int nValues = eType == GDT_Byte ? 256 : 65536;
      const int nFirst = eType == GDT_Int16 ? -32768 : 0;
      used.abValue.resize(static_cast<std::size_t>(nValues));
      used.abNoData.resize(static_cast<std::size_t>(nValues));
      for (int i = 0; i < nValues; ++i) {
        used.abValue[static_cast<std::size_t>(i)] = ApplyBandRule(nFirst + i, used.rule);
        used.abNoData[static_cast<std::size_t>(i)] = IsNoDataValue(nFirst + i, used.rule) ? 1 : 0;
      }
    }
    aUsed.push_back(std::move(used));
  }
  return true;
}

// One pixel's ground area in hectares: from the geotransform, in a projected coordinate system
// whose unit is known; 0 otherwise (degrees are no area).
double PixelHectares(const double t[6], const char* szWkt) {
  if (!szWkt || !*szWkt) return 0.0;
  OGRSpatialReferenceH hSrs = OSRNewSpatialReference(szWkt);
  if (!hSrs) return 0.0;
  double dHectares = 0.0;
  if (OSRIsProjected(hSrs)) {
    const double dMetres = OSRGetLinearUnits(hSrs, nullptr);
    dHectares = std::abs(t[1] * t[5] - t[2] * t[4]) * dMetres * dMetres / 10000.0;
  }
  OSRDestroySpatialReference(hSrs);
  return dHectares;
}

// A run of rows on its way from the reader to the classifier.
struct Run {
  int nFirst = 0, nRows = 0;           // lines of the classes file
  std::vector<std::uint8_t> abBands;   // the bands in use, ruled: one plane each of nPlane bytes
  std::vector<std::uint8_t> abNoData;  // 1 where a band in use holds its nodata value
  bool bAnyNoData = false;
  bool bFull = false;  // read, waiting to be classified (guarded by the pipe's mutex)
};

struct Pipe {
  std::mutex mutex;
  std::condition_variable changed;
  Run aRun[2];
  bool bReaderDone = false;
  bool bStop = false;  // the classifying side has given up
  std::string strReadError;
};

// Reads the window's rows run by run, through the rules, into the pipe's two runs in turn.
class CSceneReader {
 public:
  CSceneReader(const Source& src, std::vector<UsedBand>& aUsed, int nX, int nY, int nWidth,
               int nHeight)
      : m_src(src), m_aUsed(aUsed), m_nX(nX), m_nY(nY), m_nWidth(nWidth), m_nHeight(nHeight) {
    int nBlockColumns = 0;
    GDALGetBlockSize(aUsed[0].hBand, &nBlockColumns, &m_nBlockRows);
    m_nBlockRows = std::max(m_nBlockRows, 1);
    std::size_t nRowBytes = 0;
    for (const UsedBand& used : aUsed) {
      nRowBytes += static_cast<std::size_t>(nWidth) *
                   static_cast<std::size_t>(GDALGetDataTypeSizeBytes(used.eRead));
    }
    m_nRunRows = static_cast<int>(
        std::clamp<std::size_t>(kRunBytes / nRowBytes, 1, static_cast<std::size_t>(nHeight)));
    if (m_nRunRows >= m_nBlockRows)
      m_nRunRows = std::max(m_nRunRows / m_nBlockRows, 1) * m_nBlockRows;
    // A run may start inside a block and end at the next boundary: never more rows than this.
    m_nRunRows = std::min(m_nRunRows, nHeight);
    // Bands of one file read as one type come in one call, whole pixels at a time.
    m_bTogether = aUsed.size() > 1 && src.aFiles.size() == 1 &&
                  std::all_of(aUsed.begin(), aUsed.end(),
                              [&](const UsedBand& used) { return used.eRead == aUsed[0].eRead; });
    m_abRaw.resize(static_cast<std::size_t>(m_nRunRows) * nRowBytes);
  }

  std::size_t PlaneBytes() const {
    return static_cast<std::size_t>(m_nRunRows) * static_cast<std::size_t>(m_nWidth);
  }

  void ReadAll(Pipe& pipe, const std::atomic<bool>& bCancel) {
    // Mapped files would count every page read as resident memory; the block cache,
    // emptied after each run, keeps it bounded.
    CPLSetThreadLocalConfigOption("GTIFF_VIRTUAL_MEM_IO", "NO");
    CGdalErrors errors;
    int nSlot = 0;
    for (int y = 0; y < m_nHeight;) {
      Run& run = pipe.aRun[nSlot];
      {
        std::unique_lock lock(pipe.mutex);
        pipe.changed.wait(lock, [&] { return !run.bFull || pipe.bStop; });
        if (pipe.bStop) break;
      }
      if (bCancel) break;
      run.nFirst = y;
      run.nRows = RunEnd(m_nY + y) - (m_nY + y);
      std::string strError;
      const bool bRead = ReadRun(run, errors, strError);
      std::lock_guard lock(pipe.mutex);
      if (!bRead) {
        pipe.strReadError = strError;
        break;
      }
      run.bFull = true;
      pipe.changed.notify_all();
      y += run.nRows;
      nSlot ^= 1;
    }
    {
      std::lock_guard lock(pipe.mutex);
      pipe.bReaderDone = true;
    }
    pipe.changed.notify_all();
    CPLSetThreadLocalConfigOption("GTIFF_VIRTUAL_MEM_IO", nullptr);
  }

 private:
  // Where the run starting at scene line nLine ends: on a block boundary (whole blocks when a
  // run is at least a block high, else never across one), the window's end at the latest.
  int RunEnd(int nLine) const {
    int nEnd = nLine + m_nRunRows;
    if (m_nRunRows >= m_nBlockRows) {
      nEnd = nEnd / m_nBlockRows * m_nBlockRows;
    } else {
      nEnd = std::min(nEnd, (nLine / m_nBlockRows + 1) * m_nBlockRows);
    }
    return std::min(nEnd, m_nY + m_nHeight);
  }

  bool ReadRun(Run& run, const CGdalErrors& errors, std::string& strError) {
    const int nLine = m_nY + run.nFirst;
    const std::size_t nPixels =
        static_cast<std::size_t>(run.nRows) * static_cast<std::size_t>(m_nWidth);
    const std::size_t nPlane = PlaneBytes();
    run.abBands.resize(m_aUsed.size() * nPlane);
    const bool bAnyRuleNoData = std::any_of(
        m_aUsed.begin(), m_aUsed.end(), [](const UsedBand& used) { return used.rule.bHasNoData; });
    run.bAnyNoData = false;
    if (bAnyRuleNoData) {
      run.abNoData.resize(nPlane);
      std::memset(run.abNoData.data(), 0, nPixels);
    }
    std::size_t nOffset = 0;
    for (std::size_t i = 0; i < m_aUsed.size(); ++i) {
      const UsedBand& used = m_aUsed[i];
      const std::size_t nBytes =
          nPixels * static_cast<std::size_t>(GDALGetDataTypeSizeBytes(used.eRead));
      CPLErr eErr = CE_None;
      if (!m_bTogether) {
        eErr = GDALRasterIO(used.hBand, GF_Read, m_nX, nLine, m_nWidth, run.nRows, m_abRaw.data(),
                            m_nWidth, run.nRows, used.eRead, 0, 0);
      } else if (i == 0) {
        std::vector<int> anBandMap;
        for (const UsedBand& u : m_aUsed) anBandMap.push_back(u.nBand + 1);
        eErr = GDALDatasetRasterIO(m_src.aFiles[0].get(), GF_Read, m_nX, nLine, m_nWidth, run.nRows,
                                   m_abRaw.data(), m_nWidth, run.nRows, used.eRead,
                                   static_cast<int>(anBandMap.size()), anBandMap.data(), 0, 0, 0);
      }
      if (eErr != CE_None) {
        strError = FormatText(kszMsgSceneCannotRead,
                              m_src.astrPaths[static_cast<std::size_t>(used.nFile)].c_str(),
                              errors.Text("the read failed").c_str());
        return false;
      }
      const std::uint8_t* pRaw = m_abRaw.data() + (m_bTogether ? nOffset : 0);
      nOffset += nBytes;
      std::uint8_t* pOut = run.abBands.data() + i * nPlane;
      ApplyRule(used, pRaw, nPixels, pOut, run);
    }
    // The blocks of a run are not needed again once it ends on a block boundary.
    if ((nLine + run.nRows) % m_nBlockRows == 0 || run.nFirst + run.nRows == m_nHeight) {
      for (const Dataset& file : m_src.aFiles) GDALFlushCache(file.get());
    }
    return true;
  }

  static void ApplyRule(const UsedBand& used, const std::uint8_t* pRaw, std::size_t nPixels,
                        std::uint8_t* pOut, Run& run) {
    std::uint8_t* pNoData = used.rule.bHasNoData ? run.abNoData.data() : nullptr;
    switch (used.eRead) {
      case GDT_Byte:
        ByTable(pRaw, nPixels, used, 0, pOut, pNoData);
        break;
      case GDT_UInt16:
        ByTable(reinterpret_cast<const std::uint16_t*>(pRaw), nPixels, used, 0, pOut, pNoData);
        break;
      case GDT_Int16:
        ByTable(reinterpret_cast<const std::int16_t*>(pRaw), nPixels, used, 32768, pOut, pNoData);
        break;
      default: {
        const double* pValue = reinterpret_cast<const double*>(pRaw);
        for (std::size_t n = 0; n < nPixels; ++n) {
          pOut[n] = ApplyBandRule(pValue[n], used.rule);
          if (pNoData && IsNoDataValue(pValue[n], used.rule)) pNoData[n] = 1;
        }
      }
    }
    if (pNoData) {
      run.bAnyNoData = run.bAnyNoData || std::any_of(pNoData, pNoData + nPixels,
                                                     [](std::uint8_t b) { return b != 0; });
    }
  }

  template <typename T>
  static void ByTable(const T* pRaw, std::size_t nPixels, const UsedBand& used, int nShift,
                      std::uint8_t* pOut, std::uint8_t* pNoData) {
    const std::uint8_t* pValue = used.abValue.data();
    for (std::size_t n = 0; n < nPixels; ++n) pOut[n] = pValue[pRaw[n] + nShift];
    if (!pNoData) return;
    const std::uint8_t* pIsNoData = used.abNoData.data();
    for (std::size_t n = 0; n < nPixels; ++n) pNoData[n] |= pIsNoData[pRaw[n] + nShift];
  }

  const Source& m_src;
  const std::vector<UsedBand>& m_aUsed;
  int m_nX, m_nY, m_nWidth, m_nHeight;
  int m_nBlockRows = 1, m_nRunRows = 1;
  bool m_bTogether = false;
  std::vector<std::uint8_t> m_abRaw;
};

// The classes file while it is written: rows gathered into a row of tiles, then written.
class CClassesWriter {
 public:
  CClassesWriter(GDALDatasetH h, int nWidth)
      : m_hBand(GDALGetRasterBand(h, 1)),
        m_nWidth(nWidth),
        m_abTiles(static_cast<std::size_t>(kTileSize) * static_cast<std::size_t>(nWidth)) {}

  // The next row to fill (after writing the full row of tiles before it).
  std::uint8_t* NextRow(bool& bWritten) {
    bWritten = m_nRows < kTileSize || Write();
    return m_abTiles.data() +
           static_cast<std::size_t>(m_nRows++) * static_cast<std::size_t>(m_nWidth);
  }
  // Writes the rows gathered; false when GDAL could not.
  bool Write() {
    if (m_nRows == 0) return true;
    const bool bOk = GDALRasterIO(m_hBand, GF_Write, 0, m_nFirst, m_nWidth, m_nRows,
                                  m_abTiles.data(), m_nWidth, m_nRows, GDT_Byte, 0, 0) == CE_None &&
                     GDALFlushRasterCache(m_hBand) == CE_None;
    m_nFirst += m_nRows;
    m_nRows = 0;
    return bOk;
  }

 private:
  GDALRasterBandH m_hBand;
  int m_nWidth;
  int m_nFirst = 0, m_nRows = 0;
  std::vector<std::uint8_t> m_abTiles;
};

// The model over the bands in use only, as the reader lays them out: band i of the used ones in
// plane i. TakeUsedBands has already tried it.
void BuildUsedBandsModel(const Signature& sig, std::size_t nPlane, CClassModel& model) {
  const std::vector<int> anUsed = sig.UsedBands();
  std::size_t anBandByte[kMaxBands] = {};
  for (std::size_t i = 0; i < anUsed.size(); ++i) anBandByte[anUsed[i]] = i * nPlane;
  ModelRefusal refusal;
  model.Build(sig, anBandByte, refusal);
}

// The test areas' reference pixels, run by run, counted against the classes.
class CRunReference {
 public:
  // adTransform places the first row of the classes file.
  CRunReference(const CReferenceAreas& areas, const double adTransform[6], SceneClassifyResult& result)
      : m_areas(areas), m_result(result) {
    std::copy(adTransform, adTransform + 6, m_adTransform);
  }
  // Burns the run of nRows rows from row nFirst; false with the reason.
  bool Burn(int nFirst, int nRows, int nWidth, std::string& strReason) {
    double t[6];
    std::copy(m_adTransform, m_adTransform + 6, t);
    t[0] += nFirst * t[2];
    t[3] += nFirst * t[5];
    m_abReference.resize(static_cast<std::size_t>(nRows) * static_cast<std::size_t>(nWidth));
    m_nWidth = nWidth;
    return m_areas.Burn(t, nWidth, nRows, m_abReference.data(), strReason);
  }
  // Counts row i of the run, whose classes are 1..8 and 0 for nodata.
  // Row i's pixels as the model assigned them (classes 0..7, kUnclassified beyond the
  // threshold), pNoData (or null) marking those left out for nodata.
  void Count(int i, const std::uint8_t* pAssigned, const std::uint8_t* pNoData) {
    const std::uint8_t* pReference =
        m_abReference.data() + static_cast<std::size_t>(i) * static_cast<std::size_t>(m_nWidth);
    for (int x = 0; x < m_nWidth; ++x) {
      if (pReference[x] == 0 || (pNoData && pNoData[x])) continue;
      if (pReference[x] == kAmbiguousReference) {
        ++m_result.nAmbiguousPixels;
      } else {
        m_result.accuracy.Add(pAssigned[x] == kUnclassified ? kUnclassifiedRow : pAssigned[x] + 1,
                              pReference[x]);
      }
    }
  }

 private:
  const CReferenceAreas& m_areas;
  SceneClassifyResult& m_result;
  double m_adTransform[6];
  int m_nWidth = 0;
  std::vector<std::uint8_t> m_abReference;
};

// Takes the reader's runs in turn, assigns their pixels and hands the rows to the writer,
// counting the classes (anPixels[0] nodata, nUnclassified those beyond the threshold) and,
// with pReference, the test pixels; false when a write (or the test areas' burning, strError
// set) failed.
bool ClassifyRuns(Pipe& pipe, const CClassModel& model, CClassesWriter& writer, int nWidth,
                  int nHeight, const SceneProgress& fnProgress, const std::atomic<bool>& bCancel,
                  std::uint64_t anPixels[9], std::uint64_t& nUnclassified,
                  CRunReference* pReference, std::string& strError) {
  bool bWritten = true;
  int nSlot = 0;
  while (bWritten && !bCancel) {
    Run& run = pipe.aRun[nSlot];
    {
      std::unique_lock lock(pipe.mutex);
      pipe.changed.wait(lock, [&] { return run.bFull || pipe.bReaderDone; });
      if (!run.bFull) break;
    }
    if (pReference && !pReference->Burn(run.nFirst, run.nRows, nWidth, strError)) return false;
    for (int i = 0; i < run.nRows && bWritten; ++i) {
      std::uint8_t* pRow = writer.NextRow(bWritten);
      const std::size_t nOffset = static_cast<std::size_t>(i) * static_cast<std::size_t>(nWidth);
      std::uint32_t anCount[9] = {};
      model.Assign({run.abBands.data() + nOffset, 1, nWidth, pRow, 1, anCount});
      // Classes 0..7 are categories 1..8; nodata and unclassified pixels take 0 instead.
      const std::uint8_t* pNoData = run.bAnyNoData ? run.abNoData.data() + nOffset : nullptr;
      if (pReference) pReference->Count(i, pRow, pNoData);
      for (int x = 0; x < nWidth; ++x) {
        if (pNoData && pNoData[x]) {
          --anCount[pRow[x]];
          ++anPixels[0];
          pRow[x] = 0;
        } else {
          pRow[x] = pRow[x] == kUnclassified ? 0 : static_cast<std::uint8_t>(pRow[x] + 1);
        }
      }
      for (int k = 0; k < 8; ++k) anPixels[k + 1] += anCount[k];
      nUnclassified += anCount[kUnclassified];
    }
    const int nDone = run.nFirst + run.nRows;
    {
      std::lock_guard lock(pipe.mutex);
      run.bFull = false;
    }
    pipe.changed.notify_all();
    if (fnProgress) fnProgress(nDone, nHeight);
    nSlot ^= 1;
  }
  return bWritten;
}

// The class counts and, where the pixel's ground area is known, their hectares.
void WriteClassCounts(GDALDatasetH h, const Signature& sig, const SceneClassifyResult& result) {
  for (const CategorySignature& cat : sig.aCategories) {
    const int c = cat.nCategory;
    GDALSetMetadataItem(h, FormatText("CATEGORY_%d_PIXELS", c).c_str(),
                        std::to_string(result.anPixels[c]).c_str(), nullptr);
    if (result.dPixelHectares > 0.0) {
      const double dHectares = static_cast<double>(result.anPixels[c]) * result.dPixelHectares;
      GDALSetMetadataItem(h, FormatText("CATEGORY_%d_HECTARES", c).c_str(),
                          FormatText("%.4f", dHectares).c_str(), nullptr);
    }
  }
  GDALSetMetadataItem(h, "NODATA_PIXELS", std::to_string(result.anPixels[0]).c_str(), nullptr);
  // Only a model with a threshold leaves pixels unclassified; a file without one stays as it was.
  if (RejectSquaredDistance(sig) < std::numeric_limits<double>::infinity()) {
    GDALSetMetadataItem(h, "UNCLASSIFIED_PIXELS", std::to_string(result.nUnclassified).c_str(),
                        nullptr);
  }
}

// The result of a run that stopped before the end, with the reason.
SceneClassifyResult Stopped(SceneClassifyOutcome eOutcome, std::string strMessage) {
  SceneClassifyResult result;
  result.eOutcome = eOutcome;
  result.strMessage = std::move(strMessage);
  return result;
}

// Puts the side-car GDAL wrote beside the temporary file (the category names) beside the
// target; true when there is none.
bool PlaceSideCar(const std::string& strTemp, const std::string& strTarget,
                  std::string& strReason) {
  const std::string strFrom = strTemp + ".aux.xml";
  if (::access(strFrom.c_str(), F_OK) != 0) return true;
  ByteBuffer ab;
  const bool bOk =
      ReadWholeFile(strFrom, 1u << 24, "side-car", ab, strReason) &&
      WriteFileAtomically(strTarget + ".aux.xml",
                          std::span<const std::uint8_t>(ab.data(), ab.size()), strReason);
  ::unlink(strFrom.c_str());
  return bOk;
}

}  // namespace

SceneClassifyResult ClassifyScene(const SceneClassifyRequest& request,
                                  const SceneProgress& fnProgress,
                                  const std::atomic<bool>& bCancel) {
  GDALAllRegister();
  Source src;
  std::vector<UsedBand> aUsed;
  std::string strMessage;
  if (!OpenSource(request.astrRasterPaths, src, strMessage) ||
      !TakeUsedBands(src, request.signature, aUsed, strMessage)) {
    return Stopped(SceneClassifyOutcome::InputRefused, strMessage);
  }
  int nX = 0, nY = 0, nWidth = src.nColumns, nHeight = src.nLines;
  GDALDatasetH hFirst = src.aFiles[0].get();
  double adTransform[6] = {0.0, 1.0, 0.0, 0.0, 0.0, 1.0};
  const bool bGeoreferenced = GDALGetGeoTransform(hFirst, adTransform) == CE_None;
  CReferenceAreas references;
  const bool bReference = !request.testAreas.strPath.empty();
  if (bReference) {
    const std::string& strAreas = request.testAreas.strPath;
    if (!bGeoreferenced) {
      return Stopped(SceneClassifyOutcome::InputRefused,
                     FormatText(kszMsgSceneNotGeoreferenced, src.astrPaths[0].c_str()));
    }
    std::string astrName[9];
    for (const CategorySignature& cat : request.signature.aCategories) {
      astrName[cat.nCategory] = cat.strName;
    }
    if (!references.Open(request.testAreas, GDALGetProjectionRef(hFirst), astrName, strMessage)) {
      return Stopped(SceneClassifyOutcome::InputRefused,
                     FormatText(kszMsgSceneAreasNotRead, strAreas.c_str(), strMessage.c_str()));
    }
  }
  if (request.bWindow) {
    nX = request.nX;
    nY = request.nY;
    nWidth = request.nWidth;
    nHeight = request.nHeight;
    if (nX < 0 || nY < 0 || nWidth < 1 || nHeight < 1 || nWidth > src.nColumns - nX ||
        nHeight > src.nLines - nY) {
      return Stopped(
          SceneClassifyOutcome::InputRefused,
          FormatText(kszMsgSceneWindow, nX, nY, nWidth, nHeight, src.nColumns, src.nLines));
    }
  }

  // The classes file, beside its target until it is complete.
  const std::string& strOut = request.strOutPath;
  auto writeFailed = [&](const std::string& strReason) {
    return Stopped(SceneClassifyOutcome::OutputFailed,
                   FormatText(kszMsgSceneCannotWrite, strOut.c_str(), strReason.c_str()));
  };
  CFileBeside file;
  std::string strReason;
  if (!file.Create(strOut, strReason)) return writeFailed(strReason);
  // GDAL's side-car of the temporary file (the category names) goes with it, once the file is
  // closed (it is declared before the file's dataset, so it is removed after that closes).
  struct SideCarCleanup {
    std::string strPath;
    ~SideCarCleanup() { ::unlink(strPath.c_str()); }
  } sideCar{file.TemporaryPath() + ".aux.xml"};
  CGdalErrors errors;
  const char* aszOptions[] = {"TILED=YES",        "BLOCKXSIZE=256",   "BLOCKYSIZE=256",
                              "COMPRESS=DEFLATE", "BIGTIFF=IF_SAFER", nullptr};
  static_assert(kTileSize == 256);
  Dataset out(GDALCreate(GDALGetDriverByName("GTiff"), file.TemporaryPath().c_str(), nWidth,
                         nHeight, 1, GDT_Byte, const_cast<char**>(aszOptions)));
  if (!out) return writeFailed(errors.Text("GDAL could not create the file"));

  SceneClassifyResult result;
  result.nWidth = nWidth;
  result.nHeight = nHeight;
  if (bGeoreferenced) {
    SetWindowGeoreference(out.get(), adTransform, nX, nY, GDALGetProjectionRef(hFirst));
    result.dPixelHectares = PixelHectares(adTransform, GDALGetProjectionRef(hFirst));
  }
  ClassLegend legend;
  for (const CategorySignature& cat : request.signature.aCategories) {
    legend.abPresent[cat.nCategory] = true;
    legend.acrColour[cat.nCategory] = cat.crColour;
    legend.astrName[cat.nCategory] = cat.strName;
  }
  SetClassLegend(GDALGetRasterBand(out.get(), 1), legend);

  // The reader fills runs on its own thread while this one classifies and writes them.
  CSceneReader reader(src, aUsed, nX, nY, nWidth, nHeight);
  CClassModel model;
  BuildUsedBandsModel(request.signature, reader.PlaneBytes(), model);
  CClassesWriter writer(out.get(), nWidth);
  Pipe pipe;
  // The reference pixels of a run are placed like the run's rows of the classes file.
  double adWindow[6];
  std::copy(adTransform, adTransform + 6, adWindow);
  adWindow[0] += nX * adWindow[1] + nY * adWindow[2];
  adWindow[3] += nX * adWindow[4] + nY * adWindow[5];
  CRunReference reference(references, adWindow, result);
  std::string strBurnError;
  std::thread reading([&] { reader.ReadAll(pipe, bCancel); });
  const bool bWritten = ClassifyRuns(pipe, model, writer, nWidth, nHeight, fnProgress, bCancel,
                                     result.anPixels, result.nUnclassified,
                                     bReference ? &reference : nullptr, strBurnError);
  {
    std::lock_guard lock(pipe.mutex);
    pipe.bStop = true;
  }
  pipe.changed.notify_all();
  reading.join();

  if (bCancel)
    return Stopped(SceneClassifyOutcome::Cancelled,
                   FormatText(kszMsgSceneCancelled, strOut.c_str()));
  if (!pipe.strReadError.empty())
    return Stopped(SceneClassifyOutcome::InputRefused, pipe.strReadError);
  if (!strBurnError.empty())
    return Stopped(SceneClassifyOutcome::InputRefused,
                   FormatText(kszMsgSceneAreasNotRead, request.testAreas.strPath.c_str(),
                              strBurnError.c_str()));
  if (!bWritten || !writer.Write())
    return writeFailed(errors.Text("GDAL could not write the file"));

  if (bReference) result.accuracy.Finish();
  WriteClassCounts(out.get(), request.signature, result);
  out.reset();  // closing writes the rest of the file
  if (errors.Failed()) return writeFailed(errors.Text(""));
  if (!PlaceSideCar(file.TemporaryPath(), file.TargetPath(), strReason) ||
      !file.Commit(strReason)) {
    return writeFailed(strReason);
  }
  return result;
}
