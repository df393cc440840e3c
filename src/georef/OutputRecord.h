#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>

#include "FileSaver.h"

namespace kartovex {

// Which files Kartovex wrote beside pictures, known by what it saw just after writing
// each: its path, size and modification time. A file changed since, copied, derived or
// never seen is the user's, whatever marks it carries inside.
class OutputRecord {
public:
    virtual ~OutputRecord() = default;
    // Notes the file now at `path` as written by Kartovex. A record that cannot be kept
    // only makes that file the user's later: it never fails the write.
    virtual void wrote(const std::string& path) = 0;
    // Whether the file at `path` is a regular file still as Kartovex wrote it. Opens
    // nothing, so a pipe at that name cannot block.
    virtual bool wroteIt(const std::string& path) = 0;
    virtual void removed(const std::string& path) = 0;
};

// The record kept in a file of the application's data, saved whole after each change and
// bounded to the newest `kMaxFiles` files.
class FileOutputRecord : public OutputRecord {
public:
    static constexpr std::size_t kMaxFiles = 2000;

    FileOutputRecord(std::string recordPath, FileSaver& saver);

    void wrote(const std::string& path) override;
    bool wroteIt(const std::string& path) override;
    void removed(const std::string& path) override;

private:
    struct Stamp {
        std::uintmax_t size = 0;
        std::int64_t modified = 0;
        std::uint64_t order = 0;
        bool operator==(const Stamp& o) const { return size == o.size && modified == o.modified; }
    };
    void load();
    void save();

    std::string recordPath_;
    FileSaver& saver_;
    bool loaded_ = false;
    std::uint64_t next_ = 0;
    std::map<std::string, Stamp> files_;
};

}  // namespace kartovex
