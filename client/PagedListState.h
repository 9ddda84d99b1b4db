#pragma once

#include <cstdint>

// The paging of a list that loads ten rows at a time: pull-down reloads page 1, pull-up asks
// for the page after the last one asked for.
//
// Each request remembers whether it was a reload or a load-more. A reply is applied only while
// no newer reload has superseded it: a reload reply is stale once a later reload has started,
// and a load-more is stale once a reload's rows replaced the list after it started (its rows
// were counted on the old list). A reload that failed replaced nothing and supersedes nothing.
// A failed load-more gives its page number back, so the next pull-up asks for it again.
class PagedListState {
public:
    static constexpr long kPageSize = 10;

    struct Request {
        bool loadMore = false;
        long page = 1;
        std::uint64_t generation = 0;  // reload replies applied when the request started
        std::uint64_t reload = 0;      // reloads started when the request started
    };

    // Pull-down: page 1.
    Request beginReload();
    // Pull-up: the counter moves on to the next page at once.
    Request beginLoadMore();

    // Whether a reply to the request still applies.
    bool isCurrent(const Request& request) const {
        return request.generation == m_generation &&
               (request.loadMore || request.reload == m_reloads);
    }
    // A successful reply arrived. False when it was superseded and must be dropped. For a
    // reload the caller empties its rows before appending the reply's; the counter is back
    // at 1 and load-mores still on their way are superseded.
    bool accept(const Request& request);
    // A request failed. False when it was superseded (nothing to report). A load-more that
    // is still the latest gives its page back.
    bool fail(const Request& request);

    // The last page asked for by a pull-up; 1 after a reload.
    long nextPage() const { return m_nextPage; }
    // Whether the last load started was a load-more.
    bool isUpLoading() const { return m_isUpLoading; }

private:
    long m_nextPage{1};
    bool m_isUpLoading{false};
    std::uint64_t m_generation{0};
    std::uint64_t m_reloads{0};
};
