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

    QJsonObject setCamera(const Camera& c, double speed = 5.0, int altitudeMode = 1) {
        return ask(QJsonObject{{"op", "SetCameraParams"},
                               {"latitude", c.latitude},
                               {"longitude", c.longitude},
                               {"altitude", c.altitude},
                               {"altitudeMode", altitudeMode},
                               {"range", c.range},
                               {"tilt", c.tilt},
                               {"azimuth", c.azimuth},
                               {"speed", speed}});
    }

    CameraMotion motion{kStart};
    EarthWindow window{motion};
    AutomationRequests requests{motion, window.view()};
};

TEST_F(AutomationRequestsTest, BadRequestsAreAnsweredWithAnErrorAndChangeNothing) {
    const QByteArray moveTo =
        R"("op":"SetCameraParams","latitude":1,"longitude":2,"altitude":0,"range":1000,"tilt":0,"azimuth":0)";
    const struct {
        QByteArray line;
        int error;
    } cases[] = {
        {"[1,2]", 440},
        {R"({"op":"FlyToTheMoon"})", 438},
        {R"({"op":"GetCamera","considerTerrain":1})", 5},
        {R"({"op":"SetCameraParams","latitude":null,"longitude":2,"altitude":0,"altitudeMode":1,"range":1000,"tilt":0,"azimuth":0,"speed":5})",
         5},
        {"{" + moveTo + R"(,"altitudeMode":3,"speed":5})", 5},
        {"{" + moveTo + R"(,"altitudeMode":1.5,"speed":5})", 5},
        {"{" + moveTo + R"(,"altitudeMode":1,"speed":0})", 5},
        {R"({"op":"GetPointOnTerrainFromScreenCoords","x":0})", 5},
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

TEST_F(AutomationRequestsTest, SetCameraParamsJumpsAtSpeedFiveAndFliesBelowIt) {
    // A jump brings the camera into range and reports it so at once.
    EXPECT_TRUE(setCamera({95, 190, 0, 0.5, 100, 270}, 5.0, 2).isEmpty());
    EXPECT_FALSE(motion.flying());
    EXPECT_EQ(ask(QJsonObject{{"op", "GetCamera"}, {"considerTerrain", true}}),
              (QJsonObject{{"focusPointLatitude", 90},
                           {"focusPointLongitude", -170},
                           {"focusPointAltitude", 0},
                           {"range", 1},
                           {"tilt", 90},
                           {"azimuth", -90}}));

    // A flight is answered at once, before the camera gets there.
    EXPECT_TRUE(setCamera({34.7, 112.6, 0, 9000, 0, 0}, 4.0).isEmpty());
    EXPECT_TRUE(motion.flying());
    EXPECT_NE(
        ask(QJsonObject{{"op", "GetCamera"}, {"considerTerrain", false}}).value("range").toDouble(),
        9000.0);
}

// A graticule pixel in a saved JPG: bright pale yellow over darker ground.
bool isLine(const QImage& image, int x, int y) {
    const QColor c = image.pixelColor(x, y);
    return 0.299 * c.red() + 0.587 * c.green() + 0.114 * c.blue() > 205;
}

TEST_F(AutomationRequestsTest, ASavedPicturesCornerPhysicalPixelsShowTheGroundReportedForThem) {
    // Puts a meridian and a parallel through each corner pixel in turn, a quarter of a pixel
    // inside the view's corner, where GetPointOnTerrainFromScreenCoords reports the ground,
    // then looks for both lines in that corner pixel of the saved picture (or the next one)
    // and not a few pixels further in.
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString path = folder.filePath(QStringLiteral("corner.jpg"));
    const double step =
        earthsim::graticuleStep(window.view().geometryNow().degreesPerPixelAtFocus());
    const QSize size = window.view().physicalSize();
    for (auto [cornerX, cornerY] : {std::pair{-1, 1}, {1, 1}, {1, -1}, {-1, -1}}) {
        const double x = cornerX * (1.0 - 0.5 / size.width());
        const double y = cornerY * (1.0 - 0.5 / size.height());
        Camera camera = kStart;
        setCamera(camera);
        const double lineLatitude = std::round(pointAt(x, y).latitude / step) * step;
        const double lineLongitude = std::round(pointAt(x, y).longitude / step) * step;
        for (int i = 0; i < 6; ++i) {
            const earthsim::GeoPoint p = pointAt(x, y);
            camera.latitude += lineLatitude - p.latitude;
            camera.longitude += lineLongitude - p.longitude;
            setCamera(camera);
        }

        EXPECT_TRUE(ask(QJsonObject{{"op", "SaveScreenShot"}, {"fileName", path}, {"quality", 100}})
                        .isEmpty());
        const QImage picture(path);
        ASSERT_EQ(picture.size(), size);
        const int cx = cornerX < 0 ? 0 : size.width() - 1, cy = cornerY > 0 ? 0 : size.height() - 1;
        const int dx = -cornerX, dy = cornerY;
        for (int k = 3; k <= 12; ++k) {
            // Along the edge through the corner, the line runs in the edge pixel or the next.
            EXPECT_TRUE(isLine(picture, cx, cy + k * dy) || isLine(picture, cx + dx, cy + k * dy))
                << "meridian at corner " << cornerX << "," << cornerY << " row offset " << k;
            EXPECT_TRUE(isLine(picture, cx + k * dx, cy) || isLine(picture, cx + k * dx, cy + dy))
                << "parallel at corner " << cornerX << "," << cornerY << " column offset " << k;
            EXPECT_FALSE(isLine(picture, cx + 4 * dx, cy + k * dy));
            EXPECT_FALSE(isLine(picture, cx + k * dx, cy + 4 * dy));
        }
    }
}

}  // namespace

namespace {

// With streamed imagery a move shows a coarse picture first; the percentage reaches 100
// exactly when the screen shows the full picture, and the on-screen controls stay out of
// the saved picture.
TEST_F(AutomationRequestsTest, StreamedImageryReachesFullDetailWhenThePercentageReaches100) {
    EarthView& view = window.view();
    view.setStreamedImagery(true);
    view.setShowControls(true);
    ask(R"({"op":"SetCameraParams","latitude":60,"longitude":10,"altitude":0,"altitudeMode":1,)"
        R"("range":30000,"tilt":0,"azimuth":0,"speed":5})");
    const auto percentage = [&] {
        return ask(R"({"op":"StreamingProgressPercentage"})").value("percentage").toDouble();
    };
    EXPECT_LT(percentage(), 100);
    const QImage full = view.picture();
    const QRect middle(200, 150, 400, 300);
    EXPECT_NE(view.grab().toImage().copy(middle), full.copy(middle));
    ASSERT_TRUE(QTest::qWaitFor([&] { return percentage() == 100; }, 5000));
    const QImage shown = view.grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(shown.copy(middle), full.copy(middle));
    const QRect compass(view.width() - 80, 0, 80, 80);
    EXPECT_NE(shown.copy(compass), full.copy(compass));
}

}  // namespace
