#include "CameraMotion.h"

using earthsim::Camera;

namespace {
constexpr int kFrameIntervalMs = 16;
}

CameraMotion::CameraMotion(const Camera& start, QObject* parent)
    : QObject(parent), resting_(earthsim::normalized(start)) {
    timer_.setInterval(kFrameIntervalMs);
    connect(&timer_, &QTimer::timeout, this, &CameraMotion::tick);
}

Camera CameraMotion::camera() const {
    if (!flight_) return resting_;
    return flight_->at(static_cast<double>(clock_.nsecsElapsed()) / 1e9);
}

void CameraMotion::jumpTo(const Camera& camera) {
    flight_.reset();
    timer_.stop();
    resting_ = earthsim::normalized(camera);
    emit changed();
}

void CameraMotion::flyTo(const Camera& camera, double speed) {
    const double duration = earthsim::flightDuration(speed);
    if (duration <= 0 || earthsim::normalized(camera) == this->camera()) {
        jumpTo(camera);
        return;
    }
    flight_.emplace(this->camera(), camera, duration);
    clock_.start();
    timer_.start();
    emit changed();
}

void CameraMotion::tick() {
    if (flight_ && flight_->arrivedAt(static_cast<double>(clock_.nsecsElapsed()) / 1e9)) {
        resting_ = flight_->target();
        flight_.reset();
        timer_.stop();
    }
    emit changed();
}
