#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "capture/AreaPlan.h"
#include "model/GroundGrid.h"

namespace kartovex {

// A view of the area on disk: its picture's file name in the views' folder and the grid it
// was read with.
struct TakenView {
    std::size_t index = 0;
    std::string picture;
    GroundGrid grid;
};

// The small text file beside an area's views: the plan and every view taken so far. It is
// rewritten whole after each view, so that whatever stops the capture, the next one knows
// exactly which views to take.
struct AreaManifest {
    static constexpr const char* kFileName = "manifest.txt";

    AreaPlan plan;
    std::vector<TakenView> taken;

    std::string text() const;
    // Throws RuntimeError saying which line is damaged.
    static AreaManifest parse(std::string_view text);

    // The first planned view not yet taken.
    std::optional<std::size_t> nextView() const;
    static std::string pictureName(std::size_t index);
};

}  // namespace kartovex
