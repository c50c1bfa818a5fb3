// The T-pose reference list and the project modifiers.

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "project/tpose.hpp"

namespace {

using namespace ostrel::project;

class TPose : public ::testing::Test {
protected:
    void SetUp() override { resetProjectState(); }
};

TEST_F(TPose, LookupTakesTheFirstOfEqualNamesCaseSensitively) {
    addTPoseRef(3, "arm", "first");
    addTPoseRef(4, "arm", "second");
    addTPoseRef(5, "Arm", "third");
    ASSERT_NE(findTPoseRef("arm"), nullptr);
    EXPECT_EQ(findTPoseRef("arm")->infoText(), "first");
    EXPECT_EQ(findTPoseRef("Arm")->refNumber, 5u);
    EXPECT_EQ(findTPoseRef("ar"), nullptr);
    EXPECT_EQ(projectState().thisNEWPrjHdr.refCount, 3u);
}

TEST_F(TPose, TextsAreCutTo254Bytes) {
    addTPoseRef(1, std::string(400, 'n'), std::string(300, 'i'));
    const TPoseRef& record = projectState().tPoseList.front();
    EXPECT_EQ(record.nameText(), std::string(254, 'n'));
    EXPECT_EQ(record.infoText(), std::string(254, 'i'));
    EXPECT_NE(findTPoseRef(std::string(254, 'n')), nullptr);
}

TEST_F(TPose, ClearResetsBothHeadersButKeepsTheTag) {
    auto& s = projectState();
    std::memcpy(s.thisNEWPrjHdr.tag, "VD version 03", 14);
    s.thisPrjHdr.prjModfier = 9;
    setPrjModfier(7);
    addTPoseRef(1, "a", "b");
    EXPECT_EQ(getPrjModfier(1), 7);
    EXPECT_EQ(getPrjModfier(0), 9);
    EXPECT_EQ(getPrjModfier(NAN), 9);
    clearTPoseList();
    EXPECT_EQ(getPrjModfier(1), 0);
    EXPECT_EQ(getPrjModfier(-1), 0);
    EXPECT_EQ(s.thisNEWPrjHdr.refCount, 0u);
    EXPECT_TRUE(s.tPoseList.empty());
    EXPECT_STREQ(s.thisNEWPrjHdr.tag, "VD version 03");
}

}  // namespace
