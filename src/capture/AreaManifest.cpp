#include "AreaManifest.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdio>
#include <sstream>

#include "model/RuntimeError.h"

namespace kartovex {
namespace {

constexpr std::string_view kFirstLine = "kartovex-area 1";

std::string number(double v) {
    std::array<char, 32> text{};
    const auto end = std::to_chars(text.data(), text.data() + text.size(), v).ptr;
    return {text.data(), end};
}

// One line's words, read in turn; any that is missing or no number marks the line damaged.
class Words {
public:
    Words(std::string_view line, int lineNumber) : lineNumber_(lineNumber) {
        std::size_t start = 0;
        while (start < line.size()) {
            const std::size_t end = std::min(line.find(' ', start), line.size());
            if (end > start) words_.push_back(line.substr(start, end - start));
            start = end + 1;
        }
    }
    std::string_view word() {
        if (next_ >= words_.size()) damaged();
        return words_[next_++];
    }
    template <typename T>
    T read() {
        const std::string_view w = word();
        T v{};
        const auto [end, failed] = std::from_chars(w.data(), w.data() + w.size(), v);
        if (failed != std::errc() || end != w.data() + w.size()) damaged();
        return v;
    }
    void end() {
        if (next_ != words_.size()) damaged();
    }
    [[noreturn]] void damaged() const {
        throw RuntimeError(error::InvalidArgument,
                           "The views' manifest is damaged at line " + std::to_string(lineNumber_));
    }

private:
    std::vector<std::string_view> words_;
    std::size_t next_ = 0;
    int lineNumber_;
};

}  // namespace

std::string AreaManifest::pictureName(std::size_t index) {
    std::array<char, 32> name{};
    std::snprintf(name.data(), name.size(), "view-%03zu.jpg", index + 1);
    return name.data();
}

std::optional<std::size_t> AreaManifest::nextView() const {
    for (std::size_t i = 0; i < plan.views.size(); ++i)
        if (std::none_of(taken.begin(), taken.end(),
                         [&](const TakenView& t) { return t.index == i; }))
            return i;
    return std::nullopt;
}

std::string AreaManifest::text() const {
    std::ostringstream out;
    const AreaPlan& p = plan;
    out << kFirstLine << '\n'
        << "detail " << p.detail << '\n'
        << "margin " << p.marginPixels << '\n'
        << "view " << p.viewWidth << ' ' << p.viewHeight << '\n'
        << "camera " << number(p.range) << ' ' << number(p.altitude) << '\n'
        << "area " << number(p.centreLatitude) << ' ' << number(p.centreLongitude) << ' '
        << number(p.west) << ' ' << number(p.south) << ' ' << number(p.east) << ' '
        << number(p.north) << '\n';
    for (const PlannedView& v : p.views)
        out << "plan " << number(v.latitude) << ' ' << number(v.longitude) << '\n';
    for (const TakenView& t : taken) {
        out << "taken " << t.index << ' ' << t.picture << ' ' << t.grid.viewWidth << ' '
            << t.grid.viewHeight;
        for (const GroundPoint& g : t.grid.points)
            out << ' ' << number(g.x) << ' ' << number(g.y) << ' ' << number(g.longitude) << ' '
                << number(g.latitude);
        out << '\n';
    }
    return out.str();
}

AreaManifest AreaManifest::parse(std::string_view text) {
    AreaManifest m;
    AreaPlan& p = m.plan;
    int lineNumber = 0;
    bool sawDetail = false;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        const std::string_view line = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        Words w(line, ++lineNumber);
        if (lineNumber == 1) {
            if (line != kFirstLine) w.damaged();
            continue;
        }
        const std::string_view key = w.word();
        if (key == "detail") {
            p.detail = w.read<int>();
            sawDetail = p.detail >= AreaPlan::kLeastDetail && p.detail <= AreaPlan::kMostDetail;
            if (!sawDetail) w.damaged();
        } else if (key == "margin") {
            p.marginPixels = w.read<int>();
        } else if (key == "view") {
            p.viewWidth = w.read<std::int64_t>();
            p.viewHeight = w.read<std::int64_t>();
        } else if (key == "camera") {
            p.range = w.read<double>();
            p.altitude = w.read<double>();
        } else if (key == "area") {
            for (double* v :
                 {&p.centreLatitude, &p.centreLongitude, &p.west, &p.south, &p.east, &p.north})
                *v = w.read<double>();
        } else if (key == "plan") {
            const double latitude = w.read<double>();
            p.views.push_back({latitude, w.read<double>()});
        } else if (key == "taken") {
            TakenView t;
            t.index = w.read<std::size_t>();
            t.picture = std::string(w.word());
            if (t.index >= p.views.size() || t.picture != pictureName(t.index)) w.damaged();
            t.grid.viewWidth = w.read<std::int64_t>();
            t.grid.viewHeight = w.read<std::int64_t>();
            for (int i = 0; i < GroundGrid::kPointsPerSide * GroundGrid::kPointsPerSide; ++i) {
                GroundPoint g;
                g.x = w.read<double>();
                g.y = w.read<double>();
                g.longitude = w.read<double>();
                g.latitude = w.read<double>();
                t.grid.points.push_back(g);
            }
            m.taken.push_back(std::move(t));
        } else {
            w.damaged();
        }
        w.end();
    }
    if (lineNumber == 0 || !sawDetail || p.views.empty() || p.viewWidth <= 0 || p.viewHeight <= 0)
        throw RuntimeError(error::InvalidArgument, "The views' manifest is incomplete");
    return m;
}

}  // namespace kartovex
