#pragma once
#include <array>
#include <cstdint>
#include <random>
#include <string>

namespace didod {

// Error code of the last evaluation: 0 success, 1 syntax, 2 domain, 3 INT or
// HEAVISIDE used, 4 value capped or clamped.
extern std::uint8_t TermError;

// The largest result of a term, and the value several overflows give.
inline constexpr double kTermCap = 1e10;

// Everything a term can refer to besides X. The program never assigns the
// parameters or user terms, so they stay 0 and empty.
struct TermEnvironment {
  double P = 0.0;
  double Q = 0.0;  // also the modulus of SN, CN and DN
  double R = 0.0;
  std::array<double, 5> K{};               // K1 .. K5
  std::array<std::string, 5> UserTerms{};  // the terms behind F1 .. F5
  std::mt19937_64 Random;                  // the one generator MCARLO draws from

  TermEnvironment();  // seeds Random from the system
};

// The environment of the program's own fields.
TermEnvironment& DefaultTermEnvironment();

// How the bytes of a term's text stand for its characters: UTF-8 (as the
// widgets hand it over) or the language's own code page, Windows-1252. The
// user terms of F1 .. F5 are Windows-1252.
enum class TermEncoding { Windows1252, Utf8 };

// Evaluates an arithmetic term in the variable X and sets TermError. A UTF-8
// text that is not valid UTF-8 has a character that is not allowed where the
// bad bytes stand. The result is always a finite number not above kTermCap.
double EvaluateTerm(const std::string& text, double x, TermEncoding encoding);
double EvaluateTerm(const std::string& text, double x, TermEnvironment& environment, TermEncoding encoding);

}  // namespace didod
