#include "AutomationRequests.h"

#include <QJsonDocument>
#include <QJsonValue>
#include <cmath>
#include <stdexcept>

#include "CameraMotion.h"
#include "EarthView.h"

using earthsim::Camera;

namespace {

// The classic run-time error numbers that Google Earth's callers already know.
constexpr int kInvalidArgument = 5;
constexpr int kPathFileAccess = 75;
constexpr int kNoSuchOperation = 438;
constexpr int kAutomationError = 440;

struct RequestError : std::runtime_error {
    RequestError(int errorNumber, const QString& description)
        : std::runtime_error(description.toStdString()), number(errorNumber) {}
    int number;
};

QJsonObject errorAnswer(int number, const QString& description) {
    return {{QStringLiteral("error"), number}, {QStringLiteral("description"), description}};
}

double number(const QJsonObject& request, const char* name) {
    const QJsonValue v = request.value(QLatin1String(name));
    if (!v.isDouble() || !std::isfinite(v.toDouble())) {
        throw RequestError(kInvalidArgument, QStringLiteral("%1: argument '%2' must be a number.")
                                                 .arg(request.value(QLatin1String("op")).toString(),
                                                      QLatin1String(name)));
    }
    return v.toDouble();
}

int integer(const QJsonObject& request, const char* name) {
    const double v = number(request, name);
    if (v != std::floor(v) || std::abs(v) > 2147483647.0) {
        throw RequestError(
            kInvalidArgument,
            QStringLiteral("%1: argument '%2' must be a whole number.")
                .arg(request.value(QLatin1String("op")).toString(), QLatin1String(name)));
    }
    return static_cast<int>(v);
}

}  // namespace

AutomationRequests::AutomationRequests(CameraMotion& motion, EarthView& view)
    : motion_(motion), view_(view) {}

qint32 AutomationRequests::renderHwnd() const {
    return static_cast<qint32>(static_cast<quint32>(view_.winId()));
}

QByteArray AutomationRequests::answerLine(const QByteArray& line) {
    QJsonParseError parseError{};
    const QJsonDocument document = QJsonDocument::fromJson(line, &parseError);
    const QJsonObject reply =
        document.isObject()
            ? answer(document.object())
            : errorAnswer(kAutomationError,
                          QStringLiteral("The request is not a JSON object on one line."));
    return QJsonDocument(reply).toJson(QJsonDocument::Compact) + '\n';
}

QJsonObject AutomationRequests::answer(const QJsonObject& request) {
    const QString op = request.value(QLatin1String("op")).toString();
    try {
        if (op == QLatin1String("GetCamera")) return getCamera(request);
        if (op == QLatin1String("SetCameraParams")) return setCameraParams(request);
        if (op == QLatin1String("GetRenderHwnd")) return {{QStringLiteral("hwnd"), renderHwnd()}};
        if (op == QLatin1String("GetViewExtents")) return getViewExtents();
        if (op == QLatin1String("GetPointOnTerrainFromScreenCoords")) {
            return getPointOnTerrain(request);
        }
        if (op == QLatin1String("GetWindowRect")) return getWindowRect(request);
        if (op == QLatin1String("SaveScreenShot")) return saveScreenShot(request);
        if (op == QLatin1String("StreamingProgressPercentage"))
            return {{QStringLiteral("percentage"), view_.streamingPercentage()}};
    } catch (const RequestError& e) {
        return errorAnswer(e.number, QString::fromStdString(e.what()));
    }
    return errorAnswer(
        kNoSuchOperation,
        QStringLiteral("Object doesn't support this property or method: '%1'.").arg(op));
}

QJsonObject AutomationRequests::getCamera(const QJsonObject& request) const {
    // The ground is a smooth sphere: considering the terrain changes nothing.
    if (!request.value(QLatin1String("considerTerrain")).isBool()) {
        throw RequestError(
            kInvalidArgument,
            QStringLiteral("GetCamera: argument 'considerTerrain' must be true or false."));
    }
    const Camera c = motion_.camera();
    return {{QStringLiteral("focusPointLatitude"), c.latitude},
            {QStringLiteral("focusPointLongitude"), c.longitude},
            {QStringLiteral("focusPointAltitude"), c.altitude},
            {QStringLiteral("range"), c.range},
            {QStringLiteral("tilt"), c.tilt},
            {QStringLiteral("azimuth"), c.azimuth}};
}

QJsonObject AutomationRequests::setCameraParams(const QJsonObject& request) {
    Camera c;
    c.latitude = number(request, "latitude");
    c.longitude = number(request, "longitude");
    c.altitude = number(request, "altitude");
    const int altitudeMode = integer(request, "altitudeMode");
    c.range = number(request, "range");
    c.tilt = number(request, "tilt");
    c.azimuth = number(request, "azimuth");
    const double speed = number(request, "speed");
    if (altitudeMode != 1 && altitudeMode != 2) {
        throw RequestError(kInvalidArgument,
                           QStringLiteral("SetCameraParams: altitude mode must be 1 (relative to "
                                          "ground) or 2 (absolute), not %1.")
                               .arg(altitudeMode));
    }
    if (speed <= 0) {
        throw RequestError(kInvalidArgument,
                           QStringLiteral("SetCameraParams: speed must be above 0 (5 and above "
                                          "jumps), not %1.")
                               .arg(speed));
    }
    // Out-of-range values are brought into range, as Google Earth does, rather than refused.
    motion_.flyTo(c, speed);
    return {};
}

QJsonObject AutomationRequests::getViewExtents() const {
    const earthsim::ViewBounds bounds = view_.geometryNow().bounds();
    return {{QStringLiteral("north"), bounds.north}, {QStringLiteral("south"), bounds.south}};
}

QJsonObject AutomationRequests::getPointOnTerrain(const QJsonObject& request) const {
    const double x = number(request, "x");
    const double y = number(request, "y");
    const earthsim::GeoPoint p = view_.geometryNow().pointOnTerrain(x, y);
    return {{QStringLiteral("latitude"), p.latitude}, {QStringLiteral("longitude"), p.longitude}};
}

QJsonObject AutomationRequests::getWindowRect(const QJsonObject& request) const {
    const int hwnd = integer(request, "hwnd");
    if (hwnd != renderHwnd()) {
        throw RequestError(kInvalidArgument,
                           QStringLiteral("GetWindowRect: no window has the handle %1.").arg(hwnd));
    }
    const QRect r = view_.physicalScreenRect();
    return {{QStringLiteral("left"), r.left()},
            {QStringLiteral("top"), r.top()},
            {QStringLiteral("right"), r.left() + r.width()},
            {QStringLiteral("bottom"), r.top() + r.height()}};
}

QJsonObject AutomationRequests::saveScreenShot(const QJsonObject& request) {
    const QJsonValue fileName = request.value(QLatin1String("fileName"));
    if (!fileName.isString() || fileName.toString().isEmpty()) {
        throw RequestError(
            kInvalidArgument,
            QStringLiteral("SaveScreenShot: argument 'fileName' must be a file path."));
    }
    const int quality = integer(request, "quality");
    if (quality < 0 || quality > 100) {
        throw RequestError(
            kInvalidArgument,
            QStringLiteral("SaveScreenShot: quality must be 0 to 100, not %1.").arg(quality));
    }
    QString error;
    if (!view_.saveImage(fileName.toString(), quality, error)) {
        throw RequestError(kPathFileAccess, error);
    }
    return {};
}
