#include <benchmark/benchmark.h>

#include <algorithm>
#include <thread>
#include <vector>

#include "FrameRenderer.h"
#include "ViewQuery.h"

namespace {

// One full-HD frame of the simulator's view, as the window draws it on every change.
void BM_EarthFrame1920x1080(benchmark::State& state, earthsim::Camera camera) {
    const int threads = static_cast<int>(std::clamp(std::thread::hardware_concurrency(), 1u, 8u));
    const earthsim::ViewGeometry view(camera, 1920, 1080);
    std::vector<std::uint32_t> pixels(1920 * 1080);
    for (auto _ : state) {
        const earthsim::RenderedFrame frame =
            earthsim::renderFrame(view, {pixels.data(), 1920, 1080, 1920}, threads);
        benchmark::DoNotOptimize(frame.crossings.data());
    }
    state.counters["threads"] = threads;
}

BENCHMARK_CAPTURE(BM_EarthFrame1920x1080, levelled, earthsim::Camera{34.67, 112.58, 0, 12000, 0, 0})
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_EarthFrame1920x1080, tilted_to_horizon,
                  earthsim::Camera{34.67, 112.58, 0, 6000, 75, 30})
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_EarthFrame1920x1080, whole_globe, earthsim::Camera{20, 100, 0, 2.0e7, 0, 0})
    ->Unit(benchmark::kMillisecond);

// A network link's refresh with a view format of 80,000 placeholders, as a hostile link
// file may carry.
void BM_ViewQueryOf80000Placeholders(benchmark::State& state) {
    const earthsim::ViewGeometry view(earthsim::Camera{34.67, 112.58, 0, 12000, 0, 0}, 1920, 1080);
    std::string format;
    for (int i = 0; i < 20000; ++i) format += "[bboxWest]&[lookatRange]&[horizPixels]&[x]";
    for (auto _ : state) benchmark::DoNotOptimize(earthsim::viewQuery(format, view).size());
}
BENCHMARK(BM_ViewQueryOf80000Placeholders)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
