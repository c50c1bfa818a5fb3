#include "project/scene_package_internal.hpp"

#include <cstring>

#include "core/byte_cursor.hpp"
#include "core/file_io.hpp"
#include "platform/platform.hpp"

namespace ostrel::project {
namespace {

constexpr std::string_view kSuffixes[kPackageSlots] = {
    "1.kel", "1.dat", ".kel",  ".dat",  "2.kel",  "2.dat",  "3.kel",  "3.dat",  "4.kel",
    "4.dat", "5.kel", "5.dat", "6.kel", "6.dat",  "7.kel",  "7.dat",  "8.kel",  "8.dat",
    "9.kel", "9.dat", "10.kel", "10.dat", "11.kel", "11.dat", "12.kel", "12.dat",
};

std::string slotPath(std::string_view basePath, size_t slot) {
    std::string path(basePath);
    path += kSuffixes[slot];
    return path;
}

// Copies every slot file that can be opened into the package and records its
// size. False when a slot file that opened cannot be read to its end (the
// package would silently lack it), or is too long for its 32-bit size field.
bool packSlots(std::string_view basePath, OutputFile& package, SlotSizes& sizes) {
    sizes.fill(0);
    for (size_t slot = 0; slot < kPackageSlots; ++slot) {
        File file = File::openInput(slotPath(basePath, slot).c_str());
        if (!file.isOpen()) continue;   // a slot file that cannot be opened is passed over
        const auto bytes = readWholeFile(file);
        if (!bytes) return false;
        if (bytes->size() > size_t(INT32_MAX)) return false;
        package.write(bytes->bytes());
        sizes[slot] = int32_t(bytes->size());
    }
    return true;
}

bool samePath(const std::string& a, const std::string& b) {
    return a == b || sameExistingFile(a.c_str(), b.c_str());
}

}  // namespace

bool packageCollidesWithSlots(std::string_view basePath, const std::string& packagePath, const std::string& tablePath) {
    for (size_t slot = 0; slot < kPackageSlots; ++slot) {
        const std::string path = slotPath(basePath, slot);
        if (samePath(path, packagePath) || samePath(path, tablePath)) return true;
    }
    return false;
}

std::string_view slotSuffix(size_t slot) noexcept { return slot < kPackageSlots ? kSuffixes[slot] : std::string_view{}; }

std::optional<std::string> sizeTablePath(std::string_view packagePath) {
    if (packagePath.size() < 3 || packagePath.substr(packagePath.size() - 3) == "dat") return std::nullopt;
    std::string path(packagePath.substr(0, packagePath.size() - 3));
    path += "dat";
    return path;
}

std::optional<SlotSizes> parseSizeTable(std::span<const uint8_t> table) noexcept {
    if (table.size() < kSizeTableBytes) return std::nullopt;
    SlotSizes sizes;
    for (size_t slot = 0; slot < kPackageSlots; ++slot) {
        sizes[slot] = loadI32le(table.data() + slot * 4);
        if (sizes[slot] < 0) return std::nullopt;
    }
    return sizes;
}

float SaveQPP(const char* basePath, const char* packagePath) {
    const auto tablePath = sizeTablePath(packagePath);
    if (!tablePath || packageCollidesWithSlots(basePath, packagePath, *tablePath)) return kPackageBadPath;
    OutputFile package;
    if (!package.open(packagePath)) return ostrel::kOutputCannotWrite;
    SlotSizes sizes;
    if (!packSlots(basePath, package, sizes) || !package.commit()) return ostrel::kOutputCannotWrite;

    uint8_t table[kSizeTableBytes];
    for (size_t slot = 0; slot < kPackageSlots; ++slot) storeU32le(table + slot * 4, uint32_t(sizes[slot]));
    return writeWholeFile(tablePath->c_str(), table) ? 0.0f : kSizeTableCannotUse;
}

float OpenQPP(const char* packagePath, const char* basePath) {
    const auto tablePath = sizeTablePath(packagePath);
    if (!tablePath || packageCollidesWithSlots(basePath, packagePath, *tablePath)) return kPackageBadPath;
    const auto table = readWholeFile(tablePath->c_str());
    if (!table) return kSizeTableCannotUse;
    const auto sizes = parseSizeTable(table->bytes());
    if (!sizes) return kSizeTableBad;
    const auto package = readWholeFile(packagePath);
    if (!package) return kPackageCannotOpen;

    // Every slot is checked against the package before any file is written.
    uint64_t total = 0;
    for (int32_t size : *sizes) total += uint64_t(size);
    if (total > package->size()) return kPackageShort;

    size_t offset = 0;
    for (size_t slot = 0; slot < kPackageSlots; ++slot) {
        const size_t size = size_t((*sizes)[slot]);
        if (size == 0) continue;
        if (!writeWholeFile(slotPath(basePath, slot).c_str(), package->bytes().subspan(offset, size)))
            return ostrel::kOutputCannotWrite;
        offset += size;
    }
    return 0.0f;
}

}  // namespace ostrel::project
