#pragma once

#include <chrono>
#include <functional>
#include <string>

#include "fakes/FakeSchoolServices.h"
#include "platform/foundation/RunLoop.h"

// What the engine's tests share: pages served as HTML, and waits for what the engine tells on
// its own thread.
namespace webkittest {

inline void servePage(fakes::FakeSchoolServices& server, const std::string& path,
                      const std::string& html) {
    fakes::Reply reply;
    reply.contentType = "text/html; charset=utf-8";
    reply.body = html;
    server.setReply("GET", path, reply);
}

inline bool waitFor(const std::function<bool()>& condition) {
    return platform::RunLoop::main().runUntil(condition, std::chrono::seconds(20));
}

}  // namespace webkittest
