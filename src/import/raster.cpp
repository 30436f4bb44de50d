#include "import/raster.h"

#include <cpl_conv.h>
#include <gdal.h>
#include <ogr_srs_api.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

#include <sys/stat.h>

#include "core/band_rule.h"
#include "core/file_io.h"
#include "core/parallel.h"
#include "core/platform.h"
#include "core/text_format.h"
#include "core/view.h"
#include "import/import.h"
#include "import/messages.h"
#include "import/readers.h"

namespace {

struct DatasetCloser {
  void operator()(void* h) const { GDALClose(h); }
};
using Dataset = std::unique_ptr<void, DatasetCloser>;

// Files stay open between reads: a scroll then re-reads through the mapping and the blocks it
// already has instead of opening, mapping and faulting the file in again. A handle is used only
// while the file on disk is still the one it was opened on; nCopy tells apart the handles of the
// same file for reads on two threads at once.
struct KeptFile {
  std::string strPath;
  int nCopy = 0;
  struct stat identity = {};
  Dataset handle;
};
std::vector<KeptFile> s_aKept;

bool SameFile(const struct stat& a, const struct stat& b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino && a.st_size == b.st_size &&
         a.st_mtim.tv_sec == b.st_mtim.tv_sec && a.st_mtim.tv_nsec == b.st_mtim.tv_nsec;
}

// The handle kept for strPath, opened now if there is none or the file has changed; null if the
// file cannot be opened. Not for two threads with the same nCopy.
GDALDatasetH KeptOpen(const std::string& strPath, int nCopy) {
  static std::mutex s_mutex;
  const std::lock_guard lock(s_mutex);
  struct stat identity = {};
  const bool bStat = ::stat(strPath.c_str(), &identity) == 0;
  // A FIFO would keep GDAL's open waiting for a writer; a file replaced by one is not read.
  if (bStat && !S_ISREG(identity.st_mode)) return nullptr;
  for (auto it = s_aKept.begin(); it != s_aKept.end(); ++it) {
    if (it->strPath != strPath || it->nCopy != nCopy) continue;
    if (bStat && SameFile(it->identity, identity)) return it->handle.get();
    s_aKept.erase(it);
    break;
  }
  Dataset file(GDALOpen(strPath.c_str(), GA_ReadOnly));
  if (!file) return nullptr;
  s_aKept.push_back({strPath, nCopy, identity, std::move(file)});
  return s_aKept.back().handle.get();
}

// Closes what the loaded scene does not read from.
void ForgetOtherFiles() {
  std::erase_if(s_aKept, [](const KeptFile& kept) {
    return std::find(std::begin(g_astrBandPath), std::end(g_astrBandPath), kept.strPath) ==
           std::end(g_astrBandPath);
  });
}

// What GDAL says on this thread while the object lives, kept instead of printed as it comes:
// its own texts, each with the file that was being opened or read, for the detail of a
// refusal or a line about a file taken all the same.
class CGdalMessages {
 public:
  CGdalMessages() { CPLPushErrorHandlerEx(Handler, this); }
  ~CGdalMessages() { Stop(); }
  CGdalMessages(const CGdalMessages&) = delete;
  CGdalMessages& operator=(const CGdalMessages&) = delete;

  // Printing as before from here on, what was kept kept; on the thread that made the object.
  void Stop() {
    if (m_bPushed) CPLPopErrorHandler();
    m_bPushed = false;
  }
  // The file the next messages are about.
  void SetFile(const std::string& strPath) { m_strFile = strPath; }
  // What another thread's collector kept.
  void Take(const CGdalMessages& other) {
    for (const auto& message : other.m_aMessages) Keep(message.first, message.second);
  }
  bool Empty() const { return m_aMessages.empty(); }
  // One line per file, its texts in order: "GDAL, FILE: text; text".
  std::vector<std::string> Lines() const {
    std::vector<std::string> astrLines, astrFiles;
    for (const auto& message : m_aMessages) {
      const auto it = std::find(astrFiles.begin(), astrFiles.end(), message.first);
      if (it == astrFiles.end()) {
        astrFiles.push_back(message.first);
        astrLines.push_back(message.second);
      } else {
        astrLines[static_cast<std::size_t>(it - astrFiles.begin())] += "; " + message.second;
      }
    }
    for (std::size_t i = 0; i < astrLines.size(); ++i) {
      astrLines[i] = FormatText(kszGdalSaid, astrFiles[i].c_str(), astrLines[i].c_str());
    }
    return astrLines;
  }
  std::string Detail() const {
    std::string str;
    for (const std::string& strLine : Lines()) str += (str.empty() ? "" : "\n") + strLine;
    return str;
  }

