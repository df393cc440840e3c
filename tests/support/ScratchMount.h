#pragma once

#include <sched.h>
#include <sys/mount.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace kartovex::testing {

// A small tmpfs of our own in a mount namespace of this process alone, so that nothing
// stays mounted whatever becomes of the test. Needs the right to mount (root here).
class ScratchMount {
public:
    explicit ScratchMount(const std::filesystem::path& where, const std::string& options)
        : where_(where) {
        static const bool alone = unshare(CLONE_NEWNS) == 0 &&
                                  mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
        std::filesystem::create_directories(where_);
        mounted_ = alone && mount("tmpfs", where_.c_str(), "tmpfs", 0, options.c_str()) == 0;
    }
    ~ScratchMount() {
        if (mounted_) umount2(where_.c_str(), MNT_DETACH);
    }
    bool mounted() const { return mounted_; }

    // Fills the disk to its last byte but one page of 4 KiB.
    void fillLeavingOnePage() {
        const std::filesystem::path filler = where_ / "filler";
        {
            std::ofstream out(filler, std::ios::binary);
            const std::string block(4096, 'f');
            while (out.write(block.data(), block.size()) && out.flush()) {
            }
        }
        std::filesystem::resize_file(filler, std::filesystem::file_size(filler) - 4096);
    }

private:
    std::filesystem::path where_;
    bool mounted_ = false;
};

}  // namespace kartovex::testing
