// The project file: exact layout, round trips through the file system, and
// parsing of damaged files in both layouts.

#include <gtest/gtest.h>

#include <cstring>

#include "core/byte_cursor.hpp"
#include "project/project_file_internal.hpp"
#include "project/tpose.hpp"
#include "tests/support/test_support.hpp"

using namespace ostrel;
using namespace ostrel::project;
using namespace ostrel::test;

namespace {

class ProjectFile : public ::testing::Test {
protected:
    void SetUp() override { resetProjectState(); }
    void TearDown() override { resetProjectState(); }
    ScratchDir dir;
};

Bytes sample(size_t n, uint8_t seed) {
    Bytes b(n);
    for (size_t i = 0; i < n; ++i) b[i] = uint8_t(seed + i * 7);
    return b;
}

uint32_t u32At(const Bytes& b, size_t at) { return loadU32le(b.data() + at); }

// An old-layout project file built by hand: header, records, 16-byte chunks.
Bytes oldProject(uint32_t modifier, const std::vector<std::string>& names,
                 const std::vector<std::pair<uint32_t, Bytes>>& chunks) {
    Bytes out;
    putI32(out, 5);
    putI32(out, 6);
    putI32(out, int32_t(names.size()));
    putI32(out, int32_t(modifier));
    for (size_t i = 0; i < names.size(); ++i) {
        Bytes record(kRecordBytes, 0);
        storeU32le(record.data(), uint32_t(i + 1));
        std::memcpy(record.data() + 4, names[i].data(), names[i].size());
        out.insert(out.end(), record.begin(), record.end());
    }
    for (const auto& [number, data] : chunks) {
        putI32(out, int32_t(number));
        putI32(out, int32_t(data.size() + 16));
        putI32(out, 0);
        putI32(out, 0);
        out.insert(out.end(), data.begin(), data.end());
        out.push_back(data.empty() ? 0 : data.back());
    }
    return out;
}

// Writes a current-layout project of two references and three data files.
struct WrittenProject {
    std::string path;
    std::vector<Bytes> data;
};
WrittenProject writeSampleProject(const ScratchDir& dir) {
    clearTPoseList();
    setPrjModfier(42);
    addTPoseRef(3, "first", "info one");
    addTPoseRef(9, "second", "info two");
    WrittenProject p{dir.file("scene.prj"), {sample(10, 1), sample(0, 0), sample(70000, 3)}};
    EXPECT_EQ(WritePrjFile(p.path.c_str()), 0.0f);
    const char* names[] = {"7X.dat", "8X.dax", "12X.dat"};
    const int32_t kinds[] = {0, 1, 0};
    for (size_t i = 0; i < 3; ++i) {
        writeFile(dir.file(names[i]), p.data[i]);
        EXPECT_EQ(AddDatFile(dir.file(names[i]).c_str(), kinds[i], p.path.c_str()), 0.0f);
    }
    return p;
}

}  // namespace

TEST_F(ProjectFile, WrittenLayoutIsExact) {
    addTPoseRef(3, "first", "info one");
    addTPoseRef(9, "second", "info two");
    setPrjModfier(42);
    const std::string path = dir.file("p.prj");
    ASSERT_EQ(WritePrjFile(path.c_str()), 0.0f);
    Bytes file = readFile(path);
    ASSERT_EQ(file.size(), 32u + 2 * 516);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(file.data())), "VD version 03");
    EXPECT_EQ(file[14], 0);
    EXPECT_EQ(file[15], 0);
    EXPECT_EQ(u32At(file, 24), 2u);
    EXPECT_EQ(u32At(file, 28), 42u);
    EXPECT_EQ(u32At(file, 32), 3u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(file.data() + 36)), "first");
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(file.data() + 36 + 255)), "info one");
    EXPECT_EQ(file[32 + 514], 0);

    writeFile(dir.file("5X.dat"), sample(10, 9));
    ASSERT_EQ(AddDatFile(dir.file("5X.dat").c_str(), 1, path.c_str()), 0.0f);
    file = readFile(path);
    ASSERT_EQ(file.size(), 1064u + 43);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(file.data() + 1064)), "VD version 03");
    EXPECT_EQ(u32At(file, 1064 + 16), 5u);
    EXPECT_EQ(u32At(file, 1064 + 20), 42u);
    EXPECT_EQ(u32At(file, 1064 + 28), 1u);
    EXPECT_EQ(file.back(), sample(10, 9).back());   // the filler repeats the last byte
}

