#pragma once
// Rewriting OBJ files line by line: vertex swap between two OBJ files, the
// export of new positions into a figure's source OBJ, and appending an OBJ to
// another as a new group.

#include <cstdint>
#include <string_view>

#include "core/file_io.hpp"

namespace ostrel::obj {

// SwapVertices (the OBJ swap; the Tev swap's codes are kTevSwap...).
inline constexpr float kObjSwapCannotOpenA = -2.0f;
inline constexpr float kObjSwapNoVerticesInA = -4.0f;
inline constexpr float kObjSwapCannotOpenB = -8.0f;
inline constexpr float kObjSwapNoVerticesInB = -16.0f;
inline constexpr float kObjSwapCountsDiffer = -32.0f;
inline constexpr float kObjSwapNothingElseInB = -64.0f;
inline constexpr float kObjSwapCannotWriteA = -128.0f;
// PoserExportOBJ.
inline constexpr float kPoserCannotOpenSource = -1.0f;
inline constexpr float kPoserCannotOpenPositions = -11.0f;
inline constexpr float kPoserCountMismatch = -100.0f;
inline constexpr float kPoserCannotWrite = -3.0f;
// AppendOBJ.
inline constexpr float kAppendCannotOpenSource = -1.0f;
inline constexpr float kAppendCannotWriteTarget = -2.0f;
inline constexpr float kAppendSameFile = -3.0f;

inline constexpr std::string_view kSwapHeader = "# written by Halvrin plugin for Kelmor";
inline constexpr std::string_view kPoserHeader = "# file written by Kelmor 2X5 Halvrin plugin";
inline constexpr std::string_view kPoserMakerLine = "# https://www.kelmor.example";

// Rewrites A as its own vertex lines followed by B's lines other than vertex
// lines and comments.
float LeanSwapVerts(const char* pathA, const char* pathB);
// Rewrites P as S with the vertex lines used by S's faces replaced, in
// ascending order, by P's vertex lines.
float OutKelmorOBJ(const char* sourcePath, const char* positionsPath);
// Appends S's vertex lines and its faces shifted by `shift` to T as a group
// named after S's file, and records the group in the group list. Returns
// shift plus the vertex lines appended.
float LeanAddGroupOBJ(const char* sourcePath, int32_t shift, const char* targetPath);

}  // namespace ostrel::obj
