#pragma once

#include <cstdint>
#include <vector>

// The paging of a list that loads ten rows at a time: pull-down reloads page 1, pull-up asks
// for the page after the last one asked for.
//
// Each request remembers whether it was a reload or a load-more. A reply is applied only while
// no newer reload has superseded it: a reload reply is stale once a later reload has started,
// and a load-more is stale once a reload's rows replaced the list after it started (its rows
// were counted on the old list). A reload that failed replaced nothing and supersedes nothing.
// A failed load-more gives its page number back, so the next pull-up asks for it again; the
// load-mores started after it are stale too, as their rows were counted after a page the list
// will not have (applying them would leave a gap and put the retried page after them). The
// load-mores started before it still apply.
class PagedListState {
public:
    static constexpr long kPageSize = 10;

    struct Request {
        bool loadMore = false;
        long page = 1;
        std::uint64_t generation = 0;  // reload replies applied when the request started
        std::uint64_t reload = 0;      // reloads started when the request started
        std::uint64_t sequence = 0;    // load-mores started, this one included
    };

    // Pull-down: page 1.
    Request beginReload();
    // Pull-up: the counter moves on to the next page at once.
    Request beginLoadMore();

    // Whether a reply to the request still applies.
    bool isCurrent(const Request& request) const;
    // A successful reply arrived. False when it was superseded and must be dropped. For a
    // reload the caller empties its rows before appending the reply's; the counter is back
    // at 1 and load-mores still on their way are superseded.
    bool accept(const Request& request);
    // A request failed. False when it was superseded (nothing to report). A load-more gives
    // its page back and supersedes the load-mores started after it.
    bool fail(const Request& request);

    // The last page asked for by a pull-up; 1 after a reload.
    long nextPage() const { return m_nextPage; }
    // Whether the last load started was a load-more.
    bool isUpLoading() const { return m_isUpLoading; }

private:
    void forget(const Request& loadMore);

    long m_nextPage{1};
    bool m_isUpLoading{false};
    std::uint64_t m_generation{0};
    std::uint64_t m_reloads{0};
    std::uint64_t m_loadMores{0};
    // The load-mores on their way that still apply, oldest first.
    std::vector<std::uint64_t> m_pendingLoadMores;
};
