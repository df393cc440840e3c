#pragma once

#include <array>

namespace kartovex {

// East and north in metres on the plane that touches the WGS 84 ellipsoid at an origin,
// each ground point taken straight down onto it. Over an area a few hundred kilometres
// across it bends the ground by less than a part in ten thousand, and unlike degrees of
// longitude it keeps its scale at every latitude.
class LocalFrame {
public:
    LocalFrame(double latitude, double longitude);

    struct Metres {
        double east = 0, north = 0;
    };
    struct Degrees {
        double latitude = 0, longitude = 0;
    };

    Metres toMetres(double latitude, double longitude) const;
    // The ground under a point of the plane; throws RuntimeError beyond the horizon.
    Degrees toDegrees(Metres m) const;
    // Whether the ground point lies on the origin's half of the Earth.
    bool facesOrigin(double latitude, double longitude) const;

private:
    std::array<double, 3> origin_, east_, north_, up_;
};

}  // namespace kartovex
