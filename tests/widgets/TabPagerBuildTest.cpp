#include <gtest/gtest.h>

#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "tests/widgets/WidgetTestSupport.h"
#include "widgets/AnnouncemeScrollViewer.h"

namespace widgettest {
namespace {

using namespace platform;

std::shared_ptr<AnnouncemeScrollViewer> makePager(std::size_t tabs, int code = 9) {
    return AnnouncemeScrollViewer::scrollWithFrame(
        Rect{{0, 64}, {Screen::main().size().width, 500}}, pages(tabs), channelTitles(tabs), code);
}

using TabPagerBuildTest = WidgetTest;

TEST_F(TabPagerBuildTest, EachDigitOneOfAThreeDigitCodeSwitchesItsAnimationOn) {
    struct Case {
        int code;
        bool moveButton, scaleButton, moveSlider;
    };
    for (const Case& c : {Case{111, true, true, true}, Case{112, true, true, false},
                          Case{121, true, false, true}, Case{211, false, true, true},
                          Case{122, true, false, false}, Case{212, false, true, false},
                          Case{221, false, false, true}, Case{222, false, false, false},
                          // Any other code leaves every animation off.
                          Case{9, false, false, false}, Case{11, false, false, false},
                          Case{113, false, false, false}, Case{1111, false, false, false},
                          Case{-111, false, false, false}}) {
        auto pager = makePager(3, c.code);
        EXPECT_EQ(pager->xl_isMoveButton, c.moveButton) << c.code;
        EXPECT_EQ(pager->xl_isScaleButton, c.scaleButton) << c.code;
        EXPECT_EQ(pager->xl_isMoveSlider, c.moveSlider) << c.code;
    }
}

// --- Layout of the rows and pages -----------------------------------------------------------

using TabPagerLayoutTest = WidgetTestOnEachWidth;

TEST_P(TabPagerLayoutTest, FiveTabsShareTheWidthAboveFivePagesAndTheFirstStartsSelected) {
    double W = screenWidth();
    auto views = pages(5);
    auto pager = AnnouncemeScrollViewer::scrollWithFrame(Rect{{0, 64}, {W, 500}}, views,
                                                         channelTitles(5), 9);
    ASSERT_TRUE(pager->addAll());

    double slot = W / 5;
    ASSERT_EQ(pager->buttons().size(), 5u);
    for (std::size_t i = 0; i < 5; ++i) {
        const auto& tab = pager->buttons()[i];
        expectRectNear(tab->frame(), Rect{{double(i) * slot, 0}, {slot, 50}});
        EXPECT_EQ(tab->title(), channelTitles(5)[i]);
        EXPECT_EQ(tab->titleLabel()->font(), Font::systemFont(18));
        EXPECT_EQ(tab->isSelected(), i == 0) << i;
        EXPECT_EQ(tab->currentTitleColor(), i == 0 ? Color::white() : Color::black()) << i;
        expectRectNear(views[i]->frame(), Rect{{double(i) * W, 0}, {W, 450}});
        EXPECT_EQ(views[i]->superview(), pager->scroll2());
    }
    EXPECT_EQ(pager->scroll1()->frame(), (Rect{{0, 0}, {W, 50}}));
    EXPECT_EQ(pager->scroll1()->contentSize(), (Size{W, 0}));
    EXPECT_EQ(pager->scroll2()->frame(), (Rect{{0, 50}, {W, 450}}));
    EXPECT_EQ(pager->scroll2()->contentSize(), (Size{5 * W, 0}));
    EXPECT_TRUE(pager->scroll2()->isPagingEnabled());
    EXPECT_FALSE(pager->scroll2()->bounces());
    // The tab row lies above the page area.
    ASSERT_EQ(pager->subviews().size(), 2u);
    EXPECT_EQ(pager->subviews()[1], pager->scroll1());

    // The slider starts under the first title, as wide as it, behind the tabs.
    double t0 = titleWidth(channelTitles(5)[0]);
    EXPECT_NEAR(pager->view2()->frame().origin.x, W / 10 - t0 / 2, 1e-4);
    EXPECT_EQ(pager->view2()->frame().origin.y, 40);
    EXPECT_EQ(pager->view2()->frame().size, (Size{t0, 2}));
    EXPECT_EQ(pager->view2()->backgroundColor(), Color::blueColor());
    EXPECT_EQ(pager->scroll1()->subviews().front(), pager->view2());
}

INSTANTIATE_TEST_SUITE_P(Widths, TabPagerLayoutTest, ::testing::Values(320.0, 375.0, 414.0),
                         widthName);

TEST_F(TabPagerBuildTest, SettingsMadeBeforeTheFirstLayoutShapeTheWidget) {
    auto pager = makePager(3);
    pager->xl_topHeight = 42;
    pager->xl_buttonFont = 15;
    pager->xl_buttonToSlider = 33;
    pager->xl_sliderHeight = 26;
    pager->xl_isSliderCorner = true;
    pager->xl_sliderCorner = 4;
    pager->xl_sliderColor = Color::rgba(0.8f, 0.2f, 0.2f);
    pager->xl_topBackColor = Color::white();
    pager->xl_buttonColorNormal = Color::gray();
    pager->xl_buttonColorSelected = Color::yellow();
    ASSERT_TRUE(pager->addAll());

    EXPECT_EQ(pager->scroll2()->frame(), (Rect{{0, 42}, {screenWidth(), 458}}));
    EXPECT_EQ(pager->scroll1()->backgroundColor(), Color::white());
    EXPECT_EQ(pager->view2()->frame().origin.y, 42 - 33);
    EXPECT_EQ(pager->view2()->frame().size, (Size{titleWidth(channelTitles(3)[0], 15), 26}));
    EXPECT_EQ(pager->view2()->cornerRadius(), 4);
    EXPECT_EQ(pager->view2()->backgroundColor(), Color::rgba(0.8f, 0.2f, 0.2f));
    EXPECT_EQ(pager->buttons()[0]->currentTitleColor(), Color::yellow());
    EXPECT_EQ(pager->buttons()[1]->currentTitleColor(), Color::gray());
    EXPECT_EQ(pager->buttons()[1]->titleLabel()->font(), Font::systemFont(15));
}

TEST_F(TabPagerBuildTest, ZeroNumbersMeanTheDefaults) {
    auto pager = makePager(3);
    pager->xl_topHeight = 0;
    pager->xl_buttonFont = 0;
    pager->xl_buttonToSlider = 0;
    pager->xl_sliderHeight = 0;
    pager->xl_isSliderCorner = true;
    pager->xl_sliderCorner = 0;
    ASSERT_TRUE(pager->addAll());
    EXPECT_EQ(pager->scroll1()->frame().size.height, 50);
    EXPECT_EQ(pager->view2()->frame().origin.y, 40);
    EXPECT_EQ(pager->view2()->frame().size, (Size{titleWidth(channelTitles(3)[0], 18), 2}));
    EXPECT_EQ(pager->view2()->cornerRadius(), 7);
    EXPECT_EQ(pager->scroll1()->backgroundColor(), Color::lightGray());
}

TEST_F(TabPagerBuildTest, ABackgroundImageLiesDirectlyBelowAClearRow) {
    auto pager = makePager(3);
    pager->xl_topBackImage = Image::fromARGB(4, 4, std::vector<std::uint32_t>(16, 0xff336699u));
    ASSERT_TRUE(pager->addAll());
    EXPECT_EQ(pager->scroll1()->backgroundColor(), Color::clear());
    const auto& subviews = pager->subviews();
    ASSERT_EQ(subviews.size(), 3u);
    auto background = std::dynamic_pointer_cast<ImageView>(subviews[1]);
    ASSERT_TRUE(background);
    EXPECT_EQ(subviews[2], pager->scroll1());
    EXPECT_EQ(background->frame(), pager->scroll1()->frame());
    EXPECT_EQ(background->image().pixelAt(0, 0), 0xff336699u);
}

TEST_F(TabPagerBuildTest, WithoutTitlesOrViewsItShowsThreeColouredPlaceholderPages) {
    auto pager =
        AnnouncemeScrollViewer::scrollWithFrame(Rect{{0, 0}, {375, 400}}, {}, std::nullopt, 9);
    ASSERT_TRUE(pager->addAll());
    ASSERT_EQ(pager->buttons().size(), 3u);
    EXPECT_EQ(pager->buttons()[2]->title(), "CCC");
    EXPECT_EQ(pager->buttons()[2]->frame(), (Rect{{250, 0}, {125, 50}}));
    const auto& placeholders = pager->scroll2()->subviews();
    ASSERT_EQ(placeholders.size(), 3u);
    EXPECT_EQ(placeholders[0]->backgroundColor(), Color::redColor());
    EXPECT_EQ(placeholders[2]->frame(), (Rect{{750, 0}, {375, 350}}));
}

// --- When it builds, and how often -----------------------------------------------------------

TEST_F(TabPagerBuildTest, ItBuildsOnceOnTheWindowsLayoutPassSoSettingsAfterAddingItStillCount) {
    std::shared_ptr<View> content;
    auto window = showWindow(content);
    auto pager = makePager(5);
    content->addSubview(pager);
    pager->xl_topHeight = 42;
    EXPECT_FALSE(pager->isBuilt());

    runPending();
    ASSERT_TRUE(pager->isBuilt());
    EXPECT_EQ(pager->scroll1()->frame().size.height, 42);
    auto row = pager->scroll1();

    // Later passes and requests build nothing more.
    EXPECT_TRUE(pager->addAll());
    pager->setNeedsLayout();
    pager->layoutIfNeeded();
    pager->setFrame(Rect{{0, 0}, {screenWidth(), 300}});
    runPending();
    EXPECT_EQ(pager->subviews().size(), 2u);
    EXPECT_EQ(pager->scroll1(), row);
    EXPECT_EQ(pager->buttons().size(), 5u);
    EXPECT_EQ(pager->scroll1()->subviews().size(), 6u);  // five tabs and the slider
    EXPECT_EQ(pager->scroll2()->subviews().size(), 5u);
}

// --- Settings that do not fit -----------------------------------------------------------------

TEST_F(TabPagerBuildTest, TitlesAndViewsOfDifferentCountsRaiseTheAlertAndBuildNothing) {
    auto pager = AnnouncemeScrollViewer::scrollWithFrame(Rect{{0, 0}, {375, 400}}, pages(3),
                                                         std::vector<std::string>{"一", "二"}, 9);
    EXPECT_FALSE(pager->addAll());

    auto alert = AlertPresenter::shared().topAlert();
    ASSERT_TRUE(alert);
    EXPECT_EQ(alert->alertTitle(), "XLScroll友情提醒！");
    EXPECT_EQ(alert->alertMessage(), "您填写的按钮数与视图数不一致，请仔细检查代码");
    EXPECT_EQ(alert->buttonTitles(), std::vector<std::string>{"好的"});
    EXPECT_TRUE(pager->subviews().empty());
    EXPECT_TRUE(pager->buttons().empty());
    EXPECT_FALSE(pager->scroll2());
    EXPECT_TRUE(alert->pressButtonTitled("好的"));
    EXPECT_FALSE(AlertPresenter::shared().isModalBlocking());

    // Views without titles get the alert rather than default tabs.
    auto untitled = AnnouncemeScrollViewer::scrollWithFrame(Rect{{0, 0}, {375, 400}}, pages(3),
                                                            std::nullopt, 9);
    EXPECT_FALSE(untitled->addAll());
    EXPECT_EQ(AlertPresenter::shared().visibleAlerts().size(), 1u);
    EXPECT_TRUE(untitled->buttons().empty());
    AlertPresenter::shared().topAlert()->pressButton(0);

    // An empty title list builds nothing and does not complain.
    auto empty = AnnouncemeScrollViewer::scrollWithFrame(Rect{{0, 0}, {375, 400}}, {},
                                                         std::vector<std::string>{}, 9);
    EXPECT_FALSE(empty->addAll());
    empty->layoutIfNeeded();
    EXPECT_TRUE(empty->subviews().empty());
    EXPECT_FALSE(AlertPresenter::shared().isModalBlocking());
}

TEST_F(TabPagerBuildTest, TheAlertComesOnceFromLayoutNotAtEveryPass) {
    std::shared_ptr<View> content;
    auto window = showWindow(content);
    auto pager = AnnouncemeScrollViewer::scrollWithFrame(
        Rect{{0, 0}, {375, 400}}, pages(2), std::vector<std::string>{"一", "二", "三"}, 9);
    content->addSubview(pager);
    runPending();
    ASSERT_EQ(AlertPresenter::shared().visibleAlerts().size(), 1u);
    AlertPresenter::shared().topAlert()->pressButton(0);

    pager->setFrame(Rect{{0, 0}, {375, 300}});
    runPending();
    EXPECT_TRUE(AlertPresenter::shared().visibleAlerts().empty());
    EXPECT_TRUE(pager->subviews().empty());

    // Once the caller pairs them up, it builds on request.
    pager->xl_views = pages(3);
    EXPECT_TRUE(pager->addAll());
    EXPECT_EQ(pager->buttons().size(), 3u);
}

}  // namespace
}  // namespace widgettest
