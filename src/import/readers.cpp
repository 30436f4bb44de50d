#include "import/readers.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "core/text_format.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

std::uint8_t s_abStagedBand[kMaxBands][kMaxColumns * kMaxLines];
std::uint8_t s_aszStagedHeader[kMaxBands][kHeaderBytes];

// Reads exactly nCount bytes at nOffset; false on a short file or a read error.
bool ReadFully(int fd, std::uint8_t* pDest, std::size_t nCount, off_t nOffset) {
  while (nCount > 0) {
    const ssize_t nGot = pread(fd, pDest, nCount, nOffset);
    if (nGot < 0 && errno == EINTR) continue;
    if (nGot <= 0) return false;
    pDest += nGot;
    nCount -= static_cast<std::size_t>(nGot);
    nOffset += nGot;
  }
  return true;
}

// Reads nLines lines of nWidth bytes, the first at nFirst and each next one nStride bytes further
// on, into pDest packed (nWidth bytes per line). The bytes between the lines go to a scratch
// buffer, so a whole batch of lines costs one call instead of one per line.
bool ReadLines(int fd, off_t nFirst, long nStride, int nWidth, int nLines, std::uint8_t* pDest) {
  if (nLines <= 0) return true;
  if (nStride == nWidth) {
    return ReadFully(fd, pDest, static_cast<std::size_t>(nWidth) * nLines, nFirst);
  }
  static std::uint8_t s_abGap[8192];
  const long nGap = nStride - nWidth;
  constexpr int kBatchLines = 512;  // two vectors a line stays within IOV_MAX (1024)
  const bool bBatch = nGap > 0 && nGap <= static_cast<long>(sizeof s_abGap);
  for (int y0 = 0; y0 < nLines; y0 += kBatchLines) {
    const int nBatch = std::min(kBatchLines, nLines - y0);
    const off_t nOffset = nFirst + static_cast<off_t>(y0) * nStride;
    int nDone = 0;  // lines of this batch read completely
    if (bBatch) {
      iovec aVec[2 * kBatchLines];
      int nVecs = 0;
      for (int y = 0; y < nBatch; ++y) {
        aVec[nVecs++] = {pDest + static_cast<std::size_t>(y0 + y) * nWidth,
                         static_cast<std::size_t>(nWidth)};
        if (y + 1 < nBatch) aVec[nVecs++] = {s_abGap, static_cast<std::size_t>(nGap)};
      }
      const ssize_t nWant = static_cast<ssize_t>(nBatch - 1) * nStride + nWidth;
      ssize_t nGot = preadv(fd, aVec, nVecs, nOffset);
      if (nGot == nWant) continue;
      if (nGot < 0) nGot = 0;
      nDone = static_cast<int>((nGot + nGap) / nStride);
    }
    // A short answer (or no batching): line by line, which tells a short file from a slow read.
    for (int y = nDone; y < nBatch; ++y) {
      if (!ReadFully(fd, pDest + static_cast<std::size_t>(y0 + y) * nWidth,
                     static_cast<std::size_t>(nWidth), nOffset + static_cast<off_t>(y) * nStride)) {
        return false;
      }
    }
  }
  return true;
}

bool WindowFitsStaging(const SceneWindow& window) {
  return window.nWidth > 0 && window.nWidth <= kMaxColumns && window.nHeight > 0 &&
         window.nHeight <= kMaxLines && window.nOffsetX >= 0 && window.nOffsetY >= 0;
}

bool ValidBand(int nBand) { return nBand >= 1 && nBand <= kMaxBands; }

}  // namespace

int CeosRecordLength(int nBand) {
  // Bands 4..7 are 7020-byte records: 5,966 of them (header and 5,965 lines) make the 40,900 KB
  // that the CD-ROM lists for each band file.
  return nBand <= 3 ? 7250 : 7020;
}

int HdfSceneColumns(Sensor eSensor) {
  switch (eSensor) {
    case Sensor::Etm6921: return 6921;
    case Sensor::Etm6845: return 6845;
    case Sensor::Mss:
    case Sensor::TmFloppy:
    case Sensor::TmCeos:
    case Sensor::Raster:
    case Sensor::None: return 0;
  }
  return 0;
}

