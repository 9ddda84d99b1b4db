#include "widgets/TabPager.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "platform/graphics/Font.h"
#include "platform/graphics/TextMeasurer.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/Screen.h"

using platform::AffineTransform;
using platform::Button;
using platform::Color;
using platform::Point;
using platform::Rect;
using platform::ScrollView;
using platform::View;

namespace {

// What the widget says when a caller hands it titles and views that do not pair up.
const char* const kMismatchTitle = "XLScroll友情提醒！";
const char* const kMismatchMessage = "您填写的按钮数与视图数不一致，请仔细检查代码";
const char* const kMismatchButton = "好的";

const std::array<const char*, 3> kDefaultTitles{"AAA", "BBB", "CCC"};

// The placeholder pages shown under the default titles.
Color placeholderColor(std::size_t page) {
    switch (page) {
        case 0:
            return Color::redColor();
        case 1:
            return Color::orange();
        case 2:
            return Color::yellow();
        default:
            return Color::clear();
    }
}

// A zero (or unusable) number stands for the default.
double orDefault(double value, double fallback) {
    return value == 0 || !std::isfinite(value) ? fallback : value;
}

struct AnimationSwitches {
    bool moveButton{false};
    bool scaleButton{false};
    bool moveSlider{false};
};

// The code reads as three decimal digits, one per switch (drift, bounce, glide): "1" on,
// "2" off. Anything else, such as the 9 every screen passes, leaves all three off.
AnimationSwitches switchesForCode(int code) {
    std::string text = std::to_string(code);
    bool valid = text.size() == 3 && std::all_of(text.begin(), text.end(), [](char digit) {
                     return digit == '1' || digit == '2';
                 });
    if (!valid) {
        return {};
    }
    return {text[0] == '1', text[1] == '1', text[2] == '1'};
}

}  // namespace

template <typename Base>
TabPager<Base>::TabPager(const Rect& frame, Views views, Titles buttonNames, int animationCode)
    : Base(frame), xl_views(std::move(views)), xl_buttonNames(std::move(buttonNames)) {
    AnimationSwitches switches = switchesForCode(animationCode);
    xl_isMoveButton = switches.moveButton;
    xl_isScaleButton = switches.scaleButton;
    xl_isMoveSlider = switches.moveSlider;
}

template <typename Base>
TabPager<Base>::~TabPager() = default;

template <typename Base>
double TabPager<Base>::screenWidth() {
    return platform::Screen::main().size().width;
}

template <typename Base>
Color TabPager<Base>::normalColor() const {
    return xl_buttonColorNormal.value_or(Color::black());
}

template <typename Base>
Color TabPager<Base>::selectedColor() const {
    return xl_buttonColorSelected.value_or(Color::white());
}

template <typename Base>
double TabPager<Base>::tabsPerWidth() const {
    return double(std::min(m_buttons.size(), kVisibleTabs));
}

template <typename Base>
double TabPager<Base>::slotWidth() const {
    double perWidth = tabsPerWidth();
    return perWidth > 0 ? screenWidth() / perWidth : 0;
}

template <typename Base>
std::shared_ptr<platform::ScrollViewDelegate> TabPager<Base>::selfAsDelegate() {
    auto self = this->weak_from_this().lock();
    if (!self) {
        return nullptr;
    }
    return std::shared_ptr<platform::ScrollViewDelegate>(
        self, static_cast<platform::ScrollViewDelegate*>(this));
}

// --- Building -------------------------------------------------------------------------------

template <typename Base>
void TabPager<Base>::layoutSubviews() {
    Base::layoutSubviews();
    // Only the first pass builds on its own, so a refused build does not raise its alert
    // again at every layout.
    if (!m_layoutBuildTried) {
        m_layoutBuildTried = true;
        addAll();
    }
}

