#include "components/webimage/MemoryCache.h"

namespace platform::components {

size_t MemoryCache::costOf(const Image& image) {
    if (image.isNull()) {
        return 0;
    }
    return size_t(image.pixelWidth()) * size_t(image.pixelHeight()) * 4;
}

void MemoryCache::setObject(const std::string& key, const Image& image) {
    std::lock_guard lock(m_mutex);
    if (auto found = m_index.find(key); found != m_index.end()) {
        eraseLocked(found->second);
    }
    size_t cost = costOf(image);
    if (image.isNull() || cost > m_maxCost) {
        return;
    }
    m_entries.push_front(Entry{key, image, cost});
    m_index[key] = m_entries.begin();
    m_totalCost += cost;
    evictLocked();
}

Image MemoryCache::object(const std::string& key) {
    std::lock_guard lock(m_mutex);
    auto found = m_index.find(key);
    if (found == m_index.end()) {
        return {};
    }
    m_entries.splice(m_entries.begin(), m_entries, found->second);
    return found->second->image;
}

void MemoryCache::removeObject(const std::string& key) {
    std::lock_guard lock(m_mutex);
    if (auto found = m_index.find(key); found != m_index.end()) {
        eraseLocked(found->second);
    }
}

void MemoryCache::removeAll() {
    std::lock_guard lock(m_mutex);
    m_entries.clear();
    m_index.clear();
    m_totalCost = 0;
}

size_t MemoryCache::totalCost() const {
    std::lock_guard lock(m_mutex);
    return m_totalCost;
}

size_t MemoryCache::maxCost() const {
    std::lock_guard lock(m_mutex);
    return m_maxCost;
}

void MemoryCache::setMaxCost(size_t maxCost) {
    std::lock_guard lock(m_mutex);
    m_maxCost = maxCost;
    evictLocked();
}

void MemoryCache::evictLocked() {
    while (m_totalCost > m_maxCost && !m_entries.empty()) {
        eraseLocked(std::prev(m_entries.end()));
    }
}

void MemoryCache::eraseLocked(Entries::iterator it) {
    m_totalCost -= it->cost;
    m_index.erase(it->key);
    m_entries.erase(it);
}

}  // namespace platform::components
