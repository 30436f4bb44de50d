// "geolumen classify": the whole sample scene equals its window classification; refused inputs
// and failed outputs leave no file; four window jobs under GNU parallel, joined by gdalbuildvrt,
// equal one run.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "classification/messages.h"
#include "cli_fixture.h"
#include "support/geotiff_file.h"
#include "support/scene_model.h"

namespace {


class ClassifyCliTest : public CliTest {
 protected:
  // The synthetic scene (900 x 700) and its model, in the test's folder.
  void SetUp() override {
    CliTest::SetUp();
    m_strScene = WriteTestGeoTiff(PathOf("scene.tif"), 900, 700, 3, GDT_UInt16, SceneValue);
    m_strModel = PathOf("model.json");
    std::string strReason;
    ASSERT_TRUE(WriteSignatureFile(m_strModel, SceneSignature(), strReason)) << strReason;
  }
  std::vector<std::string> FolderFiles() const {
    std::vector<std::string> astr;
    for (const auto& entry : std::filesystem::directory_iterator(m_dir)) {
      astr.push_back(entry.path().filename().string());
    }
    std::sort(astr.begin(), astr.end());
    return astr;
  }
  static bool HasProgram(const char* szName) {
    return std::system(("command -v " + std::string(szName) + " >/dev/null 2>&1").c_str()) == 0;
  }
  std::string m_strScene, m_strModel;
};

}  // namespace

TEST_F(ClassifyCliTest, TheWholeSampleSceneEqualsItsWindowClassification) {
  if (!std::filesystem::exists(kSample)) GTEST_SKIP() << "the sample scene was not fetched";
  const std::string strModel = PathOf("m.json"), strWindow = PathOf("w.tif"),
                    strWhole = PathOf("whole.tif");
  ASSERT_EQ(RunProgram(TrainSampleArgs(kSample, strModel, strWindow)), kExitOk);
  const Run run = RunHere({"classify", "--raster", kSample, "--signatures", strModel, "--out",
                           strWhole, "--no-progress"});
  ASSERT_EQ(run.nStatus, kExitOk) << run.strErr;
  EXPECT_EQ(run.strErr, "");
  TestRaster window, whole;
  ReadTestRaster(strWindow, window);
  ReadTestRaster(strWhole, whole);
  ASSERT_EQ(window.nWidth, 349);
  ASSERT_EQ(whole.nWidth, window.nWidth);
  ASSERT_EQ(whole.nHeight, window.nHeight);
  EXPECT_EQ(whole.ab, window.ab);
  EXPECT_EQ(std::vector<double>(whole.adTransform, whole.adTransform + 6),
            std::vector<double>(window.adTransform, window.adTransform + 6));
  EXPECT_EQ(whole.strWkt, window.strWkt);
  for (int c = 1; c <= 3; ++c) {
    EXPECT_STREQ(GDALGetRasterCategoryNames(GDALGetRasterBand(whole.h, 1))[c],
                 GDALGetRasterCategoryNames(GDALGetRasterBand(window.h, 1))[c]);
  }
}

TEST_F(ClassifyCliTest, TheUsageNamesItAndProgressShowsWhenAsked) {
  EXPECT_NE(RunHere({"--help"}).strOut.find("geolumen classify --raster FILE... --signatures"),
            std::string::npos);
  for (const std::vector<std::string>& astrArgs :
       {std::vector<std::string>{"classify", "--raster", m_strScene, "--out", PathOf("a.tif")},
        {"classify", "--raster", m_strScene, "--signatures", m_strModel, "--out", PathOf("a.png")},
        {"classify", "--raster", m_strScene, "--signatures", m_strModel, "--out", PathOf("a.tif"),
         "--window", "0,0,0,5"}}) {
    EXPECT_EQ(RunHere(astrArgs).nStatus, kExitUsage) << astrArgs.back();
  }
  const Run shown = RunHere({"classify", "--raster", m_strScene, "--signatures", m_strModel,
                             "--out", PathOf("a.tif"), "--progress"});
  EXPECT_EQ(shown.nStatus, kExitOk);
  EXPECT_NE(shown.strErr.find("] 700 / 700 rows"), std::string::npos) << shown.strErr;
  const Run quiet = RunHere({"classify", "--raster", m_strScene, "--signatures", m_strModel,
                             "--out", PathOf("b.tif"), "--no-progress"});
  EXPECT_EQ(quiet.nStatus, kExitOk);
  EXPECT_EQ(quiet.strErr, "");
}

