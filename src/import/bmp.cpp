#include "import/bmp.h"

#include <bit>
#include <cstring>

#include "core/state.h"
#include "core/text_format.h"

namespace {

std::uint32_t U16(const std::uint8_t* p) { return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8; }
std::uint32_t U32(const std::uint8_t* p) { return U16(p) | U16(p + 2) << 16; }

// The compression codes of the info header.
constexpr std::uint32_t kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3, kJpeg = 4, kPng = 5,
                        kAlphaBitFields = 6;

// A mask's value scaled to 0..255: wider fields keep their top 8 bits, narrower ones repeat
// their bits downwards (5 bits 10110 become 10110101), which is how a display widens them.
std::uint8_t Component(std::uint32_t nPixel, std::uint32_t nMask) {
  if (nMask == 0) return 0;
  const int nShift = std::countr_zero(nMask);
  const int nBits = std::popcount(nMask);
  const std::uint32_t v = (nPixel & nMask) >> nShift;
  if (nBits >= 8) return static_cast<std::uint8_t>(v >> (nBits - 8));
  std::uint32_t nOut = 0;
  for (int nPos = 8 - nBits; nPos > -nBits; nPos -= nBits) nOut |= nPos >= 0 ? v << nPos : v >> -nPos;
  return static_cast<std::uint8_t>(nOut);
}

bool Contiguous(std::uint32_t nMask) {
  if (nMask == 0) return true;
  const std::uint32_t n = nMask >> std::countr_zero(nMask);
  return (n & (n + 1)) == 0;
}

}  // namespace

BmpFault ReadBmpLayout(std::span<const std::uint8_t> ab, BmpLayout& layout, std::string& strDetail) {
  layout = BmpLayout();
  const std::size_t nSize = ab.size();
  const std::uint8_t* p = ab.data();
  if (nSize < 14) {
    strDetail = FormatText("%zu バイトで、14 バイトのファイルヘッダーに足りません", nSize);
    return BmpFault::Short;
  }
  if (p[0] != 'B' || p[1] != 'M') {
    strDetail = "先頭の２バイトが \"BM\" ではありません";
    return BmpFault::NotBitmap;
  }
  const std::size_t nOffBits = U32(p + 10);
  if (nSize < 18) {
    strDetail = FormatText("%zu バイトで、情報ヘッダーの大きさの前で終わっています", nSize);
    return BmpFault::Truncated;
  }
  const std::size_t nInfoSize = U32(p + 14);
  if (nInfoSize != 12 && nInfoSize < 40) {
    strDetail = FormatText("%u バイトの情報ヘッダー", static_cast<unsigned>(nInfoSize));
    return BmpFault::Unsupported;
  }
  if (nInfoSize > nSize - 14) {
    strDetail = FormatText("%zu バイトの情報ヘッダーの途中で終わっています", nInfoSize);
    return BmpFault::Truncated;
  }

  std::int64_t nWidth = 0, nHeight = 0;
  std::uint32_t nCompression = kRgb, nColoursUsed = 0;
  std::size_t nEntryBytes = 4, nTableStart = 14 + nInfoSize;
  if (nInfoSize == 12) {  // the old core header: 16-bit sizes, 3-byte colour table entries
    nWidth = U16(p + 18);
    nHeight = static_cast<std::int16_t>(U16(p + 20));
    layout.nBits = static_cast<int>(U16(p + 24));
    nEntryBytes = 3;
  } else {
    nWidth = static_cast<std::int32_t>(U32(p + 18));
    nHeight = static_cast<std::int32_t>(U32(p + 22));
    layout.nBits = static_cast<int>(U16(p + 28));
    nCompression = U32(p + 30);
    nColoursUsed = U32(p + 46);
  }
  switch (layout.nBits) {
    case 1: case 4: case 8: case 16: case 24: case 32: break;
    default:
      strDetail = FormatText("%d ビット／ピクセルの画像", layout.nBits);
      return BmpFault::Unsupported;
  }
  switch (nCompression) {
    case kRgb: break;
    case kBitFields:
    case kAlphaBitFields:
      if (layout.nBits == 16 || layout.nBits == 32) break;
      strDetail = "16 ビット未満の画像のビットマスク";
      return BmpFault::Unsupported;
    case kRle8:
    case kRle4: strDetail = "圧縮（RLE）された画像"; return BmpFault::Unsupported;
    case kJpeg:
    case kPng: strDetail = "JPEG または PNG を中に持つ画像"; return BmpFault::Unsupported;
    default:
      strDetail = FormatText("圧縮方式 %u の画像", static_cast<unsigned>(nCompression));
      return BmpFault::Unsupported;
  }
  if (nWidth <= 0 || nHeight == 0) {
    strDetail = FormatText("%lld×%lld ピクセルの画像", static_cast<long long>(nWidth),
                           static_cast<long long>(nHeight));
    return BmpFault::Unsupported;
  }
  layout.bTopDown = nHeight < 0;
  if (nHeight < 0) nHeight = -nHeight;
  if (nWidth > kMaxColumns || nHeight > kMaxLines) {
    strDetail = FormatText("%lld×%lld ピクセル（読み込めるのは %d×%d ピクセルまで）",
                           static_cast<long long>(nWidth), static_cast<long long>(nHeight),
                           kMaxColumns, kMaxLines);
    return BmpFault::TooLarge;
  }
  layout.nWidth = static_cast<int>(nWidth);
  layout.nHeight = static_cast<int>(nHeight);

  // Bit masks: inside the longer headers, or right after the 40-byte one.
  if (nCompression == kBitFields || nCompression == kAlphaBitFields) {
    std::size_t nMasks = 14 + 40;
    if (nInfoSize == 40) nTableStart += nCompression == kBitFields ? 12 : 16;
    if (nMasks + 12 > nSize) {
      strDetail = "ビットマスクの途中で終わっています";
      return BmpFault::Truncated;
    }
    for (int c = 0; c < 3; ++c) {
      layout.anMask[c] = U32(p + nMasks + 4 * static_cast<std::size_t>(c));
      if (!Contiguous(layout.anMask[c])) {
        strDetail = "ビットが連続していないビットマスク";
        return BmpFault::Unsupported;
      }
    }
  } else if (layout.nBits == 16) {
    layout.anMask[0] = 0x7C00;
    layout.anMask[1] = 0x03E0;
    layout.anMask[2] = 0x001F;
  } else if (layout.nBits == 32) {
    layout.anMask[0] = 0xFF0000;
    layout.anMask[1] = 0x00FF00;
    layout.anMask[2] = 0x0000FF;
  }

  if (layout.nBits <= 8) {
    const std::size_t nMaxEntries = std::size_t{1} << layout.nBits;
    std::size_t nEntries = nColoursUsed != 0 && nColoursUsed < nMaxEntries ? nColoursUsed : nMaxEntries;
    if (nTableStart > nSize || nEntries * nEntryBytes > nSize - nTableStart) {
      strDetail = FormatText("%zu 色のカラーテーブルの途中で終わっています", nEntries);
      return BmpFault::Truncated;
    }
    for (std::size_t i = 0; i < nEntries; ++i) {
      const std::uint8_t* e = p + nTableStart + i * nEntryBytes;
      layout.anPalette[i] = std::uint32_t{e[2]} << 16 | std::uint32_t{e[1]} << 8 | e[0];
    }
  }

  layout.nRowBytes = (static_cast<std::size_t>(layout.nWidth) * static_cast<std::size_t>(layout.nBits) + 31) / 32 * 4;
  layout.nPixelOffset = nOffBits;
  if (nOffBits < 14 + nInfoSize) {
    strDetail = "ヘッダーの中から始まる画素データ";
    return BmpFault::Unsupported;
  }
  if (nOffBits > nSize || layout.nRowBytes * static_cast<std::size_t>(layout.nHeight) > nSize - nOffBits) {
    strDetail = FormatText("画素データは %zu バイト目から %zu バイトですが、ファイルは %zu バイトです",
                           nOffBits, layout.nRowBytes * static_cast<std::size_t>(layout.nHeight),
                           nSize);
    return BmpFault::Truncated;
  }
  return BmpFault::None;
}

