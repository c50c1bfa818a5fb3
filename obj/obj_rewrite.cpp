#include "obj/obj_rewrite.hpp"

#include "core/pod_buffer.hpp"
#include "obj/group_list.hpp"
#include "obj/obj_output.hpp"
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
    auto fileA = readWholeFile(pathA);
    if (!fileA) return kSwapCannotOpenA;
    PodBuffer<std::string_view> verticesA;
    forEachLine(asText(*fileA), [&](std::string_view line) {
        if (isVertexLine(line)) verticesA.push(line);
    });
    if (verticesA.empty()) return kSwapNoVerticesInA;

    auto fileB = readWholeFile(pathB);
    if (!fileB) return kSwapCannotOpenB;
    uint64_t verticesB = 0, keptB = 0;
    forEachLine(asText(*fileB), [&](std::string_view line) {
        if (isVertexLine(line)) ++verticesB;
        else if (!isCommentLine(line)) ++keptB;
    });
    if (verticesB == 0) return kSwapNoVerticesInB;
    if (verticesB != verticesA.size()) return kSwapCountsDiffer;
    if (keptB == 0) return kSwapNothingElseInB;

    // A is read whole before it is replaced, so A and B may be one file.
    bool written = writeOutput(pathA, [&](OutputFile& out) {
        writeLine(out, kSwapHeader);
        for (std::string_view line : verticesA.view()) writeLine(out, line);
        writeLinesBesidesVertices(out, asText(*fileB));
    });
    return written ? 0.0f : kSwapCannotWriteA;
}

// ---- PoserExportOBJ ----

float OutKelmorOBJ(const char* sourcePath, const char* positionsPath) {
    auto source = readWholeFile(sourcePath);
    if (!source) return kPoserCannotOpenSource;
    PodBuffer<std::string_view> vertexLines;
    PodBuffer<uint32_t> corners;
    VertexNumberCheck check;
    uint64_t faceCount = 0;
    const uint64_t vertexLimit = vertexLineLimit();
    bool tooManyVertexLines = false;
    forEachLine(asText(*source), [&](std::string_view line) {
        if (isVertexLine(line)) {
            if (vertexLines.size() >= vertexLimit) {
                tooManyVertexLines = true;
                return false;
            }
            vertexLines.push(line);
        } else if (isFaceLine(line)) {
            ++faceCount;
            forEachFaceNumber(lineBody(line), [&](int64_t number) {
                corners.push(uint32_t(check.resolve(number, vertexLines.size()) - 1));
            });
        }
        return true;
    });
    if (tooManyVertexLines) return kPoserCannotOpenSource;
    if (!check.allValid(vertexLines.size())) return kBadVertexNumber;
    VertexSetBuilder numbers(vertexLines.size());
    std::span<const uint32_t> used = numbers.build(corners.view());
    corners.release();

    auto positions = readWholeFile(positionsPath);
    if (!positions) return kPoserCannotOpenPositions;
    PodBuffer<std::string_view> newLines;
    forEachLine(asText(*positions), [&](std::string_view line) {
        if (isVertexLine(line)) newLines.push(line);
    });
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
        writeLinesBesidesVertices(out, asText(*source));
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

struct Appended {
    uint64_t vertexLines = 0;
    uint64_t faces = 0;
    bool valid = false;   // every face names a vertex line of S
};

// S's lines as they go into T: vertex lines unchanged, group lines renamed,
// faces shifted; every other line dropped.
Appended writeAppendedLines(OutputFile& out, std::string_view text, std::string_view groupName, int64_t shift) {
    Appended result;
    VertexNumberCheck check;
    forEachLine(text, [&](std::string_view line) {
        if (isVertexLine(line)) {
            ++result.vertexLines;
            writeLine(out, line);
        } else if (isGroupLine(line)) {
            out.write("g ");
            writeLine(out, groupName);
        } else if (isFaceLine(line)) {
            ++result.faces;
            out.write("f ");
            forEachFaceNumber(lineBody(line), [&](int64_t number) {
                char digits[kNumberTextMax];
                char* end = formatInt(digits, shift + int64_t(check.resolve(number, result.vertexLines)));
                out.write(digits, size_t(end - digits));
                out.put(' ');
            });
            out.write(kLineEnd);
        }
    });
    result.valid = check.allValid(result.vertexLines);
    return result;
}

}  // namespace

float LeanAddGroupOBJ(const char* sourcePath, int32_t shift, const char* targetPath) {
    const std::string_view groupName = baseNameWithoutExtension(sourcePath);
    auto source = readWholeFile(sourcePath);
    if (!source) return kAppendCannotOpenSource;
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
    const Appended appended = writeAppendedLines(out, asText(*source), groupName, shift);
    if (!appended.valid) return kBadVertexNumber;
    if (!out.commit()) return kAppendCannotWriteTarget;

    GroupListState& state = groupListState();
    groupID record;
    record.setName(groupName);
    record.startFace = state.faceIndex;
    record.endFace = int32_t(uint32_t(state.faceIndex) + uint32_t(appended.faces));
    state.faceIndex = record.endFace;
    state.groupsList.push_back(record);
    return float(int64_t(shift) + int64_t(appended.vertexLines));
}

}  // namespace ostrel::obj
