// The C library's file-system functions, the allocators and pthread_create,
// defined in this program so that the library code linked into it calls these
// first. Each passes the call on to the next definition (the C library's, or
// the sanitizer's), except the one call an armed run makes fail.
//
// Compiled without _FILE_OFFSET_BITS=64, so that the plain names (open,
// fstat, ...) and their 64-bit twins (open64, fstat64, ...) are separate
// functions here and both can be defined.

#include "tests/faults/interpose.hpp"

#include <dirent.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <pthread.h>
#include <sys/ioctl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

extern "C" {
int __open_2(const char* path, int flags);
int __open64_2(const char* path, int flags);
#if defined(OSTREL_FAULT_ASAN)
void* __interceptor_malloc(size_t size);
void* __interceptor_realloc(void* pointer, size_t size);
void __interceptor_free(void* pointer);
void* __interceptor_aligned_alloc(size_t alignment, size_t size);
#else
void* __libc_malloc(size_t size);
void* __libc_realloc(void* pointer, size_t size);
void* __libc_memalign(size_t alignment, size_t size);
#endif
}

namespace ostrel::faults {
namespace {

// Every interposed name: X(name, kind). The operator new forms count as
// "operator new".
#define OSTREL_FAULT_FUNCTIONS(X)                                                                              \
    X(open, Open) X(open64, Open) X(__open_2, Open) X(__open64_2, Open) X(openat, Open) X(openat64, Open)        \
    X(creat, Open) X(creat64, Open) X(opendir, Open) X(fdopendir, Open)                                        \
    X(read, Read) X(pread, Read) X(pread64, Read) X(readlink, Read) X(readdir, Listing) X(readdir64, Listing)  \
    X(write, Write) X(pwrite, Write) X(pwrite64, Write) X(copy_file_range, Write) X(fallocate, Write)           \
    X(fallocate64, Write) X(posix_fallocate, Write) X(posix_fallocate64, Write) X(ioctl, Write)                \
    X(fsync, Flush) X(fdatasync, Flush)                                                                         \
    X(close, Close) X(closedir, Close)                                                                          \
    X(stat, Stat) X(stat64, Stat) X(fstat, Stat) X(fstat64, Stat) X(lstat, Stat) X(lstat64, Stat)              \
    X(fstatat, Stat) X(fstatat64, Stat) X(statx, Stat)                                                          \
    X(rename, Rename) X(renameat, Rename) X(renameat2, Rename)                                                  \
    X(unlink, Unlink) X(unlinkat, Unlink) X(remove, Unlink) X(rmdir, Unlink)                                   \
    X(mkdir, MakeFolder) X(mkdirat, MakeFolder)                                                                 \
    X(ftruncate, Truncate) X(ftruncate64, Truncate) X(truncate, Truncate) X(truncate64, Truncate)              \
    X(fchmod, Permissions) X(fchown, Permissions) X(chmod, Permissions) X(fchmodat, Permissions)               \
    X(lseek, Seek) X(lseek64, Seek)                                                                             \
    X(access, Access) X(faccessat, Access)                                                                      \
    X(sync_file_range, Advice) X(posix_fadvise, Advice) X(posix_fadvise64, Advice)                             \
    X(mmap, MapMemory) X(mmap64, MapMemory) X(pthread_create, Thread)

enum Function : uint16_t {
#define OSTREL_FAULT_ENUM(name, kind) f_##name,
    OSTREL_FAULT_FUNCTIONS(OSTREL_FAULT_ENUM) f_operator_new, f_malloc, f_realloc, kFunctionCount
#undef OSTREL_FAULT_ENUM
};

const char* const kNames[] = {
#define OSTREL_FAULT_NAME(name, kind) #name,
    OSTREL_FAULT_FUNCTIONS(OSTREL_FAULT_NAME) "operator new", "malloc", "realloc", nullptr};
#undef OSTREL_FAULT_NAME

// The next definition of each name, looked up once before main().
struct Real {
#define OSTREL_FAULT_POINTER(name, kind) decltype(&::name) name;
    OSTREL_FAULT_FUNCTIONS(OSTREL_FAULT_POINTER)
#undef OSTREL_FAULT_POINTER
};
Real real;
// The next definition, looked up now when something calls it before the
// lookup at start (the sanitizer's and the loader's own start).
template <class F>
F next(F& slot, const char* name) noexcept {
    if (!slot) slot = reinterpret_cast<F>(::dlsym(RTLD_NEXT, name));
    return slot;
}
#define NEXT(name) next(real.name, #name)

#if defined(OSTREL_FAULT_ASAN)
// The sanitizer's start looks up names before its allocator may be called;
// what it allocates meanwhile comes from here and is never given back.
alignas(16) char early[1 << 16];
std::atomic<size_t> earlyUsed{0};
bool started = false;
void* earlyAllocation(size_t size) noexcept {
    const size_t at = earlyUsed.fetch_add((size + 15) & ~size_t(15));
    return at + size <= sizeof early ? early + at : nullptr;
}
bool isEarly(const void* p) noexcept { return p >= early && p < early + sizeof early; }
#endif

// False on a new thread until its own start routine runs: what the thread's
// set-up allocates (the sanitizer's, through pthread_getattr_np) is neither
// the library's nor something it could handle, so it is not counted.
thread_local bool threadStarted = false;

struct ThreadStart {
    void* (*start)(void*);
    void* argument;
};

void* startThread(void* opaque) {
    const ThreadStart begin = *static_cast<ThreadStart*>(opaque);
    ::free(opaque);
    threadStarted = true;
    return begin.start(begin.argument);
}

__attribute__((constructor(101))) void findRealFunctions() {
    threadStarted = true;
#if defined(OSTREL_FAULT_ASAN)
    started = true;
#endif
#define OSTREL_FAULT_LOOKUP(name, kind) real.name = reinterpret_cast<decltype(&::name)>(::dlsym(RTLD_NEXT, #name));
    OSTREL_FAULT_FUNCTIONS(OSTREL_FAULT_LOOKUP)
#undef OSTREL_FAULT_LOOKUP
}

void* realMalloc(size_t size) noexcept {
#if defined(OSTREL_FAULT_ASAN)
    if (!started) return earlyAllocation(size);
    return __interceptor_malloc(size);
#else
    return __libc_malloc(size);
#endif
}
void* realRealloc(void* pointer, size_t size) noexcept {
#if defined(OSTREL_FAULT_ASAN)
    if (!started || isEarly(pointer)) {
        void* moved = started ? __interceptor_malloc(size) : earlyAllocation(size);
        if (moved && pointer) std::memcpy(moved, pointer, std::min<size_t>(size, size_t(early + sizeof early - static_cast<char*>(pointer))));
        return moved;
    }
    return __interceptor_realloc(pointer, size);
#else
    return __libc_realloc(pointer, size);
#endif
}
void* realAligned(size_t alignment, size_t size) noexcept {
#if defined(OSTREL_FAULT_ASAN)
    return __interceptor_aligned_alloc(alignment, (size + alignment - 1) / alignment * alignment);
#else
    return __libc_memalign(alignment, size);
#endif
}

constexpr size_t kRecords = 1 << 14;
constexpr int kDescriptors = 4096;

std::atomic<bool> armed{false};
std::atomic<uint64_t> fileSystemCalls{0}, allocations{0};
Counting failing = Counting::FileSystem;
uint64_t failAt = 0;
bool secondError = false;
bool recording = false;
Fault injected;
Record kept[kRecords];
Kind kinds[kRecords];
std::atomic<size_t> keptCount{0};
// Descriptors written to since they were opened.
std::atomic<bool> written[kDescriptors];

void copyPath(char (&to)[240], const char* from) noexcept {
    if (!from) return;
    std::strncpy(to, from, sizeof to - 1);
    to[sizeof to - 1] = '\0';
}

bool isFolder(int fd, const char* path) noexcept {
    struct stat st;
    if (path) return NEXT(stat)(path, &st) == 0 && S_ISDIR(st.st_mode);
    return fd >= 0 && NEXT(fstat)(fd, &st) == 0 && S_ISDIR(st.st_mode);
}

// One call passing through: counted while armed, failed when it is the one.
struct Call {
    Call(Function function, Kind kind, int fd = -1, const char* path = nullptr, const char* path2 = nullptr) noexcept
        : function_(function), kind_(kind), fd_(fd) {
        if (!armed.load(std::memory_order_acquire) || !threadStarted) return;
        const bool allocation = isAllocation(kind);
        const uint64_t n = (allocation ? allocations : fileSystemCalls).fetch_add(1) + 1;
        if (!allocation && n <= kRecords) kinds[n - 1] = kind;
        if (!allocation && recording) {
            slot_ = keptCount.fetch_add(1);
            if (slot_ < kRecords) {
                Record& r = kept[slot_];
                r = Record{};
                r.function = function;
                r.kind = kind;
                r.fd = fd;
                copyPath(r.path[0], path);
                copyPath(r.path[1], path2);
            }
        }
        if (failAt != 0 && n == failAt && allocation == (failing == Counting::Allocation)) {
            fail_ = true;
            injected.injected = true;
            injected.function = function;
            injected.kind = kind;
            injected.error = errnoFor(kind, secondError);
            if (!allocation) {
                injected.onFolder = isFolder(fd, path);
                injected.onWritten = fd >= 0 && fd < kDescriptors && written[fd].load();
                copyPath(injected.path, path);
            }
        }
    }
    bool fails() const noexcept { return fail_; }
    int error() const noexcept { return errnoFor(kind_, secondError); }
    // The call's result; for an open, the descriptor it returned.
    long done(long result, int flags = 0) noexcept {
        if (slot_ < kRecords) {
            kept[slot_].result = result;
            kept[slot_].flags = flags;
            if (kind_ == Kind::Open && result >= 0 && kept[slot_].fd < 0) kept[slot_].fd = int(result);
        }
        return result;
    }
    // The result of a write to `fd`: one that moved bytes marks it written.
    long doneWriting(int fd, long put) noexcept {
        if (put > 0) wrote(fd);
        return done(put);
    }
    // A write that moved bytes marks its descriptor as written.
    void wrote(int fd) noexcept {
        if (armed.load(std::memory_order_relaxed) && fd >= 0 && fd < kDescriptors) written[fd].store(true);
    }

