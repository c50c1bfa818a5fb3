// The project, package, file and Tev-to-OBJ exports driven through the built
// library: the frames' own checks, and whole round trips as the host runs
// them through ostrel-host.

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "tests/support/test_support.hpp"

namespace {

using namespace ostrel::test;
namespace fs = std::filesystem;

Bytes sample(size_t n, uint8_t seed) {
    Bytes b(n);
    for (size_t i = 0; i < n; ++i) b[i] = uint8_t(seed ^ (i * 13 + (i >> 8)));
    return b;
}

TEST(ProjectFrames, ChecksComeInTheirOrder) {
    Library lib;
    ScratchDir dir;
    const std::string prj = dir.file("p.prj");
    lib.call("ClearTPoseList", nullptr);
    EXPECT_EQ(lib.call("WritePrjFile", nullptr), -3.0f);
    EXPECT_EQ(lib.call("WritePrjFile", prj), -3.0f);
    EXPECT_FALSE(fileExists(prj));

    // The value is checked before the paths; 0 and NaN pass.
    EXPECT_EQ(lib.call("AddDatFile", nullptr, -0.1), -16.0f);
    EXPECT_EQ(lib.call("AddDatFile", nullptr, 0), 0.0f);
    EXPECT_EQ(lib.call("AddDatFile", nullptr, std::nan("")), 0.0f);
}

TEST(FileFrames, EachReportsZeroOrMinusOne) {
    Library lib;
    ScratchDir dir;
    std::string a = dir.file("a.txt");
    writeText(a, "a");
    EXPECT_EQ(lib.call("FileRename", a, 0, a.data()), -1.0f);
    EXPECT_EQ(readText(a), "a");
    std::string b = dir.file("b.txt");
    EXPECT_EQ(lib.call("FileRename", a, 0, b.data()), 0.0f);
    EXPECT_EQ(lib.call("FileCopyTo", b, 0, a.data()), 0.0f);
    EXPECT_EQ(readText(a), "a");
    std::string missing = dir.file("none");
    EXPECT_EQ(lib.call("FileCopyTo", missing, 0, a.data()), -1.0f);
    EXPECT_EQ(readText(a), "a");   // the old target survives a missing source
    EXPECT_EQ(lib.call("FileDelete", b), 0.0f);
    EXPECT_EQ(lib.call("FileDelete", b), -1.0f);
    EXPECT_EQ(lib.call("CreateFolder", dir.file("sub")), 0.0f);
    EXPECT_EQ(lib.call("CreateFolder", dir.file("sub")), -1.0f);
    EXPECT_EQ(lib.call("EmptyFolder", ""), -1.0f);
    EXPECT_EQ(lib.call("EmptyFolder", missing), -1.0f);
    EXPECT_EQ(lib.call("EmptyFolder", dir.path().string()), 0.0f);
    EXPECT_FALSE(fileExists(a));
    EXPECT_TRUE(fs::is_directory(dir.path() / "sub"));

    char folder[256] = "unchanged";
    EXPECT_EQ(lib.call("GetPublicFolder", nullptr, 0, folder, sizeof folder), 0.0f);
    EXPECT_TRUE(fs::is_directory(folder)) << folder;
}

// The host's project sequence through ostrel-host: references and several
// data files go in, and come back byte for byte in another folder.
TEST(ProjectThroughHost, RoundTripWithDataFiles) {
    ScratchDir dir;
    fs::create_directories(dir.path() / "work");
    fs::create_directories(dir.path() / "elsewhere");
    const std::vector<std::pair<std::string, Bytes>> data = {
        {"3X.dat", sample(1, 1)}, {"4X.dax", sample(0, 2)}, {"15X.dat", sample(100000, 3)}, {"2.dat", sample(517, 4)}};
    for (const auto& [name, bytes] : data) writeFile(dir.file("work/" + name), bytes);
    HostRun run = runHost(
        "ClearTPoseList\n"
        "SetPrjModfier null 12.9\n"
        "AddTPoseRef \"alpha\" 5 \"first pose\"\n"
        "AddTPoseRef \"beta\" 6 \"second pose\"\n"
        "AddTPoseRef \"alpha\" 7 \"shadowed\"\n"
        "WritePrjFile \"work/s.prj\"\n"
        "AddDatFile \"work/3X.dat\" 0 \"work/s.prj\"\n"
        "AddDatFile \"work/4X.dax\" 2 \"work/s.prj\"\n"
        "AddDatFile \"work/15X.dat\" 0 \"work/s.prj\"\n"
        "AddDatFile \"work/2.dat\" 0 \"work/s.prj\"\n"
        "AddDatFile \"work/notanumber.dat\" 0 \"work/s.prj\"\n"
        "ClearTPoseList\n"
        "OpenNEWPrjFile \"work/s.prj\" 0 \"elsewhere/target.kel\"\n"
        "GetPrjModfier null 1\n"
        "GetTPoseRef \"alpha\" 0 out\n"
        "GetTPoseRef \"beta\" 0 out\n",
        "", dir.path().string());
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_NE(run.output.find("AddDatFile = -4   "), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("OpenNEWPrjFile = 0\nGetPrjModfier = 12\n"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("GetTPoseRef = 5 \"first pose\"\nGetTPoseRef = 6 \"second pose\"\n"),
              std::string::npos);
    EXPECT_EQ(readFile(dir.file("elsewhere/3X.dat")), data[0].second);
    EXPECT_EQ(readFile(dir.file("elsewhere/4X.dax")), data[1].second);
    EXPECT_EQ(readFile(dir.file("elsewhere/15X.dat")), data[2].second);
    EXPECT_EQ(readFile(dir.file("elsewhere/2X.dat")), data[3].second);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path() / "elsewhere"), fs::directory_iterator()), 4);
    EXPECT_EQ(readFile(dir.file("work/s.prj")).size(), 32 + 3 * 516 + (32 + 1 + 1) + (32 + 0 + 1) + (32 + 100000 + 1) + (32 + 517 + 1));
}

