#include "project/project_file_internal.hpp"

#include <charconv>
#include <cstring>
#include <memory>

#include "core/byte_cursor.hpp"
#include "core/file_io.hpp"
#include "platform/platform.hpp"

namespace ostrel::project {
namespace {

// Offsets inside the chunk headers of each layout.
struct ChunkLayout {
    size_t headerBytes;
    size_t numberAt;
    size_t lengthAt;
    std::optional<size_t> kindAt;   // old chunks have no kind
};
constexpr ChunkLayout kNewChunk{kNewChunkHeaderBytes, 16, 20, 28};
constexpr ChunkLayout kOldChunk{kOldChunkHeaderBytes, 0, 4, std::nullopt};

void putTag(uint8_t* out) noexcept {
    std::memset(out, 0, 16);
    std::memcpy(out, kProjectTag.data(), kProjectTag.size());
}

// The record as it goes to disk: text fields hold their text and zeros after
// it, whatever bytes a loaded record carried there.
void encodeRecord(const TPoseRef& record, uint8_t (&out)[kRecordBytes]) noexcept {
    std::memset(out, 0, kRecordBytes);
    storeU32le(out, record.refNumber);
    const std::string_view name = record.nameText();
    const std::string_view info = record.infoText();
    std::memcpy(out + 4, name.data(), name.size());
    std::memcpy(out + 4 + kRefTextField, info.data(), info.size());
}

TPoseRef decodeRecord(const uint8_t* in) noexcept {
    TPoseRef record;
    record.refNumber = loadU32le(in);
    std::memcpy(record.refName, in + 4, kRefTextField);
    std::memcpy(record.refInfo, in + 4 + kRefTextField, kRefTextField);
    return record;
}

void encodeNewHeader(const NewProjectHeader& h, uint8_t (&out)[kNewHeaderBytes]) noexcept {
    std::memcpy(out, h.tag, 16);
    storeU32le(out + 16, h.reserved1);
    storeU32le(out + 20, h.reserved2);
    storeU32le(out + 24, h.refCount);
    storeU32le(out + 28, h.prjModfier);
}

NewProjectHeader decodeNewHeader(const uint8_t* in) noexcept {
    NewProjectHeader h;
    std::memcpy(h.tag, in, 16);
    h.reserved1 = loadU32le(in + 16);
    h.reserved2 = loadU32le(in + 20);
    h.refCount = loadU32le(in + 24);
    h.prjModfier = loadU32le(in + 28);
    return h;
}

OldProjectHeader decodeOldHeader(const uint8_t* in) noexcept {
    return {loadU32le(in), loadU32le(in + 4), loadU32le(in + 8), loadU32le(in + 12)};
}

// Walks the chunks from `position` to the end of the file. Each chunk is its
// header, its data and one filler byte; a chunk is taken only when its filler
// byte lies inside the file, so the data always does too. Every step moves
// forward by at least one header, so the walk ends.
void walkChunks(std::span<const uint8_t> file, size_t position, const ChunkLayout& layout, ParsedProject& out) {
    const ByteCursor bytes(file);
    while (const auto header = bytes.view(position, layout.headerBytes + 1)) {
        const uint64_t length = loadU32le(header->data() + layout.lengthAt);
        const auto whole = length < layout.headerBytes ? std::nullopt : bytes.view(position, length + 1);
        if (!whole) {
            out.chainBroken = true;
            return;
        }
        StoredChunk chunk;
        chunk.number = loadU32le(header->data() + layout.numberAt);
        chunk.isDax = layout.kindAt && loadI32le(header->data() + *layout.kindAt) != 0;
        chunk.data = whole->subspan(layout.headerBytes, size_t(length) - layout.headerBytes);
        out.chunks.push_back(chunk);
        position += size_t(length) + 1;
    }
    // Bytes left over that cannot hold a chunk: the last chunk was cut short.
    if (position < file.size()) out.chainBroken = true;
}

bool appendChunk(InPlaceUpdate& project, const uint8_t (&header)[kNewChunkHeaderBytes], std::span<const uint8_t> data) {
    const uint8_t filler = data.empty() ? 0 : data.back();
    return project.append(header) && project.append(data) && project.append({&filler, 1});
}

// False when the file could not be written completely, or when its name is
// the project being read (through any spelling or link): a project is never
// replaced by one of its own chunks, so that chunk is not unpacked.
bool unpackChunk(const StoredChunk& chunk, std::string_view targetPath, const char* projectPath) {
    const std::string name = unpackedName(targetPath, chunk);
    if (sameExistingFile(name.c_str(), projectPath)) return false;
    OutputFile out;
    if (!out.open(name.c_str())) return true;   // a file that cannot be created is passed over
    out.write(chunk.data);
    return out.commit();
}

}  // namespace

std::optional<ParsedProject> parseProject(std::span<const uint8_t> file, ProjectLayout layout) {
    const bool current = layout == ProjectLayout::Current;
    const size_t headerBytes = current ? kNewHeaderBytes : kOldHeaderBytes;
    if (file.size() < headerBytes) return std::nullopt;
    ParsedProject parsed;
    uint32_t refCount;
    if (current) {
        parsed.newHeader = decodeNewHeader(file.data());
        refCount = parsed.newHeader.refCount;
    } else {
        parsed.oldHeader = decodeOldHeader(file.data());
        refCount = parsed.oldHeader.refCount;
    }
    if (refCount > (file.size() - headerBytes) / kRecordBytes) return std::nullopt;
    parsed.refs.reserve(refCount);
    for (size_t i = 0; i < refCount; ++i) parsed.refs.push_back(decodeRecord(file.data() + headerBytes + i * kRecordBytes));
    walkChunks(file, headerBytes + size_t(refCount) * kRecordBytes, current ? kNewChunk : kOldChunk, parsed);
    return parsed;
}

std::string unpackedName(std::string_view targetPath, const StoredChunk& chunk) {
    std::string name = platform::FileNameExtract(targetPath, platform::kFolderPart);
    name += std::to_string(chunk.number);
    name += chunk.isDax ? "X.dax" : "X.dat";
    return name;
}

std::optional<uint32_t> chunkNumberOf(std::string_view dataPath) {
    const std::string base = platform::FileNameExtract(dataPath, platform::kBaseName);
    const char* first = base.data();
    const char* last = first + base.size();
    while (first != last && (*first == ' ' || (*first >= '\t' && *first <= '\r'))) ++first;
    uint32_t number = 0;
    const auto result = std::from_chars(first, last, number);
    if (result.ec != std::errc()) return std::nullopt;
    return number;
}

float WritePrjFile(const char* path) {
    ProjectState& s = projectState();
    putTag(reinterpret_cast<uint8_t*>(s.thisNEWPrjHdr.tag));
    s.thisNEWPrjHdr.refCount = uint32_t(s.tPoseList.size());
    OutputFile out;
    if (!out.open(path)) return kProjectCannotWrite;
    uint8_t header[kNewHeaderBytes];
    encodeNewHeader(s.thisNEWPrjHdr, header);
    out.write(header, sizeof header);
    uint8_t record[kRecordBytes];
    for (const TPoseRef& ref : s.tPoseList) {
        encodeRecord(ref, record);
        out.write(record, sizeof record);
    }
    return out.commit() ? 0.0f : kProjectCannotWrite;
}

float AddDatFile(const char* dataPath, int32_t kind, const char* projectPath) {
    const auto number = chunkNumberOf(dataPath);
    if (!number) return kDatNoChunkNumber;
    const auto data = readWholeFile(dataPath);
    if (!data) return kDatCannotRead;
    // Appending the project to itself would store a copy of the project as its
    // own data file.
    if (sameExistingFile(dataPath, projectPath)) return kDatCannotAppend;
    if (data->size() > UINT32_MAX - kNewChunkHeaderBytes) return kDatCannotRead;

    uint8_t header[kNewChunkHeaderBytes];
    putTag(header);
    storeU32le(header + 16, *number);
    storeU32le(header + 20, uint32_t(data->size() + kNewChunkHeaderBytes));
    storeU32le(header + 24, 0);
    storeU32le(header + 28, uint32_t(kind));

    // The chunk is appended in place: a project holds every data file, and
    // rewriting it for each one would copy it again and again. A failed append
    // is undone, leaving the file at its old length.
    InPlaceUpdate project;
    if (!project.open(projectPath, InPlaceUpdate::Open::CreateIfMissing)) return kDatCannotAppend;
    return appendChunk(project, header, data->bytes()) && project.commit() ? 0.0f : kDatCannotAppend;
}

float OpenProjectFile(const char* path, const char* targetPath, ProjectLayout layout) {
    const auto bytes = readWholeFile(path);
    if (!bytes) return kProjectCannotOpen;
    auto parsed = parseProject(bytes->bytes(), layout);
    if (!parsed) return kProjectCutShort;

    ProjectState& s = projectState();
    if (layout == ProjectLayout::Current)
        s.thisNEWPrjHdr = parsed->newHeader;
    else
        s.thisPrjHdr = parsed->oldHeader;
    s.tPoseList = std::move(parsed->refs);

    bool allWritten = true;
    for (const StoredChunk& chunk : parsed->chunks) allWritten = unpackChunk(chunk, targetPath, path) && allWritten;
    if (!allWritten) return kProjectCannotUnpack;
    return parsed->chainBroken ? kProjectChainBroken : 0.0f;
}

}  // namespace ostrel::project
