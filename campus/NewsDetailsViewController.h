#pragma once

#include <string>

#include "platform/ui/ViewController.h"

// The detail page of one school news item. The opener sets the item's headline, time and HTML
// body before pushing it; the page that shows them comes with the campus screens, so for now
// it keeps them and shows its title.
class NewsDetailsViewController : public platform::ViewController {
public:
    static constexpr const char* kTitle = "详细信息";

    void viewDidLoad() override;

    const std::string& titleStr() const { return m_titleStr; }
    void setTitleStr(std::string text) { m_titleStr = std::move(text); }
    const std::string& timeStr() const { return m_timeStr; }
    void setTimeStr(std::string text) { m_timeStr = std::move(text); }
    const std::string& contentStr() const { return m_contentStr; }
    void setContentStr(std::string text) { m_contentStr = std::move(text); }

private:
    std::string m_titleStr;
    std::string m_timeStr;
    std::string m_contentStr;
};
