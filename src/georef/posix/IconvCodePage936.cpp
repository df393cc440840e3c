#include "IconvCodePage936.h"

#include <iconv.h>

#include <memory>
#include <string>
#include <type_traits>

namespace kartovex {
namespace {

struct IconvClose {
    void operator()(iconv_t cd) const { iconv_close(cd); }
};
using Converter = std::unique_ptr<std::remove_pointer_t<iconv_t>, IconvClose>;

Converter open(const char* to, const char* from) {
    iconv_t cd = iconv_open(to, from);
    return Converter(cd == reinterpret_cast<iconv_t>(-1) ? nullptr : cd);
}

// Converts all of `in`, or nothing when a character has no exact counterpart. A
// conversion that reports irreversible steps has substituted something.
std::optional<std::string> convert(const char* to, const char* from, std::string_view in) {
    Converter cd = open(to, from);
    if (!cd) return std::nullopt;
    std::string out(in.size() * 4 + 4, '\0');
    char* inPtr = const_cast<char*>(in.data());
    std::size_t inLeft = in.size();
    char* outPtr = out.data();
    std::size_t outLeft = out.size();
    const std::size_t irreversible = iconv(cd.get(), &inPtr, &inLeft, &outPtr, &outLeft);
    if (irreversible != 0 || inLeft != 0) return std::nullopt;
    if (iconv(cd.get(), nullptr, nullptr, &outPtr, &outLeft) != 0) return std::nullopt;
    out.resize(out.size() - outLeft);
    return out;
}

}  // namespace

std::optional<std::string> IconvCodePage936::fromUtf8(std::string_view utf8) const {
    auto bytes = convert("CP936", "UTF-8", utf8);
    // A substitute would come back as another text: only an exact round trip counts.
    if (!bytes || convert("UTF-8", "CP936", *bytes) != utf8) return std::nullopt;
    return bytes;
}

}  // namespace kartovex
