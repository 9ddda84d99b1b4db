#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "client/NetTool.h"
#include "client/PagedListState.h"
#include "client/Record.h"

namespace platform {
class TableView;
}

// The part of a paged list that does not depend on its record type: the paging state, the
// pull-down header and pull-up footer on a table, the requests and what their replies do.
// Every list screen of the client goes through PagedList<Record> below.
//
// Replies are applied as PagedListState decides: one superseded by a newer reload is dropped;
// a reload empties the rows before its own are appended; a failed load-more gives its page
// back. Any reply that is applied or fails ends both refresh controls, and a failure keeps
// the rows. Everything runs on the main loop; the controls' callbacks and the requests'
// completions hold the list weakly, so a reply arriving after its screen has gone does nothing.
class PagedListBase : public std::enable_shared_from_this<PagedListBase> {
public:
    static constexpr long kPageSize = PagedListState::kPageSize;

    // Sends the request for a page (size kPageSize) and calls exactly one of the blocks when it
    // completes, on the main loop.
    using PageRequest =
        std::function<void(long page, NetSuccessBlock success, NetFailureBlock failure)>;

    virtual ~PagedListBase();
    PagedListBase(const PagedListBase&) = delete;
    PagedListBase& operator=(const PagedListBase&) = delete;

    // --- What the screen hears (either may be empty) ----------------------------------------
    // A reply was applied: the rows changed, the controls ended and the table reloaded.
    std::function<void()> didLoad;
    // A request that still counted failed: the controls ended, the rows are as they were.
    std::function<void(const NetError& error)> didFail;

    // Puts the pull-down header (reload) and the pull-up footer (load more) on the table, and
    // reloads the table after each applied reply. The table is not kept alive by the list.
    void attachTo(const std::shared_ptr<platform::TableView>& table);
    // Shows the header refreshing and reloads through it (once the table is in a window);
    // without a table, just reloads.
    void beginRefreshing();

    // Pull-down: asks for page 1; its reply replaces the rows.
    void reload();
    // Pull-up: asks for the page after the last one asked for; its reply appends.
    void loadMore();

    const PagedListState& state() const { return m_state; }
    long nextPage() const { return m_state.nextPage(); }
    bool isUpLoading() const { return m_state.isUpLoading(); }

protected:
    explicit PagedListBase(PageRequest request);
    // Whether an object reply answers the request at all: one that does not fails like a
    // request that never came back, and the rows the user had stay. Any object does, unless
    // the list asks more of it.
    virtual bool answersRequest(const platform::Json& /*reply*/) const { return true; }
    // Empties the rows first when `replace`, then appends the reply's.
    virtual void applyReply(const platform::Json& reply, bool replace) = 0;

private:
    void send(const PagedListState::Request& request);
    void arrived(const PagedListState::Request& request, const platform::Json& reply);
    void failed(const PagedListState::Request& request, const NetError& error);
    void endRefreshing();

    PageRequest m_request;
    PagedListState m_state;
    std::weak_ptr<platform::TableView> m_table;
};

// A paged list of records of one type: the objects under the list key of each reply, filled
// through the record's field table (replies of the wrong shape give no rows, never a crash).
// The screen is the table's data source and reads records().
//
// An element of the list that is not an object is skipped, unless the list is told that such
// a reply is no answer (rejectStrayElements): then the whole reply fails and nothing of it is
// applied.
template <typename Record>
class PagedList final : public PagedListBase {
public:
    static std::shared_ptr<PagedList> create(std::string listKey, PageRequest request) {
        return std::shared_ptr<PagedList>(new PagedList(std::move(listKey), std::move(request)));
    }

    // A reply whose list holds an element that is not an object fails like a failed request.
    void rejectStrayElements() { m_rejectStrayElements = true; }

    const std::vector<Record>& records() const { return m_records; }
    std::size_t size() const { return m_records.size(); }
    // The record of a row; null past the end.
    const Record* recordAt(std::size_t row) const {
        return row < m_records.size() ? &m_records[row] : nullptr;
    }

private:
    PagedList(std::string listKey, PageRequest request)
        : PagedListBase(std::move(request)), m_listKey(std::move(listKey)) {}

    bool answersRequest(const platform::Json& reply) const override {
        if (!m_rejectStrayElements)
            return true;
        const auto list = reply.find(m_listKey);
        if (list == reply.end() || !list->is_array())
            return true;
        for (const auto& element : *list)
            if (!element.is_object())
                return false;
        return true;
    }
    void applyReply(const platform::Json& reply, bool replace) override {
        if (replace)
            m_records.clear();
        for (auto& record : recordsFromList<Record>(reply, m_listKey))
            m_records.push_back(std::move(record));
    }

    std::string m_listKey;
    bool m_rejectStrayElements = false;
    std::vector<Record> m_records;
};
