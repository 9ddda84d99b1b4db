#include "fakes/FakeSchoolServices.h"

#include <httplib.h>

#include <condition_variable>
#include <cstdlib>
#include <exception>
#include <map>
#include <mutex>
#include <set>
#include <stdexcept>
#include <thread>
#include <utility>

#include "fakes/MultipartBody.h"
#include "fakes/SchoolRoutes.h"
#include "platform/foundation/RunLoop.h"

namespace fakes {

namespace {

using Handler = std::function<Reply(const RecordedRequest&)>;

// Idle keep-alive connections each hold a server thread, and a client screen may open several
// connections at once, so the pool is larger than the library's default.
constexpr std::size_t kServerThreads = 24;
constexpr auto kStartBound = std::chrono::seconds(5);

std::string routeMethod(const std::string& method) {
    return method == "HEAD" ? "GET" : method;
}

// Where the multipart Content-Type waits while the body is read (see hideMultipartType).
constexpr const char* kHiddenContentType = "X-Fake-Multipart-Content-Type";

// cpp-httplib 0.11 gives a multipart body only to its own parser, which drops the field and
// file names of parts written without quotes, as the web container writes its uploads. Hiding
// the type until the body has been read lets the log keep the bytes exactly as they were sent.
httplib::Server::HandlerResponse hideMultipartType(const httplib::Request& request,
                                                   httplib::Response&) {
    if (request.is_multipart_form_data()) {
        // The request object belongs to the server's connection loop and is not const itself.
        auto& editable = const_cast<httplib::Request&>(request);
        const std::string type = editable.get_header_value("Content-Type");
        editable.headers.erase("Content-Type");
        editable.set_header("Content-Type", "application/octet-stream");
        editable.set_header(kHiddenContentType, type);
    }
    return httplib::Server::HandlerResponse::Unhandled;
}

RecordedRequest recordOf(const httplib::Request& request, std::string body) {
    RecordedRequest recorded;
    recorded.method = request.method;
    recorded.path = request.path;
    recorded.target = request.target;
    recorded.query = decodeQuery(request.target);
    const bool hidden = request.has_header(kHiddenContentType);
    const std::string contentType =
        request.get_header_value(hidden ? kHiddenContentType : "Content-Type");
    for (const auto& [name, value] : request.headers) {
        if (name == kHiddenContentType)
            continue;
        const bool isType = hidden && name == "Content-Type";  // as set by hideMultipartType
        recorded.headers.emplace_back(name, isType ? contentType : value);
    }
    recorded.parts = splitMultipart(contentType, body);
    recorded.body = std::move(body);
    return recorded;
}

Reply failureReply(const std::string& what) {
    Reply reply;
    reply.status = 500;
    reply.body = platform::Json{{"error", what}}.dump(-1, ' ', false,
                                                      platform::Json::error_handler_t::replace);
    return reply;
}

}  // namespace

class FakeSchoolServices::State {
public:
    explicit State(const std::filesystem::path& sampleDir)
        : m_routes(sampleDir), m_share(sampleDir) {}

    void serve(const httplib::Request& request, httplib::Response& response, std::string body) {
        RecordedRequest recorded = recordOf(request, std::move(body));
        Handler handler;
        std::optional<Reply> fixed;
        std::shared_ptr<Held> held;
        {
            std::lock_guard lock(m_mutex);
            m_requests.push_back(recorded);
            const Route route{routeMethod(recorded.method), canonicalPath(recorded.path)};
            const auto it = m_overrides.find(route);
            if (it != m_overrides.end()) {
                handler = it->second.handler;
                fixed = it->second.reply;
            }
            if (m_holds.count(route))
                held = std::make_shared<Held>(Held{route.second, recorded, false});
        }
        arrived();

        Reply reply;
        try {
            reply = handler                               ? handler(recorded)
                    : fixed                               ? *fixed
                    : ShareRoutes::handles(recorded.path) ? m_share.answer(recorded)
                                                          : m_routes.answer(recorded);
        } catch (const std::exception& error) {
            reply = failureReply(error.what());
        } catch (...) {
            reply = failureReply("unknown error");
        }
        // The share service records what it heard while answering.
        arrived();
        if (held) {
            // Counted as held only once its reply is decided, so a handler that answers by
            // arrival order sees the requests in the order a test waited for them.
            {
                std::lock_guard lock(m_mutex);
                m_held.push_back(held);
            }
            arrived();
            std::unique_lock lock(m_mutex);
            m_released.wait(lock, [&] { return held->released || m_stopping; });
            std::erase(m_held, held);
        }
        if (reply.delay > std::chrono::milliseconds::zero()) {
            std::unique_lock lock(m_mutex);
            m_released.wait_for(lock, reply.delay, [this] { return m_stopping; });
        }
        response.status = reply.status;
        if (!reply.location.empty())
            response.set_header("Location", reply.location);
        if (reply.dropConnection) {
            // A provider that gives nothing makes the server close the connection short of
            // the length it announced (well short: a web engine may make up a byte or two of
            // an empty page).
            response.set_content_provider(
                reply.body.size() + 1024, reply.contentType.c_str(),
                [](std::size_t, std::size_t, httplib::DataSink&) { return false; });
        } else if (!reply.contentEncoding.empty()) {
            // Of known length, so the server sends it as it is rather than encode it again.
            response.set_header("Content-Encoding", reply.contentEncoding);
            auto body = std::make_shared<std::string>(std::move(reply.body));
            response.set_content_provider(
                body->size(), reply.contentType.c_str(),
                [body](std::size_t offset, std::size_t length, httplib::DataSink& sink) {
                    return sink.write(body->data() + offset, length);
                });
        } else if (reply.contentType.empty())
            response.body = std::move(reply.body);
        else
            response.set_content(reply.body, reply.contentType.c_str());
    }

