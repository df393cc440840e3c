#include <gtest/gtest.h>

#include "georef/TabFile.h"

namespace kartovex {
namespace {

CornerTexts viewCorners() {
    CornerTexts c;
    c.strZuoshangLong = "112.512486613752";
    c.strZuoshangLat = "34.7062194833612";
    c.strYoushangLong = "112.640164171643";
    c.strYoushangLat = "34.7063844251127";
    c.strYouxiaLong = "112.640027935754";
    c.strYouxiaLat = "34.6355517952278";
    c.strZuoxiaLong = "112.512641108072";
    c.strZuoxiaLat = "34.6353880649386";
    return c;
}

TEST(TabFile, ExampleOfA1280By1024JpgByteForByte) {
    const std::string expected =
        "!table\r\n"
        "!version 300\r\n"
        "!charset WindowsSimpChinese\r\n"
        " \r\n"
        "Definition Table\r\n"
        "  File \"area.jpg\"\r\n"
        "  Type \"RASTER\"\r\n"
        "  (112.512486613752,34.7062194833612) (0,0) Label \"Pt 1\",\r\n"
        "  (112.640164171643,34.7063844251127) (1279,0) Label \"Pt 2\",\r\n"
        "  (112.640027935754,34.6355517952278) (1279,1023) Label \"Pt 3\",\r\n"
        "  (112.512641108072,34.6353880649386) (0,1023) Label \"Pt 4\"\r\n"
        "  CoordSys Earth Projection 1, 0\r\n"
        "  Units \"degree\"\r\n";
    EXPECT_EQ(tabFileBytes("area.jpg", viewCorners(), "1279", "1023"), expected);
}

TEST(TabFile, TextsStandAsGivenAndNamesPassAsBytes) {
    CornerTexts west;
    west.strZuoshangLong = "-70.5";
    west.strZuoshangLat = "-33.25";
    west.strYoushangLong = "-70.4";
    const std::string out = tabFileBytes("\xD6\xD0\xCE\xC4.JPG", west, "1022.2", "");
    EXPECT_NE(out.find("  File \"\xD6\xD0\xCE\xC4.JPG\"\r\n"), std::string::npos);
    EXPECT_NE(out.find("  (-70.5,-33.25) (0,0) Label \"Pt 1\",\r\n"), std::string::npos);
    EXPECT_NE(out.find("  (-70.4,) (1022.2,0) Label \"Pt 2\",\r\n"), std::string::npos);
    EXPECT_NE(out.find("  (,) (1022.2,) Label \"Pt 3\",\r\n"), std::string::npos);
    EXPECT_NE(out.find("  (,) (0,) Label \"Pt 4\"\r\n"), std::string::npos);
    EXPECT_NE(tabFileBytes("", {}, "", "").find("\r\n  File \"\"\r\n"), std::string::npos);
}

}  // namespace
}  // namespace kartovex
