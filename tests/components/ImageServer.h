#pragma once

#include <httplib.h>

#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <string>
#include <thread>

#include "platform/foundation/RunLoop.h"

namespace componentstest {

// Serves images on 127.0.0.1 (free port) and counts the requests per path. Every request
// that arrives or is answered wakes the main run loop, so a test waiting in runUntil on the
// server's counts sees them at once:
//   GET /img/<anything>   the bytes registered for that path, else 404
//   GET /held/<anything>  the same, but only once release() is called (or after 5 s)
class ImageServer {
public:
    ImageServer() {
        m_server.Get(R"(/img/.*)", [this](const httplib::Request& req, httplib::Response& res) {
            record(req);
            answer(req, res);
        });
        m_server.Get(R"(/held/.*)", [this](const httplib::Request& req, httplib::Response& res) {
            record(req);
            {
                std::unique_lock lock(m_mutex);
                m_released.wait_for(lock, std::chrono::seconds(5), [this] { return m_release; });
            }
            answer(req, res);
            {
                std::lock_guard lock(m_mutex);
                ++m_heldAnswered;
            }
            platform::RunLoop::main().post([] {});
        });
        m_port = m_server.bind_to_any_port("127.0.0.1");
        m_thread = std::thread([this] { m_server.listen_after_bind(); });
        while (!m_server.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }

    ~ImageServer() {
        release();
        m_server.stop();
        m_thread.join();
    }

    ImageServer(const ImageServer&) = delete;
    ImageServer& operator=(const ImageServer&) = delete;

    std::string url(const std::string& path) const {
        return "http://127.0.0.1:" + std::to_string(m_port) + path;
    }

    void serve(const std::string& path, std::string bytes) {
        std::lock_guard lock(m_mutex);
        m_files[path] = std::move(bytes);
    }

    void release() {
        {
            std::lock_guard lock(m_mutex);
            m_release = true;
        }
        m_released.notify_all();
    }

    int requests(const std::string& path) const {
        std::lock_guard lock(m_mutex);
        auto found = m_requests.find(path);
        return found == m_requests.end() ? 0 : found->second;
    }

    int totalRequests() const {
        std::lock_guard lock(m_mutex);
        int total = 0;
        for (const auto& [path, count] : m_requests) total += count;
        return total;
    }

    int heldAnswered() const {
        std::lock_guard lock(m_mutex);
        return m_heldAnswered;
    }

private:
    void record(const httplib::Request& req) {
        {
            std::lock_guard lock(m_mutex);
            ++m_requests[req.path];
        }
        platform::RunLoop::main().post([] {});
    }

    void answer(const httplib::Request& req, httplib::Response& res) {
        std::lock_guard lock(m_mutex);
        auto found = m_files.find(req.path);
        if (found == m_files.end()) {
            res.status = 404;
            res.set_content("not found", "text/plain");
            return;
        }
        res.set_content(found->second, "image/png");
    }

    httplib::Server m_server;
    int m_port{0};
    std::thread m_thread;
    mutable std::mutex m_mutex;
    std::condition_variable m_released;
    bool m_release{false};
    int m_heldAnswered{0};
    std::map<std::string, std::string> m_files;
    std::map<std::string, int> m_requests;
};

}  // namespace componentstest