    // A test waiting for a request or a held reply may be waiting on the main run loop (which
    // must run for the client to send the next request): it is woken to look again, so it
    // does not sleep out its bound.
    void arrived() {
        m_arrived.notify_all();
        platform::RunLoop::main().wake();
    }

    void registerHandlers(httplib::Server& server) {
        const auto plain = [this](const httplib::Request& request, httplib::Response& response) {
            serve(request, response, request.body);
        };
        const auto withBody = [this](const httplib::Request& request, httplib::Response& response,
                                     const httplib::ContentReader& reader) {
            // The raw body, multipart included, so the log shows exactly what was sent.
            std::string body;
            reader([&body](const char* data, std::size_t length) {
                body.append(data, length);
                return true;
            });
            serve(request, response, std::move(body));
        };
        server.set_pre_routing_handler(hideMultipartType);
        server.Get(".*", plain);
        server.Delete(".*", plain);
        server.Options(".*", plain);
        server.Post(".*", withBody);
        server.Put(".*", withBody);
        server.Patch(".*", withBody);
    }

    using Route = std::pair<std::string, std::string>;  // method, canonical path
    struct Override {
        std::optional<Reply> reply;
        Handler handler;
    };
    struct Held {
        std::string path;  // canonical
        RecordedRequest request;
        bool released = false;
    };

    // The held replies of the route not yet released, in arrival order.
    std::vector<std::shared_ptr<Held>> heldOn(const std::string& path) const {
        std::vector<std::shared_ptr<Held>> waiting;
        for (const auto& held : m_held) {
            if (held->path == path && !held->released)
                waiting.push_back(held);
        }
        return waiting;
    }

    SchoolRoutes m_routes;
    ShareRoutes m_share;
    std::unique_ptr<httplib::Server> m_server;
    std::thread m_thread;
    int m_port = 0;