TEST_F(ProjectFile, RoundTripRestoresReferencesAndDataFiles) {
    const WrittenProject p = writeSampleProject(dir);
    clearTPoseList();
    std::filesystem::create_directory(dir.path() / "out");
    ASSERT_EQ(OpenProjectFile(p.path.c_str(), dir.file("out/any.name").c_str(), ProjectLayout::Current), 0.0f);
    EXPECT_EQ(readFile(dir.file("out/7X.dat")), p.data[0]);
    EXPECT_EQ(readFile(dir.file("out/8X.dax")), p.data[1]);
    EXPECT_EQ(readFile(dir.file("out/12X.dat")), p.data[2]);
    const auto& list = projectState().tPoseList;
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].nameText(), "first");
    EXPECT_EQ(list[1].infoText(), "info two");
    EXPECT_EQ(getPrjModfier(1), 42.0f);
}

TEST_F(ProjectFile, ALaterChunkOfTheSameNameWins) {
    addTPoseRef(1, "a", "b");
    const std::string path = dir.file("p.prj");
    ASSERT_EQ(WritePrjFile(path.c_str()), 0.0f);
    writeText(dir.file("4X.dat"), "first");
    ASSERT_EQ(AddDatFile(dir.file("4X.dat").c_str(), 0, path.c_str()), 0.0f);
    writeText(dir.file("4.dat"), "second one");
    ASSERT_EQ(AddDatFile(dir.file("4.dat").c_str(), 0, path.c_str()), 0.0f);
    std::filesystem::create_directory(dir.path() / "o");
    ASSERT_EQ(OpenProjectFile(path.c_str(), dir.file("o/").c_str(), ProjectLayout::Current), 0.0f);
    EXPECT_EQ(readText(dir.file("o/4X.dat")), "second one");
}

// The project is read whole before anything is unpacked, but it must not be
// replaced by its own chunk: a project file named 7X.dat holding chunk 7,
// unpacked into its own folder (by any spelling, or through a link), keeps its
// bytes and says so; the later chunk is still unpacked.
TEST_F(ProjectFile, AChunkNeverReplacesTheProjectBeingRead) {
    addTPoseRef(1, "a", "b");
    std::filesystem::create_directory(dir.path() / "src");
    std::filesystem::create_directory(dir.path() / "o");
    const std::string built = dir.file("src/p.prj");
    ASSERT_EQ(WritePrjFile(built.c_str()), 0.0f);
    for (const std::string name : {"7X.dat", "8X.dat"}) {
        writeText(dir.file("src/" + name), name);
        ASSERT_EQ(AddDatFile(dir.file("src/" + name).c_str(), 0, built.c_str()), 0.0f);
    }
    const Bytes project = readFile(built);
    const struct {
        const char* project;
        const char* target;
        const char* later;
    } cases[] = {
        {"7X.dat", "t", "8X.dat"},
        {"7X.dat", "o/../t", "8X.dat"},
#ifndef _WIN32
        {"p.prj", "o/t", "o/8X.dat"},   // o/7X.dat is a link to p.prj
#endif
    };
#ifndef _WIN32
    std::filesystem::create_symlink("../p.prj", dir.path() / "o" / "7X.dat");
#endif
    for (const auto& c : cases) {
        writeFile(dir.file(c.project), project);
        std::filesystem::remove(dir.file(c.later));
        EXPECT_EQ(OpenProjectFile(dir.file(c.project).c_str(), dir.file(c.target).c_str(), ProjectLayout::Current),
                  kProjectCannotUnpack)
            << c.target;
        EXPECT_EQ(readFile(dir.file(c.project)), project) << c.target;
        EXPECT_EQ(readText(dir.file(c.later)), "8X.dat") << c.target;
    }
}