 private:
  // A damaged file can say the same for every block: each text once per file, and a bound.
  static constexpr std::size_t kMostMessages = 16;
  void Keep(const std::string& strFile, const std::string& strText) {
    if (m_aMessages.size() >= kMostMessages) return;
    for (const auto& message : m_aMessages) {
      if (message.first == strFile && message.second == strText) return;
    }
    m_aMessages.emplace_back(strFile, strText);
  }
  static void CPL_STDCALL Handler(CPLErr eClass, CPLErrorNum, const char* szText) {
    if (eClass != CE_Warning && eClass != CE_Failure && eClass != CE_Fatal) return;
    auto* pThis = static_cast<CGdalMessages*>(CPLGetErrorHandlerUserData());
    pThis->Keep(pThis->m_strFile, szText && *szText ? szText : "(no text)");
  }
  std::string m_strFile;
  std::vector<std::pair<std::string, std::string>> m_aMessages;
  bool m_bPushed = true;
};

// What the scene will be, worked out before anything of the loaded one changes.
struct RasterScene {
  std::vector<GDALDatasetH> aFiles;
  GDALRasterBandH ahBand[kMaxBands] = {};
  int anBandOfFile[kMaxBands] = {};
  std::string astrPath[kMaxBands];
  int nBands = 0;
  int nColumns = 0, nLines = 0;
  BandRule aRule[kMaxBands];
};

void Refuse(const std::string& strText) { ShowMessage(strText, kszCapRaster); }
// The refusal with what GDAL said behind its detail button.
void Refuse(const std::string& strText, const CGdalMessages& gdal) {
  if (gdal.Empty()) {
    Refuse(strText);
  } else {
    ThePlatform().MessageWithDetail(strText, kszCapRaster, gdal.Detail());
  }
}
// What GDAL warned of while reading files that were taken: a line each, no box.
void ShowGdalNotices(const CGdalMessages& gdal) {
  for (const std::string& strLine : gdal.Lines()) ThePlatform().ShowNotice(strLine);
}

// A float band is looked at on a grid of at most this many columns and lines.
constexpr int kFloatSampleSide = 1024;

// The finite values of a float band other than its nodata value: every pixel of a band up to
// kFloatSampleSide square, a grid of that size over a larger one (GDAL's nearest-neighbour
// reduction, or its overviews where the file has them). A larger band whose grid meets no
// such value is read line by line, so a band is called empty only when it is. False when the
// band cannot be read.
bool FiniteValues(GDALRasterBandH hBand, const BandRule& rule, std::vector<double>& ad) {
  const int nColumns = GDALGetRasterBandXSize(hBand), nLines = GDALGetRasterBandYSize(hBand);
  const int nWidth = std::min(nColumns, kFloatSampleSide);
  const int nHeight = std::min(nLines, kFloatSampleSide);
  auto unusable = [&](double d) { return !std::isfinite(d) || IsNoDataValue(d, rule); };
  ad.resize(static_cast<std::size_t>(nWidth) * nHeight);
  if (GDALRasterIO(hBand, GF_Read, 0, 0, nColumns, nLines, ad.data(), nWidth, nHeight,
                   GDT_Float64, 0, 0) != CE_None) {
    return false;
  }
  std::erase_if(ad, unusable);
  if (!ad.empty() || (nWidth == nColumns && nHeight == nLines)) return true;
  // Every nStride-th usable value is kept; when the kept ones reach twice the grid's count,
  // every other one goes and the stride doubles, so the values stay an even sample of the band
  // however many there turn out to be.
  const std::size_t nMostKept = 2 * static_cast<std::size_t>(nWidth) * nHeight;
  std::size_t nStride = 1, nSeen = 0;
  std::vector<double> adLine(static_cast<std::size_t>(nColumns));
  for (int y = 0; y < nLines; ++y) {
    if (GDALRasterIO(hBand, GF_Read, 0, y, nColumns, 1, adLine.data(), nColumns, 1, GDT_Float64,
                     0, 0) != CE_None) {
      return false;
    }
    for (double d : adLine) {
      if (unusable(d) || nSeen++ % nStride != 0) continue;
      ad.push_back(d);
      if (ad.size() < nMostKept) continue;
      for (std::size_t i = 0; 2 * i < ad.size(); ++i) ad[i] = ad[2 * i];
      ad.resize((ad.size() + 1) / 2);
      nStride *= 2;
    }
  }
  return true;
}

// The 0.1 % and 99.9 % points of a float band's finite values, found among the values
// themselves (no histogram, whose buckets could not span -1e308..1e308): the value that
// takes the count past 0.1 % and the one that reaches 99.9 %. Infinities and NaN play no part
// in them; the rule sends them to 255, 0 and 0. False when there is no finite value.
bool FixFloatScaling(std::vector<double>& ad, BandRule& rule) {
  if (ad.empty()) return false;
  const std::size_t n = ad.size();
  const std::size_t iLow = n / 1000;
  const std::size_t iHigh = (999 * n + 999) / 1000 - 1;
  std::nth_element(ad.begin(), ad.begin() + static_cast<std::ptrdiff_t>(iLow), ad.end());
  rule.dLow = ad[iLow];
  std::nth_element(ad.begin() + static_cast<std::ptrdiff_t>(iLow),
                   ad.begin() + static_cast<std::ptrdiff_t>(iHigh), ad.end());
  rule.dHigh = ad[iHigh];
  // One value throughout: it becomes 1. Near the end of the range "+ 1" changes nothing, and
  // at the largest double the range is the step below it (the bounds stay finite, as the work
  // file and the signature file keep them).
  if (!(rule.dHigh > rule.dLow)) {
    constexpr double kInf = std::numeric_limits<double>::infinity();
    rule.dHigh = std::max(rule.dLow + 1.0, std::nextafter(rule.dLow, kInf));
    if (std::isinf(rule.dHigh)) {
      rule.dHigh = rule.dLow;
      rule.dLow = std::nextafter(rule.dLow, 0.0);
    }
  }
  return true;
}

// The values scaled to 1 and 255: the 0.1 % and 99.9 % points of the band. Float bands are
// scanned here (FixFloatScaling); integer bands take GDAL's approximate histogram, from
// overviews or a sample, without the nodata value. False, with the message shown, when a
// float band has no finite value or cannot be read.
bool FixScaling(RasterScene& scene, int b, CGdalMessages& gdal) {
  GDALRasterBandH hBand = scene.ahBand[b];
  BandRule& rule = scene.aRule[b];
  gdal.SetFile(scene.astrPath[b]);
  int bHasNoData = 0;
  rule.dNoData = GDALGetRasterNoDataValue(hBand, &bHasNoData);
  rule.bHasNoData = bHasNoData != 0;
  const GDALDataType eType = GDALGetRasterDataType(hBand);
  if (eType == GDT_Byte) return true;  // taken as they are
  rule.bScaled = true;
  if (GDALDataTypeIsFloating(eType)) {
    static std::vector<double> s_ad;
    if (!FiniteValues(hBand, rule, s_ad)) {
      Refuse(FormatText(kszMsgRasterCannotRead, scene.astrPath[b].c_str()), gdal);
      return false;
    }
    if (!FixFloatScaling(s_ad, rule)) {
      Refuse(FormatText(kszMsgRasterNoFiniteValue, scene.astrPath[b].c_str(),
                        scene.anBandOfFile[b]),
             gdal);
      return false;
    }
    return true;
  }
  double adMinMax[2] = {0.0, 0.0};
  if (GDALComputeRasterMinMax(hBand, TRUE, adMinMax) != CE_None || !(adMinMax[1] > adMinMax[0])) {
    rule.dLow = adMinMax[0];
    rule.dHigh = adMinMax[0] + 1.0;
    return true;
  }
  constexpr int kBuckets = 4096;
  std::vector<GUIntBig> anHist(kBuckets);
  const double dStep = (adMinMax[1] - adMinMax[0]) / kBuckets;
  if (GDALGetRasterHistogramEx(hBand, adMinMax[0], adMinMax[1] + dStep * 1e-6, kBuckets,
                               anHist.data(), FALSE, TRUE, GDALDummyProgress,
                               nullptr) != CE_None) {
    rule.dLow = adMinMax[0];
    rule.dHigh = adMinMax[1];
    return true;
  }
  GUIntBig nTotal = 0;
  for (GUIntBig n : anHist) nTotal += n;
  const double dLowCount = static_cast<double>(nTotal) * 0.001;
  const double dHighCount = static_cast<double>(nTotal) * 0.999;
  GUIntBig nSum = 0;
  int iLow = 0, iHigh = kBuckets - 1;
  bool bLowFound = false;
  for (int i = 0; i < kBuckets; ++i) {
    nSum += anHist[static_cast<std::size_t>(i)];
    if (!bLowFound && static_cast<double>(nSum) > dLowCount) {
      iLow = i;
      bLowFound = true;
    }
    if (static_cast<double>(nSum) >= dHighCount) {
      iHigh = i;
      break;
    }
  }
  rule.dLow = adMinMax[0] + iLow * dStep;
  rule.dHigh = std::max(adMinMax[0] + (iHigh + 1) * dStep, rule.dLow + dStep);
  return true;
}

bool OpenFiles(const RasterValues& values, RasterScene& scene, CGdalMessages& gdal) {
  if (values.astrPaths.empty()) {
    Refuse(kszMsgRasterNoFile);
    return false;
  }
  if (values.astrPaths.size() > kMaxBands) {
    Refuse(FormatText(kszMsgRasterTooMany, static_cast<int>(values.astrPaths.size())));
    return false;
  }
  for (const std::string& strPath : values.astrPaths) {
    if (const char* szKind = SpecialFileKind(strPath)) {
      Refuse(FormatText(kszMsgRasterNotRegular, strPath.c_str(), szKind));
      return false;
    }
    gdal.SetFile(strPath);
    GDALDatasetH hFile = KeptOpen(strPath, 0);
    if (!hFile || GDALGetRasterCount(hFile) < 1) {
      Refuse(FormatText(kszMsgRasterCannotOpen, strPath.c_str()), gdal);
      return false;
    }
    // Bands come from one file with all of them or from single-band files, never from several
    // files' first bands.
    if (values.astrPaths.size() > 1 && GDALGetRasterCount(hFile) > 1) {
      Refuse(FormatText(kszMsgRasterSeveralBands, strPath.c_str(), GDALGetRasterCount(hFile)));
      return false;
    }
    scene.aFiles.push_back(hFile);
  }
  if (scene.aFiles.size() == 1) {
    GDALDatasetH hFile = scene.aFiles[0];
    const int nCount = GDALGetRasterCount(hFile);
    if (nCount > kMaxBands) {
      ShowMessage(FormatText(kszMsgRasterFirstEight, values.astrPaths[0].c_str(), nCount),
                  kszCapRasterBands);
    }
    scene.nBands = std::min(nCount, kMaxBands);
    for (int b = 0; b < scene.nBands; ++b) {
      scene.ahBand[b] = GDALGetRasterBand(hFile, b + 1);
      scene.anBandOfFile[b] = b + 1;
      scene.astrPath[b] = values.astrPaths[0];
    }
  } else {
    scene.nBands = static_cast<int>(scene.aFiles.size());
    for (int b = 0; b < scene.nBands; ++b) {
      scene.ahBand[b] = GDALGetRasterBand(scene.aFiles[static_cast<std::size_t>(b)], 1);
      scene.anBandOfFile[b] = 1;
      scene.astrPath[b] = values.astrPaths[static_cast<std::size_t>(b)];
    }
  }
  // Every band must cover the same scene.
  scene.nColumns = GDALGetRasterBandXSize(scene.ahBand[0]);
  scene.nLines = GDALGetRasterBandYSize(scene.ahBand[0]);
  for (int b = 1; b < scene.nBands; ++b) {
    const int nColumns = GDALGetRasterBandXSize(scene.ahBand[b]);
    const int nLines = GDALGetRasterBandYSize(scene.ahBand[b]);
    if (nColumns != scene.nColumns || nLines != scene.nLines) {
      Refuse(FormatText(kszMsgRasterSizeDiffers, scene.astrPath[b].c_str(), nColumns, nLines,
                        scene.astrPath[0].c_str(), scene.nColumns, scene.nLines));
      return false;
    }
  }
  return true;
}

// Band b of the window into its staging band, through the band's rule.
bool ReadRasterBand(const RasterScene& scene, int b, const SceneWindow& window,
                    CGdalMessages& gdal) {
  gdal.SetFile(scene.astrPath[b]);
  std::uint8_t* pDest = StagedBand(b + 1);
  const BandRule& rule = scene.aRule[b];
  if (!rule.bScaled && !rule.bHasNoData) {
    return GDALRasterIO(scene.ahBand[b], GF_Read, window.nOffsetX, window.nOffsetY,
                        window.nWidth, window.nHeight, pDest, window.nWidth, window.nHeight,
                        GDT_Byte, 0, 0) == CE_None;
  }
  static std::vector<double> s_adLine;
  s_adLine.resize(static_cast<std::size_t>(window.nWidth) * window.nHeight);
  if (GDALRasterIO(scene.ahBand[b], GF_Read, window.nOffsetX, window.nOffsetY, window.nWidth,
                   window.nHeight, s_adLine.data(), window.nWidth, window.nHeight, GDT_Float64, 0,
                   0) != CE_None) {
    return false;
  }
  for (std::size_t i = 0; i < s_adLine.size(); ++i) pDest[i] = ApplyBandRule(s_adLine[i], rule);
  return true;
}

void RegisterDrivers() {
  static const bool s_bRegistered = [] {
    GDALAllRegister();
    // Uncompressed GeoTIFFs are mapped into memory rather than read block by block through
    // GDAL's cache: a window of eight bands then costs about half as much.
    if (!CPLGetConfigOption("GTIFF_VIRTUAL_MEM_IO", nullptr)) {
      CPLSetConfigOption("GTIFF_VIRTUAL_MEM_IO", "YES");
    }
    return true;
  }();
  (void)s_bRegistered;
}

// Whether the last read staged whole pixels rather than bands.
bool s_bStagedAsPixels = false;

// All bands of the window at once when they are the first bands of one file and all plain
// bytes: one pass over the file's blocks instead of one per band.
bool ReadAllBandsAtOnce(const RasterScene& scene, const SceneWindow& window, bool& bRead,
                        CGdalMessages& gdal) {
  if (scene.aFiles.size() != 1 || scene.nBands < 2) return false;
  gdal.SetFile(scene.astrPath[0]);
  int anBandMap[kMaxBands];
  for (int b = 0; b < scene.nBands; ++b) {
    if (scene.aRule[b].bScaled || scene.aRule[b].bHasNoData || scene.anBandOfFile[b] != b + 1 ||
        GDALGetRasterDataType(scene.ahBand[b]) != GDT_Byte) {
      return false;
    }
    anBandMap[b] = b + 1;
  }
  // Whole pixels of eight bytes, as most multi-band files hold them: lines [nFirst, nEnd) of the
  // window through the file handle h.
  auto readLines = [&](GDALDatasetH h, int nFirst, int nEnd) {
    return GDALDatasetRasterIOEx(
               h, GF_Read, window.nOffsetX, window.nOffsetY + nFirst, window.nWidth,
               nEnd - nFirst,
               StagedPixels() + static_cast<std::size_t>(nFirst) * window.nWidth * kMaxBands,
               window.nWidth, nEnd - nFirst, GDT_Byte, scene.nBands, anBandMap, kMaxBands,
               static_cast<GSpacing>(window.nWidth) * kMaxBands, 1, nullptr) == CE_None;
  };
  s_bStagedAsPixels = true;
  const int nHalf = window.nHeight / 2;
  if (static_cast<long>(window.nWidth) * window.nHeight < kParallelPixels) {
    bRead = readLines(scene.aFiles[0], 0, window.nHeight);
    return true;
  }
  // A large window in two halves on both cores, the second through a handle of its own (a GDAL
  // dataset serves one thread at a time).
  bool bLower = false;
  // GDAL's handlers are per thread: the worker keeps its messages in a collector of its own,
  // made and stopped on its thread, and they join the others once it is done.
  std::optional<CGdalMessages> lowerMessages;
  std::thread worker([&] {
    lowerMessages.emplace();
    lowerMessages->SetFile(scene.astrPath[0]);
    GDALDatasetH hSecond = KeptOpen(scene.astrPath[0], 1);
    bLower = hSecond && readLines(hSecond, nHalf, window.nHeight);
    lowerMessages->Stop();
  });
  const bool bUpper = readLines(scene.aFiles[0], 0, nHalf);
  worker.join();
  gdal.Take(*lowerMessages);
  bRead = bUpper && bLower;
  return true;
}

// Every band of the window into the staging area; false with the failing band in nFailed.
bool ReadScene(const RasterScene& scene, const SceneWindow& window, CGdalMessages& gdal,
               int& nFailed) {
  s_bStagedAsPixels = false;
  nFailed = 0;
  bool bRead = false;
  if (ReadAllBandsAtOnce(scene, window, bRead, gdal)) return bRead;
  for (int b = 0; b < scene.nBands; ++b) {
    if (!ReadRasterBand(scene, b, window, gdal)) {
      nFailed = b;
      return false;
    }
  }
  return true;
}

int DisplaySizeCode(int nWidth, int nHeight) {
  if (nWidth == 512 && nHeight == 400) return 0;
  if (nWidth == 800 && nHeight == 600) return 1;
  if (nWidth == 1024 && nHeight == 1024) return 2;
  return -1;
}

}  // namespace

