#include "KmlOverlay.h"

namespace kartovex {
namespace {

constexpr std::string_view kMark = "<Data name=\"writtenBy\"><value>Kartovex</value></Data>";

// A relative URL: UTF-8 bytes outside the unreserved characters as %XX, so that names in
// Chinese and names with blanks, "#" or "%" reach the picture.
std::string percentEncoded(std::string_view name) {
    constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        const bool unreserved = (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
                                (byte >= '0' && byte <= '9') || c == '-' || c == '.' || c == '_' ||
                                c == '~';
        if (unreserved) {
            out += c;
        } else {
            out += '%';
            out += kHex[byte >> 4];
            out += kHex[byte & 0xF];
        }
    }
    return out;
}

std::string escaped(std::string_view text) {
    std::string out;
    for (const char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::string point(const std::string& longitude, const std::string& latitude) {
    return escaped(longitude) + "," + escaped(latitude);
}

}  // namespace

std::string kmlOverlayBytes(std::string_view pictureName, std::string_view name,
                            const CornerTexts& c) {
    std::string kml =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<kml xmlns=\"http://www.opengis.net/kml/2.2\" "
        "xmlns:gx=\"http://www.google.com/kml/ext/2.2\">\n"
        "<GroundOverlay>\n";
    kml += "  <name>" + escaped(name) + "</name>\n";
    kml += "  <ExtendedData>";
    kml += kMark;
    kml += "</ExtendedData>\n";
    kml += "  <Icon><href>" + percentEncoded(pictureName) + "</href></Icon>\n";
    // Counter-clockwise from the lower left, as gx:LatLonQuad takes them.
    kml += "  <gx:LatLonQuad><coordinates>" + point(c.strZuoxiaLong, c.strZuoxiaLat) + " " +
           point(c.strYouxiaLong, c.strYouxiaLat) + " " +
           point(c.strYoushangLong, c.strYoushangLat) + " " +
           point(c.strZuoshangLong, c.strZuoshangLat) + "</coordinates></gx:LatLonQuad>\n";
    kml += "</GroundOverlay>\n</kml>\n";
    return kml;
}

}  // namespace kartovex
