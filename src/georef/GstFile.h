#pragma once

#include <string>
#include <string_view>

// The MapInfo geoset that opens the raster table beside it, centred on Step 1's view at a
// fixed zoom.
namespace kartovex {

// The geoset's exact bytes, CRLF after every line. `bareName` is already in the raster
// table's code page (936), so the pair agrees on the table's name.
std::string gstFileBytes(std::string_view bareName, std::string_view strCenterLong,
                         std::string_view strCenterLat);

}  // namespace kartovex
