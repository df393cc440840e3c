#include "LinkServer.h"

#include <QAbstractHttpServer>
#include <QHttpServerRequest>
#include <QHttpServerResponder>

#include "GuardedTcpServer.h"
#include "model/qt/QtLog.h"

namespace kartovex {

namespace {

// One handler for every path and method: only a GET of /view is a report.
class LinkHttp : public QAbstractHttpServer {
public:
    explicit LinkHttp(ViewExchange& exchange) : exchange_(exchange) {}

protected:
    // Qt 6.4 hands the handlers the socket to make a responder from; later Qts hand them the
    // responder, the missing handler by rvalue up to Qt 6.7.
#if QT_VERSION >= QT_VERSION_CHECK(6, 5, 0)
    bool handleRequest(const QHttpServerRequest& request,
                       QHttpServerResponder& responder) override {
        return respond(request, responder);
    }
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    void missingHandler(const QHttpServerRequest&, QHttpServerResponder&) override {}
#else
    void missingHandler(const QHttpServerRequest&, QHttpServerResponder&&) override {}
#endif
#else
    bool handleRequest(const QHttpServerRequest& request, QTcpSocket* socket) override {
        QHttpServerResponder responder = makeResponder(request, socket);
        return respond(request, responder);
    }
    void missingHandler(const QHttpServerRequest&, QTcpSocket*) override {}
#endif

private:
    bool respond(const QHttpServerRequest& request, QHttpServerResponder& responder) {
        ViewExchange::Answer answer{400, "Only GET /view carries a view report.\n"};
        if (request.method() == QHttpServerRequest::Method::Get &&
            request.url().path() == QLatin1String("/view")) {
            answer = exchange_.receive(request.url().query(QUrl::FullyEncoded).toStdString(),
                                       ViewExchange::Clock::now());
        }
        const bool ok = answer.status == 200;
        if (!ok)
            qCInfo(linkLog) << "refused" << request.method() << request.url().path() << ":"
                            << answer.body.c_str();
        responder.write(QByteArray::fromStdString(answer.body),
                        ok ? QByteArrayLiteral("application/vnd.google-earth.kml+xml")
                           : QByteArrayLiteral("text/plain"),
                        ok ? QHttpServerResponder::StatusCode::Ok
                           : QHttpServerResponder::StatusCode::BadRequest);
        return true;
    }

    ViewExchange& exchange_;
};

}  // namespace

LinkServer::LinkServer(ViewExchange& exchange) : exchange_(exchange) {}

LinkServer::~LinkServer() {
    quit();
    wait();
}

quint16 LinkServer::listen(quint16 port, QString& error) {
    requested_ = port;
    auto result = listening_.get_future();
    start();
    const auto [listened, reason] = result.get();
    error = reason;
    return listened;
}

void LinkServer::run() {
    LinkHttp http(exchange_);
    auto* tcp = new GuardedTcpServer({}, &http);
    if (!tcp->listen(QHostAddress::LocalHost, requested_)) {
        listening_.set_value({0, tcp->errorString()});
        return;
    }
    http.bind(tcp);
    listening_.set_value({tcp->serverPort(), QString()});
    exec();
}

}  // namespace kartovex
