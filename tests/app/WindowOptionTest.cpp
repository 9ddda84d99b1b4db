#include <gtest/gtest.h>

#include "app/Options.h"

namespace frontend {
namespace {

TEST(WindowOptionTest, WindowIsAFlagThatTakesTheOtherOptionsButNotAScript) {
    ParsedOptions parsed = parseOptions({"--window", "--screen", "320x568", "--data-dir", "d"});
    ASSERT_EQ(parsed.error, "");
    EXPECT_TRUE(parsed.options.window);
    EXPECT_EQ(parsed.options.screen.width, 320);
    EXPECT_FALSE(parseOptions({}).options.window);

    EXPECT_EQ(parseOptions({"--script", "f.campus", "--window"}).error,
              "--window and --script do not go together");
}

}  // namespace
}  // namespace frontend
