// The file-access layer on POSIX systems (Linux, macOS): descriptors, opened
// without blocking and checked with fstat before any byte is read.

#include <fcntl.h>
#ifdef __linux__
#include <linux/fs.h>
#include <sys/ioctl.h>
#endif
#ifdef __APPLE__
#include <copyfile.h>
#endif
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdio>
#include <random>

#include "core/file_system.hpp"
#include "core/path_text.hpp"

namespace ostrel {
namespace {

int fd(File::Native native) noexcept { return static_cast<int>(native); }

// O_NONBLOCK: opening a FIFO must not wait for a writer; the descriptor is
// refused right after unless it is a regular file, for which the flag means
// nothing.
File::Native openRegular(const char* path, int access) noexcept {
    if (!path || !*path) return -1;
    int descriptor;
    do {
        descriptor = ::open(path, access | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    } while (descriptor < 0 && errno == EINTR);
    if (descriptor < 0) return -1;
    struct stat st;
    if (::fstat(descriptor, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(descriptor);
        return -1;
    }
    return descriptor;
}

// Largest single read or write: some systems refuse counts of 2 GiB or more.
constexpr size_t kMaxTransfer = size_t(1) << 30;
#ifdef __linux__
// One step of the kernel's copy. After each step the step's write-back is
// started, so the disk writes while the next step is copied rather than all
// at once when the finished file is renamed over its target (ext4 flushes a
// file that replaces another at the rename); large enough that the calls
// themselves cost nothing.
constexpr size_t kCopyStep = size_t(64) << 20;
#endif

}  // namespace

File File::openInput(const char* path) { return File(openRegular(path, O_RDONLY)); }

File File::openForUpdate(const char* path) { return File(openRegular(path, O_RDWR)); }

File File::openOrCreateForUpdate(const char* path, bool& created) {
    created = false;
    File existing = openForUpdate(path);
    if (existing.isOpen() || !path || !*path) return existing;
    // O_EXCL: a name taken meanwhile (or a dangling link) is not created
    // through.
    const int descriptor = ::open(path, O_RDWR | O_CREAT | O_EXCL | O_NOCTTY | O_CLOEXEC, 0666);
    if (descriptor < 0) return File();
    created = true;
    return File(descriptor);
}

std::optional<uint64_t> File::size() const {
    struct stat st;
    if (!isOpen() || ::fstat(fd(native_), &st) != 0 || st.st_size < 0) return std::nullopt;
    return static_cast<uint64_t>(st.st_size);
}

bool File::seek(uint64_t offset) {
    if (!isOpen() || offset > uint64_t(INT64_MAX)) return false;
    return ::lseek(fd(native_), static_cast<off_t>(offset), SEEK_SET) != off_t(-1);
}

std::optional<size_t> File::readSome(void* data, size_t size) {
    if (!isOpen()) return std::nullopt;
    for (;;) {
        const ssize_t got = ::read(fd(native_), data, std::min(size, kMaxTransfer));
        if (got >= 0) return static_cast<size_t>(got);
        if (errno != EINTR) return std::nullopt;
    }
}

bool File::writeAll(const void* data, size_t size) {
    if (!isOpen()) return false;
    const auto* bytes = static_cast<const uint8_t*>(data);
    while (size > 0) {
        const ssize_t put = ::write(fd(native_), bytes, std::min(size, kMaxTransfer));
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) return false;
        bytes += put;
        size -= size_t(put);
    }
    return true;
}

bool File::truncate(uint64_t length) {
    return isOpen() && length <= uint64_t(INT64_MAX) && ::ftruncate(fd(native_), static_cast<off_t>(length)) == 0;
}

bool File::close() {
    if (!isOpen()) return true;
    // POSIX leaves the descriptor closed even when close() reports an error.
    const bool ok = ::close(fd(std::exchange(native_, kClosed))) == 0;
    return ok;
}

std::optional<std::string> FileSystem::resolveLinks(const std::string& path) {
    std::string current = path;
    // The limit of the systems themselves (SYMLOOP_MAX is 40 on Linux).
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st;
        if (::lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return current;
        std::string target(size_t(st.st_size > 0 ? st.st_size : PATH_MAX), '\0');
        const ssize_t length = ::readlink(current.c_str(), target.data(), target.size());
        if (length <= 0 || size_t(length) > target.size()) return std::nullopt;
        target.resize(size_t(length));
        // A relative link is read from the folder that holds it.
        current = target.front() == '/' ? target : std::string(folderPart(current)) + target;
    }
    return std::nullopt;
}

FileSystem::Target FileSystem::inspect(const std::string& path) {
    struct stat st;
    if (::stat(path.c_str(), &st) != 0) return {errno == ENOENT ? Kind::Missing : Kind::Other, false};
    if (!S_ISREG(st.st_mode)) return {Kind::Other, false};
    return {Kind::RegularFile, ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0};
}

FileSystem::Created FileSystem::createExclusive(const std::string& path, File& file, Access access) {
    const mode_t mode = access == Access::Private ? 0600 : 0666;
    const int descriptor = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC, mode);
    if (descriptor < 0) return errno == EEXIST ? Created::NameTaken : Created::No;
    file = File(descriptor);
    return Created::Yes;
}

bool FileSystem::takeOwnerAndMode(File& file, const std::string& from) noexcept {
    const int descriptor = fd(file.native());
    struct stat old, now;
    if (::stat(from.c_str(), &old) != 0 || ::fstat(descriptor, &now) != 0) return false;
    // Only what differs is changed: a caller may always keep its own name on
    // its own file, and a file system without owners has one for all files.
    const bool ownerDiffers = now.st_uid != old.st_uid, groupDiffers = now.st_gid != old.st_gid;
    if ((ownerDiffers || groupDiffers) &&
        ::fchown(descriptor, ownerDiffers ? old.st_uid : uid_t(-1), groupDiffers ? old.st_gid : gid_t(-1)) != 0)
        return false;
    const mode_t wanted = old.st_mode & 0777;
    if (::fchmod(descriptor, wanted) == 0) return true;
    // A file system without modes gives every file the same one and may
    // refuse to change it: the new file then has the old file's mode too.
    return ::fstat(descriptor, &now) == 0 && (now.st_mode & 0777) == wanted;
}

bool FileSystem::replace(const std::string& from, const std::string& to) noexcept {
    return ::rename(from.c_str(), to.c_str()) == 0;
}

bool FileSystem::flushToDisk(File& file) noexcept {
    const int descriptor = fd(file.native());
#if defined(__APPLE__)
    // fsync only hands the bytes to the drive, whose cache a power cut
    // empties; F_FULLFSYNC waits for the drive itself. File systems that do
    // not take it (some network shares) get the plain fsync.
    if (::fcntl(descriptor, F_FULLFSYNC) == 0) return true;
    if (errno != ENOTSUP && errno != EINVAL && errno != ENOTTY) return false;
    return ::fsync(descriptor) == 0;
#elif defined(__linux__)
    // The data and the length: the times that fsync would add are not needed
    // to read the file back.
    int result;
    do {
        result = ::fdatasync(descriptor);
    } while (result != 0 && errno == EINTR);
    return result == 0;
#else
    return ::fsync(descriptor) == 0;
#endif
}

void FileSystem::startWriteBack([[maybe_unused]] File& file) noexcept {
#ifdef __linux__
    // Only starts the writing; its result shows in the flush that follows.
    ::sync_file_range(fd(file.native()), 0, 0, SYNC_FILE_RANGE_WRITE);
#endif
}

void FileSystem::flushFolder(const std::string& folder) noexcept {
    const int descriptor = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0) return;
#if defined(__APPLE__)
    if (::fcntl(descriptor, F_FULLFSYNC) != 0) ::fsync(descriptor);
#else
    [[maybe_unused]] const int flushed = ::fsync(descriptor);
#endif
    ::close(descriptor);
}

