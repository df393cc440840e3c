#pragma once

#include <gdal.h>

#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <system_error>

// What the GDAL benchmarks share: datasets closed as they go, and one scratch folder per
// run for their pictures and outputs, removed at the end.

struct DatasetCloser {
    void operator()(void* dataset) const {
        if (dataset) GDALClose(dataset);
    }
};
using Dataset = std::unique_ptr<void, DatasetCloser>;

// The run's own folder, named `prefix` and a random number, made at the first call.
inline std::filesystem::path scratchFolder(const char* prefix) {
    static const std::filesystem::path folder = [prefix] {
        const std::filesystem::path f = std::filesystem::temp_directory_path() /
                                        (prefix + std::to_string(std::random_device{}()));
        std::filesystem::create_directories(f);
        return f;
    }();
    return folder;
}

inline void removeScratchFolder(const char* prefix) {
    std::error_code ignored;
    std::filesystem::remove_all(scratchFolder(prefix), ignored);
}
