#include "AutomationServer.h"

#include <QLocalSocket>
#include <memory>

#include "AutomationRequests.h"

AutomationServer::AutomationServer(AutomationRequests& requests, QObject* parent)
    : QObject(parent), requests_(requests) {
    connect(&server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = server_.nextPendingConnection()) {
            if (connections_ < kMaxConnections) {
                serve(socket);
            } else {
                socket->abort();
                socket->deleteLater();
            }
        }
    });
    listening_.callOnTimeout(this, [this] {
        QString error;
        if (!server_.isListening()) listen(name_, error);
    });
}

bool AutomationServer::listen(const QString& name, QString& error) {
    name_ = name;
    listening_.start(std::chrono::milliseconds(250));
    if (server_.listen(name)) return true;
    if (server_.serverError() == QAbstractSocket::AddressInUseError) {
        QLocalSocket probe;
        probe.connectToServer(name);
        if (probe.waitForConnected(1000)) {
            error = tr("Another simulator already serves '%1'.").arg(name);
            return false;
        }
        QLocalServer::removeServer(name);
        if (server_.listen(name)) return true;
    }
    error = tr("Cannot listen on '%1': %2").arg(name, server_.errorString());
    return false;
}

void AutomationServer::serve(QLocalSocket* socket) {
    auto pending = std::make_shared<QByteArray>();
    ++connections_;
    connect(socket, &QObject::destroyed, this, [this] { --connections_; });
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    connect(socket, &QLocalSocket::readyRead, this, [this, socket, pending] {
        pending->append(socket->readAll());
        qsizetype start = 0, end = 0;
        while ((end = pending->indexOf('\n', start)) >= 0) {
            socket->write(requests_.answerLine(pending->mid(start, end - start)));
            start = end + 1;
            if (socket->bytesToWrite() > kMaxUnsent) {
                socket->abort();
                return;
            }
        }
        pending->remove(0, start);
        // Answer now, not after whatever the event loop draws next.
        socket->flush();
        if (pending->size() > kMaxLine) {
            socket->write(requests_.answerLine(QByteArray()));
            socket->disconnectFromServer();
        }
    });
}
