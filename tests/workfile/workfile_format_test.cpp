// The work file's encoding: string prefixes and Shift-JIS, the byte layout of a saved scene,
// round trips of every section, and files the decoder refuses.
#include <cstring>
#include <string>
#include <vector>

#include "support/recording_platform.h"
#include "core/archive.h"
#include "core/settings_groups.h"
#include "workfile/workfile_format.h"
#include "products/fine_settings.h"
#include "products/composite_settings.h"
#include "products/coarse_settings.h"
#include "histograms/histogram_settings.h"
#include "classification/category_settings.h"

using WorkFileFormatTest = LogicTest;

namespace {

std::int32_t IntAt(std::span<const std::uint8_t> ab, std::size_t n) {
  std::int32_t v = 0;
  std::memcpy(&v, ab.data() + n, 4);
  return v;
}

// 512 x 400, 7 bands, every setting a little away from its default, marks in two categories.
void MakeSavedScene() {
  MakeScene(512, 400, 7, Sensor::TmFloppy, [](int x, int y, int b) { return (x * 3 + y + b) % 251; });
  for (int b = 0; b < 7; ++b) g_aszBandHeader[b][0] = static_cast<std::uint8_t>('A' + b);
  g_aszBandHeader[6][511] = 0xEE;
  g_astrUserText[0] = "測量 太郎";
  g_astrUserText[3] = "2026年12月6日";
  g_nCutOffRate = 7;
  g_nRedUpper = 201;
  g_abGreenLut[200] = 17;
  g_anRankUpper[3][5] = 77;
  g_acrRankColour[8][8] = Rgb(1, 2, 3);
  g_anFinePoint[9][2] = 250;
  g_astrCategoryName[2] = "水田～畑";
  g_acrCategoryColour[8] = Rgb(9, 8, 7);
  g_abClassify[5] = 0;
  g_aPixel[10][20].abTrainMark[1] = 1;
  g_aPixel[511][399].abTrainMark[7] = 1;
  g_nHistCursor = 99;
  g_acrHistLineColour[4] = Rgb(10, 20, 30);
}

}  // namespace

TEST(ArchiveTest, StringPrefixesAndShiftJis) {
  const struct {
    std::size_t nLength;
    std::vector<std::uint8_t> abPrefix;
  } aCases[] = {
      {254, {0xFE}},
      {255, {0xFF, 0xFF, 0x00}},
      {65533, {0xFF, 0xFD, 0xFF}},
      {65534, {0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00}},
      {65535, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00}},
  };
  for (const auto& c : aCases) {
    ArchiveWriter out;
    ASSERT_TRUE(out.String(std::string(c.nLength, 'x')));
    const ByteBuffer& ab = out.Data();
    ASSERT_EQ(ab.size(), c.abPrefix.size() + c.nLength);
    EXPECT_EQ(std::vector<std::uint8_t>(ab.begin(), ab.begin() + static_cast<long>(c.abPrefix.size())),
              c.abPrefix)
        << c.nLength;
    ArchiveReader in(ab);
    std::string str;
    ASSERT_TRUE(in.String(str));
    EXPECT_EQ(str.size(), c.nLength);
    EXPECT_EQ(in.Remaining(), 0u);
    // One byte short: the read fails and stays where it was.
    ArchiveReader cut(std::span(ab.data(), ab.size() - 1));
    EXPECT_FALSE(cut.String(str));
    EXPECT_EQ(cut.Offset(), 0u);
  }

  EXPECT_EQ(Utf8ToShiftJis("水田"), std::string("\x90\x85\x93\x63"));
  EXPECT_EQ(Utf8ToShiftJis("A〜B"), Utf8ToShiftJis("A～B")) << "the wave dash as the tilde";
  EXPECT_FALSE(Utf8ToShiftJis("森🌲").has_value());
  EXPECT_FALSE(Utf8ToShiftJis("\xFF").has_value());
  EXPECT_EQ(ShiftJisToUtf8("\x90\x85\x93\x63"), "水田");
  EXPECT_EQ(ShiftJisToUtf8(std::string("a\xA0\xFD" "b")), "a??b") << "bytes that do not decode";
  ArchiveWriter out;
  EXPECT_FALSE(out.String("🌲"));
  EXPECT_TRUE(out.Data().empty()) << "nothing written for a refused text";
}

