#include <charconv>
#include <cstdlib>
#include <cstring>

#include "core/file_io.hpp"

namespace ostrel {

namespace {

// Bytes read at a time: small enough that the caller starts soon after the
// first, large enough that handing a chunk over costs nothing.
constexpr size_t kReadChunk = size_t(1) << 20;
// Chunks the window holds: the reader runs at most this far ahead, so the
// window is 4 MiB whatever the file's size.
constexpr size_t kWindowSlots = 4;
// Below this the reading is over before a thread would have started.
constexpr size_t kSmallestStreamed = size_t(4) << 20;

struct Streaming {
    size_t smallest = kSmallestStreamed;
    size_t chunk = kReadChunk;
    size_t slots = kWindowSlots;
};

// OSTREL_READ_CHUNK=<bytes> streams every input, however small, in chunks of
// that many bytes through a window of three of them: tests use it to end
// chunks at every place in a line and to make lines far longer than the
// window.
Streaming streamingSettings() noexcept {
    Streaming settings;
    const char* text = std::getenv("OSTREL_READ_CHUNK");
    size_t chunk = 0;
    if (text && std::from_chars(text, text + std::strlen(text), chunk).ec == std::errc() && chunk > 0) {
        settings.smallest = 0;
        settings.chunk = chunk;
        settings.slots = 3;
    }
    return settings;
}

}  // namespace

StreamedInput::~StreamedInput() { stopReader(); }

bool StreamedInput::open(const char* path) {
    file_ = File::openInput(path);
    if (!file_.isOpen()) return false;
    const auto size = file_.size();
    if (!size || !file_.seek(0)) return false;
    size_ = *size;
    const Streaming settings = streamingSettings();
    // A file smaller than a chunk takes no more memory than its size.
    chunk_ = size_t(std::min<uint64_t>(settings.chunk, std::max<uint64_t>(size_, 1)));
    const uint64_t chunks = (size_ + chunk_ - 1) / chunk_;
    useThread_ = size_ >= settings.smallest && size_ > 0;
    slots_ = useThread_ ? size_t(std::clamp<uint64_t>(chunks, 1, settings.slots)) : 1;
    if (size_ > 0) window_ = PageMemory(slots_ * chunk_);
    lengths_.assign(slots_, 0);
    startReading();
    return true;
}

void StreamedInput::startReading() {
    readOffset_ = 0;
    taken_ = 0;
    rest_ = {};
    pending_.clear();
    pendingHandedOver_ = false;
    atEnd_ = false;
    finished_.reset();
    produced_ = released_ = 0;
    ended_ = complete_ = size_ == 0;
    stop_ = false;
    threaded_ = useThread_ && reader_.start([this] { readAll(); });
}

void StreamedInput::stopReader() noexcept {
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    freed_.notify_one();
    try {
        reader_.join();
    } catch (...) {
    }
    threaded_ = false;
}

size_t StreamedInput::readChunk(size_t slot) noexcept {
    // Never more than the size the file had when opened.
    const uint64_t left = size_ - readOffset_;
    if (left == 0) return 0;
    const auto got = file_.readSome(window_.data() + slot * chunk_, size_t(std::min<uint64_t>(chunk_, left)));
    if (!got || *got == 0) return 0;
    readOffset_ += *got;
    return *got;
}

void StreamedInput::readAll() noexcept {
    std::unique_lock lock(mutex_);
    while (!complete_) {
        freed_.wait(lock, [&] { return stop_ || produced_ - released_ < slots_; });
        if (stop_) break;
        const size_t slot = size_t(produced_ % slots_);
        lock.unlock();
        const size_t got = readChunk(slot);
        lock.lock();
        if (got == 0) break;
        lengths_[slot] = got;
        ++produced_;
        complete_ = readOffset_ == size_;
        filled_.notify_one();
    }
    ended_ = true;
    filled_.notify_one();
}

std::string_view StreamedInput::nextChunk() {
    size_t slot = 0, length = 0;
    if (threaded_) {
        std::unique_lock lock(mutex_);
        released_ = taken_;
        freed_.notify_one();
        filled_.wait(lock, [&] { return produced_ > taken_ || ended_; });
        if (produced_ == taken_) return {};
        slot = size_t(taken_ % slots_);
        length = lengths_[slot];
    } else {
        if (ended_) return {};
        length = readChunk(0);
        complete_ = readOffset_ == size_;
        ended_ = complete_ || length == 0;
        if (length == 0) return {};
    }
    ++taken_;
    return {reinterpret_cast<const char*>(window_.data()) + slot * chunk_, length};
}

std::string_view StreamedInput::nextLines() {
    if (pendingHandedOver_) {
        pendingHandedOver_ = false;
        // The buffer a long line needed goes with it.
        if (pending_.capacity() > chunk_) std::vector<char>().swap(pending_);
        pending_.clear();
    }
    const auto handOverPending = [&] {
        pendingHandedOver_ = true;
        return std::string_view(pending_.data(), pending_.size());
    };
    for (;;) {
        if (!rest_.empty()) {
            if (!pending_.empty()) {
                const void* found = std::memchr(rest_.data(), '\n', rest_.size());
                const size_t take = found ? size_t(static_cast<const char*>(found) - rest_.data()) + 1 : rest_.size();
                pending_.insert(pending_.end(), rest_.begin(), rest_.begin() + take);
                rest_.remove_prefix(take);
                if (found) return handOverPending();
                continue;
            }
            const size_t lastLineEnd = rest_.rfind('\n');
            if (lastLineEnd == std::string_view::npos) {
                pending_.assign(rest_.begin(), rest_.end());
                rest_ = {};
                continue;
            }
            const std::string_view lines = rest_.substr(0, lastLineEnd + 1);
            rest_.remove_prefix(lastLineEnd + 1);
            return lines;
        }
        if (atEnd_) return {};
        rest_ = nextChunk();
        if (rest_.empty()) {
            atEnd_ = true;
            // The file's last line, without a line end.
            if (!pending_.empty()) return handOverPending();
            return {};
        }
    }
}

bool StreamedInput::allHandedOver() {
    std::lock_guard lock(mutex_);
    return complete_ && atEnd_;
}

bool StreamedInput::finish() {
    if (!finished_) {
        stopReader();
        finished_ = allHandedOver();
        file_.close();
    }
    return *finished_;
}

bool StreamedInput::rewind() {
    stopReader();
    if (!file_.isOpen() || !file_.seek(0)) return false;
    startReading();
    return true;
}

}  // namespace ostrel
