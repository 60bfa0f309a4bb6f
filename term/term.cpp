#include "term/term.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string_view>

#include "term/special_functions.h"

namespace didod {

std::uint8_t TermError = 0;

TermEnvironment::TermEnvironment() : Random(std::random_device{}()) {}

TermEnvironment& DefaultTermEnvironment() {
  static TermEnvironment environment;
  return environment;
}

namespace {

constexpr double kCap = kTermCap;
constexpr double kPi = 3.141592653589793;
constexpr double kGoldenRatio = 1.618033988749895;
constexpr double kE = 2.718281828459045;

// Characters of the Windows-1252 code page that the language uses.
constexpr char kEulerChar = '\xC9';   // É, Euler's number
constexpr char kMiddleDot = '\xB7';   // ·, multiplication
constexpr char kNumberChar = '\xE9';  // é, allowed inside numbers

// Openers nested deeper than this (a human writes a handful) end the term
// with a syntax error instead of exhausting the stack.
constexpr int kMaxNesting = 200;
// Characters of user terms (F1 .. F5) one evaluation may work through, so
// that terms calling each other cannot multiply the work without end.
constexpr std::size_t kUserTermBudget = 10000;
// Steps of the binomial loop that run as written; a longer loop is answered
// in closed form.
constexpr long kBinomialSteps = 1000;
// Multiplications of a whole power done one by one before the rest goes by
// squaring.
constexpr std::uint32_t kDirectPowerSteps = 1024;

// The function names in their fixed order; a name is looked up as a substring
// of this text.
constexpr std::string_view kNameList =
    "SQR SQRT EXP LN ABS SI SIN COS TAN ARCCOS LG ARCTAN SINH COSH TANH INT SGN F1 F2 F3 F4 COT LD ARCSIN "
    "ARSINH ARCOSH ARTANH SEC GAMMA GAUSS MCARLO CI EI BETA BESSJ0 BESSJ1 WURZEL WURZEL3 EHOCH WURZEL4 W3 W4 "
    "LOG CSC WP F5 VORZEICHEN FRAC EXPP GAMMALN HEAVISIDE SINW COSW TANW COTW ARCTANW ARCSINW GSUMME SN CN DN "
    "EULERPHI AI BI ARCCOT ARCSEC";

enum class Fn {
  Sqr, Sqrt, Exp, Ln, Abs, Si, Sin, Cos, Tan, ArcCos, Lg, ArcTan, Sinh, Cosh, Tanh, Int, Sgn, F1, F2, F3, F4,
  Cot, Ld, ArcSin, ArSinh, ArCosh, ArTanh, Sec, Gamma, Gauss, MCarlo, Ci, Ei, Beta, BessJ0, BessJ1, Wurzel,
  Wurzel3, EHoch, Wurzel4, W3, W4, Log, Csc, Wp, F5, Vorzeichen, Frac, ExpP, GammaLn, Heaviside, SinW, CosW,
  TanW, CotW, ArcTanW, ArcSinW, GSumme, Sn, Cn, Dn, EulerPhi, Ai, Bi, ArcCot, ArcSec, None
};

// The function whose name starts at the first occurrence of `name` in the
// list, or None when it occurs nowhere or first inside another name.
Fn LookUp(std::string_view name) {
  const std::size_t at = kNameList.find(name);
  if (at == std::string_view::npos || (at > 0 && kNameList[at - 1] != ' ')) return Fn::None;
  const auto index = std::count(kNameList.begin(), kNameList.begin() + static_cast<std::ptrdiff_t>(at), ' ');
  return static_cast<Fn>(index);
}

bool IsWhole(double v) { return std::trunc(v) == v; }

// The whole part of v, and of v - 1 below zero (so -2 becomes -3).
double RoundDown(double v) { return v >= 0.0 ? std::trunc(v) : std::trunc(v - 1.0); }

// Rounds to the nearest whole number, halves to the even one, when the
// result fits a 64-bit integer.
bool RoundToInt64(double v, std::int64_t& out) {
  const double r = std::nearbyint(v);
  if (!(r >= -9223372036854775808.0 && r < 9223372036854775808.0)) return false;
  out = static_cast<std::int64_t>(r);
  return true;
}

double Fail(std::uint8_t code, double value) {
  TermError = code;
  return value;
}

// UTF-8 brought to one byte per character (Latin-1, which agrees with
// Windows-1252 on every character the language knows). A character beyond
// Latin-1 and every byte of a broken sequence become DEL, which is allowed
// nowhere.
std::string FromUtf8(const std::string& text) {
  constexpr char kNotAllowed = '\x7F';
  std::string out;
  out.reserve(text.size());
  const std::size_t n = text.size();
  for (std::size_t i = 0; i < n;) {
    const auto b0 = static_cast<unsigned char>(text[i]);
    if (b0 < 0x80) {
      out.push_back(static_cast<char>(b0));
      ++i;
      continue;
    }
    int extra = -1;  // continuation bytes
    if (b0 >= 0xC2 && b0 <= 0xDF) {
      extra = 1;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
      extra = 2;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
      extra = 3;
    }
    static constexpr std::uint32_t kLeadMask[4] = {0, 0x1F, 0x0F, 0x07};
    static constexpr std::uint32_t kLeast[4] = {0, 0x80, 0x800, 0x10000};  // no overlong forms
    bool valid = extra > 0 && i + static_cast<std::size_t>(extra) < n;
    std::uint32_t cp = valid ? (b0 & kLeadMask[extra]) : 0;
    for (int k = 1; valid && k <= extra; ++k) {
      const auto b = static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]);
      valid = (b & 0xC0u) == 0x80u;
      cp = (cp << 6) | (b & 0x3Fu);
    }
    valid = valid && cp >= kLeast[extra] && cp <= 0x10FFFF && !(cp >= 0xD800 && cp <= 0xDFFF);
    if (!valid) {
      out.push_back(kNotAllowed);
      ++i;
      continue;
    }
    out.push_back(cp <= 0xFF ? static_cast<char>(cp) : kNotAllowed);
    i += static_cast<std::size_t>(extra) + 1;
  }
  return out;
}

