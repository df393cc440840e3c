#include "NetworkLinkClient.h"

#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QNetworkReply>
#include <QXmlStreamReader>
#include <algorithm>
#include <cmath>

#include "CameraMotion.h"
#include "EarthView.h"
#include "Globe.h"
#include "ViewQuery.h"

namespace {

// A link file and an answer are a few kilobytes; far more is no KML a link would send.
constexpr qint64 kLargestFile = 1 << 20;
constexpr qint64 kLargestAnswer = 1 << 20;
constexpr int kAnswerTimeoutMs = 10000;

// Between a tenth of a second and a day: a longer interval would overflow the timer.
double refreshSeconds(const QString& text, double otherwise) {
    bool ok = false;
    const double seconds = text.toDouble(&ok);
    if (!ok || std::isnan(seconds)) return otherwise;
    return std::clamp(seconds, 0.1, 86400.0);
}

// The view a KML Camera shows, as a look-at: where its line of sight meets the ground.
earthsim::Camera lookAtOfEye(double latitude, double longitude, double altitude, double heading,
                             double tilt) {
    using namespace earthsim;
    const Vec3 eye = pointAt(latitude, longitude, altitude);
    const double lat = latitude * kDegree, lon = longitude * kDegree;
    const Vec3 up = unitVectorAt(latitude, longitude);
    const Vec3 east{-std::sin(lon), std::cos(lon), 0};
    const Vec3 north{-std::sin(lat) * std::cos(lon), -std::sin(lat) * std::sin(lon), std::cos(lat)};
    const double h = heading * kDegree, t = tilt * kDegree;
    const Vec3 forward =
        (north * std::cos(h) + east * std::sin(h)) * std::sin(t) + up * -std::cos(t);
    const GroundHit ground = intersectGround(eye, forward, north);
    const GeoPoint focus = geoPointOf(ground.point);
    const Vec3 vertical = unitVectorAt(focus.latitude, focus.longitude);
    Camera c;
    c.latitude = focus.latitude;
    c.longitude = focus.longitude;
    c.range = ground.distance;
    c.tilt = std::acos(std::clamp(-forward.dot(vertical), -1.0, 1.0)) / kDegree;
    c.azimuth = heading;
    return c;
}

}  // namespace

std::optional<NetworkLinkSettings> readNetworkLink(const QByteArray& kml, QString& error) {
    QXmlStreamReader xml(kml);
    NetworkLinkSettings link;
    bool inLink = false, found = false;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isEndElement() && xml.name() == QLatin1String("NetworkLink") && inLink) break;
        if (!xml.isStartElement()) continue;
        const auto name = xml.name();
        if (name == QLatin1String("NetworkLink")) {
            inLink = true;
            continue;
        }
        if (!inLink) continue;
        if (name == QLatin1String("Link") || name == QLatin1String("Url")) continue;
        const bool known =
            name == QLatin1String("href") || name == QLatin1String("flyToView") ||
            name == QLatin1String("refreshMode") || name == QLatin1String("refreshInterval") ||
            name == QLatin1String("viewRefreshMode") || name == QLatin1String("viewRefreshTime") ||
            name == QLatin1String("viewFormat");
        if (!known) continue;
        const QString key = name.toString();
        const QString value = xml.readElementText().trimmed();
        if (key == QLatin1String("href")) {
            link.href = value;
            found = true;
        } else if (key == QLatin1String("flyToView")) {
            link.flyToView = value == QLatin1String("1") || value == QLatin1String("true");
        } else if (key == QLatin1String("refreshMode")) {
            link.refreshMode = value;
        } else if (key == QLatin1String("refreshInterval")) {
            link.refreshInterval = refreshSeconds(value, link.refreshInterval);
        } else if (key == QLatin1String("viewRefreshMode")) {
            link.viewRefreshMode = value;
        } else if (key == QLatin1String("viewRefreshTime")) {
            link.viewRefreshTime = refreshSeconds(value, link.viewRefreshTime);
        } else {
            link.viewFormat = value;
        }
    }
    if (xml.hasError()) {
        error = QStringLiteral("not readable KML (%1, line %2)")
                    .arg(xml.errorString())
                    .arg(xml.lineNumber());
        return std::nullopt;
    }
    if (!found || link.href.isEmpty()) {
        error = QStringLiteral("no NetworkLink with a Link and its href");
        return std::nullopt;
    }
    return link;
}

