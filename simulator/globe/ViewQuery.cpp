#include "ViewQuery.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <string_view>
#include <utility>
#include <vector>

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
    const std::vector<std::pair<std::string, std::string>> values{
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
    std::string filled = viewFormat;
    for (const auto& [placeholder, value] : values) {
        for (auto at = filled.find(placeholder); at != std::string::npos;
             at = filled.find(placeholder, at + value.size()))
            filled.replace(at, placeholder.size(), value);
    }
    std::string query = encoded(filled);
    int separators = 0;
    for (auto at = query.find('&'); at != std::string::npos; at = query.find('&', at + 1)) {
        if (++separators % 2 == 1) continue;
        query.insert(at, "%0A%09%09%09");
        at += 12;
    }
    return query;
}

}  // namespace earthsim