    Function function_;
    Kind kind_;
    int fd_;
    size_t slot_ = SIZE_MAX;
    bool fail_ = false;
};

void opened(long fd) noexcept {
    if (fd >= 0 && fd < kDescriptors) written[fd].store(false);
}

template <class Result>
Result failWith(const Call& call, Result value) noexcept {
    errno = call.error();
    return value;
}

mode_t modeArgument(int flags, va_list& args) noexcept {
    return (flags & O_CREAT) || (flags & __O_TMPFILE) == __O_TMPFILE ? mode_t(va_arg(args, int)) : 0;
}

int openWith(Function function, int (*next)(const char*, int, ...), int dirfd, const char* path, int flags,
             mode_t mode, int (*nextAt)(int, const char*, int, ...) = nullptr) noexcept {
    Call call(function, Kind::Open, -1, path);
    if (call.fails()) return failWith(call, -1);
    const int fd = nextAt ? nextAt(dirfd, path, flags, mode) : next(path, flags, mode);
    opened(fd);
    return int(call.done(fd, flags));
}

void* allocate(size_t size, size_t alignment = 0) noexcept {
    Call call(f_operator_new, Kind::Alloc);
    if (call.fails()) return nullptr;
    if (size == 0) size = 1;
    return alignment ? realAligned(alignment, size) : realMalloc(size);
}

}  // namespace

const char* kindName(Kind kind) noexcept {
    static const char* const names[] = {"open", "read", "write", "flush", "close", "stat", "rename", "unlink",
                                        "mkdir", "truncate", "permissions", "seek", "access", "advice", "listing",
                                        "alloc", "mmap", "thread"};
    return names[size_t(kind)];
}

bool isAllocation(Kind kind) noexcept { return kind == Kind::Alloc || kind == Kind::MapMemory || kind == Kind::Thread; }

int errnoFor(Kind kind, bool second) noexcept {
    switch (kind) {
    case Kind::Open: return second ? EIO : EACCES;
    case Kind::Write: return ENOSPC;
    case Kind::Flush: return second ? EIO : ENOSPC;
    case Kind::MakeFolder: return EACCES;
    case Kind::Permissions: return EPERM;
    case Kind::Alloc:
    case Kind::MapMemory: return ENOMEM;
    case Kind::Thread: return EAGAIN;
    default: return EIO;
    }
}

const char* functionName(uint16_t function) noexcept { return function < kFunctionCount ? kNames[function] : "?"; }

std::string describe(const Fault& f) {
    if (!f.injected) return "no fault injected";
    std::string text = std::string(functionName(f.function)) + " failed with " + std::strerror(f.error);
    if (f.path[0]) text += std::string(" on ") + f.path;
    if (f.onFolder) text += " (a folder)";
    if (f.onWritten) text += " (a descriptor written to)";
    return text;
}

void arm(Counting counting, uint64_t at, bool second, bool record) noexcept {
    fileSystemCalls = 0;
    allocations = 0;
    keptCount = 0;
    injected = Fault{};
    failing = counting;
    failAt = at;
    secondError = second;
    recording = record;
    armed.store(true, std::memory_order_release);
}

void disarm() noexcept {
    armed.store(false, std::memory_order_release);
    failAt = 0;
}
void pause() noexcept { armed.store(false, std::memory_order_release); }
void resume() noexcept { armed.store(true, std::memory_order_release); }
uint64_t counted(Counting counting) noexcept {
    return counting == Counting::Allocation ? allocations.load() : fileSystemCalls.load();
}
Fault fault() noexcept { return injected; }
size_t recordCount() noexcept { return keptCount.load(); }
const Record* records() noexcept { return kept; }
size_t recordCapacity() noexcept { return kRecords; }
Kind countedKind(size_t i) noexcept { return i < kRecords ? kinds[i] : Kind::Open; }
const char* const* interposedNames() noexcept { return kNames; }

}  // namespace ostrel::faults

