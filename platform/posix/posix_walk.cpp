// The folder walk over opendir/readdir, for Linux and macOS.

#include <dirent.h>

#include "platform/listing.hpp"

namespace ostrel::platform {
namespace {

class PosixWalk final : public FolderWalk {
public:
    explicit PosixWalk(DIR* dir) : dir_(dir) {}
    ~PosixWalk() override { closedir(dir_); }
    PosixWalk(const PosixWalk&) = delete;
    PosixWalk& operator=(const PosixWalk&) = delete;

    std::optional<std::string> next() override {
        if (const dirent* entry = readdir(dir_)) return std::string(entry->d_name);
        return std::nullopt;
    }

private:
    DIR* dir_;
};

}  // namespace

std::unique_ptr<FolderWalk> openFolderWalk(const char* path) {
    DIR* dir = path ? opendir(path) : nullptr;
    if (!dir) return nullptr;
    return std::make_unique<PosixWalk>(dir);
}

}  // namespace ostrel::platform
