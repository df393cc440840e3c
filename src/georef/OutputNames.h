#pragma once

#include <string>

namespace kartovex {

// The files Step 2 writes beside the picked picture, all named after it.
struct OutputNames {
    std::string tab, gst, tif, kml;
};

// Names the outputs folder prefix + bare name + lower-case extension. Refuses, with
// RuntimeError InvalidArgument saying why, a picked name that would make them land on the
// wrong file or on the picture itself.
OutputNames outputNames(const std::string& path, const std::string& folderPrefix,
                        const std::string& fileName, const std::string& bareName);

}  // namespace kartovex
