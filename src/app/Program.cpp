#include "Program.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QSettings>
#include <QStandardPaths>

#include "GeoTiffSwitch.h"
#include "capture/AreaCommand.h"
#include "capture/CaptureView.h"
#include "capture/ScreenViewGrab.h"
#include "capture/Step1Command.h"
#include "deviation/Deviation.h"
#include "georef/Step2Command.h"
#include "model/RuntimeError.h"
#include "ui/AreaDialogs.h"
#include "ui/Form1.h"
#include "ui/ProgressGeoTiffWriter.h"

#ifdef KARTOVEX_HAVE_GDAL
#include "georef/gdal/GdalGeoTiff.h"
#include "georef/gdal/GdalMosaic.h"
#endif

#ifdef _WIN32
#include "georef/win/WinCodePage936.h"
#else
#include "georef/posix/IconvCodePage936.h"
#endif

namespace kartovex {

std::string captureTimeStamp() {
    return QDateTime::currentDateTime()
        .toString(QStringLiteral("yyyy-MM-dd_HH-mm-ss"))
        .toStdString();
}

Program::Program(const Options& options)
    : runner_(messages_,
              [] {
                  // Nothing more is handled once an error has ended the program.
                  QApplication::closeAllWindows();
                  QCoreApplication::exit(1);
              }),
      googleEarth_(options, messages_),
      // The program names no organisation (one would move the link's folder), so its own
      // name stands for both.
      settings_(QSettings::UserScope, QCoreApplication::applicationName(),
                QCoreApplication::applicationName()),
      captureFolder_(settings_) {
#ifdef _WIN32
    codePage_ = std::make_unique<WinCodePage936>();
#else
    codePage_ = std::make_unique<IconvCodePage936>();
#endif
    writeGeoTiff_ = geoTiffSwitch(options.geoTiff, settings_);
    record_ = std::make_unique<FileOutputRecord>(outputRecordPath(), saver_);
#ifdef KARTOVEX_HAVE_GDAL
    geoTiff_ = std::make_unique<ProgressGeoTiffWriter>(std::make_unique<GdalGeoTiff>());
#endif
}

std::string outputRecordPath() {
    // With the application's data, for this user alone.
    const QString data = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (!QDir(data).exists() && QDir().mkpath(data))
        QFile::setPermissions(data, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return (data + QStringLiteral("/kartovex-outputs.txt")).toStdString();
}

// The main window goes before the model it shows.
Program::~Program() {
    delete form2_.data();
}

void Program::start() {
    auto* form1 = new Form1;
    connect(form1, &Form1::finished, this, &Program::openMainWindow);
    form1->show();
}

#ifdef KARTOVEX_HAVE_GDAL
void Program::captureArea(MainWindowModel& form) {
    std::string folder;
    try {
        folder = captureFolder_.prepare();
    } catch (const RuntimeError& e) {
        messages_.information(e.description(), "Kartovex");
        return;
    }
    ScreenViewGrab grab(grabber_, jpeg_, saver_);
    GdalMosaic mosaic;
    AreaResult result;
    {
        // The progress dialog closes before the outcome is told.
        AreaDialogs dialogs(form2_);
        result = runCaptureArea(
            {folder, "area_" + captureTimeStamp(), 2, AreaPlan::kDefaultMarginPixels}, form,
            {*googleEarth_.chosen, grab, saver_, mosaic, log_}, dialogs);
    }
    // A capture that went as planned is told without a click, as Step 2 is.
    if (result.complete)
        notices_.notice(result.message, folder);
    else
        messages_.information(result.message, "Kartovex");
}
#endif

void Program::openMainWindow() {
    if (form2_ || model_) return;
    model_ = std::make_unique<MainWindowModel>();
    form2_ = new Form2(*model_);
    MainWindowModel& form = *model_;
    // The dialog belongs to the main window so that it opens above it.
    chooser_ = std::make_unique<QtFileChooser>(form2_);
    notices_.setOwner(form2_);
    form2_->setCommand("Command1", [this, &form] {
        runner_.run([this, &form] { runStep1(form, *googleEarth_.chosen, log_); });
    });
    form2_->setCommand("Command2", [this, &form] {
        runner_.run([this, &form] {
            Step2Command(form, module1_,
                         {*chooser_, probe_, saver_, *codePage_, messages_, notices_, *record_,
                          geoTiff_.get(), writeGeoTiff_})
                .run();
        });
    });
    form2_->setCommand("Command3", [this] { form2_->close(); });
    form2_->setCommand("captureView", [this, &form] {
        runner_.run([this, &form] {
            captureView(form,
                        {*googleEarth_.chosen,
                         log_,
                         grabber_,
                         jpeg_,
                         captureFolder_,
                         {saver_, *codePage_, *record_, geoTiff_.get(), writeGeoTiff_},
                         messages_,
                         notices_,
                         {}},
                        captureTimeStamp());
        });
    });
#ifdef KARTOVEX_HAVE_GDAL
    form2_->setCommand("captureArea",
                       [this, &form] { runner_.run([this, &form] { captureArea(form); }); });
#endif
    form2_->setCommand("outputFolder", [this] {
        const QString chosen = QFileDialog::getExistingDirectory(
            form2_, tr("Output folder for captures"), captureFolder_.folder());
        if (!chosen.isEmpty()) captureFolder_.choose(chosen);
    });
    form2_->setCommand("Command4",
                       [this, &form] { runner_.run([&form] { calculateUpperLeft(form); }); });
    form2_->setCommand("Command5",
                       [this, &form] { runner_.run([&form] { calculateLowerRight(form); }); });
    form2_->show();
    emit mainWindowOpened(form2_);
}

}  // namespace kartovex
