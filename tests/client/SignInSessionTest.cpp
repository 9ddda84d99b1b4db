#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "client/CollectionViewCellModel.h"
#include "client/DefaultModuleTable.h"
#include "client/SignInSession.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/foundation/UserDefaults.h"
#include "tests/support/TempHome.h"

using platform::Json;
using platform::UserDefaults;

namespace {

class SignInSessionTest : public ::testing::Test {
protected:
    // What a restart would read: only what was synchronised.
    Json reloaded() const { return UserDefaults(store.file()).dictionaryRepresentation(); }

    void storeTiles(const char* key, const TileList& tiles) {
        store.setData(archiveTileList(tiles), key);
    }

    // Records each post of the name with what the store held at that moment.
    void watch(const std::string& name) {
        center.addObserver(name,
                           [this](const platform::Notification&) { seen.push_back(reloaded()); });
    }

    static std::vector<std::string> keysOf(const Json& dict) {
        std::vector<std::string> keys;
        for (const auto& [key, value] : dict.items()) keys.push_back(key);
        std::sort(keys.begin(), keys.end());
        return keys;
    }

    testsupport::TempHome home;
    UserDefaults store{home.path() / "defaults.plist"};
    platform::NotificationCenter center;
    SignInSession session{store, center};
    std::vector<Json> seen;
};

TEST_F(SignInSessionTest, TheKindIsTheTeacherFirstThenTheStudentAndCarriesItsOwnKeys) {
    EXPECT_EQ(session.kind(), UserKind::None);
    EXPECT_EQ(session.tileListKeys().shown, nullptr);
    EXPECT_EQ(session.tileListKeys().hidden, nullptr);
    // A user of neither kind still has somewhere to write an arrangement.
    EXPECT_STREQ(session.arrangementKeys().shown, "kTeacherSelectItemUp");
    EXPECT_STREQ(session.arrangementKeys().hidden, "kTeacherSelectItemDown");

    store.setBool(true, "LoginTypeStudent");
    EXPECT_EQ(session.kind(), UserKind::Student);
    for (const TileListKeys keys : {session.tileListKeys(), session.arrangementKeys()}) {
        EXPECT_STREQ(keys.shown, "kStudentSelectItemUp");
        EXPECT_STREQ(keys.hidden, "kStudentSelectItemDown");
    }

    // A teacher's sign-in leaves an earlier student key standing: the teacher still wins, for
    // reading and for writing alike.
    session.applySignIn("t001", Json{{"userType", "teacher"}});
    EXPECT_TRUE(store.boolForKey("LoginTypeStudent"));
    EXPECT_EQ(session.kind(), UserKind::Teacher);
    for (const TileListKeys keys : {session.tileListKeys(), session.arrangementKeys()}) {
        EXPECT_STREQ(keys.shown, "kTeacherSelectItemUp");
        EXPECT_STREQ(keys.hidden, "kTeacherSelectItemDown");
    }
}

TEST_F(SignInSessionTest, ASignInIsStoredBeforeTheGridIsToldToUseTheStoredTiles) {
    storeTiles("kTeacherSelectItemUp", {DefaultModuleTable::tiles()[0]});
    storeTiles("kTeacherSelectItemDown", {DefaultModuleTable::tiles()[1]});
    store.synchronize();
    watch("kRefreshLoginMenu");

    session.applySignIn("张 t&01",
                        Json{{"userType", "teacher"}, {"userName", "王老师"}, {"dept", nullptr}});

    ASSERT_EQ(seen.size(), 1u);
    const Json& atPost = seen[0];
    EXPECT_EQ(atPost.value("isLogin", false), true);
    EXPECT_EQ(atPost.value("LoginTypeTeacher", false), true);
    EXPECT_EQ(atPost.value("UserId", ""), "张 t&01");
    EXPECT_EQ(atPost["UserInfo"]["dept"], "");

    EXPECT_TRUE(session.isSignedIn());
    EXPECT_EQ(session.userId(), "张 t&01");
    EXPECT_EQ(session.userInfo()["userName"], "王老师");
    EXPECT_EQ(session.webViewUserInfo(), Json::object());
}

TEST_F(SignInSessionTest, WithoutTilesInBothStoredListsOfTheKindASignInPostsNothing) {
    struct Case {
        const char* userType;
        std::optional<TileList> up;
        std::optional<TileList> down;
    };
    const TileList some = {DefaultModuleTable::tiles()[0]};
    const std::vector<Case> cases = {
        {"teacher", std::nullopt, std::nullopt},
        {"teacher", TileList{}, some},
        {"teacher", some, TileList{}},
        {"student", some, std::nullopt},
        // Lists of the other kind do not count.
        {"student", std::nullopt, std::nullopt},
        // A user of neither kind has no lists at all.
        {"alumnus", some, some},
    };
    watch("kRefreshLoginMenu");
    for (const auto& c : cases) {
        store.removeObjectForKey("LoginTypeTeacher");
        store.removeObjectForKey("LoginTypeStudent");
        for (const char* key : {"kTeacherSelectItemUp", "kTeacherSelectItemDown",
                                "kStudentSelectItemUp", "kStudentSelectItemDown"})
            store.removeObjectForKey(key);
        const bool student = std::string(c.userType) == "student";
        const char* up = student ? "kStudentSelectItemUp" : "kTeacherSelectItemUp";
        const char* down = student ? "kStudentSelectItemDown" : "kTeacherSelectItemDown";
        if (c.up)
            storeTiles(up, *c.up);
        if (c.down)
            storeTiles(down, *c.down);
        if (student) {  // the teacher's lists, which a student must not pick up
            storeTiles("kTeacherSelectItemUp", some);
            storeTiles("kTeacherSelectItemDown", some);
        }

        session.applySignIn("u1", Json{{"userType", c.userType}});
        EXPECT_TRUE(session.isSignedIn()) << c.userType;
    }
    EXPECT_TRUE(seen.empty()) << seen.size();
    // The last user was of neither kind: no type key is set.
    EXPECT_FALSE(store.objectForKey("LoginTypeTeacher"));
    EXPECT_FALSE(store.objectForKey("LoginTypeStudent"));
}

TEST_F(SignInSessionTest, TheUserInformationIsStoredBeforeWebPagesAreTold) {
    watch("LoginSuccess");
    session.storeUserInformation(Json{{"userId", "c-1001"}, {"mobile", nullptr}});

    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0]["WebViewUserInfo"]["userId"], "c-1001");
    EXPECT_EQ(seen[0]["WebViewUserInfo"]["mobile"], "");
    EXPECT_EQ(session.webViewUserInfo()["userId"], "c-1001");
}

