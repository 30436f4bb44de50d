// A fixture for the command line's tests: band files of a floppy scene in a temporary folder,
// runs of the command line in this process or of the built program, and the picture check.
#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "cli/png_reader.h"
#include "core/state.h"
#include "import/import.h"
#include "support/scene_dir.h"

inline std::uint8_t FloppyValue(int nBand, int x, int y) {
  // Gradients with a band-dependent slope and a little noise: spread histograms.
  return static_cast<std::uint8_t>((x / (nBand + 1) + y / 3 + 19 * nBand + ((x * y) % 23)) & 0xFF);
}

class CliTest : public SceneDirTest {
 protected:
  // Floppy band files 1..nBands: a 512-byte header and 400 lines of 512 bytes.
  std::vector<std::string> FloppyScene(int nBands) {
    std::vector<std::string> astr;
    for (int b = 1; b <= nBands; ++b) {
      std::vector<char> ab(512 + 400 * 512, static_cast<char>(b));
      for (int y = 0; y < 400; ++y) {
        for (int x = 0; x < 512; ++x) {
          ab[512 + y * 512 + x] = static_cast<char>(FloppyValue(b, x, y));
        }
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
    values.nSensor = kSensorTmFloppy;
    values.nDisplaySize = 0;
    for (std::size_t b = 0; b < astrFiles.size(); ++b) {
      values.abBandSelected[b] = 1;
      values.astrBandPath[b] = astrFiles[b];
    }
    ASSERT_TRUE(ApplyOpenSatellite(values));
  }

  struct Run {
    int nStatus;
    std::string strOut, strErr;
  };

  // In this process, on the program state the test sees afterwards.
  static Run RunHere(std::vector<std::string> astrArgs) {
    std::ostringstream out, err;
    const int nStatus = RunCommandLine(astrArgs, out, err);
    return {nStatus, out.str(), err.str()};
  }

  // The built program, without a display.
  Run RunProgram(const std::vector<std::string>& astrArgs) {
    std::string strCommand = "env -u DISPLAY -u WAYLAND_DISPLAY '" GEOLUMEN_EXECUTABLE "'";
    for (const std::string& str : astrArgs) strCommand += " '" + str + "'";
    const std::string strOut = PathOf("stdout.txt"), strErr = PathOf("stderr.txt");
    strCommand += " >'" + strOut + "' 2>'" + strErr + "'";
    const int nRaw = std::system(strCommand.c_str());
    auto slurp = [](const std::string& strPath) {
      std::ifstream file(strPath, std::ios::binary);
      std::ostringstream ss;
      ss << file.rdbuf();
      return ss.str();
    };
    return {WIFEXITED(nRaw) ? WEXITSTATUS(nRaw) : -1, slurp(strOut), slurp(strErr)};
  }

  static std::vector<std::string> With(std::vector<std::string> a,
                                       const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
  }

  // The W x H off-screen image equals the picture the program wrote.
  void ExpectPictureEqualsOffscreen(const std::string& strPng) {
    const DecodedPng png = ReadStoredPng(strPng);
    ASSERT_EQ(png.strError, "");
    ASSERT_EQ(png.nWidth, WindowWidth());
    ASSERT_EQ(png.nHeight, WindowHeight());
    for (int y = 0; y < png.nHeight; ++y) {
      for (int x = 0; x < png.nWidth; ++x) {
        ASSERT_EQ(png.anPixels[static_cast<std::size_t>(y) * png.nWidth + x],
                  OffscreenPixel(x, y) | 0xFF000000u)
            << "pixel " << x << "," << y;
      }
    }
  }
};

inline std::vector<std::string> SceneArgs(const std::vector<std::string>& astrFiles) {
  std::vector<std::string> astr = {"--tm"};
  astr.insert(astr.end(), astrFiles.begin(), astrFiles.end());
  return astr;
}