// The example scripts of the project area, run as the main job runs them.
TEST(ProjectThroughHost, ExampleScriptsRun) {
    ScratchDir dir;
    fs::copy(fs::path(OSTREL_SOURCE_DIR) / "examples", dir.path() / "examples", fs::copy_options::recursive);
    fs::create_directories(dir.path() / "out" / "demo");
    for (const char* name : {"project_roundtrip.host", "project_tev_to_obj.host"}) {
        const std::string script = readText(std::string(OSTREL_SOURCE_DIR) + "/examples/" + name);
        HostRun run = runHost(script, "", dir.path().string());
        ASSERT_EQ(run.status, 0) << run.output;
        // No -1, whether the driver follows it with a meaning or not.
        for (const char* minusOne : {"= -1\n", "= -1 "})
            EXPECT_EQ(run.output.find(minusOne), std::string::npos) << name << "\n" << run.output;
    }
    const std::string prj = readText(dir.file("out/demo/project/scene.prj"));
    EXPECT_EQ(prj.substr(0, 13), "VD version 03");
    EXPECT_EQ(readFile(dir.file("out/demo/project/13X.dax")), readFile(dir.file("examples/meshes/body.tev")));
    EXPECT_TRUE(fileExists(dir.file("out/demo/project/14X.bak")));
    EXPECT_FALSE(fileExists(dir.file("out/demo/project/12X.dat")));
    EXPECT_TRUE(fs::is_empty(dir.path() / "out/demo/project/restored"));
    EXPECT_EQ(readFile(dir.file("out/demo/unpacked.dat")), readFile(dir.file("examples/project_meshes/painted.tev")));
    EXPECT_EQ(readFile(dir.file("out/demo/unpacked1.kel")), readFile(dir.file("examples/project_meshes/base.tev")));
    const std::string obj = readText(dir.file("out/demo/painted.obj"));
    EXPECT_EQ(obj.rfind("# File exported by Kelmor plugin\n#Vertex count 35\n#Face count 24\n", 0), 0u);
}

}  // namespace
