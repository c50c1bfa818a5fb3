#include "core/background_writer.hpp"

namespace ostrel {

std::unique_ptr<BackgroundWriter> BackgroundWriter::start(File& file, size_t bufferSize) {
    std::unique_ptr<BackgroundWriter> writer(new BackgroundWriter(file, bufferSize));
    if (!writer->thread_.start([w = writer.get()] { w->run(); })) return nullptr;
    return writer;
}

bool BackgroundWriter::hand(std::unique_ptr<char[]>& buffer, size_t size) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return !busy_; });
    if (failed_) return false;
    // The free buffer is found before anything changes hands: when memory
    // runs out, the caller's buffer is still its own.
    std::unique_ptr<char[]> next = spare_ ? std::move(spare_) : std::unique_ptr<char[]>(new char[bufferSize_]);
    pending_ = std::move(buffer);
    pendingSize_ = size;
    busy_ = true;
    buffer = std::move(next);
    changed_.notify_all();
    return true;
}

void BackgroundWriter::run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [&] { return busy_ || stopping_; });
        if (!busy_) return;
        std::unique_ptr<char[]> job = std::move(pending_);
        const size_t size = pendingSize_;
        const bool skip = failed_;
        lock.unlock();
        const bool written = skip || file_.writeAll(job.get(), size);
        lock.lock();
        failed_ = failed_ || !written;
        spare_ = std::move(job);
        busy_ = false;
        changed_.notify_all();
    }
}

bool BackgroundWriter::finish() noexcept {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    try {
        thread_.join();
    } catch (...) {
        failed_ = true;
    }
    return !failed_;
}

}  // namespace ostrel
