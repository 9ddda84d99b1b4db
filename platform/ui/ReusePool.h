#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace platform {

// Views that left a table or collection, kept by reuse identifier to be handed out again,
// and the factories registered to make new ones.
template <typename V>
class ReusePool {
public:
    using Factory = std::function<std::shared_ptr<V>()>;

    // An empty factory unregisters the identifier.
    void registerFactory(const std::string& identifier, Factory factory) {
        if (factory) {
            m_factories[identifier] = std::move(factory);
        } else {
            m_factories.erase(identifier);
        }
    }

    // The last view that left with that identifier, made ready by prepareForReuse; else one
    // from the registered factory; else none.
    std::shared_ptr<V> dequeue(const std::string& identifier) {
        auto pool = m_views.find(identifier);
        if (pool != m_views.end() && !pool->second.empty()) {
            auto view = std::move(pool->second.back());
            pool->second.pop_back();
            view->prepareForReuse();
            return view;
        }
        auto factory = m_factories.find(identifier);
        if (factory != m_factories.end()) {
            return factory->second();
        }
        return nullptr;
    }

    // Takes the view off screen and keeps it for reuse (one without an identifier is let go).
    void enqueue(const std::shared_ptr<V>& view) {
        view->removeFromSuperview();
        if (!view->reuseIdentifier().empty()) {
            m_views[view->reuseIdentifier()].push_back(view);
        }
    }

private:
    std::map<std::string, std::vector<std::shared_ptr<V>>> m_views;
    std::map<std::string, Factory> m_factories;
};

}  // namespace platform
