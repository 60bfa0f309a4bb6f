// libFuzzer target for the term evaluator. The first byte picks X and the
// environment; the rest, split at line breaks, is the term and up to five user
// terms for F1 .. F5. Every evaluation must end with a finite value not above
// the cap and a code from 0 to 4.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <string>

#include "term/term.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  static const double xs[16] = {1.0,    0.0,   -1.0,  0.5,   2.0,    -2.5,
                                1e10,   -1e10, 1e300, -1e300, 1e-300, 43.0,
                                std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
                                -std::numeric_limits<double>::infinity(), 49.99};
  static const double params[4] = {0.0, 2.5, -3.0, 1.0};
  const std::uint8_t selector = data[0];
  didod::TermEnvironment env;
  env.Random.seed(selector);
  env.P = params[(selector >> 4) & 3];
  env.Q = params[(selector >> 6) & 3];
  env.R = env.P;
  env.K = {env.P, env.Q, 1.0, -1.0, 0.0};

  std::string text;
  std::size_t piece = 0;
  for (std::size_t i = 1; i < size && text.size() <= 10000; ++i) {
    const char c = static_cast<char>(data[i]);
    if (c == '\n' && piece < 5) {
      env.UserTerms[piece++] = text;
      text.clear();
      continue;
    }
    text.push_back(c);
  }
  // The last piece is the term, so that a plain text is a term of its own.
  const double value = didod::EvaluateTerm(
      text, xs[selector & 15], env, (size & 1) ? didod::TermEncoding::Utf8 : didod::TermEncoding::Windows1252);
  if (!std::isfinite(value) || value > didod::kTermCap || didod::TermError > 4) std::abort();
  return 0;
}
