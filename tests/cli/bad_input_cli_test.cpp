// Bad input through the built program: each refusal has its exit status and one message that
// names the file, GDAL speaks only through lines of ours, no output is written, and a named
// pipe never makes the program wait.
#include <sys/stat.h>

#include <cmath>
#include <filesystem>
#include <fstream>

#include "cli_fixture.h"
#include "core/text_format.h"
#include "import/messages.h"
#include "support/geotiff_file.h"

namespace {

class BadInputCliTest : public CliTest {
 protected:
  struct Result {
    int nStatus;
    std::string strErr;
  };
  // The built program under a time limit (status 124 when it had to be stopped).
  Result RunBuilt(const std::vector<std::string>& astrArgs) {
    const std::string strErr = PathOf("err.txt");
    std::string strCommand = "timeout 20 env -u DISPLAY -u WAYLAND_DISPLAY '" GEOLUMEN_EXECUTABLE "'";
    for (const std::string& str : astrArgs) strCommand += " '" + str + "'";
    strCommand += " >/dev/null 2>'" + strErr + "'";
    const int nRaw = std::system(strCommand.c_str());
    std::ifstream in(strErr);
    Result result{WIFEXITED(nRaw) ? WEXITSTATUS(nRaw) : -1,
                  std::string(std::istreambuf_iterator<char>(in), {})};
    in.close();
    std::filesystem::remove(strErr);
    return result;
  }
  std::vector<std::string> Export(std::vector<std::string> astrScene,
                                  const std::vector<std::string>& astrMore = {}) {
    astrScene.insert(astrScene.begin(), "export");
    astrScene.insert(astrScene.end(), astrMore.begin(), astrMore.end());
    astrScene.insert(astrScene.end(), {"--product", "composite", "--out", PathOf("out.png")});
    return astrScene;
  }
  // A message box as the command line prints it: "caption: text", lines joined by spaces.
  static std::string Line(const std::string& strCaption, std::string strText) {
    std::replace(strText.begin(), strText.end(), '\n', ' ');
    return strCaption + ": " + strText + "\n";
  }
};

// A 4 x 4 TIFF of four 8-bit samples called RGB without saying what the fourth is: GDAL opens
// it and warns ("Sum of Photometric type-related color channels and ExtraSamples doesn't
// match SamplesPerPixel").
void WriteTiffGdalWarnsAbout(const std::string& strPath) {
  std::string str("II*\0\x08\0\0\0", 8);
  auto put16 = [&](unsigned n) { str += static_cast<char>(n & 0xFF), str += static_cast<char>(n >> 8); };
  auto put32 = [&](unsigned n) { put16(n & 0xFFFF), put16(n >> 16); };
  const unsigned anTags[][3] = {{256, 3, 4}, {257, 3, 4}, {258, 3, 8},  {259, 3, 1},
                                {262, 3, 2}, {273, 4, 0}, {277, 3, 4},  {278, 3, 4},
                                {279, 4, 64}, {284, 3, 1}};
  const unsigned nPixels = 8 + 2 + 10 * 12 + 4;
  put16(10);
  for (const auto& tag : anTags) {
    put16(tag[0]);
    put16(tag[1]);
    put32(1);
    const unsigned nValue = tag[0] == 273 ? nPixels : tag[2];
    if (tag[1] == 3) {
      put16(nValue);
      put16(0);
    } else {
      put32(nValue);
    }
  }
  put32(0);
  for (int i = 0; i < 64; ++i) str += static_cast<char>(i * 7);
  std::ofstream(strPath, std::ios::binary) << str;
}

}  // namespace

// What the logic tests check message by message, end to end once: a named pipe refused at
// once, offsets outside the scene refused like a dialog field, --offset where it means nothing.
TEST_F(BadInputCliTest, RefusedScenesExitWithOneMessageAndWriteNothing) {
  const std::string strThree = WriteTestGeoTiff(PathOf("three.tif"), 300, 200, 3, GDT_Byte,
                                                [](int x, int, int b) { return x + b; });
  const std::string strFifo = PathOf("pipe.tif");
  ASSERT_EQ(mkfifo(strFifo.c_str(), 0600), 0);
  const struct {
    std::vector<std::string> astrArgs;
    int nStatus;
    std::string strErr;
  } aCases[] = {
      {Export({"--raster", strFifo}), kExitImportFailed,
       Line(kszCapRaster, FormatText(kszMsgRasterNotRegular, strFifo.c_str(), "a named pipe"))},
      // 300 x 200 in a 300 x 200 window: the window has one place.
      {Export({"--raster", strThree}, {"--offset", "2147483647,2147483647"}), kExitUsage,
       "Geolumen: --offset X: 0 から 0 までの整数を入力してください。\n"},
      {Export({"--bmp", PathOf("any.bmp")}, {"--offset", "1,1"}), kExitUsage,
       "geolumen: --offset places the window of band files or a raster scene; a BMP picture or "
       "a work file brings its own\n(geolumen --help shows the usage)\n"},
  };
  for (const auto& c : aCases) {
    const Result result = RunBuilt(c.astrArgs);
    EXPECT_EQ(result.nStatus, c.nStatus) << c.strErr;
    EXPECT_EQ(result.strErr, c.strErr);
    EXPECT_FALSE(std::filesystem::exists(PathOf("out.png"))) << c.strErr;
  }
}

