// Memory and time of hostile pictures, small on the wire and huge to decode, on the screens
// that show pictures from elsewhere:
//   rows          ten news thumbnails on the phone (the web image loader, 79 x 55 point views)
//   rows-tablet   fourteen of them on the tablet's taller screen
//   preview       the web container's picture loader on ten pictures (a page's preview takes
//                 two; the loader bounds any number); preview4 on four
//   share         the share picture (decoded whole, as the share sheet takes it)
//   picker        four photos picked from the library (files, decoded whole)
//   page          a web page with 64 pictures, each from its own loopback address (127.0.0.x),
//                 so that no per-host connection limit spaces them out
// and the kind of picture each of them is:
//   png     8192 x 8192 (about 260 KB, 256 MB decoded)
//   cmyk    progressive CMYK JPEG 8192 x 8192 (512 KB; its decoder holds 512 MB of coefficients)
//   ycc     progressive YCbCr 4:2:0 JPEG 8192 x 8192 (192 KB; 192 MB of coefficients)
//   ycc444  progressive YCbCr 4:4:4 JPEG 8192 x 8192 (384 KB; 384 MB of coefficients)
//   text    1 x 1 PNG after 999 compressed text chunks of 1 MB each (1 MB on the wire)
//   scans   progressive grey JPEG 8192 x 8192 in 20,000 scans (about 2 MB)
//   gzip    64 KB sent gzip-encoded that inflate to 63 MB
//   mix     png, cmyk, ycc and ycc444 in turn
//   all     every kind in turn
// The pictures are made here and served from a forked child, so that only the client's memory
// is counted. Prints the peak resident memory before and after, the decoded bytes held at the
// end, and the longest the main thread was busy at a stretch.
//   picture_memory_probe [SCREEN] [KIND]
#include <httplib.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "bench/ForkedServer.h"
#include "bench/MainThreadWatch.h"
#include "components/webimage/ImageViewWebCache.h"
#include "components/webimage/WebImageManager.h"
#include "platform/devices/PhotoLibrary.h"
#include "platform/foundation/RunLoop.h"
#include "platform/graphics/DecodeBudget.h"
#include "platform/testing/UiTestScope.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Screen.h"
#include "platform/ui/Window.h"
#include "tests/support/BombPicture.h"
#include "tests/support/WebPageScreen.h"
#include "webcontainer/CommandPictures.h"
#include "webcontainer/PreviewImages.h"

