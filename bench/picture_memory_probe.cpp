// Memory and time of hostile pictures: pictures of 8192 x 8192 pixels (about 260 KB as PNG,
// 256 MB decoded) shown as ten news thumbnails (through the web image loader, into 79 x 55
// point image views) and as a preview of ten (the web container's preview loader). The
// pictures are served from a forked child, so that only the client's memory is counted.
// Prints the peak resident memory before and after, and the decoded bytes held at the end.
//   picture_memory_probe rows|preview
#include <httplib.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "bench/ForkedServer.h"
#include "components/webimage/ImageViewWebCache.h"
#include "components/webimage/WebImageManager.h"
#include "platform/foundation/RunLoop.h"
#include "platform/ui/ImageView.h"
#include "tests/support/BombPicture.h"
#include "webcontainer/PreviewImages.h"

namespace {

constexpr int kPictures = 10;

void serve(const bench::ForkedServer::Announce& announce) {
    const std::string picture = testsupport::bombPng(8192, 8192);
    httplib::Server server;
    server.Get(R"(/bomb/\d+\.png)", [&picture](const httplib::Request&, httplib::Response& res) {
        res.set_content(picture, "image/png");
    });
    announce(server.bind_to_any_port("127.0.0.1"), 0);
    server.listen_after_bind();
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "rows";
    platform::RunLoop::main().bindToCurrentThread();
    bench::ForkedServer server(serve);
    if (server.port() == 0)
        return 1;
    std::vector<std::string> urls;
    for (int i = 0; i < kPictures; ++i)
        urls.push_back(server.base() + "/bomb/" + std::to_string(i) + ".png");

    const long before = bench::peakResidentKb();
    const auto started = std::chrono::steady_clock::now();
    std::size_t pictures = 0;
    std::size_t pixelBytes = 0;
    std::vector<std::shared_ptr<platform::ImageView>> views;
    std::vector<platform::Image> previews;
    if (mode == "preview") {
        previews = loadPreviewImages(urls);
        for (const auto& image : previews)
            pixelBytes += std::size_t(image.pixelWidth()) * std::size_t(image.pixelHeight()) * 4;
        pictures = previews.size();
    } else {
        for (const auto& url : urls) {
            auto view =
                platform::View::make<platform::ImageView>(platform::Rect{{12, 10}, {79, 55}});
            platform::components::sd_setImageWithURL(view, url, platform::Image());
            views.push_back(view);
        }
        auto& loop = platform::RunLoop::main();
        loop.runUntil(
            [&] {
                for (const auto& view : views)
                    if (view->image().isNull())
                        return false;
                return true;
            },
            std::chrono::seconds(120));
        for (const auto& view : views) {
            if (view->image().isNull())
                continue;
            ++pictures;
            pixelBytes += std::size_t(view->image().pixelWidth()) *
                          std::size_t(view->image().pixelHeight()) * 4;
        }
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    const long after = bench::peakResidentKb();
    std::printf(
        "%s: %zu of %d pictures shown, %.1f MB of pixels held, peak resident %ld MB -> "
        "%ld MB (+%ld MB), %.2f s\n",
        mode.c_str(), pictures, kPictures, double(pixelBytes) / (1 << 20), before / 1024,
        after / 1024, (after - before) / 1024, seconds);
    return 0;
}
