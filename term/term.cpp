// Placeholder until the full evaluator lands: plain decimal numbers only.
#include "term/term.h"

#include <cstdlib>

namespace didod {

std::uint8_t TermError = 0;

double EvaluateTerm(const std::string& text, double x) {
  if (text.empty()) {
    TermError = 1;
    return 0.0;
  }
  char* end = nullptr;
  const double v = std::strtod(text.c_str(), &end);
  TermError = (end && *end == '\0') ? 0 : 1;
  return TermError ? 0.0 : v;
}

}  // namespace didod
