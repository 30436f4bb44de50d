// Signatures: the model a generation records (its statistics against a plain double loop), the
// file written and read back, files refused with nothing changed, and a model applied to
// another window.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <vector>

#include "classification/categories.h"
#include "classification/messages.h"
#include "classification/signature.h"
#include "core/commands.h"
#include "core/settings_groups.h"
#include "resources/resource.h"
#include "support/scene_dir.h"

namespace {

class SignatureTest : public SceneDirTest {
 protected:
  // A 30 x 20 scene of 4 bands; category 1 trained on the left, category 3 on the right.
  void TrainAndGenerate() {
    MakeScene(30, 20, 4, Sensor::TmFloppy,
              [](int x, int y, int b) { return (x * 7 + y * 3 * b + b * 11) % 256; });
    g_abUseBand[1] = 0;  // bands 1, 3, 4 in use
    for (int c = 1; c <= 8; ++c) g_abClassify[c] = c == 1 || c == 3 ? 1 : 0;
    g_astrCategoryName[3] = "畑地";
    g_acrCategoryColour[3] = Rgb(10, 200, 30);
    Paint(1, 2, 2, 6, 6);
    Paint(3, 20, 10, 27, 18);
    ASSERT_TRUE(DispatchCommand(ID_CLASSIFY_GENERATE));
    ASSERT_TRUE(g_bClassified);
  }
  void Paint(int c, int x0, int y0, int x1, int y1) {
    for (int x = x0; x <= x1; ++x)
      for (int y = y0; y <= y1; ++y) g_aPixel[x][y].abTrainMark[c - 1] = 1;
    g_nCategory = c;
    ASSERT_TRUE(DispatchCommand(ID_TRAINING_SELECT));
  }
  std::string WriteText(const std::string& strName, const std::string& str) {
    const std::string strPath = PathOf(strName);
    std::ofstream(strPath, std::ios::binary) << str;
    return strPath;
  }
};

TEST_F(SignatureTest, AGenerationRecordsItsModelWithTheTrainingStatistics) {
  TrainAndGenerate();
  const Signature& sig = GeneratedSignature();
  EXPECT_EQ(sig.nBands, 4);
  EXPECT_EQ(sig.UsedBands(), (std::vector<int>{0, 2, 3}));
  ASSERT_EQ(sig.aCategories.size(), 2u);
  const CategorySignature& cat = sig.aCategories[1];
  EXPECT_EQ(cat.nCategory, 3);
  EXPECT_EQ(cat.strName, "畑地");
  EXPECT_EQ(cat.crColour, Rgb(10, 200, 30));
  EXPECT_EQ(cat.nTrainingPixels, 8 * 9);
  EXPECT_TRUE(cat.bValid);

  // Mean and unbiased covariance of the marked pixels, two passes in double precision.
  const int anBand[3] = {0, 2, 3};
  std::vector<std::array<double, 3>> aPixels;
  for (int x = 20; x <= 27; ++x)
    for (int y = 10; y <= 18; ++y)
      aPixels.push_back({double(g_aPixel[x][y].abBand[0]), double(g_aPixel[x][y].abBand[2]),
                         double(g_aPixel[x][y].abBand[3])});
  double adMean[3] = {};
  for (const auto& p : aPixels)
    for (int i = 0; i < 3; ++i) adMean[i] += p[i] / static_cast<double>(aPixels.size());
  for (int i = 0; i < 3; ++i) {
    EXPECT_NEAR(cat.adMean[i], adMean[i], 1e-9) << "band " << anBand[i] + 1;
    for (int j = 0; j < 3; ++j) {
      double d = 0.0;
      for (const auto& p : aPixels) d += (p[i] - adMean[i]) * (p[j] - adMean[j]);
      EXPECT_NEAR(cat.adCovariance[i * 3 + j], d / static_cast<double>(aPixels.size() - 1), 1e-9);
    }
  }
  // The ranges are those of the update: band 1's values over the marked block.
  int nLow = 255, nHigh = 0;
  for (const auto& p : aPixels) {
    nLow = std::min(nLow, int(p[0]));
    nHigh = std::max(nHigh, int(p[0]));
  }
  EXPECT_EQ(cat.anLower[0], nLow);
  EXPECT_EQ(cat.anUpper[0], nHigh);
}

TEST_F(SignatureTest, TheFileReadsBackAsTheSameModel) {
  TrainAndGenerate();
  Signature sig = GeneratedSignature();
  sig.aRule[0] = {.bScaled = true, .dLow = 120.25, .dHigh = 9876.5, .bHasNoData = true,
                  .dNoData = std::nan("")};
  sig.aRule[2] = {.bScaled = false, .bHasNoData = true, .dNoData = -9999.0};
  sig.nMethod = kMethodMaximumLikelihood;
  sig.nRejectProbability = 4;
  const std::string strPath = PathOf("model.json");
  std::string strReason;
  ASSERT_TRUE(WriteSignatureFile(strPath, sig, strReason)) << strReason;
  Signature back;
  ASSERT_TRUE(ReadSignatureFile(strPath, back, strReason)) << strReason;
  EXPECT_EQ(SignatureJson(back), SignatureJson(sig));
  EXPECT_TRUE(back.aRule[0].bScaled);
  EXPECT_TRUE(std::isnan(back.aRule[0].dNoData));
  EXPECT_EQ(back.aRule[2].dNoData, -9999.0);
  EXPECT_FALSE(back.aRule[1].bHasNoData);
  EXPECT_EQ(back.aCategories[1].strName, "畑地");
  EXPECT_EQ(back.nMethod, kMethodMaximumLikelihood);
  EXPECT_EQ(back.nRejectProbability, 4);
  EXPECT_NE(SignatureJson(back).find("\"reject_probability_percent\": 2.5"), std::string::npos);
}

TEST_F(SignatureTest, RefusedFilesSayWhyAndChangeNothing) {
  TrainAndGenerate();
  const std::string strGood = SignatureJson(GeneratedSignature());
  auto edited = [&](const std::string& strFrom, const std::string& strTo) {
    std::string str = strGood;
    const std::size_t n = str.find(strFrom);
    EXPECT_NE(n, std::string::npos) << strFrom;
    return str.replace(n, strFrom.size(), strTo);
  };
  struct Case {
    std::string strText, strReason;
  };
  const Case aCases[] = {
      {"{\"format\": ", "not JSON"},
      {"[1, 2]", "not a JSON object"},
      {edited("\"geolumen-signatures\"", "\"other\""), "format"},
      {edited("\"version\": 1", "\"version\": 2"), "version 2 is not 1"},
      {edited("\"bands\": 4", "\"bands\": 9"), "bands is not a whole number from 1 to 8"},
      {edited("\"bands_in_use\": [\n    1,", "\"bands_in_use\": [\n    4, 4,"), "twice"},
      {edited("\"category\": 3", "\"category\": 1"), "category 1 comes twice"},
      {edited("\"colour\": [\n        10", "\"colour\": [\n        300"), "colour[0]"},
      {edited("\"training_pixels\": 72", "\"training_pixels\": -1"), "training_pixels"},
      {edited("\"valid\": true", "\"valid\": 1"), "valid is not true or false"},
      {edited("\"mean\": [", "\"mean\": [1.5, "), "mean is not a list of 3 numbers"},
      {edited("\"scaled\": false", "\"scaled\": true"), "band_rules[0].low is missing"},
      {edited("\"min-distance\"", "\"nearest\""), "method is not"},
      {edited("\"reject_probability_percent\": null", "\"reject_probability_percent\": 3"),
       "reject_probability_percent is not 0.1, 0.5, 1, 2.5, 5 or 10"},
  };
  g_nCategory = 2;
  const std::uint64_t nBefore = SettingsGroupsDigest();
  const std::string strNames = g_astrCategoryName[1] + g_astrCategoryName[3];
  for (const Case& c : aCases) {
    m_platform.m_aMessages.clear();
    const std::string strPath = WriteText("bad.json", c.strText);
    EXPECT_FALSE(LoadSignatures(strPath)) << c.strReason;
    ASSERT_EQ(m_platform.m_aMessages.size(), 1u) << c.strReason;
    EXPECT_EQ(m_platform.m_aMessages[0].strCaption, kszCapSignature);
    EXPECT_NE(m_platform.m_aMessages[0].strText.find(c.strReason), std::string::npos)
        << m_platform.m_aMessages[0].strText;
    EXPECT_EQ(SettingsGroupsDigest(), nBefore) << c.strReason;
    EXPECT_TRUE(g_bClassified);
  }
  // A model of bands the scene does not have: the scene of 4 bands refuses a 6-band model that
  // uses band 6.
  Signature sig = GeneratedSignature();
  sig.nBands = 6;
  sig.abUseBand[5] = true;
  for (CategorySignature& cat : sig.aCategories) {
    cat.adMean.assign(4, 0.0);
    cat.adCovariance.assign(16, 0.0);
  }
  EXPECT_FALSE(LoadSignatures(WriteText("six.json", SignatureJson(sig))));
  EXPECT_NE(m_platform.m_aMessages.back().strText.find("use band 6; the scene has 4"),
            std::string::npos);
  EXPECT_EQ(SettingsGroupsDigest(), nBefore);
}

TEST_F(SignatureTest, AModelAppliedToAnotherWindowClassifiesItWithoutItsMarks) {
  TrainAndGenerate();
  const std::string strPath = PathOf("model.json");
  ASSERT_TRUE(SaveSignatures(strPath));
  const Signature trained = GeneratedSignature();

  // Another window: other values, no marks, other names and options.
  ResetProgramState();
  MakeScene(25, 25, 4, Sensor::TmFloppy, [](int x, int y, int b) { return (x * 5 + y * 9 + b * 11) % 256; });
  g_astrCategoryName[3] = "other";
  g_abClassify[5] = 1;
  // The window's records, every byte of each (values, classes and marks).
  auto windowRecords = [] {
    std::vector<std::uint8_t> ab;
    for (int x = 0; x < 25; ++x) {
      const auto* p = reinterpret_cast<const std::uint8_t*>(&g_aPixel[x][0]);
      ab.insert(ab.end(), p, p + 25 * sizeof(PixelRecord));
    }
    return ab;
  };
  const std::vector<std::uint8_t> abBands = windowRecords();

  ASSERT_TRUE(LoadSignatures(strPath));
  EXPECT_EQ(g_astrCategoryName[3], "畑地");
  EXPECT_EQ(g_acrCategoryColour[3], Rgb(10, 200, 30));
  EXPECT_EQ(g_abClassify[1] + g_abClassify[3] + g_abClassify[5], 2);
  EXPECT_EQ(g_abClassify[5], 0);
  EXPECT_EQ(g_abUseBand[1], 0);
  EXPECT_EQ(g_anCatLower[1][3], trained.aCategories[1].anLower[0]);
  EXPECT_EQ(g_anTrainCount[3], 72);
  EXPECT_FALSE(g_bClassified) << "a generation is needed";
  EXPECT_EQ(windowRecords(), abBands) << "band values and marks stay";

  // The valid categories generate at once, without a training update of their own.
  ASSERT_TRUE(DispatchCommand(ID_CLASSIFY_GENERATE));
  EXPECT_TRUE(g_bClassified);
  EXPECT_EQ(g_anClassCount[1] + g_anClassCount[3], 25u * 25u);
}

}  // namespace
