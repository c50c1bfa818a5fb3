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

#include "core/result_codes.hpp"

namespace ostrel::project {

inline constexpr size_t kPackageSlots = 26;
inline constexpr size_t kSizeTableBytes = kPackageSlots * 4;

inline constexpr float kPackageNoPath = -1.0f;        // text or memBlock missing
// The package path is shorter than 3 characters, ends in "dat", or the package
// or its size table would be one of the slot files (base path + suffix).
inline constexpr float kPackageBadPath = -3.0f;
// kOutputCannotWrite: SaveQPP cannot write the package, OpenQPP an unpacked file.
inline constexpr float kPackageCannotOpen = -9.0f;    // OpenQPP: the package cannot be read
inline constexpr float kSizeTableBad = -12.0f;        // shorter than 104 bytes, or a negative size
inline constexpr float kPackageShort = -13.0f;        // the package holds fewer bytes than the table promises
inline constexpr float kSizeTableCannotUse = -15.0f;  // SaveQPP: cannot write it; OpenQPP: cannot read it

float SaveQPP(const char* basePath, const char* packagePath);
float OpenQPP(const char* packagePath, const char* basePath);

}  // namespace ostrel::project
