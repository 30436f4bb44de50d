// The classification model: maximum likelihood against the plain double-precision reference of
// support/gaussian_reference.h on random models (near-singular covariances, tied categories,
// the window's and the whole scene's byte layouts), the covariances it refuses, and both
// reject rules at their boundaries.
#include "classification/class_model.h"

#include <gtest/gtest.h>

#include <array>
#include <random>

#include "classification/category_settings.h"
#include "classification/chi_square.h"
#include "support/gaussian_reference.h"

namespace {

using Pixel = std::array<std::uint8_t, kMaxBands>;
constexpr std::size_t kanRecordByte[kMaxBands] = {0, 1, 2, 3, 4, 5, 6, 7};

CategorySignature Category(int c, std::vector<double> adMean, std::vector<double> adCovariance,
                           int nPixels = 50) {
  CategorySignature cat;
  cat.nCategory = c;
  cat.bValid = true;
  cat.nTrainingPixels = cat.nStatisticsPixels = nPixels;
  cat.adMean = std::move(adMean);
  cat.adCovariance = std::move(adCovariance);
  return cat;
}

Signature Model(int nMethod, int nBands, std::initializer_list<int> anUsed) {
  Signature sig;
  sig.nMethod = nMethod;
  sig.nBands = nBands;
  for (int b : anUsed) sig.abUseBand[b - 1] = true;
  return sig;
}

struct Assigned {
  std::vector<std::uint8_t> abClass;
  std::vector<float> afSquared;
  std::uint32_t anCount[9] = {};
};

// The pixels as the window holds them: 18-byte records, the bands first.
Assigned AssignRecords(const Signature& sig, const std::vector<Pixel>& aPixels) {
  CClassModel model;
  ModelRefusal refusal;
  EXPECT_TRUE(model.Build(sig, kanRecordByte, refusal)) << refusal.nCategory;
  std::vector<PixelRecord> aRecords(aPixels.size());
  for (std::size_t i = 0; i < aPixels.size(); ++i) {
    std::copy(aPixels[i].begin(), aPixels[i].end(), aRecords[i].abBand);
  }
  Assigned out;
  out.afSquared.resize(aPixels.size());
  model.Assign({aRecords[0].abBand, sizeof(PixelRecord), static_cast<int>(aPixels.size()),
                &aRecords[0].bClassifyClass, sizeof(PixelRecord), out.anCount,
                out.afSquared.data()});
  for (const PixelRecord& px : aRecords) out.abClass.push_back(px.bClassifyClass);
  return out;
}

// The same pixels as the whole scene reads them: one plane per band in use.
std::vector<std::uint8_t> AssignPlanes(const Signature& sig, const std::vector<Pixel>& aPixels) {
  const std::vector<int> anUsed = sig.UsedBands();
  const std::size_t nPlane = aPixels.size();
  std::vector<std::uint8_t> abPlanes(anUsed.size() * nPlane), abClass(nPlane);
  std::size_t anBandByte[kMaxBands] = {};
  for (std::size_t i = 0; i < anUsed.size(); ++i) {
    anBandByte[anUsed[i]] = i * nPlane;
    for (std::size_t n = 0; n < nPlane; ++n) abPlanes[i * nPlane + n] = aPixels[n][anUsed[i]];
  }
  CClassModel model;
  ModelRefusal refusal;
  EXPECT_TRUE(model.Build(sig, anBandByte, refusal));
  std::uint32_t anCount[9] = {};
  model.Assign({abPlanes.data(), 1, static_cast<int>(nPlane), abClass.data(), 1, anCount});
  return abClass;
}

}  // namespace