bool SensorHasBandHeaders(Sensor eSensor) {
  switch (eSensor) {
    case Sensor::Mss:
    case Sensor::TmFloppy:
    case Sensor::TmCeos: return true;
    case Sensor::Etm6921:
    case Sensor::Etm6845:
    case Sensor::Raster:
    case Sensor::None: return false;
  }
  return false;
}

CBandFile::~CBandFile() {
  if (m_fd >= 0) close(m_fd);
}

bool CBandFile::Open(const std::string& strPath) {
  if (m_fd >= 0) close(m_fd);
  // Non-blocking so that a named pipe cannot hang the import; files read the same either way.
  m_fd = open(strPath.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (m_fd < 0) return false;
  struct stat st{};
  // Only regular files: a FIFO, a folder or a device is refused at once.
  if (fstat(m_fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    close(m_fd);
    m_fd = -1;
    return false;
  }
  return true;
}

std::int64_t CBandFile::Size() const {
  struct stat st{};
  if (m_fd < 0 || fstat(m_fd, &st) != 0) return -1;
  return static_cast<std::int64_t>(st.st_size);
}

std::int64_t BandBytesNeeded(Sensor eSensor, int nBand, const SceneWindow& window,
                             std::string& strLayout) {
  const std::int64_t nLastLine = window.nOffsetY + window.nHeight;  // one past, in scene lines
  switch (eSensor) {
    case Sensor::Mss:
    case Sensor::TmFloppy:
      strLayout = FormatText("a %d-byte header record and %d lines of %d bytes", kHeaderBytes,
                             window.nHeight, kFloppyRecordBytes);
      return kHeaderBytes + std::int64_t{window.nHeight} * kFloppyRecordBytes;
    case Sensor::TmCeos: {
      const int nRecord = CeosRecordLength(nBand);
      strLayout = FormatText("the header record and lines up to %lld in %d-byte records",
                             static_cast<long long>(nLastLine), nRecord);
      return nLastLine * nRecord + window.nOffsetX + window.nWidth;
    }
    case Sensor::Etm6921:
    case Sensor::Etm6845: {
      const int nColumns = HdfSceneColumns(eSensor);
      strLayout = FormatText("the whole scene, %d lines of %d bytes", kHdfSceneLines, nColumns);
      return std::int64_t{nColumns} * kHdfSceneLines;
    }
    case Sensor::Raster:
    case Sensor::None: break;
  }
  strLayout.clear();
  return 0;
}

std::uint8_t* StagedBand(int nBand) { return s_abStagedBand[nBand - 1]; }
// The same memory, eight bytes a pixel.
std::uint8_t* StagedPixels() { return &s_abStagedBand[0][0]; }

namespace {

// The bytes of a record's eight band values that keep their old contents: those of the bands
// not in nBandMask.
std::uint64_t KeptBytes(unsigned nBandMask) {
  std::uint64_t nKeep = 0;
  for (int b = 0; b < kMaxBands; ++b) {
    if ((nBandMask & (1u << b)) == 0) nKeep |= std::uint64_t{0xFF} << (8 * b);
  }
  return nKeep;
}

// Stores the eight band values of pixel (x, y), keeping the bytes of nKeep.
inline void StoreBands(int x, int y, std::uint64_t nValues, std::uint64_t nKeep) {
  std::uint8_t* pBands = g_aPixel[x][y].abBand;
  if (nKeep != 0) {
    std::uint64_t nOld;
    std::memcpy(&nOld, pBands, 8);
    nValues = (nOld & nKeep) | (nValues & ~nKeep);
  }
  std::memcpy(pBands, &nValues, 8);
}

}  // namespace

void CommitStagedPixels(unsigned nBandMask, int nWidth, int nHeight) {
  nBandMask &= 0xFFu;
  if (nBandMask == 0 || nWidth <= 0 || nHeight <= 0) return;
  nWidth = std::min(nWidth, kMaxColumns);
  nHeight = std::min(nHeight, kMaxLines);
  const std::uint64_t nKeep = KeptBytes(nBandMask);
  const std::uint8_t* pStaged = StagedPixels();
  // Tiles of 16 columns by 64 lines, so the staged lines stay in cache while each column's
  // records are written in order.
  constexpr int kTileColumns = 16, kTileLines = 64;
  for (int y0 = 0; y0 < nHeight; y0 += kTileLines) {
    const int y1 = std::min(nHeight, y0 + kTileLines);
    for (int x0 = 0; x0 < nWidth; x0 += kTileColumns) {
      const int x1 = std::min(nWidth, x0 + kTileColumns);
      for (int x = x0; x < x1; ++x) {
        for (int y = y0; y < y1; ++y) {
          std::uint64_t nValues;
          std::memcpy(&nValues, pStaged + (static_cast<std::size_t>(y) * nWidth + x) * 8, 8);
          StoreBands(x, y, nValues, nKeep);
        }
      }
    }
  }
}
std::uint8_t* StagedHeader(int nBand) { return s_aszStagedHeader[nBand - 1]; }

bool ReadFloppyBand(const CBandFile& file, int nBand, const SceneWindow& window) {
  if (!ValidBand(nBand) || !WindowFitsStaging(window) || window.nWidth > kFloppyRecordBytes) {
    return false;
  }
  const int fd = file.Descriptor();
  // Header record first; without it no line is read.
  if (!ReadFully(fd, StagedHeader(nBand), kHeaderBytes, 0)) return false;
  return ReadLines(fd, kFloppyRecordBytes, kFloppyRecordBytes, window.nWidth, window.nHeight,
                   StagedBand(nBand));
}

bool ReadCeosBand(const CBandFile& file, int nBand, const SceneWindow& window) {
  if (!ValidBand(nBand) || !WindowFitsStaging(window)) return false;
  const long nRecord = CeosRecordLength(nBand);
  if (window.nOffsetX + window.nWidth > nRecord) return false;
  const int fd = file.Descriptor();
  if (!ReadFully(fd, StagedHeader(nBand), kHeaderBytes, 0)) return false;
  // Record r holds scene line r - 1; record 0 is the header.
  const off_t nFirst = static_cast<off_t>(window.nOffsetY + 1) * nRecord + window.nOffsetX;
  return ReadLines(fd, nFirst, nRecord, window.nWidth, window.nHeight, StagedBand(nBand));
}

bool ReadHdfBand(const CBandFile& file, Sensor eSensor, int nBand, const SceneWindow& window) {
  const long nColumns = HdfSceneColumns(eSensor);
  if (nColumns == 0 || !ValidBand(nBand) || !WindowFitsStaging(window)) return false;
  if (window.nOffsetX + window.nWidth > nColumns ||
      window.nOffsetY + window.nHeight > kHdfSceneLines) {
    return false;
  }
  const int fd = file.Descriptor();
  // The whole scene has to be there, even where the window does not look; only the window's
  // lines are actually read.
  struct stat st{};
  if (fstat(fd, &st) != 0 || st.st_size < static_cast<off_t>(nColumns) * kHdfSceneLines) {
    return false;
  }
  const off_t nFirst = static_cast<off_t>(window.nOffsetY) * nColumns + window.nOffsetX;
  return ReadLines(fd, nFirst, nColumns, window.nWidth, window.nHeight, StagedBand(nBand));
}

bool ReadBandWindow(Sensor eSensor, int nBand, const CBandFile& file, const SceneWindow& window) {
  switch (eSensor) {
    case Sensor::Mss:
    case Sensor::TmFloppy: return ReadFloppyBand(file, nBand, window);
    case Sensor::TmCeos: return ReadCeosBand(file, nBand, window);
    case Sensor::Etm6921:
    case Sensor::Etm6845: return ReadHdfBand(file, eSensor, nBand, window);
    // Raster files are read through GDAL (import/raster.h), not as raw bytes.
    case Sensor::Raster:
    case Sensor::None: return false;
  }
  return false;
}

void CommitStagedBands(unsigned nBandMask, int nWidth, int nHeight) {
  nBandMask &= 0xFFu;
  if (nBandMask == 0 || nWidth <= 0 || nHeight <= 0) return;
  nWidth = std::min(nWidth, kMaxColumns);
  nHeight = std::min(nHeight, kMaxLines);
  const std::uint64_t nKeep = KeptBytes(nBandMask);
  const std::size_t nStride = static_cast<std::size_t>(nWidth);
  auto store = [nKeep](int x, int y, std::uint64_t nValues) { StoreBands(x, y, nValues, nKeep); };
  auto gather = [nStride](int x, int y) {
    std::uint64_t nValues = 0;
    const std::size_t i = static_cast<std::size_t>(y) * nStride + x;
    for (int b = 0; b < kMaxBands; ++b) {
      nValues |= std::uint64_t{s_abStagedBand[b][i]} << (8 * b);
    }
    return nValues;
  };

  // The plane is column-major with 18-byte records and the staging line-major, so the copy goes
  // in tiles of 16 columns by 64 lines: the staged lines of a tile stay in cache while each
  // column's run of records is written in order.
  constexpr int kTileColumns = 16;
  constexpr int kTileLines = 64;
  for (int y0 = 0; y0 < nHeight; y0 += kTileLines) {
    const int y1 = std::min(nHeight, y0 + kTileLines);
    for (int x0 = 0; x0 < nWidth; x0 += kTileColumns) {
      if (x0 + kTileColumns > nWidth) {
        for (int x = x0; x < nWidth; ++x) {
          for (int y = y0; y < y1; ++y) store(x, y, gather(x, y));
        }
        continue;
      }
#if defined(__SSE2__)
      // Eight staged lines of 16 bytes each turn into 16 records of eight band bytes: a byte
      // transpose by three rounds of interleaving.
      for (int y = y0; y < y1; ++y) {
        const std::size_t i = static_cast<std::size_t>(y) * nStride + x0;
        __m128i r[8];
        for (int b = 0; b < 8; ++b) {
          r[b] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(&s_abStagedBand[b][i]));
        }
        const __m128i t01l = _mm_unpacklo_epi8(r[0], r[1]), t01h = _mm_unpackhi_epi8(r[0], r[1]);
        const __m128i t23l = _mm_unpacklo_epi8(r[2], r[3]), t23h = _mm_unpackhi_epi8(r[2], r[3]);
        const __m128i t45l = _mm_unpacklo_epi8(r[4], r[5]), t45h = _mm_unpackhi_epi8(r[4], r[5]);
        const __m128i t67l = _mm_unpacklo_epi8(r[6], r[7]), t67h = _mm_unpackhi_epi8(r[6], r[7]);
        const __m128i q[4] = {_mm_unpacklo_epi16(t01l, t23l), _mm_unpackhi_epi16(t01l, t23l),
                              _mm_unpacklo_epi16(t01h, t23h), _mm_unpackhi_epi16(t01h, t23h)};
        const __m128i p[4] = {_mm_unpacklo_epi16(t45l, t67l), _mm_unpackhi_epi16(t45l, t67l),
                              _mm_unpacklo_epi16(t45h, t67h), _mm_unpackhi_epi16(t45h, t67h)};
        for (int k = 0; k < 4; ++k) {
          // Columns 4k .. 4k+3.
          const __m128i o0 = _mm_unpacklo_epi32(q[k], p[k]);
          const __m128i o1 = _mm_unpackhi_epi32(q[k], p[k]);
          const int x = x0 + 4 * k;
          store(x, y, static_cast<std::uint64_t>(_mm_cvtsi128_si64(o0)));
          store(x + 1, y, static_cast<std::uint64_t>(_mm_cvtsi128_si64(_mm_unpackhi_epi64(o0, o0))));
          store(x + 2, y, static_cast<std::uint64_t>(_mm_cvtsi128_si64(o1)));
          store(x + 3, y, static_cast<std::uint64_t>(_mm_cvtsi128_si64(_mm_unpackhi_epi64(o1, o1))));
        }
      }
#else
      for (int x = x0; x < x0 + kTileColumns; ++x) {
        for (int y = y0; y < y1; ++y) store(x, y, gather(x, y));
      }
#endif
    }
  }
}

void CommitStagedHeaders(unsigned nBandMask) {
  for (int b = 0; b < kMaxBands; ++b) {
    if (nBandMask & (1u << b)) std::memcpy(g_aszBandHeader[b], s_aszStagedHeader[b], kHeaderBytes);
  }
}
