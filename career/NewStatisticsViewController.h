#pragma once

#include <optional>

#include "platform/foundation/Json.h"
#include "platform/ui/ViewController.h"

// The enrolment statistics "迎新统计" at the college level. It asks for the colleges'
// statistics as it loads and on "刷新"; the table that shows them comes with the statistics
// screens, so for now the latest reply is kept as it came.
class NewStatisticsViewController : public platform::ViewController {
public:
    // The college level asks with this code.
    static constexpr const char* kCollegeCode = "00000000";
    static constexpr const char* kCollegeType = "xytj";

    NewStatisticsViewController();
    ~NewStatisticsViewController() override;

    void viewDidLoad() override;
    void viewDidAppear(bool animated) override;

    // The refresh button's action: asks again.
    void rightBtnAction();

    // The latest successful reply; absent until one arrives.
    const std::optional<platform::Json>& lastReply() const { return m_lastReply; }

private:
    void createTabBar();
    void getData(const std::string& code);
    void backBtnWithAction();

    std::optional<platform::Json> m_lastReply;
};
