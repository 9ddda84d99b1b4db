#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "campus/MeetingDayView.h"
#include "platform/foundation/Json.h"
#include "platform/ui/ViewController.h"
struct ServiceURL;

class MeetingScrollView;
namespace platform {
class Button;
class Label;
namespace components {
class ProgressHUD;
}
}  // namespace platform

// The root of the "会议" tab: the meetings of one teaching week on seven weekday pages, under
// the week's number and the date line the service gives. The previous and next buttons step
// through the weeks the service reports; the today button returns to the current week.
//
// The week shown changes only when its reply arrives: a failed request leaves the title, the
// pages and the week as they were. Only the reply of the latest request counts, whichever of
// the buttons sent it, so the pages always match the number in the title. One loading overlay
// and one pager stand at a time.
class MeetingViewController : public platform::ViewController, public presentVCDelegate {
public:
    static constexpr const char* kTitle = "一周会议";
    static constexpr const char* kLoadingText = "加载中";
    static constexpr double kLoadingSeconds = 20;
    // Handles of the title bar's buttons, for the driver and the terminal front end.
    static constexpr const char* kPreviousHandle = "prevweek";
    static constexpr const char* kNextHandle = "nextweek";
    static constexpr const char* kTodayHandle = "today";

    MeetingViewController();
    ~MeetingViewController() override;

    void loadView() override;
    void viewDidLoad() override;
    void viewDidAppear(bool animated) override;

    long currentDJZ() const { return m_currentDJZ; }
    long maxWeek() const { return m_maxWeek; }
    // Whether the network was reachable when the view loaded: only then are the date line and
    // the week buttons there.
    bool connection() const { return m_connection; }
    const std::shared_ptr<platform::Label>& titleLabel() const { return m_titleLabel; }
    const std::shared_ptr<platform::Label>& dateLabel() const { return m_dateLabel; }
    const std::shared_ptr<platform::Button>& lButton() const { return m_lButton; }
    const std::shared_ptr<platform::Button>& rButton() const { return m_rButton; }
    // The loading overlay while it shows, else null.
    std::shared_ptr<platform::components::ProgressHUD> HUD() const;
    // The pager of the week shown; null before the first reply.
    const std::shared_ptr<MeetingScrollView>& scroll() const { return m_scroll; }
    // Its pages, Monday to Sunday.
    const std::array<std::shared_ptr<MeetingDayView>, 7>& dayPages() const { return m_pages; }

    void lButtonAction();
    void rButtonAction();
    void todayBtnAction();

    // presentVCDelegate: a day page's row was tapped.
    void presentVC(const platform::IndexPath& indexPath,
                   const std::vector<OneWeekMeeting>& array) override;

private:
    void createTabBar();
    void getDateData();
    void getOtherWeek(long week);
    // Sends the URL; the reply is handled only if no later request was sent meanwhile.
    void send(const ServiceURL& url, std::function<void(const platform::Json&)> arrived);
    void currentWeekArrived(const platform::Json& reply);
    void otherWeekArrived(long week, const platform::Json& reply);
    void requestFailed();
    void createWeekView(bool current, const std::string& currentDate, const platform::Json& reply);
    void updateWeekButtons(long week);
    void showLoadingOverlay();
    void removeLoadingOverlay();

    long m_currentDJZ{0};
    long m_maxWeek{0};
    bool m_connection{false};
    // The week the latest step asked for while its reply is out; steps go on from there.
    std::optional<long> m_requestedWeek;
    std::uint64_t m_latestRequest{0};

    std::shared_ptr<platform::Label> m_titleLabel;
    std::shared_ptr<platform::Label> m_dateLabel;
    std::shared_ptr<platform::Button> m_lButton;
    std::shared_ptr<platform::Button> m_rButton;
    std::shared_ptr<platform::components::ProgressHUD> m_HUD;
    std::shared_ptr<MeetingScrollView> m_scroll;
    std::array<std::shared_ptr<MeetingDayView>, 7> m_pages;
};
