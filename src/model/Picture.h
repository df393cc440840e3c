#pragma once

#include <cstdint>
#include <vector>

namespace kartovex {

// A picture in memory: rows from the top, each pixel 0xffRRGGBB, no gap between rows.
struct Picture {
    std::int32_t width = 0, height = 0;
    std::vector<std::uint32_t> pixels;
};

}  // namespace kartovex
