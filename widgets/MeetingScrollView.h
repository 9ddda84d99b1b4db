#pragma once

#include <memory>
#include <string>

#include "widgets/TabPager.h"

// The tab pager of the weekly meeting schedule: seven weekday pages, opening on today's.
class MeetingScrollView : public TabPager<platform::View> {
public:
    using TabPager::TabPager;

    static std::shared_ptr<MeetingScrollView> scrollWithFrame(const platform::Rect& frame,
                                                              Views views, Titles buttonNames,
                                                              int animationCode);

    // Set before the widget builds itself. `current`: the week shown is the week in
    // progress, and tab 0's selected title is black. `currentDate`: today's weekday text
    // ("周一" ... "周日"); the widget opens on that day's page.
    bool current{false};
    std::string currentDate;

    // While the row is built, the tab being set up; afterwards the last one.
    const std::shared_ptr<platform::Button>& temp() const { return m_temp; }

protected:
    void willSetUpTab(const std::shared_ptr<platform::Button>& tab) override;
    void selectFirstTab(platform::Button& tab) override;
    void didBuild() override;

private:
    std::shared_ptr<platform::Button> m_temp;
};
