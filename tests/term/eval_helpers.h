#pragma once
#include <gtest/gtest.h>

#include <string>

#include "term/term.h"

namespace didod::testing {

struct Outcome {
  double value;
  int code;
};

// Evaluates in a fresh environment (parameters 0, user terms empty, fixed
// seed) so that no test depends on another.
inline Outcome Eval(const std::string& text, double x = 1.0, TermEncoding encoding = TermEncoding::Windows1252) {
  TermEnvironment env;
  env.Random.seed(1);
  const double v = EvaluateTerm(text, x, env, encoding);
  return {v, TermError};
}

inline Outcome Eval(const std::string& text, double x, TermEnvironment& env) {
  const double v = EvaluateTerm(text, x, env, TermEncoding::Windows1252);
  return {v, TermError};
}

// Expects the value (to 4 ulp, or within tolerance when one is given) and the
// error code of a term.
inline void ExpectTerm(const std::string& text, double value, int code, double x = 1.0, double tolerance = 0.0) {
  SCOPED_TRACE("term \"" + text + "\"");
  const Outcome o = Eval(text, x);
  if (tolerance > 0.0) {
    EXPECT_NEAR(o.value, value, tolerance);
  } else {
    EXPECT_DOUBLE_EQ(o.value, value);
  }
  EXPECT_EQ(o.code, code);
}

}  // namespace didod::testing
