#include "RepaintingPause.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <cstdint>
#include <limits>

namespace kartovex {

void pauseRepainting(std::chrono::milliseconds duration) {
    const auto milliseconds = static_cast<int>(
        std::clamp<std::int64_t>(duration.count(), 0, std::numeric_limits<int>::max()));
    auto* app = QCoreApplication::instance();
    if (!app || QThread::currentThread() != app->thread()) {
        QThread::msleep(static_cast<unsigned long>(milliseconds));
        return;
    }
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

}  // namespace kartovex
