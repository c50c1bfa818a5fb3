// The scene package: slot order, the size table beside the package, and
// packages or tables that do not hold what they promise.

#include <gtest/gtest.h>

#include "core/byte_cursor.hpp"
#include "project/scene_package_internal.hpp"
#include "tests/support/test_support.hpp"

using namespace ostrel;
using namespace ostrel::project;
using namespace ostrel::test;

namespace {

Bytes filled(size_t n, uint8_t value) { return Bytes(n, value); }

int32_t tableSlot(const Bytes& table, size_t slot) { return loadI32le(table.data() + slot * 4); }

}  // namespace

TEST(ScenePackage, SlotsRunPartOneThenTheSceneThenTheOtherParts) {
    EXPECT_EQ(slotSuffix(0), "1.kel");
    EXPECT_EQ(slotSuffix(1), "1.dat");
    EXPECT_EQ(slotSuffix(2), ".kel");
    EXPECT_EQ(slotSuffix(3), ".dat");
    EXPECT_EQ(slotSuffix(4), "2.kel");
    EXPECT_EQ(slotSuffix(21), "10.dat");
    EXPECT_EQ(slotSuffix(25), "12.dat");
    EXPECT_EQ(slotSuffix(26), "");
}

TEST(ScenePackage, SizeTableReplacesTheLastThreeCharacters) {
    EXPECT_EQ(sizeTablePath("/a/s.pkg"), "/a/s.dat");
    EXPECT_EQ(sizeTablePath("abc"), "dat");
    EXPECT_FALSE(sizeTablePath("ab"));
    EXPECT_FALSE(sizeTablePath("/a/s.dat"));
}

TEST(ScenePackage, SaveThenOpenElsewhere) {
    ScratchDir dir;
    const std::string base = dir.file("scene");
    writeFile(base + "1.kel", filled(100, 1));
    writeFile(base + ".dat", filled(20, 2));
    writeFile(base + "12.dat", filled(3, 3));
    const std::string package = dir.file("pack.qpp");
    ASSERT_EQ(SaveQPP(base.c_str(), package.c_str()), 0.0f);

    const Bytes packed = readFile(package);
    ASSERT_EQ(packed.size(), 123u);
    EXPECT_EQ(packed[0], 1);
    EXPECT_EQ(packed[100], 2);
    EXPECT_EQ(packed[120], 3);
    const Bytes table = readFile(dir.file("pack.dat"));
    ASSERT_EQ(table.size(), 104u);
    for (size_t slot = 0; slot < kPackageSlots; ++slot)
        EXPECT_EQ(tableSlot(table, slot), slot == 0 ? 100 : slot == 3 ? 20 : slot == 25 ? 3 : 0) << slot;

    const std::string other = dir.file("copy");
    writeText(other + "2.kel", "untouched");
    ASSERT_EQ(OpenQPP(package.c_str(), other.c_str()), 0.0f);
    EXPECT_EQ(readFile(other + "1.kel"), filled(100, 1));
    EXPECT_EQ(readFile(other + ".dat"), filled(20, 2));
    EXPECT_EQ(readFile(other + "12.dat"), filled(3, 3));
    EXPECT_EQ(readText(other + "2.kel"), "untouched");
    EXPECT_FALSE(fileExists(other + ".kel"));
}

TEST(ScenePackage, NoSlotFilesGiveAnEmptyPackageAndAZeroTable) {
    ScratchDir dir;
    ASSERT_EQ(SaveQPP(dir.file("none").c_str(), dir.file("p.pkg").c_str()), 0.0f);
    EXPECT_TRUE(readFile(dir.file("p.pkg")).empty());
    EXPECT_EQ(readFile(dir.file("p.dat")), Bytes(104, 0));
    EXPECT_EQ(OpenQPP(dir.file("p.pkg").c_str(), dir.file("o").c_str()), 0.0f);
}

TEST(ScenePackage, PathsThatWouldLetTheTableOverwriteThePackageAreRefused) {
    ScratchDir dir;
    writeFile(dir.file("s1.kel"), filled(10, 1));
    writeText(dir.file("p.dat"), "precious");
    EXPECT_EQ(SaveQPP(dir.file("s").c_str(), dir.file("p.dat").c_str()), kPackageBadPath);
    EXPECT_EQ(readText(dir.file("p.dat")), "precious");
    EXPECT_EQ(SaveQPP(dir.file("s").c_str(), "ab"), kPackageBadPath);
    EXPECT_EQ(OpenQPP(dir.file("p.dat").c_str(), dir.file("o").c_str()), kPackageBadPath);
}

