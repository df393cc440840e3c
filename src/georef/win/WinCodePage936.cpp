#include "WinCodePage936.h"

#include <windows.h>

#include <algorithm>
#include <climits>
#include <string>

namespace kartovex {
namespace {

constexpr UINT kSimplifiedChinese = 936;

std::optional<std::wstring> wideFromUtf8(std::string_view utf8) {
    if (utf8.size() > INT_MAX) return std::nullopt;
    const int length = static_cast<int>(utf8.size());
    const int wideLength =
        MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), length, nullptr, 0);
    if (wideLength <= 0) return std::nullopt;
    std::wstring wide(static_cast<std::size_t>(wideLength), L'\0');
    if (MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), length, wide.data(),
                            wideLength) != wideLength)
        return std::nullopt;
    return wide;
}

bool isPrivateUse(wchar_t c) {
    return c >= 0xE000 && c <= 0xF8FF;
}

}  // namespace

std::optional<std::string> WinCodePage936::fromUtf8(std::string_view utf8) const {
    // Both conversions refuse an empty input.
    if (utf8.empty()) return std::string();
    const std::optional<std::wstring> wide = wideFromUtf8(utf8);
    if (!wide || std::any_of(wide->begin(), wide->end(), isPrivateUse)) return std::nullopt;

    const int wideLength = static_cast<int>(wide->size());
    BOOL usedDefaultChar = FALSE;
    const int length = WideCharToMultiByte(kSimplifiedChinese, WC_NO_BEST_FIT_CHARS, wide->data(),
                                           wideLength, nullptr, 0, nullptr, &usedDefaultChar);
    if (length <= 0 || usedDefaultChar) return std::nullopt;
    std::string bytes(static_cast<std::size_t>(length), '\0');
    if (WideCharToMultiByte(kSimplifiedChinese, WC_NO_BEST_FIT_CHARS, wide->data(), wideLength,
                            bytes.data(), length, nullptr, &usedDefaultChar) != length ||
        usedDefaultChar)
        return std::nullopt;
    return bytes;
}

}  // namespace kartovex
