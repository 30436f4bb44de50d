// The built program end to end, without a display.
#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <filesystem>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli_fixture.h"
#include "classification/categories.h"
#include "classification/category_panels.h"
#include "core/commands.h"
#include "core/view.h"
#include "histograms/detailed_histogram.h"
#include "resources/resource.h"
#include "products/coarse.h"
#include "products/composite.h"
#include "products/composite_panel.h"
#include "products/fine.h"
#include "products/fine_panel.h"
#include "histograms/histogram_settings.h"

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

namespace {

// What a command prints on its standard output.
std::string CommandOutput(const std::string& strCommand) {
  std::string str;
  if (FILE* pPipe = popen(strCommand.c_str(), "r")) {
    char ab[4096];
    for (std::size_t n; (n = std::fread(ab, 1, sizeof ab, pPipe)) > 0;) str.append(ab, n);
    pclose(pPipe);
  }
  return str;
}

// Blanks differ between a PDF's text and ours, and the PDF's fonts map the full-width tilde to
// the wave dash: compare without blanks and with one tilde.
std::string Comparable(std::string str) {
  std::erase(str, ' ');
  for (std::size_t i; (i = str.find("〜")) != std::string::npos;) str.replace(i, 3, "～");
  return str;
}

}  // namespace

TEST_F(CliTest, ProgramPrintWritesOnePageWhoseTextIsTheReportInOrder) {
  const std::vector<std::string> astrFiles = FloppyScene(4);
  const std::string strPdf = PathOf("report.pdf");
  const std::vector<std::string> astrSettings = {"--false-colour", "--print-step", "5"};
  std::vector<std::string> astrArgs = Args("print", astrFiles, astrSettings);
  astrArgs.insert(astrArgs.end(), {"--pdf", strPdf});
  if (!GEOLUMEN_HAS_DESKTOP) {
    EXPECT_EQ(RunProgram(astrArgs), kExitUsage) << "print needs the desktop's fonts";
    return;
  }
  ASSERT_EQ(RunProgram(astrArgs), kExitOk);

  const Run report = RunHere(Args("report", astrFiles, astrSettings));
  ASSERT_EQ(report.nStatus, kExitOk);
  EXPECT_NE(CommandOutput("pdfinfo '" + strPdf + "'").find("Pages:           1\n"), std::string::npos);
  const std::string strText = Comparable(CommandOutput("pdftotext -layout '" + strPdf + "' -"));
  std::istringstream lines(report.strOut);
  std::size_t nAt = 0;
  int nLines = 0;
  for (std::string strLine; std::getline(lines, strLine); ++nLines) {
    const std::size_t nFound = strText.find(Comparable(strLine), nAt);
    ASSERT_NE(nFound, std::string::npos) << "line " << nLines + 1 << " missing or out of order: " << strLine;
    nAt = nFound + 1;
  }
  EXPECT_EQ(nLines, 2 + 5 + 1 + 4 + 1 + 4 + 1 + 16);

  // Step 5 at 300 dots per inch: L = 50 dots = 12 points; a line's top lies at row x L.
  const std::string strBoxes = CommandOutput("pdftotext -bbox '" + strPdf + "' -");
  auto top = [&](const std::string& strWord) {
    const std::size_t nWord = strBoxes.find(">" + strWord + "<");
    const std::size_t nAttr = strBoxes.rfind("yMin=\"", nWord);
    return nWord == std::string::npos ? -1.0 : std::stod(strBoxes.substr(nAttr + 6));
  };
  EXPECT_NEAR(top("基本情報"), 12.0, 0.1);
  EXPECT_NEAR(top("合成画像"), 48.0, 0.1);
  EXPECT_NEAR(top("カテゴリー画像"), 360.0, 0.1);

  // A folder that does not exist: exit 1 and no file; no --pdf, or a step out of range: exit 2.
  astrArgs.back() = PathOf("missing/report.pdf");
  EXPECT_EQ(RunProgram(astrArgs), kExitOutputFailed);
  EXPECT_FALSE(std::filesystem::exists(PathOf("missing")));
  EXPECT_EQ(RunProgram(Args("print", astrFiles, {})), kExitUsage);
  EXPECT_EQ(RunProgram(Args("print", astrFiles, {"--print-step", "4", "--pdf", strPdf})), kExitUsage);
}

namespace {

// The exit status of a shell command line (-1 when it ended by a signal).
int ShellStatus(const std::string& strCommand) {
  const int nRaw = std::system(("sh -c '" + strCommand + "'").c_str());
  return WIFEXITED(nRaw) ? WEXITSTATUS(nRaw) : -1;
}

std::string Quoted(const std::vector<std::string>& astr) {
  std::string str;
  for (const std::string& s : astr) str += " \"" + s + "\"";
  return str;
}

}  // namespace