TEST_F(ProjectFile, ChunkNumbersComeFromTheStartOfTheBaseName) {
    EXPECT_EQ(chunkNumberOf("/a/b.c/7X.dat"), 7u);
    EXPECT_EQ(chunkNumberOf("7.dat"), 7u);
    EXPECT_EQ(chunkNumberOf("C:\\p\\ 12abc.dax"), 12u);
    EXPECT_EQ(chunkNumberOf("4294967295.dat"), 4294967295u);
    EXPECT_FALSE(chunkNumberOf("4294967296.dat"));
    EXPECT_FALSE(chunkNumberOf("scene.dat"));
    EXPECT_FALSE(chunkNumberOf("-3.dat"));
    EXPECT_FALSE(chunkNumberOf("12/.dat"));
}

TEST_F(ProjectFile, AddDatFileRefusesWhatItCannotStoreAndKeepsTheProject) {
    addTPoseRef(1, "a", "b");
    const std::string path = dir.file("p.prj");
    ASSERT_EQ(WritePrjFile(path.c_str()), 0.0f);
    const Bytes before = readFile(path);
    writeText(dir.file("scene.dat"), "x");
    EXPECT_EQ(AddDatFile(dir.file("scene.dat").c_str(), 0, path.c_str()), kDatNoChunkNumber);
    EXPECT_EQ(AddDatFile(dir.file("9X.dat").c_str(), 0, path.c_str()), kDatCannotRead);
    writeText(dir.file("9X.dat"), "x");
    EXPECT_EQ(AddDatFile(dir.file("9X.dat").c_str(), 0, dir.file("no/p.prj").c_str()), kDatCannotAppend);
    EXPECT_EQ(readFile(path), before);
    // A device that takes no bytes: the append is opened, then fails.
    EXPECT_EQ(AddDatFile(dir.file("9X.dat").c_str(), 0, "/dev/full"), kDatCannotAppend);
}

TEST_F(ProjectFile, WriteAndOpenReportUnusableFiles) {
    addTPoseRef(1, "a", "b");
    EXPECT_EQ(WritePrjFile(dir.file("no/p.prj").c_str()), kProjectCannotWrite);
    EXPECT_EQ(OpenProjectFile(dir.file("none.prj").c_str(), dir.file("x").c_str(), ProjectLayout::Current),
              kProjectCannotOpen);
}

TEST_F(ProjectFile, UnpackedNamesFollowTheTargetFolder) {
    StoredChunk chunk{12, false, {}};
    EXPECT_EQ(unpackedName("target", chunk), "12X.dat");
    EXPECT_EQ(unpackedName("C:\\x\\y.kel", chunk), "C:\\x\\12X.dat");
    chunk.isDax = true;
    chunk.number = 0;
    EXPECT_EQ(unpackedName("/a.b/c/", chunk), "/a.b/c/0X.dax");
}

// Every prefix of a valid file parses without reading outside it: a prefix
// that cuts the header or records is refused whole; one that cuts a chunk
// keeps every complete chunk before it and says the chain is broken.
TEST_F(ProjectFile, EveryPrefixOfACurrentFileParsesSafely) {
    const WrittenProject p = writeSampleProject(dir);
    const Bytes file = readFile(p.path);
    const size_t recordsEnd = 32 + 2 * 516;
    const size_t chunkEnds[] = {recordsEnd + 43, recordsEnd + 43 + 33, file.size()};
    for (size_t n = 0; n <= file.size(); n += (n < recordsEnd + 200 ? 1 : 97)) {
        const Bytes prefix(file.begin(), file.begin() + n);
        auto parsed = parseProject(prefix, ProjectLayout::Current);
        if (n < recordsEnd) {
            EXPECT_FALSE(parsed) << n;
            continue;
        }
        ASSERT_TRUE(parsed) << n;
        size_t complete = 0;
        while (complete < 3 && chunkEnds[complete] <= n) ++complete;
        ASSERT_EQ(parsed->chunks.size(), complete) << n;
        for (size_t i = 0; i < complete; ++i)
            EXPECT_TRUE(std::equal(parsed->chunks[i].data.begin(), parsed->chunks[i].data.end(), p.data[i].begin(),
                                   p.data[i].end()));
        const bool atBoundary = n == recordsEnd || (complete > 0 && chunkEnds[complete - 1] == n);
        EXPECT_EQ(parsed->chainBroken, !atBoundary) << n;
    }
}

