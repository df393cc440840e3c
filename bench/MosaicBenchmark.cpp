#include <benchmark/benchmark.h>
#include <gdal.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "GdalScratch.h"
#include "PeakMemory.h"
#include "georef/gdal/GdalMosaic.h"

// A mosaic of n x n views of 1920 x 1080 pixels whose inner parts, inside the 96 px margin,
// overlap their neighbours' by 15 % as "Capture area" plans them, with the peak memory of
// putting it together.

namespace {

namespace fs = std::filesystem;

constexpr int kWidth = 1920, kHeight = 1080;
constexpr int kMargin = 96;
// From one view to the next, in whole views across and down.
constexpr double kStepAcross = 0.85 * (kWidth - 2 * kMargin) / kWidth;
constexpr double kStepDown = 0.85 * (kHeight - 2 * kMargin) / kHeight;

fs::path scratch() {
    return scratchFolder("kartovex-mosaic-bench-");
}

// A textured view, as fields and roads compress.
const fs::path& picture() {
    static const fs::path path = [] {
        const fs::path p = scratch() / "view.jpg";
        Dataset mem(
            GDALCreate(GDALGetDriverByName("MEM"), "", kWidth, kHeight, 3, GDT_Byte, nullptr));
        paintTexture(mem.get(), kWidth, kHeight);
        char* options[] = {const_cast<char*>("QUALITY=95"), nullptr};
        Dataset written(GDALCreateCopy(GDALGetDriverByName("JPEG"), p.c_str(), mem.get(), FALSE,
                                       options, nullptr, nullptr));
        return p;
    }();
    return path;
}

// View (row, column) of a level area at 60 degrees north, its grid gently curved.
std::vector<kartovex::ControlPoint> viewPoints(int row, int column) {
    std::vector<kartovex::ControlPoint> points;
    for (int r = 0; r < 5; ++r)
        for (int c = 0; c < 5; ++c) {
            const double u = c / 4.0, v = r / 4.0;
            const double east = column * kStepAcross + u, south = row * kStepDown + v;
            points.push_back({u * kWidth, v * kHeight, 10 + 0.04 * east + 0.0005 * east * south,
                              60.5 - 0.0112 * south + 0.0002 * (u - 0.5) * (u - 0.5)});
        }
    return points;
}

void BM_Mosaic(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    kartovex::MosaicJob job;
    job.tifPath = (scratch() / "mosaic.tif").string();
    job.marginPixels = kMargin;
    if (state.range(1)) job.kmzPath = (scratch() / "mosaic.kmz").string();
    for (int row = 0; row < n; ++row)
        for (int column = 0; column < n; ++column)
            job.views.push_back({picture().string(), viewPoints(row, column)});
    kartovex::GdalMosaic writer;
    kartovex::GeoTiffOutcome outcome;
    resetPeakResident();
    for (auto _ : state) {
        fs::remove(job.tifPath);  // the writer never replaces a file
        fs::remove(scratch() / "mosaic.kmz");
        outcome = writer.write(job, nullptr);
    }
    state.counters["peak_rss_MB"] = peakResidentMegabytes();
    state.counters["megapixels"] = outcome.raster.width * outcome.raster.height / 1e6;
    state.counters["tif_MB"] = fs::file_size(outcome.tifPath) / 1e6;
}
// The second argument, when 1, adds the Google Earth super-overlay, as "Capture area" does.
BENCHMARK(BM_Mosaic)
    ->Args({6, 0})
    ->Args({8, 0})
    ->Args({6, 1})
    ->Iterations(1)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Unit(benchmark::kSecond);

}  // namespace

int main(int argc, char** argv) {
    GDALAllRegister();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    removeScratchFolder("kartovex-mosaic-bench-");
    return 0;
}
