// The OBJ exports through the built library and ostrel-host: the round trips
// of a multi-part mesh (Tev parts through points files, OBJ parts through one
// appended OBJ), and the example script.

#include <gtest/gtest.h>

#include <clocale>
#include <filesystem>
#include <string>
#include <vector>

#include "core/byte_cursor.hpp"
#include "tests/support/test_support.hpp"

namespace {

namespace fs = std::filesystem;
namespace test = ostrel::test;

class ObjExports : public ::testing::Test {
protected:
    void SetUp() override { lib.call("GroupListClear", nullptr); }
    void TearDown() override { lib.call("GroupListClear", nullptr); }
    float call(const char* name, const std::string& text, double value, std::string mem) {
        return lib.call(name, text, value, mem.data());
    }
    test::Library lib;
    test::ScratchDir dir;
};

TEST_F(ObjExports, TevPartsTakeBackTheMergedMeshsMovedVertices) {
    // Two parts: a cube (8 vertices) and a cube moved by 10 (8 vertices).
    const std::string first = dir.file("first.tev"), second = dir.file("second.tev");
    test::writeFile(first, test::TevBuilder().points(test::cubePoints()).faces(test::cubeFaces()).groups(std::vector<uint16_t>(6, 1)).end().bytes());
    test::writeFile(second, test::TevBuilder().points(test::cubePoints(10)).faces(test::cubeFaces()).groups(std::vector<uint16_t>(6, 1)).end().bytes());
    const std::string merged = dir.file("merged.tev");
    lib.call("clearVectors", nullptr);
    ASSERT_EQ(lib.call("addTevFile", first, 0), 8);
    ASSERT_EQ(lib.call("GroupListAdd", "first", 8), 0);
    ASSERT_EQ(lib.call("addTevFile", second, 8), 8);
    ASSERT_EQ(lib.call("GroupListAdd", "second", 8), 0);
    ASSERT_EQ(lib.call("vectorsToTev", merged), 0);

    // The host moves every vertex of the merged mesh up by 0.5.
    test::Bytes bytes = test::readFile(merged);
    for (size_t i = 0; i < 16; ++i) {
        uint8_t* y = &bytes[32 + 16 + 12 * i + 4];
        ostrel::storeF32le(y, ostrel::loadF32le(y) + 0.5f);
    }
    test::writeFile(merged, bytes);

    fs::create_directories(dir.path() / "points");
    ASSERT_EQ(call("ListSplitOBJtoTev", merged, 0, dir.file("points") + "/"), 0);
    ASSERT_EQ(call("SwapVertices_Tev", dir.file("points/first.Tvt"), 0, first), 0);
    ASSERT_EQ(call("SwapVertices_Tev", dir.file("points/second.Tvt"), 0, second), 0);
    for (auto [path, shift] : {std::pair{first, 0.0f}, std::pair{second, 10.0f}}) {
        test::Bytes part = test::readFile(path);
        std::vector<float> expected = test::cubePoints(shift);
        for (size_t i = 0; i < 8; ++i) {
            EXPECT_EQ(ostrel::loadF32le(&part[48 + 12 * i]), expected[3 * i]);
            EXPECT_EQ(ostrel::loadF32le(&part[48 + 12 * i + 4]), expected[3 * i + 1] + 0.5f);
        }
    }
}

TEST_F(ObjExports, AHostWithACommaLocaleStillGetsPoints) {
    const std::string in = dir.file("in.obj"), out = dir.file("out.obj");
    test::writeText(in, "v 0.5 1.5 2\nvt 0 1\ng a\nf 1 1 1\n");
    std::string saved = std::setlocale(LC_ALL, nullptr);
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8")) GTEST_SKIP() << "locale de_DE.UTF-8 absent (Debian package locales-all)";
    float scaled = call("ScaleUVs", in, 0.5, out);
    fs::create_directories(dir.path() / "points");
    float split = call("SplitOBJtoTev", in, 0, dir.file("points") + "/");
    std::setlocale(LC_ALL, saved.c_str());
    ASSERT_EQ(scaled, 0);
    EXPECT_EQ(test::readText(out), "v 0.5 1.5 2\nvt 0.25 0.75 \ng a\nf 1 1 1\n");
    ASSERT_EQ(split, 0);
    test::Bytes points = test::readFile(dir.file("points/a.Tvt"));
    ASSERT_EQ(points.size(), 28u);
    EXPECT_EQ(ostrel::loadF32le(&points[16]), 0.5f);
    EXPECT_EQ(ostrel::loadF32le(&points[20]), 1.5f);
}

// The README's main job runs examples/obj_roundtrip.host from the repository
// root; here it runs on a copy of the examples folder.
TEST_F(ObjExports, TheExampleScriptRunsItsRoundTrips) {
    const fs::path root = dir.path();
    fs::copy(fs::path(OSTREL_SOURCE_DIR) / "examples", root / "examples", fs::copy_options::recursive);
    fs::create_directories(root / "out/demo");
    test::HostRun run = test::runHost(test::readText((root / "examples/obj_roundtrip.host").string()), "",
                                      root.string());
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(run.output.find(" = -"), std::string::npos) << run.output;

    // Tev parts: positions unchanged, so each part is byte for byte as before.
    for (const char* part : {"head", "body", "tail"})
        EXPECT_EQ(test::readFile((root / "out/demo/obj" / (std::string(part) + ".tev")).string()),
                  test::readFile((root / "examples/meshes" / (std::string(part) + ".tev")).string()))
            << part;
    // OBJ parts: every vertex line back, byte for byte, line ends made LF.
    auto vertexLines = [](const fs::path& path) {
        std::string out;
        for (std::string line : {test::readText(path.string())}) {
            size_t at = 0;
            while (at < line.size()) {
                size_t end = line.find('\n', at);
                if (end == std::string::npos) end = line.size();
                std::string one = line.substr(at, end - at);
                if (!one.empty() && one.back() == '\r') one.pop_back();
                if (one.rfind("v ", 0) == 0) out += one + "\n";
                at = end + 1;
            }
        }
        return out;
    };
    for (const char* part : {"arm", "leg", "head"})
        EXPECT_EQ(vertexLines(root / "out/demo/obj/parts" / (std::string(part) + ".obj")),
                  vertexLines(root / "examples/obj" / (std::string(part) + ".obj")))
            << part;
    EXPECT_TRUE(fs::exists(root / "out/demo/obj/split/back_of_head.obj"));
}

}  // namespace