using namespace ostrel::faults;

// ---- Opens -------------------------------------------------------------------------

extern "C" int open(const char* path, int flags, ...) {
    va_list args;
    va_start(args, flags);
    const mode_t mode = modeArgument(flags, args);
    va_end(args);
    return openWith(f_open, NEXT(open), AT_FDCWD, path, flags, mode);
}
extern "C" int open64(const char* path, int flags, ...) {
    va_list args;
    va_start(args, flags);
    const mode_t mode = modeArgument(flags, args);
    va_end(args);
    return openWith(f_open64, NEXT(open64), AT_FDCWD, path, flags, mode);
}
extern "C" int __open_2(const char* path, int flags) { return openWith(f___open_2, NEXT(open), AT_FDCWD, path, flags, 0); }
extern "C" int __open64_2(const char* path, int flags) {
    return openWith(f___open64_2, NEXT(open64), AT_FDCWD, path, flags, 0);
}
extern "C" int openat(int dirfd, const char* path, int flags, ...) {
    va_list args;
    va_start(args, flags);
    const mode_t mode = modeArgument(flags, args);
    va_end(args);
    return openWith(f_openat, nullptr, dirfd, path, flags, mode, NEXT(openat));
}
extern "C" int openat64(int dirfd, const char* path, int flags, ...) {
    va_list args;
    va_start(args, flags);
    const mode_t mode = modeArgument(flags, args);
    va_end(args);
    return openWith(f_openat64, nullptr, dirfd, path, flags, mode, NEXT(openat64));
}
extern "C" int creat(const char* path, mode_t mode) {
    return openWith(f_creat, NEXT(open), AT_FDCWD, path, O_CREAT | O_WRONLY | O_TRUNC, mode);
}
extern "C" int creat64(const char* path, mode_t mode) {
    return openWith(f_creat64, NEXT(open64), AT_FDCWD, path, O_CREAT | O_WRONLY | O_TRUNC, mode);
}
extern "C" DIR* opendir(const char* path) {
    Call call(f_opendir, Kind::Open, -1, path);
    if (call.fails()) return failWith(call, static_cast<DIR*>(nullptr));
    DIR* dir = NEXT(opendir)(path);
    call.done(dir ? ::dirfd(dir) : -1, O_RDONLY | O_DIRECTORY);
    return dir;
}
extern "C" DIR* fdopendir(int fd) {
    Call call(f_fdopendir, Kind::Open, fd);
    if (call.fails()) return failWith(call, static_cast<DIR*>(nullptr));
    DIR* dir = NEXT(fdopendir)(fd);
    call.done(dir ? fd : -1, O_RDONLY | O_DIRECTORY);
    return dir;
}

