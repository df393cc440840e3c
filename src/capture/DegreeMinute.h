#pragma once

#include <string>

// The two forms in which Step 1 shows a coordinate of the view.
namespace kartovex {

// Decimal degrees as the corner texts hold them: the general number-to-text form, written
// out in full where that form would take an exponent, so Step 2 and the read-out below
// always find plain digits.
std::string decimalDegreesText(double degrees);

// The packed degree-minute read-out: whole degrees × 100 plus the minutes rounded to four
// decimals, both with the sign of the coordinate (110.5 shows 11030, -0.5 shows -30).
// Whole degrees are the part of the decimal text before its first "."; a text without
// one is whole degrees with no minutes. Minutes that round to 60 carry into the degrees.
std::string degreeMinute(double degrees);

}  // namespace kartovex