// The rewrites before parsing: decimal commas, blanks, a leading sign, and
// "(-X^" so that (-X^2) means 0 - X^2.
std::string Rewrite(std::string text) {
  std::replace(text.begin(), text.end(), ',', '.');
  // Blanks go one by one while the text is longer than one character, which
  // leaves a single blank of a text that held nothing else.
  if (text.find_first_not_of(' ') == std::string::npos) {
    text = " ";
  } else {
    text.erase(std::remove(text.begin(), text.end(), ' '), text.end());
  }
  if (text[0] == '-' || text[0] == '+') text.insert(0, "0");
  std::string out;
  out.reserve(text.size() + 8);
  for (std::size_t i = 0; i < text.size(); ++i) {
    out.push_back(text[i]);
    if (text.compare(i, 4, "(-X^") == 0) out.push_back('0');
  }
  return out;
}

struct Budget {
  std::size_t userTermChars = kUserTermBudget;
};

double Evaluate(const std::string& text, double x, TermEnvironment& env, int nesting, Budget& budget);

// a^n by squaring.
double PowerBySquaring(double a, std::uint32_t n) {
  double result = 1.0;
  while (n > 0) {
    if (n & 1u) result *= a;
    a *= a;
    n >>= 1;
  }
  return result;
}

// a^n for whole n > 4 as repeated multiplication that stops at the cap as soon
// as a partial product exceeds it. Long runs finish by squaring: beyond the
// first steps a partial product can only pass the cap if |a| > 1, and then the
// largest positive partial product is the last (a > 0) or the last even one
// (a < 0), so checking that one power decides the cap the same way.
double WholePower(double a, std::uint32_t n) {
  double p = a;
  std::uint32_t k = 1;
  for (; k < n && k < kDirectPowerSteps; ++k) {
    p *= a;
    if (p > kCap) return Fail(4, kCap);
  }
  if (k == n || std::isnan(a)) return p;
  const double magnitude = std::fabs(a);
  if (magnitude > 1.0) {
    const std::uint32_t top = a > 0.0 ? n : (n & ~1u);
    if (PowerBySquaring(magnitude, top) > kCap) return Fail(4, kCap);
  }
  return p * PowerBySquaring(a, n - k);
}

