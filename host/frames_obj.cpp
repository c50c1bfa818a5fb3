// Frames of the OBJ tools: splits, vertex swap, figure export, append, group
// faces and UV scaling.

#include "host/frame.hpp"
#include "obj/obj_rewrite.hpp"
#include "obj/obj_small_tools.hpp"
#include "obj/obj_split.hpp"

using namespace ostrel;

extern "C" float SplitOBJ(const char* text, double value, char* memBlock, int memBlockSize) noexcept {
    OSTREL_FRAME_ARGS(text, value, memBlock, memBlockSize);
    if (!text || !memBlock) return frame::kMissingArgumentVertexTools;
    return frame::guarded([&] { return obj::LeanSplitOBJ(text, memBlock); });
}

extern "C" float ListSplitOBJtoOBJ(const char* text, double value, char* memBlock, int memBlockSize) noexcept {
    OSTREL_FRAME_ARGS(text, value, memBlock, memBlockSize);
    if (!text || !memBlock) return frame::kMissingArgumentVertexTools;
    return frame::guarded([&] { return obj::ListSplitOBJ(text, memBlock); });
}

extern "C" float SplitOBJtoTev(const char* text, double value, char* memBlock, int memBlockSize) noexcept {
    OSTREL_FRAME_ARGS(text, value, memBlock, memBlockSize);
    if (!text || !memBlock) return frame::kMissingArgumentVertexTools;
    return frame::guarded([&] { return obj::LeanSplitTev(text, memBlock); });
}

extern "C" float ListSplitOBJtoTev(const char* text, double value, char* memBlock, int memBlockSize) noexcept {
    OSTREL_FRAME_ARGS(text, value, memBlock, memBlockSize);
    if (!text || !memBlock) return frame::kMissingArgumentVertexTools;
    return frame::guarded([&] { return obj::ListSplitTev(text, memBlock); });
}

extern "C" float SwapVertices(const char* text, double value, char* memBlock, int memBlockSize) noexcept {
    OSTREL_FRAME_ARGS(text, value, memBlock, memBlockSize);
    if (!text || !memBlock) return frame::kMissingArgumentVertexTools;
    // text is rewritten; memBlock gives everything but the vertex lines.
    return frame::guarded([&] { return obj::LeanSwapVerts(text, memBlock); });
}

extern "C" float PoserExportOBJ(const char* text, double value, char* memBlock, int memBlockSize) noexcept {
    OSTREL_FRAME_ARGS(text, value, memBlock, memBlockSize);
    if (!text || !memBlock) return -1;
    // text is the figure's source OBJ; memBlock holds the new positions and is rewritten.
    return frame::guarded([&] { return obj::OutKelmorOBJ(text, memBlock); });
}

extern "C" float AppendOBJ(const char* text, double value, char* memBlock, int memBlockSize) noexcept {
    OSTREL_FRAME_ARGS(text, value, memBlock, memBlockSize);
    if (!text || !memBlock) return frame::kMissingArgumentMeshFiles;
    const int32_t shift = ostrel::trunc(value);
    return frame::guarded([&] { return obj::LeanAddGroupOBJ(text, shift, memBlock); });
}

extern "C" float CreateFacesList(const char* text, double value, char* memBlock, int memBlockSize) noexcept {
    OSTREL_FRAME_ARGS(text, value, memBlock, memBlockSize);
    return frame::guarded([&] { return obj::CreateGroupFacesList(); });
}

extern "C" float GetFaces(const char* text, double value, char* memBlock, int memBlockSize) noexcept {
    OSTREL_FRAME_ARGS(text, value, memBlock, memBlockSize);
    if (!text) return -1;
    return frame::guarded([&] { return obj::getGroupFaces(text); });
}

extern "C" float ScaleUVs(const char* text, double value, char* memBlock, int memBlockSize) noexcept {
    OSTREL_FRAME_ARGS(text, value, memBlock, memBlockSize);
    if (!text || !memBlock) return obj::kScaleMissingPath;
    return frame::guarded([&] { return obj::scaleUVs(text, value, memBlock); });
}
