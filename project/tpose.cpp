#include "project/tpose.hpp"

#include <algorithm>
#include <cstring>

#include "core/text_out.hpp"

namespace ostrel::project {
namespace {

void storeText(char (&field)[kRefTextField], std::string_view text) noexcept {
    std::memset(field, 0, sizeof field);
    std::memcpy(field, text.data(), std::min(text.size(), kRefTextField - 1));
}

}  // namespace

std::string_view TPoseRef::nameText() const noexcept { return fixedFieldText(refName, kRefTextField - 1); }
std::string_view TPoseRef::infoText() const noexcept { return fixedFieldText(refInfo, kRefTextField - 1); }

ProjectState& projectState() noexcept {
    static ProjectState state;
    return state;
}

void resetProjectState() noexcept { projectState() = ProjectState{}; }

void addTPoseRef(uint32_t refNumber, std::string_view name, std::string_view info) {
    ProjectState& s = projectState();
    TPoseRef record;
    record.refNumber = refNumber;
    storeText(record.refName, name);
    storeText(record.refInfo, info);
    s.tPoseList.push_back(record);
    ++s.thisNEWPrjHdr.refCount;
}

const TPoseRef* findTPoseRef(std::string_view name) noexcept {
    for (const TPoseRef& record : projectState().tPoseList)
        if (record.nameText() == name) return &record;
    return nullptr;
}

void clearTPoseList() noexcept {
    ProjectState& s = projectState();
    s.tPoseList.clear();
    // The tag of the current header stays: it is rewritten before every save.
    s.thisNEWPrjHdr.reserved1 = s.thisNEWPrjHdr.reserved2 = 0;
    s.thisNEWPrjHdr.refCount = s.thisNEWPrjHdr.prjModfier = 0;
    s.thisPrjHdr = OldProjectHeader{};
}

void setPrjModfier(uint32_t modifier) noexcept { projectState().thisNEWPrjHdr.prjModfier = modifier; }

float getPrjModfier(double selector) noexcept {
    const ProjectState& s = projectState();
    return selector > 0 ? float(s.thisNEWPrjHdr.prjModfier) : float(s.thisPrjHdr.prjModfier);
}

}  // namespace ostrel::project