// ---- Reads and listings ------------------------------------------------------------

extern "C" ssize_t read(int fd, void* data, size_t size) {
    Call call(f_read, Kind::Read, fd);
    if (call.fails()) return failWith(call, ssize_t(-1));
    return call.done(NEXT(read)(fd, data, size));
}
extern "C" ssize_t pread(int fd, void* data, size_t size, off_t offset) {
    Call call(f_pread, Kind::Read, fd);
    if (call.fails()) return failWith(call, ssize_t(-1));
    return call.done(NEXT(pread)(fd, data, size, offset));
}
extern "C" ssize_t pread64(int fd, void* data, size_t size, off64_t offset) {
    Call call(f_pread64, Kind::Read, fd);
    if (call.fails()) return failWith(call, ssize_t(-1));
    return call.done(NEXT(pread64)(fd, data, size, offset));
}
extern "C" ssize_t readlink(const char* path, char* to, size_t size) noexcept {
    Call call(f_readlink, Kind::Read, -1, path);
    if (call.fails()) return failWith(call, ssize_t(-1));
    return call.done(NEXT(readlink)(path, to, size));
}
extern "C" struct dirent* readdir(DIR* dir) {
    Call call(f_readdir, Kind::Listing, ::dirfd(dir));
    if (call.fails()) return failWith(call, static_cast<struct dirent*>(nullptr));
    return NEXT(readdir)(dir);
}
extern "C" struct dirent64* readdir64(DIR* dir) {
    Call call(f_readdir64, Kind::Listing, ::dirfd(dir));
    if (call.fails()) return failWith(call, static_cast<struct dirent64*>(nullptr));
    return NEXT(readdir64)(dir);
}