template <typename Base>
bool TabPager<Base>::addAll() {
    if (m_built) {
        return true;
    }
    // The page area reports to the widget through a weak reference to it.
    if (this->weak_from_this().expired()) {
        return false;
    }
    std::size_t titleCount = xl_buttonNames ? xl_buttonNames->size() : 0;
    std::size_t viewCount = xl_views.size();
    if ((titleCount > 0 || viewCount > 0) && titleCount != viewCount) {
        showCountMismatch();
        return false;
    }
    if (!xl_buttonNames) {
        xl_buttonNames = std::vector<std::string>(kDefaultTitles.begin(), kDefaultTitles.end());
    }
    // No tabs: nothing to show, and no first title to place the slider by.
    if (xl_buttonNames->empty()) {
        return false;
    }
    m_built = true;
    // The page area first, so that the tab row lies above it.
    addScroll2();
    addScroll1();
    didBuild();
    return true;
}

template <typename Base>
void TabPager<Base>::showCountMismatch() const {
    auto alert = View::make<platform::AlertView>(kMismatchTitle, kMismatchMessage,
                                                 std::weak_ptr<platform::AlertViewDelegate>(),
                                                 kMismatchButton, std::vector<std::string>());
    alert->show();
}

template <typename Base>
void TabPager<Base>::addScroll2() {
    double width = screenWidth();
    double top = orDefault(xl_topHeight, 50);
    double height = std::max(0.0, this->bounds().size.height - top);
    std::size_t count = xl_buttonNames->size();

    m_scroll2 = View::make<ScrollView>(Rect{{0, top}, {width, height}});
    m_scroll2->setContentSize({double(count) * width, 0});
    m_scroll2->setContentOffset({0, 0});
    m_scroll2->setShowsHorizontalScrollIndicator(false);
    m_scroll2->setShowsVerticalScrollIndicator(false);
    m_scroll2->setPagingEnabled(true);
    m_scroll2->setBounces(false);
    m_scroll2->setScrollsToTop(false);
    m_scroll2->setDelegate(selfAsDelegate());

    for (std::size_t i = 0; i < count; ++i) {
        Rect frame{{double(i) * width, 0}, {width, height}};
        std::shared_ptr<View> page = i < xl_views.size() ? xl_views[i] : nullptr;
        if (!page) {
            page = View::make<View>();
            page->setBackgroundColor(placeholderColor(i));
        }
        page->setFrame(frame);
        m_scroll2->addSubview(page);
    }
    this->addSubview(m_scroll2);
}

template <typename Base>
void TabPager<Base>::addScroll1() {
    const std::vector<std::string>& titles = *xl_buttonNames;
    double width = screenWidth();
    double top = orDefault(xl_topHeight, 50);
    std::size_t count = titles.size();
    double perWidth = double(std::min(count, kVisibleTabs));
    double slot = width / perWidth;

    Rect rowFrame{{0, 0}, {width, top}};
    m_scroll1 = View::make<ScrollView>(rowFrame);
    m_scroll1->setContentSize({count <= kVisibleTabs ? width : slot * double(count), 0});
    if (xl_topBackImage) {
        m_scroll1->setBackgroundColor(Color::clear());
        auto background = View::make<platform::ImageView>(rowFrame);
        background->setImage(*xl_topBackImage);
        // Added before the row, so it lies directly below it.
        this->addSubview(background);
    } else {
        m_scroll1->setBackgroundColor(xl_topBackColor.value_or(Color::lightGray()));
    }
    m_scroll1->setShowsHorizontalScrollIndicator(false);
    m_scroll1->setShowsVerticalScrollIndicator(false);
    m_scroll1->setBounces(false);
    m_scroll1->setContentOffset({0, 0});
    m_scroll1->setScrollsToTop(false);

    platform::Font font = platform::Font::systemFont(orDefault(xl_buttonFont, 18));
    std::weak_ptr<View> weakSelf = this->weak_from_this();
    for (std::size_t i = 0; i < count; ++i) {
        auto tab = View::make<Button>(Rect{{double(i) * slot, 0}, {slot, top}},
                                      platform::ButtonType::Custom);
        willSetUpTab(tab);
        tab->titleLabel()->setFont(font);
        tab->setTitle(titles[i]);
        tab->setTitleColor(normalColor(), platform::ControlState::Normal);
        tab->setTitleColor(selectedColor(), platform::ControlState::Selected);
        if (i == 0) {
            selectFirstTab(*tab);
        }
        // The row owns the button and the button its action: the widget is held weakly.
        tab->addTarget(
            [weakSelf](platform::Control& sender) {
                if (auto self = weakSelf.lock()) {
                    static_cast<TabPager*>(self.get())->changed(static_cast<Button&>(sender));
                }
            },
            platform::ControlEvent::TouchUpInside);
        m_scroll1->addSubview(tab);
        m_buttons.push_back(tab);
    }

    const Button& first = *m_buttons.front();
    double firstWidth = measureTitle(first);
    Rect firstFrame = first.frame();
    m_x0 = float(firstFrame.midX() - firstWidth / 2);
    m_view2 = View::make<View>(Rect{{m_x0, firstFrame.maxY() - orDefault(xl_buttonToSlider, 10)},
                                    {firstWidth, orDefault(xl_sliderHeight, 2)}});
    m_view2->setBackgroundColor(xl_sliderColor.value_or(Color::blueColor()));
    if (xl_isSliderCorner) {
        m_view2->setCornerRadius(orDefault(xl_sliderCorner, 7));
    }
    m_scroll1->insertSubview(m_view2, 0);
    this->addSubview(m_scroll1);
}

