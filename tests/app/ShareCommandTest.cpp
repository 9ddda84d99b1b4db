// The campus program's share command: which share SDK operation a line asks for, and a clear
// error for a line that names none or gives it the wrong words.
#include <gtest/gtest.h>

#include "app/Command.h"
#include "app/CommandParser.h"

using frontend::CommandKind;
using frontend::parseCommandLine;

TEST(ShareCommand, EachOperationTakesItsOwnWords) {
    auto list = parseCommandLine("share list");
    ASSERT_TRUE(list.command) << list.error;
    EXPECT_EQ(list.command->kind, CommandKind::Share);
    EXPECT_EQ(list.command->target, "list");
    EXPECT_EQ(list.command->text, "");

    auto edit = parseCommandLine("share edit qzone");
    ASSERT_TRUE(edit.command) << edit.error;
    EXPECT_EQ(edit.command->target, "edit");
    EXPECT_EQ(edit.command->text, "qzone");
    EXPECT_EQ(edit.command->account, "");

    auto follow = parseCommandLine("share follow qzone lanxi-campus-official");
    ASSERT_TRUE(follow.command) << follow.error;
    EXPECT_EQ(follow.command->target, "follow");
    EXPECT_EQ(follow.command->text, "qzone");
    EXPECT_EQ(follow.command->account, "lanxi-campus-official");

    auto theme = parseCommandLine("share theme 0");
    ASSERT_TRUE(theme.command) << theme.error;
    EXPECT_EQ(theme.command->target, "theme");
    EXPECT_EQ(theme.command->text, "0");
}

TEST(ShareCommand, WrongWordsGetTheOperationsUsage) {
    EXPECT_EQ(parseCommandLine("share list qzone").error,
              "too many arguments: share list (quote a text with spaces)");
    EXPECT_EQ(parseCommandLine("share edit").error,
              "missing argument: share list|edit|signin PLATFORM");
    EXPECT_EQ(parseCommandLine("share").error, "missing argument: share list|edit|signin PLATFORM");
    EXPECT_EQ(parseCommandLine("share edit qzone extra").error,
              "too many arguments: share list|edit|signin PLATFORM (quote a text with spaces)");
    EXPECT_EQ(parseCommandLine("share follow qzone").error,
              "missing argument: share follow PLATFORM ACCOUNT");
    EXPECT_EQ(parseCommandLine("share send qzone").error,
              "share what: share list, share edit PLATFORM, share signin PLATFORM, share follow "
              "PLATFORM ACCOUNT, share theme 0|1 or share orientations MASK, not \"send\"");
    EXPECT_EQ(parseCommandLine("share theme").error, "missing argument: share theme 0|1");
    EXPECT_EQ(parseCommandLine("share theme 2").error, "share theme takes 0 or 1, not \"2\"");
    EXPECT_EQ(parseCommandLine("share orientations").error,
              "missing argument: share orientations MASK");
}
