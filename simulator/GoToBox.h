#pragma once

#include <QDialog>
#include <QDoubleSpinBox>

#include "Camera.h"

// "Go To": a place to fly to, as a focus latitude and longitude and a range. The boxes
// take only numbers in the view's ranges.
class GoToBox : public QDialog {
    Q_OBJECT

public:
    // Starts from `from`; the camera it gives keeps `from`'s altitude, tilt and azimuth.
    explicit GoToBox(const earthsim::Camera& from, QWidget* parent = nullptr);

    earthsim::Camera camera() const;

private:
    earthsim::Camera from_;
    QDoubleSpinBox* latitude_;
    QDoubleSpinBox* longitude_;
    QDoubleSpinBox* range_;
};
