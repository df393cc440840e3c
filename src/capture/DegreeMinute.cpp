#include "DegreeMinute.h"

#include <cstddef>
#include <cstdlib>

#include "model/NumberText.h"

namespace kartovex {

std::string decimalDegreesText(double degrees) {
    const std::string t = text(degrees);
    const std::size_t e = t.find('E');
    if (e == std::string::npos) return t;

    // Mantissa digits with the decimal point moved by the exponent: 1.5E-30 becomes
    // 0.0000000000000000000000000000015, 1.5E+20 becomes 150000000000000000000.
    const bool negative = t[0] == '-';
    std::string digits;
    for (std::size_t i = negative ? 1 : 0; i < e; ++i)
        if (t[i] != '.') digits += t[i];
    const int exponent = std::atoi(t.c_str() + e + 1);
    std::string out = negative ? "-" : "";
    if (exponent < 0)
        return out + "0." + std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
    const std::size_t whole = static_cast<std::size_t>(exponent) + 1;
    if (digits.size() <= whole) return out + digits + std::string(whole - digits.size(), '0');
    return out + digits.substr(0, whole) + "." + digits.substr(whole);
}

std::string degreeMinute(double degrees) {
    const std::string t = decimalDegreesText(degrees);
    double whole = value(t.substr(0, t.find('.')));
    double minutes = value(formatMask((degrees - whole) * 60.0, 4));
    // 25.9999993 is 25 degrees 59.99996 minutes, which must show 2600 and not 2560.
    if (minutes >= 60.0) {
        whole += 1.0;
        minutes -= 60.0;
    } else if (minutes <= -60.0) {
        whole -= 1.0;
        minutes += 60.0;
    }
    return text(whole * 100.0 + minutes);
}

}  // namespace kartovex
