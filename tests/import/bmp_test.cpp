// BMP pictures as scenes: every bit depth and both row orders against pictures written here, the
// messages of files that cannot be taken (each leaving the scene alone), and the vegetation
// index band.
#include <cstring>
#include <fstream>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "core/dialogs.h"
#include "core/state.h"
#include "core/text_format.h"
#include "import/bmp_import.h"
#include "import/messages.h"
#include "import/ndvi.h"
#include "import/bmp_files.h"
#include "support/scene_dir.h"
#include "products/composite_settings.h"

namespace {

struct Rgb3 {
  std::uint8_t r, g, b;
  bool operator==(const Rgb3&) const = default;
};

class BmpTest : public SceneDirTest {
 protected:
  std::string Write(const std::vector<std::uint8_t>& ab, const char* szName = "p.bmp") {
    const std::string strPath = PathOf(szName);
    std::ofstream(strPath, std::ios::binary)
        .write(reinterpret_cast<const char*>(ab.data()), static_cast<long>(ab.size()));
    return strPath;
  }
  std::vector<RecordedMessage> Messages() const { return m_platform.m_aMessages; }
  static Rgb3 Band(int x, int y) {
    const std::uint8_t* p = g_aPixel[x][y].abBand;
    return {p[2], p[1], p[0]};
  }
  // The plane, the scene's size and mode, and a setting: what a refused file must leave alone.
  static std::vector<std::uint8_t> Snapshot() {
    std::vector<std::uint8_t> ab(reinterpret_cast<const std::uint8_t*>(g_aPixel),
                                 reinterpret_cast<const std::uint8_t*>(g_aPixel) + sizeof g_aPixel);
    for (int n : {DisplayModeCode(g_nDisplayMode), SensorCode(g_nSensor), g_nMaxX, g_nMaxY,
                  g_nLastBand, g_nRedUpper, int{g_bWindowHasFiles}}) {
      ab.push_back(static_cast<std::uint8_t>(n));
    }
    return ab;
  }
};

}  // namespace

TEST_F(BmpTest, EveryDepthAndRowOrderGivesThePixelsColours) {
  const std::vector<std::uint32_t> anPalette = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF, 0x102030,
                                                0xFFFFFF, 0x808080, 0xA1B2C3};
  auto index = [](int x, int y) { return static_cast<std::uint32_t>((x + 3 * y) % 8); };
  auto fromPalette = [&](std::uint32_t n) {
    const std::uint32_t c = anPalette[n];
    return Rgb3{static_cast<std::uint8_t>(c >> 16), static_cast<std::uint8_t>(c >> 8),
                static_cast<std::uint8_t>(c)};
  };
  struct Case {
    const char* szName;
    int nBits;
    std::function<std::uint32_t(int, int)> fnStored;
    std::function<Rgb3(int, int)> fnExpected;
    std::vector<std::uint32_t> anPalette, anMasks;
  };
  const std::vector<Case> aCases = {
      {"1 bit", 1, [](int x, int y) { return static_cast<std::uint32_t>((x ^ y) & 1); },
       [&](int x, int y) { return fromPalette((x ^ y) & 1 ? 7u : 0u); },
       {anPalette[0], anPalette[7]}, {}},
      {"4 bits", 4, index, [&](int x, int y) { return fromPalette(index(x, y)); }, anPalette, {}},
      {"8 bits", 8, index, [&](int x, int y) { return fromPalette(index(x, y)); }, anPalette, {}},
      {"24 bits", 24, [](int x, int y) { return static_cast<std::uint32_t>(x * 0x010203 + y * 0x300000); },
       [](int x, int y) {
         const std::uint32_t v = static_cast<std::uint32_t>(x * 0x010203 + y * 0x300000);
         return Rgb3{static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 8),
                     static_cast<std::uint8_t>(v)};
       },
       {}, {}},
      {"32 bits", 32, [](int x, int y) { return 0xEE000000u | static_cast<std::uint32_t>(x << 16 | y << 8 | 7); },
       [](int x, int y) { return Rgb3{static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y), 7}; },
       {}, {}},
      // 5-5-5 words: 31 is full intensity, 16 widens to 10000100 (132), 1 to 00001000 (8).
      {"16 bits", 16, [](int x, int) { return x % 2 ? (31u << 10 | 16u << 5 | 1u) : 0u; },
       [](int x, int) { return x % 2 ? Rgb3{255, 132, 8} : Rgb3{0, 0, 0}; }, {}, {}},
      // 5-6-5 masks: the 6-bit green 32 widens to 10000010 (130).
      {"16 bits 5-6-5", 16, [](int, int y) { return y % 2 ? (1u << 11 | 32u << 5 | 31u) : 0xFFFFu; },
       [](int, int y) { return y % 2 ? Rgb3{8, 130, 255} : Rgb3{255, 255, 255}; }, {},
       {0xF800, 0x07E0, 0x001F}},
      // Masks of a 32-bit picture with red in the low byte.
      {"32 bits masked", 32, [](int x, int y) { return static_cast<std::uint32_t>(x | y << 8 | 0x55 << 16); },
       [](int x, int y) { return Rgb3{static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y), 0x55}; },
       {}, {0x0000FF, 0x00FF00, 0xFF0000}},
  };
  const int W = 13, H = 5;  // odd widths exercise the row padding
  for (const Case& c : aCases) {
    for (bool bTopDown : {false, true}) {
      std::memset(g_aszBandHeader, 0x41, sizeof g_aszBandHeader);
      const std::string strPath =
          Write(MakeBmp(W, H, c.nBits, bTopDown, c.fnStored, c.anPalette, c.anMasks));
      ASSERT_TRUE(ImportBmpFile(strPath)) << c.szName;
      EXPECT_TRUE(m_platform.m_aMessages.empty()) << c.szName;
      EXPECT_EQ(g_nMaxX, W - 1);
      EXPECT_EQ(g_nMaxY, H - 1);
      EXPECT_EQ(g_nLastBand, 2);
      EXPECT_EQ(SensorCode(g_nSensor), 3);
      EXPECT_EQ(g_nDisplayMode, DisplayMode::Prompt);
      int nWrong = 0;
      for (int y = 0; y < H; ++y) {
        for (int x = 0; x < W; ++x) nWrong += !(Band(x, y) == c.fnExpected(x, y));
      }
      EXPECT_EQ(nWrong, 0) << c.szName << (bTopDown ? ", top-down" : ", bottom-up");
      EXPECT_EQ(g_aszBandHeader[7][0], 0);
      EXPECT_EQ(g_aszBandHeader[0][255], 0);
    }
  }
  // The count ends at 100; the last picture is shown before its bands are made.
  ASSERT_FALSE(m_platform.m_canvas.m_aTexts.empty());
  EXPECT_EQ(m_platform.m_canvas.m_aTexts.back().strText, "100％");
  EXPECT_EQ(m_platform.m_canvas.m_aTexts.back().x, 220);
}

