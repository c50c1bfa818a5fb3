#pragma once
// The group faces table (name to face count, from the group list) and UV scaling.

#include <string_view>

namespace ostrel::obj {

// CreateFacesList / GetFaces.
inline constexpr float kFacesListEmpty = -5.0f;
inline constexpr float kFacesTableEmpty = -1.0f;
inline constexpr float kFacesNameUnknown = -1.0f;
// ScaleUVs.
inline constexpr float kScaleCannotOpenInput = -1.0f;
inline constexpr float kScaleCannotWriteOutput = -2.0f;
// A missing path is refused: nothing can be read or written, and reporting
// success would hide the script's mistake.
inline constexpr float kScaleMissingPath = -3.0f;

// Rebuilds the table from the group list; for a name that occurs more than
// once the first record's count is kept. The table is left as it was when the
// list is empty.
float CreateGroupFacesList();
float getGroupFaces(std::string_view name);

// Copies the OBJ, scaling each "vt" line's u and v about 0.5 by `scale` when
// scale > 0. Input and output may be one file: the input is read whole first
// and the output replaces the file only when it is complete.
float scaleUVs(const char* inputPath, double scale, const char* outputPath);

}  // namespace ostrel::obj
