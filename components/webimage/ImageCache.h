#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

#include "components/webimage/MemoryCache.h"
#include "components/webimage/SerialQueue.h"
#include "platform/graphics/Image.h"

namespace platform::components {

// The process's image cache: decoded images in memory (least recently used out past a byte
// limit) and the downloaded bytes on disk in <caches>/ImageCache/default, one file per key
// named by the key's MD5. Disk work runs in order on the cache's own queue. Keys are the
// images' URLs.
class ImageCache {
public:
    static constexpr size_t kDefaultMaxMemoryCost = 64 * 1024 * 1024;

    static ImageCache& shared();

    ImageCache(const ImageCache&) = delete;
    ImageCache& operator=(const ImageCache&) = delete;

    // In memory, and on disk as PNG unless toDisk is false.
    void storeImage(const Image& image, const std::string& key, bool toDisk = true);
    // In memory, and on disk as the given bytes (the image as it was downloaded), or as PNG
    // when there are none.
    void storeImage(const Image& image, std::string imageData, const std::string& key,
                    bool toDisk = true);

    // Empty when not there.
    Image imageFromMemoryCache(const std::string& key);
    // Reads and decodes on the caller's thread after the queued disk work; a hit is kept in
    // memory too.
    Image imageFromDiskCache(const std::string& key);
    // Memory first (when what it holds is enough for `shownPixels`), then disk off the calling
    // thread; `done` runs on the main loop with the image, empty when neither has it.
    void queryDiskCache(const std::string& key, std::function<void(const Image&)> done);
    void queryDiskCache(const std::string& key, Size shownPixels,
                        std::function<void(const Image&)> done);

    void removeImage(const std::string& key);
    void clearMemory();
    // Empties the disk cache folder on the cache's queue, after the disk work queued before
    // it, then runs the completion (may be empty) on the main loop. To report what a clear
    // frees, measure first and clear next on the main thread (where the images are stored):
    // no write can come between the two.
    void clearDisk(std::function<void()> completion = {});

    // Followed each time it is asked, as the data directory may move.
    std::filesystem::path diskCachePath() const;
    std::filesystem::path cachePathForKey(const std::string& key) const;

    // Bytes of all regular files in the disk cache folder and below, after the queued disk
    // work; 0 when the folder is missing.
    std::uint64_t getSize();
    // Files in the disk cache folder.
    size_t getDiskCount();
    // getSize() in megabytes (bytes / 1024 / 1024), for the side menu's report. The bytes
    // are added up exactly and converted once, so neither many small files nor a cache past
    // 4 GB loses any of its size.
    float checkTmpSize();

    size_t maxMemoryCost() const { return m_memory.maxCost(); }
    void setMaxMemoryCost(size_t bytes) { m_memory.setMaxCost(bytes); }

private:
    // Only the process-wide instance exists: queued disk work refers to it.
    ImageCache();

    MemoryCache m_memory{kDefaultMaxMemoryCost};
    SerialQueue m_io;
};

}  // namespace platform::components