namespace {

const std::vector<std::string> kKinds = {"png", "cmyk", "ycc", "ycc444", "text", "scans", "gzip"};
constexpr std::size_t kMixKinds = 4;
// The page's pictures, and the loopback addresses they come from (127.0.0.2 and on).
constexpr int kPagePictures = 64;

std::string pictureOf(const std::string& kind) {
    if (kind == "cmyk")
        return testsupport::bombProgressiveJpeg(8192, 8192, 4);
    if (kind == "ycc")
        return testsupport::bombProgressiveJpeg(8192, 8192, 3, true);
    if (kind == "ycc444")
        return testsupport::bombProgressiveJpeg(8192, 8192, 3);
    if (kind == "text")
        return testsupport::textChunkPng(999);
    if (kind == "scans")
        return testsupport::manyScanJpeg(8192, 8192, 20000);
    if (kind == "gzip")
        return testsupport::gzipped(std::string(std::size_t{63} << 20, '\0'));
    return testsupport::bombPng(8192, 8192);
}

// The kind of the i-th picture.
std::string kindAt(const std::string& kind, std::size_t i) {
    if (kind == "mix")
        return kKinds[i % kMixKinds];
    if (kind == "all")
        return kKinds[i % kKinds.size()];
    return kind;
}

std::string loopbackAddress(int i) {
    return "127.0.0." + std::to_string(2 + i);
}

// Pictures at /bomb/N.KIND, and at /page/KIND.html a page of 64 of them, the n-th from
// 127.0.0.(n + 2); served on one port of 127.0.0.1 and of each of those addresses.
void serve(const bench::ForkedServer::Announce& announce) {
    std::vector<std::string> pictures;
    for (const auto& kind : kKinds) pictures.push_back(pictureOf(kind));
    int port = 0;
    auto routes = [&](httplib::Server& server) {
        server.new_task_queue = [] { return new httplib::ThreadPool(2); };
        server.Get(R"(/bomb/\d+\.(\w+))", [&](const httplib::Request& req, httplib::Response& res) {
            for (std::size_t k = 0; k < kKinds.size(); ++k) {
                if (req.matches[1] != kKinds[k])
                    continue;
                const bool jpeg = kKinds[k] != "png" && kKinds[k] != "text" && kKinds[k] != "gzip";
                res.set_content(pictures[k], jpeg ? "image/jpeg" : "image/png");
                if (kKinds[k] == "gzip")
                    res.set_header("Content-Encoding", "gzip");
            }
        });
        server.Get(R"(/page/(\w+)\.html)",
                   [&](const httplib::Request& req, httplib::Response& res) {
                       std::string html = "<html><body><p>pictures</p>";
                       for (int i = 0; i < kPagePictures; ++i)
                           html += "<img src=\"http://" + loopbackAddress(i) + ":" +
                                   std::to_string(port) + "/bomb/" + std::to_string(i) + "." +
                                   kindAt(req.matches[1], i) + "\" width=\"40\" height=\"40\">";
                       res.set_content(html + "</body></html>", "text/html");
                   });
    };
    std::vector<std::unique_ptr<httplib::Server>> servers;
    servers.push_back(std::make_unique<httplib::Server>());
    routes(*servers.back());
    port = servers.back()->bind_to_any_port("127.0.0.1");
    for (int i = 0; i < kPagePictures && port > 0; ++i) {
        servers.push_back(std::make_unique<httplib::Server>());
        routes(*servers.back());
        if (!servers.back()->bind_to_port(loopbackAddress(i), port))
            port = 0;
    }
    announce(port, 0);
    std::vector<std::thread> listening;
    for (auto& server : servers) listening.emplace_back([&server] { server->listen_after_bind(); });
    for (auto& thread : listening) thread.join();
}

std::size_t pixelBytesOf(const platform::Image& image) {
    return std::size_t(image.pixelWidth()) * std::size_t(image.pixelHeight()) * 4;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string screen = argc > 1 ? argv[1] : "rows";
    const std::string kind = argc > 2 ? argv[2] : "png";
    if (kind != "mix" && kind != "all" &&
        std::find(kKinds.begin(), kKinds.end(), kind) == kKinds.end()) {
        std::fprintf(stderr, "unknown kind of picture: %s\n", kind.c_str());
        return 2;
    }
    int count = 10;
    if (screen == "rows-tablet")
        count = 14;
    else if (screen == "preview4" || screen == "picker")
        count = 4;
    else if (screen == "share")
        count = 1;
    else if (screen == "page")
        count = kPagePictures;
    else if (screen != "rows" && screen != "preview") {
        std::fprintf(stderr, "unknown screen: %s\n", screen.c_str());
        return 2;
    }

    // The picker's photos are files; made before anything is measured.
    std::vector<platform::PhotoAsset> assets;
    const auto folder = std::filesystem::temp_directory_path() /
                        ("picture_memory_probe." + std::to_string(getpid()));
    if (screen == "picker") {
        std::filesystem::create_directories(folder);
        for (int i = 0; i < count; ++i) {
            const auto file = folder / ("photo" + std::to_string(i) + "." +
                                        (kindAt(kind, i) == "png" ? "png" : "jpg"));
            std::ofstream(file, std::ios::binary) << pictureOf(kindAt(kind, i));
            assets.push_back({file});
        }
    }

    platform::RunLoop::main().bindToCurrentThread();
    bench::ForkedServer server(serve);
    if (server.port() == 0)
        return 1;
    std::vector<std::string> urls;
    for (int i = 0; i < count; ++i)
        urls.push_back(server.base() + "/bomb/" + std::to_string(i) + "." + kindAt(kind, i));
    if (screen == "rows-tablet")
        platform::Screen::main().setSize({768, 1024});

    std::unique_ptr<platform::testing::UiTestScope> scope;
    std::shared_ptr<testsupport::WebPageScreen> pageScreen;
    std::shared_ptr<platform::Window> window;
    if (screen == "page") {
        scope = std::make_unique<platform::testing::UiTestScope>(platform::Size{375, 667}, false);
        pageScreen = std::make_shared<testsupport::WebPageScreen>();
        window = platform::View::make<platform::Window>();
        window->setRootViewController(pageScreen);
        window->makeKeyAndVisible();
    }

    const long before = bench::peakResidentKb();
    const auto started = std::chrono::steady_clock::now();
    bench::MainThreadWatch watch;
    std::vector<platform::Image> shown;
    std::vector<std::shared_ptr<platform::ImageView>> views;
    std::size_t pageBytesHeld = 0;
    if (screen == "page") {
        pageScreen->webView->loadRequest(
            platform::URLRequest{server.base() + "/page/" + kind + ".html"});
        platform::RunLoop::main().runUntil([&] { return !pageScreen->webView->isLoading(); },
                                           std::chrono::seconds(300));
        window->layoutIfNeeded();
        pageBytesHeld = platform::DecodeBudget::heldByPictures();
    } else if (screen == "preview" || screen == "preview4" || screen == "share") {
        // As the container fetches them, off the main thread: the preview's at the pager's
        // size, the share's whole, as the share sheet takes it.
        const bool share = screen == "share";
        std::optional<std::vector<platform::Image>> loaded;
        auto pictures = CommandPictures::start(
            urls, share ? platform::Size{} : previewShownPixels(urls.size()),
            share ? CommandPictures::Limits{10, 10} : kPreviewLimits,
            [&](std::vector<platform::Image> images) { loaded = std::move(images); });
        platform::RunLoop::main().runUntil([&] { return loaded.has_value(); },
                                           std::chrono::seconds(300));
        if (loaded)
            shown = std::move(*loaded);
    } else if (screen == "picker") {
        for (const auto& asset : assets) shown.push_back(asset.originImage());
    } else {
        for (const auto& url : urls) {
            auto view =
                platform::View::make<platform::ImageView>(platform::Rect{{12, 10}, {79, 55}});
            platform::components::sd_setImageWithURL(view, url, platform::Image());
            views.push_back(view);
        }
        // Every load ends with a picture, or without one once the loader has nothing pending:
        // a refused picture leaves its placeholder.
        auto& loop = platform::RunLoop::main();
        auto& manager = platform::components::WebImageManager::shared();
        loop.runUntil(
            [&] {
                for (const auto& view : views)
                    if (!manager.pendingURL(*view).empty())
                        return false;
                return true;
            },
            std::chrono::seconds(300));
        for (const auto& view : views) shown.push_back(view->image());
    }
    watch.stop();
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    const long after = bench::peakResidentKb();
    std::size_t pictures = 0;
    std::size_t pixelBytes = 0;
    for (const auto& image : shown) {
        if (image.isNull())
            continue;
        ++pictures;
        pixelBytes += pixelBytesOf(image);
    }
    if (screen == "page") {
        std::printf(
            "page %s: %d pictures, %.1f MB of pixels held, peak resident %ld MB -> %ld MB "
            "(+%ld MB), %.2f s, main thread busy at most %.2f s\n",
            kind.c_str(), count, double(pageBytesHeld) / (1 << 20), before / 1024, after / 1024,
            (after - before) / 1024, seconds, watch.longestBusySeconds());
        std::fflush(stdout);
        server.stop();
        _exit(0);
    }
    std::printf(
        "%s %s: %zu of %d pictures shown, %.1f MB of pixels held, peak resident %ld MB -> "
        "%ld MB (+%ld MB), %.2f s, main thread busy at most %.2f s\n",
        screen.c_str(), kind.c_str(), pictures, count, double(pixelBytes) / (1 << 20),
        before / 1024, after / 1024, (after - before) / 1024, seconds, watch.longestBusySeconds());
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    return 0;
}
