#pragma once

#include <map>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace platform {

// The reusable views a table or collection shows, by what they show (an index path, or a
// kind and index path). Views taken out are handed back to the caller to recycle, so that
// the delegate's did-end-displaying calls come only after the bookkeeping is done.
template <typename Key, typename V>
class VisibleViews {
public:
    using Entry = std::pair<Key, std::shared_ptr<V>>;
    using Entries = std::vector<Entry>;

    // None when nothing is shown for the key.
    std::shared_ptr<V> find(const Key& key) const {
        auto it = m_views.find(key);
        return it == m_views.end() ? nullptr : it->second;
    }
    void add(const Key& key, std::shared_ptr<V> view) { m_views[key] = std::move(view); }

    // In key order.
    std::vector<Key> keys() const {
        std::vector<Key> keys;
        for (const auto& [key, view] : m_views) {
            keys.push_back(key);
        }
        return keys;
    }
    std::vector<std::shared_ptr<V>> views() const {
        std::vector<std::shared_ptr<V>> views;
        for (const auto& [key, view] : m_views) {
            views.push_back(view);
        }
        return views;
    }
    std::optional<Key> keyOf(const V& view) const {
        for (const auto& [key, shown] : m_views) {
            if (shown.get() == &view) {
                return key;
            }
        }
        return std::nullopt;
    }
    auto begin() const { return m_views.begin(); }
    auto end() const { return m_views.end(); }

    // Takes out the view shown for the key; none when there is none.
    std::shared_ptr<V> take(const Key& key) {
        auto it = m_views.find(key);
        if (it == m_views.end()) {
            return nullptr;
        }
        auto view = std::move(it->second);
        m_views.erase(it);
        return view;
    }
    Entries takeAll() {
        Entries all;
        for (auto& [key, view] : m_views) {
            all.emplace_back(key, std::move(view));
        }
        m_views.clear();
        return all;
    }
    // Takes out the views whose key `leaves` (Key -> bool) picks, in key order.
    template <typename Leaves>
    Entries takeIf(const Leaves& leaves) {
        Entries taken;
        for (auto it = m_views.begin(); it != m_views.end();) {
            if (leaves(it->first)) {
                taken.emplace_back(it->first, std::move(it->second));
                it = m_views.erase(it);
            } else {
                ++it;
            }
        }
        return taken;
    }
    // Moves every view to the key `remap` (Key -> std::optional<Key>) gives; takes out those
    // whose key it drops.
    template <typename Remap>
    Entries remap(const Remap& remap) {
        Entries dropped;
        std::map<Key, std::shared_ptr<V>> result;
        for (auto& [key, view] : m_views) {
            if (auto moved = remap(key)) {
                result[*moved] = std::move(view);
            } else {
                dropped.emplace_back(key, std::move(view));
            }
        }
        m_views = std::move(result);
        return dropped;
    }

private:
    std::map<Key, std::shared_ptr<V>> m_views;
};

}  // namespace platform
