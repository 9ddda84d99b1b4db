// What the web container's photo upload costs: a 5 MB photo sent as the container sends it
// (body built by hand, platform::HttpClient's synchronous path, progress reported) to the fake
// services on loopback, beside a bare libcurl multipart POST of the same bytes. The services
// run in a forked child, so that the peak memory counted is the client's own.
// Run by hand: build/bench/upload. Targets: at least half the bare POST's speed; a peak memory
// rise under 3x the photo's size (printed before the timings).

#include <benchmark/benchmark.h>
#include <curl/curl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

#include "bench/ForkedServer.h"
#include "fakes/FakeSchoolServices.h"
#include "platform/foundation/RunLoop.h"
#include "webcontainer/WebUpload.h"

namespace {

constexpr const char* kUploadPath = "/vobels/services/fileUploadMportal";
constexpr std::size_t kPhotoBytes = 5 * 1000 * 1000;

std::string g_url;
std::string g_photo;

// JPEG markers around incompressible bytes: as large on the wire as a real 5 MB photo.
std::string photoBytes() {
    std::string photo(kPhotoBytes, '\0');
    std::mt19937 random(7);
    for (auto& byte : photo) byte = static_cast<char>(random() & 0xFF);
    photo[0] = '\xFF', photo[1] = '\xD8', photo[kPhotoBytes - 2] = '\xFF',
    photo[kPhotoBytes - 1] = '\xD9';
    return photo;
}

// The upload route answers as the school's does, but forgets each upload at once so that the
// child's memory stays flat however many iterations run.
void serve(const bench::ForkedServer::Announce& announce) {
    fakes::FakeSchoolServices services;
    services.setHandler("POST", kUploadPath, [&services](const fakes::RecordedRequest&) {
        services.clearRequests();
        return fakes::Reply{200, "application/json;charset=UTF-8",
                            R"({"res":"true","path":"/upload/mportal/1/123.jpg"})"};
    });
    announce(services.start(), 0);
    for (;;) pause();
}

bool containerUpload() {
    std::int64_t lastSent = 0;
    WebUploadOutcome outcome =
        sendWebUpload(g_url, WebUploadKind::Image, g_photo,
                      [&lastSent](std::int64_t sent, std::int64_t) { lastSent = sent; });
    return outcome.error.empty() && outcome.responseText.find("\"path\"") != std::string::npos &&
           lastSent > 0;
}

size_t discard(char*, size_t size, size_t count, void* reply) {
    static_cast<std::string*>(reply)->append(static_cast<size_t>(size * count), ' ');
    return size * count;
}

bool bareCurlUpload() {
    CURL* easy = curl_easy_init();
    curl_mime* mime = curl_mime_init(easy);
    curl_mimepart* part = curl_mime_addpart(mime);
    curl_mime_name(part, "file");
    curl_mime_filename(part, "123.jpg");
    curl_mime_type(part, "application/octet-stream");
    curl_mime_data(part, g_photo.data(), g_photo.size());
    std::string reply;
    // Without the wait for "100 Continue", as the client's own requests go.
    curl_slist* headers = curl_slist_append(nullptr, "Expect:");
    curl_easy_setopt(easy, CURLOPT_HTTPHEADER, headers);
    curl_easy_setopt(easy, CURLOPT_URL, g_url.c_str());
    curl_easy_setopt(easy, CURLOPT_MIMEPOST, mime);
    curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, &discard);
    curl_easy_setopt(easy, CURLOPT_WRITEDATA, &reply);
    CURLcode result = curl_easy_perform(easy);
    long status = 0;
    curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &status);
    curl_mime_free(mime);
    curl_slist_free_all(headers);
    curl_easy_cleanup(easy);
    return result == CURLE_OK && status == 200 && !reply.empty();
}

void BM_ContainerUpload(benchmark::State& state) {
    for (auto _ : state) {
        if (!containerUpload()) {
            state.SkipWithError("upload failed");
            return;
        }
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kPhotoBytes));
}
BENCHMARK(BM_ContainerUpload)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_BareCurlMultipartPost(benchmark::State& state) {
    for (auto _ : state) {
        if (!bareCurlUpload()) {
            state.SkipWithError("upload failed");
            return;
        }
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kPhotoBytes));
}
BENCHMARK(BM_BareCurlMultipartPost)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    // The child is forked before this process starts any thread.
    bench::ForkedServer server(serve);
    if (server.port() == 0)
        return 1;
    g_url = server.base() + kUploadPath;
    platform::RunLoop::main().bindToCurrentThread();
    curl_global_init(CURL_GLOBAL_DEFAULT);

    g_photo = photoBytes();
    // A first small upload sets up curl's and the client's process-wide state, which is not
    // the photo's cost.
    std::string photo = std::move(g_photo);
    g_photo = "warm-up";
    containerUpload();
    g_photo = std::move(photo);
    const long before = bench::peakResidentKb();
    const bool ok = containerUpload();
    const long after = bench::peakResidentKb();
    std::printf(
        "upload of %zu bytes %s; peak resident before %ld kB, after %ld kB, rise %ld kB "
        "= %.2fx the photo\n",
        kPhotoBytes, ok ? "answered" : "FAILED", before, after, after - before,
        static_cast<double>(after - before) * 1024.0 / static_cast<double>(kPhotoBytes));

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return ok ? 0 : 1;
}
