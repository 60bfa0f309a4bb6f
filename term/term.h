#pragma once
#include <cstdint>
#include <string>

namespace didod {

// Error code of the last evaluation: 0 success, 1 syntax, 2 domain, 3 INT or
// HEAVISIDE used, 4 value capped or clamped.
extern std::uint8_t TermError;

// Evaluates an arithmetic term in the variable X and sets TermError.
double EvaluateTerm(const std::string& text, double x);

}  // namespace didod
