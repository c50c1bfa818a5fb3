#pragma once
// The one file-access layer: every file the library opens, reads, replaces,
// copies, seeks or updates goes through this header. File safety is decided
// here, once:
//
// - Inputs are regular files. A FIFO, device, socket or folder (or a link to
//   one) is refused at open, before a single byte is read, so no call blocks
//   and no endless source is read.
// - An output that replaces a file is written to a temporary file created
//   exclusively beside the target under a short random name (never through a
//   link, never reusing a file that is there), private until it has the old
//   file's owner, group and permission bits, flushed to the disk, and only
//   then renamed over the target; the folder is flushed after the rename. So
//   a power cut leaves the old file or the new one. A failed operation never
//   destroys, exposes or hands over the user's file. A target that is a
//   symbolic link has the file it names replaced; the link stays. A new file
//   that replaces nothing is renamed into place without waiting for the disk.
// - An in-place update keeps the bytes it overwrites and puts them back, and
//   cuts an append back off, when any write fails; it is flushed to the disk
//   before it reports success.
// - Every copy loop stops at the first failed write.
//
// The platform differences live in file_system_posix.cpp and
// file_system_windows.cpp behind the File handle and the few functions below.

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <cstring>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/page_memory.hpp"
#include "core/parallel.hpp"

namespace ostrel {

// Bytes of a whole file. The storage is not zero-filled first: a gigabyte mesh
// is read once, not written twice.
class ByteBuffer {
public:
    ByteBuffer() = default;
    explicit ByteBuffer(size_t size) : data_(size ? new uint8_t[size] : nullptr), size_(size) {}
    static ByteBuffer copyOf(std::span<const uint8_t> bytes) {
        ByteBuffer buffer(bytes.size());
        if (!bytes.empty()) std::copy(bytes.begin(), bytes.end(), buffer.data());
        return buffer;
    }

    uint8_t* data() noexcept { return data_.get(); }
    const uint8_t* data() const noexcept { return data_.get(); }
    size_t size() const noexcept { return size_; }
    std::span<uint8_t> bytes() noexcept { return {data_.get(), size_}; }
    std::span<const uint8_t> bytes() const noexcept { return {data_.get(), size_}; }

private:
    std::unique_ptr<uint8_t[]> data_;
    size_t size_ = 0;
};

// An open file: the one handle type (a descriptor on POSIX, a HANDLE on
// Windows). Closed when dropped; close() says whether the close succeeded.
class File {
public:
    File() = default;
    ~File();
    File(File&& other) noexcept : native_(std::exchange(other.native_, kClosed)) {}
    File& operator=(File&& other) noexcept;
    File(const File&) = delete;
    File& operator=(const File&) = delete;

    // An existing regular file for reading; closed when `path` is missing,
    // not a regular file, or cannot be read. Never blocks.
    static File openInput(const char* path);
    // An existing regular file for reading and writing, under the same rules.
    static File openForUpdate(const char* path);
    // As openForUpdate, creating an empty file when there is none; `created`
    // tells which happened.
    static File openOrCreateForUpdate(const char* path, bool& created);

    bool isOpen() const noexcept { return native_ != kClosed; }
    std::optional<uint64_t> size() const;
    // The one 64-bit seek: positions the next read or write.
    bool seek(uint64_t offset);
    // Up to `size` bytes from the current position: the count read (0 at the
    // end), or nothing on a read error.
    std::optional<size_t> readSome(void* data, size_t size);
    // Exactly `size` bytes, or false.
    bool readExact(void* data, size_t size);
    // Every byte, or false.
    bool writeAll(const void* data, size_t size);
    bool truncate(uint64_t length);
    bool close();

    using Native = intptr_t;
    Native native() const noexcept { return native_; }

private:
    friend struct FileSystem;
    static constexpr Native kClosed = -1;
    explicit File(Native native) noexcept : native_(native) {}
    Native native_ = kClosed;
};

// The whole file, or nothing when it is not a regular file or cannot be read
// completely.
std::optional<ByteBuffer> readWholeFile(const char* path);
// The whole of an open file, from its start; `allocate`, when given, makes
// the buffer (see large_buffer.hpp).
std::optional<ByteBuffer> readWholeFile(File& file, ByteBuffer (*allocate)(size_t) = nullptr);

// A file read front to back through a window of bounded size: a second
// thread reads the next chunks into the window's free slots while the caller
// works on the lines of the chunks already there, so reading and working
// overlap, and memory does not grow with the file. Without a second thread
// the caller's nextLines() reads each chunk itself.
//
// The caller sees whole lines only. A line that runs on past the end of a
// chunk is put together in a line buffer of its own, which grows with that
// line (up to the line's length, so never beyond the file's size) and is
// given back once the line is handed over. Dropping the input stops and
// joins the reader.
class StreamedInput {
public:
    StreamedInput() = default;
    ~StreamedInput();
    StreamedInput(const StreamedInput&) = delete;
    StreamedInput& operator=(const StreamedInput&) = delete;