bool ApplyOpenRaster(const RasterValues& values) {
  BusyCursorScope busy(BusyCursor::AppStarting);
  RegisterDrivers();
  CGdalMessages gdal;
  // Whether or not the scene replaces the loaded one, only the loaded one's files stay open.
  struct Forget {
    ~Forget() { ForgetOtherFiles(); }
  } forget;
  RasterScene scene;
  if (!OpenFiles(values, scene, gdal)) return false;
  SceneWindow window{values.nWidth, values.nHeight, values.nOffsetX, values.nOffsetY};
  if (window.nWidth <= 0 || window.nHeight <= 0) {
    window.nWidth = std::min(scene.nColumns, kMaxColumns);
    window.nHeight = std::min(scene.nLines, kMaxLines);
  }
  if (window.nWidth > scene.nColumns || window.nHeight > scene.nLines ||
      window.nWidth > kMaxColumns || window.nHeight > kMaxLines) {
    Refuse(FormatText(kszMsgRasterWindowTooLarge, window.nWidth, window.nHeight, scene.nColumns,
                      scene.nLines));
    return false;
  }
  window.nOffsetX = std::clamp(window.nOffsetX, 0, scene.nColumns - window.nWidth);
  window.nOffsetY = std::clamp(window.nOffsetY, 0, scene.nLines - window.nHeight);

  for (int b = 0; b < scene.nBands; ++b) {
    if (!FixScaling(scene, b, gdal)) return false;
  }
  int nFailed = 0;
  if (!ReadScene(scene, window, gdal, nFailed)) {
    Refuse(FormatText(kszMsgRasterCannotRead, scene.astrPath[nFailed].c_str()), gdal);
    return false;
  }
  ShowGdalNotices(gdal);

  // Everything is read: the scene replaces the loaded one.
  g_nSensor = Sensor::Raster;
  g_nDisplaySize = DisplaySizeCode(window.nWidth, window.nHeight);
  for (int b = 0; b < kMaxBands; ++b) {
    const bool bPresent = b < scene.nBands;
    g_abBandSelected[b] = bPresent ? 1 : 0;
    g_astrBandPath[b] = bPresent ? scene.astrPath[b] : std::string();
    g_anRasterBandOfFile[b] = scene.anBandOfFile[b];
    const BandRule& rule = scene.aRule[b];
    g_abRasterScaled[b] = rule.bScaled ? 1 : 0;
    g_adRasterLow[b] = rule.dLow;
    g_adRasterHigh[b] = rule.dHigh;
    g_abRasterHasNoData[b] = rule.bHasNoData ? 1 : 0;
    g_adRasterNoData[b] = rule.dNoData;
  }
  g_nRasterColumns = scene.nColumns;
  g_nRasterLines = scene.nLines;
  g_nMaxX = window.nWidth - 1;
  g_nMaxY = window.nHeight - 1;
  g_nSceneOffsetX = window.nOffsetX;
  g_nSceneOffsetY = window.nOffsetY;
  g_nLastBand = scene.nBands - 1;
  g_bWindowHasFiles = 1;

  GDALDatasetH hFirst = scene.aFiles[0];
  g_bGeoreferenced = GDALGetGeoTransform(hFirst, g_adGeoTransform) == CE_None ? 1 : 0;
  const char* szWkt = GDALGetProjectionRef(hFirst);
  g_strCoordinateSystem = szWkt ? szWkt : "";
  g_nEpsgCode = 0;
  if (!g_strCoordinateSystem.empty()) {
    OGRSpatialReferenceH hSrs = OSRNewSpatialReference(g_strCoordinateSystem.c_str());
    if (hSrs) {
      OSRAutoIdentifyEPSG(hSrs);
      const char* szName = OSRGetAuthorityName(hSrs, nullptr);
      const char* szCode = OSRGetAuthorityCode(hSrs, nullptr);
      if (szName && szCode && std::strcmp(szName, "EPSG") == 0) g_nEpsgCode = std::atoi(szCode);
      OSRDestroySpatialReference(hSrs);
    }
  }

  CommitRasterWindow(window.nWidth, window.nHeight);
  // The band header pages show each band's file and rule.
  std::memset(g_aszBandHeader, 0, sizeof g_aszBandHeader);
  for (int b = 1; b <= scene.nBands; ++b) {
    const std::string str = RasterRuleText(b);
    std::memcpy(g_aszBandHeader[b - 1], str.data(), std::min<std::size_t>(str.size(), 511));
  }
  FinishSceneImport();
  return true;
}

