#include "ComError.h"

#include <climits>
#include <cwchar>

namespace kartovex {

std::string hexCode(HRESULT hr) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    const auto bits = static_cast<unsigned long>(hr);
    std::string text = "0x";
    for (int shift = 28; shift >= 0; shift -= 4) text += kDigits[(bits >> shift) & 0xF];
    return text;
}

std::string systemMessage(HRESULT hr) {
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, static_cast<DWORD>(hr), 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text = length > 0 ? std::wstring(buffer, length) : std::wstring();
    LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' '))
        text.pop_back();
    if (text.empty()) return "Automation error " + hexCode(hr);
    return utf8(text.c_str());
}

std::string utf8(const wchar_t* text) {
    if (!text || !*text) return {};
    const std::size_t wideLength = std::wcslen(text);
    if (wideLength > INT_MAX) return {};
    const int length = WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(wideLength), nullptr,
                                           0, nullptr, nullptr);
    if (length <= 0) return {};
    std::string bytes(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(wideLength), bytes.data(), length,
                        nullptr, nullptr);
    return bytes;
}

RuntimeError comError(HRESULT hr, const std::string& description) {
    return RuntimeError(static_cast<long>(hr), description);
}

}  // namespace kartovex
