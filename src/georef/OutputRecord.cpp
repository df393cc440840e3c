#include "OutputRecord.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <sstream>
#include <system_error>
#include <vector>

namespace kartovex {
namespace {

constexpr std::size_t kMaxRecordBytes = 4u << 20;

// The stamp of a regular file, following no link: Kartovex never writes one.
std::optional<std::pair<std::uintmax_t, std::int64_t>> stampOf(const std::string& path) {
    namespace fs = std::filesystem;
    const fs::path p(std::u8string(path.begin(), path.end()));
    std::error_code failed;
    if (!fs::is_regular_file(fs::symlink_status(p, failed))) return std::nullopt;
    const auto size = fs::file_size(p, failed);
    if (failed) return std::nullopt;
    const auto modified = fs::last_write_time(p, failed);
    if (failed) return std::nullopt;
    return std::pair(size, static_cast<std::int64_t>(modified.time_since_epoch().count()));
}

// A path as one field of a line: its backslashes and line breaks escaped.
std::string escaped(const std::string& path) {
    std::string out;
    for (const char c : path)
        out += c == '\\' ? "\\\\" : c == '\n' ? "\\n" : c == '\r' ? "\\r" : std::string(1, c);
    return out;
}

std::string unescaped(const std::string& field) {
    std::string out;
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] != '\\' || i + 1 == field.size()) {
            out += field[i];
            continue;
        }
        const char next = field[++i];
        out += next == 'n' ? '\n' : next == 'r' ? '\r' : next;
    }
    return out;
}

}  // namespace

FileOutputRecord::FileOutputRecord(std::string recordPath, FileSaver& saver)
    : recordPath_(std::move(recordPath)), saver_(saver) {}

// Read when first needed and again never: this instance is the one that changes it.
void FileOutputRecord::load() {
    if (loaded_) return;
    loaded_ = true;
    const auto bytes = saver_.head(recordPath_, kMaxRecordBytes);
    if (!bytes) return;
    std::istringstream lines(*bytes);
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        Stamp stamp;
        std::string path;
        // A damaged line is dropped: its file becomes the user's, which is the safe side.
        if (!(fields >> stamp.size >> stamp.modified) || fields.get() != '\t' ||
            !std::getline(fields, path) || path.empty())
            continue;
        stamp.order = next_++;
        files_[unescaped(path)] = stamp;
    }
}

void FileOutputRecord::save() {
    while (files_.size() > kMaxFiles) {
        auto oldest = files_.begin();
        for (auto it = files_.begin(); it != files_.end(); ++it)
            if (it->second.order < oldest->second.order) oldest = it;
        files_.erase(oldest);
    }
    std::vector<std::pair<std::uint64_t, std::string>> ordered;
    for (const auto& [path, stamp] : files_)
        ordered.emplace_back(stamp.order, std::to_string(stamp.size) + " " +
                                              std::to_string(stamp.modified) + "\t" +
                                              escaped(path) + "\n");
    std::sort(ordered.begin(), ordered.end());
    std::string bytes;
    for (const auto& entry : ordered) bytes += entry.second;
    try {
        saver_.save(recordPath_, bytes);
    } catch (const std::exception&) {
        // The saver has logged why; the files stay the user's to decide on.
    }
}

void FileOutputRecord::wrote(const std::string& path) {
    load();
    const auto stamp = stampOf(path);
    if (!stamp) return;
    files_[path] = {stamp->first, stamp->second, next_++};
    save();
}

bool FileOutputRecord::wroteIt(const std::string& path) {
    load();
    const auto found = files_.find(path);
    if (found == files_.end()) return false;
    const auto stamp = stampOf(path);
    return stamp && found->second == Stamp{stamp->first, stamp->second, 0};
}

void FileOutputRecord::removed(const std::string& path) {
    load();
    if (files_.erase(path) != 0) save();
}

}  // namespace kartovex