TEST_F(SignInSessionTest, SignOutAnnouncesItselfWhileTheUserIsStoredThenRemovesTheTenKeys) {
    storeTiles("kTeacherSelectItemUp", DefaultModuleTable::tiles());
    storeTiles("kTeacherSelectItemDown", {});
    storeTiles("kStudentSelectItemUp", DefaultModuleTable::tiles());
    storeTiles("kStudentSelectItemDown", {});
    store.setString("2.0.4", "appCurVersion");
    store.setBool(true, "firstLaunch");
    store.setString("tok", "kDeviceToken");
    session.applySignIn("t001", Json{{"userType", "teacher"}});
    session.storeUserInformation(Json{{"userId", "c-1001"}});
    store.setBool(true, "LoginTypeStudent");
    store.synchronize();

    bool signedInAtPost = false;
    std::string userAtPost;
    center.addObserver("kRefreshLogoutMenu", [&](const platform::Notification&) {
        signedInAtPost = session.isSignedIn();
        userAtPost = session.userId();
    });
    session.signOut();

    EXPECT_TRUE(signedInAtPost);
    EXPECT_EQ(userAtPost, "t001");
    EXPECT_FALSE(session.isSignedIn());
    EXPECT_EQ(session.userId(), "");
    EXPECT_EQ(session.kind(), UserKind::None);
    // Only what is not the user's stays, and the removal was synchronised.
    const Json left = reloaded();
    EXPECT_EQ(keysOf(left),
              (std::vector<std::string>{"appCurVersion", "firstLaunch", "kDeviceToken"}));
    EXPECT_EQ(left["appCurVersion"], "2.0.4");
}

}  // namespace
