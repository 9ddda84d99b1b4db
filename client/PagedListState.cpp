#include "client/PagedListState.h"

#include <algorithm>

PagedListState::Request PagedListState::beginReload() {
    m_isUpLoading = false;
    return Request{false, 1, m_generation, ++m_reloads, 0};
}

PagedListState::Request PagedListState::beginLoadMore() {
    m_isUpLoading = true;
    Request request{true, ++m_nextPage, m_generation, m_reloads, ++m_loadMores};
    m_pendingLoadMores.push_back(request.sequence);
    return request;
}

bool PagedListState::isCurrent(const Request& request) const {
    if (request.generation != m_generation)
        return false;
    if (!request.loadMore)
        return request.reload == m_reloads;
    return std::find(m_pendingLoadMores.begin(), m_pendingLoadMores.end(), request.sequence) !=
           m_pendingLoadMores.end();
}

bool PagedListState::accept(const Request& request) {
    if (!isCurrent(request))
        return false;
    if (request.loadMore) {
        forget(request);
    } else {
        m_nextPage = 1;
        ++m_generation;
        m_pendingLoadMores.clear();
    }
    return true;
}

bool PagedListState::fail(const Request& request) {
    if (!isCurrent(request))
        return false;
    if (request.loadMore) {
        m_nextPage = request.page - 1;
        // Pending sequences are in start order: this one and every later one go.
        m_pendingLoadMores.erase(
            std::find(m_pendingLoadMores.begin(), m_pendingLoadMores.end(), request.sequence),
            m_pendingLoadMores.end());
    }
    return true;
}

void PagedListState::forget(const Request& loadMore) {
    std::erase(m_pendingLoadMores, loadMore.sequence);
}
