// A minimal PNG encoder for the command line's pictures: 8-bit RGB, no interlace, the image data
// in stored (uncompressed) deflate blocks. Any PNG reader takes it; nothing beyond the standard
// library is needed.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Pixels are 0xFFRRGGBB (the off-screen image's form), nStride pixels from one line to the next.
std::vector<std::uint8_t> EncodeRgbPng(int nWidth, int nHeight, const std::uint32_t* pPixels,
                                       int nStride);
// Written beside the target and renamed over it when complete; false with the reason (the old
// file untouched) when it cannot be written completely.
bool WriteRgbPng(const std::string& strPath, int nWidth, int nHeight,
                 const std::uint32_t* pPixels, int nStride, std::string& strReason);

std::uint32_t Crc32(const std::uint8_t* pData, std::size_t nSize, std::uint32_t nCrc = 0);
std::uint32_t Adler32(const std::uint8_t* pData, std::size_t nSize, std::uint32_t nAdler = 1);
