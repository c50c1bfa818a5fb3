// Writes that fail after their output was opened, as on a full disk: every
// project and package operation reports its output code and leaves the
// user's existing files as they were.

#include <gtest/gtest.h>

#include "project/project_file_internal.hpp"
#include "project/scene_package_internal.hpp"
#include "project/tpose.hpp"
#include "tests/support/file_size_limit.hpp"
#include "tests/support/test_support.hpp"

using namespace ostrel;
using namespace ostrel::project;
using namespace ostrel::test;

namespace {

constexpr size_t kLimit = 50000;
const Bytes kLarge(3 * kLimit, 0x5a);

class DiskFull : public ::testing::Test {
protected:
    void SetUp() override {
        resetProjectState();
        addTPoseRef(1, "pose", "info");
        ASSERT_EQ(WritePrjFile(prj.c_str()), 0.0f);
    }
    void TearDown() override { resetProjectState(); }
    ScratchDir dir;
    const std::string prj = dir.file("p.prj");
};

}  // namespace

TEST_F(DiskFull, WritePrjFileKeepsTheOldProject) {
    const Bytes before = readFile(prj);
    for (int i = 0; i < 200; ++i) addTPoseRef(uint32_t(i), "more", "records");
    FileSizeLimit limit(kLimit);
    EXPECT_EQ(WritePrjFile(prj.c_str()), kProjectCannotWrite);
    EXPECT_EQ(readFile(prj), before);
}

TEST_F(DiskFull, AddDatFileUndoesAPartialAppend) {
    writeFile(dir.file("5X.dat"), kLarge);
    const Bytes before = readFile(prj);
    {
        FileSizeLimit limit(kLimit);
        EXPECT_EQ(AddDatFile(dir.file("5X.dat").c_str(), 0, prj.c_str()), kDatCannotAppend);
    }
    EXPECT_EQ(readFile(prj), before);
    // The project still takes the next data file.
    writeText(dir.file("6X.dat"), "small");
    EXPECT_EQ(AddDatFile(dir.file("6X.dat").c_str(), 0, prj.c_str()), 0.0f);
    EXPECT_EQ(readFile(prj).size(), before.size() + 32 + 5 + 1);
}

TEST_F(DiskFull, UnpackingReportsAFileItCouldNotWrite) {
    writeFile(dir.file("5X.dat"), kLarge);
    writeText(dir.file("6X.dat"), "small");
    ASSERT_EQ(AddDatFile(dir.file("5X.dat").c_str(), 0, prj.c_str()), 0.0f);
    ASSERT_EQ(AddDatFile(dir.file("6X.dat").c_str(), 0, prj.c_str()), 0.0f);
    std::filesystem::create_directory(dir.path() / "o");
    writeText(dir.file("o/5X.dat"), "old");
    FileSizeLimit limit(kLimit);
    EXPECT_EQ(OpenProjectFile(prj.c_str(), dir.file("o/t").c_str(), ProjectLayout::Current), kProjectCannotUnpack);
    EXPECT_EQ(readText(dir.file("o/5X.dat")), "old");
    EXPECT_EQ(readText(dir.file("o/6X.dat")), "small");
}

TEST_F(DiskFull, PackageWritesReportTheirCodes) {
    const std::string base = dir.file("s");
    writeFile(base + "1.kel", kLarge);
    writeText(dir.file("pack.qpp"), "old package");
    {
        FileSizeLimit limit(kLimit);
        EXPECT_EQ(SaveQPP(base.c_str(), dir.file("pack.qpp").c_str()), ostrel::kOutputCannotWrite);
    }
    EXPECT_EQ(readText(dir.file("pack.qpp")), "old package");
    ASSERT_EQ(SaveQPP(base.c_str(), dir.file("pack.qpp").c_str()), 0.0f);
    writeText(dir.file("o1.kel"), "old slot");
    FileSizeLimit limit(kLimit);
    EXPECT_EQ(OpenQPP(dir.file("pack.qpp").c_str(), dir.file("o").c_str()), ostrel::kOutputCannotWrite);
    EXPECT_EQ(readText(dir.file("o1.kel")), "old slot");
}
