#include "ViewQuery.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <map>
#include <string_view>

namespace earthsim {

namespace {

std::string number(double value, int decimals) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    std::string s = text;
    if (s.find('.') != std::string::npos) {
        s.erase(s.find_last_not_of('0') + 1);
        if (s.back() == '.') s.pop_back();
    }
    return s == "-0" ? "0" : s;
}

std::string encoded(const std::string& s) {
    static const char* hex = "0123456789ABCDEF";
    std::string out;
    for (const unsigned char c : s) {
        const bool safe =
            std::isalnum(c) != 0 ||
            std::string_view("-._~=&,[]").find(static_cast<char>(c)) != std::string_view::npos;
        if (safe) {
            out += static_cast<char>(c);
        } else {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 15];
        }
    }
    return out;
}

}  // namespace

std::string viewQuery(const std::string& viewFormat, const ViewGeometry& view) {
    const Camera& c = view.camera();
    const ViewBounds b = view.bounds();
    const Vec3 eye = view.pose().eye;
    const GeoPoint camera = geoPointOf(eye);
    const double horizontalFov = kHorizontalFieldOfView;
    const double verticalFov =
        2.0 * std::atan(std::tan(horizontalFov / 2 * kDegree) * view.height() / view.width()) /
        kDegree;
    const std::map<std::string_view, std::string> values{
        {"[bboxWest]", number(b.west, 14)},
        {"[bboxSouth]", number(b.south, 14)},
        {"[bboxEast]", number(b.east, 14)},
        {"[bboxNorth]", number(b.north, 14)},
        {"[lookatLon]", number(c.longitude, 14)},
        {"[lookatLat]", number(c.latitude, 14)},
        {"[lookatRange]", number(c.range, 2)},
        {"[lookatTilt]", number(c.tilt, 3)},
        {"[lookatHeading]", number(c.azimuth, 3)},
        // The ground under the look-at point: the smooth ellipsoid.
        {"[lookatTerrainLon]", number(c.longitude, 14)},
        {"[lookatTerrainLat]", number(c.latitude, 14)},
        {"[lookatTerrainAlt]", "0"},
        {"[cameraLon]", number(camera.longitude, 14)},
        {"[cameraLat]", number(camera.latitude, 14)},
        {"[cameraAlt]", number(heightOf(eye), 2)},
        {"[horizFov]", number(horizontalFov, 3)},
        {"[vertFov]", number(verticalFov, 3)},
        {"[horizPixels]", std::to_string(view.width())},
        {"[vertPixels]", std::to_string(view.height())},
        {"[terrainEnabled]", "1"},
    };
    // One pass, each placeholder looked up once: the filled-in text is never searched again.
    std::string filled;
    for (std::size_t at = 0; at < viewFormat.size();) {
        const auto open = viewFormat.find('[', at);
        const auto close =
            open == std::string::npos ? open : viewFormat.find_first_of("[]", open + 1);
        if (close == std::string::npos) {
            filled.append(viewFormat, at);
            break;
        }
        filled.append(viewFormat, at, open - at);
        const auto value = values.find(std::string_view(viewFormat).substr(open, close - open + 1));
        if (viewFormat[close] == '[' || value == values.end()) {
            filled += '[';
            at = open + 1;
        } else {
            filled += value->second;
            at = close + 1;
        }
    }
    std::string query;
    int separators = 0;
    for (const char character : encoded(filled)) {
        if (character == '&' && ++separators % 2 == 0) query += "%0A%09%09%09";
        query += character;
    }
    return query;
}

}  // namespace earthsim
