#pragma once

#include <gdal.h>

#include <cmath>
#include <filesystem>
#include <memory>
#include <random>
#include <stdexcept>
#include <string>
#include <system_error>
#include <vector>

// What the GDAL benchmarks share: datasets closed as they go, one scratch folder per run for
// their pictures and outputs, removed at the end, and the pictures' texture.

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

// Fills the three bands of `dataset` with a texture that compresses as a view of fields and
// roads does, the same on every run.
inline void paintTexture(GDALDatasetH dataset, int width, int height) {
    std::mt19937 random(7);
    std::vector<GByte> pixels(static_cast<std::size_t>(width) * height);
    for (int band = 1; band <= 3; ++band) {
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                pixels[static_cast<std::size_t>(y) * width + x] =
                    static_cast<GByte>(100 + 60 * std::sin(x / (9.0 + band)) * std::cos(y / 13.0) +
                                       static_cast<int>(random() % 24));
        if (GDALRasterIO(GDALGetRasterBand(dataset, band), GF_Write, 0, 0, width, height,
                         pixels.data(), width, height, GDT_Byte, 0, 0) != CE_None)
            throw std::runtime_error("the test picture could not be made");
    }
}