// a^b; the root operator calls it with 1/b and the limit 15 instead of 16.
double Power(double a, double b, double limit) {
  if (TermError >= 2) return Fail(2, 0.0);
  if (b == 0.0) return 1.0;
  if (b == 1.0) return a;
  if (b == 2.0) return a * a;
  if (b == 3.0) return a * a * a;
  if (b == 4.0) return a * a * a * a;
  if (b > 4.0 && b < 2147483647.0 && IsWhole(b)) return WholePower(a, static_cast<std::uint32_t>(b));
  if (a == 0.0) return 0.0;
  const double l = b * std::log(std::fabs(a));
  if (std::fabs(l) > limit) return Fail(2, 0.0);
  if (a > 0.0) return std::exp(l);
  if (a < 0.0) {
    if (!(std::fabs(std::trunc(b)) >= std::fabs(b))) return Fail(2, 0.0);
    if (std::fabs(l) > 15.0) return Fail(2, 0.0);
    const double r = std::exp(l);
    return std::fmod(std::trunc(b), 2.0) != 0.0 ? -r : r;
  }
  return a;  // NaN
}

double Modulo(double a, double b) {
  std::int64_t ia = 0;
  std::int64_t ib = 0;
  if (!RoundToInt64(a, ia) || !RoundToInt64(b, ib)) return Fail(2, kCap);
  // A right operand that rounds to 0 is a division by zero like b = 0.
  if (ib == 0) return Fail(2, kCap);
  if (ib == -1) return 0.0;  // INT64_MIN % -1 would overflow
  return static_cast<double>(ia % ib);
}

// ln Gamma(x) - ln Gamma(y) for x = y + h, both positive. For large arguments
// it comes from Stirling's series written as one difference, so that nearly
// equal arguments keep their precision.
double LogGammaRatio(double x, double y, double h) {
  if (x < 10.0 || y < 10.0) return std::lgamma(x) - std::lgamma(y);
  const auto series = [](double z) {
    const double w = 1.0 / (z * z);
    return (1.0 / 12.0 - w * (1.0 / 360.0 - w * (1.0 / 1260.0 - w / 1680.0))) / z;
  };
  return (x - 0.5) * std::log1p(h / y) + h * (std::log(y) - 1.0) + (series(x) - series(y));
}

// The binomial loop of more than kBinomialSteps steps, answered at once. The
// loop runs n = ceil(b) steps and ends up with the product of (a - k) / (b - k)
// for k = 0 .. n - 1, failing as soon as a partial product passes the cap.
// The sizes of the partial products fall while the factors are below 1 in size
// and grow after that, so only the last positive partial product can be the
// one that passes the cap.
double BinomialAtOnce(double a, double b) {
  const double n = std::ceil(b);
  const double last = b - (n - 1.0);  // the last divisor, in (0, 1]
  const double d = a - b;
  const double logCap = std::log(kCap);
  if (d == 0.0) return 1.0;  // every factor is 1
  // One factor is 0, and the factors before it are below 1.
  if (IsWhole(a) && a >= 0.0 && a <= n - 1.0) return 0.0;
  if (a - (n - 1.0) > 0.0) {
    // Every factor is positive: all at least 1 (a > b) or all below 1.
    const double logProduct = LogGammaRatio(a + 1.0, b + 1.0, d) - LogGammaRatio(d + last, last, d);
    if (!(logProduct <= logCap)) return Fail(2, kCap);
    return std::exp(logProduct);
  }
  // The first j factors are positive, the others negative.
  const double j = a > 0.0 ? std::ceil(a) : 0.0;
  double logSize = LogGammaRatio(n - a, b + 1.0, (n - b) - a - 1.0) + std::lgamma(last) - std::lgamma(j - a);
  if (j > 0.0) logSize += std::lgamma(a + 1.0) - std::lgamma(a - j + 1.0);
  const bool negative = std::fmod(n - j, 2.0) != 0.0;
  // A negative product follows the positive partial product before it.
  const double logLastPositive = negative ? logSize - std::log(n - 1.0 - a) + std::log(last) : logSize;
  if (!(logLastPositive <= logCap)) return Fail(2, kCap);
  const double size = std::exp(logSize);
  return negative ? -size : size;
}