void DecodeBmpRow(std::span<const std::uint8_t> ab, const BmpLayout& layout, int y,
                  std::uint8_t* pBgr) {
  const int nRow = layout.bTopDown ? y : layout.nHeight - 1 - y;
  const std::uint8_t* pRow = ab.data() + layout.nPixelOffset + static_cast<std::size_t>(nRow) * layout.nRowBytes;
  const int W = layout.nWidth;
  auto putIndexed = [&](int x, unsigned nIndex) {
    const std::uint32_t rgb = layout.anPalette[nIndex];
    pBgr[3 * x] = static_cast<std::uint8_t>(rgb);
    pBgr[3 * x + 1] = static_cast<std::uint8_t>(rgb >> 8);
    pBgr[3 * x + 2] = static_cast<std::uint8_t>(rgb >> 16);
  };
  switch (layout.nBits) {
    case 1:
      for (int x = 0; x < W; ++x) putIndexed(x, (pRow[x >> 3] >> (7 - (x & 7))) & 1u);
      break;
    case 4:
      for (int x = 0; x < W; ++x) putIndexed(x, (pRow[x >> 1] >> ((x & 1) ? 0 : 4)) & 15u);
      break;
    case 8:
      for (int x = 0; x < W; ++x) putIndexed(x, pRow[x]);
      break;
    case 24: std::memcpy(pBgr, pRow, static_cast<std::size_t>(W) * 3); break;
    case 16:
    case 32: {
      const bool bPlain32 = layout.nBits == 32 && layout.anMask[0] == 0xFF0000 &&
                            layout.anMask[1] == 0x00FF00 && layout.anMask[2] == 0x0000FF;
      for (int x = 0; x < W; ++x) {
        if (bPlain32) {
          std::memcpy(pBgr + 3 * x, pRow + 4 * x, 3);
          continue;
        }
        const std::uint32_t nPixel = layout.nBits == 16 ? U16(pRow + 2 * x) : U32(pRow + 4 * x);
        pBgr[3 * x] = Component(nPixel, layout.anMask[2]);
        pBgr[3 * x + 1] = Component(nPixel, layout.anMask[1]);
        pBgr[3 * x + 2] = Component(nPixel, layout.anMask[0]);
      }
      break;
    }
    default: break;
  }
}