TEST_F(BadInputCliTest, OffsetsAreCheckedAgainstTheSceneAndTheWindow) {
  const std::string strScene = WriteTestGeoTiff(PathOf("scene.tif"), 1500, 1200, 3, GDT_Byte,
                                                [](int x, int y, int b) { return x + y + b; });
  // A 512 x 400 window goes from 0,0 to 988,800; an ETM+ scene of 6921 x 6316 columns and lines
  // takes an 800 x 600 window up to 6121,5716.
  const std::vector<std::string> astrRaster = {"--raster", strScene, "--size", "512x400"};
  EXPECT_EQ(RunBuilt(Export(astrRaster, {"--offset", "988,800"})).nStatus, kExitOk);
  EXPECT_TRUE(std::filesystem::remove(PathOf("out.png")));
  for (const auto& [strOffset, strErr] :
       {std::pair<std::string, std::string>{"989,0", "--offset X: 0 から 988 まで"},
        {"0,801", "--offset Y: 0 から 800 まで"}}) {
    const Result result = RunBuilt(Export(astrRaster, {"--offset", strOffset}));
    EXPECT_EQ(result.nStatus, kExitUsage) << strOffset;
    EXPECT_EQ(result.strErr, "Geolumen: " + strErr + "の整数を入力してください。\n");
  }
  const Result etm = RunBuilt(Export({"--etm6921", PathOf("b1.dat")},
                                     {"--size", "800x600", "--offset", "0,5717"}));
  EXPECT_EQ(etm.nStatus, kExitUsage);
  EXPECT_EQ(etm.strErr, "Geolumen: --offset Y: 0 から 5716 までの整数を入力してください。\n");
  EXPECT_FALSE(std::filesystem::exists(PathOf("out.png")));
}

TEST_F(BadInputCliTest, GdalSpeaksInOneLineOfOursNamingTheFile) {
  // A float band with an infinite pixel is taken without a word from GDAL (it once printed
  // "dfMin and dfMax should be finite" and scaled the band to 0 and 1).
  const std::string strInf = WriteTestGeoTiff(
      PathOf("inf.tif"), 64, 64, 3, GDT_Float32,
      [](int x, int y, int) { return x == 5 && y == 5 ? HUGE_VAL : x + y; });
  const Result inf = RunBuilt(Export({"--raster", strInf}));
  EXPECT_EQ(inf.nStatus, kExitOk);
  EXPECT_EQ(inf.strErr, "");
  EXPECT_TRUE(std::filesystem::remove(PathOf("out.png")));

  // A file GDAL warns about is taken; the warning is one line of ours naming the file.
  const std::string strWarned = PathOf("warned.tif");
  WriteTiffGdalWarnsAbout(strWarned);
  const Result warned = RunBuilt(Export({"--raster", strWarned}));
  EXPECT_EQ(warned.nStatus, kExitOk);
  EXPECT_EQ(warned.strErr.rfind("GDAL, " + strWarned + ": ", 0), 0u) << warned.strErr;
  EXPECT_NE(warned.strErr.find("SamplesPerPixel"), std::string::npos) << warned.strErr;
  EXPECT_EQ(std::count(warned.strErr.begin(), warned.strErr.end(), '\n'), 1) << warned.strErr;
  EXPECT_EQ(warned.strErr.find("Warning 1"), std::string::npos) << warned.strErr;
  EXPECT_TRUE(std::filesystem::remove(PathOf("out.png")));

  // A damaged TIFF: our message, then GDAL's own texts on one line that names the file; no
  // "ERROR 1:" line of GDAL's own.
  const std::string strBroken = PathOf("broken.tif");
  std::ofstream(strBroken, std::ios::binary) << std::string("II*\0\xC8\0\0\0", 8)
                                             << std::string(50, '\0');
  const Result broken = RunBuilt(Export({"--raster", strBroken}));
  EXPECT_EQ(broken.nStatus, kExitImportFailed);
  const std::string strFirst =
      Line(kszCapRaster, FormatText(kszMsgRasterCannotOpen, strBroken.c_str()));
  EXPECT_EQ(broken.strErr.substr(0, strFirst.size()), strFirst) << broken.strErr;
  const std::string strRest = broken.strErr.substr(std::min(strFirst.size(), broken.strErr.size()));
  EXPECT_EQ(strRest.rfind("GDAL, " + strBroken + ": ", 0), 0u) << broken.strErr;
  EXPECT_NE(strRest.find("TIFFReadDirectory"), std::string::npos) << broken.strErr;
  EXPECT_EQ(std::count(strRest.begin(), strRest.end(), '\n'), 1) << broken.strErr;
  EXPECT_EQ(broken.strErr.find("ERROR"), std::string::npos) << broken.strErr;
  EXPECT_FALSE(std::filesystem::exists(PathOf("out.png")));
}
