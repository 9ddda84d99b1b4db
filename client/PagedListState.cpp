#include "client/PagedListState.h"

PagedListState::Request PagedListState::beginReload() {
    m_isUpLoading = false;
    return Request{false, 1, m_generation, ++m_reloads};
}

PagedListState::Request PagedListState::beginLoadMore() {
    m_isUpLoading = true;
    return Request{true, ++m_nextPage, m_generation, m_reloads};
}

bool PagedListState::accept(const Request& request) {
    if (!isCurrent(request))
        return false;
    if (!request.loadMore) {
        m_nextPage = 1;
        ++m_generation;
    }
    return true;
}

bool PagedListState::fail(const Request& request) {
    if (!isCurrent(request))
        return false;
    if (request.loadMore && m_nextPage == request.page)
        m_nextPage = request.page - 1;
    return true;
}
