#pragma once

#include "Camera.h"
#include "Globe.h"

namespace earthsim {

// The view's 60 degree horizontal field of view; the vertical one follows from the
// view's aspect ratio.
inline constexpr double kHorizontalFieldOfView = 60.0;

// The visible ground's extent, degrees; west and east may pass ±180 so that west < east.
struct ViewBounds {
    double north = 0;
    double south = 0;
    double west = 0;
    double east = 0;
};

// What a camera sees in a view of width x height physical pixels. Screen points are
// normalised: x from -1 (left edge) to 1 (right edge), y from -1 (bottom edge) to 1 (top
// edge). Pixel (0, 0) is the upper-left pixel; its centre lies half a pixel inside the
// corner (-1, 1).
class ViewGeometry {
public:
    ViewGeometry(const Camera& camera, int width, int height);

    const Camera& camera() const { return camera_; }
    const CameraPose& pose() const { return pose_; }
    int width() const { return width_; }
    int height() const { return height_; }

    double screenX(double pixelX) const { return -1.0 + (2.0 * pixelX + 1.0) / width_; }
    double screenY(double pixelY) const { return 1.0 - (2.0 * pixelY + 1.0) / height_; }

    Vec3 rayAt(double x, double y) const;
    GroundHit groundAt(double x, double y) const;
    GeoPoint pointOnTerrain(double x, double y) const;

    // Bounds of the visible ground: the view's border and a grid across it (which follows
    // any horizon in view), and a pole when one is in sight, which spans all longitudes.
    ViewBounds bounds() const;

    // Size of one pixel on the ground at the focus point, degrees of arc.
    double degreesPerPixelAtFocus() const;

    // Screen point of a ground point, when it is on the side of the Earth facing the eye
    // and in front of it (the screen point may lie outside the view).
    bool project(const Vec3& groundPoint, double& x, double& y) const;

private:
    Camera camera_;
    CameraPose pose_;
    int width_;
    int height_;
    double tanHalfX_;
    double tanHalfY_;
};

}  // namespace earthsim
