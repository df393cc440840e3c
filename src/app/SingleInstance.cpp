#include "SingleInstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QLocalSocket>
#include <QStandardPaths>
#include <utility>

namespace kartovex {
namespace {

constexpr int kAnswerMs = 2000;

}  // namespace

SingleInstance::SingleInstance(QString name) : name_(std::move(name)) {
    connect(&server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* other = server_.nextPendingConnection()) {
            connect(other, &QLocalSocket::disconnected, other, &QObject::deleteLater);
            other->disconnectFromServer();
            emit frontRequested();
        }
    });
}

bool SingleInstance::claim() {
    QLocalSocket first;
    first.connectToServer(name_);
    if (first.waitForConnected(kAnswerMs)) {
        // The connection itself is the request; wait for the first one to take it.
        first.waitForDisconnected(kAnswerMs);
        return false;
    }
    // Nothing answers: a socket left there is from one that ended without closing it.
    QLocalServer::removeServer(name_);
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    // Should the socket not open, this one still runs: one instance too many is better
    // than none.
    server_.listen(name_);
    return true;
}

QString SingleInstance::defaultName() {
    // What two instances must not share is the application-data folder with the link file:
    // the name is made from it, so a user's second data folder may run a Kartovex of its own.
    const QByteArray data =
        QStandardPaths::writableLocation(QStandardPaths::AppDataLocation).toUtf8();
    const QString name =
        QStringLiteral("kartovex-") +
        QString::fromLatin1(
            QCryptographicHash::hash(data, QCryptographicHash::Sha256).toHex().left(16));
#ifdef _WIN32
    return name;  // a pipe open to the user alone
#else
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    return QDir(runtime).filePath(name);
#endif
}

}  // namespace kartovex
