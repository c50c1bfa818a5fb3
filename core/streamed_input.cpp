#include <charconv>
#include <cstdlib>
#include <cstring>

#include "core/file_io.hpp"

namespace ostrel {

namespace {

// Bytes the reader hands over at a time: small enough that the worker starts
// soon after the first, large enough that handing over costs nothing.
constexpr size_t kReadChunk = size_t(1) << 20;
// Below this the reading is over before a thread would have started.
constexpr size_t kSmallestStreamed = size_t(4) << 20;

struct Streaming {
    size_t smallest = kSmallestStreamed;
    size_t chunk = kReadChunk;
};

// OSTREL_READ_CHUNK=<bytes> streams every input, however small, in chunks of
// that many bytes: tests use it to end chunks at every place in a line.
Streaming streamingSettings() noexcept {
    Streaming settings;
    const char* text = std::getenv("OSTREL_READ_CHUNK");
    size_t chunk = 0;
    if (text && std::from_chars(text, text + std::strlen(text), chunk).ec == std::errc() && chunk > 0) {
        settings.smallest = 0;
        settings.chunk = chunk;
    }
    return settings;
}

}  // namespace

StreamedInput::~StreamedInput() {
    stop_ = true;
    try {
        reader_.join();
    } catch (...) {
    }
}

bool StreamedInput::open(const char* path) {
    file_ = File::openInput(path);
    if (!file_.isOpen()) return false;
    const auto size = file_.size();
    if (!size || *size > SIZE_MAX || !file_.seek(0)) return false;
    buffer_ = ByteBuffer(static_cast<size_t>(*size));
    ready_ = 0;
    ended_ = false;
    complete_ = false;
    const Streaming settings = streamingSettings();
    chunk_ = settings.chunk;
    if (buffer_.size() < settings.smallest || !reader_.start([this] { readAll(); })) readAll();
    return true;
}

void StreamedInput::readAll() noexcept {
    size_t ready = 0;
    const size_t size = buffer_.size();
    while (ready < size && !stop_) {
        const auto got = file_.readSome(buffer_.data() + ready, std::min(chunk_, size - ready));
        if (!got || *got == 0) break;   // a read error, or the file got shorter
        ready += *got;
        publish(ready, ready == size);
    }
    if (ready < size || size == 0) publish(ready, true);
}

void StreamedInput::publish(size_t ready, bool ended) {
    {
        std::lock_guard lock(mutex_);
        ready_ = ready;
        ended_ = ended;
        complete_ = ready == buffer_.size();
    }
    more_.notify_one();
}

size_t StreamedInput::waitBeyond(size_t have) {
    std::unique_lock lock(mutex_);
    more_.wait(lock, [&] { return ready_ > have || ended_; });
    return ready_;
}

bool StreamedInput::finish() {
    reader_.join();
    file_.close();
    std::lock_guard lock(mutex_);
    return complete_;
}

}  // namespace ostrel
