#include <gtest/gtest.h>

#include "georef/TabFile.h"

namespace kartovex {
namespace {

TEST(TabFile, ExampleOfA1280By1024JpgByteForByte) {
    const CornerTexts corners{"112.512486613752",
                              "34.7062194833612",
                              "112.640164171643",
                              "34.7063844251127",
                              "112.640027935754",
                              "34.6355517952278",
                              "112.512641108072",
                              "34.6353880649386",
                              "",
                              ""};
    EXPECT_EQ(tabFileBytes("area.jpg", corners, "1279", "1023"),
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
              "  Units \"degree\"\r\n");
}

}  // namespace
}  // namespace kartovex