// a over b: start at 1, multiply by a and divide by b, lower both by 1, while
// b > 0. Short loops run as written; whole numbers with a - b small use a over
// b = a over (a - b); every other long loop is answered in closed form.
double Binomial(double a, double b) {
  if (b == std::numeric_limits<double>::infinity()) return Fail(2, kCap);
  const double steps = static_cast<double>(kBinomialSteps);
  if (b > 0.0 && IsWhole(a) && IsWhole(b)) {
    // Every factor lies in [0, 1) and one is 0: the result is 0.
    if (a >= 0.0 && a < b) return 0.0;
    // Every factor is at least 1, so the product grows steadily, and a over b
    // equals a over (a - b), which needs only a - b steps.
    if (b <= a && b > steps && a - b < steps) {
      const double k = a - b;
      double r = 1.0;
      for (double i = 0.0; i < k; i += 1.0) {
        r = r * (a - i) / (k - i);
        if (r > kCap) return Fail(2, kCap);
      }
      return r;
    }
  }
  // An infinite a settles within two steps, NaN within one.
  if (b > steps && std::isfinite(a)) return BinomialAtOnce(a, b);
  double r = 1.0;
  while (b > 0.0) {
    r = r * a / b;
    if (r > kCap) return Fail(2, kCap);
    // Zero and NaN stay what they are through every further step.
    if (r == 0.0 || std::isnan(r)) return r;
    a -= 1.0;
    b -= 1.0;
  }
  return r;
}

double ApplyOperator(double a, char op, double b) {
  switch (op) {
    case '+':
      return a + b;
    case '-':
      return a - b;
    case '&':
      return (a + b) / 2.0;
    case '#':
      if (a * b < 0.0) return Fail(2, 0.0);
      return std::sqrt(a * b);
    case '<':
      return a < b ? a : b;
    case '>':
      return a > b ? a : b;
    case '*':
    case kMiddleDot:
      if (std::fabs(a) >= kCap || std::fabs(b) >= kCap) return Fail(2, kCap);
      return a * b;
    case '/':
      if (b == 0.0) return Fail(2, kCap);
      return a / b;
    case '%':
      return Modulo(a, b);
    case '~':
      return Binomial(a, b);
    case '^':
      return Power(a, b, 16.0);
    case '\\':
      if (b == 0.0) return Fail(2, 0.0);
      return Power(a, 1.0 / b, 15.0);
    default:
      return 0.0;
  }
}

int OperatorLevel(char c) {
  switch (c) {
    case '+':
    case '-':
    case '&':
    case '#':
    case '<':
    case '>':
      return 1;
    case '*':
    case '/':
    case '%':
    case '~':
    case kMiddleDot:
      return 2;
    case '^':
    case '\\':
      return 3;
    default:
      return 0;
  }
}

bool IsFunctionLetter(char c) {
  return (c >= 'A' && c <= 'J') || (c >= 'L' && c <= 'O') || c == 'S' || c == 'T' || c == 'V' || c == 'W';
}

bool IsNumberChar(char c) { return (c >= '0' && c <= '9') || c == '.' || c == kNumberChar; }

// The value of a run of number characters: its longest leading decimal
// number (digits with at most one point); a run without one is 0.
double NumberValue(std::string_view run) {
  std::size_t end = 0;
  bool point = false;
  while (end < run.size() && ((run[end] >= '0' && run[end] <= '9') || (run[end] == '.' && !point))) {
    if (run[end] == '.') point = true;
    ++end;
  }
  double value = 0.0;
  const auto [ptr, ec] = std::from_chars(run.data(), run.data() + end, value, std::chars_format::fixed);
  if (ec == std::errc::result_out_of_range) {
    // Too many digits before the point overflow, too many zeros after it
    // underflow.
    const std::string_view whole = run.substr(0, std::min(end, run.find('.')));
    const bool big = whole.find_first_not_of('0') != std::string_view::npos;
    return big ? std::numeric_limits<double>::infinity() : 0.0;
  }
  if (ec != std::errc()) return 0.0;
  return value;
}

