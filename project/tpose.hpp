#pragma once
// The posing project's module-level state: the T-pose reference list and the
// two project headers (current and old layout) with their modifiers.

#include <cstdint>
#include <string_view>
#include <vector>

namespace ostrel::project {

inline constexpr size_t kRefTextField = 255;   // NUL-terminated: at most 254 bytes of text

// One T-pose reference; also the 516-byte record of the project file.
struct TPoseRef {
    uint32_t refNumber = 0;
    char refName[kRefTextField] = {};
    char refInfo[kRefTextField] = {};
    // Two bytes of alignment follow, written as zeros.

    std::string_view nameText() const noexcept;
    std::string_view infoText() const noexcept;
};
static_assert(sizeof(TPoseRef) == 516, "the record is written and read as 516 bytes");

// Current-layout header, 32 bytes on disk.
struct NewProjectHeader {
    char tag[16] = {};
    uint32_t reserved1 = 0;
    uint32_t reserved2 = 0;
    uint32_t refCount = 0;
    uint32_t prjModfier = 0;
};
static_assert(sizeof(NewProjectHeader) == 32);

// Old-layout header, 16 bytes on disk.
struct OldProjectHeader {
    uint32_t reserved1 = 0;
    uint32_t reserved2 = 0;
    uint32_t refCount = 0;
    uint32_t prjModfier = 0;
};
static_assert(sizeof(OldProjectHeader) == 16);

struct ProjectState {
    std::vector<TPoseRef> tPoseList;
    NewProjectHeader thisNEWPrjHdr;
    OldProjectHeader thisPrjHdr;
};

ProjectState& projectState() noexcept;
void resetProjectState() noexcept;

inline constexpr float kNoReference = -1.0f;
inline constexpr float kListIsEmpty = -5.0f;

// Cuts both texts to 254 bytes, appends the record and counts it in the header.
void addTPoseRef(uint32_t refNumber, std::string_view name, std::string_view info);
// The first record whose name equals `name`, or nullptr.
const TPoseRef* findTPoseRef(std::string_view name) noexcept;
void clearTPoseList() noexcept;
void setPrjModfier(uint32_t modifier) noexcept;
// value > 0: the current project's modifier; otherwise the old-layout one's.
float getPrjModfier(double selector) noexcept;

}  // namespace ostrel::project
