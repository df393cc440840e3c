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
// Streamed imagery: full detail this long after the camera stops, and the coarser stages
// before it, each with how many times fewer pixels per side it draws.
constexpr int kLoadingMilliseconds = 900;
struct LoadingStage {
    double untilFraction;
    int reduction;
};
constexpr LoadingStage kLoadingStages[] = {{0.4, 16}, {0.75, 4}, {1.0, 2}};

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
    loadingStep_.setSingleShot(true);
    connect(&loadingStep_, &QTimer::timeout, this, qOverload<>(&QWidget::update));
    loadingClock_.start();
}

void EarthView::setStreamedImagery(bool streamed) {
    streamed_ = streamed;
    loadingClock_.start();
    update();
}

double EarthView::loadedFraction() {
    const Camera camera = motion_.camera();
    if (camera != loadingCamera_ || physicalSize() != loadingSize_) {
        loadingCamera_ = camera;
        loadingSize_ = physicalSize();
        loadingClock_.start();
        fullDetailPainted_ = false;
    }
    if (!streamed_) return 1.0;
    return std::min(1.0, static_cast<double>(loadingClock_.elapsed()) / kLoadingMilliseconds);
}

double EarthView::streamingPercentage() {
    const double percentage = std::floor(loadedFraction() * 100.0);
    // The clock runs ahead of the screen: the full picture is drawn at the next paint.
    if (streamed_ && percentage >= 100 && !fullDetailPainted_) return 99;
    return percentage;
}

// The same ground drawn with fewer pixels and enlarged: what a view shows before its
// finer imagery has arrived.
QImage EarthView::coarsePicture(int reduction) {
    const QSize full = physicalSize();
    const QSize small(std::max(1, full.width() / reduction),
                      std::max(1, full.height() / reduction));
    QImage image(small, QImage::Format_RGB32);
    const earthsim::FramePixels pixels{reinterpret_cast<std::uint32_t*>(image.bits()),
                                       image.width(), image.height(), image.bytesPerLine() / 4};
    earthsim::renderFrame(ViewGeometry(motion_.camera(), small.width(), small.height()), pixels,
                          renderThreads());
    return image.scaled(full, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
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
    const double loaded = loadedFraction();
    QImage image;
    for (const LoadingStage& stage : kLoadingStages) {
        if (loaded < stage.untilFraction) {
            image = coarsePicture(stage.reduction);
            loadingStep_.start(
                static_cast<int>(std::ceil((stage.untilFraction - loaded) * kLoadingMilliseconds)));
            break;
        }
    }
    if (image.isNull()) {
        image = picture();
        fullDetailPainted_ = true;
    }
    image.setDevicePixelRatio(devicePixelRatioF());
    QPainter painter(this);
    painter.drawImage(QPoint(0, 0), image);
    if (showControls_) drawControls(painter);
}

void EarthView::drawControls(QPainter& painter) const {
    painter.setRenderHint(QPainter::Antialiasing);
    const int radius = 28;
    const QPointF centre(width() - radius - 16, radius + 16);
    painter.setPen(QPen(QColor(230, 230, 230), 2));
    painter.setBrush(QColor(20, 30, 45, 170));
    painter.drawEllipse(centre, radius, radius);
    QPainterPath needle;
    needle.moveTo(centre + QPointF(0, -radius + 6));
    needle.lineTo(centre + QPointF(7, 0));
    needle.lineTo(centre + QPointF(-7, 0));
    needle.closeSubpath();
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(220, 40, 40));
    painter.drawPath(needle);
    painter.setPen(QColor(255, 255, 255));
    painter.drawText(QRectF(centre.x() - 8, centre.y() + 4, 16, radius - 6), Qt::AlignCenter,
                     QStringLiteral("N"));

    const int band = 20;
    const QRect line(0, height() - band, width(), band);
    painter.fillRect(line, QColor(0, 0, 0, 150));
    const Camera c = motion_.camera();
    painter.setPen(QColor(235, 235, 235));
    painter.drawText(line.adjusted(8, 0, -8, 0), Qt::AlignVCenter | Qt::AlignLeft,
                     tr("Imagery date: simulated    lat %1  lon %2    eye alt %3 km")
                         .arg(c.latitude, 0, 'f', 6)
                         .arg(c.longitude, 0, 'f', 6)
                         .arg(c.range / 1000.0, 0, 'f', 2));
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
