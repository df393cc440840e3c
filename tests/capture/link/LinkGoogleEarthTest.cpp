#include <gtest/gtest.h>

#include <QFile>
#include <QNetworkInterface>
#include <QTcpSocket>
#include <QTemporaryDir>

#include "ErrorOf.h"
#include "RecordingMessageBox.h"
#include "capture/link/qt/LinkGoogleEarth.h"
#include "capture/qt/PhysicalScreen.h"
#include "model/RuntimeError.h"

namespace kartovex {
namespace {

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString keyIn(const QByteArray& link) {
    const qsizetype at = link.indexOf("key=");
    return at < 0 ? QString() : QString::fromLatin1(link.mid(at + 4, 32));
}

// The status line of one raw HTTP exchange with the link's server.
QByteArray statusOf(const QHostAddress& host, quint16 port, const QByteArray& request) {
    QTcpSocket socket;
    socket.connectToHost(host, port);
    if (!socket.waitForConnected(2000)) return "no connection";
    socket.write(request);
    QByteArray answer;
    while (!answer.contains("\r\n") && socket.waitForReadyRead(3000)) answer += socket.readAll();
    return answer.left(answer.indexOf("\r\n"));
}

// A view report as Google Earth sends it, for a view `pixels` ("width,height") across.
QByteArray viewReport(const QByteArray& key, const QByteArray& pixels) {
    return "/view?key=" + key +
           "&BBOX=10.2,43.6,10.6,43.8&LOOKAT=10.4,43.7,29287.22,0,0&TERRAIN=10.4,43.7,13.83"
           "&CAMERA=10.4,43.7,29301&FOV=60,38.141&PIXELS=" +
           pixels + "&TERRAIN_ON=1";
}

class LinkGoogleEarthTest : public ::testing::Test {
protected:
    QTemporaryDir folder;
    testing::RecordingMessageBox messages;
};

TEST_F(LinkGoogleEarthTest, ServesReportsOnLoopbackOnlyAndRefusesAllElse) {
    LinkGoogleEarth earth(messages, folder.path(), 0);
    const QByteArray key = keyIn(fileBytes(earth.linkFile())).toLatin1();
    const QByteArray view = viewReport(key, "1306,782");
    const QHostAddress loopback(QHostAddress::LocalHost);
    const struct {
        QByteArray request, status;
    } rows[] = {
        {"GET " + view + " HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n", "HTTP/1.1 200 OK"},
        {"POST " + view + " HTTP/1.1\r\nHost: 127.0.0.1\r\nContent-Length: 0\r\n\r\n",
         "HTTP/1.1 400 Bad Request"},
        {"GET /other?key=" + key + " HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n",
         "HTTP/1.1 400 Bad Request"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(statusOf(loopback, earth.port(), row.request), row.status) << row.request.data();

    for (const QHostAddress& address : QNetworkInterface::allAddresses()) {
        if (address.isLoopback() || address.protocol() != QAbstractSocket::IPv4Protocol) continue;
        EXPECT_EQ(statusOf(address, earth.port(), "GET / HTTP/1.1\r\n\r\n"), "no connection")
            << address.toString().toStdString();
    }
}

// Whether Google Earth counts physical or logical pixels on a scaled display is not known:
// a view the size of the screen in either is the full screen, in physical pixels.
TEST_F(LinkGoogleEarthTest, AFullScreenViewInLogicalOrPhysicalPixelsIsThePhysicalScreen) {
    LinkGoogleEarth earth(messages, folder.path(), 0);
    const QByteArray key = keyIn(fileBytes(earth.linkFile())).toLatin1();
    const ScreenMetrics screen = physicalScreenMetrics();
    const int width = static_cast<int>(screen.widthTwips / 15);
    const int height = static_cast<int>(screen.heightTwips / 15);
    for (const double scale : {1.0, screenScale()}) {
        const QByteArray size = QByteArray::number(qRound(width / scale)) + "," +
                                QByteArray::number(qRound(height / scale));
        ASSERT_EQ(statusOf(QHostAddress(QHostAddress::LocalHost), earth.port(),
                           "GET " + viewReport(key, size) + " HTTP/1.1\r\n\r\n"),
                  "HTTP/1.1 200 OK");
        WindowRect rect;
        ASSERT_TRUE(earth.getWindowRect(earth.connect()->GetRenderHwnd(), rect));
        EXPECT_EQ(rect.right, width) << scale;
        EXPECT_EQ(rect.bottom, height) << scale;
    }
}

TEST_F(LinkGoogleEarthTest, ATakenPortFailsEveryPressWithThePortAndTheWayOut) {
    LinkGoogleEarth first(messages, folder.path(), 0);
    LinkGoogleEarth second(messages, folder.path(), first.port());
    const RuntimeError e = testing::errorOf([&] { second.connect(); });
    EXPECT_NE(e.description().find("port " + std::to_string(first.port())), std::string::npos);
    EXPECT_NE(e.description().find("--link-port=N"), std::string::npos);
}

TEST_F(LinkGoogleEarthTest, TheLinkFileKeepsItsBytesAndKeyAndIsMendedWhenDamaged) {
    QString path;
    QByteArray written;
    quint16 port = 0;
    {
        LinkGoogleEarth earth(messages, folder.path(), 0);
        path = earth.linkFile();
        written = fileBytes(path);
        port = earth.port();
    }
    const struct {
        const char* what;
        QByteArray damaged;
        bool sameKey;
    } rows[] = {
        {"cut short", written.left(written.size() - 20), true},
        {"garbage", "not a link", false},
    };
    for (const auto& row : rows) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(row.damaged);
        file.close();
        LinkGoogleEarth earth(messages, folder.path(), port);
        const QByteArray now = fileBytes(path);
        EXPECT_EQ(keyIn(now) == keyIn(written), row.sameKey) << row.what;
        EXPECT_EQ(now == written, row.sameKey) << row.what;
        EXPECT_TRUE(now.endsWith("</kml>\n")) << row.what;
    }
}

}  // namespace
}  // namespace kartovex
