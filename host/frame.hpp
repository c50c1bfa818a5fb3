#pragma once
// What every export frame shares: the declarations of all exports of this
// build (from the one table, as host/ostrel.h declares them too: a signature
// that differs fails to compile), the codes a frame returns itself, and the
// guard that keeps exceptions from crossing into the host.

#include <new>

#include "core/convert.hpp"
#include "core/text_out.hpp"
#include "host/export_table.hpp"
#include "host/ostrel.h"

#define OSTREL_DECLARE_EXPORT(name, ...) \
    extern "C" OSTREL_API float name(const char* text, double value, char* memBlock, int memBlockSize) noexcept;
OSTREL_EXPORT_LIST(OSTREL_DECLARE_EXPORT)
#undef OSTREL_DECLARE_EXPORT

namespace ostrel::frame {

// What a frame answers for a missing text or memBlock, by the family of the
// export; the other exports that refuse a missing pointer answer -1.
// The vertex swap, align and split exports, and AddTPoseRef:
inline constexpr float kMissingArgumentVertexTools = -2.0f;
// The mesh-buffer, Tev-to-OBJ, group-list file and append exports:
inline constexpr float kMissingArgumentMeshFiles = -9.0f;

// Runs a frame's worker call; the host sees a code, never an exception.
template <class Body>
float guarded(Body&& body) noexcept {
    try {
        return body();
    } catch (...) {
        return exports::kInternalFailure.value;
    }
}

}  // namespace ostrel::frame

// Marks a frame's parameters as possibly unused without naming each.
#define OSTREL_FRAME_ARGS(text, value, memBlock, memBlockSize) \
    (void)(text), (void)(value), (void)(memBlock), (void)(memBlockSize)
