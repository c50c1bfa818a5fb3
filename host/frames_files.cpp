// Frames of the file and folder exports. Each is one call of the file-access
// layer or the platform; the frames turn its success into 0 and every failure
// into -1.

#include <cstring>

#include "core/file_io.hpp"
#include "host/frame.hpp"
#include "platform/clear_folder.hpp"
#include "platform/platform.hpp"

using namespace ostrel;

namespace {

constexpr float kDone = 0.0f;
constexpr float kFailed = -1.0f;

float outcome(bool ok) noexcept { return ok ? kDone : kFailed; }

}  // namespace

extern "C" float FileDelete(const char* text, double value, char* memBlock, int memBlockSize) noexcept {
    OSTREL_FRAME_ARGS(text, value, memBlock, memBlockSize);
    if (!text) return kFailed;
    return outcome(removeFile(text));
}

extern "C" float FileRename(const char* text, double value, char* memBlock, int memBlockSize) noexcept {
    OSTREL_FRAME_ARGS(text, value, memBlock, memBlockSize);
    // Renaming a path onto itself, or onto any existing file, is refused in
    // every build, so a script behaves alike on each.
    if (!text || !memBlock || std::strcmp(text, memBlock) == 0) return kFailed;
    return outcome(renameWithoutReplacing(text, memBlock));
}

extern "C" float FileCopyTo(const char* text, double value, char* memBlock, int memBlockSize) noexcept {
    OSTREL_FRAME_ARGS(text, value, memBlock, memBlockSize);
    if (!text || !memBlock) return kFailed;
    return frame::guarded([&] { return outcome(copyFile(text, memBlock)); });
}

extern "C" float CreateFolder(const char* text, double value, char* memBlock, int memBlockSize) noexcept {
    OSTREL_FRAME_ARGS(text, value, memBlock, memBlockSize);
    if (!text) return kFailed;
    return outcome(platform::createFolder(text));
}

extern "C" float EmptyFolder(const char* text, double value, char* memBlock, int memBlockSize) noexcept {
    OSTREL_FRAME_ARGS(text, value, memBlock, memBlockSize);
    if (!text) return kFailed;
    return frame::guarded([&] { return outcome(platform::ClearFolder(text)); });
}

extern "C" float GetPublicFolder(const char* text, double value, char* memBlock, int memBlockSize) noexcept {
    OSTREL_FRAME_ARGS(text, value, memBlock, memBlockSize);
    if (!memBlock) return platform::publicFolderResult(false);
    return frame::guarded([&] {
        const auto folder = platform::publicFolder();
        if (folder) copyToMemBlock(memBlock, memBlockSize, *folder);
        return platform::publicFolderResult(folder.has_value());
    });
}
