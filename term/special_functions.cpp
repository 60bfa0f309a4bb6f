#include "term/special_functions.h"

#include <array>
#include <cmath>
#include <limits>

namespace didod::special {
namespace {

constexpr double kSeriesStop = 1e-4;
constexpr double kPi = 3.141592653589793;
constexpr double kAsymptoticFrom = 25.0;

// Auxiliary functions f and g of the sine and cosine integrals by their
// asymptotic series, summed to the smallest term.
struct SiCiAux {
  double f;
  double g;
};

SiCiAux SiCiAsymptotic(double x) {
  const double inv2 = 1.0 / (x * x);
  double f = 1.0;
  double g = 1.0;
  double tf = 1.0;
  double tg = 1.0;
  for (int k = 1; k < 60; ++k) {
    const double nf = -tf * (2.0 * k - 1.0) * (2.0 * k) * inv2;
    const double ng = -tg * (2.0 * k) * (2.0 * k + 1.0) * inv2;
    if (std::fabs(nf) >= std::fabs(tf) || std::fabs(nf) < 1e-18) break;
    tf = nf;
    tg = ng;
    f += tf;
    g += tg;
  }
  return {f / x, g * inv2};
}

}  // namespace

// Every term after the opening ones is e raised to its running logarithm, so
// the powers and factorials never overflow on the way. The alternating series
// of Si and Ci cancel ever larger terms as x grows (around 1e19 near 50, which
// leaves no correct digit); from 25 on, where their rounding error would
// exceed the 1e-4 the series are good for, the asymptotic forms take over.
double SineIntegralSeries(double x) {
  if (x >= kAsymptoticFrom) {
    const SiCiAux a = SiCiAsymptotic(x);
    return kPi / 2.0 - a.f * std::cos(x) - a.g * std::sin(x);
  }
  const double lx = std::log(x);
  double sum = x;
  double logFactorial = 0.0;  // ln((2n+1)!)
  for (int n = 1;; ++n) {
    const int odd = 2 * n + 1;
    logFactorial += std::log(2.0 * n) + std::log(static_cast<double>(odd));
    const double magnitude = std::exp(odd * lx - std::log(static_cast<double>(odd)) - logFactorial);
    sum += (n % 2 == 1) ? -magnitude : magnitude;
    if (magnitude < kSeriesStop) return sum;
  }
}

double CosineIntegralSeries(double x) {
  if (x >= kAsymptoticFrom) {
    const SiCiAux a = SiCiAsymptotic(x);
    return a.f * std::sin(x) - a.g * std::cos(x);
  }
  const double lx = std::log(x);
  double sum = 0.57722 + lx;
  double logFactorial = 0.0;  // ln((2n)!)
  for (int n = 1;; ++n) {
    const int even = 2 * n;
    logFactorial += std::log(even - 1.0) + std::log(static_cast<double>(even));
    const double magnitude = std::exp(even * lx - std::log(static_cast<double>(even)) - logFactorial);
    sum += (n % 2 == 1) ? -magnitude : magnitude;
    if (magnitude < kSeriesStop) return sum;
  }
}

double ExponentialIntegralSeries(double x) {
  const double lx = std::log(x);
  double sum = 0.57722156649 + lx + x;
  double logFactorial = 0.0;  // ln(n!)
  for (int n = 2;; ++n) {
    logFactorial += std::log(static_cast<double>(n));
    const double term = std::exp(n * lx - std::log(static_cast<double>(n)) - logFactorial);
    sum += term;
    if (term < kSeriesStop) return sum;
  }
}

double GammaPolynomial(double x) {
  static constexpr std::array<double, 8> b = {-0.577191652, 0.988205891, -0.897056937, 0.918206857,
                                              -0.756704078, 0.482199394, -0.193527818, 0.035868343};
  double factor = 1.0;  // Gamma(x) = Gamma(reduced) * factor
  double divisor = 1.0;
  while (x >= 2.0) {
    x -= 1.0;
    factor *= x;
  }
  while (x < 1.0) {
    divisor *= x;
    x += 1.0;
    // Once the divisor overflows the value has underflowed for good: the
    // remaining factors cannot bring it back, so stop instead of walking
    // up from a huge negative argument one step at a time.
    if (std::isinf(divisor)) return 0.0;
  }
  const double t = x - 1.0;
  double poly = b[7];
  for (int i = 6; i >= 0; --i) poly = poly * t + b[static_cast<std::size_t>(i)];
  poly = poly * t + 1.0;
  return poly * factor / divisor;
}

double GammaLnLanczos(double x) {
  static constexpr std::array<double, 6> cof = {76.18009172947146,     -86.50532032941677,
                                                24.01409824083091,     -1.231739572450155,
                                                0.1208650973866179e-2, -0.5395239384953e-5};
  double y = x;
  double tmp = x + 5.5;
  tmp -= (x + 0.5) * std::log(tmp);
  double ser = 1.000000000190015;
  for (double c : cof) ser += c / ++y;
  return -tmp + std::log(2.5066282746310005 * ser / x);
}

double BesselJ0(double x) {
  const double ax = std::fabs(x);
  if (ax < 8.0) {
    const double y = x * x;
    const double num = 57568490574.0 +
                       y * (-13362590354.0 +
                            y * (651619640.7 + y * (-11214424.18 + y * (77392.33017 + y * (-184.9052456)))));
    const double den =
        57568490411.0 + y * (1029532985.0 + y * (9494680.718 + y * (59272.64853 + y * (267.8532712 + y))));
    return num / den;
  }
  const double z = 8.0 / ax;
  const double y = z * z;
  const double xx = ax - 0.785398164;
  const double p =
      1.0 + y * (-0.1098628627e-2 + y * (0.2734510407e-4 + y * (-0.2073370639e-5 + y * 0.2093887211e-6)));
  const double q = -0.1562499995e-1 +
                   y * (0.1430488765e-3 + y * (-0.6911147651e-5 + y * (0.7621095161e-6 - y * 0.934935152e-7)));
  return std::sqrt(0.636619772 / ax) * (std::cos(xx) * p - z * std::sin(xx) * q);
}

double BesselJ1(double x) {
  const double ax = std::fabs(x);
  if (ax < 8.0) {
    const double y = x * x;
    const double num =
        x * (72362614232.0 +
             y * (-7895059235.0 + y * (242396853.1 + y * (-2972611.439 + y * (15704.48260 + y * (-30.16036606))))));
    const double den =
        144725228442.0 + y * (2300535178.0 + y * (18583304.74 + y * (99447.43394 + y * (376.9991397 + y))));
    return num / den;
  }
  const double z = 8.0 / ax;
  const double y = z * z;
  const double xx = ax - 2.356194491;
  const double p =
      1.0 + y * (0.183105e-2 + y * (-0.3516396496e-4 + y * (0.2457520174e-5 + y * (-0.240337019e-6))));
  const double q = 0.04687499995 +
                   y * (-0.2002690873e-3 + y * (0.8449199096e-5 + y * (-0.88228987e-6 + y * 0.105787412e-6)));
  const double ans = std::sqrt(0.636619772 / ax) * (std::cos(xx) * p - z * std::sin(xx) * q);
  return x < 0.0 ? -ans : ans;
}

JacobiValues JacobiSnCnDn(double u, double mc) {
  // The accuracy is the square of this bound on the last Landen step.
  constexpr double kStep = 1.0e-8;
  JacobiValues r{0.0, 0.0, 1.0};
  double emc = mc;
  if (emc == 0.0) {
    r.cn = 1.0 / std::cosh(u);
    r.dn = r.cn;
    r.sn = std::tanh(u);
    return r;
  }
  const bool imaginary = emc < 0.0;  // modulus above 1
  double d = 0.0;
  if (imaginary) {
    // Work with the reciprocal modulus 1/k: u' = k u, mc' = 1 - 1/k^2.
    d = 1.0 - emc;
    emc = -emc / d;
    d = std::sqrt(d);
    u *= d;
  }
  std::array<double, 14> em{};
  std::array<double, 14> en{};
  double a = 1.0;
  double c = 1.0;
  int last = 1;
  for (int i = 1; i <= 13; ++i) {
    last = i;
    em[static_cast<std::size_t>(i)] = a;
    emc = std::sqrt(emc);
    en[static_cast<std::size_t>(i)] = emc;
    c = 0.5 * (a + emc);
    if (std::fabs(a - emc) <= kStep * a) break;
    emc *= a;
    a = c;
  }
  u *= c;
  r.sn = std::sin(u);
  r.cn = std::cos(u);
  if (r.sn != 0.0) {
    a = r.cn / r.sn;
    c *= a;
    for (int i = last; i >= 1; --i) {
      const double b = em[static_cast<std::size_t>(i)];
      a *= c;
      c *= r.dn;
      r.dn = (en[static_cast<std::size_t>(i)] + a) / (b + a);
      a = c / b;
    }
    a = 1.0 / std::sqrt(c * c + 1.0);
    r.sn = r.sn >= 0.0 ? a : -a;
    r.cn = c * r.sn;
  }
  if (imaginary) {
    a = r.dn;
    r.dn = r.cn;
    r.cn = a;
    r.sn /= d;
  }
  return r;
}

namespace {

// Ai(0) and -Ai'(0).
constexpr long double kAiryC1 = 0.355028053887817239260L;
constexpr long double kAiryC2 = 0.258819403792806798405L;

struct AiryPair {
  double ai;
  double bi;
};

// Maclaurin series in extended precision; good where |x| is moderate.
AiryPair AirySeries(double x) {
  const long double z = x;
  const long double z3 = z * z * z;
  long double f = 1.0L;
  long double g = z;
  long double tf = 1.0L;
  long double tg = z;
  for (int k = 1; k < 400; ++k) {
    tf *= z3 / ((3.0L * k - 1.0L) * (3.0L * k));
    tg *= z3 / ((3.0L * k) * (3.0L * k + 1.0L));
    f += tf;
    g += tg;
    if (std::fabs(tf) <= 1e-21L * std::fabs(f) && std::fabs(tg) <= 1e-21L * std::fabs(g)) break;
  }
  const long double sqrt3 = 1.732050807568877293527L;
  return {static_cast<double>(kAiryC1 * f - kAiryC2 * g), static_cast<double>(sqrt3 * (kAiryC1 * f + kAiryC2 * g))};
}

// Asymptotic expansions in zeta = 2/3 |x|^(3/2), summed to the smallest term.
// For negative x the phase is formed in extended precision: zeta is large
// there and every rounding of it shifts the oscillation.
AiryPair AiryAsymptotic(double x) {
  const double z = std::fabs(x);
  const double root = std::sqrt(kPi) * std::sqrt(std::sqrt(z));
  if (x > 0.0) {
    const double zeta = 2.0 / 3.0 * z * std::sqrt(z);
    double alternating = 1.0;
    double plain = 1.0;
    double u = 1.0;
    double previous = std::numeric_limits<double>::infinity();
    for (int k = 1; k < 80; ++k) {
      u *= (6.0 * k - 5.0) * (6.0 * k - 3.0) * (6.0 * k - 1.0) / (216.0 * k * (2.0 * k - 1.0)) / zeta;
      if (!(u < previous) || u < 1e-18) break;
      previous = u;
      alternating += (k % 2 == 1) ? -u : u;
      plain += u;
    }
    const double ai = std::exp(-zeta) / (2.0 * root) * alternating;
    const double grow = std::exp(zeta);
    const double bi = std::isinf(grow) ? grow : grow / root * plain;
    return {ai, bi};
  }
  const long double zl = z;
  const long double zeta = 2.0L / 3.0L * zl * std::sqrt(zl);
  // Beyond about 1e200 the envelope |x|^(-1/4) is far below anything a term
  // can show, and zeta itself no longer fits.
  if (!(zeta < 1e300L)) return {0.0, 0.0};
  const double zd = static_cast<double>(zeta);
  // P collects the even terms, Q the odd ones, both with alternating signs.
  double p = 1.0;
  double q = 0.0;
  double u = 1.0;
  double previous = std::numeric_limits<double>::infinity();
  for (int k = 1; k < 80; ++k) {
    u *= (6.0 * k - 5.0) * (6.0 * k - 3.0) * (6.0 * k - 1.0) / (216.0 * k * (2.0 * k - 1.0)) / zd;
    if (!(u < previous) || u < 1e-18) break;
    previous = u;
    const double signedU = ((k / 2) % 2 == 0) ? u : -u;
    if (k % 2 == 0) {
      p += signedU;
    } else {
      q += signedU;
    }
  }
  const long double phase = zeta - 0.785398163397448309616L;
  const double c = static_cast<double>(std::cos(phase));
  const double s = static_cast<double>(std::sin(phase));
  return {(c * p + s * q) / root, (-s * p + c * q) / root};
}

// The series of Ai cancels for positive x (Ai falls while the partial sums
// grow), so Ai leaves it sooner than Bi.
constexpr double kAiSeriesTo = 6.5;
constexpr double kBiSeriesTo = 12.0;
constexpr double kSeriesFrom = -8.0;

}  // namespace

double AiryAi(double x) {
  if (std::isnan(x)) return x;
  if (x > kAiSeriesTo || x < kSeriesFrom) return AiryAsymptotic(x).ai;
  return AirySeries(x).ai;
}

double AiryBi(double x) {
  if (std::isnan(x)) return x;
  if (x > kBiSeriesTo || x < kSeriesFrom) return AiryAsymptotic(x).bi;
  return AirySeries(x).bi;
}

std::int64_t EulerPhi(std::int64_t n) {
  std::int64_t result = n;
  for (std::int64_t p = 2; p * p <= n; ++p) {
    if (n % p != 0) continue;
    while (n % p == 0) n /= p;
    result -= result / p;
  }
  if (n > 1) result -= result / n;
  return result;
}

}  // namespace didod::special