    mutable std::mutex m_mutex;  // guards everything below
    mutable std::condition_variable m_arrived;
    std::condition_variable m_released;
    bool m_stopping = false;
    std::vector<RecordedRequest> m_requests;
    std::map<Route, Override> m_overrides;
    std::set<Route> m_holds;
    std::vector<std::shared_ptr<Held>> m_held;  // arrival order
};

FakeSchoolServices::FakeSchoolServices(std::filesystem::path sampleDir)
    : m_state(std::make_unique<State>(sampleDir)) {}

FakeSchoolServices::~FakeSchoolServices() {
    stop();
}

int FakeSchoolServices::start(int port) {
    if (m_state->m_server)
        return m_state->m_port;
    auto server = std::make_unique<httplib::Server>();
    server->new_task_queue = [] { return new httplib::ThreadPool(kServerThreads); };
    // One request a connection: a web engine keeps idle connections open, and a server stopped
    // under them would wait out their keep-alive (seconds) in every test.
    server->set_keep_alive_max_count(1);
    m_state->registerHandlers(*server);
    int bound = -1;
    if (port == 0)
        bound = server->bind_to_any_port("127.0.0.1");
    else if (server->bind_to_port("127.0.0.1", port))
        bound = port;
    if (bound <= 0)
        throw std::runtime_error("fake school services: cannot listen on 127.0.0.1:" +
                                 std::to_string(port));
    {
        std::lock_guard lock(m_state->m_mutex);
        m_state->m_stopping = false;
    }
    m_state->m_port = bound;
    m_state->m_thread = std::thread([raw = server.get()] { raw->listen_after_bind(); });
    // The socket already queues connections; waiting for the accept loop keeps stop() simple.
    const auto deadline = std::chrono::steady_clock::now() + kStartBound;
    while (!server->is_running() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    m_state->m_server = std::move(server);
    return bound;
}

void FakeSchoolServices::stop() {
    if (!m_state->m_server)
        return;
    {
        std::lock_guard lock(m_state->m_mutex);
        m_state->m_stopping = true;
    }
    m_state->m_released.notify_all();
    m_state->m_server->stop();
    if (m_state->m_thread.joinable())
        m_state->m_thread.join();
    m_state->m_server.reset();
    m_state->m_port = 0;
}

int FakeSchoolServices::port() const {
    return m_state->m_port;
}

std::string FakeSchoolServices::baseUrl() const {
    return "http://127.0.0.1:" + std::to_string(m_state->m_port);
}

std::string FakeSchoolServices::shareServiceBase() const {
    return baseUrl() + std::string(ShareRoutes::kPrefix);
}

std::vector<ShareServiceRequest> FakeSchoolServices::shareRequests() const {
    return m_state->m_share.requests();
}

void FakeSchoolServices::setReply(const std::string& method, const std::string& path, Reply reply) {
    std::lock_guard lock(m_state->m_mutex);
    m_state->m_overrides[{routeMethod(method), canonicalPath(path)}] = {std::move(reply), {}};
}

void FakeSchoolServices::setHandler(const std::string& method, const std::string& path,
                                    std::function<Reply(const RecordedRequest&)> handler) {
    std::lock_guard lock(m_state->m_mutex);
    m_state->m_overrides[{routeMethod(method), canonicalPath(path)}] = {std::nullopt,
                                                                        std::move(handler)};
}

void FakeSchoolServices::clearOverrides() {
    std::lock_guard lock(m_state->m_mutex);
    m_state->m_overrides.clear();
    m_state->m_holds.clear();
}

void FakeSchoolServices::holdReplies(const std::string& method, const std::string& path) {
    std::lock_guard lock(m_state->m_mutex);
    m_state->m_holds.insert({routeMethod(method), canonicalPath(path)});
}

std::vector<RecordedRequest> FakeSchoolServices::heldRequests(const std::string& path) const {
    std::vector<RecordedRequest> held;
    std::lock_guard lock(m_state->m_mutex);
    for (const auto& entry : m_state->heldOn(canonicalPath(path))) held.push_back(entry->request);
    return held;
}

bool FakeSchoolServices::waitForHeld(const std::string& path, std::size_t count,
                                     std::chrono::milliseconds timeout) const {
    const std::string wanted = canonicalPath(path);
    std::unique_lock lock(m_state->m_mutex);
    return m_state->m_arrived.wait_for(lock, timeout,
                                       [&] { return m_state->heldOn(wanted).size() >= count; });
}

bool FakeSchoolServices::releaseHeld(const std::string& path, std::size_t index) {
    {
        std::lock_guard lock(m_state->m_mutex);
        const auto waiting = m_state->heldOn(canonicalPath(path));
        if (index >= waiting.size())
            return false;
        waiting[index]->released = true;
    }
    m_state->m_released.notify_all();
    return true;
}

void FakeSchoolServices::offerStoreVersion(std::string version) {
    m_state->m_routes.offerStoreVersion(std::move(version));
}

std::vector<RecordedRequest> FakeSchoolServices::requests() const {
    std::lock_guard lock(m_state->m_mutex);
    return m_state->m_requests;
}

std::vector<RecordedRequest> FakeSchoolServices::requestsTo(const std::string& path) const {
    const std::string wanted = canonicalPath(path);
    std::vector<RecordedRequest> matching;
    std::lock_guard lock(m_state->m_mutex);
    for (const auto& request : m_state->m_requests) {
        if (canonicalPath(request.path) == wanted)
            matching.push_back(request);
    }
    return matching;
}

void FakeSchoolServices::clearRequests() {
    std::lock_guard lock(m_state->m_mutex);
    m_state->m_requests.clear();
    m_state->m_share.clearRequests();
}

bool FakeSchoolServices::waitForRequests(std::size_t count,
                                         std::chrono::milliseconds timeout) const {
    std::unique_lock lock(m_state->m_mutex);
    return m_state->m_arrived.wait_for(lock, timeout,
                                       [&] { return m_state->m_requests.size() >= count; });
}

std::filesystem::path FakeSchoolServices::defaultSampleDir() {
    if (const char* resources = std::getenv("CAMPUS_RESOURCES"); resources && *resources)
        return std::filesystem::path(resources) / "sample";
    return std::filesystem::path(CAMPUS_RESOURCE_DIR) / "sample";
}

}  // namespace fakes
