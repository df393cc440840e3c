#pragma once

#include <QNetworkAccessManager>
#include <QObject>
#include <QString>
#include <QTimer>
#include <optional>

#include "Camera.h"

class CameraMotion;
class EarthView;

// The first NetworkLink of a KML file, as far as a refresh needs it. Defaults are KML 2.2's.
struct NetworkLinkSettings {
    QString href;
    bool flyToView = false;
    QString refreshMode = QStringLiteral("onChange");
    double refreshInterval = 4;  // seconds
    QString viewRefreshMode = QStringLiteral("never");
    double viewRefreshTime = 4;  // seconds
    QString viewFormat = QStringLiteral("BBOX=[bboxWest],[bboxSouth],[bboxEast],[bboxNorth]");
};
// std::nullopt, with the reason in `error`, when the text holds no network link with an href.
// Refresh times are held between a tenth of a second and a day.
std::optional<NetworkLinkSettings> readNetworkLink(const QByteArray& kml, QString& error);

// What an answer's NetworkLinkControl asks for: a cookie for later requests, and a view
// (a LookAt, or a Camera turned into the look-at it sees) to fly to.
struct NetworkLinkAnswer {
    std::optional<QString> cookie;
    std::optional<earthsim::Camera> view;
};
NetworkLinkAnswer readNetworkLinkAnswer(const QByteArray& kml);

// Refreshes a network link as Google Earth does: once when opened, every refreshInterval
// with onInterval, and viewRefreshTime after the camera stops with onStop; each request
// carries the view format filled in from the view and the last cookie, and a view in an
// answer is flown to when the link says flyToView.
class NetworkLinkClient : public QObject {
    Q_OBJECT

public:
    static constexpr double kFlightSpeed = 4.0;  // a flight of one second

    NetworkLinkClient(CameraMotion& motion, EarthView& view, QObject* parent = nullptr);

    bool open(const QString& path, QString& error);
    void refresh();

signals:
    // After each answer, with the HTTP status (0: no answer).
    void answered(int status);

protected:
    // A view that changes size is a view that changed.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void cameraChanged();

    CameraMotion& motion_;
    EarthView& view_;
    std::optional<NetworkLinkSettings> link_;
    QString cookie_;
    QNetworkAccessManager network_;
    QTimer interval_;
    QTimer stopped_;
    bool waiting_ = false;  // for the answer to the last request
};
