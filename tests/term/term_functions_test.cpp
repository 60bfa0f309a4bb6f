// The elementary functions with their domains and codes, the functions that
// set or clear codes, and everything that reads the environment.
#include <gtest/gtest.h>

#include <cmath>
#include <numeric>
#include <set>

#include "term/eval_helpers.h"

namespace didod::testing {
namespace {

constexpr double kPi = 3.141592653589793;

TEST(TermFunctions, RootsPowersAndLogarithms) {
  ExpectTerm("SQR(3)", 9, 0);
  ExpectTerm("SQR(X)", 1e10, 2, 1e10);
  ExpectTerm("SQR(X)", 1e10, 4, 99999.99999 * 1.01);  // its square is capped at the end
  ExpectTerm("SQRT(2)", std::sqrt(2.0), 0);
  ExpectTerm("WURZEL(3)/2", std::sqrt(3.0) / 2, 0);
  ExpectTerm("SQRT(0)", 0, 0);
  ExpectTerm("SQRT(-1)", 0, 2);
  ExpectTerm("WURZEL(-1)", 0, 2);
  ExpectTerm("WURZEL3(27)", 3, 0);
  ExpectTerm("W3(-8)", -2, 0);
  ExpectTerm("W3(0)", 0, 0);
  ExpectTerm("WURZEL4(16)", 2, 0);
  ExpectTerm("W4(81)", 3, 0);
  ExpectTerm("W4(-1)", 0, 2);
  ExpectTerm("EXP(1)", std::exp(1.0), 0);
  ExpectTerm("EHOCH(2)", std::exp(2.0), 0);
  ExpectTerm("EXP(60)", 1e10, 4);      // clamped to e^50, then capped
  ExpectTerm("EXP(-60)", std::exp(-50.0), 4);
  ExpectTerm("LN(\xC9)", 1, 0);
  ExpectTerm("LN(0)", 0, 2);
  ExpectTerm("LN(-1)", 0, 2);
  ExpectTerm("LG(1000)", 3, 0, 1.0, 1e-12);
  ExpectTerm("LG(0)", 0, 2);
  ExpectTerm("LD(8)", 3, 0, 1.0, 1e-11);
  ExpectTerm("LD(-8)", 0, 2);
  ExpectTerm("ABS(-2.5)", 2.5, 0);
}

TEST(TermFunctions, TrigonometryInRadians) {
  ExpectTerm("SIN(PI/6)", 0.5, 0, 1.0, 1e-15);
  ExpectTerm("COS(PI/3)", 0.5, 0, 1.0, 1e-15);
  ExpectTerm("TAN(PI/4)", 1, 0, 1.0, 1e-15);
  ExpectTerm("COT(PI/4)", 1, 0, 1.0, 1e-15);
  ExpectTerm("COT(0)", 0, 0);  // sin x = 0 gives 0 without a code
  ExpectTerm("SEC(0)", 1, 0);
  ExpectTerm("CSC(PI/2)", 1, 0);
  ExpectTerm("CSC(0)", 0, 2);
  ExpectTerm("ARCSIN(0.5)", kPi / 6, 0, 1.0, 1e-15);
  ExpectTerm("ARCSIN(1)", kPi / 2, 0);
  ExpectTerm("ARCSIN(-1)", -kPi / 2, 0);
  ExpectTerm("ARCSIN(1.5)", 0, 2);
  ExpectTerm("ARCCOS(0.5)", kPi / 3, 0, 1.0, 1e-15);
  ExpectTerm("ARCCOS(-1.01)", 0, 2);
  ExpectTerm("ARCTAN(1)", kPi / 4, 0);
  ExpectTerm("ARCCOT(1)", kPi / 4, 0);
  ExpectTerm("ARCCOT(0)", kPi / 2, 0);
  ExpectTerm("ARCCOT(-1)", -kPi / 4, 0);
  ExpectTerm("ARCSEC(2)", kPi / 3, 0, 1.0, 1e-15);
  ExpectTerm("ARCSEC(-2)", 2 * kPi / 3, 0, 1.0, 1e-15);
  ExpectTerm("ARCSEC(0.5)", 0, 2);
}

TEST(TermFunctions, TrigonometryInDegrees) {
  ExpectTerm("SINW(30)", 0.5, 0, 1.0, 1e-15);
  ExpectTerm("COSW(60)", 0.5, 0, 1.0, 1e-15);
  ExpectTerm("TANW(45)", 1, 0, 1.0, 1e-15);
  ExpectTerm("COTW(45)", 1, 0, 1.0, 1e-15);
  ExpectTerm("COTW(0)", 0, 0);
  // These return radians, shifted into 0 .. pi.
  ExpectTerm("ARCTANW(1)", kPi / 4, 0);
  ExpectTerm("ARCTANW(-1)", 3 * kPi / 4, 0);
  ExpectTerm("ARCSINW(0.5)", kPi / 6, 0, 1.0, 1e-15);
  ExpectTerm("ARCSINW(-0.5)", kPi / 2 + kPi / 6, 0, 1.0, 1e-15);
  ExpectTerm("ARCSINW(-1)", kPi / 2, 0);
  ExpectTerm("ARCSINW(2)", 0, 2);
}

TEST(TermFunctions, HyperbolicAndAreaFunctions) {
  ExpectTerm("SINH(1)", std::sinh(1.0), 0);
  ExpectTerm("COSH(1)", std::cosh(1.0), 0);
  ExpectTerm("TANH(1)", std::tanh(1.0), 0);
  ExpectTerm("SINH(50)", 1e10, 2);
  ExpectTerm("SINH(-50)", 1e10, 2);
  ExpectTerm("COSH(-60)", 1e10, 2);
  ExpectTerm("TANH(50)", 1e10, 1);
  ExpectTerm("ARSINH(1)", 0.881373587019543, 0, 1.0, 1e-15);
  ExpectTerm("ARCOSH(2)", 1.3169578969248166, 0, 1.0, 1e-15);
  ExpectTerm("ARCOSH(0.5)", 0, 2);
  ExpectTerm("ARTANH(0.5)", 0.5493061443340549, 0, 1.0, 1e-15);
  ExpectTerm("ARTANH(1)", 0, 2);
}

TEST(TermFunctions, ArsinhIsExactForLargeNegativeArguments) {
  // ln(x + sqrt(x^2 + 1)) loses everything to cancellation here.
  ExpectTerm("ARSINH(X)", -21.416413017506356, 0, -1e9, 1e-12);
  ExpectTerm("ARSINH(X)", -461.21016577936908, 0, -1e200, 1e-11);
  ExpectTerm("ARSINH(X)", 461.21016577936908, 0, 1e200, 1e-11);
  ExpectTerm("ARCOSH(X)", 461.21016577936908, 0, 1e200, 1e-11);
  EXPECT_DOUBLE_EQ(Eval("ARSINH(X)", -3.7).value, -Eval("ARSINH(X)", 3.7).value);
}

TEST(TermFunctions, RoundingFunctions) {
  ExpectTerm("INT(2.5)", 2, 3);
  ExpectTerm("INT(-2.5)", -3, 3);
  ExpectTerm("INT(-2)", -3, 3);  // the whole part of x - 1
  ExpectTerm("[2.7]", 2, 0);
  ExpectTerm("[-2.5]", -3, 0);
  ExpectTerm("[-2]", -3, 0);
  ExpectTerm("FRAC(2.75)", 0.75, 0);
  ExpectTerm("FRAC(-2.5)", -0.5, 0);
  ExpectTerm("FRAC(X)", 0, 2, 1e10);
  ExpectTerm("SGN(-3)", -1, 0);
  ExpectTerm("SGN(0)", 0, 0);
  ExpectTerm("VORZEICHEN(7)", 1, 0);
  ExpectTerm("HEAVISIDE(-1)", 0, 3);
  ExpectTerm("HEAVISIDE(0)", 0.5, 3);
  ExpectTerm("HEAVISIDE(2)", 1, 3);
}

TEST(TermFunctions, SomeFunctionsClearEarlierErrors) {
  ExpectTerm("SQRT(-1)+SGN(2)", 1, 0);
  ExpectTerm("LN(0)+VORZEICHEN(-2)", -1, 0);
  ExpectTerm("1/0+BESSJ0(0)", 1e10, 4);  // cleared, then capped at the end
  ExpectTerm("LN(0)+BESSJ0(0)", 1, 0, 1.0, 1e-8);
  ExpectTerm("LN(0)+BESSJ1(0)", 0, 0);
  ExpectTerm("INT(3)+GAMMALN(1)", 3, 0, 1.0, 1e-9);
  ExpectTerm("ARCSIN(2)+SGN(1)", 1, 0);
  // The clearing does not reach errors that come after it.
  ExpectTerm("SGN(1)+LN(0)", 1, 2);
  ExpectTerm("SGN(1)+INT(1)", 2, 3);
  // Nor does it undo a failure of its own.
  ExpectTerm("LN(0)+GAMMALN(0)", 0, 4);
  // Other functions leave codes as they are.
  ExpectTerm("LN(0)+ABS(2)", 2, 2);
}

TEST(TermFunctions, GaussAndGsumme) {
  ExpectTerm("GAUSS(0)", 1 / 2.506628274631, 0);
  ExpectTerm("GAUSS(1)", std::exp(-0.5) / 2.506628274631, 0);
  ExpectTerm("GAUSS(60)", 0, 4);
  ExpectTerm("GAUSS(-60)", 0, 4);
  // An approximation of the normal distribution function, good to about 1e-4.
  ExpectTerm("GSUMME(0)", 0.5, 0);
  ExpectTerm("GSUMME(1)", 0.84134474606854295, 0, 1.0, 2e-4);
  ExpectTerm("GSUMME(-2)", 0.022750131948179207, 0, 1.0, 2e-4);
  ExpectTerm("GSUMME(0.3)", 0.61791142218895263, 0, 1.0, 2e-4);
  ExpectTerm("GSUMME(X)", 1, 0, 1e200);  // no infinity times 0
  ExpectTerm("GSUMME(X)", 0, 0, -1e200);
}

TEST(TermEnvironment, ParametersAreReadFromTheEnvironment) {
  TermEnvironment env;
  env.P = 2;
  env.Q = 3;
  env.R = 4;
  env.K = {1, 2, 3, 4, 5};
  EXPECT_DOUBLE_EQ(Eval("P*100+Q*10+R", 1, env).value, 234);
  EXPECT_DOUBLE_EQ(Eval("K1+K2+K3+K4+K5", 1, env).value, 15);
  EXPECT_DOUBLE_EQ(Eval("K6+K0", 1, env).value, 0);
  EXPECT_DOUBLE_EQ(Eval("LOG(8)", 1, env).value, 3);
  EXPECT_DOUBLE_EQ(Eval("EXPP(3)", 1, env).value, 8);
  env.P = 3;
  EXPECT_NEAR(Eval("WP(8)", 1, env).value, 2, 1e-15);
  // B(2, 3) = 1/12, through the polynomial Gamma.
  EXPECT_NEAR(Eval("BETA(2)", 1, env).value, 1.0 / 12, 1e-6);
}

TEST(TermEnvironment, ParameterFunctionsFailWithTheDefaultParameters) {
  ExpectTerm("LOG(8)", 0, 2);   // base P = 0
  ExpectTerm("WP(8)", 0, 2);    // P = 0
  ExpectTerm("EXPP(2)", 0, 2);  // P = 0
  ExpectTerm("BETA(2)", 0, 4);  // Gamma(P) is a pole
  TermEnvironment env;
  env.P = 1;
  EXPECT_EQ(Eval("LOG(8)", 1, env).code, 2);
  env.P = 2;
  EXPECT_EQ(Eval("EXPP(80)", 1, env).code, 2);  // 80 ln 2 >= 50
  EXPECT_DOUBLE_EQ(Eval("EXPP(10)", 1, env).value, 1024);
  EXPECT_EQ(Eval("LOG(0)", 1, env).code, 2);
  env.P = 0.01;
  EXPECT_EQ(Eval("WP(8)", 1, env).code, 2);  // ln 8 / P >= 50
  env.P = -1;
  EXPECT_DOUBLE_EQ(Eval("WP(4)", 1, env).value, 0.25);
}

TEST(TermEnvironment, UserTermsReenterTheEvaluator) {
  ExpectTerm("F1(2)", 0, 1);  // empty in this program
  ExpectTerm("F5(2)", 0, 1);
  TermEnvironment env;
  env.UserTerms[0] = "X^2";
  env.UserTerms[4] = "X+F1(X)";
  EXPECT_DOUBLE_EQ(Eval("F1(3)", 1, env).value, 9);
  EXPECT_DOUBLE_EQ(Eval("F(3)", 1, env).value, 9);  // F is F1
  EXPECT_DOUBLE_EQ(Eval("F5(3)+X", 10, env).value, 22);
  EXPECT_EQ(Eval("F2(3)", 1, env).code, 1);
  // An earlier error survives a user term that succeeds...
  const Outcome kept = Eval("SQRT(-1)+F1(3)", 1, env);
  EXPECT_EQ(kept.code, 2);
  EXPECT_DOUBLE_EQ(kept.value, 9);
  // ...and a failing user term reports its own.
  env.UserTerms[1] = "LN(X)";
  EXPECT_EQ(Eval("1+F2(0)", 1, env).code, 2);
  // A user term is capped like any term.
  env.UserTerms[2] = "X*1000";
  EXPECT_EQ(Eval("F3(X)/1000", 1e9, env).value, 1e7);
}

TEST(TermEnvironment, UserTermsCallingThemselvesEndWithASyntaxError) {
  TermEnvironment env;
  env.UserTerms[0] = "F1(X)+1";
  EXPECT_EQ(Eval("F1(1)", 1, env).code, 1);
  // Doubling at every level would take 2^200 evaluations; the work is bounded.
  env.UserTerms[1] = "F2(X)+F2(X)";
  EXPECT_EQ(Eval("F2(1)", 1, env).code, 1);
  env.UserTerms[2] = "F4(X)";
  env.UserTerms[3] = "F3(X)";
  EXPECT_EQ(Eval("F3(1)", 1, env).code, 1);
}

TEST(TermEnvironment, McarloDrawsWholeNumbersBelowItsArgument) {
  TermEnvironment env;
  env.Random.seed(42);
  std::set<double> seen;
  for (int i = 0; i < 600; ++i) {
    const Outcome o = Eval("MCARLO(6)", 1, env);
    ASSERT_EQ(o.code, 0);
    ASSERT_EQ(o.value, std::floor(o.value));
    ASSERT_GE(o.value, 0);
    ASSERT_LT(o.value, 6);
    seen.insert(o.value);
  }
  EXPECT_EQ(seen.size(), 6u);
  for (int i = 0; i < 200; ++i) {
    const double v = Eval("MCARLO(0)", 1, env).value;
    ASSERT_GE(v, 0.0);
    ASSERT_LT(v, 1.0);
  }
  EXPECT_EQ(Eval("MCARLO(1)", 1, env).value, 0);
  EXPECT_EQ(Eval("MCARLO(5.6)", 1, env).code, 0);  // rounds to 6
}

TEST(TermEnvironment, McarloFollowsItsGenerator) {
  TermEnvironment a;
  TermEnvironment b;
  a.Random.seed(7);
  b.Random.seed(7);
  for (int i = 0; i < 20; ++i) EXPECT_EQ(Eval("MCARLO(1000000)", 1, a).value, Eval("MCARLO(1000000)", 1, b).value);
  b.Random.seed(8);
  int same = 0;
  for (int i = 0; i < 20; ++i) same += Eval("MCARLO(1000000)", 1, a).value == Eval("MCARLO(1000000)", 1, b).value;
  EXPECT_LT(same, 3);
}

TEST(TermEnvironment, McarloRefusesEmptyAndUnrepresentableRanges) {
  ExpectTerm("MCARLO(0.3)", 0, 2);
  ExpectTerm("MCARLO(-3)", 0, 2);
  ExpectTerm("MCARLO(X)", 0, 2, 1e19);
  ExpectTerm("MCARLO(X)", 0, 2, NAN);
}

TEST(TermEnvironment, TheDefaultEnvironmentServesThePlainCall) {
  TermEnvironment& env = DefaultTermEnvironment();
  EXPECT_EQ(&env, &DefaultTermEnvironment());
  EXPECT_EQ(env.P, 0.0);
  EXPECT_TRUE(env.UserTerms[0].empty());
  EXPECT_DOUBLE_EQ(EvaluateTerm("WURZEL(3)/2", 1.0, TermEncoding::Windows1252), std::sqrt(3.0) / 2);
  EXPECT_EQ(TermError, 0);
  EXPECT_DOUBLE_EQ(EvaluateTerm("X+P", 2.0, TermEncoding::Windows1252), 2.0);
  EvaluateTerm("", 1.0, TermEncoding::Windows1252);
  EXPECT_EQ(TermError, 1);
}

TEST(TermFunctions, EulerPhi) {
  ExpectTerm("EULERPHI(1)", 1, 0);
  ExpectTerm("EULERPHI(10)", 4, 0);
  ExpectTerm("EULERPHI(9.6)", 4, 0);  // rounds to 10
  ExpectTerm("EULERPHI(9973)", 9972, 0);
  ExpectTerm("EULERPHI(10000)", 4000, 0);
  ExpectTerm("EULERPHI(0)", 0, 1);
  ExpectTerm("EULERPHI(10001)", 0, 1);
  ExpectTerm("EULERPHI(X)", 0, 1, 1e18);
  ExpectTerm("EULERPHI(X)", 0, 2, 1e19);  // beyond whole-number conversion
  ExpectTerm("EULERPHI(X)", 0, 2, NAN);
  // Against the definition: the count of i < n coprime to n.
  for (int n = 2; n <= 60; ++n) {
    int count = 0;
    for (int i = 1; i < n; ++i) count += std::gcd(i, n) == 1;
    EXPECT_EQ(Eval("EULERPHI(X)", n).value, count) << n;
  }
}

}  // namespace
}  // namespace didod::testing
