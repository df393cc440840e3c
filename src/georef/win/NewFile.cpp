#include "georef/NewFile.h"

#include <windows.h>

#include <system_error>

#include "model/RuntimeError.h"

namespace kartovex {
namespace {

std::wstring wide(const std::string& utf8) {
    if (utf8.empty()) return {};
    const int n =
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring out(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
    return out;
}

bool taken(DWORD code) {
    return code == ERROR_FILE_EXISTS || code == ERROR_ALREADY_EXISTS;
}

[[noreturn]] void fail(DWORD code) {
    throw RuntimeError(code == ERROR_DISK_FULL || code == ERROR_HANDLE_DISK_FULL
                           ? error::DiskFull
                           : error::PathFileAccess,
                       std::system_category().message(static_cast<int>(code)));
}

}  // namespace

bool createNewFile(const std::string& path) {
    const HANDLE file = CreateFileW(wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD code = GetLastError();
        if (taken(code)) return false;
        fail(code);
    }
    CloseHandle(file);
    return true;
}

bool renameWithoutReplacing(const std::string& from, const std::string& to) {
    // Without MOVEFILE_REPLACE_EXISTING the system refuses a taken name in the same step.
    if (MoveFileExW(wide(from).c_str(), wide(to).c_str(), MOVEFILE_WRITE_THROUGH)) return true;
    const DWORD code = GetLastError();
    if (taken(code)) return false;
    fail(code);
}

}  // namespace kartovex
