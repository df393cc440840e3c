#include <benchmark/benchmark.h>
#include <gdal.h>
#include <sys/resource.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "GdalScratch.h"
#include "PeakMemory.h"
#include "georef/gdal/GdalGeoTiff.h"

// The GeoTIFF of pictures of several sizes, with the peak memory of writing it. The
// 20,000 x 20,000 row takes
// minutes and runs only when a filter asks for it: --benchmark_filter=20000.

namespace {

namespace fs = std::filesystem;

constexpr int kTile = 1000;

fs::path scratch() {
    return scratchFolder("kartovex-geotiff-bench-");
}

// A textured tile, as a view of fields and roads compresses, repeated over the picture
// through a virtual mosaic so that making a large JPG takes little memory.
const fs::path& tile() {
    static const fs::path path = [] {
        const fs::path p = scratch() / "tile.tif";
        Dataset t(GDALCreate(GDALGetDriverByName("GTiff"), p.c_str(), kTile, kTile, 3, GDT_Byte,
                             nullptr));
        paintTexture(t.get(), kTile, kTile);
        return p;
    }();
    return path;
}

fs::path picture(int width, int height) {
    const fs::path jpg =
        scratch() / (std::to_string(width) + "x" + std::to_string(height) + ".jpg");
    if (fs::exists(jpg)) return jpg;
    std::string vrt = "<VRTDataset rasterXSize=\"" + std::to_string(width) + "\" rasterYSize=\"" +
                      std::to_string(height) + "\">";
    for (int band = 1; band <= 3; ++band) {
        vrt += "<VRTRasterBand dataType=\"Byte\" band=\"" + std::to_string(band) + "\">";
        for (int y = 0; y < height; y += kTile)
            for (int x = 0; x < width; x += kTile)
                vrt += "<SimpleSource><SourceFilename>" + tile().string() +
                       "</SourceFilename><SourceBand>" + std::to_string(band) +
                       "</SourceBand><SrcRect xOff=\"0\" yOff=\"0\" xSize=\"1000\" "
                       "ySize=\"1000\"/><DstRect xOff=\"" +
                       std::to_string(x) + "\" yOff=\"" + std::to_string(y) +
                       "\" xSize=\"1000\" ySize=\"1000\"/></SimpleSource>";
        vrt += "</VRTRasterBand>";
    }
    vrt += "</VRTDataset>";
    Dataset mosaic(GDALOpen(vrt.c_str(), GA_ReadOnly));
    char* options[] = {const_cast<char*>("QUALITY=90"), nullptr};
    Dataset written(GDALCreateCopy(GDALGetDriverByName("JPEG"), jpg.c_str(), mosaic.get(), FALSE,
                                   options, nullptr, nullptr));
    return jpg;
}

// A 5 x 5 grid over a wide view at 60 degrees north: curved as the Earth is.
std::vector<kartovex::ControlPoint> viewPoints(int width, int height) {
    std::vector<kartovex::ControlPoint> points;
    for (int row = 0; row < 5; ++row)
        for (int column = 0; column < 5; ++column) {
            const double u = column / 4.0, v = row / 4.0;
            points.push_back({u * width, v * height, 10 + 2.0 * u + 0.05 * u * v - 0.02 * v * v,
                              60.5 - 1.0 * v + 0.03 * (u - 0.5) * (u - 0.5)});
        }
    return points;
}

// The third argument, when 1, adds the Google Earth super-overlay to the GeoTIFF.
void BM_GeoTiff(benchmark::State& state) {
    const int width = static_cast<int>(state.range(0)), height = static_cast<int>(state.range(1));
    kartovex::GdalGeoTiff writer;
    const bool overlay = state.range(2) != 0;
    const kartovex::GeoTiffJob job{picture(width, height).string(),
                                   (scratch() / "out.tif").string(), viewPoints(width, height),
                                   overlay ? (scratch() / "out.kmz").string() : ""};
    resetPeakResident();
    for (auto _ : state) {
        // The writer never replaces a file: the last row's goes first.
        state.PauseTiming();
        fs::remove(job.tifPath);
        fs::remove(scratch() / "out.kmz");
        state.ResumeTiming();
        writer.write(job, nullptr);
    }
    state.counters["peak_rss_MB"] = peakResidentMegabytes();
    state.counters["jpg_MB"] = fs::file_size(job.picturePath) / 1e6;
    state.counters["tif_MB"] = fs::file_size(job.tifPath) / 1e6;
}
BENCHMARK(BM_GeoTiff)
    ->Args({1920, 1080, 0})
    ->Args({1920, 1080, 1})
    ->Args({3840, 2160, 1})
    ->Args({5000, 5000, 1})
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GeoTiff)
    ->Args({8000, 8000, 0})
    ->Args({8000, 8000, 1})
    ->Iterations(1)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Unit(benchmark::kSecond);

