// Reads back the command line's own PNG files (RGB, stored deflate blocks only), checking every
// CRC and the Adler-32, so that tests compare pixels and not file bytes. A short file makes at()
// throw, which the test reports as a failure.
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
  std::uint32_t At(int x, int y) const { return anPixels.at(std::size_t(y) * nWidth + x); }
};

inline DecodedPng DecodeStoredPng(const std::vector<std::uint8_t>& ab) {
  DecodedPng png;
  auto be32 = [](const std::vector<std::uint8_t>& v, std::size_t i) {
    return std::uint32_t{v.at(i)} << 24 | v.at(i + 1) << 16 | v.at(i + 2) << 8 | v.at(i + 3);
  };
  std::vector<std::uint8_t> z, raw;  // the zlib stream and what it stores
  if (ab.size() < 8 || std::string(ab.begin(), ab.begin() + 8) != "\x89PNG\r\n\x1A\n") {
    png.strError = "signature";
  }
  for (std::size_t i = 8; png.strError.empty() && i < ab.size(); i += 12 + be32(ab, i)) {
    const std::size_t n = be32(ab, i), nCrc = be32(ab, i + 8 + n);  // also checks the length
    const std::string strType(ab.begin() + i + 4, ab.begin() + i + 8);
    if (Crc32(&ab[i + 4], 4 + n) != nCrc) png.strError = "crc of " + strType;
    if (strType == "IHDR") {
      png.nWidth = static_cast<int>(be32(ab, i + 8));
      png.nHeight = static_cast<int>(be32(ab, i + 12));
    }
    if (strType == "IDAT") z.insert(z.end(), &ab[i + 8], &ab[i + 8] + n);
  }
  if (!png.strError.empty()) return png;
  std::size_t p = 2;  // past the zlib header
  for (bool bLast = false; !bLast;) {
    const std::size_t n = z.at(p + 1) | z.at(p + 2) << 8;
    if ((z.at(p) & 6) != 0 || p + 5 + n > z.size()) { png.strError = "block"; return png; }
    bLast = z[p] & 1;
    raw.insert(raw.end(), z.begin() + p + 5, z.begin() + p + 5 + n);
    p += 5 + n;
  }
  if (Adler32(raw.data(), raw.size()) != be32(z, p)) png.strError = "adler";
  const std::size_t nLine = 1 + 3 * std::size_t(png.nWidth);
  if (raw.size() != nLine * png.nHeight) png.strError = "image size";
  for (std::size_t k = 0; png.strError.empty() && k < raw.size(); k += 3) {
    if (k % nLine == 0 && raw[k++] != 0) png.strError = "filter";
    png.anPixels.push_back(0xFF000000u | raw[k] << 16 | raw[k + 1] << 8 | raw[k + 2]);
  }
  return png;
}

inline DecodedPng ReadStoredPng(const std::string& strPath) {
  std::ifstream file(strPath, std::ios::binary);
  return DecodeStoredPng({std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()});
}