bool RasterSceneSize(const std::string& strPath, int& nColumns, int& nLines) {
  RegisterDrivers();
  CGdalMessages gdal;  // the import that follows says what is wrong with the file
  struct Forget {
    ~Forget() { ForgetOtherFiles(); }
  } forget;
  GDALDatasetH hFile = KeptOpen(strPath, 0);
  if (!hFile || GDALGetRasterCount(hFile) < 1) return false;
  nColumns = GDALGetRasterXSize(hFile);
  nLines = GDALGetRasterYSize(hFile);
  return true;
}

int RasterFileBandCount() {
  int n = 0;
  while (n < std::clamp(BandCount(), 0, kMaxBands) && !g_astrBandPath[n].empty()) ++n;
  return n;
}

bool ReadRasterWindow(const SceneWindow& window) {
  RegisterDrivers();
  CGdalMessages gdal;
  RasterScene scene;
  scene.nBands = RasterFileBandCount();
  for (int b = 0; b < scene.nBands; ++b) {
    // A multi-band file serves every band through one handle.
    gdal.SetFile(g_astrBandPath[b]);
    GDALDatasetH hFile = KeptOpen(g_astrBandPath[b], 0);
    if (!hFile || GDALGetRasterCount(hFile) < g_anRasterBandOfFile[b] ||
        GDALGetRasterXSize(hFile) != g_nRasterColumns ||
        GDALGetRasterYSize(hFile) != g_nRasterLines) {
      Refuse(FormatText(kszMsgRasterCannotRead, g_astrBandPath[b].c_str()), gdal);
      return false;
    }
    if (std::find(scene.aFiles.begin(), scene.aFiles.end(), hFile) == scene.aFiles.end()) {
      scene.aFiles.push_back(hFile);
    }
    scene.ahBand[b] = GDALGetRasterBand(hFile, g_anRasterBandOfFile[b]);
    scene.astrPath[b] = g_astrBandPath[b];
    scene.aRule[b] = RasterBandRule(b);
  }
  int nFailed = 0;
  if (!ReadScene(scene, window, gdal, nFailed)) {
    Refuse(FormatText(kszMsgRasterCannotRead, scene.astrPath[nFailed].c_str()), gdal);
    return false;
  }
  ShowGdalNotices(gdal);
  return true;
}

void CommitRasterWindow(int nWidth, int nHeight) {
  const unsigned nMask = (1u << RasterFileBandCount()) - 1u;
  if (s_bStagedAsPixels) {
    CommitStagedPixels(nMask, nWidth, nHeight);
  } else {
    CommitStagedBands(nMask, nWidth, nHeight);
  }
}

std::string RasterRuleText(int nBand) {
  const int b = std::clamp(nBand, 1, kMaxBands) - 1;
  std::string str = FormatText("%s, band %d: ", FileName(g_astrBandPath[b]).c_str(),
                               g_anRasterBandOfFile[b]);
  if (g_abRasterScaled[b]) {
    str += FormatText("%g..%g scaled to 1..255, below 0, above 255", g_adRasterLow[b],
                      g_adRasterHigh[b]);
  } else {
    str += "8-bit values as they are";
  }
  if (g_abRasterHasNoData[b]) str += FormatText(", nodata %g as 0", g_adRasterNoData[b]);
  return str;
}
