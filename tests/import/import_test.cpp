#include <sys/stat.h>

#include <cstring>
#include <tuple>

#include "core/state.h"
#include "core/text_format.h"
#include "import/import.h"
#include "import/messages.h"
#include "import/readers.h"
#include "import/scene_files.h"
#include "import/scrolling.h"
#include "products/composite_settings.h"

namespace {
const RecordedMessage kFailure{kszMsgCheckFiles, kszCapThisData};
const std::vector<RecordedMessage> kOnlyFailure{kFailure};
}  // namespace

using ReaderTest = ImportTest;

class ImportDriverTest : public ImportTest {
 protected:
  // The run must fail with these messages, in order, then the common failure message.
  void ExpectFailure(const SatelliteDialogValues& values, std::vector<RecordedMessage> aExpected) {
    m_platform.m_aMessages.clear();
    EXPECT_FALSE(ApplyOpenSatellite(values));
    aExpected.push_back(kFailure);
    EXPECT_EQ(Messages(), aExpected);
  }
};

TEST_F(ImportDriverTest, FailuresReportEachProblemInOrderAndLoadNothing) {
  ExpectFailure(CurrentSatelliteDialogValues(), {{kszMsgNoSensor, kszCapNoSensor},
                                                 {kszMsgNoDisplaySize, kszCapNoSensor}});
  EXPECT_EQ(g_nDisplayMode, DisplayMode::NoData);
  EXPECT_EQ(m_platform.m_nInitialUpdates, 0);
  EXPECT_EQ(m_platform.m_aCursors, (std::vector<BusyCursor>{BusyCursor::AppStarting, BusyCursor::Arrow}));

  // A gap invalidates every later band, and the dialog remembers that.
  auto values = Run(Sensor::Mss, 0, {FloppyBand(1), FloppyBand(2), "", FloppyBand(4)});
  values.abBandSelected[2] = 0;
  ExpectFailure(values, {{"Band4は無効になります", "Error in Band4"}});
  EXPECT_EQ(CurrentSatelliteDialogValues().abBandSelected[1], 1);
  EXPECT_EQ(CurrentSatelliteDialogValues().abBandSelected[3], 0);
  values = Run(Sensor::Mss, 0, {"", FloppyBand(2), FloppyBand(3)});
  values.abBandSelected[0] = 0;
  ExpectFailure(values, {{kszMsgBand1Required, "Error in Band1"},
                         {"Band2は無効になります", "Error in Band2"},
                         {"Band3は無効になります", "Error in Band3"}});

  // Path problems are worded per format and the chain goes on.
  ExpectFailure(Run(Sensor::Etm6921, 0, {PathOf("missing"), "", FloppyBand(3)}),
                {{kszMsgCannotOpen, "Error in Band1"}, {kszMsgNoPath, "Error in Band2"}});
  ExpectFailure(Run(Sensor::TmCeos, 0, {"", m_dir.string()}),
                {{kszMsgNoPathCeos, "Error in Band1"}, {kszMsgCannotOpenCeos, "Error in Band2"}});
}

