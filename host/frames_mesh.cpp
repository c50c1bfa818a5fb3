// Frames of the mesh interchange exports: Tev merging, swap and align.

#include "host/frame.hpp"
#include "mesh/mesh_buffers.hpp"
#include "mesh/mesh_state.hpp"
#include "mesh/swap_align.hpp"

using namespace ostrel;

extern "C" float clearVectors(const char* text, double value, char* memBlock, int memBlockSize) noexcept {
    OSTREL_FRAME_ARGS(text, value, memBlock, memBlockSize);
    mesh::clearTevVectors();
    return 0;
}

extern "C" float setGroups(const char* text, double value, char* memBlock, int memBlockSize) noexcept {
    OSTREL_FRAME_ARGS(text, value, memBlock, memBlockSize);
    if (!(value >= 0)) return -1;
    mesh::meshState().isGroups = ostrel::trunc(value);
    return 0;
}

extern "C" float addTevFile(const char* text, double value, char* memBlock, int memBlockSize) noexcept {
    OSTREL_FRAME_ARGS(text, value, memBlock, memBlockSize);
    const int32_t offset = ostrel::trunc(value);
    if (offset < 0) return -1;
    if (!text) return frame::kMissingArgumentMeshFiles;
    return frame::guarded([&] { return mesh::AddTev(text, offset, mesh::meshState().isGroups); });
}

extern "C" float vectorsToTev(const char* text, double value, char* memBlock, int memBlockSize) noexcept {
    OSTREL_FRAME_ARGS(text, value, memBlock, memBlockSize);
    if (!text) return frame::kMissingArgumentMeshFiles;
    return frame::guarded([&] { return mesh::WriteTev(text); });
}

extern "C" float getFaceIDs(const char* text, double value, char* memBlock, int memBlockSize) noexcept {
    OSTREL_FRAME_ARGS(text, value, memBlock, memBlockSize);
    if (!text) return frame::kMissingArgumentMeshFiles;
    return frame::guarded([&] { return mesh::GetFaceIDsTev(text, value); });
}

extern "C" float AlignVertices_Tev(const char* text, double value, char* memBlock, int memBlockSize) noexcept {
    OSTREL_FRAME_ARGS(text, value, memBlock, memBlockSize);
    if (!text) return frame::kMissingArgumentVertexTools;
    const mesh::AxisAndTolerance align = mesh::splitAlignValue(value);
    return frame::guarded([&] { return mesh::alignVerticesTev(text, align.tolerance, align.axis); });
}

extern "C" float SwapVertices_Tev(const char* text, double value, char* memBlock, int memBlockSize) noexcept {
    OSTREL_FRAME_ARGS(text, value, memBlock, memBlockSize);
    if (!text || !memBlock) return frame::kMissingArgumentVertexTools;
    // The Tev file changed in place is memBlock; text supplies the positions.
    return frame::guarded([&] { return mesh::swapVerticesTev(memBlock, text); });
}
