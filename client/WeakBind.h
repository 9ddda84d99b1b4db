#pragma once

#include <functional>
#include <memory>
#include <utility>

// A callback that calls into an object only while the object lives: it holds the object
// weakly, and once the object is gone calling it does nothing. Replies, timers and control
// actions that may outlive their screen go through this instead of capturing `this`.
//
// `call` is a member function of T or anything invocable with a T&, followed by the bound
// arguments and then the arguments the callback is called with:
//     table->onPull = bindWeak(self, &Screen::reload);
//     request(bindWeak(self, &Screen::arrived, page));  // arrived(page, reply)
template <typename T, typename Call, typename... Bound>
auto bindWeak(const std::shared_ptr<T>& object, Call call, Bound... bound) {
    return [weak = std::weak_ptr<T>(object), call = std::move(call),
            ... bound = std::move(bound)](auto&&... args) {
        if (auto strong = weak.lock())
            std::invoke(call, *strong, bound..., std::forward<decltype(args)>(args)...);
    };
}
