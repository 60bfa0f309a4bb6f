#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace didod {

// Coordinate as written into net records: fixed point, 10 decimals, "." as the
// separator whatever the locale, trailing zeros and a trailing "." removed,
// "-0" written as "0". Not-a-number and infinities, which no construction
// holds, are written "0".
std::string FormatNetCoordinate(double x);

// Integer line: leading blanks skipped, an optional sign, then decimal digits
// or a hexadecimal number after "$", "x", "X", "0x" or "0X". A malformed line
// gives the value of the digits before the first character that does not fit
// (0 when there are none); a digit that would overflow 32 bits also ends the
// number.
int32_t ParseLineInteger(std::string_view text);

// Real line: leading blanks skipped, an optional sign, digits with an optional
// "." and further digits, an optional exponent ("E"/"e", sign, digits). "." is
// the only separator. A malformed line gives the value of its longest valid
// beginning (0 when there is none); a value beyond the range of a double gives 0.
double ParseLineReal(std::string_view text);

}  // namespace didod