TEST_F(ProjectFile, LyingFieldsEndTheWalk) {
    const WrittenProject p = writeSampleProject(dir);
    const Bytes file = readFile(p.path);
    const size_t firstChunk = 32 + 2 * 516;

    Bytes manyRefs = file;
    storeU32le(manyRefs.data() + 24, 0xFFFFFFFFu);
    EXPECT_FALSE(parseProject(manyRefs, ProjectLayout::Current));

    for (uint32_t badLength : {0u, 31u, 0xFFFFFFFFu, 0xFFFFFFE0u}) {
        Bytes lying = file;
        storeU32le(lying.data() + firstChunk + 20, badLength);
        auto parsed = parseProject(lying, ProjectLayout::Current);
        ASSERT_TRUE(parsed);
        EXPECT_TRUE(parsed->chunks.empty()) << badLength;
        EXPECT_TRUE(parsed->chainBroken) << badLength;
    }
    // A length of exactly the header is an empty data file.
    Bytes empty = file;
    storeU32le(empty.data() + firstChunk + 20, 32);
    auto parsed = parseProject(empty, ProjectLayout::Current);
    ASSERT_TRUE(parsed);
    ASSERT_FALSE(parsed->chunks.empty());
    EXPECT_TRUE(parsed->chunks[0].data.empty());
}

TEST_F(ProjectFile, OpeningADamagedFileChangesNoStateOrSaysWhatWasLost) {
    const WrittenProject p = writeSampleProject(dir);
    Bytes file = readFile(p.path);
    std::filesystem::create_directory(dir.path() / "o");
    const std::string target = dir.file("o/t");

    writeFile(dir.file("short.prj"), Bytes(file.begin(), file.begin() + 600));
    clearTPoseList();
    addTPoseRef(77, "kept", "kept");
    EXPECT_EQ(OpenProjectFile(dir.file("short.prj").c_str(), target.c_str(), ProjectLayout::Current),
              kProjectCutShort);
    ASSERT_EQ(projectState().tPoseList.size(), 1u);
    EXPECT_EQ(projectState().tPoseList[0].refNumber, 77u);

    // The last chunk loses its filler byte.
    writeFile(dir.file("cut.prj"), Bytes(file.begin(), file.end() - 1));
    EXPECT_EQ(OpenProjectFile(dir.file("cut.prj").c_str(), target.c_str(), ProjectLayout::Current),
              kProjectChainBroken);
    EXPECT_EQ(readFile(dir.file("o/7X.dat")), p.data[0]);
    EXPECT_FALSE(fileExists(dir.file("o/12X.dat")));
    EXPECT_EQ(projectState().tPoseList.size(), 2u);
}

TEST_F(ProjectFile, OldLayoutLoadsIntoTheOldHeaderOnly) {
    setPrjModfier(11);
    const Bytes file = oldProject(5, {"r1", "r2", "r3"}, {{3, sample(5, 1)}, {4, {}}, {60, sample(100, 2)}});
    writeFile(dir.file("old.prj"), file);
    std::filesystem::create_directory(dir.path() / "o");
    ASSERT_EQ(OpenProjectFile(dir.file("old.prj").c_str(), dir.file("o/x").c_str(), ProjectLayout::Old), 0.0f);
    EXPECT_EQ(getPrjModfier(1), 11.0f);
    EXPECT_EQ(getPrjModfier(0), 5.0f);
    ASSERT_EQ(projectState().tPoseList.size(), 3u);
    EXPECT_EQ(projectState().tPoseList[2].nameText(), "r3");
    EXPECT_EQ(readFile(dir.file("o/3X.dat")), sample(5, 1));
    EXPECT_EQ(readFile(dir.file("o/4X.dat")), Bytes{});
    EXPECT_EQ(readFile(dir.file("o/60X.dat")), sample(100, 2));

    for (size_t n = 0; n < file.size(); ++n) {
        const Bytes prefix(file.begin(), file.begin() + n);
        auto parsed = parseProject(prefix, ProjectLayout::Old);
        if (n < 16 + 3 * 516) {
            EXPECT_FALSE(parsed) << n;
        } else {
            ASSERT_TRUE(parsed) << n;
            EXPECT_LE(parsed->chunks.size(), 2u);
        }
    }
}
