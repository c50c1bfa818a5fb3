#pragma once
// The package's slot names, size table and path checks, for the tests.

#include "project/scene_package.hpp"

namespace ostrel::project {

// The suffix that slot k appends to the base path: part 1 first, then the
// unnumbered scene pair, then parts 2 to 12; each part as ".kel" then ".dat".
std::string_view slotSuffix(size_t slot) noexcept;

// The size table's path, or nothing when the package path cannot have one of
// its own (shorter than three characters, or already ending in "dat").
std::optional<std::string> sizeTablePath(std::string_view packagePath);

// True when the package or its size table is one of the 26 slot files of
// `basePath`, by name or as the same existing file: saving would overwrite a
// file it packs, unpacking would overwrite the package or its table.
bool packageCollidesWithSlots(std::string_view basePath, const std::string& packagePath, const std::string& tablePath);

using SlotSizes = std::array<int32_t, kPackageSlots>;

// Reads a size table: nothing when it is shorter than 104 bytes or holds a
// negative size. Bytes after the 104th are not read.
std::optional<SlotSizes> parseSizeTable(std::span<const uint8_t> table) noexcept;

}  // namespace ostrel::project
