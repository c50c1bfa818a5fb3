// ostrel-host driving the built library as the Kelmor host does: the script
// language, what it prints, its exit codes, and the merge demo of the
// examples folder.

#include <gtest/gtest.h>

#include "core/byte_cursor.hpp"
#include "host/export_table.hpp"
#include "tests/support/test_support.hpp"

namespace {

using namespace ostrel;
using namespace ostrel::test;
namespace fs = std::filesystem;

// A negative result is followed by what the export table says it means.
std::string meaning(const char* exportName, float code) {
    return std::string("   ") + exports::meaningOf(*exports::findExport(exportName), code);
}

TEST(HostDriver, PrintsResultsOutputBlocksAndMeanings) {
    HostRun run = runHost(
        "# a comment line\n"
        "Version\n"
        "GroupListClear\n"
        "GroupListSize\n"
        "GroupListAdd \"say \\\"hi\\\"\" 4.7   # trailing comment\n"
        "GroupListGetName null 0 out\n"
        "GroupListGetName null nan out\n"
        "CheckName \"a\\\\b\" 0 out\n");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.output,
              "Version = 4.4000001\n"
              "GroupListClear = 0\n"
              "GroupListSize = -1" + meaning("GroupListSize", -1) + "\n"
              "GroupListAdd = 0\n"
              "GroupListGetName = 0 \"say \\\"hi\\\"\"\n"
              "GroupListGetName = -1 \"\"" + meaning("GroupListGetName", -1) + "\n"
              "CheckName = 0 \"a\\\\b\"\n");
}

TEST(HostDriver, MissingExportOrLibraryExitsWithOne) {
    HostRun missingExport = runHost("Version\nNoSuchExport\nVersion\n");
    EXPECT_EQ(missingExport.status, 1);
    EXPECT_NE(missingExport.output.find("Version = 4.4"), std::string::npos);
    EXPECT_NE(missingExport.output.find("NoSuchExport"), std::string::npos);
    EXPECT_EQ(runHost("Version\n", "--lib /nonexistent/libOstrel.so").status, 1);
    EXPECT_EQ(runHost("Version \"unterminated\n").status, 2);
    EXPECT_EQ(runHost("Version null notanumber\n").status, 2);
}

TEST(HostDriver, MergeDemoBuildsOneMeshWithAGroupPerPart) {
    ScratchDir dir;
    fs::create_directories(dir.path() / "examples");
    fs::copy(fs::path(OSTREL_SOURCE_DIR) / "examples" / "meshes", dir.path() / "examples" / "meshes");
    fs::create_directories(dir.path() / "out" / "demo");
    std::string script = readText(std::string(OSTREL_SOURCE_DIR) + "/examples/merge_parts.host");
    HostRun run = runHost(script, "", dir.path().string());
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_NE(run.output.find("GroupListSize = 3\n"), std::string::npos);
    EXPECT_NE(run.output.find("AlignVertices_Tev = 0\n"), std::string::npos);

    Bytes merged = readFile(dir.file("out/demo/merged.tev"));
    const size_t vertices = 8 + 25 + 4, faces = 6 + 16 + 4;
    ASSERT_EQ(merged.size(), 32 + (16 + 12 * vertices) + (16 + 16 * faces) + (16 + 2 * faces) + 16);
    const uint8_t* points = merged.data() + 48;
    // Head vertex 0 sat 0.0004 left of the centre plane; align put it on it.
    EXPECT_EQ(loadF32le(points), 0.0f);
    // The tail's first face is moved behind the 33 vertices before it.
    const uint8_t* faceRecords = points + 12 * vertices + 16;
    EXPECT_EQ(loadI32le(faceRecords + 16 * 22), 33);
    EXPECT_EQ(loadI32le(faceRecords + 16 * 22 + 12), -1);
    const uint8_t* groupIds = faceRecords + 16 * faces + 16;
    EXPECT_EQ(loadU16le(groupIds), 33);
    EXPECT_EQ(loadU16le(groupIds + 2 * 6), 66);
    EXPECT_EQ(loadU16le(groupIds + 2 * 22), 99);
    EXPECT_EQ(readFile(dir.file("out/demo/merged.grp")).size(), 3 * 136u);
}

}  // namespace
