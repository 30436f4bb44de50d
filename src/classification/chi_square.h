// The chi-square distribution, for the maximum-likelihood reject threshold: the squared
// Mahalanobis distance of a pixel drawn from a category's normal distribution over n bands
// follows chi-square with n degrees of freedom, so the pixels a threshold at the (1 - P)
// quantile rejects are, for that category, the least likely P of them.
#pragma once

// P(a, x), the regularized lower incomplete gamma function (a > 0; 0 for x <= 0).
double RegularizedLowerGamma(double a, double x);

// The value q with P(X <= q) = dProbability for X chi-square with nDegrees degrees of freedom
// (nDegrees >= 1, 0 < dProbability < 1), to about twelve significant digits.
double ChiSquareQuantile(int nDegrees, double dProbability);
