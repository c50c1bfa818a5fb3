#include "obj/obj_output.hpp"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <exception>
#include <mutex>
#include <set>

#include "core/parallel.hpp"

namespace ostrel::obj {

namespace {

bool unsafeInFileName(unsigned char c, FileNameRules rules) noexcept {
    if (c == '/' || c == '\\' || c == '\0') return true;
    if (rules == FileNameRules::Posix) return false;
    return c < 0x20 || std::string_view(":*?\"<>|").find(char(c)) != std::string_view::npos;
}

// CON, PRN, AUX, NUL, COM1-9 and LPT1-9, in any case, alone or before a
// dot: Windows opens the device instead of a file of that name.
bool isWindowsDeviceName(std::string_view name) noexcept {
    std::string stem(name.substr(0, name.find('.')));
    while (!stem.empty() && stem.back() == ' ') stem.pop_back();
    for (char& c : stem) c = char(std::toupper(static_cast<unsigned char>(c)));
    if (stem == "CON" || stem == "PRN" || stem == "AUX" || stem == "NUL") return true;
    return stem.size() == 4 && (stem.starts_with("COM") || stem.starts_with("LPT")) && stem[3] >= '1' &&
           stem[3] <= '9';
}

}  // namespace

std::string fileNameSafe(std::string_view groupName, FileNameRules rules, LeadByteTest isLead) {
    std::string safe(groupName);
    // A two-byte character is kept whole: its second byte is not a character
    // of its own. A lead byte without one, at the very end, is replaced.
    for (size_t i = 0; i < safe.size(); i += characterLength(safe, i, isLead)) {
        const unsigned char c = static_cast<unsigned char>(safe[i]);
        const bool loneLead = isLead(c) && i + 1 == safe.size();
        if (characterLength(safe, i, isLead) == 1 && (loneLead || unsafeInFileName(c, rules))) safe[i] = '_';
    }
    if (rules == FileNameRules::Windows && isWindowsDeviceName(safe)) return "_" + safe;
    return safe;
}

namespace {

// No folder holds this many copies of one group's file: the search ends
// here, whatever the file system answers, with no name to write under.
constexpr uint64_t kMostCopies = 100000;

}  // namespace

std::string freeOutputName(std::string_view folder, std::string_view groupName, std::string_view extension,
                           const std::set<std::string, std::less<>>& chosen) {
    const std::string stem = std::string(folder) + fileNameSafe(groupName);
    std::string candidate = stem + std::string(extension);
    for (uint64_t n = 1; n <= kMostCopies; ++n) {
        // A name the lookup cannot answer for (its folder part is a file, may
        // not be searched or loops, or the name is too long) can be neither
        // read nor created: it is used, and writing it fails at once.
        if (!chosen.count(candidate) && lookUpName(candidate.c_str()) != NameLookup::Taken) return candidate;
        candidate = stem + "_copy" + std::to_string(n) + std::string(extension);
    }
    return {};
}

std::vector<std::string> freeOutputNames(std::string_view folder, std::span<const std::string_view> groupNames,
                                         std::string_view extension) {
    std::vector<std::string> names;
    std::set<std::string, std::less<>> chosen;
    for (std::string_view groupName : groupNames) {
        names.push_back(freeOutputName(folder, groupName, extension, chosen));
        if (!names.back().empty()) chosen.insert(names.back());
    }
    return names;
}

std::string freeOutputName(std::string_view folder, std::string_view groupName, std::string_view extension) {
    return freeOutputName(folder, groupName, extension, {});
}

size_t writeGroupOutputs(std::span<const std::string> outputs, size_t vertexCount, const WriteGroupOutput& write) {
    std::atomic<size_t> next{0};
    std::atomic<size_t> firstFailed{outputs.size()};
    std::vector<std::atomic<bool>> written(outputs.size());
    // An output that throws (memory ran out) fails like one that could not be
    // written; the first such exception is rethrown once the files are tidy.
    std::mutex thrownMutex;
    std::exception_ptr thrown;
    auto failAt = [&](size_t index) {
        for (size_t seen = firstFailed; index < seen && !firstFailed.compare_exchange_weak(seen, index);) {
        }
    };
    auto work = [&] {
        size_t index = outputs.size();
        try {
            VertexSetBuilder numbers(vertexCount);
            for (index = next++; index < outputs.size() && index < firstFailed; index = next++) {
                OutputFile out;
                bool ok = out.open(outputs[index].c_str(), OutputFile::Existing::Refuse);
                if (ok) {
                    write(index, numbers, out);
                    ok = out.commit();
                }
                if (ok)
                    written[index] = true;
                else
                    failAt(index);
            }
        } catch (...) {
            failAt(std::min(index, next.load()));
            std::lock_guard lock(thrownMutex);
            if (!thrown) thrown = std::current_exception();
        }
    };
    runSideBySide(work, work);
    for (size_t index = firstFailed + 1; index < outputs.size(); ++index)
        if (written[index]) removeFile(outputs[index].c_str());
    if (thrown) std::rethrow_exception(thrown);
    return firstFailed;
}

VertexSetBuilder::VertexSetBuilder(size_t vertexCount) : newNumber_(vertexCount, 0) {}

std::span<const uint32_t> VertexSetBuilder::build(std::span<const uint32_t> corners) {
    // The last set's numbers go back to 0 ("not in the set"): its members are
    // the only entries that are not.
    for (uint32_t index : members_) newNumber_[index] = 0;
    members_.clear();
    uint32_t lowest = UINT32_MAX, highest = 0;
    for (uint32_t index : corners) {
        if (newNumber_[index] != 0) continue;
        newNumber_[index] = 1;
        members_.push_back(index);
        lowest = std::min(lowest, index);
        highest = std::max(highest, index);
    }
    const size_t count = members_.size();
    if (count == 0) return {};
    // A group usually owns a compact run of vertices: scanning its marks in
    // order is then cheaper than sorting; a scattered group is sorted.
    const uint64_t span = uint64_t(highest) - lowest + 1;
    if (span <= 8 * uint64_t(count)) {
        size_t out = 0;
        for (uint64_t i = lowest; i <= highest; ++i)
            if (newNumber_[i] != 0) members_[out++] = uint32_t(i);
    } else {
        std::sort(members_.begin(), members_.end());
    }
    for (size_t k = 0; k < count; ++k) newNumber_[members_[k]] = uint32_t(k + 1);
    return members_;
}

}  // namespace ostrel::obj
