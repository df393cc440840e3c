#pragma once

#include <QElapsedTimer>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QTimer>
#include <QWidget>

#include "Camera.h"
#include "FrameRenderer.h"
#include "ViewGeometry.h"

class CameraMotion;

// The 3-D view, Google Earth's render window. It draws at the screen's physical pixels,
// so a saved picture, the view's reported rectangle and the ground reported for a screen
// point all refer to the same pixels. Dragging pans, the wheel zooms, the up and down
// arrows tilt and the left and right arrows turn the view.
class EarthView : public QWidget {
    Q_OBJECT

public:
    explicit EarthView(CameraMotion& motion, QWidget* parent = nullptr);

    QSize physicalSize() const;
    // The view's screen rectangle in physical pixels.
    QRect physicalScreenRect() const;
    earthsim::ViewGeometry geometryNow() const;

    // The picture of the view as it is now, physicalSize() pixels.
    QImage picture();
    // Writes picture() as a JPG; an existing file is replaced only once the new one is
    // complete. On failure returns false and says why in `error`.
    bool saveImage(const QString& path, int quality, QString& error);

    // Off (the default), every frame shows at full detail at once. On, the screen shows the
    // imagery as Google Earth streams it: after any move a coarse picture, finer ones, then
    // full detail about a second after the camera stops. The saved picture is always full.
    void setStreamedImagery(bool streamed);
    // How far the imagery on the screen has loaded, 0 to 100. 100 only once the full
    // detail has been painted, so that a grab taken then shows it.
    double streamingPercentage();
    // Draws a compass near the top-right corner and a status line along the bottom on the
    // screen, as Google Earth does; never into the saved picture.
    void setShowControls(bool show) { showControls_ = show; }

public slots:
    void zoomIn();
    void zoomOut();
    void northUp();
    void lookStraightDown();
    void resetView();

signals:
    // The ground under the mouse pointer, for the status bar.
    void pointerOver(double latitude, double longitude, bool onGround);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void pan(QPointF logicalDelta);
    void zoom(double steps);
    void turn(double tiltChange, double azimuthChange);
    void drawLabels(QImage& image, double step,
                    const std::vector<earthsim::GraticuleCrossing>& crossings) const;
    // The share of the loading time that has passed for the view now shown, 0 to 1.
    double loadedFraction();
    QImage coarsePicture(int reduction);
    void drawControls(QPainter& painter) const;

    CameraMotion& motion_;
    QImage cached_;
    earthsim::Camera cachedCamera_;
    QPointF dragFrom_;
    bool streamed_ = false;
    bool showControls_ = false;
    earthsim::Camera loadingCamera_;
    QSize loadingSize_;
    QElapsedTimer loadingClock_;
    QTimer loadingStep_;
    bool fullDetailPainted_ = false;
};
