// The binary operators, the power rule with its limits, and the cap.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "term/eval_helpers.h"

namespace didod::testing {
namespace {

TEST(TermOperators, SumsMeansAndExtremes) {
  ExpectTerm("2+3", 5, 0);
  ExpectTerm("2-3", -1, 0);
  ExpectTerm("2&4", 3, 0);
  ExpectTerm("2#8", 4, 0);
  ExpectTerm("(0-2)#(0-8)", 4, 0);
  ExpectTerm("0#5", 0, 0);
  ExpectTerm("(0-2)#8", 0, 2);
  ExpectTerm("3<5", 3, 0);
  ExpectTerm("3>5", 5, 0);
  ExpectTerm("(0-3)<(0-5)", -5, 0);
}

TEST(TermOperators, ProductRefusesOperandsAtTheCap) {
  ExpectTerm("2*3", 6, 0);
  ExpectTerm("2\xB7" "3", 6, 0);
  ExpectTerm("X*2", 1e10, 2, 1e10);
  ExpectTerm("2*X", 1e10, 2, -1e10);
  ExpectTerm("X\xB7" "2", 1e10, 2, 1e10);
  // Operands below the cap may give a product above it: that is the final cap.
  ExpectTerm("X*2", 1e10, 4, 9e9);
  ExpectTerm("0-X*2", -1.8e10, 0, 9e9);
}

TEST(TermOperators, DivisionByZero) {
  ExpectTerm("1/4", 0.25, 0);
  ExpectTerm("1/0", 1e10, 2);
  ExpectTerm("0-1/0", -1e10, 2);
  ExpectTerm("1/(2-2)", 1e10, 2);
}

TEST(TermOperators, ModuloRoundsBothOperandsAndFollowsTheLeftSign) {
  ExpectTerm("7%3", 1, 0);
  ExpectTerm("-7%3", -1, 0);
  ExpectTerm("(0-7)%3", -1, 0);
  ExpectTerm("7%(0-3)", 1, 0);
  ExpectTerm("7.6%3", 2, 0);
  // Halves round to the even neighbour: 8 % 2.5 is 8 % 2.
  ExpectTerm("8%2.5", 0, 0);
  ExpectTerm("7%0", 1e10, 2);
  // A right operand that rounds to 0 is a division by zero, not a crash.
  ExpectTerm("7%0.3", 1e10, 2);
  ExpectTerm("7%0.5", 1e10, 2);
  // Operands beyond 64-bit integers are refused instead of overflowing.
  ExpectTerm("X%7", 1e10, 2, 1e19);
  ExpectTerm("7%X", 1e10, 2, -1e19);
  ExpectTerm("X%7", 1e10, 2, NAN);
  ExpectTerm("X%(0-1)", 0, 0, -9223372036854775808.0);
  ExpectTerm("X%7", 1, 0, 1e18);  // 10^18 = 7 * 142857142857142857 + 1
}

TEST(TermOperators, BinomialCoefficient) {
  ExpectTerm("5~2", 10, 0);
  ExpectTerm("10~3", 120, 0);
  ExpectTerm("5~0", 1, 0);
  ExpectTerm("5~5", 1, 0);
  ExpectTerm("3~5", 0, 0);
  ExpectTerm("0~3", 0, 0);
  ExpectTerm("(0-2)~3", -4, 0);
  ExpectTerm("2.5~2", 1.875, 0);
  // Not whole: b = 2.5 runs three steps (2.5, 1.5, 0.5).
  ExpectTerm("4~2.5", 4.0 / 2.5 * 3.0 / 1.5 * 2.0 / 0.5, 0);
  ExpectTerm("5~(0-1)", 1, 0);
  ExpectTerm("40~20", 1e10, 2);  // 137846528820 passes the cap
  ExpectTerm("30~15", 155117520, 0);
}

TEST(TermOperators, BinomialWithAHugeRightOperandFinishesAtOnce) {
  // Written as a loop these run about b times.
  ExpectTerm("0~99999999999854", 0, 0);
  ExpectTerm("X~(X+1)", 0, 0, 1e14);
  ExpectTerm("X~X", 1, 0, 1e14);
  ExpectTerm("X~(X-1)", 1e6, 0, 1e6);
  ExpectTerm("X~(X-1)", 1e10, 2, 1e14);
  ExpectTerm("X~(X-2)", 5000950045.0, 0, 100010);
  ExpectTerm("X~(X-2)", 49995000, 0, 10000, 1e-5);
  ExpectTerm("X~(X-2)", 1e10, 2, 1e8);
  ExpectTerm("X~X", 1, 0, 1e300);
  ExpectTerm("(X+X)~X", 1e10, 2, 1e300);
  ExpectTerm("1~X", 0, 0, 1e300);
  ExpectTerm("1~X", 1e10, 2, INFINITY);
  // Long loops that are no whole numbers give the loop's value, whatever their length.
  ExpectTerm("10000.5~10000.5", 1, 0);
  ExpectTerm("X~X", 1, 0, 123456789.25);
  // C(n + 1/2, n) = Gamma(n + 3/2) / (Gamma(3/2) n!), about 2 sqrt(n / pi).
  for (double n : {500.0, 1500.0, 5000.0, 20000.0, 1e6}) {
    const Outcome o = Eval("(X+0.5)~X", n);
    EXPECT_EQ(o.code, 0) << n;
    const double expected = std::exp(std::lgamma(n + 1.5) - std::lgamma(1.5) - std::lgamma(n + 1.0));
    EXPECT_NEAR(o.value, expected, expected * 1e-9) << n;
  }
  ExpectTerm("20000.5~20000", 159.58, 0, 1.0, 0.01);
  ExpectTerm("(X+0.5)~X", 2 * std::sqrt(1e12 / 3.141592653589793), 0, 1e12, 1e-3);  // the series' first term
  // The cap is passed by the last partial product, or by the one before a negative last.
  ExpectTerm("(X+3.5)~X", 1e10, 2, 1e3 * 1e3);                    // about 1e21
  ExpectTerm("(0-0.5)~X", std::exp(std::lgamma(1500.5) - std::lgamma(0.5) - std::lgamma(1501.0)), 0, 1500,
             1e-12);  // (-1/2 over n) = (-1)^n Gamma(n + 1/2) / (Gamma(1/2) n!)
  ExpectTerm("(0-0.5)~X", -std::exp(std::lgamma(1501.5) - std::lgamma(0.5) - std::lgamma(1502.0)), 0, 1501,
             1e-12);
  // Long loops in closed form give the loop's product (here in long double).
  const auto loop = [](long double a, long double b) {
    long double r = 1;
    for (; b > 0; a -= 1, b -= 1) r = r * a / b;
    return static_cast<double>(r);
  };
  for (const auto& [a, b] : std::vector<std::pair<double, double>>{
           {2999.75, 3000.5}, {1200.5, 3000.25}, {-2.5, 2000.5}, {-0.75, 2500}, {3000.5, 2999.5}, {1999.5, 2000}}) {
    const Outcome o = Eval("X~" + std::to_string(b), a);
    const double expected = loop(a, b);
    EXPECT_EQ(o.code, 0) << a << "~" << b;
    EXPECT_NEAR(o.value, expected, std::fabs(expected) * 1e-9 + 1e-300) << a << "~" << b;
  }
}

TEST(TermPower, SmallWholeExponents) {
  ExpectTerm("5^0", 1, 0);
  ExpectTerm("0^0", 1, 0);
  ExpectTerm("5^1", 5, 0);
  ExpectTerm("(0-3)^2", 9, 0);
  ExpectTerm("(0-3)^3", -27, 0);
  ExpectTerm("1.5^4", 5.0625, 0);
  ExpectTerm("2^23", 8388608, 0);
  ExpectTerm("(0-2)^5", -32, 0);
}

TEST(TermPower, LogarithmPathStaysWithinEToThe16) {
  ExpectTerm("10^7", 1e7, 0);
  ExpectTerm("10^8", 1e8, 0);
  ExpectTerm("10^-6", 1e-6, 0, 1.0, 1e-18);
  ExpectTerm("10^7.5", 0, 2);
  ExpectTerm("10^-7", 0, 2);
  ExpectTerm("2^0.5", std::sqrt(2.0), 0, 1.0, 1e-15);
  ExpectTerm("3^-14.5", std::pow(3.0, -14.5), 0, 1.0, 1e-20);  // |b ln a| = 15.93
  ExpectTerm("3^-14.6", 0, 2);                                  // 16.04
  ExpectTerm("0^-1", 0, 0);
  ExpectTerm("0^0.5", 0, 0);
  ExpectTerm("1^X", 1, 0, 1e20);
  ExpectTerm("2^X", 0, 2, 3e9);
}

TEST(TermPower, NegativeBaseNeedsAWholeExponentAndTheLimit15) {
  ExpectTerm("(0-8)^(1/3)", 0, 2);
  ExpectTerm("(-8)^(1/3)", 0, 2);
  ExpectTerm("(0-2)^-3", -0.125, 0, 1.0, 1e-16);
  ExpectTerm("(0-2)^-2", 0.25, 0, 1.0, 1e-16);
  ExpectTerm("3^-14", std::pow(3.0, -14), 0, 1.0, 1e-20);  // |b ln a| = 15.38
  ExpectTerm("(0-3)^-14", 0, 2);                           // above 15
  ExpectTerm("(0-1)^X", 1, 0, 1e20);
}

TEST(TermPower, RootUsesTheLimit15) {
  ExpectTerm("27\\3", 3, 0, 1.0, 1e-15);
  ExpectTerm("8\\0", 0, 2);
  ExpectTerm("16\\0.5", 256, 0, 1.0, 1e-12);
  ExpectTerm("3\\(0-0.0735)", std::pow(3.0, -1 / 0.0735), 0, 1.0, 1e-18);  // 14.95
  ExpectTerm("3\\(0-0.07)", 0, 2);                                          // 15.69
  ExpectTerm("3^(0-1/0.07)", std::pow(3.0, -1 / 0.07), 0, 1.0, 1e-18);      // fine below 16
  ExpectTerm("(0-8)\\3", 0, 2);
}

TEST(TermPower, WholeExponentsCapAsSoonAsAPartialProductPassesTheCap) {
  ExpectTerm("10^10", 1e10, 0);
  ExpectTerm("10^11", 1e10, 4);
  ExpectTerm("2^33", 8589934592.0, 0);
  ExpectTerm("2^34", 1e10, 4);
  // Negative partial products never pass the cap: (-10)^11 stays below it.
  ExpectTerm("(0-10)^11", -1e11, 0);
  ExpectTerm("(0-10)^12", 1e10, 4);
  ExpectTerm("0-10^11", 0 - 1e10, 4);
}

TEST(TermPower, AnEarlierErrorOfCode2OrMoreStopsEveryPower) {
  ExpectTerm("SQRT(-1)+2^3", 0, 2);
  ExpectTerm("10^11^2", 0, 2);
  ExpectTerm("INT(1)+2^3", 1, 2);  // code 3 counts as well
  ExpectTerm("2^3+SQRT(-1)", 8, 2);
}

// a^n by n - 1 multiplications, stopping at the cap, as the rule states it.
double SequentialPower(double a, std::uint32_t n, int& code) {
  double p = a;
  code = 0;
  for (std::uint32_t i = 1; i < n; ++i) {
    p *= a;
    if (p > 1e10) {
      code = 4;
      return 1e10;
    }
  }
  return p;
}

TEST(TermPower, HugeWholeExponentsGiveTheResultsOfRepeatedMultiplication) {
  const struct {
    double a;
    std::uint32_t n;
  } cases[] = {{1.0000001, 2000000}, {1.000001, 24000000}, {0.9999999, 3000000}, {-0.9999999, 3000001},
               {-1.00001, 2000001},  {-1.00001, 2400001},   {1.00001, 2302000},   {0.5, 1100},
               {-0.5, 1025},         {1.0001, 9000},        {-1.0001, 9001}};
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.a << "^" << c.n);
    int code = 0;
    const double expected = SequentialPower(c.a, c.n, code);
    const Outcome o = Eval("X^" + std::to_string(c.n), c.a);
    EXPECT_EQ(o.code, code);
    EXPECT_NEAR(o.value, expected, std::fabs(expected) * 1e-8 + 1e-300);
  }
  // Up to 1024 factors the products are exactly those of the loop.
  int code = 0;
  EXPECT_EQ(Eval("X^1000", 1.01).value, SequentialPower(1.01, 1000, code));
}

