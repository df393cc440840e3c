#include <gtest/gtest.h>

#include "georef/GstFile.h"

namespace kartovex {
namespace {

TEST(GstFile, ExampleOfAreaJpgByteForByte) {
    EXPECT_EQ(gstFileBytes("area", "112.576329957", "34.670885942"),
              "!GEOSET\r\n"
              "!VERSION 100\r\n"
              "begin_metadata\r\n"
              "\"\\GEOSET\\NAME\" = \"area\"\r\n"
              "\"\\GEOSET\\PROJECTION\" = \"\"\r\n"
              "\"\\GEOSET\\CENTER\" = \"112.576329957,34.670885942\"\r\n"
              "\"\\GEOSET\\ZOOMLEVEL\"  =  \"2.67065\"\r\n"
              "\"\\GEOSET\\AUTOLAYER\" = \"FALSE\"\r\n"
              "\"\\TABLE\\1\\FILE\" = \"area.tab\"\r\n"
              "\"\\TABLE\\1\\ISVISIBLE\" = \"TRUE\"\r\n"
              "\"\\TABLE\\1\\ZOOM\\MIN\" = \"0.0086992\"\r\n"
              "\"\\TABLE\\1\\ZOOM\\MAX\" = \"3.41754\"\r\n"
              "end_metadata\r\n");
}

}  // namespace
}  // namespace kartovex