template <typename Base>
void TabPager<Base>::selectFirstTab(Button& tab) {
    tab.setSelected(true);
    tab.setTitleColor(selectedColor(), platform::ControlState::Normal);
}

// --- Geometry helpers -------------------------------------------------------------------------

template <typename Base>
double TabPager<Base>::measureTitle(const Button& tab) const {
    platform::Font font = platform::Font::systemFont(orDefault(xl_buttonFont, 18));
    return platform::TextMeasurer::current().boundingSize(tab.title(), font, {0, 0}).width;
}

template <typename Base>
void TabPager<Base>::placeSliderUnder(const Button& tab, double titleWidth) {
    if (!m_view2) {
        return;
    }
    // The untransformed left edge stays at x0 and the height stays; only the width and the
    // translation change.
    Rect bounds = m_view2->bounds();
    bounds.size.width = titleWidth;
    m_view2->setBounds(bounds);
    m_view2->setCenter({double(m_x0) + titleWidth / 2, m_view2->center().y});
    double shift = tab.frame().midX() - titleWidth / 2 - double(m_x0);
    m_view2->setTransform(AffineTransform::makeTranslation(shift, 0));
}

template <typename Base>
int TabPager<Base>::indexOf(const Button& tab) const {
    auto it = std::find_if(m_buttons.begin(), m_buttons.end(),
                           [&tab](const auto& button) { return button.get() == &tab; });
    return it == m_buttons.end() ? -1 : int(it - m_buttons.begin());
}

// --- Taps -------------------------------------------------------------------------------------

template <typename Base>
void TabPager<Base>::changed(Button& button) {
    int index = indexOf(button);
    if (index < 0 || !m_scroll2) {
        return;
    }
    std::shared_ptr<Button> tab = m_buttons[std::size_t(index)];
    if (xl_isScaleButton && !tab->isSelected()) {
        bounce(tab);
    }
    for (const auto& other : m_buttons) {
        if (other == tab) {
            continue;
        }
        if (other->isSelected()) {
            other->setSelected(false);
        }
        other->setTitleColor(normalColor(), platform::ControlState::Normal);
    }
    tab->setTitleColor(selectedColor(), platform::ControlState::Selected);
    tab->setSelected(true);

    // Turned in code, the page must not report as a swipe would.
    m_scroll2->setDelegate(std::weak_ptr<platform::ScrollViewDelegate>());
    m_scroll2->setContentOffset({double(index) * screenWidth(), 0});
    m_scroll2->setDelegate(selfAsDelegate());

    double titleWidth = measureTitle(*tab);
    auto move = [this, tab, titleWidth] { placeSliderUnder(*tab, titleWidth); };
    if (xl_isMoveSlider) {
        View::animate(kTapGlideDuration, move);
    } else {
        move();
    }
}

