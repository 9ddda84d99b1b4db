// The share SDK's envelope and one request job. Sealing (zero padding, AES-128-CBC, Base64)
// and opening a 1 MB body; and one share job round trip to the fake share service on loopback
// (the job built, sealed, posted through the project's HTTP client, the reply opened and read)
// beside a bare libcurl POST of the same sealed body to the same address.
#include <benchmark/benchmark.h>
#include <curl/curl.h>

#include <cstdlib>
#include <filesystem>

#include "SocialSDK/service/SHSDataManager.h"
#include "SocialSDK/service/SHSDataManagerSet.h"
#include "SocialSDK/service/SHSocialCryptor.h"
#include "fakes/FakeSchoolServices.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/PropertyList.h"
#include "platform/foundation/RunLoop.h"

namespace {

constexpr const char* kAppKey = "lanxi-bench-appkey";

fakes::FakeSchoolServices& server() {
    static fakes::FakeSchoolServices* instance = [] {
        auto home = std::filesystem::temp_directory_path() / "campus-share-bench";
        std::filesystem::create_directories(home);
        ::setenv("CAMPUS_HOME", home.c_str(), 1);
        auto* s = new fakes::FakeSchoolServices();
        s->start();
        const auto overlay = home / "bundle-overlay";
        platform::writePropertyList(overlay / "SocialSDK-config.plist",
                                    platform::Json{{"baseURL", s->shareServiceBase()}});
        platform::Bundle::main().setOverlayDirectory(overlay);
        SHSDataManagerSet::shareInstance().setAppkey(std::string(kAppKey));
        SHSocialCryptor::updateAESKey(kAppKey);
        return s;
    }();
    return *instance;
}

std::string megabyteBody() {
    std::string body = "{\"ct\":\"";
    while (body.size() < (1 << 20) - 2) body += "校园分享 campus share text 0123456789 ";
    body.resize((1 << 20) - 2);
    return body + "\"}";
}

void BM_SealAndOpenOneMegabyte(benchmark::State& state) {
    const SHSocialCryptor cryptor(kAppKey);
    const std::string body = megabyteBody();
    for (auto _ : state) {
        auto sealed = cryptor.encrypt(body);
        auto opened = cryptor.decrypt(*sealed);
        if (!opened || opened->size() < body.size())
            state.SkipWithError("envelope round trip failed");
        benchmark::DoNotOptimize(opened);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(body.size()));
}
BENCHMARK(BM_SealAndOpenOneMegabyte)->Unit(benchmark::kMillisecond);

const platform::Json kCounters{{"2", "3"}, {"3-10", "1"}, {"4+7-10", "1"}, {"9", "1"}};

void BM_ShareJobRoundTrip(benchmark::State& state) {
    server();
    platform::RunLoop::main().bindToCurrentThread();
    const auto manager = SHSDataManager::currentDataManager();
    for (auto _ : state) {
        std::shared_ptr<SHSocialResponseEntity> reply;
        manager->postOpAnalyticsWithDictionary(
            kCounters, [&reply](std::shared_ptr<SHSocialResponseEntity> r) { reply = r; });
        platform::RunLoop::main().runUntil([&] { return reply != nullptr; },
                                           std::chrono::seconds(10));
        if (!reply || reply->responseCode != 200)
            state.SkipWithError("share job failed");
        state.PauseTiming();
        server().clearRequests();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ShareJobRoundTrip)->UseRealTime()->Unit(benchmark::kMicrosecond);

size_t collect(char* data, size_t size, size_t count, void* out) {
    static_cast<std::string*>(out)->append(data, size * count);
    return size * count;
}

void BM_BareCurlPostOfTheSameSealedBody(benchmark::State& state) {
    server();
    // One job's request as it went on the wire, posted again as it stands.
    const auto manager = SHSDataManager::currentDataManager();
    std::shared_ptr<SHSocialResponseEntity> reply;
    manager->postOpAnalyticsWithDictionary(
        kCounters, [&reply](std::shared_ptr<SHSocialResponseEntity> r) { reply = r; });
    platform::RunLoop::main().runUntil([&] { return reply != nullptr; }, std::chrono::seconds(10));
    const auto sent = server().requests();
    if (sent.empty()) {
        state.SkipWithError("no request recorded");
        return;
    }
    const std::string url = server().baseUrl() + sent.back().target;
    const std::string body = sent.back().body;
    for (auto _ : state) {
        CURL* curl = curl_easy_init();
        std::string answer;
        curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
        curl_easy_setopt(curl, CURLOPT_POSTFIELDS, body.c_str());
        curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE, static_cast<long>(body.size()));
        curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, collect);
        curl_easy_setopt(curl, CURLOPT_WRITEDATA, &answer);
        if (curl_easy_perform(curl) != CURLE_OK || answer.empty())
            state.SkipWithError("bare POST failed");
        curl_easy_cleanup(curl);
        state.PauseTiming();
        server().clearRequests();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_BareCurlPostOfTheSameSealedBody)->UseRealTime()->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