double GammaChecked(double x) {
  if (x > 43.0 || (x <= 0.0 && IsWhole(x))) return Fail(4, 0.0);
  return special::GammaPolynomial(x);
}

class Parser {
 public:
  Parser(const std::string& text, double x, TermEnvironment& env, int nesting, Budget& budget)
      : text_(text), x_(x), env_(env), nesting_(nesting), budget_(budget) {}

  double Run() { return Expression(); }

 private:
  char At(std::size_t i) const { return i < text_.size() ? text_[i] : '\0'; }

  // An expression runs up to a closer (consumed), the last character of the
  // text, or a character that is no operator (left where it is, so every
  // enclosing expression ends there too). Operators of one level apply from
  // left to right; a higher level binds tighter.
  double Expression() {
    struct Pending {
      double left;
      char op;
      int level;
    };
    std::array<Pending, 3> stack{};  // levels strictly rise from bottom to top
    std::size_t top = 0;
    double value = SignedFactor();
    char op = 0;
    int level = 0;
    while (NextOperator(op, level)) {
      while (top > 0 && stack[top - 1].level >= level) {
        --top;
        value = ApplyOperator(stack[top].left, stack[top].op, value);
      }
      stack[top++] = {value, op, level};
      value = SignedFactor();
    }
    while (top > 0) {
      --top;
      value = ApplyOperator(stack[top].left, stack[top].op, value);
    }
    return value;
  }

  // Reads the operator after a factor; false when the expression ends. The
  // last character of the text is never read as an operator or closer.
  bool NextOperator(char& op, int& level) {
    if (pos_ + 1 >= text_.size()) return false;
    const char c = text_[pos_];
    level = OperatorLevel(c);
    if (level > 0) {
      op = c;
      ++pos_;
      return true;
    }
    if (c == ')' || c == ']' || c == '|') {
      ++pos_;
      return false;
    }
    TermError = 1;
    return false;
  }

  // A "-" in front of a factor negates that factor alone.
  double SignedFactor() {
    if (At(pos_) == '-') {
      ++pos_;
      return -Factor();
    }
    return Factor();
  }

  bool Opens(char c) const { return c == '(' || c == '[' || c == '|' || IsFunctionLetter(c); }

  double Nested() {
    ++nesting_;
    const double v = Expression();
    --nesting_;
    return v;
  }

  double Factor() {
    const char c = At(pos_);
    if (Opens(c) && nesting_ >= kMaxNesting) return Fail(1, 0.0);
    switch (c) {
      case '(':
        ++pos_;
        return Nested();
      case '[':
        ++pos_;
        return RoundDown(Nested());
      case '|':
        ++pos_;
        return std::fabs(Nested());
      case 'X':
        ++pos_;
        return x_;
      case 'P':
        if (At(pos_ + 1) == 'I') {
          pos_ += 2;
          return kPi;
        }
        if (At(pos_ + 1) == 'H' && At(pos_ + 2) == 'I') {
          pos_ += 3;
          return kGoldenRatio;
        }
        ++pos_;
        return env_.P;
      case 'Q':
        ++pos_;
        return env_.Q;
      case 'R':
        ++pos_;
        return env_.R;
      case 'K': {
        const char d = At(pos_ + 1);
        pos_ += 2;
        return (d >= '1' && d <= '5') ? env_.K[static_cast<std::size_t>(d - '1')] : 0.0;
      }
      case kEulerChar:
        ++pos_;
        return kE;
      default:
        break;
    }
    // A number begins with a digit or a point; é only continues one.
    if (IsNumberChar(c) && c != kNumberChar) {
      const std::size_t start = pos_;
      while (pos_ < text_.size() && IsNumberChar(text_[pos_])) ++pos_;
      return NumberValue(std::string_view(text_).substr(start, pos_ - start));
    }
    if (IsFunctionLetter(c)) return FunctionCall();
    // Not allowed here; the character stays for the operator scan.
    return Fail(1, 0.0);
  }

