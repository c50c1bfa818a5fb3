// Frames of the desktop exports: the folder walk (every build), the open
// dialog, folder listings, screen and input (Windows), the open panel, URL
// launch and key state (macOS).

#include <algorithm>
#include <string>

#include "host/frame.hpp"
#include "platform/dialogs.hpp"
#include "platform/listing.hpp"
#include "platform/screen.hpp"

using namespace ostrel;

namespace {

// The folder walk's codes.
constexpr float kWalkCannotOpen = -1.0f;   // OpenFolder: the folder cannot be listed
constexpr float kNoWalkOpen = -1.0f;       // GetFile, CloseFolder: no listing is open
constexpr float kNoEntryBlock = -2.0f;     // GetFile: memBlock missing
constexpr float kNoEntryLeft = -3.0f;      // GetFile: the listing is exhausted
constexpr float kWalkFailed = -4.0f;       // GetFile: the folder could not be read further

}  // namespace

extern "C" float OpenFolder(const char* text, double value, char* memBlock, int memBlockSize) noexcept {
    OSTREL_FRAME_ARGS(text, value, memBlock, memBlockSize);
    return frame::guarded([&] { return platform::openWalk(text) ? 0.0f : kWalkCannotOpen; });
}

extern "C" float GetFile(const char* text, double value, char* memBlock, int memBlockSize) noexcept {
    OSTREL_FRAME_ARGS(text, value, memBlock, memBlockSize);
    if (!platform::walkIsOpen()) return kNoWalkOpen;
    // Without a block to receive it, no entry is taken from the walk.
    if (!memBlock) return kNoEntryBlock;
    return frame::guarded([&] {
        std::string name;
        switch (platform::nextWalkEntry(name)) {
        case platform::WalkResult::Entry: break;
        case platform::WalkResult::Failed: return kWalkFailed;
        default: return kNoEntryLeft;
        }
        copyToMemBlock(memBlock, memBlockSize, name);
        return 0.0f;
    });
}

extern "C" float CloseFolder(const char* text, double value, char* memBlock, int memBlockSize) noexcept {
    OSTREL_FRAME_ARGS(text, value, memBlock, memBlockSize);
    return platform::closeWalk() ? 0.0f : kNoWalkOpen;
}

#if defined(_WIN32)

extern "C" float SetDefaultDir(const char* text, double value, char* memBlock, int memBlockSize) noexcept {
    OSTREL_FRAME_ARGS(text, value, memBlock, memBlockSize);
    return frame::guarded([&] {
        platform::setDefaultDir(text);
        return 0.0f;
    });
}

extern "C" float SetDialogTitle(const char* text, double value, char* memBlock, int memBlockSize) noexcept {
    OSTREL_FRAME_ARGS(text, value, memBlock, memBlockSize);
    return frame::guarded([&] {
        platform::setDialogTitle(text);
        return 0.0f;
    });
}

extern "C" float GetFileList(const char* text, double value, char* memBlock, int memBlockSize) noexcept {
    OSTREL_FRAME_ARGS(text, value, memBlock, memBlockSize);
    return frame::guarded([&] { return float(platform::runOpenDialog(text, value == 1.0)); });
}

extern "C" float GetDirFileList(const char* text, double value, char* memBlock, int memBlockSize) noexcept {
    OSTREL_FRAME_ARGS(text, value, memBlock, memBlockSize);
    return frame::guarded([&] { return float(platform::listFolderIntoSelection(text, value != 0.0)); });
}

extern "C" float GetFileInfo(const char* text, double value, char* memBlock, int memBlockSize) noexcept {
    OSTREL_FRAME_ARGS(text, value, memBlock, memBlockSize);
    // Nothing is written without room for at least the NUL.
    if (!text || !memBlock || memBlockSize < 1) return 0;
    return frame::guarded([&] {
        const auto entry = platform::selectionEntry(platform::selectionBuffer(), text, ostrel::trunc(value));
        if (!entry) return 0.0f;
        copyToMemBlock(memBlock, memBlockSize, *entry);
        return float(std::min(entry->size(), size_t(memBlockSize) - 1));
    });
}

extern "C" float LaunchAppWithFile(const char* text, double value, char* memBlock, int memBlockSize) noexcept {
    OSTREL_FRAME_ARGS(text, value, memBlock, memBlockSize);
    if (!text) return -1;
    return frame::guarded([&] {
        platform::launchWithFile(text);
        return 0.0f;
    });
}

extern "C" float DispSizeH(const char* text, double value, char* memBlock, int memBlockSize) noexcept {
    OSTREL_FRAME_ARGS(text, value, memBlock, memBlockSize);
    return float(platform::desktopWidth());
}

extern "C" float DispSizeV(const char* text, double value, char* memBlock, int memBlockSize) noexcept {
    OSTREL_FRAME_ARGS(text, value, memBlock, memBlockSize);
    return float(platform::desktopHeight());
}

extern "C" float GetScreenFactor(const char* text, double value, char* memBlock, int memBlockSize) noexcept {
    OSTREL_FRAME_ARGS(text, value, memBlock, memBlockSize);
    return platform::currentScreenFactor();
}

extern "C" float ShiftDown(const char* text, double value, char* memBlock, int memBlockSize) noexcept {
    OSTREL_FRAME_ARGS(text, value, memBlock, memBlockSize);
    platform::sendShiftDown();
    return 0;
}

extern "C" float ShiftUp(const char* text, double value, char* memBlock, int memBlockSize) noexcept {
    OSTREL_FRAME_ARGS(text, value, memBlock, memBlockSize);
    platform::sendShiftUp();
    return 0;
}

#endif  // _WIN32

#if defined(__APPLE__)

extern "C" float GetOpenDialog(const char* text, double value, char* memBlock, int memBlockSize) noexcept {
    OSTREL_FRAME_ARGS(text, value, memBlock, memBlockSize);
    return frame::guarded([&] { return float(platform::runOpenPanel(text)); });
}

extern "C" float GetFilePath(const char* text, double value, char* memBlock, int memBlockSize) noexcept {
    OSTREL_FRAME_ARGS(text, value, memBlock, memBlockSize);
    if (!memBlock) return 0;
    return frame::guarded([&] {
        const auto path = platform::chosenFilePath(platform::chosenFiles(), ostrel::trunc(value));
        if (!path) return 0.0f;
        copyToMemBlock(memBlock, memBlockSize, *path);
        return 1.0f;
    });
}

extern "C" float ClearFileList(const char* text, double value, char* memBlock, int memBlockSize) noexcept {
    OSTREL_FRAME_ARGS(text, value, memBlock, memBlockSize);
    platform::forgetChosenFiles();
    return 0;
}

extern "C" float inPut(const char* text, double value, char* memBlock, int memBlockSize) noexcept {
    OSTREL_FRAME_ARGS(text, value, memBlock, memBlockSize);
    if (!text) return -1;
    return frame::guarded([&] { return float(platform::openUrl(text)); });
}

extern "C" float isKeyPressed(const char* text, double value, char* memBlock, int memBlockSize) noexcept {
    OSTREL_FRAME_ARGS(text, value, memBlock, memBlockSize);
    return platform::keyIsDown(platform::keyCodeOf(value)) ? 1.0f : 0.0f;
}

#endif  // __APPLE__
