#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/graphics/Color.h"
#include "platform/graphics/Geometry.h"
#include "platform/graphics/Image.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/ScrollViewDelegate.h"
#include "platform/ui/View.h"

namespace platform {
class Button;
}  // namespace platform

// The tab pager: a row of tab buttons with a slider behind the selected title, over a
// horizontally paged area with one content view per tab. A tap on a tab turns to its page;
// a swipe between pages moves the slider and selects the page's tab.
//
// One implementation for the three variants, which differ only in their base view
// (`Base` is platform::View or platform::ScrollView) and in the hooks below.
//
// All horizontal geometry uses the main screen's width W, not the widget's own width: the
// widget always spans the screen. The widget builds itself once, on its first layout pass
// (the window lays out on the run loop's next turn, so settings made right after adding it
// still count), or when a caller asks with addAll().
template <typename Base>
class TabPager : public Base, public platform::ScrollViewDelegate {
public:
    using Views = std::vector<std::shared_ptr<platform::View>>;
    using Titles = std::optional<std::vector<std::string>>;

    // Stores the views and titles and sets the animation switches from the code; builds
    // nothing yet. No titles means "AAA", "BBB", "CCC" over coloured placeholder pages.
    TabPager(const platform::Rect& frame, Views views, Titles buttonNames, int animationCode);
    ~TabPager() override;

    // --- Settings, read when the widget builds itself -----------------------------------
    // A zero number or a missing colour means the default given here.

    // One content view per tab, in tab order; an empty list is the same as none.
    Views xl_views;
    Titles xl_buttonNames;
    // Height of the tab row; the page area starts below it.
    double xl_topHeight{50};
    // Point size of the system font for the titles and for measuring them.
    double xl_buttonFont{18};
    std::optional<platform::Color> xl_buttonColorNormal;    // black
    std::optional<platform::Color> xl_buttonColorSelected;  // white
    std::optional<platform::Color> xl_topBackColor;         // light grey
    // Replaces the row's background colour when set.
    std::optional<platform::Image> xl_topBackImage;
    std::optional<platform::Color> xl_sliderColor;  // blue
    // From the bottom of the tab row up to the top of the slider.
    double xl_buttonToSlider{10};
    double xl_sliderHeight{2};
    bool xl_isSliderCorner{false};
    double xl_sliderCorner{7};
    // The drag-start tab drifts along while the pages are dragged.
    bool xl_isMoveButton{false};
    // A tapped unselected tab bounces.
    bool xl_isScaleButton{false};
    // The slider glides to a tapped tab instead of jumping.
    bool xl_isMoveSlider{false};

    // --- Parts the widget builds (null / empty until then) --------------------------------
    // The tab row.
    const std::shared_ptr<platform::ScrollView>& scroll1() const { return m_scroll1; }
    // The page area.
    const std::shared_ptr<platform::ScrollView>& scroll2() const { return m_scroll2; }
    // The slider, inside the row behind the buttons.
    const std::shared_ptr<platform::View>& view2() const { return m_view2; }
    const std::vector<std::shared_ptr<platform::Button>>& buttons() const { return m_buttons; }
    // The page at which the last drag began.
    int x() const { return m_x; }
    // The slider's base left edge in the row: every later position is a translation of it.
    float x0() const { return m_x0; }

    // Checks the settings and builds the rows and pages, once. Returns whether the widget
    // stands built. Titles and views of different counts show an alert and build nothing; an
    // empty title list builds nothing. Either may be corrected and addAll() called again.
    bool addAll();
    bool isBuilt() const { return m_built; }

    // A tab was tapped.
    void changed(platform::Button& button);

    // The page area's callbacks.
    void scrollViewWillBeginDragging(platform::ScrollView& scrollView) override;
    void scrollViewDidScroll(platform::ScrollView& scrollView) override;
    void scrollViewDidEndDecelerating(platform::ScrollView& scrollView) override;

    void layoutSubviews() override;

    // Duration of the slider's glide after a tap, and of the return to rest after a swipe.
    static constexpr double kTapGlideDuration = 0.3;
    static constexpr double kSettleDuration = 0.2;
    // Each of the three steps of a tapped tab's bounce.
    static constexpr double kBounceStepDuration = 0.2;
    // Up to this many tabs share the row; more make it scroll.
    static constexpr std::size_t kVisibleTabs = 7;

protected:
    // Called for each tab button before it is set up.
    virtual void willSetUpTab(const std::shared_ptr<platform::Button>& /*tab*/) {}
    // Marks tab 0 as the selected one when the row is built.
    virtual void selectFirstTab(platform::Button& tab);
    // After the page area and the tab row exist.
    virtual void didBuild() {}

    platform::Color normalColor() const;
    platform::Color selectedColor() const;
    // The main screen's width.
    static double screenWidth();

private:
    void addScroll2();
    void addScroll1();
    void showCountMismatch() const;
    std::shared_ptr<platform::ScrollViewDelegate> selfAsDelegate();
    // Tabs per row width: n up to seven, else seven.
    double tabsPerWidth() const;
    double slotWidth() const;
    double measureTitle(const platform::Button& tab) const;
    // Width t and a translation that centres the slider under the tab's title.
    void placeSliderUnder(const platform::Button& tab, double titleWidth);
    void bounce(const std::shared_ptr<platform::Button>& tab);
    void followPages(int page);
    int indexOf(const platform::Button& tab) const;

    std::shared_ptr<platform::ScrollView> m_scroll1;
    std::shared_ptr<platform::ScrollView> m_scroll2;
    std::shared_ptr<platform::View> m_view2;
    std::vector<std::shared_ptr<platform::Button>> m_buttons;
    int m_x{0};
    float m_x0{0};
    bool m_built{false};
    bool m_layoutBuildTried{false};
};

extern template class TabPager<platform::View>;
extern template class TabPager<platform::ScrollView>;
