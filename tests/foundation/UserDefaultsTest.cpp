#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <future>
#include <thread>
#include <vector>

#include "platform/foundation/Files.h"
#include "platform/foundation/JsonParse.h"
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

TEST_F(UserDefaultsTest, AnyRefusedFileIsMovedAsideAndStartUpNeverBlocks) {
    std::vector<std::string> logged;
    setLogSink([&](const std::string& line) { logged.push_back(line); });
    fs::create_directories(defaultsFile().parent_path());
    // Each file in place of the store, with what the log line names as the reason.
    std::string deep = "<plist><dict><key>k</key>";
    for (int i = 0; i < 30000; ++i) deep += "<array>";
    for (int i = 0; i < 30000; ++i) deep += "</array>";
    deep += "</dict></plist>";
    const std::vector<std::pair<std::function<void()>, std::string>> refused = {
        {[&] { ASSERT_TRUE(writeFileAtomically(defaultsFile(), deep)); }, "nested deeper"},
        {[&] { ASSERT_EQ(::mkfifo(defaultsFile().c_str(), 0600), 0); }, "not a regular file"},
        {[&] { fs::create_symlink("/dev/zero", defaultsFile()); }, "not a regular file"},
        {[&] {
             ASSERT_TRUE(writeFileAtomically(defaultsFile(), "<plist><dict/></plist>"));
             fs::resize_file(defaultsFile(), kMaxStoredFileSize + 1);
         },
         "larger than"},
    };
    size_t expectedCopies = 0;
    for (const auto& [place, reason] : refused) {
        place();
        logged.clear();
        UserDefaults::resetStandard();
        // On another thread, so a store that waits on its file fails here instead of hanging.
        auto loading = std::async(
            std::launch::async, [] { return UserDefaults::standard().dictionaryRepresentation(); });
        if (loading.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
            ADD_FAILURE() << "loading the store blocked on a file that is " << reason;
            if (int fd = ::open(defaultsFile().c_str(), O_WRONLY | O_NONBLOCK); fd >= 0)
                ::close(fd);
        }
        EXPECT_TRUE(loading.get().empty()) << reason;
        EXPECT_EQ(damagedCopies().size(), ++expectedCopies) << reason;
        EXPECT_FALSE(fs::exists(fs::symlink_status(defaultsFile()))) << reason;
        ASSERT_EQ(logged.size(), 1u) << reason;
        EXPECT_NE(logged[0].find("moved to"), std::string::npos) << logged[0];
        EXPECT_NE(logged[0].find(reason), std::string::npos) << logged[0];
    }
    // The store is usable after: what it writes replaces nothing that was kept.
    UserDefaults::standard().setBool(true, "isLogin");
    ASSERT_TRUE(UserDefaults::standard().synchronize());
    EXPECT_EQ(damagedCopies().size(), refused.size());

    // A value that would make the stored file too deep to read back is not stored.
    Json deepValue = Json::array();
    for (int i = 1; i < kMaxNestingDepth; ++i) deepValue = Json::array({std::move(deepValue)});
    UserDefaults::standard().setObject(deepValue, "deep");
    EXPECT_FALSE(UserDefaults::standard().objectForKey("deep"));
}

TEST_F(UserDefaultsTest, ADamagedFileThatCannotBeMovedAsideIsNeverWrittenOver) {
    const std::string damaged = "<plist><dict><key>UserInfo</key>";
    ASSERT_TRUE(writeFileAtomically(defaultsFile(), damaged));
    std::vector<fs::path> asked;
    UserDefaults defaults(defaultsFile(), [&](const fs::path& file) -> std::optional<fs::path> {
        asked.push_back(file);
        return std::nullopt;
    });
    EXPECT_EQ(asked, std::vector<fs::path>{defaultsFile()});
    defaults.setString("new", "UserId");
    EXPECT_FALSE(defaults.synchronize());
    EXPECT_EQ(readFile(defaultsFile()), damaged);
    EXPECT_EQ(defaults.stringForKey("UserId"), "new") << "the store in memory is kept";
}

TEST_F(UserDefaultsTest, TheStoredFileIsPrivateAndALooseOneIsTightenedOnStart) {
    UserDefaults::standard().setString("张三", "userName");
    ASSERT_TRUE(UserDefaults::standard().synchronize());
    EXPECT_EQ(fs::status(defaultsFile()).permissions() & fs::perms::all, kOwnerOnlyFile);

    const auto loose = kOwnerOnlyFile | fs::perms::group_read | fs::perms::others_read;
    fs::permissions(defaultsFile(), loose);
    fs::permissions(m_home.path(), fs::perms::owner_all | fs::perms::others_read);
    UserDefaults::resetStandard();
    EXPECT_EQ(UserDefaults::standard().stringForKey("userName"), "张三");
    EXPECT_EQ(fs::status(defaultsFile()).permissions() & fs::perms::all, kOwnerOnlyFile);
    EXPECT_EQ(fs::status(m_home.path()).permissions() & fs::perms::all, fs::perms::owner_all);
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