    // False when `path` is missing, not a regular file, or cannot be sized
    // or read from its start.
    bool open(const char* path);
    // The file's size when it was opened; no more than this is ever read.
    uint64_t size() const noexcept { return size_; }
    // The next lines of the file, each with its LF (the file's last line may
    // lack one); empty once no more will come: the end was reached, or the
    // reading failed (finish() tells which). Valid until the next call.
    std::string_view nextLines();
    // True when nextLines() handed over every byte of the file and then
    // answered its end.
    bool allHandedOver();
    // Stops the reading and closes the file (so that it can be replaced, on
    // Windows too): allHandedOver(). Answers the same when called again.
    bool finish();
    // Starts again from the file's first byte, on the file opened before
    // (not on whatever the path names now). False after finish(), or when it
    // cannot seek.
    bool rewind();

private:
    // The reader thread's loop: fills free slots in order until the end.
    void readAll() noexcept;
    // Reads the next chunk into `slot`: its length, or 0 when the reading
    // ended (at the end, on an error, or because the file got shorter).
    size_t readChunk(size_t slot) noexcept;
    // Hands the slot held back to the reader and takes the next filled one:
    // its bytes, or empty when no more will come.
    std::string_view nextChunk();
    void stopReader() noexcept;
    void startReading();

    File file_;
    uint64_t size_ = 0;
    PageMemory window_;
    size_t chunk_ = 0;
    size_t slots_ = 0;
    bool useThread_ = false;          // large enough to be worth a reader thread
    bool threaded_ = false;           // a reader thread runs; otherwise nextChunk() reads
    uint64_t readOffset_ = 0;         // the reader's: bytes read so far
    std::vector<size_t> lengths_;     // bytes in each slot
    // The caller's side:
    uint64_t taken_ = 0;              // chunks taken (the last one is held)
    std::string_view rest_;           // of the chunk held, the bytes not handed over yet
    std::vector<char> pending_;       // a line begun in an earlier chunk
    bool pendingHandedOver_ = false;  // pending_ was the last answer
    bool atEnd_ = false;
    std::optional<bool> finished_;
    std::mutex mutex_;
    std::condition_variable filled_;  // the reader filled a slot, or ended
    std::condition_variable freed_;   // the caller freed a slot, or stops the reader
    // Under mutex_:
    uint64_t produced_ = 0;           // chunks filled
    uint64_t released_ = 0;           // chunks the caller is done with
    bool ended_ = true;
    bool complete_ = false;
    bool stop_ = false;
    JoinedThread reader_;
};

// True when both paths name one existing file (same device and file number,
// through links, "..", and the like).
bool sameExistingFile(const char* a, const char* b) noexcept;

// Renames `from` to `to` only when nothing is at `to`: an existing file is
// never replaced, on any platform. True on success.
bool renameWithoutReplacing(const char* from, const char* to) noexcept;

// Removes a file (or, on POSIX, an empty folder), as the C runtime's remove().
bool removeFile(const char* path) noexcept;

// What a name lookup found: something has the name (even a dangling link or a
// folder), nothing has it, or the lookup failed for another reason (a folder
// part that is a file or a link loop, a folder that may not be searched, a
// name too long), so a file of that name can be neither read nor created.
enum class NameLookup { Free, Taken, Unknown };
NameLookup lookUpName(const char* path) noexcept;
// True unless the name is known to be free.
inline bool pathTaken(const char* path) noexcept { return lookUpName(path) != NameLookup::Free; }

class BackgroundWriter;

// Outputs larger than one buffer are written by a second thread while the
// caller fills the next buffer; the bytes, and what commit() answers, are the
// same as without it.
class OutputFile {
public:
    OutputFile();
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // Prepares the replacement of `path`. False when there is nothing to
    // write into: the folder is missing or the target is not a regular file.
    // A target that exists but may not be replaced (the caller may not write
    // it, may not create files beside it, or may not give the new file the
    // old one's owner or group) opens as failed: commit() then answers false,
    // so the caller reports its write-failure code, and the target is
    // untouched either way.
    //
    // With Existing::Refuse the output is a new file that replaces nothing:
    // false when anything (even a dangling link or a folder) has the name,
    // or the name cannot be looked up, and commit() fails rather than
    // replace a file that took the name meanwhile.
    enum class Existing { Replace, Refuse };
    bool open(const char* path, Existing existing = Existing::Replace);

