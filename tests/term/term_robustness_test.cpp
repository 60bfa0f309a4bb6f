// Inputs that must neither crash nor hang nor leak a non-number to the caller.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include "term/eval_helpers.h"

namespace didod::testing {
namespace {

std::string Repeat(const std::string& s, int n) {
  std::string out;
  for (int i = 0; i < n; ++i) out += s;
  return out;
}

TEST(TermRobustness, DeepNestingIsASyntaxErrorNotACrash) {
  ExpectTerm(Repeat("(", 150) + "1" + Repeat(")", 150), 1, 0);
  ExpectTerm(Repeat("(", 5000) + "1" + Repeat(")", 5000), 0, 1);
  ExpectTerm(Repeat("(", 10000), 0, 1);
  ExpectTerm(Repeat("[", 5000) + "2", 0, 1);
  ExpectTerm(Repeat("|", 9999) + "-1", 0, 1);
  ExpectTerm(Repeat("SIN(", 5000) + "0", 0, 1);
  ExpectTerm(Repeat("-(", 5000) + "1", 0, 1);
  ExpectTerm("1+" + Repeat("(", 5000) + "1", 1, 1);
}

TEST(TermRobustness, LongFlatTermsEvaluate) {
  ExpectTerm("0" + Repeat("+1", 4999), 4999, 0);
  ExpectTerm("1" + Repeat("*1", 4999), 1, 0);
  ExpectTerm(Repeat("1-", 4999) + "1", -4998, 0);
  ExpectTerm("2" + Repeat("^1", 4999), 2, 0);
  ExpectTerm(std::string(10000, '7'), 1e10, 4);
  ExpectTerm(std::string(10000, '.'), 0, 0);
  ExpectTerm(std::string(10000, 'S'), 0, 1);
  ExpectTerm(std::string(10000, ' '), 0, 1);
  ExpectTerm(std::string(10000, ','), 0, 0);
}

// Every function name over arguments that probe its edges: the result is a
// finite number not above the cap, the code is one of 0 to 4, and nothing
// hangs.
TEST(TermRobustness, EveryFunctionOnEveryKindOfArgument) {
  const std::string names =
      "SQR SQRT EXP LN ABS SI SIN COS TAN ARCCOS LG ARCTAN SINH COSH TANH INT SGN F1 F2 F3 F4 COT LD ARCSIN "
      "ARSINH ARCOSH ARTANH SEC GAMMA GAUSS MCARLO CI EI BETA BESSJ0 BESSJ1 WURZEL WURZEL3 EHOCH WURZEL4 W3 W4 "
      "LOG CSC WP F5 VORZEICHEN FRAC EXPP GAMMALN HEAVISIDE SINW COSW TANW COTW ARCTANW ARCSINW GSUMME SN CN DN "
      "EULERPHI AI BI ARCCOT ARCSEC";
  const double inf = std::numeric_limits<double>::infinity();
  const double args[] = {0.0,    -0.0,    1.0,     -1.0,    0.5,    -0.5,   2.0,     -2.5,   1e-300,
                         -1e-300, 1e-10,  49.999,  50.0,    -50.0,  43.0,   39.999,  1e10,   -1e10,
                         1e15,   -1e15 + 0.5, 1e19, -1e19,  1e300,  -1e300, inf,     -inf,   std::nan(""),
                         5e-324, 1.7976931348623157e308};
  TermEnvironment envs[3];
  envs[1].P = 2.5;
  envs[1].Q = 0.8;
  envs[1].UserTerms = {"X*2", "SQRT(X)", "", "LN(X)", "F1(X)+1"};
  envs[2].P = -3;
  envs[2].Q = 7;
  std::istringstream in(names);
  std::string name;
  int evaluated = 0;
  while (in >> name) {
    for (auto& env : envs) {
      for (double x : args) {
        for (const std::string& arg : {std::string("X"), std::string("-X")}) {
          const std::string text = name + "(" + arg + ")";
          const Outcome o = Eval(text, x, env);
          ASSERT_TRUE(std::isfinite(o.value)) << text << " at " << x;
          ASSERT_LE(o.value, 1e10) << text << " at " << x;
          ASSERT_LE(o.code, 4) << text << " at " << x;
          ++evaluated;
        }
      }
    }
  }
  EXPECT_EQ(evaluated, 66 * 3 * 29 * 2);
}

TEST(TermRobustness, EveryOperatorOnEveryKindOfOperand) {
  const double inf = std::numeric_limits<double>::infinity();
  const std::vector<double> values = {0.0, 1.0, -1.0, 0.3, 2.5, -7.0, 1e10, -1e10, 1e19, 1e300, -1e300, inf, -inf,
                                      std::nan("")};
  TermEnvironment env;
  for (const char* op : {"+", "-", "&", "#", "<", ">", "*", "/", "%", "~", "^", "\\", "\xB7"}) {
    for (double a : values) {
      for (double b : values) {
        // X carries a, the parameter K1 carries b.
        env.K[0] = b;
        const std::string text = std::string("X") + op + "K1";
        const Outcome o = Eval(text, a, env);
        ASSERT_TRUE(std::isfinite(o.value)) << a << op << b;
        ASSERT_LE(o.value, 1e10) << a << op << b;
        ASSERT_LE(o.code, 4) << a << op << b;
      }
    }
  }
}

TEST(TermRobustness, TheTextIsNotChangedAndEmbeddedZerosAreCharacters) {
  const std::string text = "1 , 5";
  EXPECT_DOUBLE_EQ(EvaluateTerm(text, 1.0, TermEncoding::Windows1252), 1.5);
  EXPECT_EQ(text, "1 , 5");
  ExpectTerm(std::string("1\0+2", 4), 1, 1);
  ExpectTerm(std::string("\0", 1), 0, 1);
}

}  // namespace
}  // namespace didod::testing
