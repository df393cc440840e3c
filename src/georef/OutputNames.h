#pragma once

#include <string>

namespace kartovex {

// The files Step 2 writes beside the picked picture, all named after it. The GeoTIFF is
// not named <bare>.tif: MapInfo would look for its table under <bare>.tab, the JPG's.
struct OutputNames {
    std::string tab, gst;
    std::string tif, wgs84Tab;  // the precise raster and its table
    std::string kmz;            // its Google Earth overlay
    std::string kml;            // the overlay where no GeoTIFF can be written
};

// Names the outputs folder prefix + bare name (+ "_wgs84") + lower-case extension. Refuses, with
// RuntimeError InvalidArgument saying why, a picked name that would make them land on the
// wrong file or on the picture itself.
OutputNames outputNames(const std::string& path, const std::string& folderPrefix,
                        const std::string& fileName, const std::string& bareName);

}  // namespace kartovex