template <typename Base>
void TabPager<Base>::bounce(const std::shared_ptr<Button>& tab) {
    // Shrink, overshoot, settle: 0.7 x 5/3 x 6/7 brings the tab back to its size.
    std::weak_ptr<Button> weak = tab;
    auto scaleBy = [](const std::weak_ptr<Button>& target, double factor) {
        if (auto button = target.lock()) {
            button->setTransform(button->transform().scaled(factor, factor));
        }
    };
    View::animate(
        kBounceStepDuration, [&] { scaleBy(weak, 0.7); },
        [weak, scaleBy](bool) {
            if (weak.expired()) {
                return;
            }
            View::animate(
                kBounceStepDuration, [&] { scaleBy(weak, 5.0 / 3.0); },
                [weak, scaleBy](bool) {
                    if (weak.expired()) {
                        return;
                    }
                    View::animate(kBounceStepDuration, [&] { scaleBy(weak, 6.0 / 7.0); });
                });
        });
}

// --- Swipes -----------------------------------------------------------------------------------

template <typename Base>
void TabPager<Base>::scrollViewWillBeginDragging(ScrollView& scrollView) {
    if (&scrollView != m_scroll2.get()) {
        return;
    }
    double width = screenWidth();
    // Rounded, not truncated: a page's offset need not be an exact multiple of W.
    m_x = width > 0 ? int(std::lround(scrollView.contentOffset().x / width)) : 0;
}

template <typename Base>
void TabPager<Base>::scrollViewDidScroll(ScrollView& scrollView) {
    if (&scrollView != m_scroll2.get()) {
        return;
    }
    std::shared_ptr<Button> dragStart;
    if (m_x >= 0 && std::size_t(m_x) < m_buttons.size()) {
        dragStart = m_buttons[std::size_t(m_x)];
        dragStart->setTitleColor(normalColor(), platform::ControlState::Normal);
    }
    // The pages move sideways only.
    Point offset = scrollView.contentOffset();
    if (offset.y != 0) {
        scrollView.setContentOffset({offset.x, 0});
    }
    // Before the row exists (the page area is built first) there is nothing more to move.
    double perWidth = tabsPerWidth();
    if (perWidth == 0) {
        return;
    }
    if (xl_isMoveButton && dragStart) {
        double drift = (offset.x - double(m_x) * screenWidth()) / perWidth / 3;
        dragStart->setTransform(AffineTransform::makeTranslation(drift, 0));
    }
    // One slot per page.
    if (m_view2) {
        m_view2->setTransform(AffineTransform::makeTranslation(offset.x / perWidth, 0));
    }
}

template <typename Base>
void TabPager<Base>::scrollViewDidEndDecelerating(ScrollView& scrollView) {
    if (&scrollView != m_scroll2.get() || m_buttons.empty()) {
        return;
    }
    double width = screenWidth();
    // The page nearest the resting offset. Comparing truncated positions instead would miss
    // a page whose offset came to rest a fraction short of its boundary.
    long nearest = width > 0 ? std::lround(scrollView.contentOffset().x / width) : 0;
    int page = int(std::clamp(nearest, 0L, long(m_buttons.size()) - 1));

    for (const auto& tab : m_buttons) {
        View::animate(kSettleDuration, [&] { tab->setTransform(AffineTransform::identity()); });
        if (tab->isSelected()) {
            tab->setSelected(false);
        }
    }
    std::shared_ptr<Button> current = m_buttons[std::size_t(page)];
    current->setSelected(true);
    current->setTitleColor(selectedColor(), platform::ControlState::Selected);
    double titleWidth = measureTitle(*current);
    View::animate(kSettleDuration, [&] { placeSliderUnder(*current, titleWidth); });

    if (m_buttons.size() > kVisibleTabs) {
        followPages(page);
    }
}

template <typename Base>
void TabPager<Base>::followPages(int page) {
    if (page == m_x || !m_scroll1) {
        return;
    }
    // The current page's tab stands in the third of the seven visible slots, as far as the
    // row's content allows: a row offset beyond its last tab would show empty slots.
    // Near the row's start a forward swipe leaves the row where it stands (the user may have
    // scrolled it by hand); the row only follows once the page has moved into it.
    if (page > m_x && m_x < 2) {
        return;
    }
    double slot = slotWidth();
    double last = slot * double(m_buttons.size() - kVisibleTabs);
    double target = std::clamp(slot * double(page - 2), 0.0, last);
    View::animate(kSettleDuration, [&] { m_scroll1->setContentOffset({target, 0}); });
}

template class TabPager<platform::View>;
template class TabPager<platform::ScrollView>;
