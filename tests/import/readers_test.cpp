#include <cstring>

#include "core/state.h"
#include "import/messages.h"
#include "import/readers.h"
#include "import/scene_files.h"

using ReaderTest = ImportTest;

namespace {
const std::vector<RecordedMessage> kOnlyFailure{{kszMsgCheckFiles, kszCapThisData}};
}

TEST_F(ReaderTest, FloppyBandNeedsExactly401Records) {
  EXPECT_TRUE(ApplyOpenSatellite(Run(kSensorMss, 0, {FloppyBand(1, 205312)})));
  EXPECT_TRUE(WindowHolds(1, 0, 0, 512, 400));
  EXPECT_FALSE(ApplyOpenSatellite(Run(kSensorMss, 0, {FloppyBand(1, 205311)})));
  EXPECT_EQ(Messages(), kOnlyFailure);
  // Bytes after the last line are ignored.
  EXPECT_TRUE(ApplyOpenSatellite(Run(kSensorMss, 0, {FloppyBand(1, 500000)})));
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
  ASSERT_TRUE(ApplyOpenSatellite(Run(kSensorTmCeos, 1, astrPaths)));
  for (int b = 1; b <= 4; ++b) EXPECT_TRUE(WindowHolds(b, nX, nY, nW, nH)) << b;
  EXPECT_EQ(std::memcmp(g_aszBandHeader[3], Header(4).data(), 512), 0);

  LargeBand("c4", 4, CeosRecord(4), 1, fileEnd(4) - 1, nX, nY, nW, nH);
  EXPECT_FALSE(ApplyOpenSatellite(Run(kSensorTmCeos, 1, astrPaths)));
  EXPECT_EQ(Messages(), kOnlyFailure);
}

TEST_F(ReaderTest, HdfNeedsTheWholeSceneButReadsOnlyTheWindow) {
  const std::int64_t nFull = std::int64_t{6921} * 6316;
  const std::string strBand = LargeBand("h1", 1, 6921, 0, nFull, 100, 200, 800, 600);
  g_nSceneOffsetX = 100;
  g_nSceneOffsetY = 200;
  ASSERT_TRUE(ApplyOpenSatellite(Run(kSensorEtm6921, 1, {strBand})));
  EXPECT_TRUE(WindowHolds(1, 100, 200, 800, 600));
  const std::uint8_t abHeader0 = g_aszBandHeader[0][300];

  LargeBand("h1", 1, 6921, 0, nFull - 1, 100, 200, 800, 600);
  EXPECT_FALSE(ApplyOpenSatellite(Run(kSensorEtm6921, 1, {strBand})));
  EXPECT_EQ(Messages(), kOnlyFailure);
  EXPECT_EQ(g_aszBandHeader[0][300], abHeader0);  // HDF files have no header record
}

TEST_F(ReaderTest, CommitWritesOnlyTheStagedBandsOfTheWindow) {
  // 37 columns: two whole tiles of 16 and a ragged edge of 5.
  for (int b : {2, 5}) {
    for (int i = 0; i < 37 * 70; ++i) StagedBand(b)[i] = SceneValue(b, i % 37, i / 37);
  }
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
        if (bInside && (b == 1 || b == 4)) continue;
        ASSERT_EQ(px.abBand[b], 0xEE) << x << "," << y << " band " << b + 1;
      }
      ASSERT_EQ(px.bClassifyClass, 0xEE);
      ASSERT_EQ(px.abTrainMark[7], 0xEE);
    }
  }
  // All eight bands at once replace the whole band part of each record.
  for (int b = 1; b <= 8; ++b) {
    for (int i = 0; i < 32 * 3; ++i) StagedBand(b)[i] = SceneValue(b, i % 32, i / 32);
  }
  CommitStagedBands(0xFF, 32, 3);
  for (int b = 1; b <= 8; ++b) EXPECT_TRUE(WindowHolds(b, 0, 0, 32, 3)) << b;
  EXPECT_EQ(g_aPixel[31][2].bCategoryClass, 0xEE);
  EXPECT_EQ(g_aPixel[32][2].abBand[0], 0xEE);
}
