#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QLocalSocket>
#include <QString>
#include <chrono>

namespace kartovex {

// One connection to the Google Earth simulator: a JSON request per line out, a JSON
// answer per line back (simulator/PROTOCOL.md). Every call is bounded by the time-out,
// so a simulator that hangs or goes away fails the call instead of the caller.
class SimulatorConnection {
public:
    // Connects, or throws RuntimeError 429 when nothing serves `serverName`.
    SimulatorConnection(const QString& serverName, std::chrono::milliseconds timeout);
    ~SimulatorConnection();
    SimulatorConnection(const SimulatorConnection&) = delete;
    SimulatorConnection& operator=(const SimulatorConnection&) = delete;

    // Sends the request and returns the answer. Throws RuntimeError with the simulator's
    // own number and description for an error answer, and 440 when the answer does not
    // come within the time-out, the connection closes or the answer is unreadable.
    QJsonObject call(const QJsonObject& request);

    // A finite number field of an answer; 440 when it is missing or not a number.
    static double number(const QJsonObject& answer, const char* name, const QString& op);

private:
    QByteArray readLine(const QString& op);

    QLocalSocket socket_;
    std::chrono::milliseconds timeout_;
    QByteArray pending_;
};

}  // namespace kartovex
