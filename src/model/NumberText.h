#pragma once

#include <string>
#include <string_view>

// The number rules every command shares. None of them looks at the user's locale: the
// full stop is always the decimal separator.
namespace kartovex {

// General number-to-text form: shortest text carrying 15 significant digits, no exponent
// for any value a coordinate, distance or pixel count can take.
std::string text(double x);
// The same for a single-precision value: 7 significant digits.
std::string text(float x);
// The 15-digit form written out in plain digits at every magnitude, for texts that are
// read back by taking them apart at their decimal point.
std::string plainText(double x);

// Reads the leading number of a text. Blanks, tabs and line feeds are skipped anywhere;
// &H and &O introduce hexadecimal and octal whole numbers; reading stops at the first
// character that does not fit. Never fails: no number gives 0, a number beyond the
// double range gives an infinity of its sign.
double value(std::string_view t);

// Format masks "0.0000" and "0.00": at least one digit before the point, exactly
// `decimals` (0 to kMaxMaskDecimals) after it, the 15-digit text of x rounded half away
// from zero. Other decimals are a programming error: std::invalid_argument.
inline constexpr int kMaxMaskDecimals = 15;
std::string formatMask(double x, int decimals);

}  // namespace kartovex
