#pragma once
// Special functions of the term language. Each computes the standard function
// by a fixed method; domain checks that set error codes live in the evaluator.

#include <cstdint>

namespace didod::special {

// Series of the sine, cosine and exponential integrals, summed until the first
// term below 1e-4 (which is still added). Defined for 0 < x < 50 (EI: < 40);
// the caller keeps other arguments, NaN included, away.
double SineIntegralSeries(double x);
double CosineIntegralSeries(double x);
double ExponentialIntegralSeries(double x);

// Gamma function by the degree-8 polynomial of Abramowitz and Stegun 6.1.36
// after reducing x into [1, 2). Caller excludes poles and x > 43. Arguments so
// far below zero that the value underflows give 0.
double GammaPolynomial(double x);

// ln Gamma(x) for x > 0 by the Lanczos series (g = 5, six terms).
double GammaLnLanczos(double x);

// Bessel functions of the first kind, orders 0 and 1, by rational
// approximations below |x| = 8 and the asymptotic form with fitted
// polynomials above.
double BesselJ0(double x);
double BesselJ1(double x);

// Jacobi elliptic functions of u with complementary parameter mc = 1 - k^2,
// by the descending Landen transformation.
struct JacobiValues {
  double sn;
  double cn;
  double dn;
};
JacobiValues JacobiSnCnDn(double u, double mc);

// Airy functions: power series near the origin, asymptotic expansions beyond.
double AiryAi(double x);
double AiryBi(double x);

// Euler's totient of n >= 1.
std::int64_t EulerPhi(std::int64_t n);

}  // namespace didod::special
