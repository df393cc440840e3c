#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <optional>

#include "Camera.h"
#include "CameraFlight.h"

// The simulator's one camera, at rest or in flight. A flight is a function of the time
// since it began, so the camera reported at any moment is where the view is drawn at that
// moment; a timer only keeps the view redrawing while it flies.
class CameraMotion : public QObject {
    Q_OBJECT

public:
    explicit CameraMotion(const earthsim::Camera& start, QObject* parent = nullptr);

    earthsim::Camera camera() const;
    bool flying() const { return flight_.has_value(); }

    // Puts the camera there at once, ending any flight.
    void jumpTo(const earthsim::Camera& camera);
    // Moves there as SetCameraParams does: a jump at speed 5 and above, a flight below.
    void flyTo(const earthsim::Camera& camera, double speed);

signals:
    void changed();

private:
    void tick();

    earthsim::Camera resting_;
    std::optional<earthsim::CameraFlight> flight_;
    QElapsedTimer clock_;
    QTimer timer_;
};
