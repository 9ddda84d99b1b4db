#pragma once

#include <cstddef>
#include <list>
#include <mutex>
#include <string>
#include <unordered_map>

#include "platform/graphics/Image.h"

namespace platform::components {

// Decoded images by key, least recently used first out once their pixels pass a byte limit.
// Thread-safe.
class MemoryCache {
public:
    explicit MemoryCache(size_t maxCost) : m_maxCost(maxCost) {}

    // An image larger than the whole limit is not kept.
    void setObject(const std::string& key, const Image& image);
    // Empty when absent; a hit counts as a use.
    Image object(const std::string& key);
    void removeObject(const std::string& key);
    void removeAll();

    size_t totalCost() const;
    size_t maxCost() const;
    // Lowering the limit evicts at once.
    void setMaxCost(size_t maxCost);

    // What an image costs: its pixels at four bytes each.
    static size_t costOf(const Image& image);

private:
    struct Entry {
        std::string key;
        Image image;
        size_t cost{0};
    };
    using Entries = std::list<Entry>;

    void evictLocked();
    void eraseLocked(Entries::iterator it);

    mutable std::mutex m_mutex;
    size_t m_maxCost{0};
    size_t m_totalCost{0};
    // Most recently used at the front.
    Entries m_entries;
    std::unordered_map<std::string, Entries::iterator> m_index;
};

}  // namespace platform::components
