#include "obj/obj_rewrite_internal.hpp"

#include "core/pod_buffer.hpp"
#include "obj/group_list.hpp"
#include "obj/obj_output.hpp"
#include "obj/obj_scan.hpp"
#include "obj/obj_text.hpp"

namespace ostrel::obj {

void writeFaceLineAbsolute(OutputFile& out, std::string_view line, uint64_t verticesSoFar) {
    if (line.find('-') == std::string_view::npos) return writeLine(out, line);
    size_t i = 0;
    while (i < line.size()) {
        // Separators, and the "f" itself, pass through unchanged.
        size_t tokenStart = i;
        while (i < line.size() && !isSpaceChar(line[i])) ++i;
        std::string_view token = line.substr(tokenStart, i - tokenStart);
        size_t digits = 1;
        while (digits < token.size() && token[digits] >= '0' && token[digits] <= '9') ++digits;
        int64_t relative = 0;
        bool isRelative = tokenStart > 0 && token.size() > 1 && token[0] == '-' && digits > 1 &&
                          parseInt64(token.data(), token.data() + digits, relative) && relative < 0 &&
                          uint64_t(-relative) <= verticesSoFar;
        if (isRelative) {
            writeNumber(out, verticesSoFar + 1 - uint64_t(-relative));
            out.write(token.substr(digits));
        } else {
            out.write(token);
        }
        size_t spaceStart = i;
        while (i < line.size() && isSpaceChar(line[i])) ++i;
        out.write(line.substr(spaceStart, i - spaceStart));
    }
    out.write(kLineEnd);
}

namespace {

struct LinesBesidesVertices {
    uint64_t vertexLines = 0;
    uint64_t written = 0;
};

// Every line of `source` except vertex lines and comments, in order; faces
// with relative numbers made absolute, since the vertex lines now stand first.
LinesBesidesVertices writeLinesBesidesVertices(OutputFile& out, StreamedInput& source) {
    LinesBesidesVertices counts;
    // Lines copied as they stand are counted as they pass; the others are
    // dropped or rewritten.
    const auto notCopied = [&](std::string_view line) {
        const bool copied = !isVertexLine(line) && !isCommentLine(line) &&
                            !(isFaceLine(line) && line.find('-') != std::string_view::npos);
        counts.written += copied;
        return !copied;
    };
    const auto rewrite = [&](std::string_view line, OutputFile& to) {
        if (isVertexLine(line)) {
            ++counts.vertexLines;
        } else if (isFaceLine(line)) {
            writeFaceLineAbsolute(to, line, counts.vertexLines);
            ++counts.written;
        }
    };
    for (std::string_view lines; !(lines = source.nextLines()).empty();)
        copyLinesExcept(lines, out, notCopied, rewrite);
    return counts;
}

// The outputs are written from a second reading of the inputs, not from a
// copy held since the first: each reading again must end where the first did
// and find the lines it counted, or the output is dropped (the file changed
// meanwhile, or could not be read). The target is replaced only after that,
// and after the inputs are closed, so a target that is also an input is read
// whole before it goes.
struct ReadAgain {
    bool failed = false;
    bool check(bool sameAsFirst, StreamedInput& input, OutputFile& out) {
        if (!input.allHandedOver() || !sameAsFirst) {
            failed = true;
            out.abandon();
        }
        return !failed;
    }
};

}  // namespace

// ---- SwapVertices ----

float LeanSwapVerts(const char* pathA, const char* pathB) {
    StreamedInput fileA;
    if (!fileA.open(pathA)) return kObjSwapCannotOpenA;
    // B comes in while A is read and scanned; whether it could be opened
    // counts only after A's own checks, as if it were opened then.
    StreamedInput fileB;
    const bool openedB = fileB.open(pathB);
    struct {
    } countOnly;
    const ObjScan scanA = scanObj(fileA, countOnly);
    if (scanA.tooManyVertexLines || !fileA.allHandedOver()) return kObjSwapCannotOpenA;
    if (scanA.vertexLines == 0) return kObjSwapNoVerticesInA;

    if (!openedB) return kObjSwapCannotOpenB;
    struct {
        uint64_t kept = 0;
        void other(std::string_view line) { kept += !isCommentLine(line); }
    } counter;
    const ObjScan scanB = scanObj(fileB, counter);
    if (scanB.tooManyVertexLines || !fileB.allHandedOver()) return kObjSwapCannotOpenB;
    const uint64_t verticesB = scanB.vertexLines, keptB = counter.kept;
    if (verticesB == 0) return kObjSwapNoVerticesInB;
    if (verticesB != scanA.vertexLines) return kObjSwapCountsDiffer;
    if (keptB == 0) return kObjSwapNothingElseInB;

    ReadAgain againA, againB;
    bool written = writeOutput(pathA, [&](OutputFile& out) {
        writeLine(out, kSwapHeader);
        if (!fileA.rewind()) return againA.check(false, fileA, out);
        uint64_t vertices = 0;
        const auto notVertex = [&](std::string_view line) {
            const bool vertex = isVertexLine(line);
            vertices += vertex;
            return !vertex;
        };
        for (std::string_view lines; !(lines = fileA.nextLines()).empty();)
            copyLinesExcept(lines, out, notVertex, [](std::string_view, OutputFile&) {});
        if (!againA.check(vertices == scanA.vertexLines, fileA, out)) return false;
        if (!fileB.rewind()) return againB.check(false, fileB, out);
        const LinesBesidesVertices counts = writeLinesBesidesVertices(out, fileB);
        fileA.finish();
        fileB.finish();
        return againB.check(counts.vertexLines == verticesB && counts.written == keptB, fileB, out);
    });
    if (againA.failed) return kObjSwapCannotOpenA;
    if (againB.failed) return kObjSwapCannotOpenB;
    return written ? 0.0f : kObjSwapCannotWriteA;
}

// ---- PoserExportOBJ ----

float OutKelmorOBJ(const char* sourcePath, const char* positionsPath) {
    StreamedInput source;
    if (!source.open(sourcePath)) return kPoserCannotOpenSource;
    PodBuffer<uint32_t> corners;
    struct {
        PodBuffer<uint32_t>& corners;
        void face(FaceLine& face) {
            face.forEachCorner([&](uint64_t absolute) { corners.push(uint32_t(absolute - 1)); });
        }
    } collector{corners};
    const ObjScan scan = scanObj(source, collector);
    if (!source.allHandedOver()) return kPoserCannotOpenSource;
    if (float code = scan.verdict(kPoserCannotOpenSource)) return code;
    VertexSetBuilder numbers(scan.vertexLines);
    const uint64_t used = numbers.build(corners.view()).size();
    corners.release();

    StreamedInput positions;
    if (!positions.open(positionsPath)) return kPoserCannotOpenPositions;
    uint64_t newLines = 0;
    forEachLine(positions, [&](std::string_view line) { newLines += isVertexLine(line); });
    if (!positions.allHandedOver()) return kPoserCannotOpenPositions;
    if (newLines != used) return kPoserCountMismatch;

    ReadAgain againSource, againPositions;
    bool written = writeOutput(positionsPath, [&](OutputFile& out) {
        char number[kNumberTextMax];
        writeLine(out, kPoserHeader);
        writeLine(out, kPoserMakerLine);
        out.write("#Vertex Count ");
        writeLine(out, std::string_view(number, size_t(formatInt(number, int64_t(scan.vertexLines)) - number)));
        out.write("#Face Count ");
        writeLine(out, std::string_view(number, size_t(formatInt(number, int64_t(scan.faces)) - number)));

        // S's vertex lines, a used one replaced by P's next vertex line: the
        // used vertices are numbered in ascending order, as P lists them.
        if (!source.rewind()) return againSource.check(false, source, out);
        if (!positions.rewind()) return againPositions.check(false, positions, out);
        LineReader newPositions(positions);
        const auto nextNewPosition = [&](std::string_view& line) {
            while (newPositions.next(line))
                if (isVertexLine(line)) return true;
            return false;
        };
        uint64_t vertex = 0, taken = 0;
        const bool complete = forEachLine(source, [&](std::string_view line) {
            if (!isVertexLine(line)) return true;
            if (vertex == scan.vertexLines) return false;
            if (numbers.newNumber(uint32_t(vertex++)) != 0) {
                if (!nextNewPosition(line)) return false;
                ++taken;
            }
            writeLine(out, line);
            return true;
        });
        std::string_view extra;
        const bool positionsAsBefore = taken == used && !nextNewPosition(extra);
        if (!againPositions.check(positionsAsBefore, positions, out)) return false;
        if (!againSource.check(complete && vertex == scan.vertexLines, source, out)) return false;

        // Then every other line of S but its comments.
        if (!source.rewind()) return againSource.check(false, source, out);
        const LinesBesidesVertices counts = writeLinesBesidesVertices(out, source);
        source.finish();
        positions.finish();
        return againSource.check(counts.vertexLines == scan.vertexLines, source, out);
    });
    if (againSource.failed) return kPoserCannotOpenSource;
    if (againPositions.failed) return kPoserCannotOpenPositions;
    return written ? 0.0f : kPoserCannotWrite;
}

// ---- AppendOBJ ----

namespace {

// Copies the file at `path` into `out`. Absent is fine (nothing to copy);
// false when it exists but cannot be read. `endsInLine` tells whether the
// copy ends with a line end (or is empty).
bool copyExistingFile(const char* path, OutputFile& out, bool& endsInLine) {
    endsInLine = true;
    File file = File::openInput(path);
    if (!file.isOpen()) return !pathTaken(path);
    const auto size = file.size();
    if (!size) return false;
    if (*size > 0) {
        char last = 0;
        if (!file.seek(*size - 1) || !file.readExact(&last, 1) || !file.seek(0)) return false;
        endsInLine = last == '\n';
    }
    return out.writeFrom(file);
}

// S's lines as they go into T: vertex lines unchanged, group lines renamed,
// faces shifted; every other line dropped.
ObjScan writeAppendedLines(OutputFile& out, StreamedInput& source, std::string_view groupName, int64_t shift) {
    struct {
        OutputFile& out;
        std::string_view groupName;
        int64_t shift;
        void vertex(std::string_view line) { writeLine(out, line); }
        void group(std::string_view) {
            out.write("g ");
            writeLine(out, groupName);
        }
        void face(FaceLine& face) {
            out.write("f ");
            face.forEachCorner([&](uint64_t absolute) {
                char digits[kNumberTextMax];
                char* end = formatInt(digits, shift + int64_t(absolute));
                out.write(digits, size_t(end - digits));
                out.put(' ');
            });
            out.write(kLineEnd);
        }
    } appender{out, groupName, shift};
    return scanObj(source, appender);
}

}  // namespace

float LeanAddGroupOBJ(const char* sourcePath, int32_t shift, const char* targetPath) {
    const std::string_view groupName = baseNameWithoutExtension(sourcePath);
    StreamedInput source;
    if (!source.open(sourcePath)) return kAppendCannotOpenSource;
    if (sameExistingFile(sourcePath, targetPath)) return kAppendSameFile;

    // T is rebuilt beside itself and renamed into place: a failed append
    // (a bad face included, found while writing) leaves T as it was.
    OutputFile out;
    if (!out.open(targetPath)) return kAppendCannotWriteTarget;
    bool endsInLine = true;
    if (!copyExistingFile(targetPath, out, endsInLine)) return kAppendCannotWriteTarget;
    // A target whose last line lacks its line end would swallow the first
    // appended line.
    if (!endsInLine) out.write(kLineEnd);
    const ObjScan appended = writeAppendedLines(out, source, groupName, shift);
    if (!source.finish()) return kAppendCannotOpenSource;
    if (float code = appended.verdict(kAppendCannotOpenSource)) return code;

    // The record's room is made before T is replaced: once it is, nothing is
    // left that could fail and report the changed T as unchanged.
    GroupListState& state = groupListState();
    groupID record;
    record.setName(groupName);
    record.startFace = state.faceIndex;
    record.endFace = int32_t(uint32_t(state.faceIndex) + uint32_t(appended.faces));
    state.groupsList.reserve(state.groupsList.size() + 1);
    if (!out.commit()) return kAppendCannotWriteTarget;
    state.faceIndex = record.endFace;
    state.groupsList.push_back(record);
    return float(int64_t(shift) + int64_t(appended.vertexLines));
}

}  // namespace ostrel::obj
