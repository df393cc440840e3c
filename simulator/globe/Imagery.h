#pragma once

#include "Vec3.h"

namespace earthsim {

// The procedural ground: a fractal height field whose sign makes land and water, and a
// colour for it. Detail follows the zoom: octaves far larger than a pixel (the broad
// height) vary slowly enough to be sampled sparsely and interpolated; the four octaves
// below 64 pixels (the detail) are evaluated per pixel, the finest fading in between 8
// and 4 pixels; finer ones are invisible and skipped.
class Imagery {
public:
    // degreesPerPixel: ground size of one pixel, which chooses the octaves.
    explicit Imagery(double degreesPerPixel);

    // Height of the octaves larger than about 64 pixels at a point of the unit sphere.
    // `pixelScale` is how many times larger a pixel is there than at the focus point:
    // far ground drops the octaves that its pixels cannot show.
    double broadHeight(const Vec3& unit, double pixelScale = 1.0) const;

    struct Detail {
        double height = 0;   // to add to the broad height
        double texture = 0;  // -1 to 1, the look of the ground at pixel scale
    };
    Detail detail(double latitude, double longitude) const;

    struct Colour {
        float r, g, b;  // 0 to 255
    };
    static Colour groundColour(double height, double texture, double latitude);

private:
    static constexpr int kMaxFineOctaves = 4;
    double radiansPerPixel_ = 0;
    int broadOctaves_ = 0;
    int fineOctaves_ = 0;
    double fineFrequency_[kMaxFineOctaves] = {};  // cycles per degree
    double fineAmplitude_[kMaxFineOctaves] = {};
    double textureScale_ = 1;
};

}  // namespace earthsim
