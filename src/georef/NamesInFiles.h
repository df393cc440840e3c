#pragma once

#include <string>
#include <string_view>

#include "CodePage936.h"

namespace kartovex {

// The picked file's names as the raster table and geoset carry them, in code page 936.
struct NamesInFiles {
    std::string fileName;  // the image the table registers
    std::string bareName;  // the geoset's name and its table's name
};

// Refuses, with RuntimeError InvalidArgument saying why, a name the files cannot carry
// faithfully: an empty bare name, a double quote (it would end the quoted name early), a
// control character (a line feed would break the line) or a character that code page 936
// lacks.
NamesInFiles namesInFiles(std::string_view fileName, std::string_view bareName,
                          const CodePage936& codePage);

}  // namespace kartovex
