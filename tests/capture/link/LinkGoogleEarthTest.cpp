#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <QNetworkInterface>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <memory>
#include <vector>

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

const QByteArray kRecordedRequest =
    "BBOX=10.20045469843596,43.66302191930933,10.66672168693798,43.8667284090175%0A%09%09%09"
    "&LOOKAT=10.43397248408143,43.76510665598479,29287.22,0,-0.556"
    "&TERRAIN=10.43397243010223,43.76510664670415,13.83"
    "&CAMERA=10.43397248408143,43.76510665598479,29301.05%0A%09"
    "&FOV=60,38.141&PIXELS=1306,782&TERRAIN_ON=1";

// The recorded report, as if from a view `pixels` ("width,height") across.
QByteArray viewReport(const QByteArray& key, const QByteArray& pixels) {
    return "/view?key=" + key + "&" + QByteArray(kRecordedRequest).replace("1306,782", pixels);
}

class LinkGoogleEarthTest : public ::testing::Test {
protected:
    QTemporaryDir folder;
    testing::RecordingMessageBox messages;
};

// The report is a Google Earth Pro request sent as it came: the corners lie inside its own
// bounding box, which is their footprint padded by about a tenth.
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
    const double west = 10.20045469843596, south = 43.66302191930933;
    const double east = 10.66672168693798, north = 43.8667284090175;
    double left = 180, right = -180, bottom = 90, top = -90;
    for (const auto& [x, y] : {std::pair{-1, 1}, {1, 1}, {1, -1}, {-1, -1}}) {
        const PointOnTerrain p = earth.connect()->GetPointOnTerrainFromScreenCoords(x, y);
        EXPECT_TRUE(p.longitude > west && p.longitude < east && p.latitude > south &&
                    p.latitude < north);
        left = std::min(left, p.longitude), right = std::max(right, p.longitude);
        bottom = std::min(bottom, p.latitude), top = std::max(top, p.latitude);
    }
    EXPECT_NEAR((east - west) / (right - left), 1.11, 0.04);
    EXPECT_NEAR((north - south) / (top - bottom), 1.11, 0.04);

    for (const QHostAddress& address : QNetworkInterface::allAddresses()) {
        if (address.isLoopback() || address.protocol() != QAbstractSocket::IPv4Protocol) continue;
        EXPECT_EQ(statusOf(address, earth.port(), "GET / HTTP/1.1\r\n\r\n"), "no connection")
            << address.toString().toStdString();
    }
}

// Any local process may connect: a crowd of idle connections, one that never finishes its
// request and one that streams without end are closed, and Google Earth's report still
// gets through.
TEST_F(LinkGoogleEarthTest, HoldsFewConnectionsAndNoLargeOrSlowRequest) {
    LinkGoogleEarth earth(messages, folder.path(), 0);
    const QByteArray key = keyIn(fileBytes(earth.linkFile())).toLatin1();
    std::vector<std::unique_ptr<QTcpSocket>> crowd;
    for (int i = 0; i < 40; ++i) {
        crowd.push_back(std::make_unique<QTcpSocket>());
        crowd.back()->connectToHost(QHostAddress::LocalHost, earth.port());
        ASSERT_TRUE(crowd.back()->waitForConnected(2000));
    }
    EXPECT_EQ(statusOf(QHostAddress(QHostAddress::LocalHost), earth.port(),
                       "GET " + viewReport(key, "1306,782") + " HTTP/1.1\r\n\r\n"),
              "HTTP/1.1 200 OK");
    EXPECT_TRUE(crowd.front()->state() == QAbstractSocket::UnconnectedState ||
                crowd.front()->waitForDisconnected(2000))
        << "the oldest of more idle connections than are held";

    QTcpSocket slow;
    slow.connectToHost(QHostAddress::LocalHost, earth.port());
    ASSERT_TRUE(slow.waitForConnected(2000));
    slow.write("GET /view?key=");
    EXPECT_TRUE(slow.waitForDisconnected(10000)) << "a request never finished";

    QTcpSocket endless;
    endless.connectToHost(QHostAddress::LocalHost, earth.port());
    ASSERT_TRUE(endless.waitForConnected(2000));
    endless.write("POST / HTTP/1.1\r\nContent-Length: 1000000000000\r\n\r\n");
    for (int i = 0; i < 16 && endless.state() == QAbstractSocket::ConnectedState; ++i) {
        endless.write(QByteArray(1 << 16, 'x'));
        endless.waitForBytesWritten(1000);
    }
    // Long before the connection could be overdue.
    EXPECT_TRUE(endless.state() == QAbstractSocket::UnconnectedState ||
                endless.waitForDisconnected(1500))
        << "a request without end was buffered";

    // The next descriptor falls within those kept for the window.
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &saved), 0);
    const int lowestFree = dup(0);
    close(lowestFree);
    rlimit tight = saved;
    tight.rlim_cur = static_cast<rlim_t>(lowestFree) + 64;
    ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &tight), 0);
    QTcpSocket late;
    late.connectToHost(QHostAddress::LocalHost, earth.port());
    const bool refused = late.waitForConnected(2000) && late.waitForDisconnected(2000);
    setrlimit(RLIMIT_NOFILE, &saved);
    EXPECT_TRUE(refused) << "a connection taking a descriptor kept for the window";
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

