#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/graphics/Image.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"
#include "tests/widgets/WidgetTestSupport.h"
#include "widgets/ViewControllerBackBarItem.h"

namespace widgettest {
namespace {

using namespace platform;

// A bundle of our own holding the "返回" image, so the test knows what the button must show.
class ViewControllerBackBarItemTest : public WidgetTest {
protected:
    void SetUp() override {
        WidgetTest::SetUp();
        const char* previous = std::getenv("CAMPUS_RESOURCES");
        m_previous = previous ? std::optional<std::string>(previous) : std::nullopt;
        m_bundle = std::filesystem::temp_directory_path() /
                   ("widgets-bundle-" + std::to_string(::getpid()));
        std::filesystem::create_directories(m_bundle / "images");
        m_backImage = Image::fromARGB(65, 54, std::vector<std::uint32_t>(65 * 54, 0xff102030u), 2);
        std::ofstream(m_bundle / "images" / "返回@2x.png", std::ios::binary)
            << m_backImage.pngData();
        ::setenv("CAMPUS_RESOURCES", m_bundle.c_str(), 1);
    }
    void TearDown() override {
        if (m_previous) {
            ::setenv("CAMPUS_RESOURCES", m_previous->c_str(), 1);
        } else {
            ::unsetenv("CAMPUS_RESOURCES");
        }
        std::filesystem::remove_all(m_bundle);
        WidgetTest::TearDown();
    }

    std::filesystem::path m_bundle;
    std::optional<std::string> m_previous;
    Image m_backImage;
};

TEST_F(ViewControllerBackBarItemTest, TheBackButtonShowsTheBackImageAndActsOnTouchUpInsideOnly) {
    auto controller = std::make_shared<ViewController>();
    int backs = 0;
    Control* sender = nullptr;
    auto button = backBarBtnWithAction(*controller, [&](Control& control) {
        ++backs;
        sender = &control;
    });
    EXPECT_EQ(button->frame(), (Rect{{0, 0}, {32.5, 27}}));
    Image shown = button->image(ControlState::Normal);
    EXPECT_EQ(shown.size(), (Size{32.5, 27}));
    EXPECT_EQ(shown.pixelAt(0, 0), 0xff102030u);

    button->sendActions(ControlEvent::TouchDown);
    button->sendActions(ControlEvent::TouchUpOutside);
    EXPECT_EQ(backs, 0);
    button->sendActions(ControlEvent::TouchUpInside);
    EXPECT_EQ(backs, 1);
    EXPECT_EQ(sender, button.get());
}

TEST_F(ViewControllerBackBarItemTest, TheButtonNeitherKeepsItsScreenAliveNorActsForAGoneOne) {
    auto controller = std::make_shared<ViewController>();
    std::weak_ptr<ViewController> weak = controller;
    int backs = 0;
    auto button = backBarBtnWithAction(*controller, [&](Control&) { ++backs; });
    controller.reset();
    EXPECT_TRUE(weak.expired());
    button->sendActions(ControlEvent::TouchUpInside);
    EXPECT_EQ(backs, 0);
}

TEST_F(ViewControllerBackBarItemTest, TheOtherBarButtonsTakeTheirSizeTitleOrNamedImage) {
    Screen::main().setSize({414, 736});
    auto controller = std::make_shared<ViewController>();
    auto search = searchBarBtnWithAction(*controller, [](Control&) {});
    EXPECT_EQ(search->frame(), (Rect{{414, 0}, {32.5, 27}}));  // at the right edge of the view
    EXPECT_FALSE(search->image().isNull());

    int taps = 0;
    auto titled = BarButtonWithSizeTitle(*controller, {60, 30}, "完成", [&](Control&) { ++taps; });
    EXPECT_EQ(titled->frame(), (Rect{{0, 0}, {60, 30}}));
    EXPECT_EQ(titled->title(ControlState::Normal), "完成");
    EXPECT_EQ(titled->titleLabel()->font(), Font::systemFont(14));
    titled->sendActions(ControlEvent::TouchUpInside);
    EXPECT_EQ(taps, 1);

    auto image = BarButtonWithSizeImgName(*controller, {44, 44}, "返回", [](Control&) {});
    EXPECT_EQ(image->frame(), (Rect{{0, 0}, {44, 44}}));
    EXPECT_EQ(image->image().pixelAt(0, 0), 0xff102030u);
    auto missing = BarButtonWithSizeImgName(*controller, {44, 44}, "没有这张图", [](Control&) {});
    EXPECT_TRUE(missing->image().isNull());
}

TEST_F(ViewControllerBackBarItemTest, AddNaviControllerPutsTheScreenAtTheRootOfANewStack) {
    auto controller = std::make_shared<ViewController>();
    auto navigation = addNaviController(controller);
    ASSERT_TRUE(navigation);
    ASSERT_EQ(navigation->viewControllers().size(), 1u);
    EXPECT_EQ(navigation->topViewController(), controller);
    EXPECT_EQ(controller->navigationController(), navigation);
    EXPECT_TRUE(addNaviController(nullptr)->viewControllers().empty());
}

}  // namespace
}  // namespace widgettest
