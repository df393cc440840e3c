#include "SimulatorConnection.h"

#include <QDeadlineTimer>
#include <QJsonDocument>
#include <QJsonValue>
#include <cmath>

#include "model/RuntimeError.h"

namespace kartovex {

namespace {

constexpr qsizetype kMaxAnswer = 64 * 1024;

[[noreturn]] void fail(const QString& description) {
    throw RuntimeError(error::AutomationError, description.toStdString());
}

QString seconds(std::chrono::milliseconds timeout) {
    return QString::number(static_cast<double>(timeout.count()) / 1000.0, 'g', 3);
}

}  // namespace

SimulatorConnection::SimulatorConnection(const QString& serverName,
                                         std::chrono::milliseconds timeout)
    : timeout_(timeout) {
    socket_.connectToServer(serverName);
    if (!socket_.waitForConnected(static_cast<int>(timeout_.count()))) {
        // Qt's own error text names its functions; the user gets plain words.
        throw RuntimeError(error::CannotCreateObject,
                           QStringLiteral("Google Earth is not running: nothing answers on '%1'. "
                                          "On Linux the simulator earthsim stands in for it: "
                                          "start build/simulator/earthsim (scripts/run starts "
                                          "it with Kartovex), then press again.")
                               .arg(serverName)
                               .toStdString());
    }
}

SimulatorConnection::~SimulatorConnection() {
    socket_.abort();
}

QJsonObject SimulatorConnection::call(const QJsonObject& request) {
    const QString op = request.value(QLatin1String("op")).toString();
    if (socket_.state() != QLocalSocket::ConnectedState) {
        fail(QStringLiteral("Google Earth has closed the connection; %1 was not sent.").arg(op));
    }
    socket_.write(QJsonDocument(request).toJson(QJsonDocument::Compact) + '\n');
    const QDeadlineTimer deadline(timeout_);
    while (socket_.bytesToWrite() > 0) {
        if (!socket_.waitForBytesWritten(static_cast<int>(deadline.remainingTime()))) {
            if (socket_.state() != QLocalSocket::ConnectedState) {
                fail(QStringLiteral("Google Earth closed the connection during %1.").arg(op));
            }
            fail(QStringLiteral("Google Earth did not take the %1 request within %2 s.")
                     .arg(op, seconds(timeout_)));
        }
    }

    const QByteArray line = readLine(op);
    QJsonParseError parseError{};
    const QJsonDocument document = QJsonDocument::fromJson(line, &parseError);
    if (!document.isObject()) {
        fail(QStringLiteral("Google Earth gave an unreadable answer to %1.").arg(op));
    }
    const QJsonObject answer = document.object();
    if (answer.contains(QLatin1String("error"))) {
        const QJsonValue number = answer.value(QLatin1String("error"));
        const double n = number.toDouble();
        if (!number.isDouble() || n != std::floor(n) || std::abs(n) > 2147483647.0) {
            fail(QStringLiteral("Google Earth gave an unreadable error answer to %1.").arg(op));
        }
        throw RuntimeError(static_cast<long>(n),
                           answer.value(QLatin1String("description")).toString().toStdString());
    }
    return answer;
}

QByteArray SimulatorConnection::readLine(const QString& op) {
    const QDeadlineTimer deadline(timeout_);
    for (;;) {
        pending_.append(socket_.readAll());
        const qsizetype end = pending_.indexOf('\n');
        if (end >= 0) {
            QByteArray line = pending_.left(end);
            pending_.remove(0, end + 1);
            return line;
        }
        if (pending_.size() > kMaxAnswer) {
            fail(QStringLiteral("Google Earth gave an unreadable answer to %1.").arg(op));
        }
        if (socket_.state() != QLocalSocket::ConnectedState) {
            fail(QStringLiteral("Google Earth closed the connection during %1.").arg(op));
        }
        if (deadline.hasExpired() ||
            !socket_.waitForReadyRead(static_cast<int>(deadline.remainingTime()))) {
            if (socket_.state() != QLocalSocket::ConnectedState) {
                fail(QStringLiteral("Google Earth closed the connection during %1.").arg(op));
            }
            if (socket_.bytesAvailable() == 0 && deadline.hasExpired()) {
                fail(QStringLiteral("Google Earth did not answer %1 within %2 s.")
                         .arg(op, seconds(timeout_)));
            }
        }
    }
}

double SimulatorConnection::number(const QJsonObject& answer, const char* name, const QString& op) {
    const QJsonValue v = answer.value(QLatin1String(name));
    if (!v.isDouble() || !std::isfinite(v.toDouble())) {
        fail(QStringLiteral("Google Earth's answer to %1 lacks the number '%2'.")
                 .arg(op, QLatin1String(name)));
    }
    return v.toDouble();
}

}  // namespace kartovex
