#pragma once
// Tev to OBJ text: vertex lines, the vertex colours as a block of comment
// lines, and the faces grouped under "#FaceID" comments by the face-id list
// that getFaceIDs built. Also the colour block alone (outMRGB).
//
// The converting reader does not search for blocks: the points block stands
// at offset 32, the colours block right after the points payload and the
// faces block right after the colour entries. Every count and size is checked
// against the file before a byte it points at is read.

#include "core/result_codes.hpp"

namespace ostrel::mesh {

// Codes of the conversions, besides kMeshOrBitmapCannotOpen (the input cannot be read).
inline constexpr float kTevObjNoFaceIds = -18.0f;     // getFaceIDs has not run since the last conversion
inline constexpr float kTevObjCannotWrite = -2.0f;    // the output cannot be created or written
inline constexpr float kTevObjOutOfRange = -20.0f;    // a count or size points outside the file

// The workers behind tevtoOBJ and outMRGB.
float writeOBJfromTev(const char* tevPath, const char* objPath);
float ReadVertColorTev(const char* inputPath, const char* outputPath);

}  // namespace ostrel::mesh
