#pragma once

#include <memory>
#include <mutex>

// Storage of one of the share SDK's process-wide objects: made on first use under a lock of
// its class, and dropped by reset() so that the next use makes it afresh, as after a restart
// of the app (for tests). A reference taken before reset() must not be used after it.
template <class T>
class SHSSharedInstance {
public:
    static T& get() {
        std::lock_guard lock(mutex());
        auto& instance = slot();
        if (!instance)
            instance.reset(new T());
        return *instance;
    }
    static bool exists() {
        std::lock_guard lock(mutex());
        return slot() != nullptr;
    }
    static void reset() {
        std::unique_ptr<T> old;
        {
            std::lock_guard lock(mutex());
            old = std::move(slot());
        }
    }

private:
    static std::recursive_mutex& mutex() {
        static std::recursive_mutex lock;
        return lock;
    }
    static std::unique_ptr<T>& slot() {
        static std::unique_ptr<T> instance;
        return instance;
    }
};
