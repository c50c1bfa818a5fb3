// Frames of the Tev to OBJ exports.

#include "host/frame.hpp"
#include "mesh/tev_to_obj.hpp"

using namespace ostrel;

extern "C" float tevtoOBJ(const char* text, double value, char* memBlock, int memBlockSize) noexcept {
    OSTREL_FRAME_ARGS(text, value, memBlock, memBlockSize);
    if (!text || !memBlock) return frame::kMissingArgumentMeshFiles;
    return frame::guarded([&] { return mesh::writeOBJfromTev(text, memBlock); });
}

extern "C" float outMRGB(const char* text, double value, char* memBlock, int memBlockSize) noexcept {
    OSTREL_FRAME_ARGS(text, value, memBlock, memBlockSize);
    if (!text || !memBlock) return frame::kMissingArgumentMeshFiles;
    return frame::guarded([&] { return mesh::ReadVertColorTev(text, memBlock); });
}