TEST_F(ImportDriverTest, FloppyForcesTheSmallWindowAndZeroesHeadersOfBandsNotLoaded) {
  g_nMaxX = g_nMaxY = 1023;
  std::memset(g_aszBandHeader, 0x77, sizeof g_aszBandHeader);
  m_platform.m_strPane0 = m_platform.m_strPane1 = "the scene before";
  ASSERT_TRUE(ApplyOpenSatellite(Run(Sensor::TmFloppy, 1, {FloppyBand(1), FloppyBand(2)})));
  EXPECT_EQ(Messages(), (std::vector<RecordedMessage>{{kszMsgFloppySize, kszCapSizeTmFd}}));
  EXPECT_EQ(CurrentSatelliteDialogValues().nDisplaySize, 0);
  EXPECT_EQ(g_nMaxX, 511);
  EXPECT_EQ(g_nMaxY, 399);
  EXPECT_TRUE(WindowHolds(2, 0, 0, 512, 400));
  EXPECT_EQ(std::memcmp(g_aszBandHeader[1], Header(2).data(), 512), 0);
  for (int b = 2; b < 8; ++b) {
    EXPECT_EQ(g_aszBandHeader[b][255], 0) << b;
    EXPECT_EQ(g_aszBandHeader[b][256], 0x77) << b;
  }
  for (int b = 0; b < 8; ++b) EXPECT_EQ(g_abUseBand[b], b < 2) << b;
  EXPECT_EQ(g_nDisplayMode, DisplayMode::Prompt);
  EXPECT_EQ(m_platform.m_nInitialUpdates, 1);
  // The readout is the new scene's at once (the prompt has none), not the old one's.
  EXPECT_EQ(m_platform.m_strPane0, "");
  EXPECT_EQ(m_platform.m_strPane1, "__");
  EXPECT_TRUE(m_platform.m_aDiagnostics.empty());

  m_platform.m_aMessages.clear();
  ASSERT_TRUE(ApplyOpenSatellite(Run(Sensor::Mss, 2, {FloppyBand(1)})));
  EXPECT_EQ(Messages(), (std::vector<RecordedMessage>{{kszMsgFloppySize, kszCapSizeMssFd}}));
}

TEST_F(ImportDriverTest, AFailedImportLeavesTheLoadedSceneAlone) {
  MakeScene(800, 600, 4, Sensor::TmCeos, [](int x, int y, int b) { return x + y + b; });
  g_nDisplaySize = 1;
  g_astrBandPath[0] = "old1";
  g_aPixel[3][4].abTrainMark[2] = 1;
  g_nDisplayMode = DisplayMode::Composite;
  g_nRedBand = 4;
  g_nSceneOffsetX = 6000;
  g_aszBandHeader[0][0] = 0x11;
  OffscreenPixel(7, 7) = 0xFF123456;
  auto state = [] {
    const std::uint32_t* pnHist = &g_anBandHist[0][0];
    return std::tuple(g_nDisplayMode, g_nRedBand, g_nLastBand, g_nSensor, g_nDisplaySize, g_nMaxX,
                      g_nSceneOffsetX, g_astrBandPath[0], g_aszBandHeader[0][0],
                      OffscreenPixel(7, 7), std::vector(pnHist, pnHist + 8 * 256));
  };
  const auto before = state();
  std::vector<std::uint8_t> abPlane(reinterpret_cast<std::uint8_t*>(g_aPixel),
                                    reinterpret_cast<std::uint8_t*>(g_aPixel) + sizeof g_aPixel);

  // Band 1 reads fine, band 2 is one byte short: nothing of band 1 may reach the plane.
  auto values = Run(Sensor::Mss, 2, {FloppyBand(1), FloppyBand(2, 401 * 512 - 1)});
  ExpectFailure(values, {{kszMsgFloppySize, kszCapSizeMssFd}});
  EXPECT_EQ(std::memcmp(abPlane.data(), g_aPixel, sizeof g_aPixel), 0);
  EXPECT_EQ(state(), before);
  EXPECT_EQ(m_platform.m_nInitialUpdates, 0);

  // The dialog opens with the failed run (size forced to 0) until another scene is loaded.
  const auto next = CurrentSatelliteDialogValues();
  EXPECT_EQ(std::tuple(next.nSensor, next.nDisplaySize, next.astrBandPath[1]),
            std::tuple(Sensor::Mss, 0, values.astrBandPath[1]));
  g_nSensor = Sensor::Etm6845;
  EXPECT_EQ(CurrentSatelliteDialogValues().nSensor, Sensor::Etm6845);

  values.astrBandPath[1] = FloppyBand(2);
  EXPECT_TRUE(ApplyOpenSatellite(values));
  EXPECT_EQ(g_aPixel[3][4].abTrainMark[2], 1);  // a new scene keeps the training marks
  EXPECT_EQ(g_nSceneOffsetX, 6000);  // floppy scenes do not use the offsets
}

