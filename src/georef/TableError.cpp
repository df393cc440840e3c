#include "TableError.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "model/NumberText.h"

namespace kartovex {
namespace {

constexpr double kWorthSayingPixels = 2;

struct Corner {
    double pixel, line, longitude, latitude;
};

// Least squares of value = c0 + c1 * pixel + c2 * line through the corners.
std::array<double, 3> plane(const std::array<Corner, 4>& corners, double Corner::*value) {
    double m[3][4] = {};
    for (const Corner& c : corners) {
        const double row[3] = {1, c.pixel, c.line};
        for (int i = 0; i < 3; ++i) {
            for (int j = 0; j < 3; ++j) m[i][j] += row[i] * row[j];
            m[i][3] += row[i] * (c.*value);
        }
    }
    for (int col = 0; col < 3; ++col) {
        int pivot = col;
        for (int r = col + 1; r < 3; ++r)
            if (std::fabs(m[r][col]) > std::fabs(m[pivot][col])) pivot = r;
        std::swap(m[col], m[pivot]);
        if (m[col][col] == 0) return {NAN, NAN, NAN};
        for (int r = 0; r < 3; ++r) {
            if (r == col) continue;
            const double f = m[r][col] / m[col][col];
            for (int k = col; k < 4; ++k) m[r][k] -= f * m[col][k];
        }
    }
    return {m[0][3] / m[0][0], m[1][3] / m[1][1], m[2][3] / m[2][2]};
}

// Longitude taken next to `near`, so that a view across the 180th meridian stays whole.
double beside(double longitude, double near) {
    return longitude - 360 * std::round((longitude - near) / 360);
}

// Whole pixels from 10 up, tenths below; never the locale's decimal comma.
std::string figure(double pixels) {
    return pixels >= 10 ? formatMask(pixels, 0) : formatMask(std::max(pixels, 0.1), 1);
}

}  // namespace

double tableErrorPixels(const GroundGrid& grid, double width, double height, double maxX,
                        double maxY) {
    if (grid.points.empty()) return NAN;
    // The grid's corners, as Step 1 read them, stand at the table's four pixel positions.
    const auto at = [&](double x, double y) {
        const GroundPoint* best = &grid.points.front();
        for (const GroundPoint& p : grid.points)
            if (std::hypot(p.x - x, p.y - y) < std::hypot(best->x - x, best->y - y)) best = &p;
        return *best;
    };
    const double near = grid.points.front().longitude;
    std::array<Corner, 4> corners;
    const double pixels[4][2] = {{0, 0}, {maxX, 0}, {maxX, maxY}, {0, maxY}};
    const double screen[4][2] = {{-1, 1}, {1, 1}, {1, -1}, {-1, -1}};
    for (int i = 0; i < 4; ++i) {
        const GroundPoint p = at(screen[i][0], screen[i][1]);
        corners[i] = {pixels[i][0], pixels[i][1], beside(p.longitude, near), p.latitude};
    }
    const auto lon = plane(corners, &Corner::longitude);
    const auto lat = plane(corners, &Corner::latitude);
    const double det = lon[1] * lat[2] - lon[2] * lat[1];
    if (!std::isfinite(det) || det == 0) return NAN;
    double worst = 0;
    for (const GroundPoint& p : grid.points) {
        // The pixel the table's plane gives this point's ground, against its own pixel.
        const double dLon = beside(p.longitude, near) - lon[0], dLat = p.latitude - lat[0];
        const double pixel = (dLon * lat[2] - dLat * lon[2]) / det;
        const double line = (lon[1] * dLat - lat[1] * dLon) / det;
        worst = std::max(worst,
                         std::hypot(pixel - (p.x + 1) / 2 * width, line - (1 - p.y) / 2 * height));
    }
    return worst;
}

std::string tableErrorSentence(const std::string& tableName, double errorPixels,
                               const std::string& preciseTableName, double preciseErrorPixels) {
    if (!(errorPixels > kWorthSayingPixels)) return {};
    std::string sentence =
        tableName + " is off by up to " + figure(errorPixels) + " px at this range";
    if (preciseErrorPixels >= 0)
        sentence += "; " + preciseTableName + " is exact to " + figure(preciseErrorPixels) + " px";
    return sentence;
}

}  // namespace kartovex
