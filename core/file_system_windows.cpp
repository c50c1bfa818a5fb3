// The file-access layer on Windows: HANDLEs from the ANSI file calls, with
// paths in the ANSI code page as the host passes them. A handle that is not a
// disk file (a console, a pipe, a device such as NUL) is refused at open.

#include <windows.h>

#include <cstdio>
#include <random>

#include "core/file_system.hpp"

namespace ostrel {
namespace {

HANDLE handle(File::Native native) noexcept { return reinterpret_cast<HANDLE>(native); }
File::Native toNative(HANDLE h) noexcept { return reinterpret_cast<File::Native>(h); }

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
// ReadFile and WriteFile take 32-bit counts.
constexpr size_t kMaxTransfer = size_t(1) << 30;

bool isDiskFile(HANDLE h) noexcept {
    BY_HANDLE_FILE_INFORMATION info;
    return GetFileType(h) == FILE_TYPE_DISK && GetFileInformationByHandle(h, &info) &&
           !(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

HANDLE openRegular(const char* path, DWORD access, DWORD disposition) noexcept {
    if (!path || !*path) return INVALID_HANDLE_VALUE;
    HANDLE h = CreateFileA(path, access, kShareAll, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return h;
    if (!isDiskFile(h)) {
        CloseHandle(h);
        return INVALID_HANDLE_VALUE;
    }
    return h;
}

}  // namespace

File File::openInput(const char* path) { return File(toNative(openRegular(path, GENERIC_READ, OPEN_EXISTING))); }

File File::openForUpdate(const char* path) {
    return File(toNative(openRegular(path, GENERIC_READ | GENERIC_WRITE, OPEN_EXISTING)));
}

File File::openOrCreateForUpdate(const char* path, bool& created) {
    created = false;
    File existing = openForUpdate(path);
    if (existing.isOpen() || !path || !*path) return existing;
    HANDLE h = openRegular(path, GENERIC_READ | GENERIC_WRITE, CREATE_NEW);
    created = h != INVALID_HANDLE_VALUE;
    return File(toNative(h));
}

std::optional<uint64_t> File::size() const {
    LARGE_INTEGER size;
    if (!isOpen() || !GetFileSizeEx(handle(native_), &size) || size.QuadPart < 0) return std::nullopt;
    return static_cast<uint64_t>(size.QuadPart);
}

bool File::seek(uint64_t offset) {
    if (!isOpen() || offset > uint64_t(INT64_MAX)) return false;
    LARGE_INTEGER at;
    at.QuadPart = static_cast<LONGLONG>(offset);
    return SetFilePointerEx(handle(native_), at, nullptr, FILE_BEGIN) != 0;
}

std::optional<size_t> File::readSome(void* data, size_t size) {
    if (!isOpen()) return std::nullopt;
    DWORD got = 0;
    if (!ReadFile(handle(native_), data, static_cast<DWORD>(std::min(size, kMaxTransfer)), &got, nullptr))
        return std::nullopt;
    return static_cast<size_t>(got);
}

bool File::writeAll(const void* data, size_t size) {
    if (!isOpen()) return false;
    const auto* bytes = static_cast<const uint8_t*>(data);
    while (size > 0) {
        DWORD put = 0;
        if (!WriteFile(handle(native_), bytes, static_cast<DWORD>(std::min(size, kMaxTransfer)), &put, nullptr) ||
            put == 0)
            return false;
        bytes += put;
        size -= put;
    }
    return true;
}

bool File::truncate(uint64_t length) {
    return seek(length) && SetEndOfFile(handle(native_)) != 0;
}

bool File::close() {
    if (!isOpen()) return true;
    return CloseHandle(handle(std::exchange(native_, kClosed))) != 0;
}

// Links are not followed here: the builds' users rarely have the right to make
// them, and MoveFileEx replaces a link itself rather than writing through it.
std::optional<std::string> FileSystem::resolveLinks(const std::string& path) { return path; }

FileSystem::Target FileSystem::inspect(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = GetLastError();
        return {error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? Kind::Missing : Kind::Other, false};
    }
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return {Kind::Other, false};
    HANDLE h = CreateFileA(path.c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return {Kind::Other, false};
    const bool disk = isDiskFile(h);
    CloseHandle(h);
    if (!disk) return {Kind::Other, false};
    return {Kind::RegularFile, !(attributes & FILE_ATTRIBUTE_READONLY)};
}

// Windows gives a new file the access rules of its folder, as the replaced
// file had: there is no mode to narrow first.
FileSystem::Created FileSystem::createExclusive(const std::string& path, File& file, Access) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                           nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        return error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS ? Created::NameTaken : Created::No;
    }
    file = File(toNative(h));
    return Created::Yes;
}

// A new file takes its access rules from its folder, as the replaced file
// did; a read-only target is refused before this point.
bool FileSystem::takeOwnerAndMode(File&, const std::string&) noexcept { return true; }

// MOVEFILE_WRITE_THROUGH: the move is on the disk before the call answers,
// so the folder needs no flush of its own.
bool FileSystem::replace(const std::string& from, const std::string& to) noexcept {
    return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

bool FileSystem::flushToDisk(File& file) noexcept { return FlushFileBuffers(handle(file.native())) != 0; }

// The cache manager writes a file behind on its own.
void FileSystem::startWriteBack(File&) noexcept {}

void FileSystem::flushFolder(const std::string&) noexcept {}

int FileSystem::copyInKernel(File&, File&) noexcept { return 0; }

// The cache manager keeps no pages of a closed file to release.
void FileSystem::releaseCache(const std::string&) noexcept {}

uint64_t FileSystem::randomBits() noexcept {
    try {
        std::random_device device;
        return (uint64_t(device()) << 32) ^ device();
    } catch (...) {
        // No entropy source: the exclusive creation still keeps the name safe.
        return uint64_t(GetCurrentProcessId()) * 0x9E3779B97F4A7C15ull ^ GetTickCount64();
    }
}

bool sameExistingFile(const char* a, const char* b) noexcept {
    if (!a || !b) return false;
    auto query = [](const char* path) {
        return CreateFileA(path, FILE_READ_ATTRIBUTES, kShareAll, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS,
                           nullptr);
    };
    File fa(FileSystem::adopt(toNative(query(a)))), fb(FileSystem::adopt(toNative(query(b))));
    BY_HANDLE_FILE_INFORMATION ia, ib;
    if (!fa.isOpen() || !fb.isOpen() || !GetFileInformationByHandle(handle(fa.native()), &ia) ||
        !GetFileInformationByHandle(handle(fb.native()), &ib))
        return false;
    return ia.dwVolumeSerialNumber == ib.dwVolumeSerialNumber && ia.nFileIndexHigh == ib.nFileIndexHigh &&
           ia.nFileIndexLow == ib.nFileIndexLow;
}

// The C runtime's rename() never replaces an existing file on Windows.
bool renameWithoutReplacing(const char* from, const char* to) noexcept {
    return from && to && std::rename(from, to) == 0;
}

bool removeFile(const char* path) noexcept { return path && std::remove(path) == 0; }

NameLookup lookUpName(const char* path) noexcept {
    if (!path) return NameLookup::Unknown;
    if (GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES) return NameLookup::Taken;
    const DWORD error = GetLastError();
    // As ENOENT on POSIX: the name, or a folder on its way, does not exist.
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? NameLookup::Free : NameLookup::Unknown;
}

}  // namespace ostrel