TEST_F(ImportDriverTest, CeosLeavesTheBand8BoxAloneAndOldOffsetsAreClamped) {
  std::vector<std::string> astrPaths;
  for (int b = 1; b <= 7; ++b) {
    astrPaths.push_back(LargeBand("ceos" + std::to_string(b), b, CeosRecord(b), 1,
                                  (400 + 1) * CeosRecord(b), 0, 0, 512, 400));
  }
  astrPaths.push_back("");
  ASSERT_TRUE(ApplyOpenSatellite(Run(Sensor::TmCeos, 0, astrPaths)));
  EXPECT_TRUE(Messages().empty());
  EXPECT_EQ(g_abBandSelected[7], 1);
  EXPECT_EQ(g_nLastBand, 6);
  for (int b = 1; b <= 7; ++b) EXPECT_TRUE(WindowHolds(b, 0, 0, 512, 400)) << b;

  g_nSceneOffsetX = 6500;
  g_nSceneOffsetY = 6000;
  const std::int64_t nSize = std::int64_t{6845} * 6316;
  ASSERT_TRUE(ApplyOpenSatellite(
      Run(Sensor::Etm6845, 2, {LargeBand("hdf", 1, 6845, 0, nSize, 5821, 5292, 1024, 1024)})));
  EXPECT_EQ(g_nSceneOffsetX, 6844 - 1023);
  EXPECT_EQ(g_nSceneOffsetY, 6315 - 1023);
  EXPECT_TRUE(WindowHolds(1, 5821, 5292, 1024, 1024));
}

TEST_F(ImportDriverTest, CeosScrollRereadsTheWindowAndAFailedRereadKeepsEverything) {
  std::vector<std::string> astrPaths;
  for (int b = 1; b <= 3; ++b) {
    astrPaths.push_back(LargeBand("ceos" + std::to_string(b), b, CeosRecord(b), 1,
                                  401 * CeosRecord(b), 0, 0, 1024, 400));
  }
  ASSERT_TRUE(ApplyOpenSatellite(Run(Sensor::TmCeos, 0, astrPaths)));
  g_aPixel[3][4].abTrainMark[0] = 1;
  g_nRedBand = 2;  // settings are not reset by a scroll
  ScrollWindow(1);  // one screen right
  EXPECT_EQ(std::tuple(g_nSceneOffsetX, g_nSceneOffsetY), std::tuple(512, 0));
  for (int b = 1; b <= 3; ++b) EXPECT_TRUE(WindowHolds(b, 512, 0, 512, 400)) << b;
  EXPECT_EQ(g_aPixel[3][4].abTrainMark[0], 1);  // marks stay in window coordinates
  EXPECT_EQ(g_nRedBand, 2);
  EXPECT_EQ(g_nDisplayMode, DisplayMode::Composite);
  // A band computed over this window (as the vegetation index adds one) is not among the band
  // files: the next re-read takes the bands from the files again.
  g_nLastBand = 3;
  ScrollWindow(0);  // one screen left
  EXPECT_EQ(g_nSceneOffsetX, 0);
  EXPECT_EQ(BandCount(), 3);
  EXPECT_EQ(g_abUseBand[3], 0);
  ScrollWindow(1);

  // Band 2 becomes too short: the failure is reported and the window, the offsets, the
  // histograms and the picture stay exactly as they were.
  g_nDisplayMode = DisplayMode::Coarse;
  OffscreenPixel(9, 9) = 0xFF010203;
  auto state = [] {
    const std::uint32_t* pnHist = &g_anBandHist[0][0];
    return std::tuple(g_nDisplayMode, g_nSceneOffsetX, g_nSceneOffsetY, g_nLastBand,
                      OffscreenPixel(9, 9), std::vector(pnHist, pnHist + 8 * 256));
  };
  const auto before = state();
  const std::vector<std::uint8_t> abPlane(reinterpret_cast<std::uint8_t*>(g_aPixel),
                                          reinterpret_cast<std::uint8_t*>(g_aPixel) + sizeof g_aPixel);
  LargeBand("ceos2", 2, CeosRecord(2), 1, 300 * CeosRecord(2), 0, 0, 1024, 299);
  m_platform.m_aMessages.clear();
  ScrollWindow(4);  // 100 dots left
  EXPECT_EQ(Messages(), kOnlyFailure);
  EXPECT_EQ(state(), before);
  EXPECT_EQ(std::memcmp(abPlane.data(), g_aPixel, sizeof g_aPixel), 0);
}