TEST(ClassModelTest, MaximumLikelihoodEqualsThePlainDoubleLoop) {
  std::mt19937 rng(2024);
  std::normal_distribution<double> normal;
  for (int nRound = 0; nRound < 6; ++nRound) {
    Signature sig = Model(kMethodMaximumLikelihood, 8, {});
    for (int b = 0; b < 8; ++b) sig.abUseBand[b] = nRound == 0 || rng() % 3 != 0;
    sig.abUseBand[nRound % 8] = true;
    sig.nRejectProbability = nRound % 3 == 0 ? 0 : 1 + nRound;
    const std::vector<int> anUsed = sig.UsedBands();
    const int n = static_cast<int>(anUsed.size());
    std::vector<GaussianReference> aRef;
    for (int c = 1; c <= 8; ++c) {
      if (c > 3 && rng() % 4 == 0) continue;
      std::vector<double> adMean(n), adB(n * n), adCov(n * n);
      for (double& d : adMean) d = 40.0 + static_cast<double>(rng() % 176);
      const double dScale = 2.0 + static_cast<double>(rng() % 24);
      for (double& d : adB) d = dScale * normal(rng);
      // Category 2's last band is its first but for a millionth of its variance: nearly
      // singular.
      if (c == 2 && n > 1) std::copy(adB.begin(), adB.begin() + n, adB.end() - n);
      for (int i = 0; i < n; ++i) {
        for (int j = 0; j < n; ++j) {
          for (int k = 0; k < n; ++k) adCov[i * n + j] += adB[i * n + k] * adB[j * n + k];
        }
      }
      if (c == 2 && n > 1) adCov.back() *= 1.0 + 1e-6;
      sig.aCategories.push_back(Category(c, adMean, adCov));
      aRef.emplace_back(adMean, adCov);
    }
    // The last category repeats the first: it ties wherever the first would win, and the
    // reference leaves it out. The one before differs from the first by a hair: their scores
    // differ beyond single precision's reach.
    sig.aCategories.back().adMean = sig.aCategories[0].adMean;
    sig.aCategories.back().adCovariance = sig.aCategories[0].adCovariance;
    aRef.pop_back();
    CategorySignature& near = sig.aCategories[aRef.size() - 1];
    near.adMean = sig.aCategories[0].adMean;
    near.adMean[0] += 1e-4;
    near.adCovariance = sig.aCategories[0].adCovariance;
    aRef.back() = GaussianReference(near.adMean, near.adCovariance);

    // Pixels around the categories' means and anywhere.
    std::vector<Pixel> aPixels(6000);
    for (std::size_t i = 0; i < aPixels.size(); ++i) {
      const std::vector<double>& adMean = aRef[rng() % aRef.size()].adMean;
      for (int b = 0; b < 8; ++b) aPixels[i][b] = static_cast<std::uint8_t>(rng());
      for (int k = 0; k < n && i % 2 == 0; ++k) {
        aPixels[i][anUsed[k]] = static_cast<std::uint8_t>(
            std::clamp(std::lround(adMean[k] + 12.0 * normal(rng)), 0L, 255L));
      }
    }
    const Assigned out = AssignRecords(sig, aPixels);
    EXPECT_EQ(AssignPlanes(sig, aPixels), out.abClass) << "round " << nRound;

    const double q = sig.nRejectProbability
                         ? ChiSquareQuantile(n, 1.0 - kadRejectPercent[sig.nRejectProbability] / 100)
                         : INFINITY;
    int nWrong = 0, nClose = 0;
    for (std::size_t i = 0; i < aPixels.size(); ++i) {
      double x[kMaxBands];
      for (int k = 0; k < n; ++k) x[k] = aPixels[i][anUsed[k]];
      const auto [nBest, dGap] = BestScore(aRef, x);
      const double dSquared = aRef[nBest].Squared(x);
      // Within rounding of a tie or of the threshold either answer is right.
      const double dScale = 1.0 + std::abs(aRef[nBest].Score(x));
      if (dGap < 1e-9 * dScale || std::abs(dSquared - q) < 1e-9 * dScale) {
        ++nClose;
        continue;
      }
      const int nExpected = dSquared > q ? 8 : sig.aCategories[nBest].nCategory - 1;
      nWrong += out.abClass[i] != nExpected;
      if (nExpected != 8) {
        EXPECT_NEAR(out.afSquared[i], dSquared, 1e-5 * (1.0 + dSquared));
      }
    }
    EXPECT_EQ(nWrong, 0) << "round " << nRound;
    EXPECT_LT(nClose, 30) << "round " << nRound;
    EXPECT_EQ(out.anCount[sig.aCategories.back().nCategory - 1], 0u) << "the tie goes to the lower";
    if (sig.nRejectProbability) {
      EXPECT_GT(out.anCount[8], 0u);
    }
  }
}

