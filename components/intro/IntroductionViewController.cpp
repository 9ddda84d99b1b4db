#include "components/intro/IntroductionViewController.h"

#include <algorithm>
#include <cmath>

#include "platform/graphics/Image.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/PageControl.h"
#include "platform/ui/Screen.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/View.h"

namespace platform::components {

namespace {

// Offsets this close to a page boundary are on it (layout arithmetic in doubles).
constexpr double kEpsilon = 1e-6;

std::shared_ptr<ImageView> makeImageView(const std::string& name, const Rect& frame) {
    auto imageView = View::make<ImageView>(frame);
    // A missing image stays empty: nothing is drawn and nothing is reported.
    imageView->setImage(Image::named(name));
    imageView->setBackgroundColor(Color::clear());
    return imageView;
}

}  // namespace

IntroductionViewController::IntroductionViewController(
    std::vector<std::string> coverImageNames, std::vector<std::string> backgroundImageNames,
    std::shared_ptr<Button> enterButton)
    : m_coverImageNames(std::move(coverImageNames)),
      m_backgroundImageNames(std::move(backgroundImageNames)),
      m_enterButton(std::move(enterButton)) {}

IntroductionViewController::~IntroductionViewController() = default;

void IntroductionViewController::loadView() {
    auto view = View::make<View>(Screen::main().bounds());
    // Clear, so that what it covers shows once the covers slide away.
    view->setBackgroundColor(Color::clear());
    view->setOpaque(false);
    setView(std::move(view));
}

void IntroductionViewController::viewDidLoad() {
    buildBackgrounds();
    buildPages();
    buildEnterButton();
    buildPageControl();
    if (m_coverImageNames.empty()) {
        // Nothing to show: let touches through to what lies underneath.
        view()->setUserInteractionEnabled(false);
    }
}

void IntroductionViewController::buildBackgrounds() {
    Rect bounds = view()->bounds();
    for (size_t i = 0; i < m_backgroundImageNames.size(); ++i) {
        auto background = makeImageView(m_backgroundImageNames[i], bounds);
        background->setAlpha(i == 0 ? 1 : 0);
        view()->addSubview(background);
        m_backgrounds.push_back(std::move(background));
    }
}

void IntroductionViewController::buildPages() {
    Rect bounds = view()->bounds();
    Size page = bounds.size;
    m_scrollView = View::make<ScrollView>(bounds);
    // A stable name for the pages, so the terminal front end and scripts can swipe them.
    m_scrollView->setHandle("intro");
    m_scrollView->setBackgroundColor(Color::clear());
    m_scrollView->setPagingEnabled(true);
    m_scrollView->setShowsHorizontalScrollIndicator(false);
    m_scrollView->setShowsVerticalScrollIndicator(false);
    m_scrollView->setScrollsToTop(false);
    // One empty page after the covers: swiping onto it is how the user enters.
    size_t pages = m_coverImageNames.empty() ? 1 : m_coverImageNames.size() + 1;
    m_scrollView->setContentSize({page.width * double(pages), page.height});
    for (size_t i = 0; i < m_coverImageNames.size(); ++i) {
        auto cover = makeImageView(m_coverImageNames[i], Rect{{page.width * double(i), 0}, page});
        m_scrollView->addSubview(cover);
        m_covers.push_back(std::move(cover));
    }
    if (auto self = std::dynamic_pointer_cast<ScrollViewDelegate>(weak_from_this().lock())) {
        m_scrollView->setDelegate(self);
    }
    view()->addSubview(m_scrollView);
}

void IntroductionViewController::buildEnterButton() {
    if (!m_enterButton || m_coverImageNames.empty()) {
        return;
    }
    Size page = view()->bounds().size;
    double lastPage = page.width * double(m_coverImageNames.size() - 1);
    Rect frame = m_enterButton->frame();
    if (frame.size.width <= 0 || frame.size.height <= 0) {
        frame.size = m_enterButton->sizeThatFits(page);
        frame.origin = {(page.width - frame.size.width) / 2,
                        page.height - kEnterButtonBottomMargin - frame.size.height};
    }
    frame.origin.x += lastPage;
    m_enterButton->setFrame(frame);
    std::weak_ptr<ViewController> weak = weak_from_this();
    m_enterButton->addTarget(
        [weak](Control&) {
            if (auto self = std::static_pointer_cast<IntroductionViewController>(weak.lock())) {
                self->enter();
            }
        },
        ControlEvent::TouchUpInside);
    m_scrollView->addSubview(m_enterButton);
}

void IntroductionViewController::buildPageControl() {
    Size size = view()->bounds().size;
    m_pageControl = View::make<PageControl>(
        Rect{{0, size.height - kPageControlBottomMargin - PageControl::kHeight},
             {size.width, PageControl::kHeight}});
    m_pageControl->setNumberOfPages(numberOfPages());
    m_pageControl->setCurrentPage(0);
    std::weak_ptr<ScrollView> weakScrollView = m_scrollView;
    m_pageControl->addTarget(
        [weakScrollView](Control& control) {
            auto scrollView = weakScrollView.lock();
            auto& pageControl = static_cast<PageControl&>(control);
            if (scrollView) {
                double x = scrollView->bounds().size.width * pageControl.currentPage();
                scrollView->setContentOffset({x, 0}, true);
            }
        },
        ControlEvent::ValueChanged);
    view()->addSubview(m_pageControl);
}

void IntroductionViewController::scrollViewDidScroll(ScrollView& scrollView) {
    double width = scrollView.bounds().size.width;
    if (width <= 0 || m_coverImageNames.empty()) {
        return;
    }
    double position = scrollView.contentOffset().x / width;
    for (size_t i = 0; i < m_backgrounds.size(); ++i) {
        double distance = std::abs(position - double(i));
        m_backgrounds[i]->setAlpha(std::clamp(1 - distance, 0.0, 1.0));
    }
    m_pageControl->setCurrentPage(int(std::lround(position)));
    if (!scrollView.isDragging()) {
        enterIfOnEmptyPage(scrollView);
    }
}

void IntroductionViewController::scrollViewDidEndDecelerating(ScrollView& scrollView) {
    // A drag that ends right on the empty page comes to rest without scrolling any more.
    enterIfOnEmptyPage(scrollView);
}

void IntroductionViewController::enterIfOnEmptyPage(ScrollView& scrollView) {
    double width = scrollView.bounds().size.width;
    if (width > 0 && !m_coverImageNames.empty() &&
        scrollView.contentOffset().x / width >= double(numberOfPages()) - kEpsilon) {
        enter();
    }
}

void IntroductionViewController::enter() {
    if (m_entered) {
        return;
    }
    m_entered = true;
    // The callback usually lets go of this controller.
    auto self = weak_from_this().lock();
    auto callback = didSelectedEnter;
    if (callback) {
        callback();
    }
}

}  // namespace platform::components
