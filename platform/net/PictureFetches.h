#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>

#include "platform/net/HttpRequest.h"
#include "platform/net/HttpResponse.h"

namespace platform {

// Fetches of pictures from other servers, held together to a total across all hosts. A
// picture's body may inflate a thousandfold on the way (64 KB of gzip that grow to 63 MB), and
// a page may hold dozens of pictures from as many hosts, which no per-host connection limit
// spaces out. So each body is held to kMaxImageBodyBytes, and a fetch starts only when that
// much fits beside the fetches under way in kMaxBytesInFlight; the others wait their turn, in
// the order they were asked for. A fetch's room is given back when the caller lets go of it,
// once the body has been decoded (or dropped), so bodies waiting to be decoded count too.
// Called on the main thread; a Room may be let go on any thread.
class PictureFetches {
public:
    // Six at a time, as a browser fetches from one host.
    static constexpr std::int64_t kMaxBytesInFlight = 6 * kMaxImageBodyBytes;

    using FetchId = std::uint64_t;
    // A fetch's share of the total, given back when the last copy goes.
    using Room = std::shared_ptr<void>;
    // Runs on the main loop exactly once, with the reply (error "cancelled" for a fetch
    // cancelled before it was answered) and its room.
    using Completion = std::function<void(HttpResponse, Room)>;

    static PictureFetches& shared();
    PictureFetches(const PictureFetches&) = delete;
    PictureFetches& operator=(const PictureFetches&) = delete;

    // The request's body limit is lowered to kMaxImageBodyBytes if it is higher.
    FetchId fetch(HttpRequest request, Completion completion);
    // An id that has completed is ignored.
    void cancel(FetchId id);

    // For tests and probes: fetches holding room (sent, or answered and not yet let go), and
    // fetches waiting for room.
    std::size_t holdingRoom() const;
    std::size_t waiting() const;

private:
    PictureFetches();
    struct State;
    std::shared_ptr<State> m_state;
};

}  // namespace platform
