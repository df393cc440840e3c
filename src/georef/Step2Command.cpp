#include "Step2Command.h"

#include <cstddef>
#include <exception>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "GstFile.h"
#include "NamesInFiles.h"
#include "PathHelpers.h"
#include "TabFile.h"
#include "model/ControlNames.h"
#include "model/RuntimeError.h"

namespace kartovex {
namespace {

constexpr const char* kTitle = "Kartovex";

// Ends Step 2 with a message: what failed, and the system's reason under it.
struct Failure : std::exception {
    Failure(std::string failedStage, std::string why)
        : stage(std::move(failedStage)), reason(std::move(why)) {}
    const char* what() const noexcept override { return stage.c_str(); }

    std::string stage;
    std::string reason;
};

// Runs one stage, telling any failure in it as `what` failing.
void attempt(const std::string& what, const std::function<void()>& stage) {
    try {
        stage();
    } catch (const RuntimeError& e) {
        throw Failure{what, e.description()};
    } catch (const std::exception& e) {
        throw Failure{what, e.what()};
    }
}

// A path as a message shows it: one beyond any real path keeps only its two ends.
std::string shown(const std::string& path) {
    constexpr std::size_t kEnd = 120;
    if (path.size() <= 3 * kEnd) return path;
    std::size_t head = kEnd, tail = path.size() - kEnd;
    // Cut between characters, not inside one.
    while ((static_cast<unsigned char>(path[head]) & 0xC0) == 0x80) --head;
    while ((static_cast<unsigned char>(path[tail]) & 0xC0) == 0x80) ++tail;
    return path.substr(0, head) + "\u2026" + path.substr(tail);
}

std::string message(const Failure& failure, const std::vector<std::string>& written) {
    std::string text = failure.stage;
    if (!failure.reason.empty()) text += "\n" + failure.reason;
    if (written.empty()) return text + "\nNo file was written.";
    for (const auto& path : written) text += "\nWritten: " + shown(path);
    return text;
}

bool isOutputExtension(std::string_view fileName) {
    const std::size_t dot = fileName.rfind('.');
    if (dot == std::string_view::npos) return false;
    std::string extension(fileName.substr(dot + 1));
    for (char& c : extension)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return extension == "tab" || extension == "gst";
}

// Refuses a picked name that would make the table and geoset land on the wrong file or
// name another picture than the one picked.
void refuseMisleadingName(const std::string& path, const std::string& folderPrefix,
                          const std::string& fileName) {
    const auto refuse = [](const std::string& name, const char* why) {
        throw RuntimeError(error::InvalidArgument, "Refused file name: " + name + "\nIt " + why);
    };
    // Only a forward-slash path can hold a backslash inside a name; MapInfo would take the
    // part before it for a folder, and the table would name a file that does not exist.
    const std::size_t slash = path.rfind('/');
    if (slash != std::string::npos && path.find('\\', slash) != std::string::npos)
        refuse(path.substr(slash + 1),
               "holds a backslash, which MapInfo reads as a folder separator.");
    // A colon after the last folder separator (legal in a Linux name) would end the folder
    // prefix inside the file name and name both files wrongly.
    if (folderPrefix + fileName != path)
        refuse(fileName, "holds a colon, which would name the files wrongly.");
    // The table or geoset would then be written over the picture itself: the outputs are
    // named bare name + extension, so only such an extension makes their path the picked one.
    if (isOutputExtension(fileName))
        refuse(fileName,
               "has the extension of the table or the geoset, so writing them would destroy the "
               "picture.");
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
            message({"The open-file dialog failed.", e.description()}, {}), kTitle);
        return;
    } catch (const std::exception& e) {
        services_.messages.information(message({"The open-file dialog failed.", e.what()}, {}),
                                       kTitle);
        return;
    }
    try {
        writeFiles();
    } catch (const std::exception& e) {
        services_.messages.information(message({"Step 2 failed.", e.what()}, {}), kTitle);
    }
}

void Step2Command::writeFiles() {
    const std::string path = form_.CmnDlg.FileName;
    std::vector<std::string> written;
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
        NamesInFiles names;
        attempt("The table and geoset cannot be named after the picked file.", [&] {
            refuseMisleadingName(path, form_.folderPrefix, fileName);
            names = namesInFiles(fileName, form_.bareName, services_.codePage);
        });

        const std::string tabPath = form_.folderPrefix + form_.bareName + ".tab";
        const std::string gstPath = form_.folderPrefix + form_.bareName + ".gst";
        attempt("The table could not be written: " + shown(tabPath), [&] {
            services_.saver.save(tabPath, tabFileBytes(names.fileName, form_.corners,
                                                       module_.strPicMaxX, module_.strPicMaxY));
        });
        written.push_back(tabPath);
        attempt("The geoset could not be written: " + shown(gstPath), [&] {
            services_.saver.save(gstPath, gstFileBytes(names.bareName, form_.corners.strCenterLong,
                                                       form_.corners.strCenterLat));
        });
    } catch (const Failure& failure) {
        services_.messages.information(message(failure, written), kTitle);
    }
}

}  // namespace kartovex
