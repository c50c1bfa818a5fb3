// Frames of the project file and scene package exports.

#include "host/frame.hpp"
#include "project/project_file.hpp"
#include "project/scene_package.hpp"
#include "project/tpose.hpp"

using namespace ostrel;

extern "C" float WritePrjFile(const char* text, double value, char* memBlock, int memBlockSize) noexcept {
    OSTREL_FRAME_ARGS(text, value, memBlock, memBlockSize);
    if (project::projectState().tPoseList.empty()) return project::kProjectListEmpty;
    if (!text) return project::kProjectNoPath;
    return frame::guarded([&] { return project::WritePrjFile(text); });
}

extern "C" float AddDatFile(const char* text, double value, char* memBlock, int memBlockSize) noexcept {
    OSTREL_FRAME_ARGS(text, value, memBlock, memBlockSize);
    if (value < 0) return project::kDatNegativeKind;   // a NaN passes and is stored as kind 0
    if (!text || !memBlock) return 0;
    return frame::guarded([&] { return project::AddDatFile(text, ostrel::trunc(value), memBlock); });
}

extern "C" float OpenNEWPrjFile(const char* text, double value, char* memBlock, int memBlockSize) noexcept {
    OSTREL_FRAME_ARGS(text, value, memBlock, memBlockSize);
    if (!text || !memBlock) return 0;
    return frame::guarded([&] { return project::OpenProjectFile(text, memBlock, project::ProjectLayout::Current); });
}

extern "C" float OpenPrjFile(const char* text, double value, char* memBlock, int memBlockSize) noexcept {
    OSTREL_FRAME_ARGS(text, value, memBlock, memBlockSize);
    if (!text || !memBlock) return 0;
    return frame::guarded([&] { return project::OpenProjectFile(text, memBlock, project::ProjectLayout::Old); });
}

// The scene package belongs to the Windows and Linux builds, not to macOS.
#if !defined(__APPLE__)
extern "C" float SaveQPP(const char* text, double value, char* memBlock, int memBlockSize) noexcept {
    OSTREL_FRAME_ARGS(text, value, memBlock, memBlockSize);
    if (!text || !memBlock) return project::kPackageNoPath;
    return frame::guarded([&] { return project::SaveQPP(text, memBlock); });
}

extern "C" float OpenQPP(const char* text, double value, char* memBlock, int memBlockSize) noexcept {
    OSTREL_FRAME_ARGS(text, value, memBlock, memBlockSize);
    if (!text || !memBlock) return project::kPackageNoPath;
    return frame::guarded([&] { return project::OpenQPP(text, memBlock); });
}
#endif
