#pragma once

#include <chrono>
#include <cstddef>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "fakes/RecordedRequest.h"
#include "fakes/Reply.h"
#include "fakes/ShareRoutes.h"

namespace fakes {

// The school's services on one loopback port: the app service ("/vobels/services/..."), the
// career and statistics service ("/edu/..."), the user-information service
// ("//manage/user/queryUserInfoForOldApp"), the weather document, the store lookup, the
// school's web pages and the share service ("/share/...", see ShareRoutes), all answered
// from the sample data. Every request is recorded before it
// is answered; tests may replace the reply of any route.
//
// Handlers run on the server's own threads; every member is safe to call from any thread.
// Each arrival, answer and held reply wakes the main run loop, so a test may wait for them
// with the loop's runUntil while the client runs.
class FakeSchoolServices {
public:
    // Reads the sample data at once; throws std::runtime_error naming a missing or broken file.
    explicit FakeSchoolServices(std::filesystem::path sampleDir = defaultSampleDir());
    ~FakeSchoolServices();  // stops
    FakeSchoolServices(const FakeSchoolServices&) = delete;
    FakeSchoolServices& operator=(const FakeSchoolServices&) = delete;

    // Binds 127.0.0.1 (port 0: the system chooses) and serves on a background thread. Returns
    // the port once connections are accepted; throws std::runtime_error when it cannot bind.
    int start(int port = 0);
    // Stops serving; a reply still waiting out its delay, or held, is sent at once.
    void stop();
    int port() const;
    std::string baseUrl() const;  // "http://127.0.0.1:PORT"
    // The share service's base address, "http://127.0.0.1:PORT/share/": the share SDK's
    // paths follow it directly.
    std::string shareServiceBase() const;
    // The share service's requests as it opened them, in arrival order (cleared by
    // clearRequests).
    std::vector<ShareServiceRequest> shareRequests() const;

    // Replaces the reply of one route. The path has no query; "//x" and "/x" name one route.
    void setReply(const std::string& method, const std::string& path, Reply reply);
    void setHandler(const std::string& method, const std::string& path,
                    std::function<Reply(const RecordedRequest&)> handler);
    // Back to the sample data's replies, none held from now on (those held stay held).
    void clearOverrides();
    // From now on the store lookup offers this version (the sample offers the installed one).
    void offerStoreVersion(std::string version);

    // Keeps back every later reply of the route until the test releases it, so that a test
    // orders replies itself instead of by delays. Requests are still recorded on arrival.
    void holdReplies(const std::string& method, const std::string& path);
    // The requests of the route whose replies are held now, in arrival order.
    std::vector<RecordedRequest> heldRequests(const std::string& path) const;
    // True once at least `count` replies of the route are held (decided and waiting).
    bool waitForHeld(const std::string& path, std::size_t count,
                     std::chrono::milliseconds timeout) const;
    // Sends the reply held for the index-th of heldRequests(path). False when there is none.
    bool releaseHeld(const std::string& path, std::size_t index = 0);

    std::vector<RecordedRequest> requests() const;  // in arrival order
    std::vector<RecordedRequest> requestsTo(const std::string& path) const;
    void clearRequests();
    // True once at least `count` requests have arrived (since the last clearRequests).
    bool waitForRequests(std::size_t count, std::chrono::milliseconds timeout) const;

    // $CAMPUS_RESOURCES/sample when set, else the repository's resources/sample.
    static std::filesystem::path defaultSampleDir();

private:
    class State;
    std::unique_ptr<State> m_state;
};

}  // namespace fakes
