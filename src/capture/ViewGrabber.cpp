#include "ViewGrabber.h"

#include <algorithm>
#include <cstdlib>
#include <string>

#include "model/RuntimeError.h"

namespace kartovex {
namespace {

// Channels within this of the first pixel's count as the same colour: a blank screen may
// carry a little dithering, a view of the Earth varies by far more.
constexpr int kFlatTolerance = 2;

bool isFlat(const Picture& picture) {
    if (picture.pixels.empty()) return true;
    const std::uint32_t first = picture.pixels.front();
    return std::all_of(picture.pixels.begin(), picture.pixels.end(), [first](std::uint32_t p) {
        for (int shift : {0, 8, 16})
            if (std::abs(static_cast<int>((p >> shift) & 0xff) -
                         static_cast<int>((first >> shift) & 0xff)) > kFlatTolerance)
                return false;
        return true;
    });
}

std::string size(std::int64_t width, std::int64_t height) {
    return std::to_string(width) + " x " + std::to_string(height);
}

}  // namespace

Picture grabView(ViewGrabber& grabber, const ScreenRect& rect) {
    if (rect.width <= 0 || rect.height <= 0)
        throw RuntimeError(error::InvalidArgument,
                           "Google Earth's view has no area on the screen (" +
                               size(rect.width, rect.height) + " pixels)");
    Picture picture = grabber.grab(rect);
    if (picture.width != rect.width || picture.height != rect.height ||
        picture.pixels.size() != static_cast<std::size_t>(rect.width) * rect.height)
        throw RuntimeError(error::InvalidPicture,
                           "The screen grab is " + size(picture.width, picture.height) +
                               " pixels, but the view is " + size(rect.width, rect.height));
    if (isFlat(picture))
        throw RuntimeError(error::InvalidPicture,
                           "The screen grab came back as one flat colour, not Google Earth's "
                           "view: the screen may be locked, covered or not readable by other "
                           "programs (as in a Wayland session)");
    return picture;
}

}  // namespace kartovex
