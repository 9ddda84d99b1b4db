// Memory and time of hostile pictures, small on the wire and huge to decode, on the screens
// that show pictures from elsewhere:
//   rows          ten news thumbnails on the phone (the web image loader, 79 x 55 point views)
//   rows-tablet   fourteen of them on the tablet's taller screen
//   preview       the web container's preview of ten pictures; preview4 of four
//   share         the share picture (decoded whole, as the share sheet takes it)
//   picker        four photos picked from the library (files, decoded whole)
// and the kind of picture each of them is:
//   png     8192 x 8192 (about 260 KB, 256 MB decoded)
//   cmyk    progressive CMYK JPEG 8192 x 8192 (512 KB; its decoder holds 512 MB of coefficients)
//   ycc     progressive YCbCr 4:2:0 JPEG 8192 x 8192 (192 KB; 192 MB of coefficients)
//   ycc444  progressive YCbCr 4:4:4 JPEG 8192 x 8192 (384 KB; 384 MB of coefficients)
//   mix     all of these in turn
// The pictures are made here and served from a forked child, so that only the client's memory
// is counted. Prints the peak resident memory before and after, and the decoded bytes held at
// the end.
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
#include <string>
#include <vector>

#include "bench/ForkedServer.h"
#include "components/webimage/ImageViewWebCache.h"
#include "components/webimage/WebImageManager.h"
#include "platform/devices/PhotoLibrary.h"
#include "platform/foundation/RunLoop.h"
#include "platform/net/HttpClient.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Screen.h"
#include "tests/support/BombPicture.h"
#include "webcontainer/PreviewImages.h"

namespace {

const std::vector<std::string> kKinds = {"png", "cmyk", "ycc", "ycc444"};

std::string pictureOf(const std::string& kind) {
    if (kind == "cmyk")
        return testsupport::bombProgressiveJpeg(8192, 8192, 4);
    if (kind == "ycc")
        return testsupport::bombProgressiveJpeg(8192, 8192, 3, true);
    if (kind == "ycc444")
        return testsupport::bombProgressiveJpeg(8192, 8192, 3);
    return testsupport::bombPng(8192, 8192);
}

// The kind of the i-th picture.
std::string kindAt(const std::string& kind, std::size_t i) {
    return kind == "mix" ? kKinds[i % kKinds.size()] : kind;
}

void serve(const bench::ForkedServer::Announce& announce) {
    std::vector<std::string> pictures;
    for (const auto& kind : kKinds) pictures.push_back(pictureOf(kind));
    httplib::Server server;
    server.Get(R"(/bomb/\d+\.(\w+))", [&](const httplib::Request& req, httplib::Response& res) {
        for (std::size_t k = 0; k < kKinds.size(); ++k)
            if (req.matches[1] == kKinds[k])
                res.set_content(pictures[k], k == 0 ? "image/png" : "image/jpeg");
    });
    announce(server.bind_to_any_port("127.0.0.1"), 0);
    server.listen_after_bind();
}

std::size_t pixelBytesOf(const platform::Image& image) {
    return std::size_t(image.pixelWidth()) * std::size_t(image.pixelHeight()) * 4;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string screen = argc > 1 ? argv[1] : "rows";
    const std::string kind = argc > 2 ? argv[2] : "png";
    if (kind != "mix" && std::find(kKinds.begin(), kKinds.end(), kind) == kKinds.end()) {
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

    const long before = bench::peakResidentKb();
    const auto started = std::chrono::steady_clock::now();
    std::vector<platform::Image> shown;
    std::vector<std::shared_ptr<platform::ImageView>> views;
    if (screen == "preview" || screen == "preview4") {
        shown = loadPreviewImages(urls);
    } else if (screen == "share") {
        // As the share sheet's picture is fetched: whole, at no particular size.
        platform::HttpRequest request;
        request.url = urls.front();
        request.maxBodyBytes = platform::kMaxImageBodyBytes;
        const auto response = platform::HttpClient::shared().sendSync(request);
        shown.push_back(platform::Image::decode(response.body));
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
    std::printf(
        "%s %s: %zu of %d pictures shown, %.1f MB of pixels held, peak resident %ld MB -> "
        "%ld MB (+%ld MB), %.2f s\n",
        screen.c_str(), kind.c_str(), pictures, count, double(pixelBytes) / (1 << 20),
        before / 1024, after / 1024, (after - before) / 1024, seconds);
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    return 0;
}
