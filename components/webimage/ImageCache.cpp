#include "components/webimage/ImageCache.h"

#include <system_error>

#include "platform/foundation/Crypto.h"
#include "platform/foundation/Dispatch.h"
#include "platform/foundation/Files.h"
#include "platform/foundation/Paths.h"

namespace fs = std::filesystem;

namespace platform::components {

namespace {

Image readImage(const fs::path& path, Size shownPixels) {
    auto bytes = readFile(path);
    return bytes ? Image::decode(*bytes, 1, shownPixels) : Image{};
}

// Regular files only: a directory has no size of its own here, and a link's target is
// counted where it lies (if it lies in the folder at all), not once more through the link.
template <typename Visit>
void forEachFile(const fs::path& directory, Visit visit) {
    std::error_code error;
    fs::recursive_directory_iterator it(directory, error);
    for (; !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
        std::error_code statError;
        if (fs::is_regular_file(it->symlink_status(statError))) {
            auto size = it->file_size(statError);
            if (!statError) {
                visit(size);
            }
        }
    }
}

}  // namespace

ImageCache& ImageCache::shared() {
    static ImageCache instance;
    return instance;
}

ImageCache::ImageCache() = default;

fs::path ImageCache::diskCachePath() const {
    return paths::cachesDirectory() / "ImageCache" / "default";
}

fs::path ImageCache::cachePathForKey(const std::string& key) const {
    return diskCachePath() / md5Hex(key);
}

void ImageCache::storeImage(const Image& image, const std::string& key, bool toDisk) {
    storeImage(image, std::string(), key, toDisk);
}

void ImageCache::storeImage(const Image& image, std::string imageData, const std::string& key,
                            bool toDisk) {
    if (image.isNull() || key.empty()) {
        return;
    }
    m_memory.setObject(key, image);
    if (!toDisk) {
        return;
    }
    m_io.async([path = cachePathForKey(key), image, data = std::move(imageData)] {
        // A write that fails (full disk, folder removed) only costs a later download.
        writeFileAtomically(path, data.empty() ? image.pngData() : data);
    });
}

Image ImageCache::imageFromMemoryCache(const std::string& key) {
    return key.empty() ? Image{} : m_memory.object(key);
}

Image ImageCache::imageFromDiskCache(const std::string& key) {
    if (key.empty()) {
        return {};
    }
    Image image;
    m_io.sync([&image, path = cachePathForKey(key)] { image = readImage(path, Size{}); });
    if (!image.isNull()) {
        m_memory.setObject(key, image);
    }
    return image;
}

void ImageCache::queryDiskCache(const std::string& key, std::function<void(const Image&)> done) {
    queryDiskCache(key, Size{}, std::move(done));
}

void ImageCache::queryDiskCache(const std::string& key, Size shownPixels,
                                std::function<void(const Image&)> done) {
    if (!done) {
        return;
    }
    if (Image image = imageFromMemoryCache(key);
        (!image.isNull() && image.isEnoughFor(shownPixels)) || key.empty()) {
        dispatch::mainAsync([done = std::move(done), image] { done(image); });
        return;
    }
    m_io.async(
        [this, key, path = cachePathForKey(key), shownPixels, done = std::move(done)]() mutable {
            Image image = readImage(path, shownPixels);
            if (!image.isNull()) {
                m_memory.setObject(key, image);
            }
            dispatch::mainAsync([done = std::move(done), image] { done(image); });
        });
}

void ImageCache::removeImage(const std::string& key) {
    m_memory.removeObject(key);
    m_io.async([path = cachePathForKey(key)] {
        std::error_code error;
        fs::remove(path, error);
    });
}

void ImageCache::clearMemory() {
    m_memory.removeAll();
}

void ImageCache::clearDisk(std::function<void()> completion) {
    m_io.async([path = diskCachePath(), completion = std::move(completion)] {
        std::error_code error;
        fs::remove_all(path, error);
        fs::create_directories(path, error);
        if (completion) {
            dispatch::mainAsync(completion);
        }
    });
}

std::uint64_t ImageCache::getSize() {
    std::uint64_t total = 0;
    m_io.sync([&total, path = diskCachePath()] {
        forEachFile(path, [&total](std::uintmax_t size) { total += size; });
    });
    return total;
}

size_t ImageCache::getDiskCount() {
    size_t count = 0;
    m_io.sync([&count, path = diskCachePath()] {
        forEachFile(path, [&count](std::uintmax_t) { ++count; });
    });
    return count;
}

float ImageCache::checkTmpSize() {
    return float(double(getSize()) / 1024.0 / 1024.0);
}

}  // namespace platform::components
