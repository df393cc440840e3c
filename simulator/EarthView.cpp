#include "EarthView.h"

#include <QImageWriter>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QSaveFile>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <thread>

#include "CameraMotion.h"
#include "FrameRenderer.h"
#include "Graticule.h"

using earthsim::Camera;
using earthsim::kDegree;
using earthsim::kEarthRadius;
using earthsim::ViewGeometry;

namespace {

constexpr double kZoomPerStep = 0.8;
constexpr double kTurnStepDegrees = 5.0;
constexpr double kResetSpeed = 2.5;
constexpr int kLabelPixelSize = 13;

int renderThreads() {
    return static_cast<int>(std::clamp(std::thread::hardware_concurrency(), 1u, 8u));
}

}  // namespace

EarthView::EarthView(CameraMotion& motion, QWidget* parent) : QWidget(parent), motion_(motion) {
    // A window of its own, as Google Earth's render window is, with a handle to report.
    setAttribute(Qt::WA_NativeWindow);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setMinimumSize(64, 48);
    connect(&motion_, &CameraMotion::changed, this, qOverload<>(&QWidget::update));
}

QSize EarthView::physicalSize() const {
    const qreal ratio = devicePixelRatioF();
    return {std::max(1, qRound(width() * ratio)), std::max(1, qRound(height() * ratio))};
}

QRect EarthView::physicalScreenRect() const {
    const qreal ratio = devicePixelRatioF();
    const QPoint origin = mapToGlobal(QPoint(0, 0));
    return {QPoint(qRound(origin.x() * ratio), qRound(origin.y() * ratio)), physicalSize()};
}

ViewGeometry EarthView::geometryNow() const {
    const QSize size = physicalSize();
    return ViewGeometry(motion_.camera(), size.width(), size.height());
}

QImage EarthView::picture() {
    const ViewGeometry view = geometryNow();
    if (cached_.size() == physicalSize() && cachedCamera_ == view.camera()) return cached_;
    QImage image(physicalSize(), QImage::Format_RGB32);
    const earthsim::FramePixels pixels{reinterpret_cast<std::uint32_t*>(image.bits()),
                                       image.width(), image.height(), image.bytesPerLine() / 4};
    const earthsim::RenderedFrame frame = earthsim::renderFrame(view, pixels, renderThreads());
    drawLabels(image, frame.graticuleStep, frame.crossings);
    cached_ = image;
    cachedCamera_ = view.camera();
    return image;
}

bool EarthView::saveImage(const QString& path, int quality, QString& error) {
    const QImage image = picture();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        error = tr("Could not write %1: %2. No image was saved.").arg(path, file.errorString());
        return false;
    }
    QImageWriter writer(&file, "jpg");
    writer.setQuality(std::clamp(quality, 0, 100));
    if (!writer.write(image)) {
        error = tr("Could not write %1: %2. No image was saved.").arg(path, writer.errorString());
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        error = tr("Could not write %1: %2. No image was saved.").arg(path, file.errorString());
        return false;
    }
    return true;
}

void EarthView::drawLabels(QImage& image, double step,
                           const std::vector<earthsim::GraticuleCrossing>& crossings) const {
    if (crossings.empty()) return;
    const qreal ratio = devicePixelRatioF();
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    QFont font = this->font();
    font.setPixelSize(qRound(kLabelPixelSize * ratio));
    font.setBold(true);
    painter.setFont(font);
    const QFontMetrics metrics(font);
    const int pad = qRound(3 * ratio);
    std::vector<QRect> placed;
    for (const earthsim::GraticuleCrossing& c : crossings) {
        const std::string text = c.meridian ? earthsim::longitudeLabel(c.value, step)
                                            : earthsim::latitudeLabel(c.value, step);
        const QString label = QString::fromStdString(text);
        QRect box = metrics.boundingRect(label).adjusted(-pad, -pad, pad, pad);
        box.moveBottomLeft(QPoint(c.x + pad * 2, c.y - pad * 2));
        // A label that would cover another is left out.
        const QRect room = box.adjusted(-pad * 2, -pad * 2, pad * 2, pad * 2);
        if (std::any_of(placed.begin(), placed.end(),
                        [&](const QRect& other) { return other.intersects(room); })) {
            continue;
        }
        placed.push_back(box);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(10, 20, 35, 150));
        painter.drawRoundedRect(box, pad * 1.5, pad * 1.5);
        painter.setPen(QColor(255, 248, 215));
        painter.drawText(box, Qt::AlignCenter, label);
    }
}

