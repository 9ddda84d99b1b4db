#include "widgets/PagedList.h"

#include "client/WeakBind.h"
#include "components/refresh/ScrollViewRefresh.h"
#include "platform/ui/TableView.h"

PagedListBase::PagedListBase(PageRequest request) : m_request(std::move(request)) {}

PagedListBase::~PagedListBase() = default;

void PagedListBase::attachTo(const std::shared_ptr<platform::TableView>& table) {
    m_table = table;
    if (!table)
        return;
    const auto self = shared_from_this();
    platform::components::addHeaderWithCallback(*table, bindWeak(self, &PagedListBase::reload));
    platform::components::addFooterWithCallback(*table, bindWeak(self, &PagedListBase::loadMore));
}

void PagedListBase::beginRefreshing() {
    if (auto table = m_table.lock())
        platform::components::headerBeginRefreshing(*table);
    else
        reload();
}

void PagedListBase::reload() {
    send(m_state.beginReload());
}

void PagedListBase::loadMore() {
    send(m_state.beginLoadMore());
}

void PagedListBase::send(const PagedListState::Request& request) {
    if (!m_request)
        return;
    const auto self = shared_from_this();
    m_request(request.page, bindWeak(self, &PagedListBase::arrived, request),
              bindWeak(self, &PagedListBase::failed, request));
}

void PagedListBase::arrived(const PagedListState::Request& request, const platform::Json& reply) {
    // A reply that is not an object carries no list at all, so it is no answer to the request:
    // it fails like one that never came back, and the rows the user had stay.
    if (!reply.is_object()) {
        failed(request, NetError{0, "the reply is not an object", {}});
        return;
    }
    if (!answersRequest(reply)) {
        failed(request, NetError{0, "the reply's list holds an element that is not an object", {}});
        return;
    }
    if (!m_state.accept(request))
        return;
    applyReply(reply, !request.loadMore);
    endRefreshing();
    if (auto table = m_table.lock())
        table->reloadData();
    if (didLoad)
        didLoad();
}

void PagedListBase::failed(const PagedListState::Request& request, const NetError& error) {
    if (!m_state.fail(request))
        return;
    endRefreshing();
    if (didFail)
        didFail(error);
}

void PagedListBase::endRefreshing() {
    auto table = m_table.lock();
    if (!table)
        return;
    platform::components::footerEndRefreshing(*table);
    platform::components::headerEndRefreshing(*table);
}
