#include "ScreenViewGrab.h"

namespace kartovex {

std::uint64_t ScreenViewGrab::grab(const WindowRect& rect) {
    picture_ =
        grabView(grabber_, {rect.left, rect.top, static_cast<std::int64_t>(rect.right) - rect.left,
                            static_cast<std::int64_t>(rect.bottom) - rect.top});
    // FNV-1a over the pixels: enough to tell a picture still loading from a settled one.
    std::uint64_t digest = 14695981039346656037ull;
    for (const std::uint32_t p : picture_.pixels) digest = (digest ^ p) * 1099511628211ull;
    return digest;
}

void ScreenViewGrab::keep(const std::string& path) {
    // A picture left by a capture stopped before its manifest named it is ours to replace.
    if (saver_.exists(path)) saver_.remove(path);
    jpeg_.write(path, picture_, 95);
}

}  // namespace kartovex
