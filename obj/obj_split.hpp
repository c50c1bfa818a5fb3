#pragma once
// Splitting an OBJ by group into OBJ files (by its own "g" lines, or by the
// group list's face ranges) and into points files (by "g" lines, or a Tev
// mesh's vertices by the group list's counts).

#include "core/result_codes.hpp"

namespace ostrel::obj {

// SplitOBJ.
inline constexpr float kSplitCannotOpenInput = -1.0f;
inline constexpr float kSplitGroupWithoutVertices = -2.0f;
inline constexpr float kSplitCannotWriteOutput = -3.0f;
// ListSplitOBJtoOBJ and ListSplitOBJtoTev: the group list is empty.
inline constexpr float kSplitListEmpty = -5.0f;
// ListSplitOBJtoTev, besides kMeshOrBitmapCannotOpen and kBlockMissing (no
// points block in the Tev file, or one that does not fit).
inline constexpr float kListSplitTevTooFewVertices = -32.0f;

// Writes, for each "g" group of the OBJ at `inputPath`, the vertex lines its
// faces use and its faces renumbered, into the folder of `outputPathInFolder`.
float LeanSplitOBJ(const char* inputPath, const char* outputPathInFolder);
// Writes, for each name of the group list, the vertex lines used by the faces
// of its face range; no face lines.
float ListSplitOBJ(const char* inputPath, const char* outputPathInFolder);
// Writes, for each "g" group, the positions of the vertices its faces use as
// a points file.
float LeanSplitTev(const char* inputPath, const char* outputPathInFolder);
// Hands the Tev mesh's vertices out in consecutive runs, one points file per
// group-list record, each record receiving (endFace - startFace) vertices.
float ListSplitTev(const char* tevPath, const char* outputPathInFolder);

}  // namespace ostrel::obj
