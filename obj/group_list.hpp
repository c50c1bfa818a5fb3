#pragma once
// The group list (named face ranges of a combined mesh), its 136-byte-record
// file, the set of names handed out by CheckName, and the extraction of a
// group-list payload from a Tev-laid-out container.

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/result_codes.hpp"

namespace ostrel::obj {

inline constexpr size_t kGroupNameField = 128;   // NUL-terminated: at most 127 bytes of name
inline constexpr size_t kGroupRecordSize = 136;

// One group: the on-disk record is name[128], startFace, endFace (little-endian).
struct groupID {
    char name[kGroupNameField] = {};
    int32_t startFace = 0;
    int32_t endFace = 0;

    std::string_view nameText() const noexcept;
    void setName(std::string_view text) noexcept;   // cut to 127 bytes
};
static_assert(sizeof(groupID) == kGroupRecordSize, "the record is written and read as 136 bytes");

struct GroupListState {
    std::vector<groupID> groupsList;
    int32_t faceIndex = 0;
    std::map<std::string, int32_t> groupFacesList;   // group name to face count
    std::set<std::string> nameSet;
    // CheckName's memory, per stem ("name_copy"): the lowest number whose
    // candidate may still be free. Every stem + k below it is in nameSet, and
    // stays there until ClearNameSet empties both, so a search starts here
    // instead of at 1 and a name asked for again and again costs the same
    // each time.
    std::map<std::string, uint64_t, std::less<>> nextCopyNumber;
};

GroupListState& groupListState() noexcept;
void resetGroupListState() noexcept;

// Codes, besides kBlockMissing (getDaxFile finds no payload chunk) and
// kOutputCannotWrite (getDaxFile cannot write the payload).
inline constexpr float kListEmpty = -1.0f;
inline constexpr float kListFileCannotOpen = -3.0f;

void addToGroupsList(std::string_view name, int32_t faceCount);
float saveGroupsList(const char* path);
float loadGroupsList(const char* path);
// Replaces the list by the whole records of `file`; a trailing partial record is ignored.
void loadGroupsFromBytes(std::span<const uint8_t> file);
float getGroupsListSize() noexcept;
// The name of record `index`, or "null" when there is none.
std::string_view getGroupName(int32_t index) noexcept;
void clearGroupsList() noexcept;

// A name not handed out before: `name` itself, or its first free "_copy"
// number, which is remembered. Nothing, and nothing remembered, when that
// name is longer than `longest` bytes.
std::optional<std::string> NameCheck(std::string_view name, size_t longest = SIZE_MAX);
void NameSetClear() noexcept;

float getGroupsListFile(const char* containerPath, const char* outputPath);
// Where the payload starts (16 bytes past the first end chunk), or a code.
int64_t locateGroupListPayload(std::span<const uint8_t> container) noexcept;

}  // namespace ostrel::obj
