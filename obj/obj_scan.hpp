#pragma once
// The one pass over an OBJ file that every OBJ tool makes: lines sorted by
// kind, vertex lines counted and capped at what 32-bit indices can number,
// and face numbers resolved to absolute vertex numbers and checked. What a
// line turns into is the caller's: it hands over a visitor with any of
//   vertex(line)   a "v " line
//   face(face)     an "f" line; face.forEachCorner(f) reads its numbers
//   group(name)    a "g" line, with its name
//   other(line)    any other line
// A face whose corners the visitor never reads costs no number parsing.

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "obj/obj_text.hpp"

namespace ostrel::obj {

// The outcome of a scan.
struct ObjScan {
    uint64_t vertexLines = 0;
    uint64_t faces = 0;
    // More vertex lines than vertexLineLimit(): the reading stopped at the
    // first one past it, and nothing else of the scan is meaningful.
    bool tooManyVertexLines = false;
    VertexNumberCheck check;

    // 0 when the file was read to its end and every face read names one of
    // its vertex lines; otherwise the caller's code for a file too large to
    // number, or kBadVertexNumber.
    float verdict(float tooManyVertexLinesCode) const noexcept {
        if (tooManyVertexLines) return tooManyVertexLinesCode;
        return check.allValid(vertexLines) ? 0.0f : kBadVertexNumber;
    }
};

// An "f" line during the scan. Its corners resolve against the vertex lines
// read before it (relative numbers) and join the scan's check.
class FaceLine {
public:
    FaceLine(std::string_view line, ObjScan& scan) noexcept : line_(line), scan_(scan) {}
    std::string_view line() const noexcept { return line_; }
    // Calls visit(absolute) for each vertex number: 1-based, or 0 for a
    // number that can never be valid (the scan's verdict then refuses the file).
    template <class Visit>
    void forEachCorner(Visit&& visit) {
        forEachFaceNumber(lineBody(line_), [&](int64_t number) { visit(scan_.check.resolve(number, scan_.vertexLines)); });
    }

private:
    std::string_view line_;
    ObjScan& scan_;
};

namespace detail {

// Sorts one line after another for scanObj; false once the scan must stop.
template <class Visitor>
struct LineSorter {
    ObjScan& scan;
    Visitor& visitor;
    const uint64_t vertexLimit = vertexLineLimit();

    bool operator()(std::string_view line) {
        if (isVertexLine(line)) {
            if (scan.vertexLines >= vertexLimit) {
                scan.tooManyVertexLines = true;
                return false;
            }
            ++scan.vertexLines;
            if constexpr (requires { visitor.vertex(line); }) visitor.vertex(line);
        } else if (isFaceLine(line)) {
            ++scan.faces;
            if constexpr (requires(FaceLine& face) { visitor.face(face); }) {
                FaceLine face(line, scan);
                visitor.face(face);
            } else if constexpr (requires { visitor.other(line); }) {
                visitor.other(line);
            }
        } else if (isGroupLine(line)) {
            if constexpr (requires { visitor.group(line); }) visitor.group(lineBody(line));
            else if constexpr (requires { visitor.other(line); }) visitor.other(line);
        } else if constexpr (requires { visitor.other(line); }) {
            visitor.other(line);
        }
        return true;
    }
};

}  // namespace detail

// `source` is the text itself, or a StreamedInput still being read (the
// caller then asks its finish() whether the whole file arrived).
template <class Source, class Visitor>
ObjScan scanObj(Source&& source, Visitor&& visitor) {
    ObjScan scan;
    forEachLine(source, detail::LineSorter<std::remove_reference_t<Visitor>>{scan, visitor});
    return scan;
}

struct GroupFaces {
    std::vector<uint32_t> corners;     // 0-based vertex indices, face after face
    std::vector<uint32_t> faceSizes;   // corners of each face, kept only when asked for
};

// An OBJ's faces sorted into the groups named by its "g" lines.
struct GroupedObj {
    // Group name to group number, numbers in order of first appearance. The
    // map's byte order of names is the order in which outputs are written.
    std::map<std::string, uint32_t, std::less<>> groupNumbers;
    // By group number. Entry 0 exists from the start: faces before the first
    // "g" line belong to the group that line names (to none when there is no
    // "g" line at all).
    std::vector<GroupFaces> groups{1};
    ObjScan scan;
};

// One scan that sorts the faces into groups; onVertex(line) is called for
// every vertex line in file order. Shared by the splits into OBJ files and
// into points files; what a vertex line turns into is the caller's.
template <class Source, class OnVertex>
GroupedObj scanGroupedFaces(Source&& source, bool keepFaceSizes, OnVertex&& onVertex) {
    GroupedObj obj;
    struct Grouping {
        GroupedObj& obj;
        OnVertex& onVertex;
        bool keepFaceSizes;
        GroupFaces* current;
        bool named = false;   // whether a "g" line has been met

        void vertex(std::string_view line) { onVertex(line); }
        void face(FaceLine& face) {
            uint32_t size = 0;
            face.forEachCorner([&](uint64_t absolute) {
                current->corners.push_back(uint32_t(absolute - 1));
                ++size;
            });
            if (keepFaceSizes) current->faceSizes.push_back(size);
        }
        void group(std::string_view name) {
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
    } grouping{obj, onVertex, keepFaceSizes, &obj.groups[0]};
    obj.scan = scanObj(source, grouping);
    return obj;
}

}  // namespace ostrel::obj
