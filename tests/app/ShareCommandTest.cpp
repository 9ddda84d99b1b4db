#include <gtest/gtest.h>

#include "app/CommandParser.h"

namespace frontend {
namespace {

TEST(ShareCommand, ListTakesNoPlatformWhileEditAndSignInNeedOne) {
    ParsedLine list = parseCommandLine("share list");
    ASSERT_TRUE(list.command) << list.error;
    EXPECT_EQ(list.command->kind, CommandKind::Share);
    EXPECT_EQ(list.command->target, "list");
    EXPECT_EQ(list.command->text, "");

    EXPECT_EQ(parseCommandLine("share list qzone").error,
              "too many arguments: share list (quote a text with spaces)");
    EXPECT_EQ(parseCommandLine("share edit").error,
              "missing argument: share list|edit|signin PLATFORM");
    EXPECT_EQ(parseCommandLine("share").error, "missing argument: share list|edit|signin PLATFORM");
    EXPECT_EQ(parseCommandLine("share send qzone").error,
              "share what: share list, share edit PLATFORM or share signin PLATFORM, not \"send\"");
    ParsedLine edit = parseCommandLine("share edit qzone");
    ASSERT_TRUE(edit.command) << edit.error;
    EXPECT_EQ(edit.command->target, "edit");
    EXPECT_EQ(edit.command->text, "qzone");
}

}  // namespace
}  // namespace frontend
