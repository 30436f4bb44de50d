#include "cli/png_writer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/png_reader.h"

TEST(PngWriterTest, ChecksumsMatchKnownValues) {
  const std::string str = "123456789";
  const auto* p = reinterpret_cast<const std::uint8_t*>(str.data());
  EXPECT_EQ(Crc32(p, str.size()), 0xCBF43926u);
  EXPECT_EQ(Adler32(p, str.size()), 0x091E01DEu);
  // Long runs go through the periodic reduction of the sums.
  const std::vector<std::uint8_t> ab(100000, 0xFF);
  std::uint32_t a = 1, b = 0;
  for (std::uint8_t v : ab) {
    a = (a + v) % 65521;
    b = (b + a) % 65521;
  }
  EXPECT_EQ(Adler32(ab.data(), ab.size()), (b << 16) | a);
}

TEST(PngWriterTest, PixelsComeBackThroughSeveralStoredBlocks) {
  // 200 x 150 RGB is 90,150 bytes of filtered lines: two stored blocks.
  const int nWidth = 200, nHeight = 150, nStride = 256;
  std::vector<std::uint32_t> anImage(static_cast<std::size_t>(nStride) * nHeight, 0xFF123456u);
  for (int y = 0; y < nHeight; ++y) {
    for (int x = 0; x < nWidth; ++x) {
      anImage[static_cast<std::size_t>(y) * nStride + x] =
          0xFF000000u | ((x * 7) & 0xFF) << 16 | ((y * 3) & 0xFF) << 8 | ((x ^ y) & 0xFF);
    }
  }
  const DecodedPng png = DecodeStoredPng(EncodeRgbPng(nWidth, nHeight, anImage.data(), nStride));
  ASSERT_EQ(png.strError, "");
  ASSERT_EQ(png.nWidth, nWidth);
  ASSERT_EQ(png.nHeight, nHeight);
  for (int y = 0; y < nHeight; ++y) {
    for (int x = 0; x < nWidth; ++x) {
      ASSERT_EQ(png.anPixels[static_cast<std::size_t>(y) * nWidth + x],
                anImage[static_cast<std::size_t>(y) * nStride + x]);
    }
  }
}

TEST(PngWriterTest, UnwritablePathIsReported) {
  const std::uint32_t px = 0xFFFFFFFFu;
  EXPECT_FALSE(WriteRgbPng("/nonexistent-folder/x.png", 1, 1, &px, 1));
}