void EarthView::paintEvent(QPaintEvent*) {
    QImage image = picture();
    image.setDevicePixelRatio(devicePixelRatioF());
    QPainter painter(this);
    painter.drawImage(QPoint(0, 0), image);
}

void EarthView::mousePressEvent(QMouseEvent* event) {
    dragFrom_ = event->position();
    setFocus(Qt::MouseFocusReason);
}

void EarthView::mouseMoveEvent(QMouseEvent* event) {
    if (event->buttons() & Qt::LeftButton) {
        pan(event->position() - dragFrom_);
        dragFrom_ = event->position();
    }
    const ViewGeometry view = geometryNow();
    const double x = -1.0 + 2.0 * event->position().x() / std::max(1, width());
    const double y = 1.0 - 2.0 * event->position().y() / std::max(1, height());
    const earthsim::GroundHit ground = view.groundAt(x, y);
    const earthsim::GeoPoint point = earthsim::geoPointOf(ground.point);
    emit pointerOver(point.latitude, point.longitude, ground.hit);
}

void EarthView::wheelEvent(QWheelEvent* event) {
    zoom(event->angleDelta().y() / 120.0);
    event->accept();
}

void EarthView::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Up:
            turn(kTurnStepDegrees, 0);
            break;
        case Qt::Key_Down:
            turn(-kTurnStepDegrees, 0);
            break;
        case Qt::Key_Left:
            turn(0, -kTurnStepDegrees);
            break;
        case Qt::Key_Right:
            turn(0, kTurnStepDegrees);
            break;
        default:
            QWidget::keyPressEvent(event);
    }
}

void EarthView::pan(QPointF logicalDelta) {
    Camera camera = motion_.camera();
    const QSize size = physicalSize();
    const double ratio = devicePixelRatioF();
    const double metresPerPixel = 2.0 * camera.range *
                                  std::tan(earthsim::kHorizontalFieldOfView / 2 * kDegree) /
                                  size.width();
    const double across = -logicalDelta.x() * ratio * metresPerPixel;
    const double along =
        logicalDelta.y() * ratio * metresPerPixel / std::max(0.2, std::cos(camera.tilt * kDegree));
    const double az = camera.azimuth * kDegree;
    const double east = across * std::cos(az) + along * std::sin(az);
    const double north = -across * std::sin(az) + along * std::cos(az);
    camera.latitude += north / kEarthRadius / kDegree;
    camera.longitude +=
        east / (kEarthRadius * std::max(1e-6, std::cos(camera.latitude * kDegree))) / kDegree;
    motion_.jumpTo(camera);
}

void EarthView::zoom(double steps) {
    Camera camera = motion_.camera();
    camera.range *= std::pow(kZoomPerStep, steps);
    motion_.jumpTo(camera);
}

void EarthView::turn(double tiltChange, double azimuthChange) {
    Camera camera = motion_.camera();
    camera.tilt += tiltChange;
    camera.azimuth += azimuthChange;
    motion_.jumpTo(camera);
}

void EarthView::zoomIn() {
    zoom(1);
}
void EarthView::zoomOut() {
    zoom(-1);
}

void EarthView::northUp() {
    Camera camera = motion_.camera();
    camera.azimuth = 0;
    motion_.flyTo(camera, kResetSpeed);
}

void EarthView::lookStraightDown() {
    Camera camera = motion_.camera();
    camera.tilt = 0;
    motion_.flyTo(camera, kResetSpeed);
}

void EarthView::resetView() {
    Camera camera = motion_.camera();
    camera.tilt = 0;
    camera.azimuth = 0;
    motion_.flyTo(camera, kResetSpeed);
}
