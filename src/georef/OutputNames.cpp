#include "OutputNames.h"

#include <cstddef>
#include <string_view>

#include "model/RuntimeError.h"

namespace kartovex {
namespace {

// Any case: on Windows SCAN.TIF and scan.tif are one file.
std::string lowerCase(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
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
    const std::string stem = folderPrefix + bareName;
    const OutputNames names{stem + ".tab",       stem + ".gst", stem + "_wgs84.tif",
                            stem + "_wgs84.tab", stem + ".kmz", stem + ".kml"};
    // Refused even where that output is switched off: an older one of ours there would be
    // removed as stale.
    const std::string picked = lowerCase(path);
    for (const std::string* output :
         {&names.tab, &names.gst, &names.tif, &names.wgs84Tab, &names.kmz, &names.kml})
        if (lowerCase(*output) == picked)
            refuse(fileName,
                   "is the name of a file Kartovex writes beside the picture (.tab, .gst, "
                   "_wgs84.tif, _wgs84.tab, .kmz or .kml), so writing that file would destroy "
                   "the picture.");
    return names;
}

}  // namespace kartovex
