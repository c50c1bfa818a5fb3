// Project files of both layouts from arbitrary bytes: the header, the records
// and the chunk walk must stay inside the file whatever its fields claim, and
// the walk must end.

#include <cstdint>
#include <cstring>
#include <memory>

#include "project/project_file_internal.hpp"

using namespace ostrel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    // The first byte chooses the layout; the rest is the file, copied into an
    // allocation of exactly its size.
    const auto layout = data[0] & 1 ? project::ProjectLayout::Old : project::ProjectLayout::Current;
    const size_t fileSize = size - 1;
    std::unique_ptr<uint8_t[]> file(new uint8_t[fileSize ? fileSize : 1]);
    if (fileSize) std::memcpy(file.get(), data + 1, fileSize);
    const auto parsed = project::parseProject({file.get(), fileSize}, layout);
    if (!parsed) return 0;
    unsigned sum = 0;
    for (const auto& ref : parsed->refs) sum += unsigned(ref.nameText().size() + ref.infoText().size());
    for (const auto& chunk : parsed->chunks) {
        for (uint8_t b : chunk.data) sum += b;
        sum += unsigned(project::unpackedName("dir/target", chunk).size());
    }
    volatile unsigned sink = sum;
    (void)sink;
    return 0;
}
