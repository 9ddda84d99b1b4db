#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/ScrollViewDelegate.h"
#include "platform/ui/ViewController.h"

namespace platform {
class Button;
class ImageView;
class PageControl;
class ScrollView;
}  // namespace platform

namespace platform::components {

// The first-launch introduction: full-screen pages of cover images that the user swipes
// through, with a page control, over background images that cross-fade from page to page.
// Swiping on past the last page slides the covers away (the pages end in an empty, clear
// page showing whatever lies underneath) and enters; so does tapping the enter button on the
// last page, when one was given. Entering runs didSelectedEnter once.
//
// Whoever adds the view owns its place on screen: the caller adds view() where it should
// cover (start-up puts it over the window's content) and takes it away in didSelectedEnter.
// Names of missing images give empty image views, which draw nothing.
class IntroductionViewController : public ViewController, public ScrollViewDelegate {
public:
    // The enter button, if any, goes on the last page: at its own frame in the page's
    // coordinates, or when that has no size, at its fitting size centred near the bottom.
    IntroductionViewController(std::vector<std::string> coverImageNames,
                               std::vector<std::string> backgroundImageNames,
                               std::shared_ptr<Button> enterButton = nullptr);
    ~IntroductionViewController() override;

    // Runs once, when the user enters. May be absent.
    std::function<void()> didSelectedEnter;

    const std::vector<std::string>& coverImageNames() const { return m_coverImageNames; }
    const std::vector<std::string>& backgroundImageNames() const { return m_backgroundImageNames; }
    int numberOfPages() const { return int(m_coverImageNames.size()); }
    bool hasEntered() const { return m_entered; }

    // The parts of the view, made when it loads.
    std::shared_ptr<ScrollView> pagingScrollView() const { return m_scrollView; }
    std::shared_ptr<PageControl> pageControl() const { return m_pageControl; }
    std::shared_ptr<Button> enterButton() const { return m_enterButton; }
    const std::vector<std::shared_ptr<ImageView>>& coverImageViews() const { return m_covers; }
    const std::vector<std::shared_ptr<ImageView>>& backgroundImageViews() const {
        return m_backgrounds;
    }

    void loadView() override;
    void viewDidLoad() override;

    void scrollViewDidScroll(ScrollView& scrollView) override;
    void scrollViewDidEndDecelerating(ScrollView& scrollView) override;

    // Distance of the enter button's bottom edge from the bottom of the page.
    static constexpr double kEnterButtonBottomMargin = 60;
    // Distance of the page control's bottom edge from the bottom of the view.
    static constexpr double kPageControlBottomMargin = 20;

private:
    void buildBackgrounds();
    void buildPages();
    void buildEnterButton();
    void buildPageControl();
    // Entering happens when the content rests on the empty page after the covers.
    void enterIfOnEmptyPage(ScrollView& scrollView);
    void enter();

    std::vector<std::string> m_coverImageNames;
    std::vector<std::string> m_backgroundImageNames;
    std::shared_ptr<ScrollView> m_scrollView;
    std::shared_ptr<PageControl> m_pageControl;
    std::shared_ptr<Button> m_enterButton;
    std::vector<std::shared_ptr<ImageView>> m_covers;
    std::vector<std::shared_ptr<ImageView>> m_backgrounds;
    bool m_entered{false};
};

}  // namespace platform::components
