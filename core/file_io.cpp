#include "core/file_io.hpp"

#include <cstring>

#include "core/background_writer.hpp"
#include "core/file_system.hpp"
#include "core/path_text.hpp"

namespace ostrel {

// ---- File: the parts every platform shares ----------------------------------

File::~File() { close(); }

File& File::operator=(File&& other) noexcept {
    if (this != &other) {
        close();
        native_ = std::exchange(other.native_, kClosed);
    }
    return *this;
}

bool File::readExact(void* data, size_t size) {
    auto* bytes = static_cast<uint8_t*>(data);
    while (size > 0) {
        const auto got = readSome(bytes, size);
        if (!got || *got == 0) return false;
        bytes += *got;
        size -= *got;
    }
    return true;
}

// ---- Whole-file reads ----------------------------------------------------------

std::optional<ByteBuffer> readWholeFile(File& file, ByteBuffer (*allocate)(size_t)) {
    const auto size = file.isOpen() ? file.size() : std::nullopt;
    if (!size || *size > SIZE_MAX || !file.seek(0)) return std::nullopt;
    ByteBuffer buffer = allocate ? allocate(static_cast<size_t>(*size)) : ByteBuffer(static_cast<size_t>(*size));
    if (!file.readExact(buffer.data(), buffer.size())) return std::nullopt;
    return buffer;
}

std::optional<ByteBuffer> readWholeFile(const char* path) {
    File file = File::openInput(path);
    if (!file.isOpen()) return std::nullopt;
    return readWholeFile(file);
}

// ---- OutputFile ------------------------------------------------------------------

namespace {

// Creates the temporary file beside `target` under ".~" and 12 letters: short
// enough that a target of the longest legal name (255 bytes) still has one
// beside it, and unpredictable, so a file planted beside the target cannot
// await the output. The name is built whole before any file exists and
// moved into `temp` (which cannot fail) once the file is made, so `temp`
// names the file exactly when there is one to remove.
bool createTemporaryBeside(const std::string& target, FileSystem::Access access, File& file, std::string& temp) {
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    constexpr size_t kLetterCount = 12;
    std::string name(folderPart(target));
    name += ".~";
    name.append(kLetterCount, 'a');
    // A name is taken only by a file created meanwhile: 100 draws end the
    // search whatever the folder holds.
    for (int attempt = 0; attempt < 100; ++attempt) {
        uint64_t bits = FileSystem::randomBits();
        for (size_t i = name.size() - kLetterCount; i < name.size(); ++i, bits /= 36) name[i] = kLetters[bits % 36];
        const FileSystem::Created created = FileSystem::createExclusive(name, file, access);
        if (created == FileSystem::Created::Yes) {
            temp = std::move(name);
            return true;
        }
        if (created == FileSystem::Created::No) break;
    }
    return false;
}

}  // namespace

OutputFile::OutputFile() = default;
OutputFile::~OutputFile() { abandon(); }

bool OutputFile::open(const char* path, Existing existingFile) {
    abandon();
    if (!path || !*path) return false;
    refuseExisting_ = existingFile == Existing::Refuse;
    std::optional<std::string> target;
    FileSystem::Target existing;
    if (refuseExisting_) {
        // Nothing is there, so there is no link to follow.
        if (lookUpName(path) != NameLookup::Free) return false;
        target = path;
    } else {
        // A link is followed to the file it names: that file is replaced and
        // the link keeps pointing at it.
        target = FileSystem::resolveLinks(path);
        if (!target) return false;
        existing = FileSystem::inspect(*target);
        if (existing.kind == FileSystem::Kind::Other) return false;
    }
    replacing_ = existing.kind == FileSystem::Kind::RegularFile;
    // Everything the output needs is allocated before its temporary file
    // exists, so running out of memory cannot leave one behind.
    buffer_.reset(new char[kBufferSize]);
    used_ = unflushed_ = 0;
    target_ = std::move(*target);
    // A target its owner made read-only is left alone. A replacement starts
    // private and is given the old file's owner and mode before its first
    // byte, so it is never more open than the file it replaces.
    const bool refused = replacing_ && !existing.writable;
    const bool created = !refused && createTemporaryBeside(target_, replacing_ ? FileSystem::Access::Private
                                                                               : FileSystem::Access::Default,
                                                           file_, temp_);
    if (!created && !replacing_) {
        abandon();
        return false;
    }
    // Without a temporary file beside it, or without the old file's owner
    // and mode, the target cannot be replaced as it was: the output fails
    // rather than write into the user's file or hand it over.
    failed_ = !created || (replacing_ && !FileSystem::takeOwnerAndMode(file_, target_));
    return true;
}

void OutputFile::flushBuffer() {
    if (!used_ || failed_) {
        used_ = 0;
        return;
    }
    if (!writer_ && used_ == kBufferSize) writer_ = BackgroundWriter::start(file_, kBufferSize);
    if (writer_) {
        failed_ = !writer_->hand(buffer_, used_);
    } else if (!file_.writeAll(buffer_.get(), used_)) {
        failed_ = true;
    }
    // A replacement is flushed before its rename: the disk starts on it as
    // it grows, so that flush waits for the last few buffers, not the file.
    unflushed_ += used_;
    if (replacing_ && unflushed_ >= kWriteBackStep) {
        FileSystem::startWriteBack(file_);
        unflushed_ = 0;
    }
    used_ = 0;
}

void OutputFile::drainWriter() {
    if (writer_ && !writer_->finish()) failed_ = true;
    writer_.reset();
}

void OutputFile::stopWriter() noexcept {
    if (writer_) writer_->finish();
    writer_.reset();
}

void OutputFile::writePastBuffer(const void* data, size_t size) {
    const char* bytes = static_cast<const char*>(data);
    flushBuffer();
    if (size < kBufferSize) {
        std::memcpy(buffer_.get(), bytes, size);
        used_ = size;
        return;
    }
    drainWriter();
    if (!failed_ && !file_.writeAll(bytes, size)) failed_ = true;
}

bool OutputFile::writeFrom(File& in) {
    flushBuffer();
    drainWriter();
    if (failed_ || !file_.isOpen()) return false;
    if (int kernel = FileSystem::copyInKernel(in, file_); kernel != 0) {
        failed_ = kernel < 0;
        return !failed_;
    }
    constexpr size_t kChunk = size_t(4) << 20;
    std::unique_ptr<char[]> chunk(new char[kChunk]);
    // No more than the file held when the copy began: one that another
    // program keeps appending to cannot keep the copy going.
    const auto size = in.size();
    if (!size) failed_ = true;
    for (uint64_t left = size.value_or(0); left > 0 && !failed_;) {
        const auto got = in.readSome(chunk.get(), size_t(std::min<uint64_t>(kChunk, left)));
        if (!got) failed_ = true;
        if (!got || *got == 0) break;
        if (!file_.writeAll(chunk.get(), *got)) failed_ = true;
        left -= *got;
    }
    return !failed_;
}

void OutputFile::putU32le(uint32_t v) {
    char b[4] = {char(v), char(v >> 8), char(v >> 16), char(v >> 24)};
    write(b, 4);
}

void OutputFile::putU16le(uint16_t v) {
    char b[2] = {char(v), char(v >> 8)};
    write(b, 2);
}

void OutputFile::putF32le(float v) {
    uint32_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    putU32le(bits);
}

bool OutputFile::commit() {
    if (!buffer_) return false;
    flushBuffer();
    drainWriter();
    bool ok = !failed_ && file_.isOpen();
    // A replacement is on the disk before it takes the old file's name, so a
    // power cut leaves the old file or the new one, never an empty one.
    ok = ok && (!replacing_ || FileSystem::flushToDisk(file_));
    ok = file_.close() && ok;
    ok = ok && (refuseExisting_ ? renameWithoutReplacing(temp_.c_str(), target_.c_str())
                                : FileSystem::replace(temp_, target_));
    if (!ok) {
        abandon();
        return false;
    }
    temp_.clear();
    buffer_.reset();
    if (replacing_) {
        // Cut to its folder in place: nothing is allocated once the old file
        // is gone, so nothing can report a completed replacement as failed.
        target_.resize(folderPart(target_).size());
        FileSystem::flushFolder(target_);
    }
    return true;
}

void OutputFile::abandon() {
    stopWriter();
    if (file_.isOpen()) file_.close();
    if (!temp_.empty()) removeFile(temp_.c_str());
    temp_.clear();
    buffer_.reset();
    used_ = 0;
}

bool writeWholeFile(const char* path, std::span<const uint8_t> bytes) {
    OutputFile out;
    if (!out.open(path)) return false;
    out.write(bytes);
    return out.commit();
}

bool copyFile(const char* source, const char* target) {
    if (!source || !target) return false;
    // Replacing a file by itself: nothing to do, and writing the target would
    // destroy the source.
    if (sameExistingFile(source, target)) return true;
    File in = File::openInput(source);
    if (!in.isOpen()) return false;
    OutputFile out;
    if (!out.open(target)) return false;
    // The target is not the source: its cached pages are of no more use.
    FileSystem::releaseCache(target);
    return out.writeFrom(in) && out.commit();
}

// ---- InPlaceUpdate -------------------------------------------------------------

namespace {

// [first, end) of the bytes where `a` and `b` (of one length) differ; empty
// when they are equal. Whole pages are compared first, so long equal runs
// cost a memcmp.
std::pair<size_t, size_t> differingRange(std::span<const uint8_t> a, std::span<const uint8_t> b) noexcept {
    constexpr size_t kPage = 4096;
    size_t first = 0, end = a.size();
    while (end - first >= kPage && std::memcmp(&a[first], &b[first], kPage) == 0) first += kPage;
    while (first < end && a[first] == b[first]) ++first;
    while (end - first >= kPage && std::memcmp(&a[end - kPage], &b[end - kPage], kPage) == 0) end -= kPage;
    while (end > first && a[end - 1] == b[end - 1]) --end;
    return {first, end};
}

}  // namespace

bool InPlaceUpdate::open(const char* path, Open how) {
    rollBack();
    created_ = false;
    path_ = path ? path : "";
    file_ = how == Open::CreateIfMissing ? File::openOrCreateForUpdate(path, created_) : File::openForUpdate(path);
    const auto size = file_.size();
    if (!size) {
        // Nothing was written and the old length is unknown: the file is left
        // exactly as it is (one this call created is removed).
        file_.close();
        if (created_) removeFile(path_.c_str());
        created_ = false;
        return false;
    }
    originalSize_ = end_ = *size;
    saved_.clear();
    failed_ = false;
    return true;
}

bool InPlaceUpdate::readAt(uint64_t offset, void* data, size_t size) {
    return !failed_ && file_.seek(offset) && file_.readExact(data, size);
}

bool InPlaceUpdate::overwrite(uint64_t offset, std::span<const uint8_t> bytes) {
    if (failed_ || !file_.isOpen()) return false;
    if (bytes.empty()) return true;
    // Only the bytes that were there before are kept: what lies past the old
    // end goes when the file is cut back.
    const uint64_t keptEnd = std::min(originalSize_, offset + bytes.size());
    if (offset < keptEnd) {
        Saved old{offset, std::vector<uint8_t>(size_t(keptEnd - offset)), {}};
        if (!readAt(offset, old.owned.data(), old.owned.size())) {
            failed_ = true;
            return false;
        }
        old.bytes = old.owned;
        saved_.push_back(std::move(old));
    }
    return write(offset, bytes);
}

bool InPlaceUpdate::overwrite(uint64_t offset, std::span<const uint8_t> bytes, std::span<const uint8_t> current) {
    if (failed_ || !file_.isOpen() || current.size() != bytes.size() || offset + bytes.size() > originalSize_)
        return false;
    // Bytes that stay the same need not be written, nor kept.
    const auto [first, end] = differingRange(bytes, current);
    if (first == end) return true;
    saved_.push_back({offset + first, {}, current.subspan(first, end - first)});
    return write(offset + first, bytes.subspan(first, end - first));
}

bool InPlaceUpdate::write(uint64_t offset, std::span<const uint8_t> bytes) {
    failed_ = !file_.seek(offset) || !file_.writeAll(bytes.data(), bytes.size());
    if (!failed_) end_ = std::max(end_, offset + bytes.size());
    return !failed_;
}

bool InPlaceUpdate::append(std::span<const uint8_t> bytes) { return overwrite(end_, bytes); }

bool InPlaceUpdate::commit() {
    if (!file_.isOpen()) return false;
    // The update is on the disk before the call reports it done.
    if (!failed_ && FileSystem::flushToDisk(file_) && file_.close()) {
        saved_.clear();
        created_ = false;
        return true;
    }
    // A close that failed may have lost written bytes: put the old ones back.
    if (!file_.isOpen()) file_ = File::openForUpdate(path_.c_str());
    rollBack();
    return false;
}

void InPlaceUpdate::rollBack() noexcept {
    if (file_.isOpen()) {
        // Newest first, so a range written twice ends with its oldest bytes.
        for (auto it = saved_.rbegin(); it != saved_.rend(); ++it)
            if (file_.seek(it->offset)) file_.writeAll(it->bytes.data(), it->bytes.size());
        // A write that failed halfway may have grown the file all the same.
        if (file_.size() != originalSize_) file_.truncate(originalSize_);
        // The old bytes, too, should survive a power cut that follows.
        FileSystem::flushToDisk(file_);
        file_.close();
    }
    if (created_) removeFile(path_.c_str());
    saved_.clear();
    created_ = false;
    end_ = originalSize_;
}

}  // namespace ostrel
