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
#include <memory>
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
//   GET  /hops/N         302 to /hops/N-1, and /hops/0 to /hello (a chain of N redirects)
//   GET  /to-file, /to-ftp  302 to a file: or ftp: address
//   GET  /to-command     302 to "campus-cmd://scan", a page command's own scheme
//   GET  /loop           302 to itself
//   POST /posted         303 to /hello
//   GET  /cut            announces 100,000 bytes, sends a few and closes the connection
//   POST or PUT /echo    200 with the request body
//   POST /upload         records multipart parts in the order they arrive
class TestServer {
public:
    TestServer() {
        // One request a connection: a web engine keeps idle connections open, and a server
        // stopped under them would wait out their keep-alive (seconds) in every test.
        m_server.set_keep_alive_max_count(1);
        serve("/hello", "hello", "Text/HTML; charset=utf-8");
        serve("/fail", "{\"broken\":true}", "application/json", 500);
        serve("/slow", "late", "text/plain");
        m_server.Get("/redirect", [](const httplib::Request&, httplib::Response& res) {
            res.set_redirect("/hello");
        });
        m_server.Get(R"(/hops/(\d+))", [](const httplib::Request& req, httplib::Response& res) {
            int left = std::stoi(req.matches[1]);
            res.set_redirect(left > 0 ? "/hops/" + std::to_string(left - 1) : "/hello");
        });
        m_server.Get("/to-file", [](const httplib::Request&, httplib::Response& res) {
            res.set_redirect("file:///etc/hostname");
        });
        m_server.Get("/to-ftp", [](const httplib::Request&, httplib::Response& res) {
            res.set_redirect("ftp://127.0.0.1/hello");
        });
        m_server.Get("/to-command", [](const httplib::Request&, httplib::Response& res) {
            res.set_redirect("campus-cmd://scan");
        });
        m_server.Get("/loop", [](const httplib::Request&, httplib::Response& res) {
            res.set_redirect("/loop");
        });
        m_server.Post("/posted", [this](const httplib::Request& req, httplib::Response& res) {
            record(req, {});
            res.set_redirect("/hello", 303);
        });
        m_server.Get("/cut", [](const httplib::Request&, httplib::Response& res) {
            res.set_content_provider(100000, "text/plain",
                                     [](size_t, size_t, httplib::DataSink& sink) {
                                         sink.write("the start", 9);
                                         return false;  // httplib then drops the connection
                                     });
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
                if (found->second.encoding.empty()) {
                    res.set_content(found->second.body, found->second.type);
                } else {
                    // Already encoded: a provider of known length is sent as it is, where
                    // set_content could compress it again.
                    res.set_header("Content-Encoding", found->second.encoding);
                    auto body = std::make_shared<std::string>(found->second.body);
                    res.set_content_provider(
                        body->size(), found->second.type,
                        [body](size_t offset, size_t length, httplib::DataSink& sink) {
                            return sink.write(body->data() + offset, length);
                        });
                }
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
        m_pages[path] = {status, std::move(body), std::move(type), ""};
    }
    // A body already content-encoded ("gzip"), sent with that Content-Encoding.
    void serveEncoded(const std::string& path, std::string body, std::string encoding) {
        std::lock_guard lock(m_mutex);
        m_pages[path] = {200, std::move(body), "application/octet-stream", std::move(encoding)};
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
        std::string encoding;
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

// A loopback port that takes connections (the kernel completes them) but never reads or
// answers: a server that has hung.
class SilentListener {
public:
    SilentListener() {
        m_fd = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof(address);
        bind(m_fd, reinterpret_cast<sockaddr*>(&address), sizeof(address));
        listen(m_fd, 8);
        getsockname(m_fd, reinterpret_cast<sockaddr*>(&address), &length);
        m_port = ntohs(address.sin_port);
    }
    ~SilentListener() { close(m_fd); }
    SilentListener(const SilentListener&) = delete;
    SilentListener& operator=(const SilentListener&) = delete;

    std::string url(const std::string& path) const {
        return "http://127.0.0.1:" + std::to_string(m_port) + path;
    }

private:
    int m_fd{-1};
    int m_port{0};
};

}  // namespace nettest