// Outputs that are not regular files are refused; an output that cannot be written completely
// (a file size limit stands for a full disk) leaves the old file as it was and no temporary.
TEST_F(CliTest, ProgramOutputsAreRefusedOrWrittenWholeNeverHalf) {
  const std::vector<std::string> f = FloppyScene(4);
  const std::string strProgram = "env -u DISPLAY -u WAYLAND_DISPLAY " GEOLUMEN_EXECUTABLE;
  const std::string strFifo = PathOf("fifo.png");
  ASSERT_EQ(::mkfifo(strFifo.c_str(), 0600), 0);
  for (const std::vector<std::string>& astrArgs :
       {Args("export", f, {"--product", "composite", "--out", strFifo}),
        Args("print", f, {"--pdf", strFifo}), Args("report", f, {"--save", strFifo}),
        Args("export", f, {"--product", "composite", "--out", "/dev/null"})}) {
    const bool bNeedsDesktop = astrArgs[0] == "print" && !GEOLUMEN_HAS_DESKTOP;
    EXPECT_EQ(ShellStatus("timeout 20 " + strProgram + Quoted(astrArgs) + " 2>/dev/null"),
              bNeedsDesktop ? kExitUsage : 1)
        << astrArgs[0];
  }

  for (const char* szName : {"old.png", "old.tif", "old.pdf", "old.glw"}) {
    if (!GEOLUMEN_HAS_DESKTOP && std::string(szName) == "old.pdf") continue;  // no print
    const std::string strPath = PathOf(szName);
    std::ofstream(strPath) << "the previous file";
    const std::string strExt = std::filesystem::path(strPath).extension().string();
    const std::vector<std::string> astrArgs =
        strExt == ".pdf"   ? Args("print", f, {"--pdf", strPath})
        : strExt == ".glw" ? Args("report", f, {"--save", strPath})
                           : Args("export", f, {"--product", "composite", "--out", strPath});
    // Writes past 8 blocks fail with EFBIG (the signal that would end the program is ignored).
    EXPECT_EQ(ShellStatus("trap \"\" XFSZ; ulimit -f 8; " + strProgram + Quoted(astrArgs) +
                          " >/dev/null 2>&1"),
              1)
        << szName;
    std::ifstream in(strPath);
    EXPECT_TRUE(std::string(std::istreambuf_iterator<char>(in), {}) == "the previous file") << szName;
  }
  int nTemporary = 0;
  for (const auto& entry : std::filesystem::directory_iterator(m_dir)) {
    nTemporary += entry.path().filename().string().find(".saving-") != std::string::npos;
  }
  EXPECT_EQ(nTemporary, 0);
}

// Standard output that cannot be written is reported; a reader that goes away ends the run
// quietly, not with a signal.
TEST_F(CliTest, ProgramSaysWhenItsOutputCannotBeWritten) {
  const std::vector<std::string> f = FloppyScene(2);
  const std::string strRun = "env -u DISPLAY " GEOLUMEN_EXECUTABLE + Quoted(Args("report", f));
  const std::string strErr = PathOf("err.txt");
  EXPECT_EQ(ShellStatus(strRun + " >/dev/full 2>" + strErr), 1);
  std::ifstream in(strErr);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}),
            "geolumen: cannot write to standard output: No space left on device\n");
  EXPECT_EQ(ShellStatus(strRun + " >&- 2>/dev/null"), 1);
  const int nPiped = ShellStatus("trap \"\" PIPE; " + strRun + " | head -c 1 >/dev/null; exit ${PIPESTATUS:-0}");
  EXPECT_TRUE(nPiped == 0 || nPiped == 1) << nPiped;

  // No display: a word that is no command and no file is a usage error listing the commands;
  // the desktop program says it has nothing to show on.
  const std::string strNoDisplay = "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM " GEOLUMEN_EXECUTABLE;
  EXPECT_EQ(ShellStatus(strNoDisplay + " reprot 2>" + strErr), 2);
  std::ifstream in2(strErr);
  EXPECT_NE(std::string(std::istreambuf_iterator<char>(in2), {}).find("export, report, stats, print"),
            std::string::npos);
  // (A build without the desktop says it has none: a usage error.)
  const int nNoDesktop = GEOLUMEN_HAS_DESKTOP ? 1 : kExitUsage;
  EXPECT_EQ(ShellStatus(strNoDisplay + " 2>/dev/null"), nNoDesktop);
  EXPECT_EQ(ShellStatus(strNoDisplay + " " + f[0] + " 2>/dev/null"), nNoDesktop);
}
