// Signatures from the command line: a model trained and saved in one run classifies the same
// window the same way in another; the exit codes of a refused file and of a save before any
// generation.
#include <gtest/gtest.h>

#include <filesystem>

#include "cli_fixture.h"

namespace {

using SignatureCliTest = CliTest;


TEST_F(SignatureCliTest, ASavedModelClassifiesTheSampleSceneAsTheRunThatTrainedIt) {
  if (!std::filesystem::exists(kSample)) GTEST_SKIP() << "the sample scene was not fetched";
  const std::string strModel = PathOf("model.json"), strFirst = PathOf("first.png"),
                    strSecond = PathOf("second.png");
  ASSERT_EQ(RunProgram(TrainSampleArgs(kSample, strModel, strFirst)), kExitOk);
  ASSERT_EQ(RunProgram({"export", "--raster", kSample, "--signatures", strModel, "--classify",
                        "--product", "classification", "--out", strSecond}),
            kExitOk);
  const DecodedPng first = ReadStoredPng(strFirst), second = ReadStoredPng(strSecond);
  ASSERT_EQ(first.strError, "");
  ASSERT_EQ(second.strError, "");
  ASSERT_EQ(first.nWidth, 349);
  EXPECT_EQ(first.anPixels, second.anPixels);
}

TEST_F(SignatureCliTest, RefusedOrUnavailableSignaturesStopTheRunWithoutOutput) {
  const std::vector<std::string> astrFiles = FloppyScene(3);
  const std::string strOut = PathOf("out.png");
  const Run early = RunHere(Args("export", astrFiles,
                                 {"--save-signatures", PathOf("m.json"), "--product", "composite",
                                  "--out", strOut}));
  EXPECT_EQ(early.nStatus, kExitUsage) << "no classification generated yet";
  EXPECT_NE(early.strErr.find("--save-signatures"), std::string::npos);

  const std::string strBad = PathOf("bad.json");
  std::ofstream(strBad) << "{\"format\": \"geolumen-signatures\", \"version\": 7}";
  const Run bad = RunHere(Args("export", astrFiles,
                               {"--signatures", strBad, "--product", "composite", "--out", strOut}));
  EXPECT_EQ(bad.nStatus, kExitImportFailed);
  EXPECT_NE(bad.strErr.find("シグネチャを読み込めません。"), std::string::npos) << bad.strErr;
  EXPECT_NE(bad.strErr.find("version 7 is not 1"), std::string::npos) << bad.strErr;
  EXPECT_FALSE(std::filesystem::exists(strOut));
}

}  // namespace
