#include "platform/listing.hpp"

#include <algorithm>
#include <cstring>

#include "core/path_text.hpp"
#include "platform/platform.hpp"

namespace ostrel::platform {
namespace {

constexpr std::string_view kFullName = "fullname";
constexpr std::string_view kName = "name";

struct OpenWalk {
    std::unique_ptr<FolderWalk> walk;
    size_t handedOut = 0;
    bool failureReported = false;
};

OpenWalk& currentWalk() noexcept {
    static OpenWalk open;
    return open;
}

bool isDotOrDotDot(std::string_view name) noexcept { return name == "." || name == ".."; }

// The NUL-terminated string that starts at `from`, or nothing when no NUL
// follows it inside the buffer.
std::optional<std::string_view> stringAt(const SelectionBuffer& buffer, size_t from) noexcept {
    if (from >= buffer.size()) return std::nullopt;
    const void* nul = std::memchr(buffer.data() + from, 0, buffer.size() - from);
    if (!nul) return std::nullopt;
    return std::string_view(buffer.data() + from, size_t(static_cast<const char*>(nul) - (buffer.data() + from)));
}

}  // namespace

SelectionBuffer& selectionBuffer() noexcept {
    static SelectionBuffer buffer{};
    return buffer;
}

int selectionCount(const SelectionBuffer& buffer) noexcept {
    int nuls = 0;
    for (size_t i = 0; i + 1 < buffer.size(); ++i) {
        if (buffer[i] != '\0') continue;
        if (buffer[i + 1] == '\0') return std::max(nuls, 1);
        ++nuls;
    }
    return nuls;
}

std::optional<std::string> selectionEntry(const SelectionBuffer& buffer, std::string_view keyword, int32_t number) {
    const bool full = keyword == kFullName;
    if (!full && keyword != kName) return std::nullopt;
    const int count = selectionCount(buffer);
    if (number < 1 || number > count) return std::nullopt;
    const auto first = stringAt(buffer, 0);
    if (!first) return std::nullopt;
    if (count == 1) {
        if (full) return std::string(*first);
        const size_t slash = findLastCharacter(*first, '\\');
        if (slash == std::string_view::npos) return std::nullopt;
        return std::string(first->substr(slash + 1));
    }
    size_t at = first->size() + 1;
    auto name = stringAt(buffer, at);
    for (int32_t i = 1; name && i < number; ++i) {
        at += name->size() + 1;
        name = stringAt(buffer, at);
    }
    if (!name) return std::nullopt;
    if (!full) return std::string(*name);
    std::string path;
    path.reserve(first->size() + 1 + name->size());
    path.append(*first).append(1, '\\').append(*name);
    return path;
}

ListingWriter::ListingWriter(SelectionBuffer& buffer, std::string_view folder) noexcept
    : buffer_(buffer), folder_(folder) {}

bool ListingWriter::put(std::string_view text) noexcept {
    // The position after the text's NUL must stay below the buffer size.
    if (next_ >= buffer_.size() || buffer_.size() - next_ <= text.size() + 1) return false;
    std::memcpy(buffer_.data() + next_, text.data(), text.size());
    buffer_[next_ + text.size()] = '\0';
    next_ += text.size() + 1;
    return true;
}

bool ListingWriter::add(std::string_view name) noexcept {
    if (ended_ || !addName(name)) {
        ended_ = true;
        return false;
    }
    return true;
}

bool ListingWriter::addName(std::string_view name) noexcept {
    if (count_ == 0) {
        if (name.size() >= held_.size() || !put(folder_)) return false;
        folderEnd_ = next_ - 1;
        std::memcpy(held_.data(), name.data(), name.size());
        heldSize_ = name.size();
        count_ = 1;
        return true;
    }
    if (count_ == 1 && !put(std::string_view(held_.data(), heldSize_))) return false;
    if (!put(name)) return false;
    ++count_;
    return true;
}

int ListingWriter::finish() noexcept {
    if (count_ == 1) {
        // One entry: its full path instead of folder and name.
        next_ = folderEnd_;
        buffer_[next_++] = '\\';
        if (!put(std::string_view(held_.data(), heldSize_))) {
            buffer_[folderEnd_] = '\0';   // cannot happen for a folder path refused above 257 bytes
            return 0;
        }
    }
    if (count_ > 0 && next_ < buffer_.size()) buffer_[next_] = '\0';
    return count_;
}

std::optional<std::vector<std::string>> collectNames(FolderWalk& walk, size_t limit) {
    std::vector<std::string> names;
    while (auto name = walk.next()) {
        if (isDotOrDotDot(*name)) continue;
        if (names.size() == limit) return std::nullopt;
        names.push_back(std::move(*name));
    }
    if (walk.failed()) return std::nullopt;
    return names;
}

std::optional<std::vector<std::string>> listFolder(const char* path) {
    const auto walk = openFolderWalk(path);
    if (!walk) return std::nullopt;
    return collectNames(*walk, kMaxFolderEntries);
}

bool openWalk(const char* path) {
    OpenWalk& open = currentWalk();
    open.walk.reset();
    open.handedOut = 0;
    open.failureReported = false;
    if (!path || !*path) return false;
    open.walk = openFolderWalk(path);
    return open.walk != nullptr;
}

WalkResult nextWalkEntry(std::string& name) {
    OpenWalk& open = currentWalk();
    if (!open.walk) return WalkResult::NoWalk;
    if (open.handedOut == kMaxFolderEntries) return WalkResult::Exhausted;
    auto entry = open.walk->next();
    if (!entry) {
        // A folder that could not be read to its end is not reported as
        // listed: the caller hears of it once.
        if (!open.walk->failed() || open.failureReported) return WalkResult::Exhausted;
        open.failureReported = true;
        return WalkResult::Failed;
    }
    ++open.handedOut;
    name = std::move(*entry);
    return WalkResult::Entry;
}

bool walkIsOpen() noexcept { return currentWalk().walk != nullptr; }

bool closeWalk() noexcept {
    OpenWalk& open = currentWalk();
    if (!open.walk) return false;
    open.walk.reset();
    return true;
}

}  // namespace ostrel::platform