    // Most writes are a line or less: they only land in the buffer.
    void write(const void* data, size_t size) {
        if (size < kBufferSize - used_) {
            if (size) std::memcpy(buffer_.get() + used_, data, size);
            used_ += size;
            return;
        }
        writePastBuffer(data, size);
    }
    void write(std::span<const uint8_t> bytes) { write(bytes.data(), bytes.size()); }
    void write(std::string_view text) { write(text.data(), text.size()); }
    void put(char c) {
        if (used_ == kBufferSize) flushBuffer();
        buffer_[used_++] = c;
    }
    // Appends everything from the current position of `in` to its end. Where
    // the system copies between files itself, the bytes never pass through
    // this process. Stops at the first failed read or write; false, with the
    // output failed, then.
    bool writeFrom(File& in);
    void putU32le(uint32_t v);
    void putI32le(int32_t v) { putU32le(static_cast<uint32_t>(v)); }
    void putF32le(float v);
    void putU16le(uint16_t v);

    // Flushes, closes and renames the temporary file over the target (an
    // existing target: once the new bytes are on the disk). True only when
    // every byte was written, flushed where due, and the rename succeeded; on
    // false the target is as it was before open().
    bool commit();
    // Drops the temporary file; the target stays as it was.
    void abandon();

    bool failed() const noexcept { return failed_; }

private:
    static constexpr size_t kBufferSize = size_t(1) << 20;
    static constexpr size_t kWriteBackStep = size_t(8) << 20;
    void flushBuffer();
    // A write that fills the buffer: it is flushed first, and a write of a
    // buffer's size or more goes to the file directly.
    void writePastBuffer(const void* data, size_t size);
    // Waits for the background writer, if there is one, to write all it has
    // been handed: afterwards the file holds every byte flushed so far.
    void drainWriter();
    void stopWriter() noexcept;

    File file_;
    // Started with the first full buffer, so outputs of under a buffer's
    // size are written without a thread.
    std::unique_ptr<BackgroundWriter> writer_;
    std::string target_;
    std::string temp_;
    std::unique_ptr<char[]> buffer_;
    size_t used_ = 0;
    size_t unflushed_ = 0;   // bytes written since the disk was last set to work
    bool failed_ = false;
    // An existing file is being replaced: it is flushed before the rename,
    // and the folder after it. A new file that replaces nothing is not
    // waited for (see README, "Files").
    bool replacing_ = false;
    bool refuseExisting_ = false;
};

// Replaces `path` with exactly `bytes`, through OutputFile.
bool writeWholeFile(const char* path, std::span<const uint8_t> bytes);

// Copies the regular file `source` to `target` through OutputFile: a missing
// or unreadable source or a failed write leaves the old target as it was;
// copying a file onto itself leaves it intact and succeeds. True on success.
bool copyFile(const char* source, const char* target);

// Changes an existing file where it lies (overwrites and appends), all or
// nothing: the bytes each overwrite replaces are kept, and when any write
// fails, or the update is dropped without commit(), they are written back and
// the file is cut to its old length (a file the update created is removed).
// The file must not be changed by anything else meanwhile.
class InPlaceUpdate {
public:
    enum class Open { ExistingOnly, CreateIfMissing };
    InPlaceUpdate() = default;
    ~InPlaceUpdate() { rollBack(); }
    InPlaceUpdate(const InPlaceUpdate&) = delete;
    InPlaceUpdate& operator=(const InPlaceUpdate&) = delete;

    // False when the file cannot be opened for reading and writing (missing
    // under ExistingOnly, not a regular file, no permission).
    bool open(const char* path, Open how = Open::ExistingOnly);
    // The length the file had when opened.
    uint64_t originalSize() const noexcept { return originalSize_; }
    // Reads `size` bytes at `offset` as the file stands now.
    bool readAt(uint64_t offset, void* data, size_t size);
    bool overwrite(uint64_t offset, std::span<const uint8_t> bytes);
    // The same, where the caller holds the bytes the file has there now
    // (`current`, as long as `bytes`, alive until commit()): only the part
    // where they differ is written, and nothing is read back to be kept.
    bool overwrite(uint64_t offset, std::span<const uint8_t> bytes, std::span<const uint8_t> current);
    bool append(std::span<const uint8_t> bytes);
    // Flushes the file to the disk and closes it. True when every write, the
    // flush and the close succeeded; otherwise the file is put back as it
    // was and false is answered.
    bool commit();

private:
    // Bytes to put back at `offset`: read from the file into `owned`, or
    // the caller's `current`.
    struct Saved {
        uint64_t offset;
        std::vector<uint8_t> owned;
        std::span<const uint8_t> bytes;
    };
    bool write(uint64_t offset, std::span<const uint8_t> bytes);
    void rollBack() noexcept;

    File file_;
    std::string path_;
    uint64_t originalSize_ = 0;
    uint64_t end_ = 0;
    std::vector<Saved> saved_;
    bool created_ = false;
    bool failed_ = false;
};

}  // namespace ostrel
