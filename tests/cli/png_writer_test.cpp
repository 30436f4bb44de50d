#include "cli/png_writer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/png_reader.h"

TEST(PngWriterTest, PixelsComeBackThroughSeveralStoredBlocksWithRightChecksums) {
  // The reader trusts these two, so pin them to known values first; the long run goes through
  // the periodic reduction of the Adler sums.
  const std::string str = "123456789";
  const auto* p = reinterpret_cast<const std::uint8_t*>(str.data());
  EXPECT_EQ(Crc32(p, str.size()), 0xCBF43926u);
  EXPECT_EQ(Adler32(p, str.size()), 0x091E01DEu);
  const std::vector<std::uint8_t> abOnes(100000, 0xFF);
  EXPECT_EQ(Adler32(abOnes.data(), abOnes.size()), 0x149A302Cu);
  // 200 x 150 RGB is 90,150 bytes of filtered lines: two stored blocks.
  const int nWidth = 200, nHeight = 150, nStride = 256;
  std::vector<std::uint32_t> anImage(static_cast<std::size_t>(nStride) * nHeight);
  for (std::size_t i = 0; i < anImage.size(); ++i) {
    anImage[i] = 0xFF000000u | static_cast<std::uint32_t>(i * 2654435761u >> 8 & 0xFFFFFF);
  }
  const DecodedPng png = DecodeStoredPng(EncodeRgbPng(nWidth, nHeight, anImage.data(), nStride));
  ASSERT_EQ(png.strError, "");
  ASSERT_EQ(png.nWidth, nWidth);
  ASSERT_EQ(png.nHeight, nHeight);
  for (int y = 0; y < nHeight; ++y) {
    for (int x = 0; x < nWidth; ++x) ASSERT_EQ(png.At(x, y), anImage[y * nStride + x]);
  }
  const std::uint32_t px = ~0u;
  std::string strReason;
  EXPECT_FALSE(WriteRgbPng("/nonexistent-folder/x.png", 1, 1, &px, 1, strReason));
  EXPECT_EQ(strReason, "No such file or directory");
}
