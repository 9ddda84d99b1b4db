// Memory and time of hostile pictures: pictures of 8192 x 8192 pixels (about 260 KB as PNG,
// 256 MB decoded) shown as ten news thumbnails (through the web image loader, into 79 x 55
// point image views) and as a preview of ten (the web container's preview loader). The
// pictures are served from a forked child, so that only the client's memory is counted.
// Prints the peak resident memory before and after, and the decoded bytes held at the end.
//   picture_memory_probe rows|preview
#include <httplib.h>
#include <sys/wait.h>
#include <unistd.h>
#include <zlib.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "components/webimage/ImageViewWebCache.h"
#include "components/webimage/WebImageManager.h"
#include "platform/foundation/RunLoop.h"
#include "platform/ui/ImageView.h"
#include "webcontainer/PreviewImages.h"

namespace {

constexpr int kPictures = 10;

long peakResidentKb() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0)
            return std::strtol(line.c_str() + 6, nullptr, 10);
    }
    return -1;
}

void putBigEndian32(std::string& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(char((value >> shift) & 0xFF));
}

void putChunk(std::string& out, const char* type, const std::string& data) {
    putBigEndian32(out, std::uint32_t(data.size()));
    const std::string typed = std::string(type, 4) + data;
    out += typed;
    putBigEndian32(out, std::uint32_t(crc32(0, reinterpret_cast<const Bytef*>(typed.data()),
                                            uInt(typed.size()))));
}

// One grey RGBA picture; every row after the first repeats the one above ("Up" filter).
std::string bombPng(int side) {
    std::string header;
    putBigEndian32(header, std::uint32_t(side));
    putBigEndian32(header, std::uint32_t(side));
    header += std::string("\x08\x06\x00\x00\x00", 5);
    std::string raw;
    std::string first(std::size_t(side) * 4 + 1, char(0x80));
    first[0] = 0;
    std::string rest(first.size(), 0);
    rest[0] = 2;
    raw.reserve(first.size() * std::size_t(side));
    raw += first;
    for (int y = 1; y < side; ++y) raw += rest;
    uLongf size = compressBound(uLong(raw.size()));
    std::string compressed(size, 0);
    compress2(reinterpret_cast<Bytef*>(compressed.data()), &size,
              reinterpret_cast<const Bytef*>(raw.data()), uLong(raw.size()), 9);
    compressed.resize(size);
    std::string png("\x89PNG\r\n\x1a\n", 8);
    putChunk(png, "IHDR", header);
    putChunk(png, "IDAT", compressed);
    putChunk(png, "IEND", "");
    return png;
}

[[noreturn]] void serve(int portOut) {
    const std::string picture = bombPng(8192);
    httplib::Server server;
    server.Get(R"(/bomb/\d+\.png)", [&picture](const httplib::Request&, httplib::Response& res) {
        res.set_content(picture, "image/png");
    });
    int port = server.bind_to_any_port("127.0.0.1");
    if (write(portOut, &port, sizeof port) != sizeof port)
        _exit(1);
    close(portOut);
    server.listen_after_bind();
    _exit(0);
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "rows";
    platform::RunLoop::main().bindToCurrentThread();
    int pipeFds[2];
    if (pipe(pipeFds) != 0)
        return 1;
    pid_t child = fork();
    if (child == 0) {
        close(pipeFds[0]);
        serve(pipeFds[1]);
    }
    close(pipeFds[1]);
    int port = 0;
    if (read(pipeFds[0], &port, sizeof port) != sizeof port)
        return 1;
    std::vector<std::string> urls;
    for (int i = 0; i < kPictures; ++i)
        urls.push_back("http://127.0.0.1:" + std::to_string(port) + "/bomb/" + std::to_string(i) +
                       ".png");

    const long before = peakResidentKb();
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
    const long after = peakResidentKb();
    std::printf(
        "%s: %zu of %d pictures shown, %.1f MB of pixels held, peak resident %ld MB -> "
        "%ld MB (+%ld MB), %.2f s\n",
        mode.c_str(), pictures, kPictures, double(pixelBytes) / (1 << 20), before / 1024,
        after / 1024, (after - before) / 1024, seconds);
    kill(child, SIGTERM);
    waitpid(child, nullptr, 0);
    return 0;
}