TEST_F(ClassifyCliTest, RefusedInputsAndFailedOutputsLeaveNoFile) {
  const std::string strTwoBands =
      WriteTestGeoTiff(PathOf("two.tif"), 900, 700, 2, GDT_UInt16, SceneValue);
  Signature sig = SceneSignature();
  sig.nBands = 4;
  std::string strReason;
  ASSERT_TRUE(WriteSignatureFile(PathOf("four.json"), sig, strReason));
  sig = SceneSignature();
  sig.aRule[2].bScaled = false;  // band 3 taken as 8-bit values
  ASSERT_TRUE(WriteSignatureFile(PathOf("bytes.json"), sig, strReason));
  sig = SceneSignature();
  sig.aCategories[1].bValid = false;
  ASSERT_TRUE(WriteSignatureFile(PathOf("invalid.json"), sig, strReason));
  std::ofstream(PathOf("bad.json")) << "{}";
  std::filesystem::create_directory(PathOf("folder.tif"));
  ASSERT_EQ(mkfifo(PathOf("pipe.tif").c_str(), 0600), 0);
  const std::vector<std::string> astrBefore = FolderFiles();

  struct Case {
    std::string strRaster, strModel, strOut, strWindow;
    int nStatus;
    std::string strMessage;
  } const aCases[] = {
      {PathOf("none.tif"), m_strModel, "out.tif", "", kExitImportFailed, "cannot open " + PathOf("none.tif")},
      // Refused before GDAL opens it: a named pipe would keep the open waiting.
      {PathOf("pipe.tif"), m_strModel, "out.tif", "", kExitImportFailed, "cannot open " + PathOf("pipe.tif") + ": a named pipe, not a regular file"},
      {strTwoBands, m_strModel, "out.tif", "", kExitImportFailed, "the signatures use band 3, but the scene (" + strTwoBands + ") has 2 bands"},
      {m_strScene, PathOf("four.json"), "out.tif", "", kExitImportFailed, "trained on a scene of 4"},
      {m_strScene, PathOf("bytes.json"), "out.tif", "", kExitImportFailed, "band 3 (" + m_strScene + ") holds UInt16 values"},
      {m_strScene, PathOf("invalid.json"), "out.tif", "", kExitImportFailed, "category 5 of the signatures is not valid"},
      {m_strScene, PathOf("bad.json"), "out.tif", "", kExitImportFailed, "シグネチャを読み込めません。"},
      // Several multi-band files: bands are not taken from each one's first.
      {m_strScene + "\n" + m_strScene, m_strModel, "out.tif", "", kExitImportFailed,
       m_strScene + " has 3 bands; bands come from one file with all of them"},
      {m_strScene, m_strModel, "out.tif", "800,0,101,700", kExitImportFailed, "the window 800,0,101,700 does not lie within the scene of 900 x 700"},
      {m_strScene, m_strModel, "missing/out.tif", "", kExitOutputFailed, "cannot write " + PathOf("missing/out.tif") + ": No such file or directory"},
      {m_strScene, m_strModel, "folder.tif", "", kExitOutputFailed, "not a regular file"},
  };
  for (const Case& c : aCases) {
    // A case may give several raster files, a line each.
    std::vector<std::string> astrArgs = {"classify", "--raster"};
    for (std::size_t nAt = 0, nEnd = 0; nAt <= c.strRaster.size(); nAt = nEnd + 1) {
      nEnd = std::min(c.strRaster.find('\n', nAt), c.strRaster.size());
      astrArgs.push_back(c.strRaster.substr(nAt, nEnd - nAt));
    }
    astrArgs.insert(astrArgs.end(), {"--signatures", c.strModel, "--out", PathOf(c.strOut)});
    if (!c.strWindow.empty()) astrArgs.insert(astrArgs.end(), {"--window", c.strWindow});
    const Run run = RunHere(astrArgs);
    EXPECT_EQ(run.nStatus, c.nStatus) << c.strMessage;
    EXPECT_NE(run.strErr.find(c.strMessage), std::string::npos) << run.strErr;
    EXPECT_EQ(FolderFiles(), astrBefore) << c.strMessage;
  }

  // A disk that fills half way (the file size limit of the shell that runs it), and a folder
  // that takes no files where permissions count (not for root).
  const std::string strErr = PathOf("err.txt");
  const int nRaw = std::system(("trap '' XFSZ; ulimit -f 10; '" GEOLUMEN_EXECUTABLE "' classify --raster '" +
                                m_strScene + "' --signatures '" + m_strModel + "' --out '" +
                                PathOf("out.tif") + "' 2> '" + strErr + "'").c_str());
  EXPECT_EQ(WIFEXITED(nRaw) ? WEXITSTATUS(nRaw) : -1, kExitOutputFailed);
  std::ifstream in(strErr);
  const std::string strText(std::istreambuf_iterator<char>(in), {});
  EXPECT_EQ(strText.rfind("geolumen: cannot write " + PathOf("out.tif") + ": ", 0), 0u) << strText;
  EXPECT_EQ(std::count(strText.begin(), strText.end(), '\n'), 1) << strText;
  std::filesystem::remove(strErr);
  EXPECT_EQ(FolderFiles(), astrBefore);
  if (::geteuid() != 0) {
    std::filesystem::permissions(PathOf("folder.tif"), std::filesystem::perms::owner_read |
                                                           std::filesystem::perms::owner_exec);
    EXPECT_EQ(RunHere({"classify", "--raster", m_strScene, "--signatures", m_strModel, "--out",
                       PathOf("folder.tif/out.tif")}).nStatus,
              kExitOutputFailed);
    EXPECT_TRUE(std::filesystem::is_empty(PathOf("folder.tif")));
  }
}

