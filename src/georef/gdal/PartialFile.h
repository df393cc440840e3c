#pragma once

#include <string>

namespace kartovex {

// A file written under a temporary name beside its final one: a name no user's file has,
// claimed anew by each run, and removed unless the finished file was placed. Only the file
// this object claimed is ever removed.
class PartialFile {
public:
    // `finalPath` in UTF-8. The temporary name keeps its extension, by which some GDAL
    // drivers choose their format. Throws RuntimeError when no name can be claimed.
    explicit PartialFile(std::string finalPath);
    ~PartialFile();
    PartialFile(const PartialFile&) = delete;
    PartialFile& operator=(const PartialFile&) = delete;

    const std::string& path() const { return path_; }

    // Gives the finished file its final name without replacing anything: when a file took
    // that name while this one was written, the first free "<stem> (2)<ext>", "<stem>
    // (3)<ext>", ... Returns the name used; throws RuntimeError when none could be used.
    std::string place();

private:
    std::string finalPath_;
    std::string path_;
    bool placed_ = false;
};

}  // namespace kartovex
