#include "georef/NewFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "model/RuntimeError.h"

namespace kartovex {
namespace {

[[noreturn]] void fail(int number) {
    throw RuntimeError(number == ENOSPC ? error::DiskFull : error::PathFileAccess,
                       std::strerror(number));
}

}  // namespace

bool createNewFile(const std::string& path) {
    const int file = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (file < 0) {
        if (errno == EEXIST) return false;
        fail(errno);
    }
    ::close(file);
    return true;
}

bool renameWithoutReplacing(const std::string& from, const std::string& to) {
#ifdef __linux__
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno == EEXIST) return false;
    // Some file systems cannot rename without replacing; a hard link can.
    if (errno != EINVAL && errno != ENOSYS) fail(errno);
#endif
    if (::link(from.c_str(), to.c_str()) != 0) {
        if (errno == EEXIST) return false;
        fail(errno);
    }
    ::unlink(from.c_str());
    return true;
}

}  // namespace kartovex
