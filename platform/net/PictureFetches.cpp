#include "platform/net/PictureFetches.h"

#include <algorithm>
#include <deque>
#include <map>
#include <mutex>
#include <utility>

#include "platform/foundation/RunLoop.h"
#include "platform/net/HttpClient.h"

namespace platform {

struct PictureFetches::State : std::enable_shared_from_this<State> {
    struct Waiting {
        FetchId id;
        HttpRequest request;
        Completion completion;
    };

    // Guards `held`, which a Room let go on a background thread changes; the rest is touched on
    // the main thread only.
    mutable std::mutex mutex;
    std::int64_t held = 0;
    std::size_t rooms = 0;
    std::deque<Waiting> waiting;
    std::map<FetchId, HttpClient::RequestId> sent;
    FetchId nextId = 1;

    bool hasRoom() {
        std::lock_guard lock(mutex);
        return held + kMaxImageBodyBytes <= kMaxBytesInFlight;
    }

    Room takeRoom() {
        {
            std::lock_guard lock(mutex);
            held += kMaxImageBodyBytes;
            ++rooms;
        }
        std::weak_ptr<State> weak = weak_from_this();
        // A custom deleter on a token of no size: the room comes back with the last copy.
        return Room(static_cast<void*>(nullptr), [weak](void*) {
            if (auto state = weak.lock())
                state->giveBack();
        });
    }

    // Any thread.
    void giveBack() {
        {
            std::lock_guard lock(mutex);
            held -= kMaxImageBodyBytes;
            --rooms;
        }
        std::weak_ptr<State> weak = weak_from_this();
        RunLoop::main().post([weak] {
            if (auto state = weak.lock())
                state->startWaiting();
        });
    }

    void startWaiting() {
        while (!waiting.empty() && hasRoom()) {
            Waiting next = std::move(waiting.front());
            waiting.pop_front();
            start(next.id, std::move(next.request), std::move(next.completion));
        }
    }

    void start(FetchId id, HttpRequest request, Completion completion) {
        Room room = takeRoom();
        std::weak_ptr<State> weak = weak_from_this();
        sent[id] = HttpClient::shared().send(
            std::move(request), [weak, id, room = std::move(room),
                                 completion = std::move(completion)](HttpResponse response) {
                if (auto state = weak.lock())
                    state->sent.erase(id);
                if (completion)
                    completion(std::move(response), room);
            });
    }
};

PictureFetches& PictureFetches::shared() {
    static PictureFetches instance;
    return instance;
}

PictureFetches::PictureFetches() : m_state(std::make_shared<State>()) {}

PictureFetches::FetchId PictureFetches::fetch(HttpRequest request, Completion completion) {
    const FetchId id = m_state->nextId++;
    request.maxBodyBytes = std::min(request.maxBodyBytes, kMaxImageBodyBytes);
    if (request.maxBodyBytes <= 0)
        request.maxBodyBytes = kMaxImageBodyBytes;
    // Behind any already waiting, so that none is overtaken for ever.
    if (m_state->waiting.empty() && m_state->hasRoom())
        m_state->start(id, std::move(request), std::move(completion));
    else
        m_state->waiting.push_back({id, std::move(request), std::move(completion)});
    return id;
}

void PictureFetches::cancel(FetchId id) {
    if (auto found = m_state->sent.find(id); found != m_state->sent.end()) {
        // Its completion follows with "cancelled", and its room comes back.
        HttpClient::shared().cancel(found->second);
        return;
    }
    auto& waiting = m_state->waiting;
    auto found = std::find_if(waiting.begin(), waiting.end(),
                              [id](const State::Waiting& entry) { return entry.id == id; });
    if (found == waiting.end())
        return;
    Completion completion = std::move(found->completion);
    HttpResponse response;
    response.error = "cancelled";
    response.url = found->request.url;
    waiting.erase(found);
    if (completion) {
        // Never inside the caller's own call, as for a fetch under way.
        RunLoop::main().post(
            [completion = std::move(completion), response = std::move(response)]() mutable {
                completion(std::move(response), nullptr);
            });
    }
}

std::size_t PictureFetches::holdingRoom() const {
    std::lock_guard lock(m_state->mutex);
    return m_state->rooms;
}

std::size_t PictureFetches::waiting() const {
    return m_state->waiting.size();
}

}  // namespace platform
