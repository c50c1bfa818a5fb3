// Group-list files and group-list containers from arbitrary bytes.

#include <cstdint>
#include <cstdlib>
#include <span>

#include "obj/group_list.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace ostrel::obj;
    std::span<const uint8_t> bytes(data, size);
    resetGroupListState();
    loadGroupsFromBytes(bytes);
    for (const groupID& record : groupListState().groupsList)
        if (record.nameText().size() > 127) std::abort();
    int64_t start = locateGroupListPayload(bytes);
    if (start >= 0 && uint64_t(start) > size) std::abort();
    return 0;
}
