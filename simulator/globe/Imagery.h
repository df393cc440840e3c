#pragma once

#include <cstdint>

#include "Vec3.h"

namespace earthsim {

// The procedural ground: a fractal height field whose sign makes land and water, and a
// colour for it. Detail follows the zoom: octaves far larger than a pixel (the broad
// height) vary slowly enough to be sampled sparsely and interpolated; the few octaves
// between 2 and 64 pixels (the detail) are evaluated per pixel; finer ones are invisible
// and skipped.
class Imagery {
public:
    // degreesPerPixel: ground size of one pixel, which chooses the octaves.
    explicit Imagery(double degreesPerPixel);

    // Height of the octaves larger than about 64 pixels at a point of the unit sphere.
    double broadHeight(const Vec3& unit) const;

    struct Detail {
        double height = 0;   // to add to the broad height
        double texture = 0;  // -1 to 1, the look of the ground at pixel scale
    };
    Detail detail(double latitude, double longitude) const;

    // 0xffRRGGBB for a height and texture at a latitude.
    static std::uint32_t groundColour(double height, double texture, double latitude);

private:
    static constexpr int kMaxFineOctaves = 5;
    int broadOctaves_ = 0;
    int fineOctaves_ = 0;
    double fineFrequency_[kMaxFineOctaves] = {};  // cycles per degree
    double fineAmplitude_[kMaxFineOctaves] = {};
    double fineWeight_[kMaxFineOctaves] = {};  // fade-in of the finest octave, 0 to 1
    double textureScale_ = 1;
};

}  // namespace earthsim
