// Special functions against reference values (computed to 25 digits with an
// arbitrary-precision library), each with the tolerance its method allows.
#include <gtest/gtest.h>

#include <cmath>

#include "term/eval_helpers.h"
#include "term/special_functions.h"

namespace didod::testing {
namespace {

struct Reference {
  double x;
  double value;
};

// The series stop at the first term below 1e-4, and the constants of CI
// (0.57722) and EI (0.57722156649) are off Euler's constant by about 6e-6:
// agreement to 1e-4 is what they promise.
TEST(TermSpecial, SineIntegral) {
  ExpectTerm("SI(1)", 0.9460830704, 0, 1.0, 1e-4);
  const Reference refs[] = {{0.01, 0.009999944444611111}, {1, 0.94608307036718301}, {5, 1.5499312449446741},
                            {20, 1.5482417010434398},     {30, 1.5667565400303511}, {49.9, 1.5522380171272854}};
  for (const auto& r : refs) ExpectTerm("SI(X)", r.value, 0, r.x, 1e-4);
  // The series itself: its last term is below 1e-4, its error beyond that.
  EXPECT_GT(std::fabs(special::SineIntegralSeries(1.0) - 0.94608307036718301), 1e-8);
}

TEST(TermSpecial, CosineIntegral) {
  const Reference refs[] = {{0.01, -4.0279795209823921}, {1, 0.33740392290096813}, {2, 0.422980828774865},
                            {40, 0.019020007896208767}};
  for (const auto& r : refs) ExpectTerm("CI(X)", r.value, 0, r.x, 1e-4);
}

TEST(TermSpecial, ExponentialIntegral) {
  ExpectTerm("EI(1)", 1.8951178164, 0, 1.0, 1e-4);
  ExpectTerm("EI(0.5)", 0.45421990486317358, 0, 1.0, 1e-4);
  ExpectTerm("EI(10)", 2492.2289762418778, 0, 1.0, 1e-4);
  // Large values: the same absolute offset, tiny relative to the value.
  EXPECT_NEAR(special::ExponentialIntegralSeries(39) / 2280446200301902.6, 1.0, 1e-12);
  // The constant of EI is 0.57722156649, not Euler's 0.5772156649.
  EXPECT_NEAR(special::ExponentialIntegralSeries(1e-6) - (std::log(1e-6) + 1e-6), 0.57722156649, 1e-12);
}

TEST(TermSpecial, IntegralsRefuseArgumentsOutsideTheirRange) {
  for (const char* name : {"SI", "CI", "EI"}) {
    SCOPED_TRACE(name);
    const std::string call = std::string(name) + "(X)";
    ExpectTerm(call, 0, 2, 0.0);
    ExpectTerm(call, 0, 2, -1.0);
    ExpectTerm(call, 0, 2, 50.0);
    // NaN would keep the series going for ever.
    ExpectTerm(call, 0, 2, NAN);
    ExpectTerm(call, 0, 2, INFINITY);
  }
  ExpectTerm("EI(40)", 0, 2);
  EXPECT_EQ(Eval("EI(39.9)").code, 4);  // 2.1e16, above the cap
}

TEST(TermSpecial, GammaByThePolynomialOfAbramowitzAndStegun) {
  // The polynomial is good to 3e-7 on [1, 2]; the recurrence carries that.
  ExpectTerm("GAMMA(0.5)", std::sqrt(3.141592653589793), 0, 1.0, 1e-6);
  ExpectTerm("GAMMA(1)", 1, 0, 1.0, 1e-12);
  ExpectTerm("GAMMA(5)", 24, 0, 1.0, 1e-12);
  ExpectTerm("GAMMA(-0.5)", -3.5449077018110321, 0, 1.0, 3e-6);
  ExpectTerm("GAMMA(-2.5)", -0.94530872048294188, 0, 1.0, 1e-6);
  ExpectTerm("GAMMA(10.3)", 716430.68906237641, 0, 1.0, 716430.0 * 4e-7);
  ExpectTerm("GAMMA(0.001)", 999.42377248459545, 0, 1.0, 999.0 * 4e-7);
  for (double x = -20.3; x < 40; x += 0.173) {
    if (std::fabs(x - std::round(x)) < 1e-6) continue;
    const double g = std::tgamma(x);
    EXPECT_NEAR(special::GammaPolynomial(x), g, std::fabs(g) * 4e-7) << x;
  }
}

TEST(TermSpecial, GammaPolesAndLimits) {
  ExpectTerm("GAMMA(0)", 0, 4);
  ExpectTerm("GAMMA(-3)", 0, 4);
  ExpectTerm("GAMMA(43.5)", 0, 4);
  ExpectTerm("GAMMA(43)", 1e10, 4);  // 42!, capped at the end
  ExpectTerm("GAMMA(X)", 0, 4, -1e300);
  // Far below zero the value underflows; the reduction must not walk there
  // one step at a time.
  ExpectTerm("GAMMA(X)", 0, 0, -1e15 + 0.5);
  EXPECT_NEAR(special::GammaPolynomial(-170.5) / std::tgamma(-170.5), 1, 4e-7);
}

TEST(TermSpecial, GammaLnByTheLanczosSeries) {
  const Reference refs[] = {{0.5, 0.57236494292470009},
                            {10, 12.80182748008147},
                            {100, 359.1342053695754},
                            {1e-5, 11.512919692895826}};
  for (const auto& r : refs) ExpectTerm("GAMMALN(X)", r.value, 0, r.x, 2e-10 * std::fmax(1.0, std::fabs(r.value)));
  ExpectTerm("GAMMALN(0)", 0, 4);
  ExpectTerm("GAMMALN(-2.5)", 0, 4);
  ExpectTerm("GAMMALN(X)", 0, 4, NAN);
  ExpectTerm("GAMMALN(X)", 0, 4, INFINITY);
  ExpectTerm("GAMMALN(X)", 1e10, 4, 1e300);  // finite, above the cap
}

TEST(TermSpecial, BesselFunctionsByRationalApproximations) {
  ExpectTerm("BESSJ0(1)", 0.7651976866, 0, 1.0, 1e-8);
  ExpectTerm("BESSJ1(1)", 0.44005058574493352, 0, 1.0, 1e-8);
  ExpectTerm("BESSJ0(10)", -0.24593576445134834, 0, 1.0, 1e-8);
  ExpectTerm("BESSJ1(10)", 0.043472746168861437, 0, 1.0, 1e-8);
  ExpectTerm("BESSJ1(-2)", -0.57672480775687339, 0, 1.0, 1e-8);
  ExpectTerm("BESSJ0(-20)", 0.16702466434058315, 0, 1.0, 1e-8);
  ExpectTerm("BESSJ0(1000)", 0.024786686152420175, 0, 1.0, 1e-8);
  ExpectTerm("BESSJ0(X)", 0, 4, NAN);
  ExpectTerm("BESSJ1(X)", 0, 4, INFINITY);
  for (double x = 0.0; x < 60; x += 0.37) {
    EXPECT_NEAR(special::BesselJ0(x), std::cyl_bessel_j(0.0, x), 1e-8) << x;
    EXPECT_NEAR(special::BesselJ1(x), std::cyl_bessel_j(1.0, x), 1e-8) << x;
    EXPECT_DOUBLE_EQ(special::BesselJ1(-x), -special::BesselJ1(x));
  }
}

TEST(TermSpecial, JacobiFunctionsWithModulusQ) {
  TermEnvironment env;
  env.Q = 0.5;
  EXPECT_NEAR(Eval("SN(0.5)", 1, env).value, 0.47508293602853651, 1e-14);
  EXPECT_NEAR(Eval("CN(0.5)", 1, env).value, 0.87994102296375834, 1e-14);
  EXPECT_NEAR(Eval("DN(0.5)", 1, env).value, 0.97137739883817884, 1e-14);
  env.Q = 0.9;
  EXPECT_NEAR(Eval("SN(0.5)", 1, env).value, 0.46539274997749140, 1e-14);
  EXPECT_NEAR(Eval("DN(0.5)", 1, env).value, 0.90805383458107505, 1e-14);
  env.Q = 1.2;  // modulus above 1
  EXPECT_NEAR(Eval("SN(0.5)", 1, env).value, 0.45455621788199112, 1e-14);
  EXPECT_NEAR(Eval("CN(0.5)", 1, env).value, 0.89071805010610390, 1e-14);
  EXPECT_NEAR(Eval("DN(0.5)", 1, env).value, 0.83813199944289238, 1e-14);
  env.Q = 1;  // the limit: tanh and sech
  EXPECT_NEAR(Eval("SN(0.5)", 1, env).value, std::tanh(0.5), 1e-15);
  EXPECT_NEAR(Eval("CN(0.5)", 1, env).value, 1 / std::cosh(0.5), 1e-15);
  // With the program's Q = 0 they are sin, cos and 1.
  ExpectTerm("SN(0.5)", std::sin(0.5), 0, 1.0, 1e-15);
  ExpectTerm("CN(0.5)", std::cos(0.5), 0, 1.0, 1e-15);
  ExpectTerm("DN(0.5)", 1, 0);
  // sn^2 + cn^2 = 1 and dn^2 + k^2 sn^2 = 1 everywhere.
  env.Q = 0.7;
  for (double u = -20; u < 20; u += 0.731) {
    const double sn = Eval("SN(X)", u, env).value;
    const double cn = Eval("CN(X)", u, env).value;
    const double dn = Eval("DN(X)", u, env).value;
    EXPECT_NEAR(sn * sn + cn * cn, 1, 1e-13) << u;
    EXPECT_NEAR(dn * dn + 0.49 * sn * sn, 1, 1e-13) << u;
  }
}

TEST(TermSpecial, AiryFunctions) {
  ExpectTerm("AI(0)", 0.3550280539, 0, 1.0, 1e-10);
  ExpectTerm("BI(0)", 0.6149266274, 0, 1.0, 1e-10);
  const struct {
    double x, ai, bi;
  } refs[] = {{1, 0.13529241631288142, 1.2074235949528713},
              {-5, 0.35076100902411432, -0.13836913490160058},
              {-100, 0.17675339323955288, 0.024273887680160132},
              {-10000, 0.027057383604642579, -0.049507543408137596},
              {5, 0.00010834442813607442, 657.79204417117118},
              {10, 1.1047532552898686e-10, 455641153.54822514},
              {50, 4.5849417240748285e-104, 4.9090996994442193e+101}};
  for (const auto& r : refs) {
    SCOPED_TRACE(r.x);
    EXPECT_NEAR(special::AiryAi(r.x), r.ai, std::fabs(r.ai) * 1e-9 + 1e-13);
    EXPECT_NEAR(special::AiryBi(r.x), r.bi, std::fabs(r.bi) * 1e-9 + 1e-13);
  }
  // Both sides of every change of method agree.
  for (double x : {-8.0, 6.5, 12.0}) {
    EXPECT_NEAR(special::AiryAi(std::nextafter(x, -100.0)) / special::AiryAi(std::nextafter(x, 100.0)), 1, 1e-8);
    EXPECT_NEAR(special::AiryBi(std::nextafter(x, -100.0)) / special::AiryBi(std::nextafter(x, 100.0)), 1, 1e-8);
  }
  ExpectTerm("BI(200)", 1e10, 4);
  ExpectTerm("AI(200)", 0, 0);
  ExpectTerm("AI(X)", 0, 0, -1e300);
  ExpectTerm("AI(X)", 0, 2, NAN);
}

}  // namespace
}  // namespace didod::testing
