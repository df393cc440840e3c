#include "TabFile.h"

namespace kartovex {

std::string rasterTableBytes(std::string_view imageName, const std::array<TabCorner, 4>& corners,
                             std::string_view right, std::string_view bottom, int datum) {
    const std::string x(right), y(bottom);
    const std::array<std::string, 4> pixels = {"0,0", x + ",0", x + "," + y, "0," + y};
    std::string out;
    out += "!table\r\n";
    out += "!version 300\r\n";
    out += "!charset WindowsSimpChinese\r\n";
    out += " \r\n";
    out += "Definition Table\r\n";
    out += "  File \"" + std::string(imageName) + "\"\r\n";
    out += "  Type \"RASTER\"\r\n";
    for (std::size_t i = 0; i < corners.size(); ++i) {
        out += "  (" + corners[i].longitude + "," + corners[i].latitude + ") (" + pixels[i] +
               ") Label \"Pt " + std::to_string(i + 1) + "\"" +
               (i + 1 < corners.size() ? "," : "") + "\r\n";
    }
    out += "  CoordSys Earth Projection 1, " + std::to_string(datum) + "\r\n";
    out += "  Units \"degree\"\r\n";
    return out;
}

std::string tabFileBytes(std::string_view imageName, const CornerTexts& c,
                         std::string_view strPicMaxX, std::string_view strPicMaxY) {
    return rasterTableBytes(imageName,
                            {{{c.strZuoshangLong, c.strZuoshangLat},
                              {c.strYoushangLong, c.strYoushangLat},
                              {c.strYouxiaLong, c.strYouxiaLat},
                              {c.strZuoxiaLong, c.strZuoxiaLat}}},
                            strPicMaxX, strPicMaxY, 0);
}

}  // namespace kartovex
