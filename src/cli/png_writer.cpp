#include "cli/png_writer.h"

#include "core/file_io.h"

#include <array>
#include <cstdio>

namespace {

const std::array<std::uint32_t, 256>& CrcTable() {
  static const std::array<std::uint32_t, 256> s_anTable = [] {
    std::array<std::uint32_t, 256> an{};
    for (std::uint32_t n = 0; n < 256; ++n) {
      std::uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      an[n] = c;
    }
    return an;
  }();
  return s_anTable;
}

void PutBigEndian(std::vector<std::uint8_t>& ab, std::uint32_t n) {
  ab.push_back(static_cast<std::uint8_t>(n >> 24));
  ab.push_back(static_cast<std::uint8_t>(n >> 16));
  ab.push_back(static_cast<std::uint8_t>(n >> 8));
  ab.push_back(static_cast<std::uint8_t>(n));
}

void PutChunk(std::vector<std::uint8_t>& abPng, const char szType[5],
              const std::vector<std::uint8_t>& abData) {
  PutBigEndian(abPng, static_cast<std::uint32_t>(abData.size()));
  const std::size_t nTypeAt = abPng.size();
  abPng.insert(abPng.end(), szType, szType + 4);
  abPng.insert(abPng.end(), abData.begin(), abData.end());
  // The CRC covers the type and the data, not the length.
  PutBigEndian(abPng, Crc32(abPng.data() + nTypeAt, abPng.size() - nTypeAt));
}

}  // namespace

std::uint32_t Crc32(const std::uint8_t* pData, std::size_t nSize, std::uint32_t nCrc) {
  const auto& anTable = CrcTable();
  std::uint32_t c = nCrc ^ 0xFFFFFFFFu;
  for (std::size_t i = 0; i < nSize; ++i) c = anTable[(c ^ pData[i]) & 0xFF] ^ (c >> 8);
  return c ^ 0xFFFFFFFFu;
}

std::uint32_t Adler32(const std::uint8_t* pData, std::size_t nSize, std::uint32_t nAdler) {
  constexpr std::uint32_t kBase = 65521;
  std::uint32_t a = nAdler & 0xFFFF, b = nAdler >> 16;
  while (nSize > 0) {
    // 5552 bytes is the longest run whose sums cannot overflow 32 bits before the reduction.
    const std::size_t nRun = nSize < 5552 ? nSize : 5552;
    for (std::size_t i = 0; i < nRun; ++i) {
      a += pData[i];
      b += a;
    }
    a %= kBase;
    b %= kBase;
    pData += nRun;
    nSize -= nRun;
  }
  return (b << 16) | a;
}

std::vector<std::uint8_t> EncodeRgbPng(int nWidth, int nHeight, const std::uint32_t* pPixels,
                                       int nStride) {
  // The filtered image: each line a filter byte 0 (none) and then R, G, B per pixel.
  const std::size_t nLineBytes = 1 + 3 * static_cast<std::size_t>(nWidth);
  std::vector<std::uint8_t> abRaw(nLineBytes * static_cast<std::size_t>(nHeight));
  for (int y = 0; y < nHeight; ++y) {
    std::uint8_t* p = abRaw.data() + nLineBytes * static_cast<std::size_t>(y);
    const std::uint32_t* pLine = pPixels + static_cast<std::size_t>(y) * nStride;
    *p++ = 0;
    for (int x = 0; x < nWidth; ++x) {
      *p++ = static_cast<std::uint8_t>(pLine[x] >> 16);
      *p++ = static_cast<std::uint8_t>(pLine[x] >> 8);
      *p++ = static_cast<std::uint8_t>(pLine[x]);
    }
  }

  // zlib stream: header, stored blocks of at most 65535 bytes, Adler-32 of the raw data.
  std::vector<std::uint8_t> abZlib = {0x78, 0x01};
  std::size_t nDone = 0;
  do {
    const std::size_t nBlock = abRaw.size() - nDone < 65535 ? abRaw.size() - nDone : 65535;
    const bool bLast = nDone + nBlock == abRaw.size();
    abZlib.push_back(bLast ? 1 : 0);
    abZlib.push_back(static_cast<std::uint8_t>(nBlock));
    abZlib.push_back(static_cast<std::uint8_t>(nBlock >> 8));
    abZlib.push_back(static_cast<std::uint8_t>(~nBlock));
    abZlib.push_back(static_cast<std::uint8_t>(~nBlock >> 8));
    abZlib.insert(abZlib.end(), abRaw.begin() + static_cast<std::ptrdiff_t>(nDone),
                  abRaw.begin() + static_cast<std::ptrdiff_t>(nDone + nBlock));
    nDone += nBlock;
  } while (nDone < abRaw.size());
  PutBigEndian(abZlib, Adler32(abRaw.data(), abRaw.size()));

  std::vector<std::uint8_t> abPng = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::vector<std::uint8_t> abHeader;
  PutBigEndian(abHeader, static_cast<std::uint32_t>(nWidth));
  PutBigEndian(abHeader, static_cast<std::uint32_t>(nHeight));
  abHeader.insert(abHeader.end(), {8, 2, 0, 0, 0});  // 8 bits, RGB, deflate, filters, no interlace
  PutChunk(abPng, "IHDR", abHeader);
  PutChunk(abPng, "IDAT", abZlib);
  PutChunk(abPng, "IEND", {});
  return abPng;
}

bool WriteRgbPng(const std::string& strPath, int nWidth, int nHeight,
                 const std::uint32_t* pPixels, int nStride, std::string& strReason) {
  const std::vector<std::uint8_t> abPng = EncodeRgbPng(nWidth, nHeight, pPixels, nStride);
  return WriteFileAtomically(strPath, abPng, strReason);
}
