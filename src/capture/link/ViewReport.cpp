#include "ViewReport.h"

#include <charconv>
#include <cmath>
#include <map>
#include <vector>

namespace kartovex {

namespace {

constexpr std::size_t kMaxQuery = 4096;
// What a camera can have. Narrower or shorter, the printed digits no longer tell the corners
// from the centre; wider, the corners reach the horizon.
constexpr double kShortestRange = 1;                   // metres
constexpr double kNarrowestFov = 1, kWidestFov = 170;  // degrees

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::string percentDecoded(std::string_view s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '%' && i + 2 < s.size() && hexDigit(s[i + 1]) >= 0 && hexDigit(s[i + 2]) >= 0) {
            out += static_cast<char>(hexDigit(s[i + 1]) * 16 + hexDigit(s[i + 2]));
            i += 2;
        } else {
            out += s[i] == '+' ? ' ' : s[i];
        }
    }
    return out;
}

std::string_view trimmed(std::string_view s) {
    constexpr std::string_view blanks = " \t\r\n";
    const auto first = s.find_first_not_of(blanks);
    if (first == std::string_view::npos) return {};
    return s.substr(first, s.find_last_not_of(blanks) - first + 1);
}

std::vector<std::string_view> split(std::string_view s, char separator) {
    std::vector<std::string_view> parts;
    for (std::size_t from = 0;;) {
        const auto at = s.find(separator, from);
        parts.push_back(s.substr(from, at == std::string_view::npos ? at : at - from));
        if (at == std::string_view::npos) return parts;
        from = at + 1;
    }
}

struct Field {
    const char* name;
    double ViewReport::*member;
    double low, high;
};

// Each parameter's values in order, with the range a real view can have.
const std::map<std::string, std::vector<Field>>& parameters() {
    static const std::map<std::string, std::vector<Field>> p{
        {"BBOX",
         {{"bboxWest", &ViewReport::west, -360, 360},
          {"bboxSouth", &ViewReport::south, -90, 90},
          {"bboxEast", &ViewReport::east, -360, 360},
          {"bboxNorth", &ViewReport::north, -90, 90}}},
        {"LOOKAT",
         {{"lookatLon", &ViewReport::lookAtLongitude, -360, 360},
          {"lookatLat", &ViewReport::lookAtLatitude, -90, 90},
          {"lookatRange", &ViewReport::range, kShortestRange, 1e9},
          {"lookatTilt", &ViewReport::tilt, 0, 90},
          {"lookatHeading", &ViewReport::heading, -360, 360}}},
        {"TERRAIN",
         {{"lookatTerrainLon", &ViewReport::terrainLongitude, -360, 360},
          {"lookatTerrainLat", &ViewReport::terrainLatitude, -90, 90},
          {"lookatTerrainAlt", &ViewReport::terrainAltitude, -12000, 12000}}},
        {"CAMERA",
         {{"cameraLon", &ViewReport::cameraLongitude, -360, 360},
          {"cameraLat", &ViewReport::cameraLatitude, -90, 90},
          {"cameraAlt", &ViewReport::cameraAltitude, -12000, 1e9}}},
        {"FOV",
         {{"horizFov", &ViewReport::horizontalFov, kNarrowestFov, kWidestFov},
          {"vertFov", &ViewReport::verticalFov, kNarrowestFov, kWidestFov}}},
    };
    return p;
}

bool number(std::string_view text, double& value) {
    text = trimmed(text);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return !text.empty() && ec == std::errc() && end == text.data() + text.size() &&
           std::isfinite(value);
}

bool whole(std::string_view text, long low, long high, long& value) {
    double v = 0;
    if (!number(text, v) || v != std::floor(v) || v < low || v > high) return false;
    value = static_cast<long>(v);
    return true;
}

}  // namespace

std::string_view linkViewFormat() {
    return "BBOX=[bboxWest],[bboxSouth],[bboxEast],[bboxNorth]"
           "&LOOKAT=[lookatLon],[lookatLat],[lookatRange],[lookatTilt],[lookatHeading]"
           "&TERRAIN=[lookatTerrainLon],[lookatTerrainLat],[lookatTerrainAlt]"
           "&CAMERA=[cameraLon],[cameraLat],[cameraAlt]"
           "&FOV=[horizFov],[vertFov]&PIXELS=[horizPixels],[vertPixels]"
           "&TERRAIN_ON=[terrainEnabled]";
}

std::optional<LinkRequest> parseLinkRequest(std::string_view query, std::string& error) {
    if (query.size() > kMaxQuery) {
        error = "the request is longer than " + std::to_string(kMaxQuery) + " characters";
        return std::nullopt;
    }
    std::map<std::string, std::string> values;
    for (std::string_view item : split(query, '&')) {
        const std::string decoded = percentDecoded(item);
        const std::string_view pair = trimmed(decoded);
        if (pair.empty()) continue;
        const auto equals = pair.find('=');
        if (equals == std::string_view::npos) continue;
        values[std::string(trimmed(pair.substr(0, equals)))] =
            std::string(trimmed(pair.substr(equals + 1)));
    }

    LinkRequest request;
    if (const auto key = values.find("key"); key != values.end()) request.key = key->second;
    if (const auto flight = values.find("flight"); flight != values.end()) {
        long n = 0;
        if (!whole(flight->second, 0, 1L << 30, n)) {
            error = "the flight cookie is not a whole number";
            return std::nullopt;
        }
        request.flight = n;
    }

    ViewReport& view = request.view;
    for (const auto& [name, fields] : parameters()) {
        const auto found = values.find(name);
        if (found == values.end()) {
            error = "the parameter " + name + " is missing";
            return std::nullopt;
        }
        const std::vector<std::string_view> parts = split(found->second, ',');
        if (parts.size() != fields.size()) {
            error = name + " holds " + std::to_string(parts.size()) + " values instead of " +
                    std::to_string(fields.size());
            return std::nullopt;
        }
        for (std::size_t i = 0; i < fields.size(); ++i) {
            double v = 0;
            if (!number(parts[i], v) || v < fields[i].low || v > fields[i].high) {
                error = std::string(fields[i].name) + " is not a number from " +
                        std::to_string(static_cast<long>(fields[i].low)) + " to " +
                        std::to_string(static_cast<long>(fields[i].high));
                return std::nullopt;
            }
            view.*fields[i].member = v;
        }
    }
    const auto pixels = values.find("PIXELS");
    const std::vector<std::string_view> size =
        pixels == values.end() ? std::vector<std::string_view>{} : split(pixels->second, ',');
    long width = 0, height = 0;
    if (size.size() != 2 || !whole(size[0], 1, 100000, width) ||
        !whole(size[1], 1, 100000, height)) {
        error = "PIXELS must hold the view's width and height, whole numbers from 1 to 100000";
        return std::nullopt;
    }
    view.width = static_cast<int>(width);
    view.height = static_cast<int>(height);

    long terrain = 0;
    const auto terrainOn = values.find("TERRAIN_ON");
    if (terrainOn == values.end() || !whole(terrainOn->second, 0, 1, terrain)) {
        error = "TERRAIN_ON must be 0 or 1";
        return std::nullopt;
    }
    view.terrainEnabled = terrain == 1;
    return request;
}

}  // namespace kartovex
