#include "Wgs84TabFile.h"

#include "model/NumberText.h"

namespace kartovex {

std::string wgs84TabFileBytes(std::string_view rasterName, const NorthUpRaster& r) {
    // MapInfo's pixel positions are edges: (0,0) is the raster's outer upper-left corner
    // and (width,height) its outer lower-right one, as the geotransform counts them.
    const std::string right = std::to_string(r.width);
    const std::string bottom = std::to_string(r.height);
    auto point = [](double lon, double lat, const std::string& pixel, char number, bool more) {
        return "  (" + text(lon) + "," + text(lat) + ") (" + pixel + ") Label \"Pt " + number +
               "\"" + (more ? "," : "") + "\r\n";
    };
    std::string out;
    out += "!table\r\n";
    out += "!version 300\r\n";
    out += "!charset WindowsSimpChinese\r\n";
    out += " \r\n";
    out += "Definition Table\r\n";
    out += "  File \"" + std::string(rasterName) + "\"\r\n";
    out += "  Type \"RASTER\"\r\n";
    out += point(r.west, r.north, "0,0", '1', true);
    out += point(r.east, r.north, right + ",0", '2', true);
    out += point(r.east, r.south, right + "," + bottom, '3', true);
    out += point(r.west, r.south, "0," + bottom, '4', false);
    out += "  CoordSys Earth Projection 1, 104\r\n";
    out += "  Units \"degree\"\r\n";
    return out;
}

}  // namespace kartovex