TEST_F(ClassifyCliTest, QuarterJobsUnderGnuParallelJoinToTheSingleRun) {
  if (!HasProgram("parallel") || !HasProgram("gdalbuildvrt")) {
    GTEST_SKIP() << "GNU parallel or gdalbuildvrt is not installed (packages parallel, gdal-bin)";
  }
  const std::string strWhole = PathOf("whole.tif");
  ASSERT_EQ(RunProgram({"classify", "--raster", m_strScene, "--signatures", m_strModel, "--out",
                        strWhole}),
            kExitOk);
  // Quarters of uneven sizes, each job writing q1.tif .. q4.tif, then one virtual mosaic.
  const std::string strCommand =
      "cd '" + m_dir.string() + "' && parallel --will-cite --halt now,fail=1 '" GEOLUMEN_EXECUTABLE
      "' classify --raster scene.tif --signatures model.json --window {} --out q{#}.tif "
      "::: 0,0,413,290 413,0,487,290 0,290,413,410 413,290,487,410 && "
      "gdalbuildvrt -q joined.vrt q1.tif q2.tif q3.tif q4.tif";
  ASSERT_EQ(std::system(strCommand.c_str()), 0);
  TestRaster whole, joined;
  ReadTestRaster(strWhole, whole);
  ReadTestRaster(PathOf("joined.vrt"), joined);
  ASSERT_EQ(joined.nWidth, 900);
  ASSERT_EQ(joined.nHeight, 700);
  EXPECT_EQ(joined.ab, whole.ab);
  EXPECT_EQ(std::vector<double>(joined.adTransform, joined.adTransform + 6),
            std::vector<double>(whole.adTransform, whole.adTransform + 6));
}
