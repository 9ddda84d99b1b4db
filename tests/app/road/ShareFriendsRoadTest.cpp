// The share SDK's friend picker through the real client: runs the campus program on
// tests/app/share_friends.campus with a fresh data directory: the edit screen's "@" opens the
// demo share service's friends, a search finds one, and the mention lands in the share text;
// back on the edit screen the account panel stands in the keyboard's place, turned or not.

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
    EXPECT_TRUE(campusrun::ranToTheEnd(run, home->path(),
                                       {"share-mention.png", "share-after-back.png",
                                        "share-after-turn.png", "share-upright-again.png"}));
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

TEST_F(ShareFriendsRoad, BackOnTheEditScreenTheAccountPanelStandsInTheKeyboardsPlace) {
    Transcript road(run.output);
    // After a pick, and after the back button: the keyboard is down and the panel shows the
    // signed-in account and its switch button.
    for (const char* shot : {"screenshot share-mention.png", "screenshot share-after-back.png"}) {
        std::string back = road.after(shot);
        EXPECT_TRUE(shows(back, "shareUserName  label \"兰溪同学\"")) << shot << "\n" << back;
        EXPECT_TRUE(shows(back, "label \"切换账号\"")) << shot << "\n" << back;
        EXPECT_FALSE(shows(back, "(editing)")) << shot << "\n" << back;
        EXPECT_FALSE(shows(back, "\nkeyboard\n")) << shot << "\n" << back;
    }
    // The account button raises the keyboard over the panel.
    std::string raised = road.after("tap shareAccount");
    EXPECT_TRUE(shows(raised, "(editing)")) << raised;
    EXPECT_TRUE(shows(raised, "\nkeyboard\n")) << raised;
    EXPECT_FALSE(shows(raised, "label \"切换账号\"")) << raised;
}

TEST_F(ShareFriendsRoad, BackInLandscapeTheKeyboardComesUpForTheTurnedScreen) {
    Transcript road(run.output);
    std::string turned = road.after("screenshot share-after-turn.png");
    EXPECT_TRUE(shows(turned, "screen 667x375")) << turned;
    EXPECT_TRUE(shows(turned, "(editing)")) << turned;
    EXPECT_TRUE(shows(turned, "\nkeyboard\n")) << turned;
    std::string upright = road.after("screenshot share-upright-again.png");
    EXPECT_FALSE(shows(upright, "screen 667x375")) << upright;
    EXPECT_TRUE(shows(upright, "(editing)")) << upright;
}

}  // namespace
