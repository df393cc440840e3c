#include <gtest/gtest.h>

#include <QApplication>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <thread>

#include "ErrorOf.h"
#include "ui/ProgressGeoTiffWriter.h"

namespace kartovex {
namespace {

// Warps in a hundred slow steps unless told to stop; or fails at once.
struct SlowWriter : GeoTiffWriter {
    GeoTiffOutcome write(const GeoTiffJob&, const Progress& progress) override {
        if (fails) throw RuntimeError(error::DiskFull, "No space left on device");
        for (stoppedAt = 0; stoppedAt <= 1; stoppedAt += 0.01) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            if (!progress(stoppedAt)) return {};
        }
        return {GeoTiffResult::Written, {}, {}, {}, 0, {}};
    }
    bool fails = false;
    double stoppedAt = 0;
};

TEST(ProgressGeoTiffWriter, CancelAtHalfwayStopsTheWarpOffTheWindowsThread) {
    auto* inner = new SlowWriter;
    ProgressGeoTiffWriter writer(std::unique_ptr<GeoTiffWriter>(inner),
                                 std::chrono::milliseconds(100));
    // The window's thread stays responsive: this timer runs, finds the dialog and cancels.
    QTimer user;
    QObject::connect(&user, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QProgressDialog*>(QApplication::activeModalWidget());
        if (!dialog || dialog->value() < dialog->maximum() / 2) return;
        QTest::mouseClick(dialog->findChild<QPushButton*>(), Qt::LeftButton);
        user.stop();
    });
    user.start(10);
    EXPECT_EQ(writer.write({}, {}).result, GeoTiffResult::Cancelled);
    EXPECT_TRUE(inner->stoppedAt >= 0.5 && inner->stoppedAt < 1) << inner->stoppedAt;

    inner->fails = true;
    EXPECT_EQ(testing::errorOf([&] { writer.write({}, {}); }).description(),
              "No space left on device");
}

}  // namespace
}  // namespace kartovex