// ---- Writes and flushes ------------------------------------------------------------

extern "C" ssize_t write(int fd, const void* data, size_t size) {
    Call call(f_write, Kind::Write, fd);
    if (call.fails()) return failWith(call, ssize_t(-1));
    const ssize_t put = NEXT(write)(fd, data, size);
    return call.doneWriting(fd, put);
}
extern "C" ssize_t pwrite(int fd, const void* data, size_t size, off_t offset) {
    Call call(f_pwrite, Kind::Write, fd);
    if (call.fails()) return failWith(call, ssize_t(-1));
    const ssize_t put = NEXT(pwrite)(fd, data, size, offset);
    return call.doneWriting(fd, put);
}
extern "C" ssize_t pwrite64(int fd, const void* data, size_t size, off64_t offset) {
    Call call(f_pwrite64, Kind::Write, fd);
    if (call.fails()) return failWith(call, ssize_t(-1));
    const ssize_t put = NEXT(pwrite64)(fd, data, size, offset);
    return call.doneWriting(fd, put);
}
extern "C" ssize_t copy_file_range(int from, off64_t* fromOffset, int to, off64_t* toOffset, size_t size,
                                   unsigned int flags) {
    Call call(f_copy_file_range, Kind::Write, to);
    if (call.fails()) return failWith(call, ssize_t(-1));
    const ssize_t put = NEXT(copy_file_range)(from, fromOffset, to, toOffset, size, flags);
    if (put > 0) call.wrote(to);
    return call.done(put);
}
extern "C" int fallocate(int fd, int mode, off_t offset, off_t length) {
    Call call(f_fallocate, Kind::Write, fd);
    if (call.fails()) return failWith(call, -1);
    return int(call.done(NEXT(fallocate)(fd, mode, offset, length)));
}
extern "C" int fallocate64(int fd, int mode, off64_t offset, off64_t length) {
    Call call(f_fallocate64, Kind::Write, fd);
    if (call.fails()) return failWith(call, -1);
    return int(call.done(NEXT(fallocate64)(fd, mode, offset, length)));
}
extern "C" int posix_fallocate(int fd, off_t offset, off_t length) {
    Call call(f_posix_fallocate, Kind::Write, fd);
    if (call.fails()) return call.error();
    return int(call.done(NEXT(posix_fallocate)(fd, offset, length)));
}
extern "C" int posix_fallocate64(int fd, off64_t offset, off64_t length) {
    Call call(f_posix_fallocate64, Kind::Write, fd);
    if (call.fails()) return call.error();
    return int(call.done(NEXT(posix_fallocate64)(fd, offset, length)));
}
// The file clone (FICLONE) is the one request the library makes: a copy.
extern "C" int ioctl(int fd, unsigned long request, ...) noexcept {
    va_list args;
    va_start(args, request);
    void* argument = va_arg(args, void*);
    va_end(args);
    Call call(f_ioctl, Kind::Write, fd);
    if (call.fails()) return failWith(call, -1);
    const int result = NEXT(ioctl)(fd, request, argument);
    if (result == 0) call.wrote(fd);
    return int(call.done(result));
}
extern "C" int fsync(int fd) {
    Call call(f_fsync, Kind::Flush, fd);
    if (call.fails()) return failWith(call, -1);
    return int(call.done(NEXT(fsync)(fd)));
}
extern "C" int fdatasync(int fd) {
    Call call(f_fdatasync, Kind::Flush, fd);
    if (call.fails()) return failWith(call, -1);
    return int(call.done(NEXT(fdatasync)(fd)));
}

