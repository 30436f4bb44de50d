// Reads back the PNG files the command line writes (RGB, stored deflate blocks), checking every
// CRC and the Adler-32, so that tests compare pixels and not file bytes.
#pragma once

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "cli/png_writer.h"

struct DecodedPng {
  int nWidth = 0, nHeight = 0;
  std::vector<std::uint32_t> anPixels;  // 0xFFRRGGBB, row by row
  std::string strError;
};

inline std::uint32_t BigEndian32(const std::uint8_t* p) {
  return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) |
         p[3];
}

inline DecodedPng DecodeStoredPng(const std::vector<std::uint8_t>& ab) {
  DecodedPng png;
  static const std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (ab.size() < 8 || !std::equal(kSignature, kSignature + 8, ab.begin())) {
    png.strError = "signature";
    return png;
  }
  std::vector<std::uint8_t> abZlib;
  bool bEnd = false;
  for (std::size_t i = 8; !bEnd;) {
    if (i + 12 > ab.size()) { png.strError = "truncated chunk"; return png; }
    const std::uint32_t nLength = BigEndian32(&ab[i]);
    if (i + 12 + nLength > ab.size()) { png.strError = "chunk length"; return png; }
    const std::string strType(ab.begin() + static_cast<std::ptrdiff_t>(i + 4),
                              ab.begin() + static_cast<std::ptrdiff_t>(i + 8));
    if (Crc32(&ab[i + 4], 4 + nLength) != BigEndian32(&ab[i + 8 + nLength])) {
      png.strError = "crc of " + strType;
      return png;
    }
    const std::uint8_t* pData = &ab[i + 8];
    if (strType == "IHDR") {
      png.nWidth = static_cast<int>(BigEndian32(pData));
      png.nHeight = static_cast<int>(BigEndian32(pData + 4));
      if (pData[8] != 8 || pData[9] != 2 || pData[12] != 0) { png.strError = "format"; return png; }
    } else if (strType == "IDAT") {
      abZlib.insert(abZlib.end(), pData, pData + nLength);
    } else if (strType == "IEND") {
      bEnd = true;
    }
    i += 12 + nLength;
  }
  // zlib header, then stored blocks only.
  std::vector<std::uint8_t> abRaw;
  std::size_t p = 2;
  for (bool bLast = false; !bLast;) {
    if (p + 5 > abZlib.size() || (abZlib[p] & 0x06) != 0) { png.strError = "block"; return png; }
    bLast = abZlib[p] & 1;
    const std::size_t nLen = abZlib[p + 1] | (abZlib[p + 2] << 8);
    const std::size_t nNLen = abZlib[p + 3] | (abZlib[p + 4] << 8);
    if ((nLen ^ 0xFFFF) != nNLen || p + 5 + nLen > abZlib.size()) {
      png.strError = "block length";
      return png;
    }
    abRaw.insert(abRaw.end(), abZlib.begin() + static_cast<std::ptrdiff_t>(p + 5),
                 abZlib.begin() + static_cast<std::ptrdiff_t>(p + 5 + nLen));
    p += 5 + nLen;
  }
  if (p + 4 != abZlib.size() || Adler32(abRaw.data(), abRaw.size()) != BigEndian32(&abZlib[p])) {
    png.strError = "adler";
    return png;
  }
  const std::size_t nLine = 1 + 3 * static_cast<std::size_t>(png.nWidth);
  if (abRaw.size() != nLine * static_cast<std::size_t>(png.nHeight)) {
    png.strError = "image size";
    return png;
  }
  for (int y = 0; y < png.nHeight; ++y) {
    const std::uint8_t* pLine = &abRaw[nLine * static_cast<std::size_t>(y)];
    if (pLine[0] != 0) { png.strError = "filter"; return png; }
    for (int x = 0; x < png.nWidth; ++x) {
      const std::uint8_t* px = pLine + 1 + 3 * x;
      png.anPixels.push_back(0xFF000000u | (px[0] << 16) | (px[1] << 8) | px[2]);
    }
  }
  return png;
}

inline DecodedPng ReadStoredPng(const std::string& strPath) {
  std::ifstream file(strPath, std::ios::binary);
  const std::vector<std::uint8_t> ab((std::istreambuf_iterator<char>(file)),
                                     std::istreambuf_iterator<char>());
  return DecodeStoredPng(ab);
}
