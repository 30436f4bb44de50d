// The built program end to end, without a display.
#include <functional>
#include <string>
#include <vector>

#include "cli/cli_fixture.h"
#include "classification/categories.h"
#include "classification/category_panels.h"
#include "core/commands.h"
#include "core/view.h"
#include "histograms/composite_panel.h"
#include "histograms/detailed_histogram.h"
#include "resources/resource.h"
#include "histograms/fine_panel.h"
#include "products/coarse.h"
#include "products/composite.h"
#include "products/fine.h"

TEST_F(CliTest, ProgramExportOfEachProductEqualsTheLogicsPicture) {
  const std::vector<std::string> astrFiles = FloppyScene(5);
  const std::string strPng = PathOf("out.png");
  const struct {
    std::vector<std::string> astrSettings;
    std::function<void()> applyDirectly;
  } aCases[] = {
      {{"--false-colour", "--cutoff", "5", "--product", "composite", "--out", strPng},
       [] {
         OnFalseColour();
         ApplyCutOffDialog(5);
         OnCompositeView();
       }},
      {{"--coarse-band", "2", "--rank-library", "3", "--rank-colours", "3",
        "--rank-toggle", "4", "--product", "coarse", "--out", strPng},
       [] {
         SelectSlicedBand(kCoarsePicture, 2);
         ApplyRankLibrary(3);
         ApplySlicedColourLibrary(kCoarsePicture, 3);
         ToggleSlicedPart(kCoarsePicture, 4);
         OnCoarseView();
       }},
      {{"--fine-band", "5", "--point-values", "5,20,40,60,80,100,120,140", "--point-colours", "3",
        "--spans-invert", "--span-toggle", "2", "--product", "fine", "--out", strPng},
       [] {
         SelectSlicedBand(kFinePicture, 5);
         const int anPoint[9] = {0, 20, 40, 60, 80, 100, 120, 140, 255};
         ApplySlicedValues(kFinePicture, 5, anPoint);
         ApplySlicedColourLibrary(kFinePicture, 3);
         InvertSlicedParts(kFinePicture);
         ToggleSlicedPart(kFinePicture, 2);
         OnFineView();
       }},
      {{"--train-select", "--paint-rect", "20,20,40,40", "--train-update", "--category", "3",
        "--paint-rect", "300,200,330,230", "--train-update", "--classify-categories", "1,3",
        "--classify", "--product", "classification", "--out", strPng},
       [] {
         auto paint = [](int x0, int y0, int x1, int y1) {
           for (int y = y0; y <= y1; ++y) {
             for (int x = x0; x <= x1; ++x) OnViewLButtonDown(x, y, false);
           }
         };
         DispatchCommand(ID_TRAINING_SELECT);
         paint(20, 20, 40, 40);
         DispatchCommand(ID_TRAINING_UPDATE);
         DispatchCommand(ID_CATEGORY3);
         paint(300, 200, 330, 230);
         DispatchCommand(ID_TRAINING_UPDATE);
         CategoryOptions options = CurrentCategoryOptions();
         for (int c = 1; c <= 8; ++c) options.abClassify[c] = c == 1 || c == 3 ? 1 : 0;
         ApplyClassifyOptions(options);
         DispatchCommand(ID_CLASSIFY_GENERATE);
         DispatchCommand(ID_CLASSIFY_VIEW);
       }},
  };
  for (const auto& c : aCases) {
    EXPECT_EQ(RunProgram(Args("export", astrFiles, c.astrSettings)), kExitOk);
    LoadDirectly(astrFiles);
    c.applyDirectly();
    ExpectPictureEqualsOffscreen(strPng);
  }
  // With the panel: the picture with the panel strip beside it, one size for every product.
  const std::pair<std::size_t, void (*)()> aPanelCases[] = {
      {0, DrawCompositePanel}, {2, DrawFinePanel}, {3, DrawClassifyPanel}};
  for (const auto& [nCase, pfnDrawPanel] : aPanelCases) {
    std::vector<std::string> astrArgs = Args("export", astrFiles, aCases[nCase].astrSettings);
    astrArgs.push_back("--panel");
    const int nStatus = RunProgram(astrArgs);
    if (!GEOLUMEN_HAS_DESKTOP) {
      EXPECT_EQ(nStatus, kExitUsage) << "--panel needs the desktop's canvas";
      continue;
    }
    EXPECT_EQ(nStatus, kExitOk);
    LoadDirectly(astrFiles);
    aCases[nCase].applyDirectly();
    ExpectPictureEqualsOffscreen(strPng, kPanelExportExtraColumns);
    EXPECT_EQ(ReadStoredPng(strPng).nHeight, kPanelExportMinLines);
    ExpectPanelIn(strPng, pfnDrawPanel);
  }
  // The detailed histogram: the window area with the whole chart, its strips and labels.
  if (GEOLUMEN_HAS_DESKTOP) {
    ASSERT_EQ(RunProgram(Args("export", astrFiles,
                              {"--fine-band", "3", "--hist-kind", "fine", "--hist-type", "area",
                               "--hist-line-width", "3,2", "--hist-cursor", "100", "--product",
                               "histogram", "--out", strPng})),
              kExitOk);
    LoadDirectly(astrFiles);
    DispatchCommand(ID_FINE_BAND3);
    DispatchCommand(ID_FINE_DETAILED_HISTOGRAM);
    DispatchCommand(ID_HIST_AREA);
    g_anHistLineWidth[3] = 2;
    OnViewLButtonDown(200, 0, false);
    EXPECT_EQ(g_nHistCursor, 100);
    const DecodedPng png = ReadStoredPng(strPng);
    EXPECT_EQ(png.nWidth, 512 + kPanelExportExtraColumns);
    EXPECT_EQ(png.nHeight, kPanelExportMinLines);
    ExpectPanelIn(strPng, DrawDetailedHistogram);
    EXPECT_EQ(png.At(200, 150), ScreenPixel(0, 0, 0)) << "the cursor";
  }
}