std::string quoted(const fs::path& path) {
    return "'" + path.string() + "'";
}

std::string number(double v) {
    char text[40];
    std::snprintf(text, sizeof text, "%.17g", v);
    return text;
}

// GDAL's own command-line tools with the same control points, polynomial, extent, size,
// resampling and creation options as the writer: what a GIS user would run by hand. Its
// peak memory is the largest child's.
void BM_GdalPipeline(benchmark::State& state) {
    const int width = static_cast<int>(state.range(0)), height = static_cast<int>(state.range(1));
    const fs::path folder = scratch(), jpg = picture(width, height);
    const std::vector<kartovex::ControlPoint> points = viewPoints(width, height);
    // The writer's own extent and size, so that both make the same raster.
    kartovex::GdalGeoTiff writer;
    fs::remove(folder / "placed.tif");
    const kartovex::NorthUpRaster r =
        writer.write({jpg.string(), (folder / "placed.tif").string(), points, {}}, nullptr).raster;
    std::string gcps;
    for (const auto& p : points)
        gcps += " -gcp " + number(p.pixel) + " " + number(p.line) + " " + number(p.longitude) +
                " " + number(p.latitude);
    std::string levels;  // as the writer chooses them
    for (std::int64_t f = 2; std::max(r.width, r.height) / f >= 256; f *= 2)
        levels += " " + std::to_string(f);
    const std::string overviews =
        " --config COMPRESS_OVERVIEW JPEG --config PHOTOMETRIC_OVERVIEW YCBCR"
        " --config INTERLEAVE_OVERVIEW PIXEL --config JPEG_QUALITY_OVERVIEW 90";
    const std::string commands =
        "gdal_translate -q -of VRT -a_srs EPSG:4326" + gcps + " " + quoted(jpg) + " " +
        quoted(folder / "gcps.vrt") +
        " && gdalwarp -q -overwrite -of VRT -order 3 -r bilinear -et 0.02 -te " + number(r.west) +
        " " + number(r.south) + " " + number(r.east) + " " + number(r.north) + " -ts " +
        std::to_string(r.width) + " " + std::to_string(r.height) +
        " -dstalpha -wm 67108864 -wo NUM_THREADS=2 " + quoted(folder / "gcps.vrt") + " " +
        quoted(folder / "warp.vrt") +
        " && gdal_translate -q -b 1 -b 2 -b 3 -mask 4 -co TILED=YES -co NUM_THREADS=2"
        " -co COMPRESS=JPEG -co PHOTOMETRIC=YCBCR -co JPEG_QUALITY=90 -co BIGTIFF=IF_SAFER"
        " --config GDAL_TIFF_INTERNAL_MASK YES " +
        quoted(folder / "warp.vrt") + " " + quoted(folder / "pipeline.tif") +
        " && gdaladdo -q -r average" + overviews + " " + quoted(folder / "pipeline.tif") + levels;
    for (auto _ : state) {
        state.PauseTiming();
        fs::remove(folder / "pipeline.tif");
        state.ResumeTiming();
        if (std::system(commands.c_str()) != 0) state.SkipWithError("the GDAL tools failed");
    }
    rusage children{};
    getrusage(RUSAGE_CHILDREN, &children);
    state.counters["peak_rss_MB"] = children.ru_maxrss / 1024.0;
    // The tools' own CPU time, user and system, of every thread.
    const auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
    state.counters["cpu_s"] = seconds(children.ru_utime) + seconds(children.ru_stime);
}
BENCHMARK(BM_GdalPipeline)
    ->Args({8000, 8000})
    ->Iterations(1)
    ->UseRealTime()
    ->Unit(benchmark::kSecond);

BENCHMARK(BM_GeoTiff)
    ->Name("BM_GeoTiff20000")
    ->Args({20000, 20000, 0})
    ->Iterations(1)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Unit(benchmark::kSecond);

}  // namespace

int main(int argc, char** argv) {
    GDALAllRegister();
    // The largest row runs only when a filter asks for it.
    bool filtered = false;
    for (int i = 1; i < argc; ++i)
        filtered = filtered || std::string(argv[i]).rfind("--benchmark_filter", 0) == 0;
    benchmark::Initialize(&argc, argv);
    if (filtered)
        benchmark::RunSpecifiedBenchmarks();
    else
        benchmark::RunSpecifiedBenchmarks(std::string("-BM_GeoTiff20000"));
    benchmark::Shutdown();
    removeScratchFolder("kartovex-geotiff-bench-");
    return 0;
}