TEST_F(BmpTest, FilesThatCannotBeTakenSaySoAndChangeNothing) {
  MakeScene(40, 30, 4, Sensor::TmCeos, [](int x, int y, int b) { return x + y + b; });
  g_bWindowHasFiles = 1;
  g_nRedUpper = 200;
  const std::vector<std::uint8_t> abBefore = Snapshot();
  const auto good = MakeBmp(4, 4, 24, false, [](int, int) { return 0x123456u; });

  std::vector<std::uint8_t> abNotBm = good;
  abNotBm[0] = 'X';
  std::vector<std::uint8_t> abCut = good;
  abCut.resize(abCut.size() - 1);
  std::vector<std::uint8_t> abRle = MakeBmp(4, 4, 8, false, [](int, int) { return 0u; }, {0});
  Put32(abRle, 30, 1);
  std::vector<std::uint8_t> abWide = good;
  Put32(abWide, 18, 1025);
  // A header that claims 1024 x 1024 x 32 bits in a file of a few bytes: refused before any
  // pixel is read or anything is allocated for it.
  std::vector<std::uint8_t> abHostile = good;
  Put32(abHostile, 18, 1024);
  Put32(abHostile, 22, static_cast<std::uint32_t>(-1024));
  Put16(abHostile, 28, 32);
  std::vector<std::uint8_t> abPalette = MakeBmp(4, 4, 8, false, [](int, int) { return 0u; }, {0});
  Put32(abPalette, 46, 0xFFFFFFFF);  // more colours than the file holds
  abPalette.resize(14 + 40 + 8);

  struct Case {
    const char* szName;
    std::vector<std::uint8_t> ab;
    std::string strMessage;
  };
  // Every refusal keeps its first line, then names the file and says what is wrong with it
  // (in the first line already for the kinds of picture not read).
  const std::string strPath = PathOf("p.bmp");
  auto said = [&](const char* szFirst, const std::string& strWhy) {
    return std::string(szFirst) + "\n" + strPath + (strWhy.empty() ? "" : "\n(" + strWhy + ")");
  };
  const std::vector<Case> aCases = {
      {"ten bytes", std::vector<std::uint8_t>(good.begin(), good.begin() + 10),
       said(kszMsgBmpShort, "10 バイトで、14 バイトのファイルヘッダーに足りません")},
      {"not BM", abNotBm, said(kszMsgBmpNotBitmap, "先頭の２バイトが \"BM\" ではありません")},
      // 4 x 4 x 24 bits: rows of 12 bytes from byte 54, 102 bytes in all.
      {"one byte short", abCut,
       said(kszMsgBmpReadError, "画素データは 54 バイト目から 48 バイトですが、ファイルは 101 バイトです")},
      {"hostile size", abHostile,
       said(kszMsgBmpReadError,
            "画素データは 54 バイト目から 4194304 バイトですが、ファイルは 102 バイトです")},
      {"palette past the end", abPalette,
       said(kszMsgBmpReadError, "256 色のカラーテーブルの途中で終わっています")},
      {"RLE", abRle, said(FormatText(kszMsgBmpUnsupported, "圧縮（RLE）された画像").c_str(), "")},
      {"1025 wide", abWide,
       said(FormatText(kszMsgBmpTooLarge, "1025×4 ピクセル（読み込めるのは 1024×1024 ピクセルまで）")
                .c_str(),
            "")},
  };
  for (const Case& c : aCases) {
    m_platform.m_aMessages.clear();
    EXPECT_FALSE(ImportBmpFile(Write(c.ab))) << c.szName;
    EXPECT_EQ(Messages(), (std::vector<RecordedMessage>{{c.strMessage, kszAppCaption}})) << c.szName;
    EXPECT_TRUE(Snapshot() == abBefore) << c.szName;
  }
  // Files that cannot be read at all: the reason is the system's.
  for (const auto& c : {std::pair<std::string, std::string>{PathOf("missing.bmp"),
                                                            "No such file or directory"},
                        {m_dir.string(), "not a regular file"}}) {
    m_platform.m_aMessages.clear();
    EXPECT_FALSE(ImportBmpFile(c.first));
    EXPECT_EQ(Messages(), (std::vector<RecordedMessage>{
                              {std::string(kszMsgBmpReadError) + "\n" + c.first + "\n(" +
                                   c.second + ")",
                               kszAppCaption}}));
  }
  EXPECT_TRUE(Snapshot() == abBefore);

  // A picture one line high counts straight to 100 (no division by zero); a 1024 x 1024
  // picture fills the plane exactly.
  ASSERT_TRUE(ImportBmpFile(Write(MakeBmp(7, 1, 24, false, [](int, int) { return 0u; }))));
  EXPECT_EQ(m_platform.m_canvas.m_aTexts.back().strText, "100％");
  ASSERT_TRUE(ImportBmpFile(Write(MakeBmp(1024, 1024, 24, true, [](int x, int y) {
    return static_cast<std::uint32_t>(x ^ y) & 0xFF;
  }))));
  EXPECT_EQ(g_aPixel[1023][1000].abBand[0], (1023 ^ 1000) & 0xFF);
  EXPECT_EQ(g_bWindowHasFiles, 0);  // nothing behind these bands to scroll over
}

