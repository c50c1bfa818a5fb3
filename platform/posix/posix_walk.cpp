// The folder walk over opendir/readdir, for Linux and macOS.

#include <dirent.h>

#include <cerrno>

#include "platform/listing.hpp"

namespace ostrel::platform {
namespace {

class PosixWalk final : public FolderWalk {
public:
    explicit PosixWalk(DIR* dir) : dir_(dir) {}
    ~PosixWalk() override { close(); }
    PosixWalk(const PosixWalk&) = delete;
    PosixWalk& operator=(const PosixWalk&) = delete;

    // readdir is not asked again once it has answered the end: a folder that
    // gains entries meanwhile does not restart an ended walk.
    std::optional<std::string> next() override {
        if (ended_) return std::nullopt;
        errno = 0;
        if (const dirent* entry = readdir(dir_)) return std::string(entry->d_name);
        failed_ = errno != 0;
        ended_ = true;
        // An ended walk holds no descriptor, though its listing stays open.
        close();
        return std::nullopt;
    }
    bool failed() const noexcept override { return failed_; }

private:
    void close() noexcept {
        if (dir_) closedir(dir_);
        dir_ = nullptr;
    }

    DIR* dir_;
    bool ended_ = false;
    bool failed_ = false;
};

}  // namespace

std::unique_ptr<FolderWalk> openFolderWalk(const char* path) {
    DIR* dir = path ? opendir(path) : nullptr;
    if (!dir) return nullptr;
    // Running out of memory here must not leave the folder open.
    try {
        return std::make_unique<PosixWalk>(dir);
    } catch (...) {
        closedir(dir);
        throw;
    }
}

}  // namespace ostrel::platform
