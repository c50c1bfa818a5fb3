#pragma once
// One pass over an OBJ that sorts its faces into the groups named by its "g"
// lines. Shared by the splits into OBJ files and into points files; what a
// vertex line turns into (its text, or its three coordinates) is the caller's.

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "obj/obj_text.hpp"

namespace ostrel::obj {

struct GroupFaces {
    std::vector<uint32_t> corners;     // 0-based vertex indices, face after face
    std::vector<uint32_t> faceSizes;   // corners of each face, kept only when asked for
};

struct GroupedObj {
    // Group name to group number, numbers in order of first appearance. The
    // map's byte order of names is the order in which outputs are written.
    std::map<std::string, uint32_t, std::less<>> groupNumbers;
    // By group number. Entry 0 exists from the start: faces before the first
    // "g" line belong to the group that line names (to none when there is no
    // "g" line at all).
    std::vector<GroupFaces> groups{1};
    uint64_t vertexCount = 0;
    VertexNumberCheck check;
    // More vertex lines than vertexLineLimit(): the reading stopped there and
    // nothing else of the result is meaningful.
    bool tooManyVertexLines = false;

    bool verticesValid() const noexcept { return check.allValid(vertexCount); }
};

// Reads `text` in one pass; onVertex(line) is called for every vertex line in
// file order. Stops with tooManyVertexLines set at the first vertex line past
// vertexLineLimit(). Throws std::bad_alloc when memory runs out.
template <class OnVertex>
GroupedObj scanGroupedFaces(std::string_view text, bool keepFaceSizes, OnVertex&& onVertex) {
    GroupedObj obj;
    GroupFaces* current = &obj.groups[0];
    bool named = false;   // whether a "g" line has been met
    const uint64_t vertexLimit = vertexLineLimit();
    forEachLine(text, [&](std::string_view line) {
        if (isVertexLine(line)) {
            if (obj.vertexCount >= vertexLimit) {
                obj.tooManyVertexLines = true;
                return false;
            }
            ++obj.vertexCount;
            onVertex(line);
        } else if (isFaceLine(line)) {
            uint32_t size = 0;
            forEachFaceNumber(lineBody(line), [&](int64_t number) {
                current->corners.push_back(uint32_t(obj.check.resolve(number, obj.vertexCount) - 1));
                ++size;
            });
            if (keepFaceSizes) current->faceSizes.push_back(size);
        } else if (isGroupLine(line)) {
            std::string_view name = lineBody(line);
            auto found = obj.groupNumbers.find(name);
            uint32_t number;
            if (found != obj.groupNumbers.end()) {
                number = found->second;
            } else {
                number = named ? uint32_t(obj.groups.size()) : 0;
                if (named) obj.groups.emplace_back();
                obj.groupNumbers.emplace(std::string(name), number);
                named = true;
            }
            current = &obj.groups[number];
        }
        return true;
    });
    return obj;
}

}  // namespace ostrel::obj
