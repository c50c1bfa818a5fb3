#include "obj/group_list.hpp"

#include <algorithm>
#include <cstring>

#include "core/byte_cursor.hpp"
#include "core/file_io.hpp"
#include "core/text_out.hpp"
#include "mesh/tev_format.hpp"

namespace ostrel::obj {

std::string_view groupID::nameText() const noexcept {
    // A loaded record may lack its NUL; the name then ends at byte 127.
    return fixedFieldText(name, kGroupNameField - 1);
}

void groupID::setName(std::string_view text) noexcept {
    std::memset(name, 0, sizeof name);
    std::memcpy(name, text.data(), std::min(text.size(), kGroupNameField - 1));
}

GroupListState& groupListState() noexcept {
    static GroupListState state;
    return state;
}

void resetGroupListState() noexcept { groupListState() = GroupListState{}; }

void addToGroupsList(std::string_view name, int32_t faceCount) {
    GroupListState& s = groupListState();
    groupID record;
    record.setName(name);
    record.startFace = s.faceIndex;
    record.endFace = int32_t(uint32_t(s.faceIndex) + uint32_t(faceCount));
    s.groupsList.push_back(record);
    s.faceIndex = record.endFace;
}

float saveGroupsList(const char* path) {
    const GroupListState& s = groupListState();
    if (s.groupsList.empty()) return kListEmpty;
    OutputFile out;
    if (!out.open(path)) return kListFileCannotOpen;
    for (const groupID& record : s.groupsList) {
        char name[kGroupNameField] = {};
        std::string_view text = record.nameText();
        std::memcpy(name, text.data(), text.size());
        out.write(name, sizeof name);
        out.putI32le(record.startFace);
        out.putI32le(record.endFace);
    }
    return out.commit() ? 0.0f : kListFileCannotOpen;
}

void loadGroupsFromBytes(std::span<const uint8_t> file) {
    GroupListState& s = groupListState();
    s.groupsList.clear();
    s.faceIndex = 0;
    const size_t records = file.size() / kGroupRecordSize;
    s.groupsList.reserve(records);
    ByteCursor cursor(file);
    // A trailing partial record is not read: the reads fail there.
    for (;;) {
        groupID record;
        const auto name = cursor.readBytes(kGroupNameField);
        if (!name) break;
        // Fewer than four bytes are left after a failed read.
        const auto startFace = cursor.readI32le();
        const auto endFace = cursor.readI32le();
        if (!endFace) break;
        std::memcpy(record.name, name->data(), kGroupNameField);
        record.name[kGroupNameField - 1] = '\0';
        record.startFace = *startFace;
        record.endFace = *endFace;
        s.groupsList.push_back(record);
    }
}

float loadGroupsList(const char* path) {
    GroupListState& s = groupListState();
    s.groupsList.clear();
    s.faceIndex = 0;
    auto file = readWholeFile(path);
    if (!file) return kListFileCannotOpen;
    loadGroupsFromBytes(file->bytes());
    return 0;
}

float getGroupsListSize() noexcept {
    const auto& list = groupListState().groupsList;
    return list.empty() ? kListEmpty : float(list.size());
}

std::string_view getGroupName(int32_t index) noexcept {
    const auto& list = groupListState().groupsList;
    if (index < 0 || size_t(index) >= list.size()) return "null";
    return list[size_t(index)].nameText();
}

void clearGroupsList() noexcept {
    GroupListState& s = groupListState();
    s.groupsList.clear();
    s.faceIndex = 0;
    s.groupFacesList.clear();
}

std::optional<std::string> NameCheck(std::string_view name, size_t longest) {
    GroupListState& s = groupListState();
    std::string candidate(name);
    if (!s.nameSet.contains(candidate)) {
        if (candidate.size() > longest) return std::nullopt;
        s.nameSet.insert(candidate);
        return candidate;
    }
    // Every candidate for a taken name is one stem and a number: the stem is
    // the name cut just after its first "_copy", or the name with "_copy" added.
    constexpr std::string_view kCopy = "_copy";
    const size_t copyAt = name.find(kCopy);
    const std::string stem =
        copyAt == std::string_view::npos ? candidate + std::string(kCopy) : candidate.substr(0, copyAt + kCopy.size());
    // The lowest free number, searched from where the last search for this
    // stem ended: a number passed over is taken, and stays taken. The number
    // moves on only once its name is in the set, so running out of memory
    // cannot make it skip a free one. The stem's candidates only grow
    // longer, so the first one that is too long ends the search with
    // nothing remembered.
    uint64_t& next = s.nextCopyNumber.try_emplace(stem, 1).first->second;
    for (;;) {
        candidate = stem + std::to_string(next);
        if (candidate.size() > longest) return std::nullopt;
        const bool inserted = s.nameSet.insert(candidate).second;
        ++next;
        if (inserted) return candidate;
    }
}

void NameSetClear() noexcept {
    GroupListState& s = groupListState();
    s.nameSet.clear();
    s.nextCopyNumber.clear();
}

int64_t locateGroupListPayload(std::span<const uint8_t> container) noexcept {
    // The same chain walk as a Tev reader's: the first end block within the
    // limit; its 16 header bytes are skipped.
    auto end = mesh::findBlock(container, mesh::kTevHeaderSize, mesh::kTagEnd, mesh::SearchLimit::BeforeLast20);
    if (!end) return int64_t(kBlockMissing);
    return int64_t(end->payloadOffset());
}

float getGroupsListFile(const char* containerPath, const char* outputPath) {
    auto container = readWholeFile(containerPath);
    if (!container) return kListFileCannotOpen;
    int64_t start = locateGroupListPayload(container->bytes());
    if (start < 0) return float(start);
    // The payload written over its own container would destroy the container.
    if (sameExistingFile(containerPath, outputPath)) return kOutputCannotWrite;
    OutputFile out;
    if (!out.open(outputPath)) return kOutputCannotWrite;
    out.write(container->bytes().subspan(size_t(start)));
    return out.commit() ? 0.0f : kOutputCannotWrite;
}

}  // namespace ostrel::obj
