#include "OutputNames.h"

#include <cstddef>
#include <string_view>

#include "model/RuntimeError.h"

namespace kartovex {
namespace {

// Any case: on Windows SCAN.TIF and scan.tif are one file.
bool isOutputExtension(std::string_view fileName) {
    const std::size_t dot = fileName.rfind('.');
    if (dot == std::string_view::npos) return false;
    std::string extension(fileName.substr(dot + 1));
    for (char& c : extension)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return extension == "tab" || extension == "gst" || extension == "tif" || extension == "kml";
}

[[noreturn]] void refuse(const std::string& name, const char* why) {
    throw RuntimeError(error::InvalidArgument, "Refused file name: " + name + "\nIt " + why);
}

}  // namespace

OutputNames outputNames(const std::string& path, const std::string& folderPrefix,
                        const std::string& fileName, const std::string& bareName) {
    // Only a forward-slash path can hold a backslash inside a name; MapInfo would take the
    // part before it for a folder, and the table would name a file that does not exist.
    const std::size_t slash = path.rfind('/');
    if (slash != std::string::npos && path.find('\\', slash) != std::string::npos)
        refuse(path.substr(slash + 1),
               "holds a backslash, which MapInfo reads as a folder separator.");
    // A colon after the last folder separator (legal in a Linux name) would end the folder
    // prefix inside the file name and name every file wrongly.
    if (folderPrefix + fileName != path)
        refuse(fileName, "holds a colon, which would name the files wrongly.");
    // The outputs are named bare name + extension, so only such an extension makes one of
    // their paths the picked one. Refused even where that output is switched off: an older
    // one of ours there would be removed as stale.
    if (isOutputExtension(fileName))
        refuse(fileName,
               "has the extension of a file Kartovex writes beside the picture (.tab, .gst, "
               ".tif or .kml), so writing that file would destroy the picture.");
    const std::string stem = folderPrefix + bareName;
    return {stem + ".tab", stem + ".gst", stem + ".tif", stem + ".kml"};
}

}  // namespace kartovex
