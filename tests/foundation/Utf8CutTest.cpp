#include <gtest/gtest.h>

#include <string>

#include "platform/foundation/Utf8Cut.h"

using platform::utf8CutPoint;

namespace {

TEST(Utf8CutPoint, StepsBackToACharactersStartAndKeepsShortTextWhole) {
    // "a", then 校 (three bytes), then 😀 (four bytes): characters start at 0, 1, 4 and 8.
    const std::string text = "a\xe6\xa0\xa1\xf0\x9f\x98\x80";
    EXPECT_EQ(utf8CutPoint(text, 0), 0u);
    EXPECT_EQ(utf8CutPoint(text, 1), 1u);
    EXPECT_EQ(utf8CutPoint(text, 2), 1u);
    EXPECT_EQ(utf8CutPoint(text, 3), 1u);
    EXPECT_EQ(utf8CutPoint(text, 4), 4u);
    EXPECT_EQ(utf8CutPoint(text, 7), 4u);
    EXPECT_EQ(utf8CutPoint(text, 8), 8u);
    EXPECT_EQ(utf8CutPoint(text, 100), 8u);
    EXPECT_EQ(utf8CutPoint("", 5), 0u);
    // Stray continuation bytes at the front cannot be kept in part: nothing is.
    EXPECT_EQ(utf8CutPoint("\x80\x80x", 1), 0u);
}

}  // namespace
