#pragma once

#include <memory>
#include <vector>

#include "platform/ui/TableViewDataSource.h"
#include "platform/ui/TableViewDelegate.h"
#include "platform/ui/View.h"
#include "widgets/PagedList.h"

namespace platform {
class TableView;
}

// One page of the career hub: a list of one kind from the career service, ten rows at a
// time, pull-down to reload and pull-up for the next page, 80-point rows with a disclosure
// arrow. The four pages are this one design over two records (RecruitmentModel, JobFairModel,
// each shown by the cell in its own way); a page's kind says what it asks for, logs and titles
// its detail screen, and a subclass says which operation of the hub a tapped row calls.
//
// A page asks for its first page through its pull-down header as soon as its table is in a
// window, so the four pages of the hub ask together when the hub opens. A failed request
// writes the log line and ends the refresh controls; the rows stay.
template <typename Record>
class EmploymentListPage : public platform::View,
                           public platform::TableViewDataSource,
                           public platform::TableViewDelegate {
public:
    struct Kind {
        const char* type;         // the EmploymentInfoType the page asks for
        const char* detailTitle;  // the title of the detail screen a row opens
        const char* logFormat;    // the log line of each request's address
    };

    static constexpr double kRowHeight = 80;

    ~EmploymentListPage() override;

    const Kind& kind() const { return m_kind; }
    const std::shared_ptr<platform::TableView>& myTableView() const { return m_myTableView; }
    // The rows shown, in reply order, page after page.
    const std::vector<Record>& array() const { return m_list->records(); }
    // Whether the last load started was a pull-up; the page the last pull-up asked for.
    bool isDownLoading() const { return m_list->isUpLoading(); }
    long nextPage() const { return m_list->nextPage(); }

    // --- Table data source and delegate ---------------------------------------------------
    int numberOfRowsInSection(platform::TableView& tableView, int section) override;
    std::shared_ptr<platform::TableViewCell> cellForRowAtIndexPath(
        platform::TableView& tableView, const platform::IndexPath& indexPath) override;
    double heightForRowAtIndexPath(platform::TableView& tableView,
                                   const platform::IndexPath& indexPath) override;
    void willDisplayCell(platform::TableView& tableView, platform::TableViewCell& cell,
                         const platform::IndexPath& indexPath) override;
    void didSelectRowAtIndexPath(platform::TableView& tableView,
                                 const platform::IndexPath& indexPath) override;

protected:
    explicit EmploymentListPage(const Kind& kind);

    // A page made and built, its first load waiting for the window: what `new` gives on the
    // phone.
    template <typename Page>
    static std::shared_ptr<Page> create() {
        auto page = View::make<Page>();
        page->createUI();
        return page;
    }

    // Asks the hub to open the tapped row (the row is one of array()).
    virtual void openRow(const platform::IndexPath& indexPath) = 0;

private:
    void createUI();
    void addRefreshControls();
    void failed(const NetError& error);

    Kind m_kind;
    std::shared_ptr<platform::TableView> m_myTableView;
    std::shared_ptr<PagedList<Record>> m_list;
};

struct RecruitmentModel;
struct JobFairModel;
extern template class EmploymentListPage<RecruitmentModel>;
extern template class EmploymentListPage<JobFairModel>;
