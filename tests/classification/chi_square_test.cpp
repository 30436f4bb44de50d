// Chi-square quantiles against published table values, and the incomplete gamma function
// against its closed forms for one and one half degrees of freedom.
#include "classification/chi_square.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(ChiSquareTest, QuantilesMatchThePublishedTable) {
  // (degrees of freedom, P(X <= q), q as the tables print it, to three decimals)
  const struct {
    int nDegrees;
    double dProbability, dTable;
  } aRows[] = {{1, 0.95, 3.841},  {8, 0.99, 20.090},  {3, 0.999, 16.266}, {6, 0.975, 14.449},
               {2, 0.90, 4.605},  {5, 0.995, 16.750}, {4, 0.95, 9.488},   {7, 0.999, 24.322},
               {1, 0.999, 10.828}, {6, 0.99, 16.812}, {8, 0.90, 13.362},  {1, 0.995, 7.879}};
  for (const auto& row : aRows) {
    const double q = ChiSquareQuantile(row.nDegrees, row.dProbability);
    EXPECT_NEAR(q, row.dTable, 0.0005) << row.nDegrees << " " << row.dProbability;
    // And it is the quantile to far more digits than the table's.
    EXPECT_NEAR(RegularizedLowerGamma(row.nDegrees / 2.0, q / 2.0), row.dProbability, 1e-12);
  }
}

TEST(ChiSquareTest, IncompleteGammaMatchesItsClosedForms) {
  for (double x : {1e-6, 0.01, 0.5, 1.0, 1.4999, 1.5001, 3.0, 10.0, 40.0}) {
    EXPECT_NEAR(RegularizedLowerGamma(1.0, x), -std::expm1(-x), 1e-14) << x;
    EXPECT_NEAR(RegularizedLowerGamma(0.5, x), std::erf(std::sqrt(x)), 1e-14) << x;
  }
  EXPECT_EQ(RegularizedLowerGamma(2.0, 0.0), 0.0);
}