  // The name runs up to the next "(" (or the end); the argument is the
  // expression after it. The argument is evaluated before the name is looked
  // up, so nothing in it can clear the error of an unknown name.
  double FunctionCall() {
    const std::size_t start = pos_;
    const std::size_t paren = text_.find('(', start);
    const std::size_t nameEnd = paren == std::string::npos ? text_.size() : paren;
    const std::string_view name = std::string_view(text_).substr(start, nameEnd - start);
    pos_ = paren == std::string::npos ? text_.size() : paren + 1;
    const double arg = Nested();
    const Fn fn = LookUp(name);
    if (fn == Fn::None) return Fail(1, 0.0);
    return Call(fn, arg);
  }

  double UserTerm(std::size_t index, double arg) {
    const std::string& term = env_.UserTerms[index];
    if (term.empty()) return Fail(1, 0.0);
    if (term.size() > budget_.userTermChars || nesting_ >= kMaxNesting) return Fail(1, 0.0);
    budget_.userTermChars -= term.size();
    // The inner evaluation starts from code 0; an error of the outer term
    // must survive a user term that succeeds.
    const std::uint8_t outer = TermError;
    const double v = Evaluate(term, arg, env_, nesting_ + 1, budget_);
    if (TermError == 0) TermError = outer;
    return v;
  }

  double Random(double x) {
    std::mt19937_64& rng = env_.Random;
    if (x == 0.0) return static_cast<double>(rng() >> 11) * 0x1.0p-53;  // [0, 1)
    std::int64_t n = 0;
    if (!RoundToInt64(x, n) || n < 1) return Fail(2, 0.0);
    return static_cast<double>(std::uniform_int_distribution<std::int64_t>(0, n - 1)(rng));
  }

