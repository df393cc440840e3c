#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kartovex {

// One view as Google Earth reports it on each refresh of the network link, filled in
// from the link's view format. Degrees, metres and pixels; north and east positive.
struct ViewReport {
    double lookAtLongitude = 0, lookAtLatitude = 0;
    double range = 0, tilt = 0, heading = 0;
    double terrainLongitude = 0, terrainLatitude = 0, terrainAltitude = 0;
    double cameraLongitude = 0, cameraLatitude = 0, cameraAltitude = 0;
    double horizontalFov = 0, verticalFov = 0;
    int width = 0, height = 0;
    bool terrainEnabled = false;
    double west = 0, south = 0, east = 0, north = 0;
};

// What one request of the link carries besides the view.
struct LinkRequest {
    std::string key;
    std::optional<long> flight;  // the cookie of the last flight sent, when it came back
    ViewReport view;
};

// The view format written into the link file: one line, so that Google Earth sends no
// line breaks between the parameters.
std::string_view linkViewFormat();

// Reads the query of a request. Google Earth sends numbers with varying decimals and,
// from a view format spread over several lines, encoded line breaks and tabs between the
// parameters: both are taken. A value that is missing, not a number, not finite or out
// of its range gives std::nullopt and says which in `error`.
std::optional<LinkRequest> parseLinkRequest(std::string_view query, std::string& error);

}  // namespace kartovex
