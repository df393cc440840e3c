#pragma once

#include <QTcpServer>
#include <QTimer>
#include <chrono>
#include <map>

class QTcpSocket;

namespace kartovex {

// The link's listening socket, in front of an HTTP library that would buffer any request
// whole and keep any connection forever: any local process may connect. It holds a few
// connections at a time, closing the one longest without an answer to make room; closes a
// connection that goes a few seconds without an answer, or whose request grows past what a
// view report needs, before the library has buffered it; and accepts nothing while the
// program's descriptors run short, so that the window can still open its files.
class GuardedTcpServer : public QTcpServer {
public:
    struct Limits {
        int connections = 32;
        qint64 requestBytes = 16 * 1024;  // a report's request line and headers are a few KB
        std::chrono::milliseconds patience{4000};
        int reservedDescriptors = 64;
    };

    explicit GuardedTcpServer(Limits limits, QObject* parent = nullptr);

protected:
    void incomingConnection(qintptr handle) override;

private:
    struct Connection {
        std::chrono::steady_clock::time_point since;  // accepted, or last answered
        qint64 received = 0;                          // of the request not yet answered
        qint64 leftUnread = 0;                        // by the library after the last read
    };

    void closeLongestWaiting();
    void closeOverdue();

    Limits limits_;
    std::map<QTcpSocket*, Connection> held_;
    QTimer sweep_;
};

}  // namespace kartovex
