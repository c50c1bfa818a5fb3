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

// Every line of `text` except vertex lines and comments, in order; faces with
// relative numbers made absolute, since the vertex lines now stand first.
void writeLinesBesidesVertices(OutputFile& out, std::string_view text) {
    uint64_t seen = 0;
    forEachLine(text, [&](std::string_view line) {
        if (isVertexLine(line)) ++seen;
        else if (isFaceLine(line)) writeFaceLineAbsolute(out, line, seen);
        else if (!isCommentLine(line)) writeLine(out, line);
    });
}

}  // namespace

// ---- SwapVertices ----

float LeanSwapVerts(const char* pathA, const char* pathB) {
    StreamedInput fileA;
    if (!fileA.open(pathA)) return kObjSwapCannotOpenA;
    // B comes in while A is read and scanned; whether it could be opened
    // counts only after A's own checks, as if it were opened then.
    StreamedInput fileB;
    const bool openedB = fileB.open(pathB);
    PodBuffer<std::string_view> verticesA;
    struct {
        PodBuffer<std::string_view>& lines;
        void vertex(std::string_view line) { lines.push(line); }
    } collector{verticesA};
    if (scanObj(fileA, collector).tooManyVertexLines || !fileA.finish()) return kObjSwapCannotOpenA;
    if (verticesA.empty()) return kObjSwapNoVerticesInA;

    if (!openedB) return kObjSwapCannotOpenB;
    struct {
        uint64_t kept = 0;
        void other(std::string_view line) { kept += !isCommentLine(line); }
    } counter;
    const ObjScan scanB = scanObj(fileB, counter);
    if (scanB.tooManyVertexLines || !fileB.finish()) return kObjSwapCannotOpenB;
    const uint64_t verticesB = scanB.vertexLines, keptB = counter.kept;
    if (verticesB == 0) return kObjSwapNoVerticesInB;
    if (verticesB != verticesA.size()) return kObjSwapCountsDiffer;
    if (keptB == 0) return kObjSwapNothingElseInB;

    // A is read whole before it is replaced, so A and B may be one file.
    bool written = writeOutput(pathA, [&](OutputFile& out) {
        writeLine(out, kSwapHeader);
        for (std::string_view line : verticesA.view()) writeLine(out, line);
        writeLinesBesidesVertices(out, fileB.text());
    });
    return written ? 0.0f : kObjSwapCannotWriteA;
}

// ---- PoserExportOBJ ----

float OutKelmorOBJ(const char* sourcePath, const char* positionsPath) {
    StreamedInput source;
    if (!source.open(sourcePath)) return kPoserCannotOpenSource;
    PodBuffer<std::string_view> vertexLines;
    PodBuffer<uint32_t> corners;
    struct {
        PodBuffer<std::string_view>& vertexLines;
        PodBuffer<uint32_t>& corners;
        void vertex(std::string_view line) { vertexLines.push(line); }
        void face(FaceLine& face) {
            face.forEachCorner([&](uint64_t absolute) { corners.push(uint32_t(absolute - 1)); });
        }
    } collector{vertexLines, corners};
    const ObjScan scan = scanObj(source, collector);
    if (!source.finish()) return kPoserCannotOpenSource;
    if (float code = scan.verdict(kPoserCannotOpenSource)) return code;
    const uint64_t faceCount = scan.faces;
    VertexSetBuilder numbers(vertexLines.size());
    std::span<const uint32_t> used = numbers.build(corners.view());
    corners.release();

    StreamedInput positions;
    if (!positions.open(positionsPath)) return kPoserCannotOpenPositions;
    PodBuffer<std::string_view> newLines;
    forEachLine(positions, [&](std::string_view line) {
        if (isVertexLine(line)) newLines.push(line);
    });
    if (!positions.finish()) return kPoserCannotOpenPositions;
    if (newLines.size() != used.size()) return kPoserCountMismatch;
    for (size_t k = 0; k < used.size(); ++k) vertexLines[used[k]] = newLines[k];

    // Both files are in memory before P is replaced, so S and P may be one file.
    bool written = writeOutput(positionsPath, [&](OutputFile& out) {
        char number[kNumberTextMax];
        writeLine(out, kPoserHeader);
        writeLine(out, kPoserMakerLine);
        out.write("#Vertex Count ");
        writeLine(out, std::string_view(number, size_t(formatInt(number, int64_t(vertexLines.size())) - number)));
        out.write("#Face Count ");
        writeLine(out, std::string_view(number, size_t(formatInt(number, int64_t(faceCount)) - number)));
        for (std::string_view line : vertexLines.view()) writeLine(out, line);
        writeLinesBesidesVertices(out, source.text());
    });
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
    // Each line is appended as it is read, and not read again.
    source.giveBackPassedBytes();
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
