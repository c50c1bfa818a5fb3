#pragma once
// The result codes that mean the same wherever they are answered. Every other
// code belongs to its operation and is declared beside it, one name each, as
// k<Operation><Condition>; the frames' own codes are in host/frame.hpp.

namespace ostrel {

inline constexpr float kMeshOrBitmapCannotOpen = -1760.0f;  // a mesh or bitmap input cannot be opened for reading
inline constexpr float kBlockMissing = -18.0f;              // a required block is missing, or does not fit its file
inline constexpr float kOutputCannotWrite = -5.0f;          // an output cannot be created or written completely

}  // namespace ostrel
