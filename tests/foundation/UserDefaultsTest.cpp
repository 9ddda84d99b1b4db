#include <gtest/gtest.h>

#include <filesystem>
#include <thread>
#include <vector>

#include "platform/foundation/Files.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/PropertyList.h"
#include "platform/foundation/UserDefaults.h"
#include "tests/support/TempHome.h"

using namespace platform;
namespace fs = std::filesystem;

namespace {

class UserDefaultsTest : public ::testing::Test {
protected:
    void SetUp() override { UserDefaults::resetStandard(); }
    void TearDown() override {
        UserDefaults::resetStandard();
        setLogSink(nullptr);
    }
    fs::path defaultsFile() const {
        return m_home.path() / "Library" / "Preferences" / "defaults.plist";
    }
    std::vector<fs::path> damagedCopies() const {
        std::vector<fs::path> found;
        for (const auto& entry : fs::directory_iterator(defaultsFile().parent_path()))
            if (entry.path().filename().string().starts_with("defaults.plist.damaged-"))
                found.push_back(entry.path());
        return found;
    }

    testsupport::TempHome m_home;
};

TEST_F(UserDefaultsTest, EveryValueTypeSurvivesARestart) {
    auto& defaults = UserDefaults::standard();
    defaults.setBool(true, "isLogin");
    defaults.setString("20150101", "UserId");
    defaults.setInteger(-42, "count");
    defaults.setDouble(2.5, "ratio");
    defaults.setObject(Json{{"userName", "张三"}, {"email", ""}}, "UserInfo");
    defaults.setObject(Json::array({"a", 1, true}), "list");
    defaults.setData(toBytes(std::string("\x00\x01\xfe\xff", 4)), "kTeacherSelectItemUp");
    ASSERT_TRUE(defaults.synchronize());

    UserDefaults::resetStandard();
    auto& reloaded = UserDefaults::standard();
    EXPECT_TRUE(reloaded.boolForKey("isLogin"));
    EXPECT_EQ(reloaded.stringForKey("UserId"), "20150101");
    EXPECT_EQ(reloaded.integerForKey("count"), -42);
    EXPECT_DOUBLE_EQ(reloaded.doubleForKey("ratio"), 2.5);
    EXPECT_EQ(reloaded.dictionaryForKey("UserInfo"), (Json{{"userName", "张三"}, {"email", ""}}));
    EXPECT_EQ(reloaded.arrayForKey("list"), Json::array({"a", 1, true}));
    EXPECT_EQ(reloaded.dataForKey("kTeacherSelectItemUp"),
              toBytes(std::string("\x00\x01\xfe\xff", 4)));
    EXPECT_TRUE(fs::exists(defaultsFile()));
}

TEST_F(UserDefaultsTest, RemovalsAndChangesPersistOnlyAfterSynchronize) {
    auto& defaults = UserDefaults::standard();
    defaults.setBool(true, "isLogin");
    defaults.setString("u1", "UserId");
    defaults.setString("2.0.4", "appCurVersion");
    ASSERT_TRUE(defaults.synchronize());

    defaults.removeObjectForKey("isLogin");
    defaults.setObject(nullptr, "UserId");  // storing nothing removes, as on the phone
    ASSERT_TRUE(defaults.synchronize());
    defaults.setString("lost", "unsynchronized");  // only synchronized changes survive

    UserDefaults::resetStandard();
    auto& reloaded = UserDefaults::standard();
    EXPECT_FALSE(reloaded.objectForKey("isLogin"));
    EXPECT_FALSE(reloaded.boolForKey("isLogin"));
    EXPECT_FALSE(reloaded.stringForKey("UserId"));
    EXPECT_EQ(reloaded.stringForKey("appCurVersion"), "2.0.4");
    EXPECT_EQ(reloaded.dictionaryRepresentation(), (Json{{"appCurVersion", "2.0.4"}}));
}

TEST_F(UserDefaultsTest, DamagedFileIsMovedAsideAndTheStoreStartsEmpty) {
    const std::string damaged = "<plist><dict><key>isLogin</key><true/>";  // cut short
    ASSERT_TRUE(writeFileAtomically(defaultsFile(), damaged));
    std::vector<std::string> logged;
    setLogSink([&](const std::string& line) { logged.push_back(line); });

    auto& defaults = UserDefaults::standard();
    EXPECT_FALSE(defaults.boolForKey("isLogin"));
    EXPECT_TRUE(defaults.dictionaryRepresentation().empty());
    auto copies = damagedCopies();
    ASSERT_EQ(copies.size(), 1u);
    EXPECT_EQ(readFile(copies[0]), damaged);
    ASSERT_FALSE(logged.empty());
    EXPECT_NE(logged[0].find("damaged"), std::string::npos);

    defaults.setBool(true, "firstLaunch");
    ASSERT_TRUE(defaults.synchronize());
    UserDefaults::resetStandard();
    EXPECT_TRUE(UserDefaults::standard().boolForKey("firstLaunch"));
    EXPECT_EQ(readFile(damagedCopies()[0]), damaged);

    // A file holding something other than a dictionary counts as damaged too.
    ASSERT_TRUE(writePropertyList(defaultsFile(), Json::array({1, 2})));
    UserDefaults::resetStandard();
    EXPECT_TRUE(UserDefaults::standard().dictionaryRepresentation().empty());
    EXPECT_EQ(damagedCopies().size(), 2u);
}

TEST_F(UserDefaultsTest, ValuesReadTheWayThePhoneReadsThem) {
    auto& d = UserDefaults::standard();
    d.setString("YES", "yes");
    d.setString("true", "true");
    d.setString(" 007", "paddedSeven");
    d.setString("NO", "no");
    d.setString("42abc", "leadingNumber");
    d.setString("3.75", "text");
    d.setInteger(3, "three");
    d.setDouble(0.0, "zeroDouble");
    d.setDouble(1.5, "oneAndHalf");
    d.setBool(true, "flag");
    d.setObject(Json{{"a", 1}}, "dict");

    EXPECT_TRUE(d.boolForKey("yes"));
    EXPECT_TRUE(d.boolForKey("true"));
    EXPECT_TRUE(d.boolForKey("paddedSeven"));
    EXPECT_FALSE(d.boolForKey("no"));
    EXPECT_TRUE(d.boolForKey("three"));
    EXPECT_FALSE(d.boolForKey("zeroDouble"));
    EXPECT_FALSE(d.boolForKey("missing"));
    EXPECT_FALSE(d.boolForKey("dict"));

    EXPECT_EQ(d.integerForKey("leadingNumber"), 42);
    EXPECT_EQ(d.integerForKey("oneAndHalf"), 1);
    EXPECT_EQ(d.integerForKey("flag"), 1);
    EXPECT_EQ(d.integerForKey("no"), 0);
    EXPECT_DOUBLE_EQ(d.doubleForKey("text"), 3.75);
    EXPECT_DOUBLE_EQ(d.doubleForKey("three"), 3.0);

    EXPECT_EQ(d.stringForKey("three"), "3");
    EXPECT_EQ(d.stringForKey("oneAndHalf"), "1.5");
    EXPECT_EQ(d.stringForKey("flag"), "1");
    EXPECT_FALSE(d.stringForKey("dict"));
    EXPECT_FALSE(d.dictionaryForKey("yes"));
    EXPECT_FALSE(d.arrayForKey("dict"));
    EXPECT_FALSE(d.dataForKey("yes"));
}

TEST_F(UserDefaultsTest, StandardStoreFollowsTheDataDirectory) {
    UserDefaults::standard().setString("first home", "where");
    ASSERT_TRUE(UserDefaults::standard().synchronize());
    {
        testsupport::TempHome other;
        EXPECT_FALSE(UserDefaults::standard().objectForKey("where"));
        EXPECT_EQ(UserDefaults::standard().file(),
                  other.path() / "Library" / "Preferences" / "defaults.plist");
    }
    setenv("CAMPUS_HOME", m_home.path().c_str(), 1);
    EXPECT_EQ(UserDefaults::standard().stringForKey("where"), "first home");
}

TEST_F(UserDefaultsTest, ConcurrentWritersLoseNothing) {
    auto& defaults = UserDefaults::standard();
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&defaults, t] {
            for (int i = 0; i < 200; ++i) {
                // Appended: "literal" + string trips GCC 12's false -Wrestrict.
                std::string key = "k";
                key.append(std::to_string(t)).append("-").append(std::to_string(i));
                defaults.setInteger(i, key);
                if (i % 50 == 0)
                    defaults.synchronize();
            }
        });
    }
    for (auto& thread : threads) thread.join();
    ASSERT_TRUE(defaults.synchronize());
    UserDefaults::resetStandard();
    EXPECT_EQ(UserDefaults::standard().dictionaryRepresentation().size(), 800u);
    EXPECT_EQ(UserDefaults::standard().integerForKey("k3-199"), 199);
}

}  // namespace