// Whatever stands in the link file's place, it is read without harm and, unless it is our
// link, replaced by one with a new key; never written through. Folder and file are the
// user's alone, however wide they were.
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
    const QString userFile = folder.filePath("bashrc");
    const struct {
        const char* what;
        QByteArray damaged;
        bool symlink, sameKey;
    } rows[] = {
        {"as written", written, false, true},
        {"cut short", written.left(written.size() - 20), false, true},
        {"garbage", "not a link", false, false},
        {"a port of 40,000 digits",
         "<href>http://127.0.0.1:" + QByteArray(40000, '7') + "/view?key=" + QByteArray(32, 'a') +
             "</href>",
         false, false},
        {"a symbolic link to a user's file", written, true, false},
    };
    const auto owner = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser |
                       QFileDevice::WriteUser;
    const auto wide = owner | QFileDevice::ReadGroup | QFileDevice::ReadOther;
    const auto exe = QFileDevice::ExeOwner | QFileDevice::ExeUser;
    for (const auto& row : rows) {
        QFile::remove(path);
        QFile file(row.symlink ? userFile : path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(row.damaged);
        file.close();
        if (row.symlink) QFile::link(userFile, path);
        QFile::setPermissions(folder.path(), wide | exe | QFileDevice::ExeGroup);
        QFile::setPermissions(path, wide);

        LinkGoogleEarth earth(messages, folder.path(), port);
        const QByteArray now = fileBytes(path);
        EXPECT_EQ(keyIn(now) == keyIn(written), row.sameKey) << row.what;
        EXPECT_EQ(now == written, row.sameKey) << row.what;
        EXPECT_TRUE(now.endsWith("</kml>\n")) << row.what;
        EXPECT_FALSE(QFileInfo(path).isSymLink()) << row.what;
        EXPECT_EQ(QFile::permissions(path), owner) << row.what;
        EXPECT_EQ(QFile::permissions(folder.path()), owner | exe) << row.what;
    }
    EXPECT_EQ(fileBytes(userFile), written);
}

// The file keeps naming the port of the instance that serves it; once that one is gone,
// the next instance takes the file over.
TEST_F(LinkGoogleEarthTest, OnlyTheInstanceServingTheFilesPortRewritesIt) {
    auto first = std::make_unique<LinkGoogleEarth>(messages, folder.path(), 0);
    const QByteArray written = fileBytes(first->linkFile());
    {
        LinkGoogleEarth second(messages, folder.path(), 0);
        EXPECT_EQ(fileBytes(second.linkFile()), written);
    }
    first.reset();
    LinkGoogleEarth third(messages, folder.path(), 0);
    EXPECT_TRUE(fileBytes(third.linkFile()).contains(":" + QByteArray::number(third.port()) + "/"));
}

}  // namespace
}  // namespace kartovex
