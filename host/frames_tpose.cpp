// Frames of the T-pose reference list and project modifier exports.

#include "host/frame.hpp"
#include "project/tpose.hpp"

using namespace ostrel;

extern "C" float AddTPoseRef(const char* text, double value, char* memBlock, int memBlockSize) noexcept {
    OSTREL_FRAME_ARGS(text, value, memBlock, memBlockSize);
    if (value <= 0) return -1;   // a NaN passes and is stored as 0
    if (!text || !memBlock) return frame::kMissingArgumentVertexTools;
    return frame::guarded([&] {
        project::addTPoseRef(uint32_t(ostrel::trunc(value)), text, memBlock);
        return 0.0f;
    });
}

extern "C" float GetTPoseRef(const char* text, double value, char* memBlock, int memBlockSize) noexcept {
    OSTREL_FRAME_ARGS(text, value, memBlock, memBlockSize);
    if (project::projectState().tPoseList.empty()) return project::kListIsEmpty;
    if (!text || !memBlock) return project::kNoReference;
    const project::TPoseRef* match = project::findTPoseRef(text);
    if (!match) return project::kNoReference;
    copyToMemBlock(memBlock, memBlockSize, match->infoText());
    return float(match->refNumber);
}

extern "C" float ClearTPoseList(const char* text, double value, char* memBlock, int memBlockSize) noexcept {
    OSTREL_FRAME_ARGS(text, value, memBlock, memBlockSize);
    project::clearTPoseList();
    return 0;
}

extern "C" float SetPrjModfier(const char* text, double value, char* memBlock, int memBlockSize) noexcept {
    OSTREL_FRAME_ARGS(text, value, memBlock, memBlockSize);
    if (!(value > 0)) return -1;
    project::setPrjModfier(uint32_t(ostrel::trunc(value)));
    return 0;
}

extern "C" float GetPrjModfier(const char* text, double value, char* memBlock, int memBlockSize) noexcept {
    OSTREL_FRAME_ARGS(text, value, memBlock, memBlockSize);
    return project::getPrjModfier(value);
}
