#include "NamesInFiles.h"

#include <cstddef>

#include "model/RuntimeError.h"

namespace kartovex {
namespace {

// Byte length of the UTF-8 character at `i`; a byte that starts no whole character
// counts as a character of its own.
std::size_t characterLength(std::string_view s, std::size_t i) {
    const auto lead = static_cast<unsigned char>(s[i]);
    const std::size_t n = lead >= 0xF5   ? 1
                          : lead >= 0xF0 ? 4
                          : lead >= 0xE0 ? 3
                          : lead >= 0xC2 ? 2
                                         : 1;
    if (i + n > s.size()) return 1;
    for (std::size_t k = 1; k < n; ++k)
        if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return 1;
    return n;
}

bool isControl(std::string_view character) {
    const auto lead = static_cast<unsigned char>(character[0]);
    if (lead < 0x20 || lead == 0x7F) return true;
    // U+0080 to U+009F
    return lead == 0xC2 && character.size() == 2 && static_cast<unsigned char>(character[1]) < 0xA0;
}

// The name as a message shows it: a control character would break the message's line.
std::string printable(std::string_view name) {
    std::string out;
    for (std::size_t i = 0; i < name.size();) {
        const std::size_t n = characterLength(name, i);
        const std::string_view character = name.substr(i, n);
        out += isControl(character) ? std::string_view("?") : character;
        i += n;
    }
    return out;
}

[[noreturn]] void refuseName(std::string_view fileName, const std::string& why) {
    throw RuntimeError(error::InvalidArgument,
                       "Refused file name: " + printable(fileName) + "\nIt " + why);
}

std::string encoded(std::string_view fileName, std::string_view name, const CodePage936& codePage) {
    if (auto bytes = codePage.fromUtf8(name)) return *std::move(bytes);
    for (std::size_t i = 0; i < name.size();) {
        const std::size_t n = characterLength(name, i);
        const std::string_view character = name.substr(i, n);
        if (n == 1 && static_cast<unsigned char>(character[0]) >= 0x80)
            refuseName(fileName, "is not UTF-8 text.");
        if (!codePage.fromUtf8(character))
            refuseName(fileName, "holds the character \"" + std::string(character) +
                                     "\", which the table's code page 936 (Simplified Chinese) "
                                     "lacks.");
        i += n;
    }
    refuseName(fileName, "is not a text the table's code page 936 can carry.");
}

}  // namespace

NamesInFiles namesInFiles(std::string_view fileName, std::string_view bareName,
                          const CodePage936& codePage) {
    if (bareName.empty())
        refuseName(fileName, "leaves no name before its extension to name the table and geoset.");
    for (std::size_t i = 0; i < fileName.size(); i += characterLength(fileName, i)) {
        const std::string_view character = fileName.substr(i, characterLength(fileName, i));
        if (character == "\"")
            refuseName(fileName,
                       "holds a double quote, which would end the name in the table early.");
        if (isControl(character))
            refuseName(fileName,
                       "holds a control character such as a line feed, which would break "
                       "the table's lines.");
    }
    return {encoded(fileName, fileName, codePage), encoded(fileName, bareName, codePage)};
}

}  // namespace kartovex
