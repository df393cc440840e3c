#include <gtest/gtest.h>

#include <QImage>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>

#include "AutomationRequests.h"
#include "CameraMotion.h"
#include "EarthView.h"
#include "EarthWindow.h"
#include "Graticule.h"

using earthsim::Camera;

namespace {

const Camera kStart{34.67, 112.58, 0, 12000, 0, 0};

class AutomationRequestsTest : public ::testing::Test {
protected:
    void SetUp() override {
        window.resize(800, 600);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    QJsonObject ask(const QByteArray& line) {
        const QByteArray answer = requests.answerLine(line);
        EXPECT_TRUE(answer.endsWith('\n'));
        EXPECT_EQ(answer.count('\n'), 1);
        return QJsonDocument::fromJson(answer).object();
    }

    QJsonObject ask(const QJsonObject& request) {
        return ask(QJsonDocument(request).toJson(QJsonDocument::Compact));
    }

    earthsim::GeoPoint pointAt(double x, double y) {
        const QJsonObject a =
            ask(QJsonObject{{"op", "GetPointOnTerrainFromScreenCoords"}, {"x", x}, {"y", y}});
        return {a.value("latitude").toDouble(), a.value("longitude").toDouble()};
    }

    void jump(const Camera& c) {
        ask(QJsonObject{{"op", "SetCameraParams"},
                        {"latitude", c.latitude},
                        {"longitude", c.longitude},
                        {"altitude", c.altitude},
                        {"altitudeMode", 1},
                        {"range", c.range},
                        {"tilt", c.tilt},
                        {"azimuth", c.azimuth},
                        {"speed", 5.0}});
    }

    CameraMotion motion{kStart};
    EarthWindow window{motion};
    AutomationRequests requests{motion, window.view()};
};

TEST_F(AutomationRequestsTest, BadRequestsAreAnsweredWithAnErrorAndChangeNothing) {
    const QByteArray setCamera =
        R"("op":"SetCameraParams","latitude":1,"longitude":2,"altitude":0,"range":1000,"tilt":0,"azimuth":0)";
    const struct {
        QByteArray line;
        int error;
    } cases[] = {
        {"not json", 440},
        {"[1,2]", 440},
        {"", 440},
        {R"({"op":"FlyToTheMoon"})", 438},
        {R"({"x":1})", 438},
        {R"({"op":"GetCamera"})", 5},
        {R"({"op":"GetCamera","considerTerrain":1})", 5},
        {"{" + setCamera + R"(,"altitudeMode":1})", 5},
        {"{" + setCamera + R"(,"altitudeMode":1,"speed":"fast"})", 5},
        {"{" + setCamera + R"(,"altitudeMode":3,"speed":5})", 5},
        {"{" + setCamera + R"(,"altitudeMode":1.5,"speed":5})", 5},
        {"{" + setCamera + R"(,"altitudeMode":1,"speed":0})", 5},
        {"{" + setCamera + R"(,"altitudeMode":1,"speed":-4})", 5},
        {R"({"op":"SetCameraParams","latitude":null,"longitude":2,"altitude":0,"altitudeMode":1,"range":1000,"tilt":0,"azimuth":0,"speed":5})",
         5},
        {R"({"op":"GetPointOnTerrainFromScreenCoords","x":0})", 5},
        {R"({"op":"GetWindowRect","hwnd":"main"})", 5},
        {R"({"op":"GetWindowRect","hwnd":1234567})", 5},
        {R"({"op":"SaveScreenShot","quality":90})", 5},
        {R"({"op":"SaveScreenShot","fileName":"/tmp/x.jpg","quality":101})", 5},
        {R"({"op":"SaveScreenShot","fileName":"/no-such-folder-earthsim/x.jpg","quality":90})", 75},
    };
    for (const auto& c : cases) {
        const QJsonObject answer = ask(c.line);
        EXPECT_EQ(answer.value("error").toInt(), c.error) << c.line.toStdString();
        EXPECT_FALSE(answer.value("description").toString().isEmpty()) << c.line.toStdString();
        EXPECT_EQ(motion.camera(), kStart) << c.line.toStdString();
        EXPECT_FALSE(motion.flying());
    }
}

TEST_F(AutomationRequestsTest, SetCameraParamsJumpsAtSpeedFiveAndReportsTheCameraBroughtIntoRange) {
    const QJsonObject set = ask(QJsonObject{{"op", "SetCameraParams"},
                                            {"latitude", 95.0},
                                            {"longitude", 190.0},
                                            {"altitude", 0.0},
                                            {"altitudeMode", 2},
                                            {"range", 0.5},
                                            {"tilt", 100.0},
                                            {"azimuth", 270.0},
                                            {"speed", 5.0}});
    EXPECT_TRUE(set.isEmpty());
    EXPECT_FALSE(motion.flying());
    const QJsonObject camera = ask(QJsonObject{{"op", "GetCamera"}, {"considerTerrain", true}});
    EXPECT_EQ(camera.value("focusPointLatitude").toDouble(), 90.0);
    EXPECT_EQ(camera.value("focusPointLongitude").toDouble(), -170.0);
    EXPECT_EQ(camera.value("focusPointAltitude").toDouble(), 0.0);
    EXPECT_EQ(camera.value("range").toDouble(), 1.0);
    EXPECT_EQ(camera.value("tilt").toDouble(), 90.0);
    EXPECT_EQ(camera.value("azimuth").toDouble(), -90.0);
}

TEST_F(AutomationRequestsTest, BelowSpeedFiveSetCameraParamsAnswersAtOnceAndTheCameraFlies) {
    const QJsonObject set = ask(QJsonObject{{"op", "SetCameraParams"},
                                            {"latitude", 34.7},
                                            {"longitude", 112.6},
                                            {"altitude", 0.0},
                                            {"altitudeMode", 1},
                                            {"range", 9000.0},
                                            {"tilt", 0.0},
                                            {"azimuth", 0.0},
                                            {"speed", 4.0}});
    EXPECT_TRUE(set.isEmpty());
    EXPECT_TRUE(motion.flying());
    EXPECT_NE(
        ask(QJsonObject{{"op", "GetCamera"}, {"considerTerrain", false}}).value("range").toDouble(),
        9000.0);
}

TEST_F(AutomationRequestsTest, TheWindowRectOfTheRenderHandleIsTheViewInPhysicalPixels) {
    const QJsonValue hwnd = ask(QJsonObject{{"op", "GetRenderHwnd"}}).value("hwnd");
    ASSERT_TRUE(hwnd.isDouble());
    EXPECT_EQ(hwnd.toInteger(), requests.renderHwnd());
    const QJsonObject rect = ask(QJsonObject{{"op", "GetWindowRect"}, {"hwnd", hwnd}});
    const QRect view = window.view().physicalScreenRect();
    EXPECT_EQ(rect.value("left").toInt(), view.left());
    EXPECT_EQ(rect.value("top").toInt(), view.top());
    EXPECT_EQ(rect.value("right").toInt() - rect.value("left").toInt(),
              window.view().physicalSize().width());
    EXPECT_EQ(rect.value("bottom").toInt() - rect.value("top").toInt(),
              window.view().physicalSize().height());
}

TEST_F(AutomationRequestsTest, ViewExtentsBoundTheGroundAtTheTopAndBottomEdges) {
    for (const Camera& c : {kStart, Camera{-20, 30, 0, 40000, 50, 120}}) {
        jump(c);
        const QJsonObject extents = ask(QJsonObject{{"op", "GetViewExtents"}});
        const double north = extents.value("north").toDouble();
        const double south = extents.value("south").toDouble();
        for (double x : {-1.0, 0.0, 1.0}) {
            for (double y : {-1.0, 0.0, 1.0}) {
                EXPECT_LE(pointAt(x, y).latitude, north + 1e-9);
                EXPECT_GE(pointAt(x, y).latitude, south - 1e-9);
            }
        }
    }
}

// A graticule pixel in a saved JPG: bright pale yellow over darker ground.
bool isLine(const QImage& image, int x, int y) {
    const QColor c = image.pixelColor(x, y);
    return 0.299 * c.red() + 0.587 * c.green() + 0.114 * c.blue() > 205;
}

TEST_F(AutomationRequestsTest, ASavedPicturesCornersShowTheGroundReportedForThem) {
    // Puts a meridian and a parallel through each corner pixel in turn, a quarter of a
    // pixel inside the view's corner, where GetPointOnTerrainFromScreenCoords reports the
    // ground, then looks for both lines in that corner pixel of the saved picture (or the
    // next one) and not a few pixels further in.
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const double step =
        earthsim::graticuleStep(window.view().geometryNow().degreesPerPixelAtFocus());
    const struct { double x, y; } corners[] = {{-1, 1}, {1, 1}, {1, -1}, {-1, -1}};
    const QSize size = window.view().physicalSize();
    for (const auto& corner : corners) {
        const double x = corner.x * (1.0 - 0.5 / size.width());
        const double y = corner.y * (1.0 - 0.5 / size.height());
        Camera camera{34.67, 112.58, 0, 12000, 0, 0};
        jump(camera);
        const earthsim::GeoPoint first = pointAt(x, y);
        const double lineLatitude = std::round(first.latitude / step) * step;
        const double lineLongitude = std::round(first.longitude / step) * step;
        for (int i = 0; i < 6; ++i) {
            const earthsim::GeoPoint p = pointAt(x, y);
            camera.latitude += lineLatitude - p.latitude;
            camera.longitude += lineLongitude - p.longitude;
            jump(camera);
        }
        const earthsim::GeoPoint aligned = pointAt(x, y);
        ASSERT_NEAR(aligned.latitude, lineLatitude, 1e-10);
        ASSERT_NEAR(aligned.longitude, lineLongitude, 1e-10);

        const QString path = folder.filePath(QStringLiteral("corner.jpg"));
        EXPECT_TRUE(ask(QJsonObject{{"op", "SaveScreenShot"}, {"fileName", path}, {"quality", 100}})
                        .isEmpty());
        const QImage picture(path);
        ASSERT_EQ(picture.size(), size);
        const int w = picture.width(), h = picture.height();
        const int cx = corner.x < 0 ? 0 : w - 1, cy = corner.y > 0 ? 0 : h - 1;
        const int dx = corner.x < 0 ? 1 : -1, dy = corner.y > 0 ? 1 : -1;
        // Along the edge through the corner, the line runs in the edge pixel or the next one.
        for (int k = 3; k <= 12; ++k) {
            EXPECT_TRUE(isLine(picture, cx, cy + k * dy) || isLine(picture, cx + dx, cy + k * dy))
                << "meridian at corner " << corner.x << "," << corner.y << " row offset " << k;
            EXPECT_TRUE(isLine(picture, cx + k * dx, cy) || isLine(picture, cx + k * dx, cy + dy))
                << "parallel at corner " << corner.x << "," << corner.y << " column offset " << k;
            EXPECT_FALSE(isLine(picture, cx + 4 * dx, cy + k * dy));
            EXPECT_FALSE(isLine(picture, cx + k * dx, cy + 4 * dy));
        }
    }
}

}  // namespace