TEST_F(BmpTest, VegetationIndexBand) {
  // Every pair against the formula in double precision, computed in this order and truncated.
  int nWrong = 0;
  for (int b3 = 0; b3 < 256; ++b3) {
    for (int b4 = 0; b4 < 256; ++b4) {
      const int nSum = b4 + b3 == 0 ? 1 : b4 + b3;
      double d = static_cast<double>(b4 - b3) / nSum;
      d = d * 100;
      d = d + 100;
      nWrong += NdviValue(b3, b4) != static_cast<int>(d);
    }
  }
  EXPECT_EQ(nWrong, 0);
  for (auto [b3, b4, n] : {std::tuple{0, 0, 100}, {0, 255, 200}, {255, 0, 0}, {1, 2, 133},
                           {2, 1, 66}, {1, 3, 150}, {49, 51, 102}}) {
    EXPECT_EQ(NdviValue(b3, b4), n) << b3 << ", " << b4;
  }

  MakeScene(300, 20, 7, Sensor::TmCeos, [](int x, int y, int b) { return (x * b + y) % 256; });
  std::memset(g_aszBandHeader[7], 0x42, 4);
  CreateNdviBand();
  EXPECT_EQ(g_nLastBand, 7);
  EXPECT_EQ(g_aPixel[299][19].abBand[7], NdviValue(g_aPixel[299][19].abBand[2], g_aPixel[299][19].abBand[3]));
  // Band 8's histogram is counted with the band; all eight equal a plain recount.
  const std::vector<std::uint32_t> anCounted(&g_anBandHist[0][0], &g_anBandHist[0][0] + 8 * 256);
  RecomputeBandHistogramsPlain();
  EXPECT_TRUE(anCounted == std::vector<std::uint32_t>(&g_anBandHist[0][0], &g_anBandHist[0][0] + 8 * 256));
  EXPECT_EQ(g_abUseBand[7], 1);
  EXPECT_EQ(g_aszBandHeader[7][0], 0x42);           // band 8's header is not touched
  EXPECT_TRUE(m_platform.m_aMessages.empty());

  // A second run (eight bands) and a three-band scene: the warning, nothing changes.
  const std::vector<std::uint8_t> abEight = Snapshot();
  CreateNdviBand();
  EXPECT_TRUE(Snapshot() == abEight);
  MakeScene(30, 20, 3, Sensor::Etm6921, [](int, int, int) { return 9; });
  const std::vector<std::uint8_t> abThree = Snapshot();
  m_platform.m_aMessages.clear();
  CreateNdviBand();
  EXPECT_TRUE(Snapshot() == abThree);
  EXPECT_EQ(Messages(),
            (std::vector<RecordedMessage>{{"全バンド（Band1～7）が必要です", "Warning in Landsat TM"}}));
}
