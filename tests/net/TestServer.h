#pragma once

#include <httplib.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

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

// A small HTTP server on 127.0.0.1 (free port) for the client to talk to:
//   GET  /hello     200 "hello", X-Test: yes, Content-Type: Text/HTML; charset=utf-8
//   GET  /fail      500 with a JSON body
//   GET  /slow      answers only once release() is called (or after 5 s)
//   GET  /redirect  302 to /hello
//   any  /echo      200 with the request body; records the request
//   POST /upload    records multipart parts in the order they arrive
class TestServer {
public:
    TestServer() {
        m_server.Get("/hello", [this](const httplib::Request& req, httplib::Response& res) {
            record(req, {});
            res.set_header("X-Test", "yes");
            res.set_content("hello", "Text/HTML; charset=utf-8");
        });
        m_server.Get("/fail", [](const httplib::Request&, httplib::Response& res) {
            res.status = 500;
            res.set_content("{\"broken\":true}", "application/json");
        });
        m_server.Get("/slow", [this](const httplib::Request&, httplib::Response& res) {
            std::unique_lock lock(m_mutex);
            m_released.wait_for(lock, std::chrono::seconds(5), [this] { return m_release; });
            res.set_content("late", "text/plain");
        });
        m_server.Get("/redirect", [](const httplib::Request&, httplib::Response& res) {
            res.set_redirect("/hello");
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

private:
    void record(const httplib::Request& req, std::vector<httplib::MultipartFormData> parts) {
        std::lock_guard lock(m_mutex);
        m_received.push_back(
            {req.method, req.path, req.headers, req.params, req.body, std::move(parts)});
    }

    httplib::Server m_server;
    int m_port{0};
    std::thread m_thread;
    mutable std::mutex m_mutex;
    std::condition_variable m_released;
    bool m_release{false};
    std::vector<Received> m_received;
};

// A loopback port nobody listens on: bound once for a number, then closed.
int deadPort();

}  // namespace nettest
