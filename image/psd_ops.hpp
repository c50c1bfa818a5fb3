#pragma once
// The PSD pixel operations: each works on the first three planes of its
// file(s) as red, green and blue and writes the result through a temporary
// file, so a failed call leaves every existing file as it was. Those that
// need each pixel once or a few rows (merge, heal, swap, stencil, grayscale,
// thumbnail) stream the planes in slices and hold no copy of the image; the
// edge fixer, whose passes reach across the image, loads the file whole.
// Results: 0, or the codes of image/psd_file.hpp.

#include <cstdint>

#include "image/psd_file.hpp"

namespace ostrel::image {

// Pixels of A that are not the key colour replace B's; the result (B's file
// with those pixels) is stored under A's path.
float mergePSD(const char* pathA, const char* pathB, float keyColour);

// Heals B's left and right edges (leftRight) or top and bottom edges from
// pixels near column or row 50 of A; the result is stored under A's path.
float mergeSeamlessPSD(const char* pathA, const char* pathB, bool leftRight);

// Repeats row 4 over rows 0 to 2 and row rows-3 over the last two rows, in
// the file itself; only those rows are read and written.
float healImportFile(const char* path);

// Closes black gaps next to coloured areas by up to three pixels per direction.
float fixEdgesPSD(const char* path);

// Writes a one-plane grayscale copy with the given black level (clamped to 0..255).
float grayscalePSD(const char* inputPath, const char* outputPath, double blackLevel);

enum class ConvertMode { Swap, Stencil };
// Swap: pixels of the key colour take the new colour. Stencil: every other
// pixel takes it.
float convertPSD(const char* path, float keyColour, float newColour, ConvertMode mode);

}  // namespace ostrel::image