TEST_F(WorkFileFormatTest, LayoutOfASavedScene) {
  MakeSavedScene();
  ByteBuffer ab;
  std::string strReason;
  ASSERT_TRUE(EncodeWorkFile(ab, strReason)) << strReason;

  EXPECT_EQ(IntAt(ab, 0), 100);
  for (int i = 0; i < 13; ++i) EXPECT_EQ(IntAt(ab, 4 + 4 * i), 1);
  EXPECT_EQ(IntAt(ab, 56), 1);  // sensor
  EXPECT_EQ(IntAt(ab, 60), 511);
  EXPECT_EQ(IntAt(ab, 64), 399);
  EXPECT_EQ(IntAt(ab, 68), 6);
  // Headers interleaved from byte 72: byte 0 of bands 1..8, byte 1 of bands 1..8, ...
  EXPECT_EQ(ab[72], 'A');
  EXPECT_EQ(ab[72 + 6], 'G');
  EXPECT_EQ(ab[72 + 7], 0);
  EXPECT_EQ(ab[72 + 511 * 8 + 6], 0xEE);
  // Four strings, then the pixels column by column.
  std::size_t n = 72 + 4096;
  const std::size_t anLength[4] = {9, 0, 0, 13};  // Shift-JIS bytes
  for (std::size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(ab[n], anLength[i]);
    n += 1 + anLength[i];
  }
  const std::size_t nPixels = n;
  EXPECT_EQ(ab[nPixels + 7 * 1 + 2], g_aPixel[0][1].abBand[2]);
  EXPECT_EQ(ab[nPixels + 7 * (400 * 3 + 5) + 6], g_aPixel[3][5].abBand[6]);
  n += 1433600;
  EXPECT_EQ(IntAt(ab, n), 7);        // the cut-off rate first
  EXPECT_EQ(IntAt(ab, n + 20), 201);  // red upper after red lower
  EXPECT_EQ(ab[n + 40 + 3 * 200 + 1], 17);
  n += 40 + 768 + 4;
  // Coarse: the band, then per band 24 ints.
  EXPECT_EQ(IntAt(ab, n + 4 + 4 * (24 * 4 + 2)), 77);
  EXPECT_EQ(IntAt(ab, n + 4 + 4 * (24 * 7 + 23)), 0x030201) << "colours as 0x00BBGGRR";
  n += 4 + 8 * 24 * 4;
  EXPECT_EQ(IntAt(ab, n + 4 + 4 * (26 * 1 + 16)), 250);
  n += 4 + 8 * 26 * 4;
  // Eight category sections: name, colour, two flags, 204,800 marks.
  for (int c = 1; c <= 8; ++c) {
    const std::size_t nName = ab[n];
    n += 1 + nName;
    if (c == 8) {
      EXPECT_EQ(IntAt(ab, n), 0x070809);
    }
    if (c == 5) {
      EXPECT_EQ(IntAt(ab, n + 8), 0);
    }
    n += 12;
    if (c == 2) {
      EXPECT_EQ(ab[n + 10 * 400 + 20], 1);
    }
    if (c == 8) {
      EXPECT_EQ(ab[n + 204799], 1);
    }
    n += 204800;
  }
  EXPECT_EQ(IntAt(ab, n), 99);
  EXPECT_EQ(IntAt(ab, n + 4 + 32 + 12), 0x1E140A);
  EXPECT_EQ(ab.size(), n + 4 + 32 + 32) << "nothing after the last section";
}

TEST_F(WorkFileFormatTest, EverySectionComesBackAndFlagsLeaveSectionsOut) {
  MakeSavedScene();
  ByteBuffer ab;
  std::string strReason;
  ASSERT_TRUE(EncodeWorkFile(ab, strReason));
  WorkFile file;
  ASSERT_EQ(DecodeWorkFile(ab, file, strReason), DecodeError::None) << strReason;
  EXPECT_EQ(file.nSensor, 1);
  EXPECT_EQ(file.nLastBand, 6);
  EXPECT_EQ(std::memcmp(file.aabHeader, g_aszBandHeader, sizeof g_aszBandHeader), 0);
  EXPECT_EQ(file.astrUserText[0], "測量 太郎");
  EXPECT_EQ(file.astrUserText[3], "2026年12月6日");
  EXPECT_EQ(file.abPixels.size(), 1433600u);
  EXPECT_EQ(file.abPixels[7 * (400 * 3 + 5) + 6], g_aPixel[3][5].abBand[6]);
  EXPECT_EQ(file.aabMarks[1][10 * 400 + 20], 1);
  EXPECT_EQ(file.aabMarks[7][204799], 1);
  // The settings went into the groups' staging: taken over defaults, they are the saved ones.
  ResetQueries();
  ResetPalettes();
  CommitSettingsSections(file);
  EXPECT_EQ(g_nCutOffRate, 7);
  EXPECT_EQ(g_nRedUpper, 201);
  EXPECT_EQ(g_abGreenLut[200], 17);
  EXPECT_EQ(g_anRankUpper[3][5], 77);
  EXPECT_EQ(g_acrRankColour[8][8], Rgb(1, 2, 3));
  EXPECT_EQ(g_anFinePoint[9][2], 250);
  EXPECT_EQ(g_astrCategoryName[2], "水田～畑");
  EXPECT_EQ(g_acrCategoryColour[8], Rgb(9, 8, 7));
  EXPECT_EQ(g_abClassify[5], 0);
  EXPECT_EQ(g_nHistCursor, 99);
  EXPECT_EQ(g_acrHistLineColour[4], Rgb(10, 20, 30));

  // Settings only: no data section, no marks; the sizes follow from the flags.
  EXPECT_EQ(SaveSectionCount(), 13);
  g_abSaveSection[kSectionData] = 0;
  for (int c = 2; c <= 8; ++c) g_abSaveSection[SaveSectionIndex("cat" + std::to_string(c))] = 0;
  ASSERT_TRUE(EncodeWorkFile(ab, strReason));
  EXPECT_EQ(ab.size(), 72u + 812 + 772 + 836 + (1 + g_astrCategoryName[1].size() + 12 + 204800) + 68);
  ASSERT_EQ(DecodeWorkFile(ab, file, strReason), DecodeError::None) << strReason;
  EXPECT_TRUE(file.abPixels.empty());
  EXPECT_TRUE(file.abMarks[0]);
  EXPECT_FALSE(file.abMarks[1]);
  EXPECT_TRUE(file.aabMarks[1].empty());

  // A name with no Shift-JIS form: refused, saying which.
  g_astrCategoryName[1] = "森🌲";
  EXPECT_FALSE(EncodeWorkFile(ab, strReason));
  EXPECT_NE(strReason.find("category 1"), std::string::npos) << strReason;
}

