#pragma once
// The scene package: up to 26 files sharing one base path, stored back to back
// in one package file, with their sizes in a companion size table (the
// package path with its last three characters replaced by "dat").

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace ostrel::project {

inline constexpr size_t kPackageSlots = 26;
inline constexpr size_t kSizeTableBytes = kPackageSlots * 4;

// The suffix that slot k appends to the base path: part 1 first, then the
// unnumbered scene pair, then parts 2 to 12; each part as ".kel" then ".dat".
std::string_view slotSuffix(size_t slot) noexcept;

inline constexpr float kPackageNoPath = -1.0f;        // text or memBlock missing
// The package path is shorter than 3 characters, ends in "dat", or the package
// or its size table would be one of the slot files (base path + suffix).
inline constexpr float kPackageBadPath = -3.0f;
inline constexpr float kPackageCannotWrite = -5.0f;   // SaveQPP: package; OpenQPP: an unpacked file
inline constexpr float kPackageCannotOpen = -9.0f;    // OpenQPP: the package cannot be read
inline constexpr float kSizeTableBad = -12.0f;        // shorter than 104 bytes, or a negative size
inline constexpr float kPackageShort = -13.0f;        // the package holds fewer bytes than the table promises
inline constexpr float kSizeTableCannotUse = -15.0f;  // SaveQPP: cannot write it; OpenQPP: cannot read it

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

float SaveQPP(const char* basePath, const char* packagePath);
float OpenQPP(const char* packagePath, const char* basePath);

}  // namespace ostrel::project
