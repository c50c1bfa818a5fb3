// The screen factor's single-precision formula and isKeyPressed's key code.

#include <gtest/gtest.h>

#include <cmath>

#include "platform/screen.hpp"

namespace {

using ostrel::platform::keyCodeOf;
using ostrel::platform::screenFactor;

TEST(ScreenFactor, LogicalOverPhysicalInches) {
    EXPECT_FLOAT_EQ(screenFactor(508, 1920, 96), 1.0f);
    EXPECT_FLOAT_EQ(screenFactor(254, 1920, 96), 2.0f);
    // Single precision throughout: in double precision the same screen gives
    // 0x1.8153dp-1, one float step below.
    EXPECT_EQ(screenFactor(600, 2560, 144), 0x1.8153d2p-1f);
}

TEST(ScreenFactor, ZeroMillimetresGiveInfinity) {
    EXPECT_TRUE(std::isinf(screenFactor(0, 1920, 96)));
}

TEST(KeyCode, TruncatesAndKeepsTheLow16Bits) {
    EXPECT_EQ(keyCodeOf(56.9), 56);
    EXPECT_EQ(keyCodeOf(65536.0 + 56), 56);
    EXPECT_EQ(keyCodeOf(-0.5), 0);
    EXPECT_EQ(keyCodeOf(-1), 0xFFFF);
    EXPECT_EQ(keyCodeOf(NAN), 0);
    EXPECT_EQ(keyCodeOf(1e12), 0xFFFF);   // saturates at INT32_MAX first
}

}  // namespace
