#include "AutomationServer.h"

#include <QLocalSocket>
#include <memory>

#include "AutomationRequests.h"

AutomationServer::AutomationServer(AutomationRequests& requests, QObject* parent)
    : QObject(parent), requests_(requests) {
    connect(&server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = server_.nextPendingConnection()) serve(socket);
    });
}

bool AutomationServer::listen(const QString& name, QString& error) {
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
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    connect(socket, &QLocalSocket::readyRead, this, [this, socket, pending] {
        pending->append(socket->readAll());
        qsizetype end = 0;
        while ((end = pending->indexOf('\n')) >= 0) {
            const QByteArray line = pending->left(end);
            pending->remove(0, end + 1);
            socket->write(requests_.answerLine(line));
        }
        // Answer now, not after whatever the event loop draws next.
        socket->flush();
        if (pending->size() > kMaxLine) {
            socket->write(requests_.answerLine(QByteArray()));
            socket->disconnectFromServer();
        }
    });
}