int FileSystem::copyInKernel([[maybe_unused]] File& in, [[maybe_unused]] File& out) noexcept {
#ifdef __linux__
    const int from = fd(in.native()), to = fd(out.native());
    const off_t start = ::lseek(from, 0, SEEK_CUR);
    struct stat source, target;
    if (start < 0 || ::fstat(from, &source) != 0 || ::fstat(to, &target) != 0) return 0;
    // A whole file onto an empty one: where the file system shares extents
    // between files (Btrfs, XFS), the copy is a clone and moves no data.
    // Refused or unsupported, nothing was written and the copy below runs.
    if (start == 0 && target.st_size == 0 && source.st_size > 0 && ::ioctl(to, FICLONE, from) == 0) {
        ::lseek(from, 0, SEEK_END);
        ::lseek(to, 0, SEEK_END);
        return 1;
    }
    // The kernel's copy: on file systems without extent sharing the bytes
    // move from cache to cache without passing through this process.
    // The copy ends at the length the file had when it began: a file another
    // program keeps appending to cannot keep it going.
    bool copiedAny = false;
    off_t written = ::lseek(to, 0, SEEK_CUR);
    if (written < 0) return 0;
    for (off_t left = std::max<off_t>(source.st_size - start, 0); left > 0;) {
        const ssize_t n =
            ::copy_file_range(from, nullptr, to, nullptr, size_t(std::min<off_t>(left, off_t(kCopyStep))), 0);
        if (n > 0) {
            copiedAny = true;
            left -= n;
            // Only starts the writing; a failure shows at the close or never
            // matters, as for any cached write.
            ::sync_file_range(to, written, n, SYNC_FILE_RANGE_WRITE);
            written += n;
            continue;
        }
        if (n == 0) return 1;
        if (errno == EINTR) continue;
        // Unsupported between these files: nothing moved yet, so copying by
        // hand from here gives the same bytes.
        if (!copiedAny && (errno == EXDEV || errno == ENOSYS || errno == EINVAL || errno == EOPNOTSUPP)) return 0;
        return -1;
    }
    return 1;
#elif defined(__APPLE__)
    // The system's copy of a whole file onto an empty one (the only case
    // where its choice of start cannot matter). Should it fail, the output is
    // our own temporary file: emptied again, it takes the copy by hand.
    const int from = fd(in.native()), to = fd(out.native());
    struct stat target;
    if (::lseek(from, 0, SEEK_CUR) != 0 || ::fstat(to, &target) != 0 || target.st_size != 0) return 0;
    if (::fcopyfile(from, to, nullptr, COPYFILE_DATA) == 0) {
        ::lseek(from, 0, SEEK_END);
        ::lseek(to, 0, SEEK_END);
        return 1;
    }
    if (::ftruncate(to, 0) != 0 || ::lseek(to, 0, SEEK_SET) != 0 || ::lseek(from, 0, SEEK_SET) != 0) return -1;
    return 0;
#else
    return 0;
#endif
}

