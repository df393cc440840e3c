#include "GuardedTcpServer.h"

#include <QTcpSocket>
#include <algorithm>

#include "model/qt/QtLog.h"

#ifdef Q_OS_UNIX
#include <sys/resource.h>
#endif

namespace kartovex {

namespace {

using Clock = std::chrono::steady_clock;

// A new descriptor is the lowest free one, so its number tells how many are open below it.
bool descriptorsRunShort(qintptr handle, int reserve) {
#ifdef Q_OS_UNIX
    rlimit limit{};
    if (getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) return false;
    return static_cast<rlim_t>(handle) + static_cast<rlim_t>(reserve) >= limit.rlim_cur;
#else
    Q_UNUSED(handle);
    Q_UNUSED(reserve);
    return false;
#endif
}

}  // namespace

GuardedTcpServer::GuardedTcpServer(Limits limits, QObject* parent)
    : QTcpServer(parent), limits_(limits) {
    connect(&sweep_, &QTimer::timeout, this, &GuardedTcpServer::closeOverdue);
    sweep_.start(
        std::max<std::chrono::milliseconds>(limits_.patience / 4, std::chrono::milliseconds(50)));
}

void GuardedTcpServer::incomingConnection(qintptr handle) {
    auto* socket = new QTcpSocket(this);
    if (!socket->setSocketDescriptor(handle) ||
        descriptorsRunShort(handle, limits_.reservedDescriptors)) {
        qCInfo(linkLog) << "refused a connection: descriptors run short";
        socket->abort();
        delete socket;
        return;
    }
    if (static_cast<int>(held_.size()) >= limits_.connections) closeLongestWaiting();
    held_[socket] = {Clock::now(), 0, 0};
    // The library reads all that the socket holds; the socket holds no more than a request
    // may be, and this count runs before the library's reads.
    socket->setReadBufferSize(limits_.requestBytes + 1);
    connect(socket, &QTcpSocket::readyRead, this, [this, socket] {
        const auto found = held_.find(socket);
        if (found == held_.end()) return;
        Connection& c = found->second;
        c.received += socket->bytesAvailable() - c.leftUnread;
        if (c.received > limits_.requestBytes) {
            qCInfo(linkLog) << "closed a connection whose request passed" << limits_.requestBytes
                            << "bytes";
            held_.erase(found);
            socket->abort();
        }
    });
    connect(socket, &QTcpSocket::bytesWritten, this, [this, socket] {
        if (const auto found = held_.find(socket); found != held_.end())
            found->second = {Clock::now(), 0, socket->bytesAvailable()};
    });
    connect(socket, &QTcpSocket::disconnected, this, [this, socket] { held_.erase(socket); });
    connect(socket, &QObject::destroyed, this, [this, socket] { held_.erase(socket); });
    addPendingConnection(socket);
    // The library has taken the socket and reads on its own readyRead: what it leaves
    // unread is counted already.
    connect(socket, &QTcpSocket::readyRead, this, [this, socket] {
        if (const auto found = held_.find(socket); found != held_.end())
            found->second.leftUnread = socket->bytesAvailable();
    });
}

void GuardedTcpServer::closeLongestWaiting() {
    const auto longest = std::min_element(
        held_.begin(), held_.end(),
        [](const auto& a, const auto& b) { return a.second.since < b.second.since; });
    if (longest == held_.end()) return;
    QTcpSocket* socket = longest->first;
    held_.erase(longest);
    socket->abort();
}

void GuardedTcpServer::closeOverdue() {
    const auto due = Clock::now() - limits_.patience;
    for (auto it = held_.begin(); it != held_.end();) {
        QTcpSocket* socket = it->first;
        if (it->second.since < due) {
            it = held_.erase(it);
            socket->abort();
        } else {
            ++it;
        }
    }
}

}  // namespace kartovex