TEST(TermPower, HugeExponentsOfSpecialBases) {
  ExpectTerm("1^2147483646", 1, 0);
  ExpectTerm("(0-1)^2147483645", -1, 0);
  ExpectTerm("0^2147483646", 0, 0);
  ExpectTerm("2^2147483646", 1e10, 4);
  ExpectTerm("X^2147483646", 0, 2, NAN);  // NaN is no result
  ExpectTerm("X^2147483647", 1, 0, 1.0);  // the logarithm path
}

TEST(TermCap, ResultsAboveTheCapAreCappedButNotLargeNegatives) {
  ExpectTerm("X", 1e10, 0, 1e10);
  ExpectTerm("X", 1e10, 4, 1.0000001e10);
  ExpectTerm("99999999999", 1e10, 4);
  ExpectTerm("0-99999999999", -99999999999.0, 0);
  ExpectTerm("X+X", -3e10, 0, -1.5e10);
  // The cap sets code 4 even over an earlier error.
  ExpectTerm("SQRT(-1)+99999999999", 1e10, 4);
}

TEST(TermCap, NonFiniteResultsAreNoResults) {
  const std::string huge(400, '9');
  ExpectTerm(huge, 1e10, 4);
  ExpectTerm("0-" + huge, 0, 2);
  ExpectTerm(huge + "-" + huge, 0, 2);  // infinity minus infinity
  ExpectTerm("X", 0, 2, NAN);
  ExpectTerm("X", 1e10, 4, INFINITY);
  ExpectTerm("X", 0, 2, -INFINITY);
  ExpectTerm("0." + std::string(400, '0') + "1", 0, 0);
}

}  // namespace
}  // namespace didod::testing