TEST_F(ReaderTest, FloppyBandNeedsExactly401Records) {
  EXPECT_TRUE(ApplyOpenSatellite(Run(Sensor::Mss, 0, {FloppyBand(1, 205312)})));
  EXPECT_TRUE(WindowHolds(1, 0, 0, 512, 400));
  const std::string strShort = FloppyBand(1, 204800);  // the header record left out
  EXPECT_FALSE(ApplyOpenSatellite(Run(Sensor::Mss, 0, {strShort})));
  EXPECT_EQ(Messages(), kOnlyFailure);
  // Besides the message boxes, one line names the file, its size and the size needed.
  EXPECT_EQ(m_platform.m_aDiagnostics,
            std::vector<std::string>{"Band1: " + strShort + " has 204,800 bytes; it needs "
                                     "205,312 (a 512-byte header record and 400 lines of 512 "
                                     "bytes)"});
  // Bytes after the last line are ignored.
  EXPECT_TRUE(ApplyOpenSatellite(Run(Sensor::Mss, 0, {FloppyBand(1, 500000)})));
}

// A named pipe or a folder in a band's place is refused when it is opened, before any read
// could wait for a writer, and its line says what it is.
TEST_F(ReaderTest, ABandThatIsNoRegularFileIsRefusedAtOnce) {
  const std::string strFifo = PathOf("band1.pipe");
  ASSERT_EQ(mkfifo(strFifo.c_str(), 0600), 0);
  for (const auto& [strPath, szKind] : {std::pair{strFifo, "a named pipe"},
                                        std::pair{m_dir.string(), "a folder"}}) {
    m_platform.m_aMessages.clear();
    EXPECT_FALSE(ApplyOpenSatellite(Run(Sensor::Mss, 0, {strPath})));
    EXPECT_EQ(Messages(), (std::vector<RecordedMessage>{{kszMsgCannotOpen, kaszCapBand[0]},
                                                        kFailure}));
    EXPECT_EQ(m_platform.m_aDiagnostics,
              std::vector<std::string>{"Band1: " + strPath + " is " + szKind +
                                       ", not a regular file"});
  }
}

TEST_F(ReaderTest, CeosReadsEachLineFromItsRecordAtTheOffset) {
  // Bands 1..3 and 4..7 have different record lengths. A file only has to reach the last byte
  // the window needs: record Y + H up to byte X + W - 1.
  const int nX = 6000, nY = 3000, nW = 800, nH = 600;
  auto fileEnd = [&](int b) { return std::int64_t{nY + nH} * CeosRecord(b) + nX + nW; };
  std::vector<std::string> astrPaths;
  for (int b = 1; b <= 4; ++b) {
    astrPaths.push_back(LargeBand("c" + std::to_string(b), b, CeosRecord(b), 1,
                                  fileEnd(b), nX, nY, nW, nH));
  }
  g_nSceneOffsetX = nX;
  g_nSceneOffsetY = nY;
  ASSERT_TRUE(ApplyOpenSatellite(Run(Sensor::TmCeos, 1, astrPaths)));
  for (int b = 1; b <= 4; ++b) EXPECT_TRUE(WindowHolds(b, nX, nY, nW, nH)) << b;
  EXPECT_EQ(std::memcmp(g_aszBandHeader[3], Header(4).data(), 512), 0);

  LargeBand("c4", 4, CeosRecord(4), 1, fileEnd(4) - 1, nX, nY, nW, nH);
  EXPECT_FALSE(ApplyOpenSatellite(Run(Sensor::TmCeos, 1, astrPaths)));
  EXPECT_EQ(Messages(), kOnlyFailure);
  EXPECT_EQ(m_platform.m_aDiagnostics,
            std::vector<std::string>{"Band4: " + astrPaths[3] + " has " +
                                     GroupDigits(fileEnd(4) - 1) + " bytes; it needs " +
                                     GroupDigits(fileEnd(4)) + " (the header record and lines "
                                     "up to 3600 in 7020-byte records)"});
}

