#pragma once
// What the OBJ tools share on the output side: where a split writes, the
// never-overwriting output names, safe file names from group names, the
// ascending vertex sets of groups, and number text for face lines.

#include <cstdint>
#include <functional>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/file_io.hpp"
#include "core/number_text.hpp"
#include "core/path_text.hpp"
#include "core/pod_buffer.hpp"
#include "core/text_out.hpp"

namespace ostrel::obj {

// Which characters a file name may not hold: the host system's own rules, or
// Windows' (which also reserve device names such as CON and COM1).
enum class FileNameRules { Posix, Windows };
#ifdef _WIN32
inline constexpr FileNameRules kNativeFileNameRules = FileNameRules::Windows;
#else
inline constexpr FileNameRules kNativeFileNameRules = FileNameRules::Posix;
#endif

// The group name as a file name that stays inside the output folder: "/", "\"
// and NUL become "_" everywhere; under Windows rules so do ':', '*', '?', '"',
// '<', '>', '|' and control characters, and a device name (CON, NUL, COM1,
// ...) gets a leading "_". Two-byte characters of the host's code page are
// kept whole (a lead byte that ends the name without its second byte becomes
// "_").
std::string fileNameSafe(std::string_view groupName, FileNameRules rules = kNativeFileNameRules,
                         LeadByteTest isLead = hostLeadByte);

// folder + safe name + extension, or, when that exists, the first of
// name_copy1, name_copy2, ... that does not exist. An existing file (or a
// link, or a folder) is never chosen, so never overwritten. A name whose
// lookup fails for another reason is chosen as it is, so writing it fails
// at once; "" after 100,000 copies, a name nothing can be written under.
std::string freeOutputName(std::string_view folder, std::string_view groupName, std::string_view extension);
// The same, with the names in `chosen` counting as taken.
std::string freeOutputName(std::string_view folder, std::string_view groupName, std::string_view extension,
                           const std::set<std::string, std::less<>>& chosen);

// freeOutputName for each group in turn, as if each output were written
// before the next name is chosen: a name given to an earlier group counts as
// taken.
std::vector<std::string> freeOutputNames(std::string_view folder, std::span<const std::string_view> groupNames,
                                         std::string_view extension);

// Turns 0-based vertex indices (with repeats, in any order) into the ascending
// list of distinct indices, and gives each its 1-based position in that list.
// One instance serves the groups of one file in turn; it holds one number per
// vertex line of the file, 0 for a vertex outside the last built set.
class VertexSetBuilder {
public:
    explicit VertexSetBuilder(size_t vertexCount);
    // The distinct indices of `corners`, ascending; valid until the next call.
    std::span<const uint32_t> build(std::span<const uint32_t> corners);
    // New 1-based number of an index of the last built set.
    uint32_t newNumber(uint32_t index) const noexcept { return newNumber_[index]; }

private:
    std::vector<uint32_t> newNumber_;
    std::vector<uint32_t> members_;
};

// Decimal text of a vertex number, as face lines carry it.
inline void writeNumber(OutputFile& out, uint64_t number) {
    char text[kNumberTextMax];
    char* end = std::to_chars(text, text + sizeof text, number).ptr;
    out.write(text, size_t(end - text));
}

// Writes one output through a temporary file beside it; false when it cannot
// be created or a write fails (an existing file of that name is then as it was,
// and with Existing::Refuse is never replaced).
template <class Write>
bool writeOutput(const std::string& path, Write&& write,
                 OutputFile::Existing existing = OutputFile::Existing::Replace) {
    OutputFile out;
    if (!out.open(path.c_str(), existing)) return false;
    write(out);
    return out.commit();
}

// Writes outputs[0], outputs[1], ... through temporary files, write(index,
// numbers, out) giving each one's bytes, with a VertexSetBuilder for
// `vertexCount` vertices of the writing thread's own. Where a second thread
// may run, both take outputs in turn. Answers the index of the first output
// that could not be written, or outputs.size(); the outputs after it are
// removed again, so the files left are those of a writing one by one that
// stopped there.
using WriteGroupOutput = std::function<void(size_t index, VertexSetBuilder& numbers, OutputFile& out)>;
size_t writeGroupOutputs(std::span<const std::string> outputs, size_t vertexCount, const WriteGroupOutput& write);

inline void writeLine(OutputFile& out, std::string_view line) {
    out.write(line);
    out.write(kLineEnd);
}

}  // namespace ostrel::obj
