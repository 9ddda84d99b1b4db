#include <gtest/gtest.h>

#include "platform/foundation/Json.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/testing/ScreenSize.h"
#include "platform/ui/Application.h"
#include "platform/ui/Device.h"
#include "platform/ui/InterfaceRotation.h"
#include "platform/ui/Keyboard.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Screen.h"
#include "platform/ui/TabBarController.h"
#include "platform/ui/TextField.h"
#include "platform/ui/View.h"
#include "tests/ui/UiTestSupport.h"

namespace uitest {
namespace {

using namespace platform;

// Writes the rotation callbacks and the layout pass into the log, with the bounds its view
// has at each, and takes only the orientations it is given.
class TurningController : public ViewController {
public:
    TurningController(std::string name, std::shared_ptr<Log> log,
                      InterfaceOrientationMask mask = OrientationMask::AllButUpsideDown)
        : m_name(std::move(name)), m_log(std::move(log)), m_mask(mask) {}

    InterfaceOrientationMask supportedInterfaceOrientations() const override { return m_mask; }
    bool shouldAutorotateToInterfaceOrientation(InterfaceOrientation orientation) override {
        m_log->push_back(m_name + ".should " + orientationName(orientation));
        return (m_mask & maskOf(orientation)) != 0;
    }
    void willRotateToInterfaceOrientation(InterfaceOrientation to, double) override {
        m_log->push_back(m_name + ".willRotate " + orientationName(to) + " " + width());
    }
    void viewWillLayoutSubviews() override { m_log->push_back(m_name + ".layout " + width()); }
    void didRotateFromInterfaceOrientation(InterfaceOrientation from) override {
        m_log->push_back(m_name + ".didRotate " + orientationName(from) + " " + width());
    }

private:
    std::string width() const {
        auto view = viewIfLoaded();
        return view ? std::to_string(int(view->bounds().size.width)) : "-";
    }
    std::string m_name;
    std::shared_ptr<Log> m_log;
    InterfaceOrientationMask m_mask;
};

class RotationTest : public UiTest {
protected:
    std::shared_ptr<Log> log = std::make_shared<Log>();
};

TEST_F(RotationTest, TurningTheDeviceTurnsScreenStatusBarAndWindowInThePhonesOrder) {
    platform::testing::ScreenSize phone(375, 667);
    auto home = std::make_shared<TurningController>("A", log);
    auto window = showWindow(home);
    window->layoutIfNeeded();
    log->clear();

    Device::current().setOrientation(DeviceOrientation::LandscapeLeft);

    // The device held landscape-left shows a landscape-right interface.
    EXPECT_EQ(Application::shared().statusBarOrientation(), InterfaceOrientation::LandscapeRight);
    EXPECT_EQ(Screen::main().bounds(), (Rect{{0, 0}, {667, 375}}));
    EXPECT_EQ(Screen::main().portraitSize(), (Size{375, 667}));
    EXPECT_EQ(Application::shared().statusBarFrame(), (Rect{{0, 0}, {667, 20}}));
    EXPECT_EQ(window->bounds().size, (Size{667, 375}));
    EXPECT_EQ(home->view()->bounds().size, (Size{667, 375}));
    EXPECT_EQ(*log, (Log{"A.willRotate landscape-right 375", "A.layout 667",
                         "A.didRotate portrait 667"}));
    EXPECT_EQ(home->interfaceOrientation(), InterfaceOrientation::LandscapeRight);

    log->clear();
    Device::current().setOrientation(DeviceOrientation::Portrait);
    EXPECT_EQ(Screen::main().bounds().size, (Size{375, 667}));
    EXPECT_EQ(*log, (Log{"A.willRotate portrait 667", "A.layout 375",
                         "A.didRotate landscape-right 375"}));
}

TEST_F(RotationTest, ARefusedOrientationKeepsTheInterfaceAsItIs) {
    // The phone's default takes no upside-down interface.
    auto home = std::make_shared<TurningController>("A", log);
    auto window = showWindow(home);
    log->clear();
    Device::current().setOrientation(DeviceOrientation::PortraitUpsideDown);
    EXPECT_EQ(Application::shared().statusBarOrientation(), InterfaceOrientation::Portrait);
    EXPECT_TRUE(log->empty());

    // A portrait-only screen keeps portrait; the device's orientation is still what it is.
    auto portraitOnly = std::make_shared<TurningController>("B", log, OrientationMask::Portrait);
    window->setRootViewController(portraitOnly);
    Device::current().setOrientation(DeviceOrientation::LandscapeRight);
    EXPECT_EQ(Device::current().orientation(), DeviceOrientation::LandscapeRight);
    EXPECT_EQ(Application::shared().statusBarOrientation(), InterfaceOrientation::Portrait);
    EXPECT_EQ(Screen::main().size(), (Size{375, 667}));
}

TEST_F(RotationTest, TheTopPresentedControllerDecidesAndTheDeviceIsFollowedWhenItGoes) {
    auto home = std::make_shared<TurningController>("A", log);
    auto window = showWindow(home);
    auto sheet = std::make_shared<TurningController>("B", log, OrientationMask::Portrait);
    home->presentViewController(sheet, false);
    Device::current().setOrientation(DeviceOrientation::LandscapeLeft);
    EXPECT_EQ(Application::shared().statusBarOrientation(), InterfaceOrientation::Portrait);

    // Once the portrait-only sheet has gone the screen below takes the device's orientation.
    log->clear();
    sheet->dismissViewController(false);
    EXPECT_EQ(Application::shared().statusBarOrientation(), InterfaceOrientation::LandscapeRight);
    EXPECT_EQ(home->view()->bounds().size.width, 667);
    EXPECT_EQ(log->back(), "A.didRotate portrait 667");

    // Presenting a portrait-only screen over a landscape interface turns it upright.
    auto again = std::make_shared<TurningController>("C", log, OrientationMask::Portrait);
    home->presentViewController(again, false);
    EXPECT_EQ(Application::shared().statusBarOrientation(), InterfaceOrientation::Portrait);
    EXPECT_EQ(again->view()->bounds().size, (Size{375, 667}));
}

TEST_F(RotationTest, ContainersPassTheCallbacksToTheScreensOnTopOuterFirst) {
    auto first = std::make_shared<TurningController>("A", log);
    auto second = std::make_shared<TurningController>("B", log);
    auto nav = std::make_shared<NavigationController>(first);
    auto window = showWindow(nav);
    nav->pushViewController(second, false);
    log->clear();
    Device::current().setOrientation(DeviceOrientation::LandscapeRight);
    // Only the screen on top of the stack hears of it; the one below lays out when it shows.
    ASSERT_FALSE(log->empty());
    EXPECT_EQ(log->front(), "B.willRotate landscape-left 375");
    EXPECT_EQ(log->back(), "B.didRotate portrait 667");
    EXPECT_EQ(std::count_if(log->begin(), log->end(),
                            [](const std::string& e) { return e.rfind("A.", 0) == 0; }),
              0);
}

TEST_F(RotationTest, BeforeVersion6TheShownChildIsAskedShouldAutorotateToInterfaceOrientation) {
    Application::shared().setSystemVersion("5.1");
    auto first = std::make_shared<TurningController>("A", log, OrientationMask::All);
    auto nav = std::make_shared<NavigationController>(first);
    auto window = showWindow(nav);
    log->clear();
    Device::current().setOrientation(DeviceOrientation::PortraitUpsideDown);
    ASSERT_FALSE(log->empty());
    EXPECT_EQ(log->front(), "A.should upside-down");
    EXPECT_EQ(Application::shared().statusBarOrientation(),
              InterfaceOrientation::PortraitUpsideDown);
}

TEST_F(RotationTest, AKeyboardThatIsUpAnnouncesItsLandscapeFrame) {
    auto home = std::make_shared<TurningController>("A", log);
    auto window = showWindow(home);
    auto field = View::make<TextField>(Rect{{10, 100}, {200, 30}});
    home->view()->addSubview(field);
    ASSERT_TRUE(field->becomeFirstResponder());
    Rect announced;
    auto observer = NotificationCenter::defaultCenter().addObserver(
        "UIKeyboardWillShowNotification", [&](const Notification& n) {
            const auto& end = n.userInfo["UIKeyboardFrameEndUserInfoKey"];
            announced = Rect{{end[0].get<double>(), end[1].get<double>()},
                             {end[2].get<double>(), end[3].get<double>()}};
        });
    Device::current().setOrientation(DeviceOrientation::LandscapeLeft);
    NotificationCenter::defaultCenter().removeObserver(observer);
    EXPECT_EQ(announced,
              (Rect{{0, 375 - Keyboard::kLandscapeHeight}, {667, Keyboard::kLandscapeHeight}}));
    EXPECT_EQ(Keyboard::frame(), announced);
}

TEST_F(RotationTest, AFlatDeviceLeavesTheInterfaceAndTheFrontEndWordsReadBack) {
    auto home = std::make_shared<TurningController>("A", log);
    auto window = showWindow(home);
    Device::current().setOrientation(DeviceOrientation::LandscapeLeft);
    Device::current().setOrientation(DeviceOrientation::FaceUp);
    EXPECT_EQ(Application::shared().statusBarOrientation(), InterfaceOrientation::LandscapeRight);
    for (auto orientation : {DeviceOrientation::Portrait, DeviceOrientation::PortraitUpsideDown,
                             DeviceOrientation::LandscapeLeft, DeviceOrientation::LandscapeRight}) {
        EXPECT_EQ(parseDeviceOrientation(orientationName(orientation)), orientation);
    }
    EXPECT_FALSE(parseDeviceOrientation("sideways"));
}

TEST_F(RotationTest, ATabletTakesEveryOrientationAndItsKeyboardIsTaller) {
    Application::shared().setUserInterfaceIdiom(UserInterfaceIdiom::Pad);
    platform::testing::ScreenSize pad(768, 1024);
    EXPECT_EQ(Application::shared().deviceInterfaceOrientations(), OrientationMask::All);
    auto home = std::make_shared<TurningController>("A", log, OrientationMask::All);
    auto window = showWindow(home);
    Device::current().setOrientation(DeviceOrientation::PortraitUpsideDown);
    EXPECT_EQ(Application::shared().statusBarOrientation(),
              InterfaceOrientation::PortraitUpsideDown);
    EXPECT_EQ(Keyboard::height(), Keyboard::kPadHeight);
    Device::current().setOrientation(DeviceOrientation::LandscapeRight);
    EXPECT_EQ(Screen::main().size(), (Size{1024, 768}));
    EXPECT_EQ(Keyboard::height(), Keyboard::kPadLandscapeHeight);
}

TEST_F(RotationTest, AScreenThatSaysNothingKeepsToTheApplicationsDeclaredOrientations) {
    // The bundle declares portrait alone on the phone: a plain screen stays upright, and so
    // does what it shows, however the phone is held.
    {
        platform::testing::ScreenSize phone(375, 667);
        auto plain = std::make_shared<ViewController>();
        auto window = showWindow(plain);
        window->layoutIfNeeded();
        for (auto held : {DeviceOrientation::LandscapeLeft, DeviceOrientation::LandscapeRight,
                          DeviceOrientation::PortraitUpsideDown}) {
            SCOPED_TRACE(orientationName(held));
            Device::current().setOrientation(held);
            EXPECT_EQ(Application::shared().statusBarOrientation(), InterfaceOrientation::Portrait);
            EXPECT_EQ(window->bounds().size, (Size{375, 667}));
            EXPECT_EQ(plain->view()->bounds().size, (Size{375, 667}));
        }
        Device::current().setOrientation(DeviceOrientation::Portrait);
    }

    // On the tablet it declares upside-down too: the plain screen turns over, not sideways.
    Application::shared().setUserInterfaceIdiom(UserInterfaceIdiom::Pad);
    platform::testing::ScreenSize pad(768, 1024);
    auto tabletPlain = std::make_shared<ViewController>();
    auto tabletWindow = showWindow(tabletPlain);
    Device::current().setOrientation(DeviceOrientation::PortraitUpsideDown);
    EXPECT_EQ(Application::shared().statusBarOrientation(),
              InterfaceOrientation::PortraitUpsideDown);
    EXPECT_EQ(tabletPlain->view()->bounds().size, (Size{768, 1024}));
    Device::current().setOrientation(DeviceOrientation::LandscapeLeft);
    EXPECT_EQ(Application::shared().statusBarOrientation(),
              InterfaceOrientation::PortraitUpsideDown);
    EXPECT_EQ(tabletPlain->view()->bounds().size, (Size{768, 1024}));

    // An Info.plist list reads as the set it names; anything else is no declaration.
    EXPECT_EQ(orientationMaskFromInfoList(Json::array({"UIInterfaceOrientationPortrait"})),
              OrientationMask::Portrait);
    EXPECT_EQ(orientationMaskFromInfoList(Json::array(
                  {"UIInterfaceOrientationLandscapeLeft", "UIInterfaceOrientationLandscapeRight",
                   "UIInterfaceOrientationPortraitUpsideDown", "UIInterfaceOrientationPortrait"})),
              OrientationMask::All);
    EXPECT_FALSE(orientationMaskFromInfoList(Json::array()));
    EXPECT_FALSE(orientationMaskFromInfoList(Json::array({"UIInterfaceOrientationSideways"})));
    EXPECT_FALSE(orientationMaskFromInfoList(Json::array({"UIInterfaceOrientationPortrait", 3})));
    EXPECT_FALSE(orientationMaskFromInfoList(Json("UIInterfaceOrientationPortrait")));
}

TEST_F(RotationTest, APushedScreenThatTurnsTurnsTheStackAndLeavingItTurnsItBackUpright) {
    auto upright = std::make_shared<TurningController>("A", log, OrientationMask::Portrait);
    auto nav = std::make_shared<NavigationController>(upright);
    auto window = showWindow(nav);
    Device::current().setOrientation(DeviceOrientation::LandscapeLeft);
    EXPECT_EQ(Application::shared().statusBarOrientation(), InterfaceOrientation::Portrait);

    // The device is already turned: the map-like screen takes it as soon as it is on top.
    auto map = std::make_shared<TurningController>("B", log);
    nav->pushViewController(map, true);
    advance(1);
    EXPECT_EQ(Application::shared().statusBarOrientation(), InterfaceOrientation::LandscapeRight);
    EXPECT_EQ(map->view()->bounds().size, (Size{667, 375}));

    nav->popViewController(true);
    advance(1);
    EXPECT_EQ(Application::shared().statusBarOrientation(), InterfaceOrientation::Portrait);
    EXPECT_EQ(upright->view()->bounds().size.width, 375);
    EXPECT_EQ(Device::current().orientation(), DeviceOrientation::LandscapeLeft);
}

TEST_F(RotationTest, TheSelectedTabAnswersForTheTabBar) {
    auto upright = std::make_shared<TurningController>("A", log, OrientationMask::Portrait);
    auto turning = std::make_shared<TurningController>("B", log);
    auto tabs = std::make_shared<TabBarController>();
    tabs->setViewControllers({upright, turning});
    auto window = showWindow(tabs);
    window->layoutIfNeeded();
    Device::current().setOrientation(DeviceOrientation::LandscapeRight);
    EXPECT_EQ(Application::shared().statusBarOrientation(), InterfaceOrientation::Portrait);
    tabs->setSelectedIndex(1);
    EXPECT_EQ(Application::shared().statusBarOrientation(), InterfaceOrientation::LandscapeLeft);
    tabs->setSelectedIndex(0);
    EXPECT_EQ(Application::shared().statusBarOrientation(), InterfaceOrientation::Portrait);
}

TEST_F(RotationTest, ATabletsSheetLeavesTheDecisionToTheScreenUnderIt) {
    Application::shared().setUserInterfaceIdiom(UserInterfaceIdiom::Pad);
    platform::testing::ScreenSize pad(768, 1024);
    auto upright = std::make_shared<TurningController>("A", log, OrientationMask::Portrait);
    auto window = showWindow(upright);
    auto sheet = std::make_shared<TurningController>("B", log, OrientationMask::All);
    sheet->setModalPresentationStyle(ModalPresentationStyle::FormSheet);
    upright->presentViewController(sheet, false);
    EXPECT_EQ(InterfaceRotation::topController(), upright);
    Device::current().setOrientation(DeviceOrientation::LandscapeLeft);
    EXPECT_EQ(Application::shared().statusBarOrientation(), InterfaceOrientation::Portrait);
    EXPECT_EQ(Screen::main().size(), (Size{768, 1024}));

    // Over the whole screen the presented controller decides.
    sheet->dismissViewController(false);
    auto full = std::make_shared<TurningController>("C", log, OrientationMask::All);
    upright->presentViewController(full, false);
    EXPECT_EQ(Application::shared().statusBarOrientation(), InterfaceOrientation::LandscapeRight);
    full->dismissViewController(false);
    EXPECT_EQ(Application::shared().statusBarOrientation(), InterfaceOrientation::Portrait);
}

}  // namespace
}  // namespace uitest
