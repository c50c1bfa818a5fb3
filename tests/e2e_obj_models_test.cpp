// OBJ files written by other programs, split and joined back through the
// built library: every vertex line must come out byte for byte, and every
// face must be accounted for in the group it belongs to.
//
// The files come from Debian packages, fetched by tools/fetch-test-models.sh
// (run here when they are missing); without them these tests skip.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "core/byte_cursor.hpp"
#include "tests/support/test_support.hpp"

namespace {

namespace fs = std::filesystem;
namespace test = ostrel::test;

// A plain reading of an OBJ, independent of the library's reader: vertex line
// texts, and per group the faces as lists of 1-based absolute vertex numbers.
struct ReferenceObj {
    std::vector<std::string> vertexLines;
    std::map<std::string, std::vector<std::vector<long>>> groupFaces;
    std::vector<std::vector<long>> allFaces;
};

std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

std::vector<long> faceVertices(const std::string& line, size_t verticesSoFar) {
    std::vector<long> out;
    std::istringstream in(line.substr(1));
    for (std::string token; in >> token;) {
        long n = std::stol(token.substr(0, token.find('/')));
        out.push_back(n < 0 ? long(verticesSoFar) + 1 + n : n);
    }
    return out;
}

ReferenceObj readReference(const std::string& path) {
    ReferenceObj obj;
    std::vector<std::vector<long>> beforeFirstGroup;
    std::string group;
    bool named = false;
    for (const std::string& line : splitLines(test::readText(path))) {
        if (line.rfind("v ", 0) == 0) {
            obj.vertexLines.push_back(line);
        } else if (line.rfind("g", 0) == 0) {
            group = line.size() > 2 ? line.substr(2) : "";
            if (!named) obj.groupFaces[group] = beforeFirstGroup;
            named = true;
        } else if (line.rfind("f", 0) == 0) {
            auto face = faceVertices(line, obj.vertexLines.size());
            obj.allFaces.push_back(face);
            (named ? obj.groupFaces[group] : beforeFirstGroup).push_back(face);
        }
    }
    return obj;
}

std::vector<std::string> vertexLinesOf(const std::string& path) {
    std::vector<std::string> out;
    for (const std::string& line : splitLines(test::readText(path)))
        if (line.rfind("v ", 0) == 0) out.push_back(line);
    return out;
}

// The distinct vertices of `faces`, ascending, as their lines.
std::vector<std::string> usedVertexLines(const ReferenceObj& obj, const std::vector<std::vector<long>>& faces) {
    std::set<long> used;
    for (const auto& face : faces) used.insert(face.begin(), face.end());
    std::vector<std::string> out;
    for (long n : used) out.push_back(obj.vertexLines.at(size_t(n - 1)));
    return out;
}

std::string modelsDir() {
    static const std::string dir = [] {
        std::string folder = fs::absolute("test-models").string();
        auto complete = [&] {
            for (const char* name : {"spider.obj", "regr01.obj", "bunny.obj"})
                if (!fs::exists(fs::path(folder) / name)) return false;
            return true;
        };
        if (!complete()) {
            std::string command = "bash '" + std::string(OSTREL_SOURCE_DIR) + "/tools/fetch-test-models.sh' '" +
                                  folder + "' >/dev/null 2>&1";
            (void)std::system(command.c_str());
        }
        return complete() ? folder : std::string();
    }();
    return dir;
}

class RealModels : public ::testing::Test {
protected:
    void SetUp() override {
        if (modelsDir().empty()) GTEST_SKIP() << "model files absent: run tools/fetch-test-models.sh (needs apt)";
        lib.call("GroupListClear", nullptr);
    }
    void TearDown() override { lib.call("GroupListClear", nullptr); }

    static std::string model(const char* name) { return modelsDir() + "/" + name; }
    std::string folder(const char* name) {
        fs::create_directories(dir.path() / name);
        return (dir.path() / name).string() + "/";
    }
    float call(const char* name, const std::string& text, double value, std::string mem) {
        return lib.call(name, text, value, mem.data());
    }

