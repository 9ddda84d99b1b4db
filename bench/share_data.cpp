// The share SDK with a large account: a friend list of 100,000 arriving from the share service,
// decoded, stored, grouped and shown by the friend picker (target under 1 s), and an account
// archive of 200,000 entries read as a launch reads it. Both grew with the square of their
// size while a document's members were searched on every insert.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "SocialSDK/base/SHSActionType.h"
#include "SocialSDK/screens/SHSocialFriendViewController.h"
#include "SocialSDK/service/SHSCacheManager.h"
#include "SocialSDK/service/SHSUserManager.h"
#include "SocialSDK/service/SHSocialAccountEntity.h"
#include "SocialSDK/service/SHSocialAccountManager.h"
#include "SocialSDK/service/SHSocialControllerService.h"
#include "SocialSDK/service/SHSocialJob.h"
#include "platform/foundation/KeyedArchive.h"
#include "platform/testing/UiTestScope.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/TableView.h"
#include "platform/ui/Window.h"

namespace {

// Each benchmark keeps its stores in a home of its own.
void useHome(const char* name) {
    const auto home = std::filesystem::temp_directory_path() / name;
    std::filesystem::remove_all(home);
    std::filesystem::create_directories(home);
    ::setenv("CAMPUS_HOME", home.c_str(), 1);
    SHSCacheManager::resetSharedInstance();
    SHSUserManager::resetSharedInstance();
}

// The share service's friends reply: "data" maps each usid to the friend's fields. Written as
// text, so making it costs nothing of what is measured.
std::string friendsReply(int count) {
    std::string text = "{\"st\":200,\"msg\":\"ok\",\"data\":{";
    for (int i = 0; i < count; ++i) {
        const std::string n = std::to_string(i);
        if (i)
            text += ',';
        text += "\"fr" + n + "\":{\"link_name\":\"tongxue" + n + "\",\"name\":\"同学" + n +
                "\",\"profile_image_url\":\"http://img.lanxi.test/avatar/" + n +
                ".png\",\"pinyin\":\"" + char('a' + i % 26) + "tongxue" + n + "\"}";
    }
    return text + "}}";
}

void BM_FriendPicker100kFriends(benchmark::State& state) {
    useHome("campus-share-data-friends");
    platform::testing::UiTestScope scope;
    auto account = std::make_shared<SHSocialAccountEntity>("tencent");
    account->usid = "bench-tencent";
    account->accessToken = "bench-token";
    SHSocialAccountManager::setSnsAccount(account);
    auto service = SHSocialControllerService::defaultControllerService();
    service->currentSnsPlatformName = "tencent";
    auto base = std::make_shared<platform::ViewController>();
    auto navigation = std::make_shared<platform::NavigationController>(base);
    auto window = platform::View::make<platform::Window>();
    window->setRootViewController(navigation);
    window->makeKeyAndVisible();
    const std::string reply = friendsReply(int(state.range(0)));
    std::size_t shown = 0;
    for (auto _ : state) {
        // The reply as the job hands it on: decoded, the friends stored for the account.
        auto job = std::make_shared<SHSocialJob>();
        job->actionType = SHSActionTypeGetFriends;
        job->isEncry = false;
        job->paramDic.values["displayName"] = "tencent";
        job->handleSuccessJson(reply);
        // The picker shows them: grouped under the index, the first screenful of rows laid out.
        auto picker = std::dynamic_pointer_cast<SHSocialFriendViewController>(
            service->getSocialViewController(SHSViewControllerFriend));
        navigation->pushViewController(picker, false);
        window->layoutIfNeeded();
        shown = 0;
        for (const auto& section : picker->sections().sections()) shown += section.friends.size();
        navigation->popViewController(false);
    }
    if (shown != std::size_t(state.range(0)))
        state.SkipWithError("the picker does not show every friend");
    state.counters["replyBytes"] = double(reply.size());
}
BENCHMARK(BM_FriendPicker100kFriends)->Arg(100000)->Unit(benchmark::kMillisecond);

// The archive as the user manager stores it and reads it back at launch: the account records
// unarchived and made into accounts. (An archive this large is past what the disk cache reads
// back, so the bytes are read here from memory.)
void BM_AccountArchiveLoad200kEntries(benchmark::State& state) {
    platform::Bytes stored;
    {
        SHSUserManager::AccountDictionary accounts;
        for (int i = 0; i < state.range(0); ++i) {
            const std::string n = std::to_string(i);
            auto account = std::make_shared<SHSocialAccountEntity>("p" + n);
            account->usid = "u" + n;
            accounts["p" + n] = std::move(account);
        }
        stored = platform::archiveRootObject(SHSUserManager::archiveOfAccounts(accounts));
    }
    std::size_t loaded = 0;
    for (auto _ : state) {
        const auto archive = platform::unarchiveObject(stored);
        loaded = archive ? SHSUserManager::accountsFromArchive(*archive).size() : 0;
    }
    if (loaded != std::size_t(state.range(0)))
        state.SkipWithError("the archive did not load every account");
    state.counters["archiveBytes"] = double(stored.size());
}
BENCHMARK(BM_AccountArchiveLoad200kEntries)->Arg(200000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