TEST_F(ReaderTest, HdfNeedsTheWholeSceneButReadsOnlyTheWindow) {
  const std::int64_t nFull = std::int64_t{6921} * 6316;
  const std::string strBand = LargeBand("h1", 1, 6921, 0, nFull, 100, 200, 800, 600);
  g_nSceneOffsetX = 100;
  g_nSceneOffsetY = 200;
  ASSERT_TRUE(ApplyOpenSatellite(Run(Sensor::Etm6921, 1, {strBand})));
  EXPECT_TRUE(WindowHolds(1, 100, 200, 800, 600));
  const std::uint8_t abHeader0 = g_aszBandHeader[0][300];

  LargeBand("h1", 1, 6921, 0, nFull - 1, 100, 200, 800, 600);
  EXPECT_FALSE(ApplyOpenSatellite(Run(Sensor::Etm6921, 1, {strBand})));
  EXPECT_EQ(Messages(), kOnlyFailure);
  EXPECT_EQ(m_platform.m_aDiagnostics,
            std::vector<std::string>{"Band1: " + strBand + " has 43,713,035 bytes; it needs "
                                     "43,713,036 (the whole scene, 6316 lines of 6921 bytes)"});
  EXPECT_EQ(g_aszBandHeader[0][300], abHeader0);  // HDF files have no header record
}

TEST_F(ReaderTest, CommitWritesOnlyTheStagedBandsOfTheWindow) {
  auto stage = [](int b, int nW, int nH) {
    for (int i = 0; i < nW * nH; ++i) StagedBand(b)[i] = SceneValue(b, i % nW, i / nW);
  };
  // 37 columns: two whole tiles of 16 and a ragged edge of 5.
  stage(2, 37, 70);
  stage(5, 37, 70);
  for (int x = 0; x < 40; ++x)
    for (int y = 0; y < 71; ++y) std::memset(&g_aPixel[x][y], 0xEE, sizeof(PixelRecord));
  CommitStagedBands((1u << 1) | (1u << 4), 37, 70);
  EXPECT_TRUE(WindowHolds(2, 0, 0, 37, 70));
  EXPECT_TRUE(WindowHolds(5, 0, 0, 37, 70));
  for (int x = 0; x < 40; ++x) {
    for (int y = 0; y < 71; ++y) {
      const PixelRecord& px = g_aPixel[x][y];
      const bool bInside = x < 37 && y < 70;
      for (int b = 0; b < 8; ++b) {
        if (!bInside || (b != 1 && b != 4)) {
          ASSERT_EQ(px.abBand[b], 0xEE) << x << "," << y << " " << b;
        }
      }
      ASSERT_EQ(px.bClassifyClass, 0xEE);
      ASSERT_EQ(px.abTrainMark[7], 0xEE);
    }
  }
  // All eight bands at once replace the whole band part of each record.
  for (int b = 1; b <= 8; ++b) stage(b, 32, 3);
  CommitStagedBands(0xFF, 32, 3);
  for (int b = 1; b <= 8; ++b) EXPECT_TRUE(WindowHolds(b, 0, 0, 32, 3)) << b;
  EXPECT_EQ(g_aPixel[31][2].bCategoryClass, 0xEE);
  EXPECT_EQ(g_aPixel[32][2].abBand[0], 0xEE);
}
