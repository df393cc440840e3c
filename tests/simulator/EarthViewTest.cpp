#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTest>
#include <QWheelEvent>
#include <cmath>
#include <functional>

#include "CameraMotion.h"
#include "EarthView.h"
#include "EarthWindow.h"

using earthsim::Camera;

namespace {

class EarthViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        window.resize(800, 600);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    CameraMotion motion{Camera{34.67, 112.58, 0, 12000, 0, 0}};
    EarthWindow window{motion};
    EarthView& view = window.view();
};

void drag(QWidget& widget, QPoint from, QPoint to) {
    QTest::mousePress(&widget, Qt::LeftButton, Qt::NoModifier, from);
    // QTest's mouseMove carries no buttons; a real drag does.
    for (int i = 1; i <= 4; ++i) {
        const QPoint at = from + (to - from) * i / 4;
        QMouseEvent move(QEvent::MouseMove, at, widget.mapToGlobal(at), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&widget, &move);
    }
    QTest::mouseRelease(&widget, Qt::LeftButton, Qt::NoModifier, to);
}

earthsim::GeoPoint groundUnder(EarthView& view, QPoint logical) {
    const double x = -1.0 + 2.0 * (logical.x() + 0.5) / view.width();
    const double y = 1.0 - 2.0 * (logical.y() + 0.5) / view.height();
    return view.geometryNow().pointOnTerrain(x, y);
}

TEST_F(EarthViewTest, DraggingCarriesTheGroundUnderThePointerAlong) {
    const struct {
        double tilt, azimuth;
        QPoint from, to;
    } cases[] = {
        {0, 0, {400, 300}, {500, 300}},
        {0, 0, {300, 200}, {260, 330}},
        {0, 90, {400, 300}, {470, 250}},
        {0, -150, {200, 400}, {420, 310}},
    };
    for (const auto& c : cases) {
        motion.jumpTo({34.67, 112.58, 0, 12000, c.tilt, c.azimuth});
        const earthsim::GeoPoint grabbed = groundUnder(view, c.from);
        drag(view, c.from, c.to);
        const earthsim::GeoPoint now = groundUnder(view, c.to);
        const double pixel = view.geometryNow().degreesPerPixelAtFocus();
        EXPECT_NEAR(now.latitude, grabbed.latitude, 2 * pixel) << c.azimuth;
        EXPECT_NEAR(now.longitude, grabbed.longitude,
                    2 * pixel / std::cos(34.67 * earthsim::kDegree))
            << c.azimuth;
    }
}

TEST_F(EarthViewTest, TheWheelZoomsAndTheArrowKeysTiltAndTurn) {
    const Camera start{34.67, 112.58, 0, 12000, 20, 10};
    const struct {
        const char* what;
        std::function<void()> act;
        double range, tilt, azimuth;
    } cases[] = {
        {"wheel forward",
         [&] {
             QWheelEvent wheel(QPointF(400, 300), view.mapToGlobal(QPointF(400, 300)), {},
                               QPoint(0, 120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                               false);
             QApplication::sendEvent(&view, &wheel);
         },
         12000 * 0.8, 20, 10},
        {"wheel back",
         [&] {
             QWheelEvent wheel(QPointF(400, 300), view.mapToGlobal(QPointF(400, 300)), {},
                               QPoint(0, -240), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                               false);
             QApplication::sendEvent(&view, &wheel);
         },
         12000 / 0.64, 20, 10},
        {"up", [&] { QTest::keyClick(&view, Qt::Key_Up); }, 12000, 25, 10},
        {"down", [&] { QTest::keyClick(&view, Qt::Key_Down); }, 12000, 15, 10},
        {"right", [&] { QTest::keyClick(&view, Qt::Key_Right); }, 12000, 20, 15},
        {"left", [&] { QTest::keyClick(&view, Qt::Key_Left); }, 12000, 20, 5},
    };
    for (const auto& c : cases) {
        motion.jumpTo(start);
        c.act();
        const Camera now = motion.camera();
        EXPECT_NEAR(now.range, c.range, 1e-6) << c.what;
        EXPECT_NEAR(now.tilt, c.tilt, 1e-9) << c.what;
        EXPECT_NEAR(now.azimuth, c.azimuth, 1e-9) << c.what;
        EXPECT_EQ(now.latitude, start.latitude) << c.what;
    }
}

TEST_F(EarthViewTest, TheViewIsDrawnAtItsPhysicalPixelSize) {
    const QImage picture = view.picture();
    EXPECT_EQ(picture.size(), view.physicalSize());
    EXPECT_EQ(view.physicalSize(), view.size() * view.devicePixelRatioF());
}

TEST_F(EarthViewTest, ASaveThatCannotBeWrittenSaysWhyAndLeavesNoFile) {
    const QString path = QDir::tempPath() + QStringLiteral("/no-such-folder-earthsim/view.jpg");
    QString error;
    EXPECT_FALSE(view.saveImage(path, 95, error));
    EXPECT_TRUE(error.contains(path));
    EXPECT_TRUE(error.contains(QStringLiteral("No image was saved")));
    EXPECT_FALSE(QFile::exists(path));
}

}  // namespace
