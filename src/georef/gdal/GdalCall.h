#pragma once

#include <cpl_error.h>

#include <initializer_list>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// What every call into GDAL needs around it: configuration for the calling thread only,
// and GDAL's errors kept for the user's message instead of printed.
namespace kartovex {

// GDAL configuration for this thread only, restored when the call ends.
class ThreadConfig {
public:
    ThreadConfig(std::initializer_list<std::pair<const char*, const char*>> options);
    ~ThreadConfig();
    ThreadConfig(const ThreadConfig&) = delete;
    ThreadConfig& operator=(const ThreadConfig&) = delete;

private:
    std::vector<std::pair<const char*, std::optional<std::string>>> earlier_;
};

// Keeps GDAL's first error while it lives: those of the thread that made it, and those of
// GDAL's own worker threads (warp and compression), which have no handler of their own.
class FirstError {
public:
    FirstError();
    ~FirstError();
    FirstError(const FirstError&) = delete;
    FirstError& operator=(const FirstError&) = delete;

    // GDAL's reason without the name of the routine that gave it ("_tiffWriteProc:").
    std::string reason() const;
    bool any() const;
    void clear();

    // Where errors without a handler of their thread go; public for GDAL's callback only.
    void take(CPLErr kind, const char* text);

private:
    mutable std::mutex mutex_;
    std::string text_;
};

}  // namespace kartovex
