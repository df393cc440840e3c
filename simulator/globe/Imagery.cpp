#include "Imagery.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "Globe.h"

namespace earthsim {

namespace {

// Octave k has 1.5 * 2^k cycles per radian and amplitude 0.75 / frequency, so every
// zoom level sees coastlines as ragged as the whole globe does.
constexpr double kBaseFrequency = 1.5;
constexpr double kAmplitudeScale = 0.75;
constexpr int kMaxBroadOctaves = 40;
constexpr double kBroadMinimumPixels = 64.0;
constexpr double kFineMinimumPixels = 4.0;
constexpr double kLandBias = 0.12;

inline std::int64_t floorToInt(double v) {
    const auto i = static_cast<std::int64_t>(v);
    return v < static_cast<double>(i) ? i - 1 : i;
}

constexpr std::uint64_t kHashX = 0x9E3779B97F4A7C15ull;
constexpr std::uint64_t kHashY = 0xC2B2AE3D27D4EB4Full;
constexpr std::uint64_t kHashZ = 0x165667B19E3779F9ull;

// The value at a lattice point, -1 to 1, from the point's hash: its top 32 bits read as
// a signed fraction (one instruction, where an unsigned 64-bit conversion takes several).
inline double lattice(std::uint64_t h) {
    h ^= h >> 31;
    h *= 0xBF58476D1CE4E5B9ull;
    h ^= h >> 29;
    return static_cast<double>(static_cast<std::int32_t>(h >> 32)) * (1.0 / 2147483648.0);
}

inline double fade(double t) {
    return t * t * (3.0 - 2.0 * t);
}
inline double mix(double a, double b, double t) {
    return a + (b - a) * t;
}

double valueNoise2(double x, double y, std::uint64_t seed) {
    const std::int64_t ix = floorToInt(x), iy = floorToInt(y);
    const double u = fade(x - static_cast<double>(ix)), v = fade(y - static_cast<double>(iy));
    const std::uint64_t xa = static_cast<std::uint64_t>(ix) * kHashX + seed;
    const std::uint64_t xb = xa + kHashX;
    const std::uint64_t ya = static_cast<std::uint64_t>(iy) * kHashY;
    const std::uint64_t yb = ya + kHashY;
    return mix(mix(lattice(xa ^ ya), lattice(xb ^ ya), u),
               mix(lattice(xa ^ yb), lattice(xb ^ yb), u), v);
}

double valueNoise3(double x, double y, double z, std::uint64_t seed) {
    const std::int64_t ix = floorToInt(x), iy = floorToInt(y), iz = floorToInt(z);
    const double u = fade(x - static_cast<double>(ix)), v = fade(y - static_cast<double>(iy)),
                 w = fade(z - static_cast<double>(iz));
    const std::uint64_t xa = static_cast<std::uint64_t>(ix) * kHashX + seed;
    const std::uint64_t xb = xa + kHashX;
    const std::uint64_t ya = static_cast<std::uint64_t>(iy) * kHashY;
    const std::uint64_t yb = ya + kHashY;
    auto plane = [&](std::uint64_t zh) {
        return mix(mix(lattice(xa ^ ya ^ zh), lattice(xb ^ ya ^ zh), u),
                   mix(lattice(xa ^ yb ^ zh), lattice(xb ^ yb ^ zh), u), v);
    };
    const std::uint64_t za = static_cast<std::uint64_t>(iz) * kHashZ;
    return mix(plane(za), plane(za + kHashZ), w);
}

std::uint64_t octaveSeed(int octave) {
    return 0x5DEECE66Dull * static_cast<std::uint64_t>(octave + 1);
}

struct Rgb {
    double r, g, b;
};

Rgb blend(const Rgb& a, const Rgb& b, double t) {
    return {mix(a.r, b.r, t), mix(a.g, b.g, t), mix(a.b, b.b, t)};
}

}  // namespace

Imagery::Imagery(double degreesPerPixel) {
    radiansPerPixel_ = std::max(1e-12, degreesPerPixel * kDegree);
    double frequency = kBaseFrequency;
    while (broadOctaves_ < kMaxBroadOctaves &&
           1.0 / frequency >= kBroadMinimumPixels * radiansPerPixel_) {
        ++broadOctaves_;
        frequency *= 2.0;
    }
    double total = 0;
    while (fineOctaves_ < kMaxFineOctaves && broadOctaves_ + fineOctaves_ < kMaxBroadOctaves) {
        const double wavelengthPixels = 1.0 / frequency / radiansPerPixel_;
        fineFrequency_[fineOctaves_] = frequency * kDegree;
        // The finest octave fades in between 4 and 8 pixels, so zooming shows no pop.
        fineAmplitude_[fineOctaves_] =
            kAmplitudeScale / frequency *
            std::clamp(wavelengthPixels / kFineMinimumPixels - 1.0, 0.0, 1.0);
        total += fineAmplitude_[fineOctaves_];
        ++fineOctaves_;
        frequency *= 2.0;
    }
    textureScale_ = total > 0 ? 1.0 / total : 0.0;
}

double Imagery::broadHeight(const Vec3& unit, double pixelScale) const {
    // Raised a little, so that land and sea share the globe about evenly.
    double height = kLandBias;
    double frequency = kBaseFrequency;
    const double shortest = kBroadMinimumPixels * radiansPerPixel_ * pixelScale;
    for (int k = 0; k < broadOctaves_ && 1.0 / frequency >= shortest; ++k) {
        height += kAmplitudeScale / frequency *
                  valueNoise3(unit.x * frequency + 17.3 * k, unit.y * frequency - 5.1 * k,
                              unit.z * frequency + 3.7 * k, octaveSeed(k));
        frequency *= 2.0;
    }
    return height;
}

Imagery::Detail Imagery::detail(double latitude, double longitude) const {
    double sum = 0;
    for (int k = 0; k < fineOctaves_; ++k) {
        const double f = fineFrequency_[k];
        sum += fineAmplitude_[k] *
               valueNoise2(longitude * f, latitude * f, octaveSeed(broadOctaves_ + k));
    }
    return {sum, sum * textureScale_};
}

Imagery::Colour Imagery::groundColour(double height, double texture, double latitude) {
    Rgb c;
    if (height < 0) {
        const double depth = std::clamp(-height / 0.12, 0.0, 1.0);
        c = blend({58, 118, 168}, {14, 40, 92}, std::sqrt(depth));
        const double k = 1.0 + 0.05 * texture;
        c = {c.r * k, c.g * k, c.b * k};
    } else {
        // Fields of two kinds in patches at every zoom, hills browner, mountains rock.
        const double patch = std::clamp((texture + 0.1) / 0.2, 0.0, 1.0);
        const double fields = patch * patch * (3.0 - 2.0 * patch);
        const Rgb lowland = blend({178, 158, 104}, {82, 126, 60}, fields);
        const Rgb upland = blend({150, 132, 98}, {106, 118, 74}, fields);
        const double h = std::clamp(height / 0.8, 0.0, 1.0);
        c = h < 0.5 ? blend(lowland, upland, h / 0.5)
                    : blend(upland, {140, 130, 120}, (h - 0.5) / 0.5);
        if (height < 0.004) c = blend({198, 182, 132}, c, height / 0.004);
        const double k = 1.0 + 0.18 * texture;
        c = {c.r * k, c.g * k, c.b * k};
    }
    const double ice = (std::abs(latitude) + 3.0 * texture - 70.0) / 6.0;
    if (ice > 0) c = blend(c, {232, 238, 244}, std::min(ice, 1.0));
    return {static_cast<float>(c.r), static_cast<float>(c.g), static_cast<float>(c.b)};
}

}  // namespace earthsim
