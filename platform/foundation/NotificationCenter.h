#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/foundation/Json.h"

namespace platform {

struct Notification {
    std::string name;
    Json userInfo;
};

// The phone's default notification centre: named notifications delivered synchronously on
// the posting thread to the observers of that name, in the order they were added.
//
// Handlers may add and remove observers and post during delivery. An observer removed during
// a delivery is not called afterwards, even by the delivery in progress; one added during a
// delivery first hears the next post.
class NotificationCenter {
public:
    using ObserverId = std::uint64_t;
    using Handler = std::function<void(const Notification&)>;

    static NotificationCenter& defaultCenter();

    NotificationCenter() = default;
    NotificationCenter(const NotificationCenter&) = delete;
    NotificationCenter& operator=(const NotificationCenter&) = delete;

    // Ends by itself once the owner has gone (so a screen need not remove its observers). The
    // owner is kept alive while its handler runs.
    ObserverId addObserver(std::weak_ptr<const void> owner, std::string name, Handler handler);
    // Lives until removed.
    ObserverId addObserver(std::string name, Handler handler);
    void removeObserver(ObserverId id);

    void post(const std::string& name, const Json& userInfo = nullptr);

    // Observers still in force (not removed, owner alive).
    size_t observerCount() const;

private:
    struct Observer {
        ObserverId id{0};
        std::string name;
        bool hasOwner{false};
        std::weak_ptr<const void> owner;
        Handler handler;
        bool removed{false};  // guarded by m_mutex
    };

    ObserverId add(std::string name, bool hasOwner, std::weak_ptr<const void> owner,
                   Handler handler);
    void pruneLocked();

    mutable std::mutex m_mutex;
    std::vector<std::shared_ptr<Observer>> m_observers;
    ObserverId m_nextId{1};
};

}  // namespace platform
