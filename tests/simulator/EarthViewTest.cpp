#include <gtest/gtest.h>

#include <QApplication>
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
        double azimuth;
        QPoint from, to;
    } cases[] = {
        {0, {300, 200}, {260, 330}}, {90, {400, 300}, {470, 250}}, {-150, {200, 400}, {420, 310}}};
    for (const auto& c : cases) {
        motion.jumpTo({34.67, 112.58, 0, 12000, 0, c.azimuth});
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
    auto wheel = [&](int angle) {
        QWheelEvent event(QPointF(400, 300), view.mapToGlobal(QPointF(400, 300)), {},
                          QPoint(0, angle), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(&view, &event);
    };
    auto key = [&](Qt::Key k) { return [&view = view, k] { QTest::keyClick(&view, k); }; };
    const struct {
        const char* what;
        std::function<void()> act;
        double range, tilt, azimuth;
    } cases[] = {
        {"wheel forward", [&] { wheel(120); }, 12000 * 0.8, 20, 10},
        {"wheel back", [&] { wheel(-240); }, 12000 / 0.64, 20, 10},
        {"up", key(Qt::Key_Up), 12000, 25, 10},
        {"down", key(Qt::Key_Down), 12000, 15, 10},
        {"right", key(Qt::Key_Right), 12000, 20, 15},
        {"left", key(Qt::Key_Left), 12000, 20, 5},
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

}  // namespace
