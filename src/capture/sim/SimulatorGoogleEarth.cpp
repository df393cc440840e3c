#include "SimulatorGoogleEarth.h"

#include <cmath>

#include "SimulatorApplicationGE.h"
#include "SimulatorConnection.h"
#include "capture/qt/PhysicalScreen.h"
#include "capture/qt/RepaintingPause.h"
#include "model/RuntimeError.h"
#include "model/qt/QtLog.h"

namespace kartovex {

SimulatorGoogleEarth::SimulatorGoogleEarth(MessageBoxService& messages, QString serverName,
                                           std::chrono::milliseconds timeout)
    : GoogleEarthBackEnd(messages), serverName_(std::move(serverName)), timeout_(timeout) {}

std::unique_ptr<ApplicationGE> SimulatorGoogleEarth::connect() {
    return std::make_unique<SimulatorApplicationGE>(serverName_, timeout_);
}

ScreenMetrics SimulatorGoogleEarth::screenMetrics() {
    return physicalScreenMetrics();
}

bool SimulatorGoogleEarth::getWindowRect(std::int32_t hwnd, WindowRect& rect) {
    try {
        SimulatorConnection connection(serverName_, timeout_);
        const QString op = QStringLiteral("GetWindowRect");
        const QJsonObject a =
            connection.call({{QStringLiteral("op"), op}, {QStringLiteral("hwnd"), hwnd}});
        WindowRect r;
        for (auto [field, name] : {std::pair{&r.left, "left"}, std::pair{&r.top, "top"},
                                   std::pair{&r.right, "right"}, std::pair{&r.bottom, "bottom"}}) {
            const double v = SimulatorConnection::number(a, name, op);
            if (v != std::floor(v) || std::abs(v) > 2147483647.0) return false;
            *field = static_cast<std::int32_t>(v);
        }
        rect = r;
        return true;
    } catch (const RuntimeError& e) {
        qCInfo(captureLog).noquote() << "GetWindowRect failed with error" << e.number() << "-"
                                     << QString::fromStdString(e.description());
        return false;
    }
}

void SimulatorGoogleEarth::pause(std::chrono::milliseconds duration) {
    pauseRepainting(duration);
}

}  // namespace kartovex
