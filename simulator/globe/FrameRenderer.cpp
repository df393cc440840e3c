#include "FrameRenderer.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <thread>

#include "Graticule.h"
#include "Imagery.h"

namespace earthsim {

namespace {

constexpr int kCell = 8;
constexpr int kRowsPerBand = 64;
constexpr double kInterpolationTolerancePixels = 0.2;
constexpr double kMaxInterpolatedLongitudeSpan = 45.0;
constexpr double kHazeScaleHeight = 8000.0;
constexpr double kHazeDistance = 150000.0;

struct Rgb {
    double r = 0, g = 0, b = 0;
};

Rgb mixRgb(const Rgb& a, const Rgb& b, double t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

std::uint32_t pack(const Rgb& c) {
    auto channel = [](double v) {
        return static_cast<std::uint32_t>(std::clamp(v, 0.0, 255.0) + 0.5) & 0xffu;
    };
    return 0xff000000u | channel(c.r) << 16 | channel(c.g) << 8 | channel(c.b);
}

const Rgb kHaze{178, 202, 230};
const Rgb kLine{255, 236, 140};
const Rgb kSkyHorizon{188, 212, 238};
const Rgb kSkyZenith{62, 112, 190};
const Rgb kSpace{3, 5, 14};

// How the pixels of a grid cell get their ground: interpolated from the cell's corners
// throughout; interpolated but with the position cast per pixel (where the position bends
// too much for interpolation, as near the poles or the date line); or cast per pixel (where
// the cell reaches the sky).
enum class Cell : char { Interpolate, Locate, Cast };

// The ground under one pixel, or the sky colour when its ray misses the Earth.
struct Sample {
    double latitude = 0;
    double longitude = 0;
    double broad = 0;
    double shade = 1;
    double haze = 0;
    bool hit = false;
    std::uint32_t sky = 0;
};

// The difference of two longitudes, -180 to 180, without the cost of fmod: per-pixel
// work meets only differences within one turn.
double longitudeStep(double from, double to) {
    double d = to - from;
    if (d > 180.0) d -= 360.0;
    if (d < -180.0) d += 360.0;
    return d;
}

double lerpLongitude(double a, double b, double t) {
    double longitude = a + longitudeStep(a, b) * t;
    if (longitude > 180.0) longitude -= 360.0;
    if (longitude <= -180.0) longitude += 360.0;
    return longitude;
}

Sample lerpSample(const Sample& a, const Sample& b, double t) {
    // Exactly the node on a node, so a row on a grid line comes out the same whichever
    // cell (and thread) draws it.
    if (t <= 0) return a;
    if (t >= 1) return b;
    Sample s;
    s.latitude = a.latitude + (b.latitude - a.latitude) * t;
    s.longitude = lerpLongitude(a.longitude, b.longitude, t);
    s.broad = a.broad + (b.broad - a.broad) * t;
    s.shade = a.shade + (b.shade - a.shade) * t;
    s.haze = a.haze + (b.haze - a.haze) * t;
    s.hit = true;
    return s;
}

// Which step-wide band a value lies in; `perStep` is 1 / step, a multiplication being
// far cheaper per pixel than a division.
std::int64_t band(double value, double perStep) {
    const double q = value * perStep;
    const auto i = static_cast<std::int64_t>(q);
    return q < static_cast<double>(i) ? i - 1 : i;
}

double crossingValue(double a, double b, double step, bool longitude) {
    if (longitude && std::abs(b - a) > 180.0) return 180.0;
    return step * static_cast<double>(std::max(band(a, 1.0 / step), band(b, 1.0 / step)));
}

// Lines fade out where they come closer together than a few pixels, as towards the
// horizon, instead of filling the view.
constexpr double kLineOpacity = 0.9;
constexpr double kLinesFadeBelowPixels = 8.0;
constexpr double kLinesVanishBelowPixels = 3.0;

// Graticule lines of one kind (meridians or parallels) through one pixel.
struct Crossing {
    bool crossed = false;
    bool labelled = false;
    double value = 0;
    double span = 0;  // degrees the pixel covers, the most of across and down

    void take(double from, double to, double step, double perStep, bool longitude, bool labelIt) {
        span = std::max(span, std::abs(longitude ? longitudeStep(from, to) : to - from));
        if (band(from, perStep) == band(to, perStep)) return;
        if (!crossed || labelIt) value = crossingValue(from, to, step, longitude);
        crossed = true;
        labelled = labelled || labelIt;
    }

    double opacity(double step) const {
        if (!crossed) return 0;
        const double apart = step / std::max(span, 1e-300);
        return kLineOpacity * std::clamp((apart - kLinesVanishBelowPixels) /
                                             (kLinesFadeBelowPixels - kLinesVanishBelowPixels),
                                         0.0, 1.0);
    }
};

class FramePainter {
public:
    FramePainter(const ViewGeometry& view, const FramePixels& pixels)
        : view_(view),
          pixels_(pixels),
          imagery_(view.degreesPerPixelAtFocus()),
          step_(graticuleStep(view.degreesPerPixelAtFocus())),
          perStep_(1.0 / step_) {
        const CameraPose& pose = view.pose();
        eyeUp_ = pose.eye.normalized();
        const double eyeRadius = pose.eye.length();
        const double altitude = eyeRadius - kEarthRadius;
        horizonDip_ = std::acos(std::min(1.0, kEarthRadius / eyeRadius));
        const double horizonDistance =
            std::sqrt(std::max(0.0, (eyeRadius - kEarthRadius) * (eyeRadius + kEarthRadius)));
        glowAngle_ = std::min(0.9, std::atan2(60000.0, horizonDistance));
        const double space = std::clamp((altitude - 20000.0) / 180000.0, 0.0, 1.0);
        skyTop_ = mixRgb(kSkyZenith, kSpace, space);

        focusDistance_ = view.camera().range;
        // Columns -1 and width lie just outside the view: the graticule needs every
        // pixel's neighbours.
        for (int x = -1; x < pixels.width; x += kCell) columns_.push_back(x);
        columns_.push_back(pixels.width);
    }

    double step() const { return step_; }

    void paintRows(int firstRow, int endRow, std::vector<GraticuleCrossing>& crossings) const {
        if (firstRow >= endRow) return;
        // Grid rows that cover the pixel rows firstRow - 1 to endRow: the band and its
        // neighbours above and below. A row on a grid line is located from the cell below
        // it, in every band alike, so bands join without a seam.
        const int lastRow = pixels_.height;
        std::vector<int> rows;
        int nodeRow = -1 + (firstRow / kCell) * kCell;
        for (; nodeRow <= endRow && nodeRow < lastRow; nodeRow += kCell) rows.push_back(nodeRow);
        rows.push_back(std::min(nodeRow, lastRow));

        const std::size_t nx = columns_.size();
        std::vector<Sample> nodes(rows.size() * nx);
        for (std::size_t j = 0; j < rows.size(); ++j) {
            for (std::size_t i = 0; i < nx; ++i) nodes[j * nx + i] = exact(columns_[i], rows[j]);
        }
        std::vector<Cell> cells((rows.size() - 1) * (nx - 1));
        for (std::size_t j = 0; j + 1 < rows.size(); ++j) {
            for (std::size_t i = 0; i + 1 < nx; ++i) {
                cells[j * (nx - 1) + i] = cellKind(nodes, nx, i, j, rows);
            }
        }

        const auto width = static_cast<std::size_t>(pixels_.width);
        std::vector<Sample> above(width + 2), current(width + 2), below(width + 2), edges(nx);
        std::size_t j = 0;
        for (int y = firstRow - 1; y <= endRow; ++y) {
            while (j + 2 < rows.size() && y >= rows[j + 1]) ++j;
            locateRow(y, rows, j, nodes, cells, edges, below);
            if (y - 1 >= firstRow) colourRow(y - 1, above, current, below, crossings);
            std::swap(above, current);
            std::swap(current, below);
        }
    }

private:
    // The ground under every pixel of row y, columns -1 to width, into `row`.
    void locateRow(int y, const std::vector<int>& rows, std::size_t j,
                   const std::vector<Sample>& nodes, const std::vector<Cell>& cells,
                   std::vector<Sample>& edges, std::vector<Sample>& row) const {
        const std::size_t nx = columns_.size();
        const double t = static_cast<double>(y - rows[j]) / (rows[j + 1] - rows[j]);
        for (std::size_t i = 0; i < nx; ++i) {
            const Sample& a = nodes[j * nx + i];
            const Sample& b = nodes[(j + 1) * nx + i];
            if (a.hit && b.hit) edges[i] = lerpSample(a, b, t);
        }
        for (std::size_t i = 0; i + 1 < nx; ++i) {
            const int x0 = columns_[i];
            const int x1 = columns_[i + 1];
            const int xEnd = i + 2 == nx ? x1 + 1 : x1;
            const Cell cell = cells[j * (nx - 1) + i];
            for (int x = x0; x < xEnd; ++x) {
                Sample& sample = row[static_cast<std::size_t>(x + 1)];
                if (cell == Cell::Cast) {
                    sample = exact(x, y);
                    continue;
                }
                sample =
                    lerpSample(edges[i], edges[i + 1], static_cast<double>(x - x0) / (x1 - x0));
                if (cell == Cell::Locate) {
                    // Shading and broad height are smooth: only the position needs casting.
                    const GeoPoint p = geoPointOf(groundUnder(x, y).point);
                    sample.latitude = p.latitude;
                    sample.longitude = p.longitude;
                }
            }
        }
    }

    GroundHit groundUnder(double x, double y) const {
        return intersectGround(view_.pose().eye, view_.rayAt(view_.screenX(x), view_.screenY(y)),
                               view_.pose().up);
    }

    Sample exact(double x, double y) const {
        const Vec3 ray = view_.rayAt(view_.screenX(x), view_.screenY(y));
        const GroundHit ground = intersectGround(view_.pose().eye, ray, view_.pose().up);
        Sample s;
        if (!ground.hit) {
            s.sky = skyColour(ray);
            return s;
        }
        const Vec3 unit = ground.point.normalized();
        const GeoPoint geo = geoPointOf(ground.point);
        s.hit = true;
        s.latitude = geo.latitude;
        s.longitude = geo.longitude;
        s.broad = imagery_.broadHeight(unit, std::max(1.0, ground.distance / focusDistance_));
        const double incidence = std::max(0.0, -ray.dot(unit));
        s.shade = 0.35 + 0.65 * std::sqrt(incidence);
        const double airPath =
            std::min(ground.distance, kHazeScaleHeight / std::max(incidence, 0.02));
        s.haze = 0.8 * (1.0 - std::exp(-airPath / kHazeDistance));
        return s;
    }

    std::uint32_t skyColour(const Vec3& ray) const {
        // Angle of the ray above the horizon as the eye sees it.
        const double above = std::asin(std::clamp(ray.dot(eyeUp_), -1.0, 1.0)) + horizonDip_;
        const double t = std::clamp(above / glowAngle_, 0.0, 1.0);
        return pack(mixRgb(kSkyHorizon, skyTop_, std::sqrt(t)));
    }

    Cell cellKind(const std::vector<Sample>& nodes, std::size_t nx, std::size_t i, std::size_t j,
                  const std::vector<int>& rows) const {
        const Sample& a = nodes[j * nx + i];
        const Sample& b = nodes[j * nx + i + 1];
        const Sample& c = nodes[(j + 1) * nx + i];
        const Sample& d = nodes[(j + 1) * nx + i + 1];
        if (!a.hit || !b.hit || !c.hit || !d.hit) return Cell::Cast;
        const double db = wrapLongitude(b.longitude - a.longitude);
        const double dc = wrapLongitude(c.longitude - a.longitude);
        const double dd = wrapLongitude(d.longitude - a.longitude);
        if (std::max({std::abs(db), std::abs(dc), std::abs(dd)}) > kMaxInterpolatedLongitudeSpan) {
            return Cell::Locate;
        }
        const double cellWidth = columns_[i + 1] - columns_[i];
        const double cellHeight = rows[j + 1] - rows[j];
        const GroundHit middle =
            groundUnder(columns_[i] + cellWidth / 2.0, rows[j] + cellHeight / 2.0);
        if (!middle.hit) return Cell::Cast;
        const GeoPoint centre = geoPointOf(middle.point);
        const double cosLat = std::cos(centre.latitude * kDegree);
        const double latitude = (a.latitude + b.latitude + c.latitude + d.latitude) / 4.0;
        const double longitude = a.longitude + (db + dc + dd) / 4.0;
        const double error =
            std::max(std::abs(latitude - centre.latitude),
                     std::abs(wrapLongitude(longitude - centre.longitude)) * cosLat);
        const double across = std::hypot(b.latitude - a.latitude, db * cosLat) / cellWidth;
        const double down = std::hypot(c.latitude - a.latitude, dc * cosLat) / cellHeight;
        return error <= kInterpolationTolerancePixels * std::max(across, down) ? Cell::Interpolate
                                                                               : Cell::Locate;
    }

    // A graticule line is drawn on the pixel nearest to it: the pixel whose extent, from
    // the midpoints with its neighbours on either side, the line crosses.
    void colourRow(int y, const std::vector<Sample>& above, const std::vector<Sample>& row,
                   const std::vector<Sample>& below,
                   std::vector<GraticuleCrossing>& crossings) const {
        std::uint32_t* out = pixels_.data + y * pixels_.stride;
        const int centreRow = pixels_.height / 2;
        const int centreColumn = pixels_.width / 2;
        for (int x = 0; x < pixels_.width; ++x) {
            const auto at = static_cast<std::size_t>(x + 1);
            const Sample& s = row[at];
            if (!s.hit) {
                out[x] = s.sky;
                continue;
            }
            const Imagery::Detail detail = imagery_.detail(s.latitude, s.longitude);
            const Imagery::Colour ground =
                Imagery::groundColour(s.broad + detail.height, detail.texture, s.latitude);
            Rgb colour{ground.r * s.shade, ground.g * s.shade, ground.b * s.shade};
            colour = mixRgb(colour, kHaze, s.haze);

            // What each pixel extent spans, across and down, and which lines cross it.
            Crossing meridian, parallel;
            auto across = [&](const Sample& before, const Sample& after, bool labelled) {
                const Sample& b = before.hit ? before : s;
                const Sample& a = after.hit ? after : s;
                const double fromLongitude = lerpLongitude(b.longitude, s.longitude, 0.5);
                const double toLongitude = lerpLongitude(s.longitude, a.longitude, 0.5);
                meridian.take(fromLongitude, toLongitude, step_, perStep_, true, labelled);
                const double fromLatitude = (b.latitude + s.latitude) / 2.0;
                const double toLatitude = (s.latitude + a.latitude) / 2.0;
                parallel.take(fromLatitude, toLatitude, step_, perStep_, false, labelled);
            };
            across(row[at - 1], row[at + 1], y == centreRow || x == centreColumn);
            across(above[at], below[at], y == centreRow || x == centreColumn);
            const double opacity = std::max(meridian.opacity(step_), parallel.opacity(step_));
            if (opacity > 0) colour = mixRgb(colour, kLine, opacity);
            // Labels only where lines stand clear of one another.
            if (meridian.labelled && meridian.opacity(step_) >= kLineOpacity) {
                crossings.push_back({true, meridian.value, x, y});
            }
            if (parallel.labelled && parallel.opacity(step_) >= kLineOpacity) {
                crossings.push_back({false, parallel.value, x, y});
            }
            out[x] = pack(colour);
        }
    }

    const ViewGeometry& view_;
    FramePixels pixels_;
    Imagery imagery_;
    double step_;
    double perStep_;
    Vec3 eyeUp_;
    double horizonDip_ = 0;
    double glowAngle_ = 0;
    Rgb skyTop_;
    double focusDistance_ = 1;
    std::vector<int> columns_;
};

}  // namespace

RenderedFrame renderFrame(const ViewGeometry& view, const FramePixels& pixels, int threads) {
    const FramePainter painter(view, pixels);
    // Bands of rows go to whichever thread is free: sky is cheap and near ground dear,
    // so equal halves would leave one thread waiting. The bands depend on the frame alone,
    // so the picture does not depend on the number of threads.
    const int bands = std::clamp(pixels.height / kRowsPerBand, 1, std::max(1, pixels.height));
    std::vector<std::vector<GraticuleCrossing>> found(static_cast<std::size_t>(bands));
    std::atomic<int> next{0};
    auto work = [&] {
        for (int b = next++; b < bands; b = next++) {
            painter.paintRows(pixels.height * b / bands, pixels.height * (b + 1) / bands,
                              found[static_cast<std::size_t>(b)]);
        }
    };
    {
        // Joined at the end of this block, also when painting throws.
        std::vector<std::jthread> workers;
        for (int t = 1; t < std::clamp(threads, 1, bands); ++t) workers.emplace_back(work);
        work();
    }

    RenderedFrame frame;
    frame.graticuleStep = painter.step();
    for (const auto& part : found) {
        for (const GraticuleCrossing& c : part) {
            const bool seen = std::any_of(
                frame.crossings.begin(), frame.crossings.end(), [&](const GraticuleCrossing& o) {
                    return o.meridian == c.meridian && std::abs(o.value - c.value) < 1e-9;
                });
            if (!seen) frame.crossings.push_back(c);
        }
    }
    return frame;
}

}  // namespace earthsim
