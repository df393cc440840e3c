#include "Wgs84TabFile.h"

#include "TabFile.h"
#include "model/NumberText.h"

namespace kartovex {

std::string wgs84TabFileBytes(std::string_view rasterName, const NorthUpRaster& r) {
    // MapInfo's pixel positions are edges: (0,0) is the raster's outer upper-left corner
    // and (width,height) its outer lower-right one, as the geotransform counts them.
    constexpr int kWgs84 = 104;
    return rasterTableBytes(rasterName,
                            {{{text(r.west), text(r.north)},
                              {text(r.east), text(r.north)},
                              {text(r.east), text(r.south)},
                              {text(r.west), text(r.south)}}},
                            std::to_string(r.width), std::to_string(r.height), kWgs84);
}

}  // namespace kartovex
