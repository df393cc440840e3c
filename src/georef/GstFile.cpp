#include "GstFile.h"

namespace kartovex {

std::string gstFileBytes(std::string_view bareName, std::string_view strCenterLong,
                         std::string_view strCenterLat) {
    const std::string name(bareName);
    std::string out;
    out += "!GEOSET\r\n";
    out += "!VERSION 100\r\n";
    out += "begin_metadata\r\n";
    out += "\"\\GEOSET\\NAME\" = \"" + name + "\"\r\n";
    out += "\"\\GEOSET\\PROJECTION\" = \"\"\r\n";
    out += "\"\\GEOSET\\CENTER\" = \"" + std::string(strCenterLong) + "," +
           std::string(strCenterLat) + "\"\r\n";
    // This line alone has two blanks on each side of its "=".
    out += "\"\\GEOSET\\ZOOMLEVEL\"  =  \"2.67065\"\r\n";
    out += "\"\\GEOSET\\AUTOLAYER\" = \"FALSE\"\r\n";
    out += "\"\\TABLE\\1\\FILE\" = \"" + name + ".tab\"\r\n";
    out += "\"\\TABLE\\1\\ISVISIBLE\" = \"TRUE\"\r\n";
    out += "\"\\TABLE\\1\\ZOOM\\MIN\" = \"0.0086992\"\r\n";
    out += "\"\\TABLE\\1\\ZOOM\\MAX\" = \"3.41754\"\r\n";
    out += "end_metadata\r\n";
    return out;
}

}  // namespace kartovex
