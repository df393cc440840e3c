#pragma once

#include <string>

namespace kartovex {

// The packed degree-minute read-out: whole degrees × 100 plus the minutes rounded to four
// decimals, both with the sign of the coordinate (110.5 shows 11030, -0.5 shows -30).
// Whole degrees are the part of the decimal text before its first "."; a text without
// one is whole degrees with no minutes. Minutes that round to 60 carry into the degrees.
std::string degreeMinute(double degrees);

}  // namespace kartovex
