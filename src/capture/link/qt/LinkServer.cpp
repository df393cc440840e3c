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
    bool handleRequest(const QHttpServerRequest& request, QTcpSocket* socket) override {
        QHttpServerResponder responder = makeResponder(request, socket);
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
    void missingHandler(const QHttpServerRequest&, QTcpSocket*) override {}

private:
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