TEST_F(WorkFileFormatTest, DamagedAndForeignFilesAreRefusedWithTheirReason) {
  MakeSavedScene();
  ByteBuffer ab;
  std::string strReason;
  ASSERT_TRUE(EncodeWorkFile(ab, strReason));
  WorkFile file;
  // Cut anywhere: inside the header, the headers, the strings, the pixels, a section, the end.
  for (std::size_t nSize : {0ul, 3ul, 70ul, 72ul + 4000, 72ul + 4096 + 5, 100000ul, 1500000ul,
                            ab.size() - 205000, ab.size() - 1}) {
    EXPECT_EQ(DecodeWorkFile(std::span(ab.data(), nSize), file, strReason), DecodeError::EndsEarly)
        << nSize;
    EXPECT_NE(strReason.find("ends early"), std::string::npos);
  }
  auto with = [&](std::size_t nOffset, std::int32_t n) {
    ByteBuffer abCopy = ab;
    std::memcpy(abCopy.data() + nOffset, &n, 4);
    return abCopy;
  };
  EXPECT_EQ(DecodeWorkFile(with(0, 7), file, strReason), DecodeError::NotWorkFile);
  EXPECT_EQ(DecodeWorkFile(with(56, 20), file, strReason), DecodeError::OutOfRange);
  EXPECT_EQ(DecodeWorkFile(with(60, 1024), file, strReason), DecodeError::OutOfRange);
  EXPECT_EQ(DecodeWorkFile(with(64, -1), file, strReason), DecodeError::OutOfRange);
  EXPECT_EQ(DecodeWorkFile(with(68, 8), file, strReason), DecodeError::OutOfRange);
  // A huge extent in a short file is refused before anything is allocated for it.
  EXPECT_EQ(DecodeWorkFile(with(68, 7), file, strReason), DecodeError::EndsEarly);

  // The previous format: sensor first, the last column within 511..800, data only.
  std::vector<std::uint8_t> abOld;
  auto put = [&](std::int32_t n) {
    for (int i = 0; i < 4; ++i) abOld.push_back(static_cast<std::uint8_t>(n >> (8 * i)));
  };
  for (std::int32_t n : {2, 799, 1, 0, 0}) put(n);
  abOld.resize(abOld.size() + 4096, 'h');
  for (int i = 0; i < 4; ++i) abOld.push_back(0);
  for (int i = 0; i < 5; ++i) put(1);
  for (int i = 0; i < 800 * 2; ++i) abOld.push_back(static_cast<std::uint8_t>(i));
  abOld.resize(abOld.size() + 50, 0x77);  // the previous version's settings, not read
  ASSERT_EQ(DecodeWorkFile(abOld, file, strReason), DecodeError::None) << strReason;
  EXPECT_TRUE(file.bPreviousFormat);
  EXPECT_EQ(file.nSensor, 2);
  EXPECT_EQ(file.abPixels.size(), 1600u);
  EXPECT_EQ(file.abPixels[1599], static_cast<std::uint8_t>(1599));
  EXPECT_EQ(file.aabHeader[3][100], 'h');
  std::memcpy(abOld.data() + 4, "\xFE\x01\x00\x00", 4);  // last column 510
  EXPECT_EQ(DecodeWorkFile(abOld, file, strReason), DecodeError::BadXLine);
}
