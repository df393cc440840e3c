#pragma once

#include <QLocalServer>
#include <QObject>
#include <QTimer>

class AutomationRequests;

// The local socket on which the simulator serves the Google Earth operations: one JSON
// request per line in, one JSON answer per line out, any number of connections at once.
class AutomationServer : public QObject {
    Q_OBJECT

public:
    static constexpr const char* kDefaultName = "kartovex-google-earth";
    // Longest request line; a longer one ends its connection.
    static constexpr qsizetype kMaxLine = 64 * 1024;
    // Connections served at once; more are closed as they come, so that clients that
    // never hang up cannot use up the process's file descriptors.
    static constexpr int kMaxConnections = 32;
    // Answers a client may leave unread; past this its connection is closed.
    static constexpr qint64 kMaxUnsent = 1024 * 1024;

    AutomationServer(AutomationRequests& requests, QObject* parent = nullptr);

    // Starts listening under `name`. A socket left behind by a simulator that has gone is
    // taken over; one that still answers is not. On failure says why in `error`.
    bool listen(const QString& name, QString& error);

private:
    void serve(QLocalSocket* socket);

    AutomationRequests& requests_;
    int connections_ = 0;  // outlives the server, whose sockets count themselves out
    QLocalServer server_;
    QString name_;
    // A failed accept makes QLocalServer close and remove its socket without a signal.
    QTimer listening_;
};