void FileSystem::releaseCache([[maybe_unused]] const std::string& path) noexcept {
#ifdef __linux__
    // Cached pages of a file about to be replaced are given back first, so
    // the new file's pages reuse memory just freed instead of memory never
    // touched (on virtual machines the slower kind). Nothing of the file
    // itself changes; pages not yet written stay.
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (descriptor < 0) return;
    struct stat st;
    if (::fstat(descriptor, &st) == 0 && S_ISREG(st.st_mode)) ::posix_fadvise(descriptor, 0, 0, POSIX_FADV_DONTNEED);
    ::close(descriptor);
#endif
}

uint64_t FileSystem::randomBits() noexcept {
    try {
        std::random_device device;
        return (uint64_t(device()) << 32) ^ device();
    } catch (...) {
        // No entropy source: the exclusive creation still keeps the name safe.
        return uint64_t(::getpid()) * 0x9E3779B97F4A7C15ull ^
               uint64_t(std::chrono::steady_clock::now().time_since_epoch().count());
    }
}

bool sameExistingFile(const char* a, const char* b) noexcept {
    struct stat sa, sb;
    if (!a || !b || ::stat(a, &sa) != 0 || ::stat(b, &sb) != 0) return false;
    return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

bool renameWithoutReplacing(const char* from, const char* to) noexcept {
    if (!from || !to) return false;
#if defined(__APPLE__)
    return ::renamex_np(from, to, RENAME_EXCL) == 0;
#else
#if defined(__linux__) && defined(RENAME_NOREPLACE)
    if (::renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE) == 0) return true;
    if (errno != EINVAL && errno != ENOSYS) return false;
#endif
    // A file system without the no-replace form: refuse a name that is taken,
    // a dangling link included.
    struct stat st;
    if (::lstat(to, &st) == 0 || errno != ENOENT) return false;
    return ::rename(from, to) == 0;
#endif
}

bool removeFile(const char* path) noexcept { return path && std::remove(path) == 0; }

NameLookup lookUpName(const char* path) noexcept {
    struct stat st;
    if (!path) return NameLookup::Unknown;
    if (::lstat(path, &st) == 0) return NameLookup::Taken;
    return errno == ENOENT ? NameLookup::Free : NameLookup::Unknown;
}

}  // namespace ostrel