  double Call(Fn fn, double x) {
    switch (fn) {
      case Fn::Sqr:
        if (std::fabs(x) >= kCap) return Fail(2, kCap);
        return x * x;
      case Fn::Sqrt:
      case Fn::Wurzel:
        if (x < 0.0) return Fail(2, 0.0);
        return std::sqrt(x);
      case Fn::Exp:
      case Fn::EHoch:
        if (x > 50.0) x = Fail(4, 50.0);
        if (x < -50.0) x = Fail(4, -50.0);
        return std::exp(x);
      case Fn::Ln:
        if (x <= 0.0) return Fail(2, 0.0);
        return std::log(x);
      case Fn::Abs:
        return std::fabs(x);
      case Fn::Si:
        // NaN fails too: the series would never reach its stop.
        if (!(x > 0.0 && x < 50.0)) return Fail(2, 0.0);
        return special::SineIntegralSeries(x);
      case Fn::Sin:
        return std::sin(x);
      case Fn::Cos:
        return std::cos(x);
      case Fn::Tan:
        if (std::cos(x) == 0.0) return 0.0;
        return std::tan(x);
      case Fn::ArcCos:
        if (std::fabs(x) > 1.0) return Fail(2, 0.0);
        return std::acos(x);
      case Fn::Lg:
        if (x <= 0.0) return Fail(2, 0.0);
        return std::log(x) * 0.4342944819033;
      case Fn::ArcTan:
        return std::atan(x);
      case Fn::Sinh:
        if (std::fabs(x) >= 50.0) return Fail(2, kCap);
        return std::sinh(x);
      case Fn::Cosh:
        if (std::fabs(x) >= 50.0) return Fail(2, kCap);
        return std::cosh(x);
      case Fn::Tanh:
        if (std::fabs(x) >= 50.0) return Fail(1, kCap);
        return std::tanh(x);
      case Fn::Int:
        TermError = 3;
        return RoundDown(x);
      case Fn::Sgn:
      case Fn::Vorzeichen:
        TermError = 0;
        return x > 0.0 ? 1.0 : (x < 0.0 ? -1.0 : 0.0);
      case Fn::F1:
        return UserTerm(0, x);
      case Fn::F2:
        return UserTerm(1, x);
      case Fn::F3:
        return UserTerm(2, x);
      case Fn::F4:
        return UserTerm(3, x);
      case Fn::F5:
        return UserTerm(4, x);
      case Fn::Cot: {
        const double s = std::sin(x);
        if (s == 0.0) return 0.0;
        return std::cos(x) / s;
      }
      case Fn::Ld:
        if (x <= 0.0) return Fail(2, 0.0);
        return std::log(x) * 1.442695040889;
      case Fn::ArcSin:
        if (x == 1.0) return kPi / 2.0;
        if (x == -1.0) return -kPi / 2.0;
        if (std::fabs(x) > 1.0) return Fail(2, 0.0);
        return std::asin(x);
      case Fn::ArSinh:
        // ln(x + sqrt(x^2 + 1)) cancels to -infinity for large negative x and
        // overflows for large x; asinh is exact on both sides.
        return std::asinh(x);
      case Fn::ArCosh:
        if (x < 1.0) return Fail(2, 0.0);
        return std::acosh(x);
      case Fn::ArTanh:
        if (std::fabs(x) >= 1.0) return Fail(2, 0.0);
        return std::atanh(x);
      case Fn::Sec: {
        const double c = std::cos(x);
        if (c == 0.0) return Fail(2, 0.0);
        return 1.0 / c;
      }
      case Fn::Csc: {
        const double s = std::sin(x);
        if (s == 0.0) return Fail(2, 0.0);
        return 1.0 / s;
      }
      case Fn::Gamma:
        return GammaChecked(x);
      case Fn::Gauss: {
        if (x > 50.0) x = Fail(4, 50.0);
        if (x < -50.0) x = Fail(4, -50.0);
        return std::exp(-x * x / 2.0) / 2.506628274631;
      }
      case Fn::MCarlo:
        return Random(x);
      case Fn::Ci:
        if (!(x > 0.0 && x < 50.0)) return Fail(2, 0.0);
        return special::CosineIntegralSeries(x);
      case Fn::Ei:
        if (!(x > 0.0 && x < 40.0)) return Fail(2, 0.0);
        return special::ExponentialIntegralSeries(x);
      case Fn::Beta: {
        const double gx = GammaChecked(x);
        const double gp = GammaChecked(env_.P);
        const double gxp = GammaChecked(x + env_.P);
        if (gxp == 0.0) return Fail(4, 0.0);
        return gx * gp / gxp;
      }
      case Fn::BessJ0:
      case Fn::BessJ1: {
        TermError = 0;
        const double v = fn == Fn::BessJ0 ? special::BesselJ0(x) : special::BesselJ1(x);
        if (!std::isfinite(v)) return Fail(4, 0.0);
        return v;
      }
      case Fn::Wurzel3:
      case Fn::W3:
        return std::cbrt(x);
      case Fn::Wurzel4:
      case Fn::W4:
        if (x < 0.0) return Fail(2, 0.0);
        return std::sqrt(std::sqrt(x));
      case Fn::Log:
        if (x <= 0.0 || env_.P <= 0.0 || env_.P == 1.0) return Fail(2, 0.0);
        return std::log(x) / std::log(env_.P);
      case Fn::Wp: {
        if (x <= 0.0 || env_.P == 0.0) return Fail(2, 0.0);
        const double t = std::log(x) / env_.P;
        if (std::fabs(t) >= 50.0) return Fail(2, 0.0);
        return std::exp(t);
      }
      case Fn::Frac:
        if (std::fabs(x) >= kCap) return Fail(2, 0.0);
        return x - std::trunc(x);
      case Fn::ExpP: {
        if (env_.P <= 0.0) return Fail(2, 0.0);
        const double t = x * std::log(env_.P);
        if (t >= 50.0) return Fail(2, 0.0);
        return std::exp(t);
      }
      case Fn::GammaLn: {
        TermError = 0;
        if (!(x > 0.0)) return Fail(4, 0.0);
        const double v = special::GammaLnLanczos(x);
        if (!std::isfinite(v)) return Fail(4, 0.0);
        return v;
      }
      case Fn::Heaviside:
        TermError = 3;
        return x < 0.0 ? 0.0 : (x > 0.0 ? 1.0 : 0.5);
      case Fn::SinW:
        return std::sin(x * kPi / 180.0);
      case Fn::CosW:
        return std::cos(x * kPi / 180.0);
      case Fn::TanW: {
        const double r = x * kPi / 180.0;
        if (std::cos(r) == 0.0) return 0.0;
        return std::tan(r);
      }
      case Fn::CotW: {
        const double r = x * kPi / 180.0;
        const double s = std::sin(r);
        if (s == 0.0) return 0.0;
        return std::cos(r) / s;
      }
      case Fn::ArcTanW: {
        const double a = std::atan(x);
        return a < 0.0 ? a + kPi : a;
      }
      case Fn::ArcSinW: {
        if (x == 1.0 || x == -1.0) return kPi / 2.0;
        if (std::fabs(x) > 1.0) return Fail(2, 0.0);
        const double a = std::asin(x);
        return a < 0.0 ? kPi / 2.0 - a : a;
      }
      case Fn::GSumme: {
        if (x == 0.0) return 0.5;
        // Beyond |x| = 100 every exponential below is 0; capping x^2 there
        // keeps (7 + pi x^2/4) e^(-x^2) from becoming infinity times 0.
        const double x2 = std::min(x * x, 1e4);
        const double inner = (7.0 * std::exp(-x2 / 2.0) + 16.0 * std::exp(-(2.0 - std::sqrt(2.0)) * x2) +
                              (7.0 + kPi * x2 / 4.0) * std::exp(-x2)) /
                             30.0;
        const double s = 0.5 * std::sqrt(1.0 - inner);
        if (x > 0.0) return 0.5 + s;
        if (x < 0.0) return 0.5 - s;
        return s;  // NaN
      }
      case Fn::Sn:
      case Fn::Cn:
      case Fn::Dn: {
        const special::JacobiValues j = special::JacobiSnCnDn(x, 1.0 - env_.Q * env_.Q);
        return fn == Fn::Sn ? j.sn : (fn == Fn::Cn ? j.cn : j.dn);
      }
      case Fn::EulerPhi: {
        std::int64_t n = 0;
        if (!RoundToInt64(x, n)) return Fail(2, 0.0);
        if (n < 1 || n > 10000) return Fail(1, 0.0);
        return static_cast<double>(special::EulerPhi(n));
      }
      case Fn::Ai:
        return special::AiryAi(x);
      case Fn::Bi:
        return special::AiryBi(x);
      case Fn::ArcCot:
        if (std::fabs(x) <= 1e-10) return kPi / 2.0 - std::atan(x);
        return std::atan(1.0 / x);
      case Fn::ArcSec: {
        if (std::fabs(x) < 1.0) return Fail(2, 0.0);
        const double t = std::atan(std::sqrt((x - 1.0) * (x + 1.0)));
        return x >= 1.0 ? t : kPi - t;
      }
      case Fn::None:
        break;
    }
    return Fail(1, 0.0);
  }

  const std::string& text_;
  double x_;
  TermEnvironment& env_;
  int nesting_;
  Budget& budget_;
  std::size_t pos_ = 0;
};

double Evaluate(const std::string& raw, double x, TermEnvironment& env, int nesting, Budget& budget) {
  if (raw.empty()) return Fail(1, 0.0);
  const std::string text = Rewrite(raw);
  TermError = 0;
  double value = Parser(text, x, env, nesting, budget).Run();
  if (value > kCap) value = Fail(4, kCap);
  // Overflow to minus infinity or an undefined value (such as infinity minus
  // infinity) is no result.
  if (std::isnan(value) || std::isinf(value)) value = Fail(2, 0.0);
  return value;
}

}  // namespace

double EvaluateTerm(const std::string& text, double x, TermEnvironment& environment, TermEncoding encoding) {
  Budget budget;
  return Evaluate(encoding == TermEncoding::Utf8 ? FromUtf8(text) : text, x, environment, 0, budget);
}

double EvaluateTerm(const std::string& text, double x, TermEncoding encoding) {
  return EvaluateTerm(text, x, DefaultTermEnvironment(), encoding);
}

}  // namespace didod
