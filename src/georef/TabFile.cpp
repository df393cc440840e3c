#include "TabFile.h"

namespace kartovex {

std::string tabFileBytes(std::string_view imageName, const CornerTexts& c,
                         std::string_view strPicMaxX, std::string_view strPicMaxY) {
    const std::string maxX(strPicMaxX);
    const std::string maxY(strPicMaxY);
    auto point = [](const std::string& lon, const std::string& lat, const std::string& pixel,
                    char number, bool more) {
        return "  (" + lon + "," + lat + ") (" + pixel + ") Label \"Pt " + number + "\"" +
               (more ? "," : "") + "\r\n";
    };
    std::string out;
    out += "!table\r\n";
    out += "!version 300\r\n";
    out += "!charset WindowsSimpChinese\r\n";
    out += " \r\n";
    out += "Definition Table\r\n";
    out += "  File \"" + std::string(imageName) + "\"\r\n";
    out += "  Type \"RASTER\"\r\n";
    out += point(c.strZuoshangLong, c.strZuoshangLat, "0,0", '1', true);
    out += point(c.strYoushangLong, c.strYoushangLat, maxX + ",0", '2', true);
    out += point(c.strYouxiaLong, c.strYouxiaLat, maxX + "," + maxY, '3', true);
    out += point(c.strZuoxiaLong, c.strZuoxiaLat, "0," + maxY, '4', false);
    out += "  CoordSys Earth Projection 1, 0\r\n";
    out += "  Units \"degree\"\r\n";
    return out;
}

}  // namespace kartovex
