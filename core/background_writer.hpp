#pragma once
// Writing on a second thread for OutputFile: the caller fills one buffer while
// the other is written, so producing the bytes and the system's copying of
// them overlap. Bytes reach the file in the order handed over.

#include <condition_variable>
#include <cstddef>
#include <memory>
#include <mutex>

#include "core/file_io.hpp"
#include "core/parallel.hpp"

namespace ostrel {

class BackgroundWriter {
public:
    // A writer of `file` on a new thread, for buffers of `bufferSize` bytes;
    // nothing when no second thread may be started.
    static std::unique_ptr<BackgroundWriter> start(File& file, size_t bufferSize);
    ~BackgroundWriter() { finish(); }
    BackgroundWriter(const BackgroundWriter&) = delete;
    BackgroundWriter& operator=(const BackgroundWriter&) = delete;

    // Takes `buffer` with its first `size` bytes to be written and gives back
    // in it a free buffer of the same size. Waits while the writer still
    // writes the buffer handed before. False once a write has failed (the
    // buffers handed after that are dropped).
    bool hand(std::unique_ptr<char[]>& buffer, size_t size);
    // Waits until every byte handed over is written and ends the thread; true
    // when every write succeeded.
    bool finish() noexcept;

private:
    BackgroundWriter(File& file, size_t bufferSize) : file_(file), bufferSize_(bufferSize) {}
    void run();

    File& file_;
    const size_t bufferSize_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::unique_ptr<char[]> pending_;   // handed over, being written or about to be
    size_t pendingSize_ = 0;
    std::unique_ptr<char[]> spare_;     // written, free to be handed back
    bool busy_ = false;
    bool stopping_ = false;
    bool failed_ = false;
    JoinedThread thread_;
};

}  // namespace ostrel
