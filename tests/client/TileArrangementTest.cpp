#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "client/CollectionViewCellModel.h"
#include "client/DefaultModuleTable.h"
#include "client/SignInSession.h"
#include "client/TileArrangement.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/foundation/UserDefaults.h"
#include "tests/support/TempHome.h"

using platform::UserDefaults;

namespace {

std::vector<std::string> methods(const TileList& tiles) {
    std::vector<std::string> out;
    for (const auto& tile : tiles) out.push_back(tile->methodName);
    return out;
}

std::vector<std::string> methods(const std::optional<TileList>& tiles) {
    return tiles ? methods(*tiles) : std::vector<std::string>{"<absent>"};
}

class TileArrangementTest : public ::testing::Test {
protected:
    TileArrangement arrangement() { return TileArrangement(SignInSession(store, center)); }

    // The tiles split as an editor might leave them: the first three shown, the rest hidden.
    static TileList firstThree() {
        auto tiles = DefaultModuleTable::tiles();
        return {tiles.begin(), tiles.begin() + 3};
    }
    static TileList theRest() {
        auto tiles = DefaultModuleTable::tiles();
        return {tiles.begin() + 3, tiles.end()};
    }

    testsupport::TempHome home;
    UserDefaults store{home.path() / "defaults.plist"};
    platform::NotificationCenter center;
};

TEST_F(TileArrangementTest, WithNothingStoredTheEightDefaultTilesAreShown) {
    const auto defaults = methods(DefaultModuleTable::tiles());
    ASSERT_EQ(defaults.size(), 8u);
    ASSERT_EQ(defaults.back(), "attendance");

    // Nobody of a kind, a teacher with nothing stored, a teacher with two empty lists, and a
    // teacher whose lists cannot be read: none has an arrangement of their own.
    auto check = [&](const char* situation) {
        const auto lists = arrangement().load();
        EXPECT_FALSE(lists.fromStore) << situation;
        EXPECT_EQ(methods(lists.shown), defaults) << situation;
        EXPECT_TRUE(lists.hidden.empty()) << situation;
    };
    store.setData(archiveTileList(firstThree()), "kTeacherSelectItemUp");
    check("neither kind");
    store.removeObjectForKey("kTeacherSelectItemUp");
    store.setBool(true, "LoginTypeTeacher");
    check("nothing stored");
    store.setData(archiveTileList({}), "kTeacherSelectItemUp");
    store.setData(archiveTileList({}), "kTeacherSelectItemDown");
    check("empty lists");
    store.setData(platform::toBytes("not an archive"), "kTeacherSelectItemUp");
    store.setString("not data", "kTeacherSelectItemDown");
    check("unreadable lists");
}

TEST_F(TileArrangementTest, AStoredListWithATileMakesBothStoredListsTheArrangement) {
    store.setBool(true, "LoginTypeStudent");
    // Every tile put aside: nothing shown is still an arrangement.
    store.setData(archiveTileList({}), "kStudentSelectItemUp");
    store.setData(archiveTileList(DefaultModuleTable::tiles()), "kStudentSelectItemDown");

    auto lists = arrangement().load();
    EXPECT_TRUE(lists.fromStore);
    EXPECT_TRUE(lists.shown.empty());
    EXPECT_EQ(methods(lists.hidden), methods(DefaultModuleTable::tiles()));

    // An unreadable list next to one with tiles reads as empty.
    store.setData(platform::toBytes("damaged"), "kStudentSelectItemDown");
    store.setData(archiveTileList(firstThree()), "kStudentSelectItemUp");
    lists = arrangement().load();
    EXPECT_TRUE(lists.fromStore);
    EXPECT_EQ(methods(lists.shown), methods(firstThree()));
    EXPECT_TRUE(lists.hidden.empty());
    const auto stored = arrangement().stored();
    EXPECT_EQ(methods(stored.shown), methods(firstThree()));
    EXPECT_FALSE(stored.hidden);
}

TEST_F(TileArrangementTest, AnArrangementIsWrittenOnlyUnderTheKeysOfTheSignedInKind) {
    struct Case {
        const char* situation;
        std::vector<const char*> typeKeys;
        const char* up;
        const char* down;
    };
    const std::vector<Case> cases = {
        {"teacher", {"LoginTypeTeacher"}, "kTeacherSelectItemUp", "kTeacherSelectItemDown"},
        {"both type keys",
         {"LoginTypeTeacher", "LoginTypeStudent"},
         "kTeacherSelectItemUp",
         "kTeacherSelectItemDown"},
        {"student", {"LoginTypeStudent"}, "kStudentSelectItemUp", "kStudentSelectItemDown"},
        {"neither kind", {}, "kTeacherSelectItemUp", "kTeacherSelectItemDown"},
    };
    const std::vector<const char*> allKeys = {"kTeacherSelectItemUp", "kTeacherSelectItemDown",
                                              "kStudentSelectItemUp", "kStudentSelectItemDown"};
    for (const auto& c : cases) {
        for (const char* key : allKeys) store.removeObjectForKey(key);
        store.removeObjectForKey("LoginTypeTeacher");
        store.removeObjectForKey("LoginTypeStudent");
        for (const char* key : c.typeKeys) store.setBool(true, key);

        arrangement().store(firstThree(), theRest());

        for (const char* key : allKeys) {
            const bool written = std::string(key) == c.up || std::string(key) == c.down;
            EXPECT_EQ(store.objectForKey(key).has_value(), written) << c.situation << ": " << key;
        }
        EXPECT_EQ(methods(storedTileList(store, c.up)), methods(firstThree())) << c.situation;
        EXPECT_EQ(methods(storedTileList(store, c.down)), methods(theRest())) << c.situation;
    }
}

TEST_F(TileArrangementTest, TheGridIsToldOnlyAfterTheArrangementIsWrittenAndSynchronised) {
    store.setBool(true, "LoginTypeTeacher");
    std::vector<std::string> shownAtPost;
    int posts = 0;
    center.addObserver("kRefreshLoginMenu", [&](const platform::Notification&) {
        ++posts;
        // What a restart would read, and what the grid reads.
        UserDefaults onDisk(store.file());
        shownAtPost = methods(storedTileList(onDisk, "kTeacherSelectItemUp"));
        EXPECT_EQ(methods(arrangement().load().shown), methods(firstThree()));
    });

    arrangement().store(firstThree(), theRest());

    EXPECT_EQ(posts, 1);
    EXPECT_EQ(shownAtPost, methods(firstThree()));
}

}  // namespace
