#pragma once

#include "Camera.h"

namespace earthsim {

// Speed at and above which SetCameraParams jumps instead of flying.
inline constexpr double kJumpSpeed = 5.0;

// Seconds a move at the given speed takes: 0 for a jump, 1 s at speed 4, longer at lower
// speeds, never more than 20 s.
double flightDuration(double speed);

// A camera move from one camera to another over a fixed time, eased at both ends, along
// the shorter way round in longitude and azimuth, pulling the camera back when the two
// focus points are far apart.
class CameraFlight {
public:
    CameraFlight(const Camera& from, const Camera& to, double durationSeconds);

    const Camera& target() const { return to_; }
    double duration() const { return duration_; }
    bool arrivedAt(double elapsedSeconds) const { return elapsedSeconds >= duration_; }
    // The camera after `elapsedSeconds`; exactly the target once arrived.
    Camera at(double elapsedSeconds) const;

private:
    Camera from_;
    Camera to_;
    double duration_;
    double pullBack_;
};

}  // namespace earthsim
