#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>

#include "CameraMotion.h"
#include "EarthWindow.h"
#include "NetworkLinkClient.h"

namespace {

QByteArray linkTo(const QByteArray& href, const QByteArray& interval = "1") {
    return "<kml><NetworkLink><Link><href>" + href +
           "</href><refreshMode>onInterval</refreshMode><refreshInterval>" + interval +
           "</refreshInterval></Link></NetworkLink></kml>";
}

class NetworkLinkClientTest : public ::testing::Test {
protected:
    bool open(const QString& path) {
        QString error;
        const bool opened = client.open(path, error);
        EXPECT_EQ(opened, error.isEmpty()) << error.toStdString();
        return opened;
    }

    QTemporaryDir folder;
    CameraMotion motion{earthsim::Camera{34.67, 112.58, 0, 12000, 0, 0}};
    EarthWindow window{motion};
    NetworkLinkClient client{motion, window.view()};
};

TEST_F(NetworkLinkClientTest, OpenRefusesWhatIsNoPlainFileWithoutReadingIt) {
    const QString fifo = folder.filePath("link.kml");
    ASSERT_EQ(mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
    for (const QString& path : {QStringLiteral("/dev/zero"), fifo, folder.path()})
        EXPECT_FALSE(open(path)) << path.toStdString();
}

TEST(NetworkLinkSettings, RefreshTimesStayWithinWhatATimerCounts) {
    const struct {
        QByteArray written;
        double seconds;
    } rows[] = {{"1e300", 86400}, {"inf", 86400}, {"-5", 0.1}, {"nan", 4}, {"2.5", 2.5}};
    for (const auto& row : rows) {
        QString error;
        const auto link = readNetworkLink(linkTo("http://x/", row.written), error);
        ASSERT_TRUE(link) << error.toStdString();
        EXPECT_EQ(link->refreshInterval, row.seconds) << row.written.data();
    }
}

// A server that answers every request with headers and then a body without end.
TEST_F(NetworkLinkClientTest, AnEndlessAnswerIsCutOff) {
    QTcpServer server;
    ASSERT_TRUE(server.listen(QHostAddress::LocalHost));
    QObject::connect(&server, &QTcpServer::newConnection, [&server] {
        QTcpSocket* socket = server.nextPendingConnection();
        QObject::connect(socket, &QTcpSocket::readyRead, socket, [socket] {
            if (!socket->readAll().contains("\r\n\r\n")) return;
            socket->write("HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\n\r\n");
            QObject::connect(socket, &QTcpSocket::bytesWritten, socket, [socket] {
                if (socket->bytesToWrite() < (1 << 16)) socket->write(QByteArray(1 << 16, 'x'));
            });
        });
    });
    QFile kml(folder.filePath("endless.kml"));
    ASSERT_TRUE(kml.open(QIODevice::WriteOnly));
    kml.write(linkTo("http://127.0.0.1:" + QByteArray::number(server.serverPort()), "3600"));
    kml.close();
    QSignalSpy answered(&client, &NetworkLinkClient::answered);
    ASSERT_TRUE(open(kml.fileName()));
    ASSERT_TRUE(answered.wait(20000));
}

}  // namespace
