#include <gtest/gtest.h>

#include "SocialSDK/base/SHSActionType.h"
#include "SocialSDK/service/SHSCacheManager.h"
#include "SocialSDK/service/SHSDataManager.h"
#include "SocialSDK/service/SHSDataManagerSet.h"
#include "SocialSDK/service/SHSUserManager.h"
#include "SocialSDK/service/SHSocialOpAnalytics.h"
#include "platform/foundation/Files.h"
#include "platform/foundation/Paths.h"
#include "platform/foundation/PropertyList.h"
#include "platform/foundation/UserDefaults.h"
#include "tests/socialsdk/ShareSdkTestSupport.h"

using platform::Json;
namespace fs = std::filesystem;

namespace sharetest {
namespace {

using CachesTest = ShareSdkTest;

TEST_F(CachesTest, TheSixthCountedOperationHandsTheCountsOverAndStartsAfresh) {
    startShareService();
    for (int i = 0; i < 3; ++i) SHSocialOpAnalytics::postSocialAnalytics("2");
    SHSocialOpAnalytics::postSocialAnalyticsSnsName("3", "qzone");
    SHSocialOpAnalytics::postSocialAnalyticsFromSourceOpType("7", "4", "qzone");
    auto& defaults = platform::UserDefaults::standard();
    EXPECT_EQ(defaults.integerForKey("SHSocialOpCount"), 5);
    EXPECT_TRUE(services->requests().empty());

    SHSocialOpAnalytics::postSocialAnalytics("9");
    EXPECT_EQ(defaults.integerForKey("SHSocialOpCount"), 0);
    EXPECT_EQ(defaults.dictionaryForKey("SHSocialOpDictioanry"), Json::object());
    EXPECT_EQ(SHSocialOpAnalytics::shareInstance().count(), 0);

    ASSERT_TRUE(waitForShareRequests(1));
    const auto handed = services->shareRequests().at(0);
    EXPECT_EQ(handed.action, 18);
    EXPECT_EQ(handed.path, "/app/oper/lanxi-demo-appkey/");
    EXPECT_FALSE(handed.body.contains("mac"));  // counters carry no device fields
    ASSERT_TRUE(handed.body.contains("param"));
    EXPECT_EQ(Json::parse(handed.body.at("param").get<std::string>()),
              (Json{{"2", "3"}, {"3-10", "1"}, {"4+7-10", "1"}, {"9", "1"}}));
}

TEST_F(CachesTest, CounterKeysJoinSourceOperationAndPlatformType) {
    auto& analytics = SHSocialOpAnalytics::shareInstance();
    SHSocialOpAnalytics::postSocialAnalyticsFromSourceOpType("7", "4", "qzone");
    SHSocialOpAnalytics::postSocialAnalyticsFromSourceOpType("7", "4", "qzone");
    SHSocialOpAnalytics::postSocialAnalyticsFromSourceOpType("9", "7");
    SHSocialOpAnalytics::postSocialAnalyticsSnsName("3", "wxsession");
    EXPECT_EQ(analytics.opDictionary(), (Json{{"4+7-10", "2"}, {"7+9", "1"}, {"3-0", "1"}}));
}

TEST_F(CachesTest, StoredCountsSurviveARestartWithoutTheirCountKey) {
    auto& defaults = platform::UserDefaults::standard();
    defaults.setObject(Json{{"count", "4"}, {"2", "1"}}, "SHSocialOpDictioanry");
    defaults.setInteger(1, "SHSocialOpCount");
    SHSocialOpAnalytics::resetSharedInstance();
    EXPECT_EQ(SHSocialOpAnalytics::shareInstance().opDictionary(), (Json{{"2", "1"}}));
    EXPECT_EQ(SHSocialOpAnalytics::shareInstance().count(), 1);
}

TEST_F(CachesTest, BarEntityArchiveKeepsCountersAndKeysOnly) {
    SHSBarEntity bar;
    bar.likeCount = 5;
    bar.commentCount = 2;
    bar.shareCount = 4;
    bar.viewCount = 37;
    bar.isLike = true;
    bar.entityKey = "ek-31f0";
    bar.sessionId = "sid-3";
    bar.shareText = "不存档";
    const auto restored = SHSBarEntity::fromArchive(bar.toArchive());
    ASSERT_TRUE(restored);
    EXPECT_EQ(restored->likeCount, 5);
    EXPECT_EQ(restored->commentCount, 2);
    EXPECT_EQ(restored->shareCount, 4);
    EXPECT_TRUE(restored->isLike);
    EXPECT_EQ(restored->entityKey, "ek-31f0");
    EXPECT_EQ(restored->sessionId, "sid-3");
    EXPECT_EQ(restored->viewCount, 0);
    EXPECT_FALSE(restored->shareText);
    EXPECT_FALSE(SHSBarEntity::fromArchive(Json::array()));
}

TEST_F(CachesTest, TheFirstStoredBarEntityIsKeptAndOutlivesARestart) {
    auto subject = SHSDataManager::getDataManager("SHSocialDefault");
    if (!subject)
        subject = SHSDataManager::currentDataManager();
    auto bar = std::make_shared<SHSBarEntity>();
    bar->entityKey = "ek-first";
    bar->likeCount = 3;
    subject->setBarEntity(bar);
    EXPECT_EQ(subject->barEntity(), bar);
    EXPECT_TRUE(SHSCacheManager::shareInstance().hasCacheForKey("SHSBarEntity-SHSocialDefault"));

    resetShareSdk();
    const auto reloaded = SHSDataManager::currentDataManager()->barEntity();
    EXPECT_EQ(reloaded->entityKey, "ek-first");
    EXPECT_EQ(reloaded->likeCount, 3);

    // Each subject has its own entry.
    SHSDataManagerSet::shareInstance().setDataManagerWithHash(std::string("news-42"));
    EXPECT_FALSE(SHSDataManager::currentDataManager()->barEntity()->entityKey);
}

TEST_F(CachesTest, CacheEntriesExpireAfterSevenDays) {
    auto bar = std::make_shared<SHSBarEntity>();
    bar->entityKey = "ek-week";
    SHSDataManager::currentDataManager()->setBarEntity(bar);
    now += std::chrono::hours(24 * 7) - std::chrono::seconds(1);
    EXPECT_TRUE(SHSCacheManager::shareInstance().hasCacheForKey("SHSBarEntity-SHSocialDefault"));
    now += std::chrono::seconds(1);
    EXPECT_FALSE(SHSCacheManager::shareInstance().hasCacheForKey("SHSBarEntity-SHSocialDefault"));
}

TEST_F(CachesTest, LegacyDocumentPlistsAreMergedOnceAndRemoved) {
    const auto documents = platform::paths::documentsDirectory();
    const auto library = SHSCacheManager::libraryPlistPath();
    ASSERT_TRUE(platform::writePropertyList(library, Json{{"appkey", "current-key"}}));
    ASSERT_TRUE(platform::writePropertyList(documents / ".SHSocialData.plist",
                                            Json{{"appkey", "legacy-key"}, {"userName", "旧名"}}));
    ASSERT_TRUE(platform::writePropertyList(documents / "SHSocialData.plist",
                                            Json{{"uid-current-key", "lanxi-u-3"}}));
    resetShareSdk();
    SHSCacheManager::shareInstance();

    EXPECT_EQ(
        platform::readPropertyList(library),
        (Json{{"appkey", "current-key"}, {"userName", "旧名"}, {"uid-current-key", "lanxi-u-3"}}));
    EXPECT_FALSE(fs::exists(documents / ".SHSocialData.plist"));
    EXPECT_FALSE(fs::exists(documents / "SHSocialData.plist"));
    EXPECT_EQ(SHSUserManager::shareInstance().userName(), "旧名");
    setAppKey("current-key");
    EXPECT_EQ(SHSUserManager::shareInstance().uid(), "lanxi-u-3");

    // A damaged legacy file is kept where it is and merges nothing.
    ASSERT_TRUE(platform::writeFileAtomically(documents / ".SHSocialData.plist", "<plist><dict>"));
    resetShareSdk();
    SHSCacheManager::shareInstance();
    EXPECT_TRUE(fs::exists(documents / ".SHSocialData.plist"));
    EXPECT_EQ(SHSCacheManager::shareInstance().getValueFromDocument("userName"), "旧名");
}

}  // namespace
}  // namespace sharetest
