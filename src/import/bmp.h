// BMP pictures decoded from their bytes: 1, 4, 8 bits with a colour table, 16 and 32 bits with
// or without bit masks, 24 bits; rows stored bottom-up or top-down. Every size, offset and
// count in the header is checked against the file's length before a pixel is read, so a
// hostile header cannot make the decoder allocate or read beyond the file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

enum class BmpFault {
  None,
  Short,        // fewer than 14 bytes: no file header
  NotBitmap,    // the file does not start with "BM"
  Truncated,    // the header, colour table or pixels run past the end of the file
  Unsupported,  // a kind of BMP the program does not read (compressed, JPEG or PNG inside)
  TooLarge,     // wider or taller than the pixel plane
};

// Where a picture's pixels are and how to turn them into colours.
struct BmpLayout {
  int nWidth = 0, nHeight = 0;
  bool bTopDown = false;  // rows stored from the top (a negative height in the header)
  int nBits = 0;
  std::size_t nPixelOffset = 0, nRowBytes = 0;
  std::uint32_t anPalette[256] = {};  // 0x00RRGGBB; indices past the table are black
  std::uint32_t anMask[3] = {};       // red, green, blue bits of a 16- or 32-bit pixel
};

// Reads and checks the headers; on a fault strDetail says what was wrong, in words a user can
// act on (where the file ends early, which kind of picture it is).
BmpFault ReadBmpLayout(std::span<const std::uint8_t> ab, BmpLayout& layout, std::string& strDetail);

// Row y of the picture as shown (0 = top) as blue, green, red bytes, nWidth x 3 of them. The
// layout must come from ReadBmpLayout over the same bytes.
void DecodeBmpRow(std::span<const std::uint8_t> ab, const BmpLayout& layout, int y,
                  std::uint8_t* pBgr);
