#include "DegreeMinute.h"

#include <cstddef>

#include "model/NumberText.h"

namespace kartovex {

std::string degreeMinute(double degrees) {
    const std::string t = plainText(degrees);
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
