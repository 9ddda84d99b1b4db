#pragma once

#include <arpa/inet.h>
#include <httplib.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/foundation/RunLoop.h"

namespace nettest {

// What the server saw of one request.
struct Received {
    std::string method;
    std::string path;
    httplib::Headers headers;
    httplib::Params params;
    std::string body;
    std::vector<httplib::MultipartFormData> parts;  // in arrival order

    bool hasHeader(const std::string& name) const { return headers.count(name) > 0; }
    std::string header(const std::string& name) const {
        auto found = headers.find(name);
        return found == headers.end() ? std::string("<absent>") : found->second;
    }
};

// A small HTTP server on 127.0.0.1 (free port). It records every request, and every request
// that arrives or is answered wakes the main run loop, so a test in runUntil sees it at once.
//   GET  any path        what serve() registered for it (X-Test: yes), else 404
//   GET  /slow, /held/…  the same, but only once release() is called (or after 5 s)
//   GET  /hello          200 "hello", Content-Type: Text/HTML; charset=utf-8
//   GET  /fail           500 with a JSON body
//   GET  /redirect       302 to /hello
//   POST or PUT /echo    200 with the request body
//   POST /upload         records multipart parts in the order they arrive
class TestServer {
public:
    TestServer() {
        serve("/hello", "hello", "Text/HTML; charset=utf-8");
        serve("/fail", "{\"broken\":true}", "application/json", 500);
        serve("/slow", "late", "text/plain");
        m_server.Get("/redirect", [](const httplib::Request&, httplib::Response& res) {
            res.set_redirect("/hello");
        });
        m_server.Get(".*", [this](const httplib::Request& req, httplib::Response& res) {
            record(req, {});
            bool held = req.path == "/slow" || req.path.starts_with("/held/");
            std::unique_lock lock(m_mutex);
            if (held) {
                m_released.wait_for(lock, std::chrono::seconds(5), [this] { return m_release; });
            }
            auto found = m_pages.find(req.path);
            if (found == m_pages.end()) {
                res.status = 404;
                res.set_content("not found", "text/plain");
            } else {
                res.status = found->second.status;
                res.set_header("X-Test", "yes");
                res.set_content(found->second.body, found->second.type);
            }
            m_heldAnswered += held;
            lock.unlock();
            platform::RunLoop::main().post([] {});
        });
        auto echo = [this](const httplib::Request& req, httplib::Response& res) {
            record(req, {});
            res.set_content(req.body, "application/octet-stream");
        };
        m_server.Post("/echo", echo);
        m_server.Put("/echo", echo);
        m_server.Post("/upload", [this](const httplib::Request& req, httplib::Response& res,
                                        const httplib::ContentReader& reader) {
            std::vector<httplib::MultipartFormData> parts;
            if (req.is_multipart_form_data()) {
                reader(
                    [&](const httplib::MultipartFormData& part) {
                        parts.push_back(part);
                        return true;
                    },
                    [&](const char* data, size_t length) {
                        parts.back().content.append(data, length);
                        return true;
                    });
            }
            record(req, std::move(parts));
            res.set_content("{}", "application/json");
        });
        m_port = m_server.bind_to_any_port("127.0.0.1");
        m_thread = std::thread([this] { m_server.listen_after_bind(); });
        while (!m_server.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }

    ~TestServer() {
        release();
        m_server.stop();
        m_thread.join();
    }

    TestServer(const TestServer&) = delete;
    TestServer& operator=(const TestServer&) = delete;

    std::string url(const std::string& path) const {
        return "http://127.0.0.1:" + std::to_string(m_port) + path;
    }

    void serve(const std::string& path, std::string body, std::string type = "text/html",
               int status = 200) {
        std::lock_guard lock(m_mutex);
        m_pages[path] = {status, std::move(body), std::move(type)};
    }

    void release() {
        {
            std::lock_guard lock(m_mutex);
            m_release = true;
        }
        m_released.notify_all();
    }

    std::vector<Received> received() const {
        std::lock_guard lock(m_mutex);
        return m_received;
    }
    Received last() const {
        std::lock_guard lock(m_mutex);
        return m_received.empty() ? Received{} : m_received.back();
    }
    std::vector<std::string> paths() const {
        std::vector<std::string> paths;
        for (const auto& request : received()) paths.push_back(request.path);
        return paths;
    }
    int requests(const std::string& path) const {
        auto all = paths();
        return int(std::count(all.begin(), all.end(), path));
    }
    int heldAnswered() const {
        std::lock_guard lock(m_mutex);
        return m_heldAnswered;
    }

private:
    struct Page {
        int status;
        std::string body;
        std::string type;
    };

    void record(const httplib::Request& req, std::vector<httplib::MultipartFormData> parts) {
        {
            std::lock_guard lock(m_mutex);
            m_received.push_back(
                {req.method, req.path, req.headers, req.params, req.body, std::move(parts)});
        }
        platform::RunLoop::main().post([] {});
    }

    httplib::Server m_server;
    int m_port{0};
    std::thread m_thread;
    mutable std::mutex m_mutex;
    std::condition_variable m_released;
    bool m_release{false};
    int m_heldAnswered{0};
    std::map<std::string, Page> m_pages;
    std::vector<Received> m_received;
};

// A loopback port nobody listens on: bound once for a number, then closed.
inline int deadPort() {
    int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof(address);
    bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address));
    getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    close(fd);
    return ntohs(address.sin_port);
}

}  // namespace nettest
