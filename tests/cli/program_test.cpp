// The built program end to end, without a display.
#include <string>
#include <vector>

#include "cli/cli_fixture.h"
#include "output/report.h"
#include "products/coarse.h"
#include "products/composite.h"
#include "products/fine.h"

TEST_F(CliTest, ProgramReportPrintsTheReportLines) {
  const std::vector<std::string> astrFiles = FloppyScene(3);
  const Run run = RunProgram(With(With({"report"}, SceneArgs(astrFiles)),
                                  {"--cutoff", "0", "--rank-library", "1"}));
  ASSERT_EQ(run.nStatus, kExitOk) << run.strErr;
  EXPECT_EQ(run.strErr, "");

  LoadDirectly(astrFiles);
  ApplyCutOffDialog(0);
  ApplyRankLibrary(1);
  std::string strExpected;
  for (const ReportLine& line : ReportLines()) strExpected += line.strText + "\n";
  EXPECT_EQ(run.strOut, strExpected);
  EXPECT_EQ(run.strOut.rfind("基本情報\nセンサNo.1  Ｘ軸：512  Ｙ軸：400  Ｚ軸：3\n合成画像\n", 0), 0u);
}

TEST_F(CliTest, ProgramExportOfEachProductEqualsTheLogicsPicture) {
  const std::vector<std::string> astrFiles = FloppyScene(5);
  const std::string strPng = PathOf("out.png");

  Run run = RunProgram(With(With({"export"}, SceneArgs(astrFiles)),
                            {"--false-colour", "--cutoff", "5", "--product", "composite",
                             "--out", strPng}));
  ASSERT_EQ(run.nStatus, kExitOk) << run.strErr;
  LoadDirectly(astrFiles);
  OnFalseColour();
  ApplyCutOffDialog(5);
  OnCompositeView();
  ExpectPictureEqualsOffscreen(strPng);

  run = RunProgram(With(With({"export"}, SceneArgs(astrFiles)),
                        {"--natural-colour", "--coarse-band", "2", "--rank-library", "3",
                         "--rank-colours", "3", "--rank-toggle", "4", "--product", "coarse",
                         "--out", strPng}));
  ASSERT_EQ(run.nStatus, kExitOk) << run.strErr;
  LoadDirectly(astrFiles);
  OnNaturalColour();
  SelectCoarseBand(2);
  ApplyRankLibrary(3);
  ApplyCoarseColourLibrary(3);
  ToggleRankColour(4);
  OnCoarseView();
  ExpectPictureEqualsOffscreen(strPng);

  run = RunProgram(With(With({"export"}, SceneArgs(astrFiles)),
                        {"--fine-band", "5", "--point-values", "5,20,40,60,80,100,120,140",
                         "--point-colours", "3", "--spans-invert", "--span-toggle", "2",
                         "--product", "fine", "--out", strPng}));
  ASSERT_EQ(run.nStatus, kExitOk) << run.strErr;
  LoadDirectly(astrFiles);
  SelectFineBand(5);
  const int anPoint[9] = {0, 20, 40, 60, 80, 100, 120, 140, 255};
  ApplyPointValueDialog(5, anPoint);
  ApplyFineColourLibrary(3);
  OnSpansInvert();
  ToggleFineSpan(2);
  OnFineView();
  ExpectPictureEqualsOffscreen(strPng);
}

TEST_F(CliTest, ProgramExportWithPanelPaintsPictureAndPanel) {
  const std::vector<std::string> astrFiles = FloppyScene(3);
  const std::string strPng = PathOf("panel.png");
  const Run run = RunProgram(With(With({"export"}, SceneArgs(astrFiles)),
                                  {"--product", "composite", "--out", strPng, "--panel"}));
  ASSERT_EQ(run.nStatus, kExitOk) << run.strErr;
  const DecodedPng png = ReadStoredPng(strPng);
  ASSERT_EQ(png.strError, "");
  EXPECT_EQ(png.nWidth, 512 + 260);
  EXPECT_GE(png.nHeight, 400);

  LoadDirectly(astrFiles);
  OnCompositeView();
  // The picture part is the off-screen image; the panel strip holds drawing (not all white).
  bool bPanelDrawn = false;
  for (int y = 0; y < png.nHeight; ++y) {
    for (int x = 0; x < png.nWidth; ++x) {
      const std::uint32_t px = png.anPixels[static_cast<std::size_t>(y) * png.nWidth + x];
      if (x < 512 && y < 400) {
        ASSERT_EQ(px, OffscreenPixel(x, y)) << x << "," << y;
      } else if (x > 512 && px != 0xFFFFFFFFu) {
        bPanelDrawn = true;
      }
    }
  }
  EXPECT_TRUE(bPanelDrawn);
}
