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
// How far the reader may run ahead of a caller that gives memory back.
constexpr size_t kReadAhead = size_t(64) << 20;

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
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    room_.notify_one();
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
    buffer_ = PageMemory(static_cast<size_t>(*size));
    ready_ = 0;
    ended_ = buffer_.size() == 0;
    complete_ = ended_;
    const Streaming settings = streamingSettings();
    chunk_ = settings.chunk;
    threaded_ = buffer_.size() >= settings.smallest && reader_.start([this] { readAll(); });
    return true;
}

std::optional<size_t> StreamedInput::readChunk(size_t ready) noexcept {
    const auto got = file_.readSome(buffer_.data() + ready, std::min(chunk_, buffer_.size() - ready));
    // A read error, or the file got shorter: the reading ends here.
    if (!got || *got == 0) return std::nullopt;
    return ready + *got;
}

void StreamedInput::readAll() noexcept {
    size_t ready = 0;
    for (;;) {
        const auto next = readChunk(ready);
        std::unique_lock lock(mutex_);
        if (!next) break;
        ready = *next;
        ready_ = ready;
        complete_ = ready == buffer_.size();
        ended_ = complete_;
        more_.notify_one();
        if (ended_) return;
        // Giving memory back is pointless while the reader runs far ahead.
        room_.wait(lock, [&] { return stop_ || !givingBack_ || ready_ - passedOffset_ < kReadAhead; });
        if (stop_) break;
    }
    ended_ = true;
    more_.notify_one();
}

size_t StreamedInput::waitBeyond(size_t have) {
    std::unique_lock lock(mutex_);
    if (!threaded_) {
        // Without a reader thread the caller reads the next chunk itself.
        if (ready_ <= have && !ended_) {
            const auto next = readChunk(ready_);
            ready_ = next.value_or(ready_);
            complete_ = ready_ == buffer_.size();
            ended_ = !next || complete_;
        }
        return ready_;
    }
    more_.wait(lock, [&] { return ready_ > have || ended_; });
    return ready_;
}

bool StreamedInput::finish() {
    if (threaded_) {
        {
            // A caller that stopped early passes no more: the reader must not
            // wait for it.
            std::lock_guard lock(mutex_);
            givingBack_ = false;
        }
        room_.notify_one();
        reader_.join();
    } else {
        for (size_t have = 0; have < waitBeyond(have);) have = ready_;
    }
    file_.close();
    std::lock_guard lock(mutex_);
    return complete_;
}

void StreamedInput::giveBackPassedBytes() noexcept {
    std::lock_guard lock(mutex_);
    givingBack_ = true;
}

void StreamedInput::keepLine(std::string_view line) noexcept {
    if (!givingBack_) return;
    const size_t begin = size_t(line.data() - text().data());
    // The bytes between the last kept line and this one are passed.
    giveBackBefore(begin);
    // Up to two bytes of line end: readers of a kept line look for its LF.
    keptEnd_ = std::max(keptEnd_, std::min(begin + line.size() + 2, size()));
}

void StreamedInput::passed(size_t offset) noexcept {
    if (!givingBack_) return;
    giveBackBefore(offset);
    {
        std::lock_guard lock(mutex_);
        passedOffset_ = offset;
    }
    room_.notify_one();
}

void StreamedInput::giveBackBefore(size_t end) noexcept {
    const size_t begin = std::max(keptEnd_, givenBackEnd_);
    if (end > begin) givenBackEnd_ = buffer_.discard(begin, end);
}

}  // namespace ostrel
