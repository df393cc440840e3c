#pragma once

#include <QByteArray>
#include <QJsonObject>

class CameraMotion;
class EarthView;

// The Google Earth operations the simulator serves, one JSON object in, one out (see
// PROTOCOL.md). A request that cannot be carried out is answered with
// {"error": number, "description": "..."} and changes nothing.
class AutomationRequests {
public:
    AutomationRequests(CameraMotion& motion, EarthView& view);

    QJsonObject answer(const QJsonObject& request);
    // One request line (without its line feed) to one answer line (with it).
    QByteArray answerLine(const QByteArray& line);

    // The 32-bit handle GetRenderHwnd reports for the view.
    qint32 renderHwnd() const;

private:
    QJsonObject getCamera(const QJsonObject& request) const;
    QJsonObject setCameraParams(const QJsonObject& request);
    QJsonObject getViewExtents() const;
    QJsonObject getPointOnTerrain(const QJsonObject& request) const;
    QJsonObject getWindowRect(const QJsonObject& request) const;
    QJsonObject saveScreenShot(const QJsonObject& request);

    CameraMotion& motion_;
    EarthView& view_;
};
