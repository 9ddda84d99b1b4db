#pragma once

#include <memory>
#include <string>
#include <vector>

#include "career/NewStaitistics.h"
#include "platform/foundation/Json.h"
#include "platform/ui/TableViewDataSource.h"
#include "platform/ui/TableViewDelegate.h"
#include "platform/ui/ViewController.h"

namespace platform {
class Label;
class TableView;
namespace components {
class ProgressHUD;
}
}  // namespace platform
struct StatisticsLevel;

// The enrolment statistics "迎新统计": how many new students were admitted, have reported and
// have paid, per college, per specialty of a college or per class of a specialty. A fixed
// header shows the totals, a table one row per college, specialty or class. A tapped college
// opens its specialties and a tapped specialty its classes, each as a new screen of this class
// built with the next level; class rows open nothing. "刷新" asks again: a good reply replaces
// the rows and totals, a failed one leaves them as they were.
class NewStatisticsViewController : public platform::ViewController,
                                    public platform::TableViewDataSource,
                                    public platform::TableViewDelegate {
public:
    static constexpr const char* kTitle = "迎新统计";
    static constexpr const char* kLoadingText = "加载中";
    // The college level asks with this code: the whole school.
    static constexpr const char* kCollegeCode = "00000000";
    // The loading overlay goes after this long if no reply takes it away.
    static constexpr double kLoadingSeconds = 20;

    // The college level, as the home tile opens it.
    NewStatisticsViewController();
    // Another level, asking with the code of the row that opened it.
    NewStatisticsViewController(const StatisticsLevel& level, std::string codeStr);
    ~NewStatisticsViewController() override;

    const StatisticsLevel& level() const { return *m_level; }
    // The code this level asks with.
    const std::string& codeStr() const { return m_codeStr; }

    void viewDidLoad() override;
    void viewDidAppear(bool animated) override;

    // The refresh button's action: a new loading overlay in place of the current one, and
    // the request again.
    void rightBtnAction();
    // What a successful reply does: the rows become the reply's, the header takes the last
    // summary (when there is one), the overlay goes and the table reloads.
    void showReply(const platform::Json& reply);

    const std::shared_ptr<platform::TableView>& myTableView() const { return m_myTableView; }
    const std::shared_ptr<platform::Label>& titleLabel() const { return m_titleLabel; }
    const std::shared_ptr<platform::Label>& enrolledLabel() const { return m_enrolledLabel; }
    const std::shared_ptr<platform::Label>& checkInLabel() const { return m_checkInLabel; }
    const std::shared_ptr<platform::Label>& PayLabel() const { return m_PayLabel; }
    const std::shared_ptr<platform::Label>& unregisteredLabel() const {
        return m_unregisteredLabel;
    }
    const std::vector<NewStaitistics>& dataArray() const { return m_dataArray; }
    // The current loading overlay; it stays set after it went.
    const std::shared_ptr<platform::components::ProgressHUD>& HUD() const { return m_HUD; }

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

private:
    void createTabBar();
    void createUI();
    void showLoadingOverlay();
    void getData(const std::string& code);
    void replyArrived(long request, const platform::Json& reply);
    void backBtnWithAction();

    const StatisticsLevel* m_level;
    std::string m_codeStr;
    std::shared_ptr<platform::TableView> m_myTableView;
    std::shared_ptr<platform::Label> m_titleLabel;
    std::shared_ptr<platform::Label> m_enrolledLabel;
    std::shared_ptr<platform::Label> m_checkInLabel;
    std::shared_ptr<platform::Label> m_PayLabel;
    std::shared_ptr<platform::Label> m_unregisteredLabel;
    std::vector<NewStaitistics> m_dataArray;
    std::shared_ptr<platform::components::ProgressHUD> m_HUD;
    // The number of the latest request; replies of earlier ones are stale.
    long m_latestRequest{0};
};
