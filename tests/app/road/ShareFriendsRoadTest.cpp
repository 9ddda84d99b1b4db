// The share SDK's friend picker through the real client: runs the campus program on
// tests/app/share_friends.campus with a fresh data directory: the edit screen's "@" opens the
// demo share service's friends, a search finds one, and the mention lands in the share text.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "tests/app/road/CampusRun.h"
#include "tests/support/TempHome.h"

namespace {

using campusrun::shows;
using campusrun::Transcript;

class ShareFriendsRoad : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        home = std::make_unique<testsupport::TempHome>();
        run = campusrun::runCampus(home->path(), CAMPUS_SCRIPTS_DIR "/share_friends.campus",
                                   home->path() / "state");
    }
    static void TearDownTestSuite() { home.reset(); }

    static inline std::unique_ptr<testsupport::TempHome> home;
    static inline campusrun::ProgramRun run;
};

TEST_F(ShareFriendsRoad, RunsToTheEndWithoutAFailedCommand) {
    EXPECT_TRUE(campusrun::ranToTheEnd(run, home->path(), {"share-mention.png"}));
}

TEST_F(ShareFriendsRoad, TheAtButtonListsTheFriendsAndASearchedFriendIsMentioned) {
    Transcript road(run.output);
    std::string edit = road.after("type shareText \"周末一起去图书馆复习\"");
    EXPECT_TRUE(shows(edit, "navigation bar \"分享至腾讯微博\"")) << edit;
    EXPECT_TRUE(shows(edit, "shareAt  button \"@\"")) << edit;
    std::string friends = road.after("screenshot share-friends.png");
    EXPECT_TRUE(shows(friends, "index C H L O S W Z 符")) << friends;
    EXPECT_TRUE(shows(friends, "cell \"陈子涵\"")) << friends;
    std::string found = road.after("type friend-search 小溪");
    EXPECT_TRUE(shows(found, "cell \"林小溪\"")) << found;
    EXPECT_FALSE(shows(found, "cell \"陈子涵\"")) << found;
    std::string mentioned = road.after("tap 林小溪");
    EXPECT_TRUE(shows(mentioned, "shareText  text view \"校园新闻周末一起去图书馆复习 @linxx \""))
        << mentioned;
    EXPECT_TRUE(shows(mentioned, "shareCount  label \"122\"")) << mentioned;
}

}  // namespace
