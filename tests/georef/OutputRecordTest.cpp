#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <vector>

#include "TemporaryFolder.h"
#include "georef/OutputRecord.h"

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace kartovex {
namespace {

namespace fs = std::filesystem;
using testing::TemporaryFolder;
constexpr auto put = &TemporaryFolder::put;

// Saves as the program's own saver does, minus the safety the record does not rely on.
struct PlainSaver : FileSaver {
    void save(const std::string& path, std::string_view bytes) override {
        std::ofstream(path, std::ios::binary) << bytes;
    }
    bool exists(const std::string& path) override { return fs::exists(path); }
    bool isRegularFile(const std::string& path) override { return fs::is_regular_file(path); }
    std::optional<std::string> head(const std::string& path, std::size_t) override {
        if (!fs::exists(path)) return std::nullopt;
        return TemporaryFolder::contentOf(path);
    }
    void remove(const std::string& path) override { fs::remove(path); }
};

// A file is ours only while it is the regular file Kartovex wrote there, as it wrote it;
// the record outlives the program that kept it.
TEST(FileOutputRecord, KnowsAFileAsOursOnlyWhileItIsAsWeWroteIt) {
    struct Case {
        const char* name;
        std::function<void(const fs::path& ours)> after;  // what the user does after the write
        bool stillOurs;
    };
    std::vector<Case> cases = {
        {"left as it was", [](const fs::path&) {}, true},
        {"appended to", [](const fs::path& p) { std::ofstream(p, std::ios::app) << "more"; },
         false},
        {"rewritten to the same size a second later",
         [](const fs::path& p) {
             const auto when = fs::last_write_time(p);
             put(p, "GeoTIFF");
             fs::last_write_time(p, when + std::chrono::seconds(1));
         },
         false},
    };
#ifndef _WIN32
    cases.push_back({"replaced by a pipe",
                     [](const fs::path& p) { fs::remove(p), ::mkfifo(p.c_str(), 0600); }, false});
    cases.push_back({"replaced by a link to a file of ours",
                     [](const fs::path& p) {
                         fs::rename(p, p.string() + ".moved");
                         fs::create_symlink(p.string() + ".moved", p);
                     },
                     false});
#endif
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TemporaryFolder folder;
        PlainSaver saver;
        const std::string record = (folder / "record").string(), ours = (folder / "a.tif").string();
        put(folder / "record", "garbage\n12\n");  // a damaged record keeps nothing
        put(ours, "GeoTIFF");
        FileOutputRecord(record, saver).wrote(ours);
        c.after(ours);
        FileOutputRecord later(record, saver);
        EXPECT_EQ(later.wroteIt(ours), c.stillOurs);
        EXPECT_FALSE(later.wroteIt((folder / "never.tif").string()));
        later.removed(ours);
        EXPECT_FALSE(FileOutputRecord(record, saver).wroteIt(ours));
    }
}

}  // namespace
}  // namespace kartovex