TEST(ClassModelTest, MaximumLikelihoodRefusesCovariancesItCannotInvert) {
  // Bands 1, 2, 4 of four in use; category 3 is the one tried each time.
  const std::vector<double> adMean = {50, 60, 70};
  // Band 4 is 1.1 x band 1 + 0.3 x band 2: B B' with B's third row made so. Rounding leaves
  // the last pivot at +9e-16, not 0, so only a relative test sees that it is singular.
  const double aadB[3][3] = {{3, 1, 0}, {1, 2, 0}, {1.1 * 3 + 0.3 * 1, 1.1 * 1 + 0.3 * 2, 0}};
  std::vector<double> adDependent(9);
  for (int i = 0; i < 3; ++i) {
    for (int j = 0; j < 3; ++j) {
      for (int k = 0; k < 3; ++k) adDependent[i * 3 + j] += aadB[i][k] * aadB[j][k];
    }
  }
  const std::vector<double> adGood = {4, 1, 0, 1, 3, 1, 0, 1, 5};
  const struct {
    std::vector<double> adCovariance;
    int nPixels;
    ModelRefusal::Reason eReason;
  } aCases[] = {
      {adGood, 3, ModelRefusal::Reason::FewPixels},        // needs 3 + 1
      {{4, 0, 1, 0, 0, 0, 1, 0, 5}, 40, ModelRefusal::Reason::Singular},  // band 2 constant
      {adDependent, 40, ModelRefusal::Reason::Singular},
      {{1, 0.9999, 0, 0.9999, 1, 0, 0, 0, 1}, 4, ModelRefusal::Reason::None},  // close, but not
  };
  for (const auto& c : aCases) {
    Signature sig = Model(kMethodMaximumLikelihood, 4, {1, 2, 4});
    sig.aCategories = {Category(1, adMean, adGood), Category(3, adMean, c.adCovariance, c.nPixels),
                       Category(6, adMean, c.adCovariance, 2)};
    sig.aCategories[2].adCovariance = adGood;
    sig.aCategories[2].nStatisticsPixels = 9;
    CClassModel model;
    ModelRefusal refusal;
    EXPECT_EQ(model.Build(sig, kanRecordByte, refusal), c.eReason == ModelRefusal::Reason::None);
    EXPECT_EQ(refusal.eReason, c.eReason);
    if (c.eReason != ModelRefusal::Reason::None) {
      EXPECT_EQ(refusal.nCategory, 3);
    }
    if (c.eReason == ModelRefusal::Reason::FewPixels) {
      EXPECT_EQ(refusal.nPixels, 3);
      EXPECT_EQ(refusal.nNeeded, 4);
    }
    // Minimum distance needs no covariance.
    sig.nMethod = kMethodMinimumDistance;
    EXPECT_TRUE(model.Build(sig, kanRecordByte, refusal));
  }
}

TEST(ClassModelTest, RejectThresholdsHoldAtTheirBoundaries) {
  // Minimum distance to the centre (100, 50) on bands 1 and 3, at most 5: 3-4-5 stays, one
  // step further goes; band 2 is not in use.
  Signature sig = Model(kMethodMinimumDistance, 3, {1, 3});
  sig.nRejectDistance = 5;
  sig.aCategories = {Category(2, {}, {})};
  sig.aCategories[0].anCentre[0] = 100;
  sig.aCategories[0].anCentre[2] = 50;
  Assigned out = AssignRecords(
      sig, {{103, 0, 54}, {104, 0, 54}, {100, 9, 45}, {100, 0, 44}, {100, 255, 50}, {96, 0, 53}});
  EXPECT_EQ(out.abClass, (std::vector<std::uint8_t>{1, 8, 1, 8, 1, 1}));
  EXPECT_EQ(out.afSquared, (std::vector<float>{25, -1, 25, -1, 0, 25}));

  // Maximum likelihood on one band, mean 100: 2 off is D^2 = 4 / variance against
  // q(1 degree, 95 %) = 3.841459; a variance of 1.0412 puts it at 3.84172, of 1.0413 at 3.84135.
  sig = Model(kMethodMaximumLikelihood, 3, {2});
  sig.nRejectProbability = 5;  // 5 %
  for (const auto& [dVariance, nClass] : {std::pair{1.0412, 8}, {1.0413, 0}}) {
    sig.aCategories = {Category(1, {100}, {dVariance})};
    out = AssignRecords(sig, {{0, 102, 0}, {0, 98, 0}, {0, 101, 0}});
    EXPECT_EQ(out.abClass, (std::vector<std::uint8_t>{static_cast<std::uint8_t>(nClass),
                                                      static_cast<std::uint8_t>(nClass), 0}));
  }
  // Two bands, unit covariance, 1 %: q(2, 99 %) = 9.2103; (3, 0) away stays, (3, 1) goes.
  sig = Model(kMethodMaximumLikelihood, 2, {1, 2});
  sig.nRejectProbability = 3;
  sig.aCategories = {Category(4, {10, 20}, {1, 0, 0, 1})};
  out = AssignRecords(sig, {{13, 20}, {13, 21}, {7, 20}, {10, 17}, {9, 23}});
  EXPECT_EQ(out.abClass, (std::vector<std::uint8_t>{3, 8, 3, 3, 8}));
  EXPECT_EQ(out.afSquared, (std::vector<float>{9, -1, 9, 9, -1}));
  EXPECT_EQ(out.anCount[3], 3u);
  EXPECT_EQ(out.anCount[8], 2u);
}
