#pragma once

#include <QObject>
#include <QPointer>
#include <QSettings>
#include <memory>
#include <string>

#include "CommandLine.h"
#include "CommandRunner.h"
#include "GoogleEarthChoice.h"
#include "capture/qt/QtCaptureFolder.h"
#include "capture/qt/QtViewGrabber.h"
#include "georef/CodePage936.h"
#include "georef/GeoTiffWriter.h"
#include "georef/OutputRecord.h"
#include "georef/qt/QtFileSaver.h"
#include "georef/qt/QtJpegWriter.h"
#include "model/MainWindowModel.h"
#include "model/qt/QtLog.h"
#include "ui/Form2.h"
#include "ui/Form3Probe.h"
#include "ui/QtFileChooser.h"
#include "ui/QtMessageBox.h"
#include "ui/QtNotice.h"

namespace kartovex {

// The file in which Kartovex records the files it wrote beside pictures.
std::string outputRecordPath();

// The local date and time as a capture's name carries it: 2026-12-07_10-15-30.
std::string captureTimeStamp();

// The running program: the splash window, then the one main window with the commands
// behind its buttons, and the services those commands use.
class Program : public QObject {
    Q_OBJECT
public:
    explicit Program(const Options& options = {});
    ~Program() override;

    void start();
    Form2* mainWindow() const { return form2_; }

signals:
    void mainWindowOpened(kartovex::Form2* window);

private:
    void openMainWindow();
    // "Capture area": the mosaic into the capture folder, its outcome in a message box.
    void captureArea(MainWindowModel& form);

    QtMessageBox messages_;
    QtLog log_;
    CommandRunner runner_;
    GoogleEarthChoice googleEarth_;
    QSettings settings_;
    QtCaptureFolder captureFolder_;
    QtViewGrabber grabber_;
    QtJpegWriter jpeg_;
    std::unique_ptr<CodePage936> codePage_;
    std::unique_ptr<QtFileChooser> chooser_;
    Form3Probe probe_;
    QtFileSaver saver_;
    QtNotice notices_;
    std::unique_ptr<FileOutputRecord> record_;
    // Null in a build without GDAL: Step 2 writes the table and geoset only.
    std::unique_ptr<GeoTiffWriter> geoTiff_;
    bool writeGeoTiff_ = true;
    Module1 module1_;
    std::unique_ptr<MainWindowModel> model_;
    QPointer<Form2> form2_;
};

}  // namespace kartovex