    test::Library lib;
    test::ScratchDir dir;
};

// Splits by "g" lines, checks each part face by face against the original,
// appends the parts into one file and cuts that back by the group list.
void splitAndJoin(const test::Library& lib, const std::string& path, const std::string& splitDir,
                  const std::string& joined, const std::string& backDir) {
    const ReferenceObj original = readReference(path);
    ASSERT_EQ(lib.call("SplitOBJ", path, 0, std::string(splitDir + "x").data()), 0);

    double vertices = 0;
    size_t faces = 0;
    for (const auto& [name, groupFaces] : original.groupFaces) {
        const std::string part = splitDir + name + ".obj";
        const ReferenceObj split = readReference(part);
        EXPECT_EQ(split.vertexLines, usedVertexLines(original, groupFaces)) << name;
        ASSERT_EQ(split.allFaces.size(), groupFaces.size()) << name;
        for (size_t f = 0; f < groupFaces.size(); ++f) {
            ASSERT_EQ(split.allFaces[f].size(), groupFaces[f].size());
            for (size_t c = 0; c < groupFaces[f].size(); ++c)
                EXPECT_EQ(split.vertexLines.at(size_t(split.allFaces[f][c] - 1)),
                          original.vertexLines.at(size_t(groupFaces[f][c] - 1)));
        }
        faces += groupFaces.size();
        float total = lib.call("AppendOBJ", part, vertices, std::string(joined).data());
        ASSERT_EQ(total, float(vertices + double(split.vertexLines.size())));
        vertices = total;
    }
    EXPECT_EQ(faces, original.allFaces.size());
    EXPECT_EQ(lib.call("GroupListSize", nullptr), float(original.groupFaces.size()));

    ASSERT_EQ(lib.call("ListSplitOBJtoOBJ", joined, 0, std::string(backDir + "x").data()), 0);
    ASSERT_EQ(lib.call("CreateFacesList", nullptr), 0);
    for (const auto& [name, groupFaces] : original.groupFaces) {
        EXPECT_EQ(vertexLinesOf(backDir + name + ".obj"), vertexLinesOf(splitDir + name + ".obj")) << name;
        EXPECT_EQ(lib.call("GetFaces", name), float(groupFaces.size())) << name;
    }
}

TEST_F(RealModels, GroupedModelSplitsByGroupAndJoinsBack) {
    splitAndJoin(lib, model("spider.obj"), folder("split"), dir.file("joined.obj"), folder("back"));
}

TEST_F(RealModels, ModelWithFacelessGroupsSplitsIntoPointsFiles) {
    const std::string path = model("regr01.obj");
    const ReferenceObj original = readReference(path);
    const std::string out = folder("points");
    ASSERT_EQ(call("SplitOBJtoTev", path, 0, out + "x"), 0);
    size_t written = 0;
    for (const auto& [name, groupFaces] : original.groupFaces) {
        test::Bytes bytes = test::readFile(out + name + ".Tvt");
        ASSERT_GE(bytes.size(), 16u) << name;
        std::vector<std::string> used = usedVertexLines(original, groupFaces);
        ASSERT_EQ(ostrel::loadI32le(&bytes[8]), int32_t(used.size())) << name;
        ASSERT_EQ(bytes.size(), 16 + 12 * used.size());
        for (size_t k = 0; k < used.size(); ++k) {
            std::istringstream in(used[k].substr(2));
            float x, y, z;
            in >> x >> y >> z;
            EXPECT_EQ(ostrel::loadF32le(&bytes[16 + 12 * k]), x);
            EXPECT_EQ(ostrel::loadF32le(&bytes[24 + 12 * k]), z);
        }
        ++written;
    }
    EXPECT_GT(written, 10u);
    // Its first group in byte order, the bare "g", has no faces.
    EXPECT_EQ(call("SplitOBJ", path, 0, folder("objs") + "x"), -2);
}

TEST_F(RealModels, WholeModelsAppendAndComeBackByteForByte) {
    const std::string joined = dir.file("joined.obj");
    float total = 0;
    for (const char* name : {"regr01.obj", "bunny.obj"}) {
        float shifted = call("AppendOBJ", model(name), total, joined);
        ASSERT_EQ(shifted, total + float(readReference(model(name)).vertexLines.size()));
        total = shifted;
    }
    const std::string back = folder("back");
    ASSERT_EQ(call("ListSplitOBJtoOBJ", joined, 0, back + "x"), 0);
    for (const char* name : {"regr01", "bunny"}) {
        const ReferenceObj original = readReference(model((std::string(name) + ".obj").c_str()));
        EXPECT_EQ(vertexLinesOf(back + name + ".obj"), usedVertexLines(original, original.allFaces)) << name;
    }
}

TEST_F(RealModels, FigureExportOfUnchangedPositionsKeepsEveryLine) {
    // The positions file holds exactly the used vertices, as the host writes it.
    const std::string source = model("spider.obj");
    const ReferenceObj original = readReference(source);
    std::string positions;
    for (const std::string& line : usedVertexLines(original, original.allFaces)) positions += line + "\n";
    const std::string p = dir.file("p.obj");
    test::writeText(p, positions);
    ASSERT_EQ(call("PoserExportOBJ", source, 0, p), 0);
    std::vector<std::string> expected, got = splitLines(test::readText(p));
    for (const std::string& line : splitLines(test::readText(source)))
        if (line.rfind("v ", 0) == 0) expected.push_back(line);
    for (const std::string& line : splitLines(test::readText(source)))
        if (line.rfind("v ", 0) != 0 && line.rfind("#", 0) != 0) expected.push_back(line);
    ASSERT_GT(got.size(), 4u);
    EXPECT_EQ(got[2], "#Vertex Count " + std::to_string(original.vertexLines.size()));
    EXPECT_EQ(got[3], "#Face Count " + std::to_string(original.allFaces.size()));
    EXPECT_EQ(std::vector<std::string>(got.begin() + 4, got.end()), expected);
}

TEST_F(RealModels, UvScalingTouchesOnlyUvLines) {
    const std::string source = model("spider.obj");
    const std::string out = dir.file("scaled.obj");
    ASSERT_EQ(call("ScaleUVs", source, 0.5, out), 0);
    std::vector<std::string> before = splitLines(test::readText(source)), after = splitLines(test::readText(out));
    ASSERT_EQ(before.size(), after.size());
    size_t uvLines = 0;
    for (size_t i = 0; i < before.size(); ++i) {
        if (before[i].rfind("vt", 0) == 0) {
            ++uvLines;
            float u0, v0, u1, v1;
            std::istringstream(before[i].substr(3)) >> u0 >> v0;
            std::istringstream(after[i].substr(3)) >> u1 >> v1;
            EXPECT_NEAR(u1, u0 * 0.5f + 0.25f, 1e-5f);
            EXPECT_NEAR(v1, v0 * 0.5f + 0.25f, 1e-5f);
        } else {
            EXPECT_EQ(after[i], before[i]);
        }
    }
    EXPECT_GT(uvLines, 100u);
}

// Every OBJ tool must write the same bytes whether its inputs are read by a
// second thread while the work goes on or by the working thread itself, in
// chunks that end anywhere in a line, with pages given back as the splits
// pass them and large outputs written by a second thread.
TEST_F(RealModels, EveryToolWritesTheSameBytesOnOneThreadOrTwo) {
    const std::string spider = model("spider.obj"), bunny = model("bunny.obj");
    std::string positions;
    const ReferenceObj spiderLines = readReference(spider);
    for (const std::string& line : usedVertexLines(spiderLines, spiderLines.allFaces)) positions += line + "\n";

    auto outputsOf = [&](const char* threads, const char* chunk) {
        test::ScopedEnvironment threadSetting("OSTREL_THREADS", threads), chunkSetting("OSTREL_READ_CHUNK", chunk);
        const fs::path root = dir.path() / ("run-" + std::string(threads ? "one-" : "two-") + (chunk ? chunk : "whole"));
        auto at = [&](const char* name) { return (root / name).string(); };
        fs::create_directories(root / "split");
        fs::create_directories(root / "points");
        fs::create_directories(root / "back");
        EXPECT_EQ(call("SplitOBJ", spider, 0, at("split/x")), 0);
        EXPECT_EQ(call("SplitOBJtoTev", model("regr01.obj"), 0, at("points/x")), 0);
        lib.call("GroupListClear", nullptr);
        const float spiderVertices = call("AppendOBJ", spider, 0, at("joined.obj"));
        EXPECT_GT(call("AppendOBJ", bunny, spiderVertices, at("joined.obj")), spiderVertices);
        EXPECT_EQ(call("ListSplitOBJtoOBJ", at("joined.obj"), 0, at("back/x")), 0);
        fs::copy_file(bunny, root / "swap.obj");
        EXPECT_EQ(call("SwapVertices", at("swap.obj"), 0, bunny), 0);
        test::writeText(at("posed.obj"), positions);
        EXPECT_EQ(call("PoserExportOBJ", spider, 0, at("posed.obj")), 0);
        EXPECT_EQ(call("ScaleUVs", spider, 0.5, at("scaled.obj")), 0);
        std::map<std::string, test::Bytes> files;
        for (const auto& entry : fs::recursive_directory_iterator(root))
            if (entry.is_regular_file()) files[fs::relative(entry.path(), root).string()] = test::readFile(entry.path().string());
        return files;
    };
    const auto single = outputsOf("1", nullptr);
    ASSERT_GT(single.size(), 10u);
    for (const auto& [threads, chunk] : {std::pair<const char*, const char*>{nullptr, "4093"}, {nullptr, "61"}, {"1", "61"}}) {
        const auto streamed = outputsOf(threads, chunk);
        ASSERT_EQ(streamed.size(), single.size()) << chunk;
        for (const auto& [name, bytes] : single)
            EXPECT_TRUE(streamed.at(name) == bytes) << name << ", chunk " << chunk << (threads ? ", one thread" : "");
    }
}

}  // namespace
