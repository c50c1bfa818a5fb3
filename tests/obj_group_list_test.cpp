// The group list, its file, the name set and the container payload.

#include <gtest/gtest.h>

#include <iterator>
#include <random>
#include <set>
#include <string>

#include "core/byte_cursor.hpp"
#include "obj/group_list.hpp"
#include "tests/support/file_size_limit.hpp"
#include "tests/support/test_support.hpp"

namespace {

using namespace ostrel;
using namespace ostrel::test;

class GroupList : public ::testing::Test {
protected:
    ScratchDir dir;
    void SetUp() override { obj::resetGroupListState(); }
};

TEST_F(GroupList, RecordsRunConsecutiveFaceRangesAndSaveAs136ByteRecords) {
    obj::addToGroupsList("a", 10);
    obj::addToGroupsList("b", 5);
    ASSERT_EQ(obj::saveGroupsList(dir.file("g.lst").c_str()), 0);
    Bytes file = readFile(dir.file("g.lst"));
    ASSERT_EQ(file.size(), 272u);
    EXPECT_EQ(file[0], 'a');
    EXPECT_EQ(Bytes(file.begin() + 1, file.begin() + 128), Bytes(127, 0));
    EXPECT_EQ(loadI32le(file.data() + 128), 0);
    EXPECT_EQ(loadI32le(file.data() + 132), 10);
    EXPECT_EQ(loadI32le(file.data() + 136 + 128), 10);
    EXPECT_EQ(loadI32le(file.data() + 136 + 132), 15);

    ASSERT_EQ(obj::loadGroupsList(dir.file("g.lst").c_str()), 0);
    EXPECT_EQ(obj::getGroupsListSize(), 2);
    EXPECT_EQ(obj::getGroupName(1), "b");
    // A load restarts face numbering at 0.
    obj::addToGroupsList("c", 3);
    EXPECT_EQ(obj::groupListState().groupsList.back().startFace, 0);
}

TEST_F(GroupList, EmptyListSavesNothingAndReportsMinusOne) {
    EXPECT_EQ(obj::getGroupsListSize(), obj::kListEmpty);
    EXPECT_EQ(obj::saveGroupsList(dir.file("g.lst").c_str()), obj::kListEmpty);
    EXPECT_FALSE(fileExists(dir.file("g.lst")));
    EXPECT_EQ(obj::getGroupName(0), "null");
}

TEST_F(GroupList, LongNamesAreCutTo127Bytes) {
    std::string longName(300, 'n');
    obj::addToGroupsList(longName, 1);
    EXPECT_EQ(obj::getGroupName(0), std::string(127, 'n'));
}

TEST_F(GroupList, LoadIgnoresATrailingPartialRecordAndUnterminatedNames) {
    Bytes file(136 * 2 + 50, 'x');   // names without NUL, then 50 stray bytes
    storeU32le(file.data() + 128, 4);
    storeU32le(file.data() + 132, 9);
    writeFile(dir.file("g.lst"), file);
    ASSERT_EQ(obj::loadGroupsList(dir.file("g.lst").c_str()), 0);
    EXPECT_EQ(obj::getGroupsListSize(), 2);
    EXPECT_EQ(obj::getGroupName(0), std::string(127, 'x'));
    EXPECT_EQ(obj::groupListState().groupsList[0].endFace, 9);
}

TEST_F(GroupList, EveryPrefixLoadsOnlyWholeRecords) {
    obj::addToGroupsList("a", 10);
    obj::addToGroupsList("b", 5);
    ASSERT_EQ(obj::saveGroupsList(dir.file("g.lst").c_str()), 0);
    Bytes file = readFile(dir.file("g.lst"));
    for (size_t n = 0; n <= file.size(); ++n) {
        Bytes prefix(file.begin(), file.begin() + ptrdiff_t(n));
        obj::loadGroupsFromBytes(prefix);
        EXPECT_EQ(obj::groupListState().groupsList.size(), n / 136) << n;
    }
}

TEST_F(GroupList, FailedLoadStillEmptiesTheList) {
    obj::addToGroupsList("a", 1);
    EXPECT_EQ(obj::loadGroupsList(dir.file("missing").c_str()), obj::kListFileCannotOpen);
    EXPECT_EQ(obj::getGroupsListSize(), obj::kListEmpty);
}

TEST_F(GroupList, FailedSaveKeepsTheOldFile) {
    obj::addToGroupsList("a", 1);
    writeText(dir.file("g.lst"), "previous");
    {
        FileSizeLimit diskFull(40);
        EXPECT_EQ(obj::saveGroupsList(dir.file("g.lst").c_str()), obj::kListFileCannotOpen);
    }
    EXPECT_EQ(readText(dir.file("g.lst")), "previous");
}

TEST_F(GroupList, NameCheckHandsOutCopiesCountingFromOne) {
    EXPECT_EQ(obj::NameCheck("head"), "head");
    EXPECT_EQ(obj::NameCheck("head"), "head_copy1");
    EXPECT_EQ(obj::NameCheck("head"), "head_copy2");
    EXPECT_EQ(obj::NameCheck("arm_copy7"), "arm_copy7");
    EXPECT_EQ(obj::NameCheck("arm_copy7"), "arm_copy1");
    EXPECT_EQ(obj::NameCheck("a_copyb_copy"), "a_copyb_copy");
    EXPECT_EQ(obj::NameCheck("a_copyb_copy"), "a_copy1");
    EXPECT_EQ(obj::NameCheck("Head"), "Head");   // case-sensitive
    obj::NameSetClear();
    EXPECT_EQ(obj::NameCheck("head"), "head");
}

// CheckName's rule taken literally: the stem with 1, 2, 3, ... until a name is free.
std::string firstFreeCopy(std::set<std::string>& names, const std::string& name) {
    if (names.insert(name).second) return name;
    const size_t copyAt = name.find("_copy");
    const std::string stem = copyAt == std::string::npos ? name + "_copy" : name.substr(0, copyAt + 5);
    for (uint64_t n = 1;; ++n)
        if (names.insert(stem + std::to_string(n)).second) return stem + std::to_string(n);
}

// CheckName remembers where each stem's numbering stands; the answers must be
// those of searching from 1 every time, whatever names were given plainly.
TEST_F(GroupList, NameCheckAnswersAsIfItSearchedFromOneEachTime) {
    const std::pair<const char*, const char*> calls[] = {
        {"a", "a"},
        {"a_copy2", "a_copy2"},           // a number given as a plain name first
        {"a", "a_copy1"},
        {"a", "a_copy3"},                 // ... is passed over
        {"a_copy1", "a_copy4"},           // a handed-out name asked for again
        {"a_copy9", "a_copy9"},
        {"a_copy9", "a_copy5"},           // the same stem as a's copies
        {"a_copyz", "a_copyz"},
        {"a_copyz", "a_copy6"},
        {"a_copy", "a_copy"},             // the bare stem is a name of its own
        {"a_copy", "a_copy7"},
        {"a_copy_copy", "a_copy_copy"},
        {"a_copy_copy", "a_copy8"},       // cut after the first "_copy"
        {"a_copy10", "a_copy10"},         // given after the numbering passed 8
        {"a", "a_copy11"},                // 9 and 10 were taken plainly
        {"a_cop", "a_cop"},
        {"a_cop", "a_cop_copy1"},         // another stem counts from 1
        {"b", "b"},
        {"b_copy01", "b_copy01"},         // not the number 1
        {"b", "b_copy1"},
    };
    for (const auto& [name, expected] : calls) EXPECT_EQ(obj::NameCheck(name), expected) << name;
    obj::NameSetClear();
    EXPECT_EQ(obj::NameCheck("a"), "a");
    EXPECT_EQ(obj::NameCheck("a"), "a_copy1");   // the numbering is forgotten with the names

    // Random calls over names that share stems, with the set cleared now and then.
    obj::NameSetClear();
    const char* pool[] = {"h", "h", "h", "h_copy", "h_copy1", "h_copy2", "h_copy3", "h_copy12", "h_copyh_copy", "k"};
    std::set<std::string> names;
    std::mt19937 random(11);
    for (int i = 0; i < 5000; ++i) {
        if (random() % 200 == 0) {
            obj::NameSetClear();
            names.clear();
        }
        const std::string name = pool[random() % std::size(pool)];
        ASSERT_EQ(obj::NameCheck(name), firstFreeCopy(names, name)) << i;
    }
}

TEST_F(GroupList, ContainerPayloadFollowsTheFirstEndBlock) {
    TevBuilder container;
    container.points({1, 2, 3}).end();
    Bytes bytes = container.bytes();
    Bytes payload = {'p', 'a', 'y', 'l', 'o', 'a', 'd', 0, 1, 2};
    bytes.insert(bytes.end(), payload.begin(), payload.end());
    writeFile(dir.file("c.bin"), bytes);
    ASSERT_EQ(obj::getGroupsListFile(dir.file("c.bin").c_str(), dir.file("out.lst").c_str()), 0);
    EXPECT_EQ(readFile(dir.file("out.lst")), payload);

    Bytes atStart = TevBuilder().end().bytes();
    atStart.resize(60, 9);
    writeFile(dir.file("s.bin"), atStart);
    ASSERT_EQ(obj::getGroupsListFile(dir.file("s.bin").c_str(), dir.file("s.lst").c_str()), 0);
    EXPECT_EQ(readFile(dir.file("s.lst")), Bytes(12, 9));
}

TEST_F(GroupList, ContainerWithoutPayloadChunkOrTooShort) {
    writeFile(dir.file("none.bin"), TevBuilder().points({1, 2, 3}).bytes());
    EXPECT_EQ(obj::getGroupsListFile(dir.file("none.bin").c_str(), dir.file("o").c_str()), ostrel::kBlockMissing);
    writeFile(dir.file("short.bin"), Bytes(40, 0));
    EXPECT_EQ(obj::getGroupsListFile(dir.file("short.bin").c_str(), dir.file("o").c_str()), ostrel::kBlockMissing);
    EXPECT_EQ(obj::getGroupsListFile(dir.file("missing").c_str(), dir.file("o").c_str()), obj::kListFileCannotOpen);
    writeFile(dir.file("ok.bin"), TevBuilder().end().rawBlock(1, 16, 0).bytes());
    EXPECT_EQ(obj::getGroupsListFile(dir.file("ok.bin").c_str(), dir.file("no/dir/o").c_str()), ostrel::kOutputCannotWrite);
    EXPECT_FALSE(fileExists(dir.file("o")));
}

TEST_F(GroupList, ContainerEveryPrefixStaysInsideTheFile) {
    Bytes bytes = TevBuilder().points({1, 2, 3}).rawBlock(7, 0, 0).end().rawBlock(1, 16, 0).bytes();
    for (size_t n = 0; n <= bytes.size(); ++n) {
        Bytes prefix(bytes.begin(), bytes.begin() + ptrdiff_t(n));
        int64_t start = obj::locateGroupListPayload(prefix);
        if (start >= 0) {
            EXPECT_LE(size_t(start), n) << n;
        }
    }
}

}  // namespace
