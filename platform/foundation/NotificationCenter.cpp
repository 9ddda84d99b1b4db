#include "platform/foundation/NotificationCenter.h"

#include <algorithm>

namespace platform {

NotificationCenter& NotificationCenter::defaultCenter() {
    static NotificationCenter* center = new NotificationCenter();  // lives for the process
    return *center;
}

NotificationCenter::ObserverId NotificationCenter::addObserver(std::weak_ptr<const void> owner,
                                                               std::string name, Handler handler) {
    return add(std::move(name), true, std::move(owner), std::move(handler));
}

NotificationCenter::ObserverId NotificationCenter::addObserver(std::string name, Handler handler) {
    return add(std::move(name), false, {}, std::move(handler));
}

NotificationCenter::ObserverId NotificationCenter::add(std::string name, bool hasOwner,
                                                       std::weak_ptr<const void> owner,
                                                       Handler handler) {
    auto observer = std::make_shared<Observer>();
    observer->name = std::move(name);
    observer->hasOwner = hasOwner;
    observer->owner = std::move(owner);
    observer->handler = std::move(handler);
    std::lock_guard lock(m_mutex);
    observer->id = m_nextId++;
    m_observers.push_back(observer);
    return observer->id;
}

void NotificationCenter::removeObserver(ObserverId id) {
    std::lock_guard lock(m_mutex);
    auto it = std::find_if(m_observers.begin(), m_observers.end(),
                           [id](const auto& observer) { return observer->id == id; });
    if (it == m_observers.end())
        return;
    (*it)->removed = true;
    m_observers.erase(it);
}

void NotificationCenter::pruneLocked() {
    std::erase_if(m_observers, [](const auto& observer) {
        if (!observer->hasOwner || !observer->owner.expired())
            return false;
        observer->removed = true;
        return true;
    });
}

void NotificationCenter::post(const std::string& name, const Json& userInfo) {
    std::vector<std::shared_ptr<Observer>> recipients;
    {
        std::lock_guard lock(m_mutex);
        pruneLocked();
        for (const auto& observer : m_observers)
            if (observer->name == name)
                recipients.push_back(observer);
    }
    Notification notification{name, userInfo};
    for (const auto& observer : recipients) {
        std::shared_ptr<const void> keepOwner;
        {
            std::lock_guard lock(m_mutex);
            if (observer->removed)
                continue;
            if (observer->hasOwner) {
                keepOwner = observer->owner.lock();
                if (!keepOwner)
                    continue;
            }
        }
        // Called without the lock, so the handler may use the centre freely. The handler lives
        // in the shared observer record, so removing itself while running is safe.
        if (observer->handler)
            observer->handler(notification);
    }
}

size_t NotificationCenter::observerCount() const {
    std::lock_guard lock(m_mutex);
    return static_cast<size_t>(std::count_if(
        m_observers.begin(), m_observers.end(),
        [](const auto& observer) { return !observer->hasOwner || !observer->owner.expired(); }));
}

}  // namespace platform