NetworkLinkAnswer readNetworkLinkAnswer(const QByteArray& kml) {
    QXmlStreamReader xml(kml);
    NetworkLinkAnswer answer;
    QString view;                              // "LookAt" or "Camera" while inside one
    double values[6] = {0, 0, 0, 1000, 0, 0};  // latitude longitude altitude range tilt heading
    const char* names[6] = {"latitude", "longitude", "altitude", "range", "tilt", "heading"};
    bool inControl = false;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isEndElement() && xml.name().toString() == view && !view.isEmpty()) {
            if (view == QLatin1String("LookAt")) {
                answer.view = earthsim::Camera{values[0], values[1], values[2],
                                               values[3], values[4], values[5]};
            } else {
                answer.view = lookAtOfEye(values[0], values[1], values[2], values[5], values[4]);
            }
            view.clear();
        }
        if (!xml.isStartElement()) continue;
        const QString name = xml.name().toString();
        if (name == QLatin1String("NetworkLinkControl")) inControl = true;
        if (!inControl) continue;
        if (name == QLatin1String("cookie")) {
            answer.cookie = xml.readElementText().trimmed();
        } else if (name == QLatin1String("LookAt") || name == QLatin1String("Camera")) {
            view = name;
        } else if (!view.isEmpty()) {
            for (int i = 0; i < 6; ++i) {
                bool ok = false;
                if (name == QLatin1String(names[i])) {
                    const double v = xml.readElementText().trimmed().toDouble(&ok);
                    if (ok && std::isfinite(v)) values[i] = v;
                }
            }
        }
    }
    return answer;
}

NetworkLinkClient::NetworkLinkClient(CameraMotion& motion, EarthView& view, QObject* parent)
    : QObject(parent), motion_(motion), view_(view) {
    connect(&interval_, &QTimer::timeout, this, &NetworkLinkClient::refresh);
    stopped_.setSingleShot(true);
    connect(&stopped_, &QTimer::timeout, this, [this] {
        if (motion_.flying()) return;
        refresh();
    });
    connect(&motion_, &CameraMotion::changed, this, &NetworkLinkClient::cameraChanged);
    view_.installEventFilter(this);
}

bool NetworkLinkClient::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &view_ && event->type() == QEvent::Resize) cameraChanged();
    return QObject::eventFilter(watched, event);
}

bool NetworkLinkClient::open(const QString& path, QString& error) {
    // A device or a FIFO would be read without end, or block before the window opens.
    const QFileInfo info(path);
    if (info.exists() && !info.isFile()) {
        error = QStringLiteral("Could not open %1: it is no plain file.").arg(path);
        return false;
    }
    if (info.size() > kLargestFile) {
        error = QStringLiteral(
                    "Could not open %1: it is larger than %2 bytes, far more than a "
                    "KML file with a network link.")
                    .arg(path)
                    .arg(kLargestFile);
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("Could not open %1: %2.").arg(path, file.errorString());
        return false;
    }
    QString reason;
    const auto link = readNetworkLink(file.read(kLargestFile), reason);
    if (!link) {
        error = QStringLiteral("%1 holds %2.").arg(path, reason);
        return false;
    }
    link_ = link;
    cookie_.clear();
    interval_.stop();
    if (link_->refreshMode == QLatin1String("onInterval"))
        interval_.start(static_cast<int>(link_->refreshInterval * 1000));
    stopped_.setInterval(static_cast<int>(link_->viewRefreshTime * 1000));
    refresh();
    return true;
}

void NetworkLinkClient::cameraChanged() {
    if (link_ && link_->viewRefreshMode == QLatin1String("onStop")) stopped_.start();
}

void NetworkLinkClient::refresh() {
    // One request at a time, as Google Earth does: a server that never answers gets no queue.
    if (!link_ || waiting_) return;
    QString url = link_->href;
    const QString query = QString::fromStdString(
        earthsim::viewQuery(link_->viewFormat.toStdString(), view_.geometryNow()));
    for (const QString& part : {query, cookie_}) {
        if (part.isEmpty()) continue;
        url += (url.contains(QLatin1Char('?')) ? QLatin1Char('&') : QLatin1Char('?')) + part;
    }
    QNetworkRequest request{QUrl(url)};
    request.setTransferTimeout(kAnswerTimeoutMs);
    QNetworkReply* reply = network_.get(request);
    waiting_ = true;
    connect(reply, &QNetworkReply::downloadProgress, reply, [reply](qint64 received, qint64) {
        if (received > kLargestAnswer) reply->abort();
    });
    connect(reply, &QNetworkReply::finished, this, [this, reply] {
        reply->deleteLater();
        waiting_ = false;
        const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        if (status == 200 && reply->error() == QNetworkReply::NoError) {
            const NetworkLinkAnswer answer = readNetworkLinkAnswer(reply->readAll());
            if (answer.cookie) cookie_ = *answer.cookie;
            if (answer.view && link_ && link_->flyToView) motion_.flyTo(*answer.view, kFlightSpeed);
        }
        emit answered(status);
    });
}