TEST(ScenePackage, UnwritableOutputsReportTheirCodes) {
    ScratchDir dir;
    EXPECT_EQ(SaveQPP(dir.file("s").c_str(), dir.file("no/p.pkg").c_str()), ostrel::kOutputCannotWrite);
    ASSERT_EQ(SaveQPP(dir.file("s").c_str(), dir.file("p.pkg").c_str()), 0.0f);
    EXPECT_EQ(OpenQPP(dir.file("missing.pkg").c_str(), dir.file("o").c_str()), kSizeTableCannotUse);
    writeFile(dir.file("q.dat"), Bytes(104, 0));
    EXPECT_EQ(OpenQPP(dir.file("q.pkg").c_str(), dir.file("o").c_str()), kPackageCannotOpen);

    writeFile(dir.file("s1.kel"), filled(10, 1));
    ASSERT_EQ(SaveQPP(dir.file("s").c_str(), dir.file("r.pkg").c_str()), 0.0f);
    EXPECT_EQ(OpenQPP(dir.file("r.pkg").c_str(), dir.file("no/o").c_str()), ostrel::kOutputCannotWrite);
}

TEST(ScenePackage, ShortTablesAndShortPackagesWriteNothing) {
    ScratchDir dir;
    const std::string base = dir.file("s");
    writeFile(base + "1.kel", filled(100, 1));
    writeFile(base + "3.dat", filled(50, 2));
    ASSERT_EQ(SaveQPP(base.c_str(), dir.file("p.pkg").c_str()), 0.0f);
    const Bytes table = readFile(dir.file("p.dat"));
    const Bytes package = readFile(dir.file("p.pkg"));
    const std::string out = dir.file("o");

    for (size_t n = 0; n < table.size(); ++n) {
        writeFile(dir.file("p.dat"), Bytes(table.begin(), table.begin() + n));
        EXPECT_EQ(OpenQPP(dir.file("p.pkg").c_str(), out.c_str()), kSizeTableBad) << n;
    }
    Bytes negative = table;
    storeU32le(negative.data() + 4 * 7, 0xFFFFFFFFu);
    writeFile(dir.file("p.dat"), negative);
    EXPECT_EQ(OpenQPP(dir.file("p.pkg").c_str(), out.c_str()), kSizeTableBad);

    writeFile(dir.file("p.dat"), table);
    for (size_t n = 0; n < package.size(); n += 7) {
        writeFile(dir.file("p.pkg"), Bytes(package.begin(), package.begin() + n));
        EXPECT_EQ(OpenQPP(dir.file("p.pkg").c_str(), out.c_str()), kPackageShort) << n;
    }
    EXPECT_FALSE(fileExists(out + "1.kel"));
    EXPECT_FALSE(fileExists(out + "3.dat"));
}

// A package named after its own base path would put its size table on the
// scene's data file (base + ".dat"): saving must not destroy that file, and
// unpacking must not overwrite the package it reads.
TEST(ScenePackage, PackageAndTableNeverReplaceASlotFile) {
    ScratchDir dir;
    const std::string base = dir.file("scene");
    writeFile(base + ".dat", filled(20, 2));
    writeFile(base + "1.kel", filled(10, 1));
    EXPECT_EQ(SaveQPP(base.c_str(), (base + ".qpp").c_str()), kPackageBadPath);
    EXPECT_EQ(SaveQPP(base.c_str(), (base + "1.kel").c_str()), kPackageBadPath);
    EXPECT_EQ(readFile(base + ".dat"), filled(20, 2));
    EXPECT_EQ(readFile(base + "1.kel"), filled(10, 1));

    ASSERT_EQ(SaveQPP(base.c_str(), dir.file("pack.qpp").c_str()), 0.0f);
    EXPECT_EQ(OpenQPP(dir.file("pack.qpp").c_str(), dir.file("pack").c_str()), kPackageBadPath);
    EXPECT_EQ(readFile(dir.file("pack.qpp")).size(), 30u);
    EXPECT_EQ(readFile(dir.file("pack.dat")).size(), 104u);
}
