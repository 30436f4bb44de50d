#include "classification/chi_square.h"

#include <cmath>
#include <limits>

namespace {

// The series of P(a, x), good below x = a + 1.
double LowerGammaSeries(double a, double x) {
  double dTerm = 1.0 / a, dSum = dTerm;
  for (int n = 1; n < 1000; ++n) {
    dTerm *= x / (a + n);
    dSum += dTerm;
    if (std::abs(dTerm) < std::abs(dSum) * 1e-17) break;
  }
  return dSum * std::exp(-x + a * std::log(x) - std::lgamma(a));
}

// Q(a, x) = 1 - P(a, x) by its continued fraction (modified Lentz), good above x = a + 1.
double UpperGammaFraction(double a, double x) {
  constexpr double kTiny = std::numeric_limits<double>::min() / std::numeric_limits<double>::epsilon();
  double b = x + 1.0 - a, c = 1.0 / kTiny, d = 1.0 / b, h = d;
  for (int i = 1; i < 1000; ++i) {
    const double an = -i * (i - a);
    b += 2.0;
    d = an * d + b;
    if (std::abs(d) < kTiny) d = kTiny;
    c = b + an / c;
    if (std::abs(c) < kTiny) c = kTiny;
    d = 1.0 / d;
    const double dDelta = d * c;
    h *= dDelta;
    if (std::abs(dDelta - 1.0) < 1e-17) break;
  }
  return std::exp(-x + a * std::log(x) - std::lgamma(a)) * h;
}

// The standard normal quantile to about four digits (Abramowitz and Stegun 26.2.23): only
// the starting point of the refinement.
double RoughNormalQuantile(double p) {
  const double dTail = p < 0.5 ? p : 1.0 - p;
  const double t = std::sqrt(-2.0 * std::log(dTail));
  const double z =
      t - (2.515517 + 0.802853 * t + 0.010328 * t * t) /
              (1.0 + 1.432788 * t + 0.189269 * t * t + 0.001308 * t * t * t);
  return p < 0.5 ? -z : z;
}

}  // namespace

double RegularizedLowerGamma(double a, double x) {
  if (x <= 0.0) return 0.0;
  return x < a + 1.0 ? LowerGammaSeries(a, x) : 1.0 - UpperGammaFraction(a, x);
}

double ChiSquareQuantile(int nDegrees, double dProbability) {
  const double k = nDegrees, a = k / 2.0;
  // Wilson and Hilferty: (X / k)^(1/3) is nearly normal with mean 1 - 2 / 9k and variance 2 / 9k.
  const double s = 2.0 / (9.0 * k);
  const double w = 1.0 - s + RoughNormalQuantile(dProbability) * std::sqrt(s);
  double x = w > 0.0 ? k * w * w * w : 0.5 * k;
  // Newton on P(k/2, x/2) = p; the density of X at x is the step's derivative. A step that
  // would leave the positive axis halves x instead.
  const double dLogNorm = a * std::log(2.0) + std::lgamma(a);
  for (int i = 0; i < 100; ++i) {
    const double f = RegularizedLowerGamma(a, x / 2.0) - dProbability;
    const double dDensity = std::exp((a - 1.0) * std::log(x) - x / 2.0 - dLogNorm);
    double xNext = x - f / dDensity;
    if (!(xNext > 0.0)) xNext = x / 2.0;
    const bool bDone = std::abs(xNext - x) <= 1e-14 * x;
    x = xNext;
    if (bDone) break;
  }
  return x;
}