// ---- Closes: the descriptor is gone even when the close reports an error -----------

extern "C" int close(int fd) {
    Call call(f_close, Kind::Close, fd);
    const int result = NEXT(close)(fd);
    opened(fd);
    if (call.fails()) return failWith(call, -1);
    return int(call.done(result));
}
extern "C" int closedir(DIR* dir) {
    Call call(f_closedir, Kind::Close, ::dirfd(dir));
    const int result = NEXT(closedir)(dir);
    if (call.fails()) return failWith(call, -1);
    return int(call.done(result));
}

// ---- Status ------------------------------------------------------------------------

#define OSTREL_FAULT_PATH_CALL(name, kind, signature, arguments, path)       \
    extern "C" int name signature noexcept {                                  \
        Call call(f_##name, Kind::kind, -1, path);                            \
        if (call.fails()) return failWith(call, -1);                          \
        return int(call.done(NEXT(name) arguments));                           \
    }
#define OSTREL_FAULT_FD_CALL(name, kind, signature, arguments, fd)           \
    extern "C" int name signature noexcept {                                  \
        Call call(f_##name, Kind::kind, fd);                                  \
        if (call.fails()) return failWith(call, -1);                          \
        return int(call.done(NEXT(name) arguments));                           \
    }

OSTREL_FAULT_PATH_CALL(stat, Stat, (const char* p, struct stat* s), (p, s), p)
OSTREL_FAULT_PATH_CALL(stat64, Stat, (const char* p, struct stat64* s), (p, s), p)
OSTREL_FAULT_PATH_CALL(lstat, Stat, (const char* p, struct stat* s), (p, s), p)
OSTREL_FAULT_PATH_CALL(lstat64, Stat, (const char* p, struct stat64* s), (p, s), p)
OSTREL_FAULT_FD_CALL(fstat, Stat, (int fd, struct stat* s), (fd, s), fd)
OSTREL_FAULT_FD_CALL(fstat64, Stat, (int fd, struct stat64* s), (fd, s), fd)
OSTREL_FAULT_PATH_CALL(fstatat, Stat, (int d, const char* p, struct stat* s, int f), (d, p, s, f), p)
OSTREL_FAULT_PATH_CALL(fstatat64, Stat, (int d, const char* p, struct stat64* s, int f), (d, p, s, f), p)
OSTREL_FAULT_PATH_CALL(statx, Stat, (int d, const char* p, int f, unsigned m, struct statx* s), (d, p, f, m, s), p)

// ---- Names: rename, remove, make -------------------------------------------------------

extern "C" int rename(const char* from, const char* to) noexcept {
    Call call(f_rename, Kind::Rename, -1, from, to);
    if (call.fails()) return failWith(call, -1);
    return int(call.done(NEXT(rename)(from, to)));
}
extern "C" int renameat(int fromDir, const char* from, int toDir, const char* to) noexcept {
    Call call(f_renameat, Kind::Rename, -1, from, to);
    if (call.fails()) return failWith(call, -1);
    return int(call.done(NEXT(renameat)(fromDir, from, toDir, to)));
}
extern "C" int renameat2(int fromDir, const char* from, int toDir, const char* to, unsigned int flags) noexcept {
    Call call(f_renameat2, Kind::Rename, -1, from, to);
    if (call.fails()) return failWith(call, -1);
    return int(call.done(NEXT(renameat2)(fromDir, from, toDir, to, flags), int(flags)));
}
OSTREL_FAULT_PATH_CALL(unlink, Unlink, (const char* p), (p), p)
OSTREL_FAULT_PATH_CALL(unlinkat, Unlink, (int d, const char* p, int f), (d, p, f), p)
OSTREL_FAULT_PATH_CALL(remove, Unlink, (const char* p), (p), p)
OSTREL_FAULT_PATH_CALL(rmdir, Unlink, (const char* p), (p), p)
OSTREL_FAULT_PATH_CALL(mkdir, MakeFolder, (const char* p, mode_t m), (p, m), p)
OSTREL_FAULT_PATH_CALL(mkdirat, MakeFolder, (int d, const char* p, mode_t m), (d, p, m), p)

// ---- Sizes, permissions, positions, access, advice -------------------------------------

OSTREL_FAULT_FD_CALL(ftruncate, Truncate, (int fd, off_t n), (fd, n), fd)
OSTREL_FAULT_FD_CALL(ftruncate64, Truncate, (int fd, off64_t n), (fd, n), fd)
OSTREL_FAULT_PATH_CALL(truncate, Truncate, (const char* p, off_t n), (p, n), p)
OSTREL_FAULT_PATH_CALL(truncate64, Truncate, (const char* p, off64_t n), (p, n), p)
OSTREL_FAULT_FD_CALL(fchmod, Permissions, (int fd, mode_t m), (fd, m), fd)
OSTREL_FAULT_FD_CALL(fchown, Permissions, (int fd, uid_t u, gid_t g), (fd, u, g), fd)
OSTREL_FAULT_PATH_CALL(chmod, Permissions, (const char* p, mode_t m), (p, m), p)
OSTREL_FAULT_PATH_CALL(fchmodat, Permissions, (int d, const char* p, mode_t m, int f), (d, p, m, f), p)
OSTREL_FAULT_PATH_CALL(access, Access, (const char* p, int m), (p, m), p)
OSTREL_FAULT_PATH_CALL(faccessat, Access, (int d, const char* p, int m, int f), (d, p, m, f), p)

extern "C" off_t lseek(int fd, off_t offset, int whence) noexcept {
    Call call(f_lseek, Kind::Seek, fd);
    if (call.fails()) return failWith(call, off_t(-1));
    return call.done(NEXT(lseek)(fd, offset, whence));
}
extern "C" off64_t lseek64(int fd, off64_t offset, int whence) noexcept {
    Call call(f_lseek64, Kind::Seek, fd);
    if (call.fails()) return failWith(call, off64_t(-1));
    return call.done(NEXT(lseek64)(fd, offset, whence));
}
extern "C" int sync_file_range(int fd, off64_t offset, off64_t size, unsigned int flags) {
    Call call(f_sync_file_range, Kind::Advice, fd);
    if (call.fails()) return failWith(call, -1);
    return int(call.done(NEXT(sync_file_range)(fd, offset, size, flags)));
}
// posix_fadvise answers the error number itself.
extern "C" int posix_fadvise(int fd, off_t offset, off_t size, int advice) noexcept {
    Call call(f_posix_fadvise, Kind::Advice, fd);
    if (call.fails()) return call.error();
    return int(call.done(NEXT(posix_fadvise)(fd, offset, size, advice)));
}
extern "C" int posix_fadvise64(int fd, off64_t offset, off64_t size, int advice) noexcept {
    Call call(f_posix_fadvise64, Kind::Advice, fd);
    if (call.fails()) return call.error();
    return int(call.done(NEXT(posix_fadvise64)(fd, offset, size, advice)));
}

// ---- Memory and threads ----------------------------------------------------------------

extern "C" void* mmap(void* at, size_t size, int protection, int flags, int fd, off_t offset) noexcept {
    Call call(f_mmap, Kind::MapMemory);
    if (call.fails()) return failWith(call, MAP_FAILED);
    return NEXT(mmap)(at, size, protection, flags, fd, offset);
}
extern "C" void* mmap64(void* at, size_t size, int protection, int flags, int fd, off64_t offset) noexcept {
    Call call(f_mmap64, Kind::MapMemory);
    if (call.fails()) return failWith(call, MAP_FAILED);
    return NEXT(mmap64)(at, size, protection, flags, fd, offset);
}
extern "C" int pthread_create(pthread_t* thread, const pthread_attr_t* attributes, void* (*start)(void*),
                              void* argument) noexcept {
    Call call(f_pthread_create, Kind::Thread);
    if (call.fails()) return call.error();
    auto* begin = static_cast<ThreadStart*>(realMalloc(sizeof(ThreadStart)));
    if (!begin) return EAGAIN;
    *begin = {start, argument};
    const int created = NEXT(pthread_create)(thread, attributes, startThread, begin);
    if (created != 0) ::free(begin);
    return created;
}
extern "C" void* malloc(size_t size) noexcept {
    Call call(f_malloc, Kind::Alloc);
    if (call.fails()) return failWith(call, static_cast<void*>(nullptr));
    return realMalloc(size);
}
extern "C" void* realloc(void* pointer, size_t size) noexcept {
    Call call(f_realloc, Kind::Alloc);
    if (call.fails()) return failWith(call, static_cast<void*>(nullptr));
    return realRealloc(pointer, size);
}

#if defined(OSTREL_FAULT_ASAN)
extern "C" void free(void* pointer) noexcept {
    if (started && !isEarly(pointer)) __interceptor_free(pointer);
}
#endif

void* operator new(size_t size) {
    if (void* p = allocate(size)) return p;
    throw std::bad_alloc();
}
void* operator new[](size_t size) {
    if (void* p = allocate(size)) return p;
    throw std::bad_alloc();
}
void* operator new(size_t size, std::align_val_t alignment) {
    if (void* p = allocate(size, size_t(alignment))) return p;
    throw std::bad_alloc();
}
void* operator new[](size_t size, std::align_val_t alignment) {
    if (void* p = allocate(size, size_t(alignment))) return p;
    throw std::bad_alloc();
}
void* operator new(size_t size, const std::nothrow_t&) noexcept { return allocate(size); }
void* operator new[](size_t size, const std::nothrow_t&) noexcept { return allocate(size); }
void* operator new(size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept {
    return allocate(size, size_t(alignment));
}
void* operator new[](size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept {
    return allocate(size, size_t(alignment));
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, size_t) noexcept { std::free(p); }
void operator delete[](void* p, size_t) noexcept { std::free(p); }
void operator delete(void* p, std::align_val_t) noexcept { std::free(p); }
void operator delete[](void* p, std::align_val_t) noexcept { std::free(p); }
void operator delete(void* p, size_t, std::align_val_t) noexcept { std::free(p); }
void operator delete[](void* p, size_t, std::align_val_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete(void* p, std::align_val_t, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, std::align_val_t, const std::nothrow_t&) noexcept { std::free(p); }
