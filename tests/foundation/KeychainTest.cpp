#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "platform/foundation/Files.h"
#include "platform/foundation/Keychain.h"
#include "platform/foundation/Log.h"
#include "tests/support/TempHome.h"

using namespace platform;
namespace fs = std::filesystem;

namespace {

constexpr auto kOwnerOnly = fs::perms::owner_read | fs::perms::owner_write;

class KeychainTest : public ::testing::Test {
protected:
    void TearDown() override { setLogSink(nullptr); }
    fs::path keychainFile() const { return m_home.path() / "Library" / "keychain.plist"; }
    fs::perms mode() const { return fs::status(keychainFile()).permissions() & fs::perms::all; }

    testsupport::TempHome m_home;
};

TEST_F(KeychainTest, StoredPasswordIsReadBackFromAnOwnerOnlyFile) {
    mode_t old = umask(0);  // even a permissive umask must not expose the keychain
    bool stored = Keychain::storePassword("UUID", "0F3A-11", "com.china.TestKeyChain", true);
    umask(old);
    ASSERT_TRUE(stored);
    EXPECT_EQ(Keychain::password("UUID", "com.china.TestKeyChain"), "0F3A-11");
    EXPECT_EQ(mode(), kOwnerOnly);
}

TEST_F(KeychainTest, FileIsMadePrivateAgainIfItsModeWasLoosened) {
    ASSERT_TRUE(Keychain::storePassword("UUID", "a", "svc", true));
    fs::permissions(keychainFile(),
                    fs::perms::owner_all | fs::perms::group_read | fs::perms::others_read);
    EXPECT_EQ(Keychain::password("UUID", "svc"), "a");
    EXPECT_EQ(mode(), kOwnerOnly);
}

TEST_F(KeychainTest, ExistingItemIsReplacedOnlyWithUpdateExisting) {
    ASSERT_TRUE(Keychain::storePassword("UUID", "first", "svc", false));
    std::string error;
    EXPECT_FALSE(Keychain::storePassword("UUID", "second", "svc", false, &error));
    EXPECT_EQ(error, "item already exists");
    EXPECT_EQ(Keychain::password("UUID", "svc"), "first");

    EXPECT_TRUE(Keychain::storePassword("UUID", "third", "svc", true, &error));
    EXPECT_EQ(Keychain::password("UUID", "svc"), "third");
    EXPECT_EQ(mode(), kOwnerOnly);
}

TEST_F(KeychainTest, ItemsAreKeptApartAndADeletedOneIsGoneWhileOthersStay) {
    std::string error;
    EXPECT_FALSE(Keychain::password("UUID", "svc", &error));
    EXPECT_EQ(error, "item not found");
    EXPECT_FALSE(Keychain::password("", "svc", &error));
    EXPECT_FALSE(error.empty());
    ASSERT_TRUE(Keychain::storePassword("UUID", "one", "svc", true));
    ASSERT_TRUE(Keychain::storePassword("UUID", "two", "svcB", true));
    ASSERT_TRUE(Keychain::storePassword("keep", "three", "svc", true));
    EXPECT_EQ(Keychain::password("UUID", "svcB"), "two");
    EXPECT_EQ(Keychain::password("keep", "svc"), "three");

    EXPECT_TRUE(Keychain::deleteItem("UUID", "svc", &error));
    EXPECT_FALSE(Keychain::password("UUID", "svc", &error));
    EXPECT_EQ(error, "item not found");
    EXPECT_EQ(Keychain::password("keep", "svc"), "three");
    EXPECT_EQ(Keychain::password("UUID", "svcB"), "two");
    EXPECT_FALSE(Keychain::deleteItem("UUID", "svc", &error));
    EXPECT_EQ(error, "item not found");
    // After deletion the item can be created again without update-existing.
    EXPECT_TRUE(Keychain::storePassword("UUID", "new", "svc", false));
    EXPECT_EQ(Keychain::password("UUID", "svc"), "new");
}

TEST_F(KeychainTest, DamagedKeychainIsMovedAsideNotDeleted) {
    ASSERT_TRUE(writeFileAtomically(keychainFile(), "<plist><dict><key>", kOwnerOnly));
    setLogSink([](const std::string&) {});
    std::string error;
    EXPECT_FALSE(Keychain::password("UUID", "svc", &error));
    EXPECT_EQ(error, "item not found");
    EXPECT_TRUE(Keychain::storePassword("UUID", "fresh", "svc", false));
    EXPECT_EQ(Keychain::password("UUID", "svc"), "fresh");
    int aside = 0;
    for (const auto& entry : fs::directory_iterator(keychainFile().parent_path()))
        if (entry.path().filename().string().starts_with("keychain.plist.damaged-")) {
            ++aside;
            EXPECT_EQ(readFile(entry.path()), "<plist><dict><key>");
        }
    EXPECT_EQ(aside, 1);
}

}  // namespace
