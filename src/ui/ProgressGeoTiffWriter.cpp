#include "ProgressGeoTiffWriter.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QProgressDialog>
#include <QTimer>
#include <atomic>
#include <exception>
#include <thread>
#include <utility>

#include "LiftedBusyCursor.h"

namespace kartovex {
namespace {

constexpr int kSteps = 1000;
constexpr std::chrono::milliseconds kPoll{30};

}  // namespace

ProgressGeoTiffWriter::ProgressGeoTiffWriter(std::unique_ptr<GeoTiffWriter> inner,
                                             std::chrono::milliseconds showAfter)
    : inner_(std::move(inner)), showAfter_(showAfter) {}

GeoTiffOutcome ProgressGeoTiffWriter::write(const GeoTiffJob& job, const Progress& progress) {
    std::atomic<double> fraction = 0;
    std::atomic<bool> cancelled = false, done = false;
    GeoTiffOutcome result;
    std::exception_ptr failure;
    std::jthread worker([&] {
        try {
            result = inner_->write(job, [&](double f) {
                fraction = f;
                return !cancelled;
            });
        } catch (...) {
            failure = std::current_exception();
        }
        done = true;
    });

    // Polled rather than signalled: a signal sent before a loop runs would be lost.
    QEventLoop loop;
    QTimer poll;
    QElapsedTimer started;
    started.start();
    try {
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (progress && !progress(fraction)) cancelled = true;
            if (done || started.elapsed() >= showAfter_.count()) loop.quit();
        });
        poll.start(kPoll);
        loop.exec(QEventLoop::ExcludeUserInputEvents);
        if (!done) {
            LiftedBusyCursor lifted;
            QProgressDialog dialog(
                QStringLiteral("Writing the GeoTIFF %1")
                    .arg(QFileInfo(QString::fromStdString(job.tifPath)).fileName()),
                QStringLiteral("Cancel"), 0, kSteps, QApplication::activeWindow());
            dialog.setObjectName(QStringLiteral("GeoTiffProgress"));
            dialog.setWindowTitle(QStringLiteral("Kartovex"));
            dialog.setWindowModality(Qt::ApplicationModal);
            // Stays open after a cancel, until the writer has stopped and cleaned up.
            dialog.setAutoClose(false);
            dialog.setAutoReset(false);
            dialog.setMinimumDuration(0);
            QObject::connect(&dialog, &QProgressDialog::canceled, [&] {
                cancelled = true;
                dialog.setLabelText(QStringLiteral("Cancelling\u2026"));
            });
            poll.disconnect();
            QObject::connect(&poll, &QTimer::timeout, [&] {
                if (progress && !progress(fraction)) cancelled = true;
                if (!cancelled) dialog.setValue(static_cast<int>(fraction * kSteps));
                if (done) loop.quit();
            });
            dialog.show();
            loop.exec();
        }
    } catch (...) {
        cancelled = true;
        throw;
    }
    worker.join();
    if (failure) std::rethrow_exception(failure);
    return result;
}

}  // namespace kartovex
