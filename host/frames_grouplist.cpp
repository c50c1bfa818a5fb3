// Frames of the group list, name set and container exports.

#include "host/frame.hpp"
#include "obj/group_list.hpp"

using namespace ostrel;

namespace {

// GroupListAdd refuses a group of no faces before it looks at the name.
constexpr float kGroupWithoutFaces = -2.0f;

}  // namespace

extern "C" float GroupListAdd(const char* text, double value, char* memBlock, int memBlockSize) noexcept {
    OSTREL_FRAME_ARGS(text, value, memBlock, memBlockSize);
    const int32_t faces = ostrel::trunc(value);
    if (faces <= 0) return kGroupWithoutFaces;
    if (!text) return -1;
    return frame::guarded([&] {
        obj::addToGroupsList(text, faces);
        return 0.0f;
    });
}

extern "C" float GroupListSave(const char* text, double value, char* memBlock, int memBlockSize) noexcept {
    OSTREL_FRAME_ARGS(text, value, memBlock, memBlockSize);
    if (!text) return frame::kMissingArgumentMeshFiles;
    return frame::guarded([&] { return obj::saveGroupsList(text); });
}

extern "C" float GroupListLoad(const char* text, double value, char* memBlock, int memBlockSize) noexcept {
    OSTREL_FRAME_ARGS(text, value, memBlock, memBlockSize);
    if (!text) return frame::kMissingArgumentMeshFiles;
    return frame::guarded([&] { return obj::loadGroupsList(text); });
}

extern "C" float GroupListSize(const char* text, double value, char* memBlock, int memBlockSize) noexcept {
    OSTREL_FRAME_ARGS(text, value, memBlock, memBlockSize);
    return obj::getGroupsListSize();
}

extern "C" float GroupListGetName(const char* text, double value, char* memBlock, int memBlockSize) noexcept {
    OSTREL_FRAME_ARGS(text, value, memBlock, memBlockSize);
    if (!(value > -1.0)) return -1;
    if (!memBlock) return -1;
    copyToMemBlock(memBlock, memBlockSize, obj::getGroupName(ostrel::trunc(value)));
    return 0;
}

extern "C" float GroupListClear(const char* text, double value, char* memBlock, int memBlockSize) noexcept {
    OSTREL_FRAME_ARGS(text, value, memBlock, memBlockSize);
    obj::clearGroupsList();
    return 0;
}

extern "C" float CheckName(const char* text, double value, char* memBlock, int memBlockSize) noexcept {
    OSTREL_FRAME_ARGS(text, value, memBlock, memBlockSize);
    if (!text || !memBlock) return -1;
    // A name cut to the block would not be the name remembered: a name that
    // does not fit is refused and not remembered.
    const size_t longest = memBlockSize > 0 ? size_t(memBlockSize) - 1 : SIZE_MAX;
    return frame::guarded([&] {
        const auto name = obj::NameCheck(text, longest);
        copyToMemBlock(memBlock, memBlockSize, name ? *name : std::string_view());
        return name ? 0.0f : -2.0f;
    });
}

extern "C" float ClearNameSet(const char* text, double value, char* memBlock, int memBlockSize) noexcept {
    OSTREL_FRAME_ARGS(text, value, memBlock, memBlockSize);
    obj::NameSetClear();
    return 0;
}

extern "C" float getDaxFile(const char* text, double value, char* memBlock, int memBlockSize) noexcept {
    OSTREL_FRAME_ARGS(text, value, memBlock, memBlockSize);
    if (!text || !memBlock) return frame::kMissingArgumentMeshFiles;
    return frame::guarded([&] { return obj::getGroupsListFile(text, memBlock); });
}
