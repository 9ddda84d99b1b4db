#pragma once

#include <memory>
#include <vector>

#include "campus/AcademicForum.h"
#include "platform/ui/TableViewDataSource.h"
#include "platform/ui/TableViewDelegate.h"
#include "platform/ui/ViewController.h"
#include "widgets/PagedList.h"

namespace platform {
class TableView;
namespace components {
class ProgressHUD;
}
}  // namespace platform

// The lecture list "学术讲座": the lectures the app service announces, ten at a time, pull-down
// to reload and pull-up for the next page. Each row is as high as its title needs; a tapped
// row opens the lecture's detail page. A failed request shows nothing but ends the refresh
// controls; the rows stay.
class AcademicForumViewController : public platform::ViewController,
                                    public platform::TableViewDataSource,
                                    public platform::TableViewDelegate {
public:
    static constexpr const char* kTitle = "学术讲座";
    static constexpr const char* kLoadingText = "加载中";
    // The first load's overlay goes after this long if no reply takes it away.
    static constexpr double kLoadingSeconds = 20;

    AcademicForumViewController();
    ~AcademicForumViewController() override;

    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void viewDidAppear(bool animated) override;

    const std::shared_ptr<platform::TableView>& myTableView() const { return m_myTableView; }
    const std::vector<AcademicForum>& allLectureArr() const { return m_list->records(); }
    // Whether the last load started was a pull-up; the page the last pull-up asked for.
    bool isDownLoading() const { return m_list->isUpLoading(); }
    long nextPage() const { return m_list->nextPage(); }
    const std::shared_ptr<platform::components::ProgressHUD>& HUD() const { return m_HUD; }

    // --- Table data source and delegate ---------------------------------------------------
    int numberOfRowsInSection(platform::TableView& tableView, int section) override;
    std::shared_ptr<platform::TableViewCell> cellForRowAtIndexPath(
        platform::TableView& tableView, const platform::IndexPath& indexPath) override;
    double heightForRowAtIndexPath(platform::TableView& tableView,
                                   const platform::IndexPath& indexPath) override;
    void didSelectRowAtIndexPath(platform::TableView& tableView,
                                 const platform::IndexPath& indexPath) override;

private:
    void createTabBar();
    void backBtnWithAction();
    void addHeader();
    static void getAcademicForumData(long page, NetSuccessBlock success, NetFailureBlock failure);
    void loaded();

    std::shared_ptr<platform::TableView> m_myTableView;
    std::shared_ptr<PagedList<AcademicForum>> m_list = PagedList<AcademicForum>::create(
        "Lecture", &AcademicForumViewController::getAcademicForumData);
    std::shared_ptr<platform::components::ProgressHUD> m_HUD;
};
