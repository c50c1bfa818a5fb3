#pragma once
// Control of the C library functions and allocators this test program puts in
// front of the real ones (interpose.cpp). While the program is armed, every
// call of the listed file-system functions and every allocation is counted,
// on any thread; one of them, the k-th of its kind, can be made to fail as the
// system would fail it, and each file-system call can be recorded.

#include <cstddef>
#include <cstdint>
#include <string>

namespace ostrel::faults {

// What a counted call does. The failure a fault gives each kind is chosen by
// errnoFor(); opens and flushes have a second one.
enum class Kind : uint8_t {
    Open, Read, Write, Flush, Close, Stat, Rename, Unlink, MakeFolder, Truncate, Permissions, Seek, Access,
    Advice, Listing, Alloc, MapMemory, Thread,
};
const char* kindName(Kind kind) noexcept;
bool isAllocation(Kind kind) noexcept;
int errnoFor(Kind kind, bool second) noexcept;

enum class Counting : uint8_t { FileSystem, Allocation };

// One recorded file-system call (Mode::Record).
struct Record {
    uint16_t function;     // index into functionName()
    Kind kind;
    int fd;                // descriptor used, or the one an open returned
    int flags;             // open flags
    long result;
    char path[2][240];     // the paths named (a rename's second one second)
};
const char* functionName(uint16_t function) noexcept;

// The injected fault, as it happened.
struct Fault {
    bool injected = false;
    uint16_t function = 0;
    Kind kind = Kind::Open;
    int error = 0;
    bool onFolder = false;    // the descriptor or path is a folder
    bool onWritten = false;   // a descriptor this call's writes went to
    char path[240] = {};
};
std::string describe(const Fault& fault);

// Starts counting; `failAt` > 0 makes the failAt-th counted call of `counting`
// fail (with the second failure of its kind when `second`), 0 fails nothing.
// `record` keeps every file-system call for records().
void arm(Counting counting, uint64_t failAt, bool second, bool record) noexcept;
void disarm() noexcept;
// Stops and restarts counting within one armed run.
void pause() noexcept;
void resume() noexcept;
uint64_t counted(Counting counting) noexcept;
Fault fault() noexcept;
size_t recordCount() noexcept;   // may exceed the records kept
const Record* records() noexcept;
size_t recordCapacity() noexcept;
// The kind of the i-th counted file-system call of the last armed run
// (kept for the first recordCapacity() calls).
Kind countedKind(size_t i) noexcept;

// The names this program interposes, for the check against the library's
// undefined symbols.
const char* const* interposedNames() noexcept;

}  // namespace ostrel::faults
