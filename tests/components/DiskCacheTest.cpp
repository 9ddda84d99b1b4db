#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "components/diskcache/DiskCache.h"
#include "platform/foundation/Files.h"
#include "tests/support/TempHome.h"

using components::DiskCache;
using std::chrono::system_clock;

namespace {

struct DiskCacheTest : ::testing::Test {
    testsupport::TempHome home;
    system_clock::time_point now{std::chrono::seconds(1'500'000'000)};
    DiskCache cache{home.path() / "cache", [this] { return now; }};
};

TEST_F(DiskCacheTest, EntriesLiveUntilTheirTimeOutAndThenReadAsAbsent) {
    cache.setDefaultTimeoutInterval(7 * 86400.0);
    ASSERT_TRUE(cache.setData("SHSBarEntity-subject", std::string("bytes\0with nul", 14)));
    ASSERT_TRUE(cache.setData("short-lived", "x", 10));

    now += std::chrono::seconds(9);
    EXPECT_EQ(cache.dataForKey("SHSBarEntity-subject"), std::string("bytes\0with nul", 14));
    EXPECT_TRUE(cache.hasCacheForKey("short-lived"));
    now += std::chrono::seconds(1);
    EXPECT_FALSE(cache.hasCacheForKey("short-lived"));

    now += std::chrono::hours(24 * 7);
    EXPECT_FALSE(cache.dataForKey("SHSBarEntity-subject"));
    // An expired entry is removed when met, so nothing of it stays on disk.
    EXPECT_TRUE(std::filesystem::is_empty(cache.directory()));
}

TEST_F(DiskCacheTest, KeysAreFreeTextAndNeverAnswerForEachOther) {
    ASSERT_TRUE(cache.setData("SHSFriendEntity-qzone-a/b", "one"));
    ASSERT_TRUE(cache.setData("SHSFriendEntity-qzone-a/b-at", "two"));
    ASSERT_TRUE(cache.setData("", "empty key"));
    EXPECT_EQ(cache.dataForKey("SHSFriendEntity-qzone-a/b"), "one");
    EXPECT_EQ(cache.dataForKey("SHSFriendEntity-qzone-a/b-at"), "two");
    EXPECT_EQ(cache.dataForKey(""), "empty key");
    EXPECT_FALSE(cache.dataForKey("SHSFriendEntity-qzone-a"));

    ASSERT_TRUE(cache.setData("SHSFriendEntity-qzone-a/b", "replaced"));
    EXPECT_EQ(cache.dataForKey("SHSFriendEntity-qzone-a/b"), "replaced");
    cache.removeCacheForKey("SHSFriendEntity-qzone-a/b");
    EXPECT_FALSE(cache.hasCacheForKey("SHSFriendEntity-qzone-a/b"));
    cache.clearCache();
    EXPECT_FALSE(cache.hasCacheForKey("SHSFriendEntity-qzone-a/b-at"));
}

TEST_F(DiskCacheTest, ADamagedEntryReadsAsAbsentAndIsReplaceable) {
    ASSERT_TRUE(cache.setData("appInfo", "good"));
    for (const auto& entry : std::filesystem::directory_iterator(cache.directory()))
        ASSERT_TRUE(platform::writeFileAtomically(entry.path(), "garbage without header"));
    EXPECT_FALSE(cache.dataForKey("appInfo"));
    ASSERT_TRUE(cache.setData("appInfo", "good again"));
    EXPECT_EQ(cache.dataForKey("appInfo"), "good again");
}

TEST_F(DiskCacheTest, WhatIsWrittenIsReadBackAndAnEntryTooLargeToKeepIsRefused) {
    // Larger than a plain stored file may be (an account archive of many accounts).
    const std::string large(platform::kMaxStoredFileSize + 1024, 'a');
    ASSERT_TRUE(cache.setData("SHSocialAccounts", large));
    EXPECT_EQ(cache.dataForKey("SHSocialAccounts"), large);

    const std::string tooLarge(DiskCache::kMaxEntryFileBytes, 'b');
    EXPECT_FALSE(cache.setData("SHSocialAccounts", tooLarge));
    EXPECT_EQ(cache.dataForKey("SHSocialAccounts"), large) << "the entry before it stays";
}

TEST_F(DiskCacheTest, AnEntryOutlivesTheCacheObject) {
    ASSERT_TRUE(cache.setData("uid", "u-1"));
    DiskCache reopened(cache.directory(), [this] { return now; });
    EXPECT_EQ(reopened.dataForKey("uid"), "u-1");
}

}  // namespace
