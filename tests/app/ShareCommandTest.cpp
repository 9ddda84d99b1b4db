// The campus program's share command: which share SDK operation a line asks for, and a clear
// error for a line that names none.
#include <gtest/gtest.h>

#include "app/Command.h"
#include "app/CommandParser.h"

using frontend::CommandKind;
using frontend::parseCommandLine;

TEST(ShareCommand, FollowNamesThePlatformAndTheAccountAndScreensTakeOnlyAPlatform) {
    auto follow = parseCommandLine("share follow qzone lanxi-campus-official");
    ASSERT_TRUE(follow.command) << follow.error;
    EXPECT_EQ(follow.command->kind, CommandKind::Share);
    EXPECT_EQ(follow.command->target, "follow");
    EXPECT_EQ(follow.command->text, "qzone");
    EXPECT_EQ(follow.command->account, "lanxi-campus-official");

    auto edit = parseCommandLine("share edit qzone");
    ASSERT_TRUE(edit.command) << edit.error;
    EXPECT_EQ(edit.command->target, "edit");
    EXPECT_EQ(edit.command->account, "");

    for (const char* bad : {"share follow qzone", "share edit qzone extra", "share like qzone x"}) {
        SCOPED_TRACE(bad);
        auto parsed = parseCommandLine(bad);
        EXPECT_FALSE(parsed.command);
        EXPECT_NE(parsed.error.find("share"), std::string::npos) << parsed.error;
    }
}
