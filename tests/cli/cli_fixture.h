// A fixture for the command line's tests: band files of a floppy scene in a temporary folder,
// runs of the command line in this process or of the built program, and the picture check.
#pragma once

#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "cli/png_reader.h"
#include "core/state.h"
#include "import/import.h"
#include "support/scene_dir.h"

// The sample scene tools/setup.sh fetches (6 bands, 349 x 352, georeferenced).
inline const std::string kSample = GEOLUMEN_SOURCE_DIR "/data/L7_ETMs.tif";

class CliTest : public SceneDirTest {
 protected:
  // Floppy band files 1..nBands (a 512-byte header, 400 lines of 512 bytes): gradients with a
  // band-dependent slope and a little noise, so that histograms spread.
  std::vector<std::string> FloppyScene(int nBands) {
    std::vector<std::string> astr;
    for (int b = 1; b <= nBands; ++b) {
      std::vector<char> ab(512 + 400 * 512, static_cast<char>(b));
      for (int i = 0; i < 400 * 512; ++i) {
        const int x = i % 512, y = i / 512;
        ab[512 + i] = static_cast<char>((x / (b + 1) + y / 3 + 19 * b + ((x * y) % 23)) & 0xFF);
      }
      astr.push_back(PathOf("band" + std::to_string(b) + ".dat"));
      std::ofstream(astr.back(), std::ios::binary).write(ab.data(), static_cast<long>(ab.size()));
    }
    return astr;
  }

  // The same scene loaded through the logic, as the desktop's scene dialog would.
  void LoadDirectly(const std::vector<std::string>& astrFiles) {
    ResetProgramState();
    SatelliteDialogValues values;
    values.nSensor = Sensor::TmFloppy;
    values.nDisplaySize = 0;
    for (std::size_t b = 0; b < astrFiles.size(); ++b) {
      values.abBandSelected[b] = 1;
      values.astrBandPath[b] = astrFiles[b];
    }
    ASSERT_TRUE(ApplyOpenSatellite(values));
  }

  // "COMMAND --tm FILES... SETTINGS..."
  static std::vector<std::string> Args(const std::string& strCommand,
                                       const std::vector<std::string>& astrFiles,
                                       const std::vector<std::string>& astrSettings = {}) {
    std::vector<std::string> astr = {strCommand, "--tm"};
    astr.insert(astr.end(), astrFiles.begin(), astrFiles.end());
    astr.insert(astr.end(), astrSettings.begin(), astrSettings.end());
    return astr;
  }

  // "export" of the sample scene (strSample) with three categories trained (water, forest,
  // town) and classified, the model saved to strModel and the classification to strOut.
  static std::vector<std::string> TrainSampleArgs(const std::string& strSample,
                                                  const std::string& strModel,
                                                  const std::string& strOut) {
    return {"export", "--raster", strSample,
            "--category", "1", "--train-select", "--paint-rect", "290,270,302,282", "--train-update",
            "--category", "2", "--train-select", "--paint-rect", "100,110,112,122", "--train-update",
            "--category", "3", "--train-select", "--paint-rect", "60,300,72,312", "--train-update",
            "--classify-categories", "1,2,3", "--classify", "--save-signatures", strModel,
            "--product", "classification", "--out", strOut};
  }

  struct Run {
    int nStatus;
    std::string strOut, strErr;
  };

  // In this process, on the program state the test sees afterwards.
  static Run RunHere(const std::vector<std::string>& astrArgs) {
    std::ostringstream out, err;
    const int nStatus = RunCommandLine(astrArgs, out, err);
    return {nStatus, out.str(), err.str()};
  }

  // The built program, without a display; its output goes to the test's own, or its standard
  // output to strOutPath when one is given.
  static int RunProgram(const std::vector<std::string>& astrArgs,
                        const std::string& strOutPath = "") {
    std::string strCommand = "env -u DISPLAY -u WAYLAND_DISPLAY '" GEOLUMEN_EXECUTABLE "'";
    for (const std::string& str : astrArgs) strCommand += " '" + str + "'";
    if (!strOutPath.empty()) strCommand += " > '" + strOutPath + "'";
    const int nRaw = std::system(strCommand.c_str());
    return WIFEXITED(nRaw) ? WEXITSTATUS(nRaw) : -1;
  }

  // The picture part of a written PNG equals the off-screen image.
  void ExpectPictureEqualsOffscreen(const std::string& strPng, int nExtraWidth = 0) {
    const DecodedPng png = ReadStoredPng(strPng);
    ASSERT_EQ(png.strError, "");
    EXPECT_EQ(png.nWidth, WindowWidth() + nExtraWidth);
    EXPECT_TRUE(nExtraWidth ? png.nHeight >= WindowHeight() : png.nHeight == WindowHeight());
    int nWrong = 0;
    for (int y = 0; y < WindowHeight(); ++y) {
      for (int x = 0; x < WindowWidth(); ++x) {
        nWrong += png.At(x, y) != (OffscreenPixel(x, y) | 0xFF000000u);
      }
    }
    EXPECT_EQ(nWrong, 0) << "pixels that differ from the off-screen image";
  }

  // The panel beside the picture in a written PNG is the one pfnDrawPanel draws now: every
  // pixel it sets (colour bar, swatches) has its colour, every frame its black border, and
  // every text leaves dark pixels in its place. Glyphs themselves differ between machines.
  void ExpectPanelIn(const std::string& strPng, void (*pfnDrawPanel)()) {
    const DecodedPng png = ReadStoredPng(strPng);
    ASSERT_EQ(png.strError, "");
    CRecordingCanvas& canvas = m_platform.m_canvas;
    canvas.Clear();
    pfnDrawPanel();
    ASSERT_FALSE(canvas.m_mapPixels.empty());
    int nWrong = 0;
    for (const auto& [pt, cr] : canvas.m_mapPixels) {
      nWrong += png.At(pt.first, pt.second) != ScreenPixel(cr);
    }
    EXPECT_EQ(nWrong, 0) << "of " << canvas.m_mapPixels.size() << " panel pixels";
    for (const RecordedRect& rc : canvas.m_aRects) {
      if (rc.crPen != Rgb(0, 0, 0)) continue;
      EXPECT_EQ(png.At(rc.left, rc.top), ScreenPixel(0, 0, 0)) << rc.left << "," << rc.top;
      EXPECT_EQ(png.At(rc.right - 1, rc.bottom - 1), ScreenPixel(0, 0, 0));
    }
    ASSERT_FALSE(canvas.m_aTexts.empty());
    for (const RecordedText& text : canvas.m_aTexts) {
      int nDark = 0;
      for (int y = text.y; y < text.y + text.nHeight && y < png.nHeight; ++y) {
        for (int x = text.x; x < text.x + 8 * static_cast<int>(text.strText.size()) &&
                             x < png.nWidth; ++x) {
          nDark += (png.At(x, y) & 0xFF) < 96;
        }
      }
      EXPECT_GT(nDark, 0) << "no ink for \"" << text.strText << "\" at " << text.x << "," << text.y;
    }
  }
};
