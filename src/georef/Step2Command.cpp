#include "Step2Command.h"

#include <cmath>
#include <exception>
#include <string>

#include "PathHelpers.h"
#include "Step2Outputs.h"
#include "Step2Report.h"
#include "model/ControlNames.h"
#include "model/NumberText.h"
#include "model/RuntimeError.h"

namespace kartovex {
namespace {

constexpr const char* kTitle = "Kartovex";

std::string size(double width, double height) {
    return text(width) + " x " + text(height) + " pixels";
}

}  // namespace

Step2Command::Step2Command(MainWindowModel& form, Module1& module, Step2Services services)
    : form_(form), module_(module), services_(services) {}

void Step2Command::run() {
    if (form_.caption(control::Label7) == "NO") {
        services_.messages.information(
            "GoogleEarth Not yet fullscreen\uFF01Get it fullscreen first!", kTitle);
        return;
    }
    CommonDialog& dialog = form_.CmnDlg;
    dialog.DialogTitle = "From JPG TO TAB and GST";
    dialog.CancelError = true;
    dialog.FileName = "";
    dialog.Filter = "JPG(*.jpg)|*.jpg";
    dialog.FilterIndex = 2;
    try {
        dialog.ShowOpen(services_.chooser);
    } catch (const RuntimeError& e) {
        if (e.number() == error::DialogCancelled) return;
        services_.messages.information(
            message({{}, {{"The open-file dialog failed.", e.description()}}, {}}), kTitle);
        return;
    } catch (const std::exception& e) {
        services_.messages.information(
            message({{}, {{"The open-file dialog failed.", e.what()}}, {}}), kTitle);
        return;
    }
    try {
        writeFiles();
    } catch (const std::exception& e) {
        services_.messages.information(message({{}, {{"Step 2 failed.", e.what()}}, {}}), kTitle);
    }
}

// A picture of another shape than the view would be registered distorted: most likely a
// stale or foreign picture.
bool Step2Command::pictureFitsView(double width, double height) {
    const auto viewWidth = static_cast<double>(form_.grid.viewWidth);
    const auto viewHeight = static_cast<double>(form_.grid.viewHeight);
    if (viewWidth <= 0 || viewHeight <= 0 || width <= 0 || height <= 0) return true;
    if (std::fabs((width / height) / (viewWidth / viewHeight) - 1) <= 0.01) return true;
    return services_.messages.question(
        "The picture is " + size(width, height) + ", but the view that Step 1 read is " +
            size(viewWidth, viewHeight) +
            ": their shapes differ by more than 1 %, so the picture would be registered "
            "distorted.\n\nRegister it anyway?",
        kTitle);
}

void Step2Command::writeFiles() {
    const std::string path = form_.CmnDlg.FileName;
    Step2Report report;
    try {
        attempt("The picture could not be read: " + shown(path),
                [&] { services_.probe.show(path, module_); });

        std::string fileName;
        attempt("The path of the picked file is too long to name the table and geoset after it.",
                [&] {
                    form_.folderPrefix = ParsePath(path);
                    fileName = ParseFileName(path);
                    form_.bareName = RetureFileName(fileName);
                });
        NamedPicture picture;
        attempt("The table and geoset cannot be named after the picked file.", [&] {
            picture =
                namePicture(path, form_.folderPrefix, fileName, form_.bareName, services_.codePage);
        });
        const double width = value(module_.strPicMaxX) + 1;
        const double height = value(module_.strPicMaxY) + 1;
        if (!pictureFitsView(width, height)) return;

        writeOutputs(picture, module_, form_.corners, form_.grid,
                     {services_.saver, services_.codePage, services_.record, services_.geoTiff,
                      services_.writeGeoTiff},
                     report);
    } catch (const Failure& failure) {
        report.failures.push_back(failure);
    }
    if (!report.failures.empty())
        services_.messages.information(message(report), kTitle);
    else
        services_.notices.notice(notice(report, form_.folderPrefix), form_.folderPrefix);
}

}  // namespace kartovex
