#pragma once
// The face-line rewrite shared by the swap and the figure export, for the tests.

#include "obj/obj_rewrite.hpp"

namespace ostrel::obj {

// Writes a face line as it is, except that negative (relative) vertex numbers
// become absolute ones, counted from the `verticesSoFar` vertex lines read
// before it. Texture and normal numbers are left as they are. Used where the
// vertex lines of a file move to its start, which would change what a
// relative number names.
void writeFaceLineAbsolute(OutputFile& out, std::string_view line, uint64_t verticesSoFar);

}  // namespace ostrel::obj
