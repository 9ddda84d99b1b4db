#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "campus/AnnouncementViewController.h"
#include "components/sidemenu/SideViewController.h"
#include "platform/desktop/DesktopWindow.h"
#include "platform/graphics/BitmapContext.h"
#include "platform/ui/ActionSheet.h"
#include "platform/ui/ActionSheetDelegate.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/AlertViewDelegate.h"
#include "platform/ui/Button.h"
#include "platform/ui/DisplayChanges.h"
#include "platform/ui/Keyboard.h"
#include "platform/ui/Renderer.h"
#include "platform/ui/Screen.h"
#include "platform/ui/TableView.h"
#include "platform/ui/TextField.h"
#include "signin/LoginViewController.h"
#include "tests/shell/HomeTestSupport.h"
#include "tests/window/WindowTestSupport.h"
#include "webcontainer/ZoomScrollView.h"

using namespace hometest;
using platform::Point;
using platform::desktop::DesktopWindow;
using shelltest::kTeacher;

namespace {

using DesktopWindowTest = windowtest::WindowTest;
using windowtest::kNoWait;

// --- The mouse is the finger ---------------------------------------------------------------

TEST_F(DesktopWindowTest, AClickAtATilesCentrePushesItsScreen) {
    storeSignIn(SignInKey::LoginTypeTeacher, kTeacher);
    open();
    auto tile = driver.find("通知公告");
    ASSERT_TRUE(tile) << driver.outline();

    click(centreOf(*tile));

    EXPECT_TRUE(std::dynamic_pointer_cast<AnnouncementViewController>(topOfHomeStack()))
        << driver.outline();
}

TEST_F(DesktopWindowTest, AClickAtAHiddenButtonDoesNothingAndAtAShownOneTapsIt) {
    open();
    // On a plain panel over the home page, so nothing under the hidden button takes the tap.
    auto panel = platform::View::make<platform::View>(platform::Rect{{40, 250}, {300, 150}});
    panel->setBackgroundColor(platform::Color::white());
    home()->view()->addSubview(panel);
    int taps = 0;
    auto button = platform::View::make<platform::Button>(platform::Rect{{60, 50}, {120, 44}},
                                                         platform::ButtonType::System);
    button->setTitle("Ping");
    button->addTarget([&taps](platform::Control&) { ++taps; },
                      platform::ControlEvent::TouchUpInside);
    button->setHidden(true);
    panel->addSubview(button);
    const Point centre = centreOf(*button);

    click(centre);
    EXPECT_EQ(taps, 0);
    EXPECT_EQ(homeStack()->viewControllers().size(), 1u);
    EXPECT_FALSE(presented());

    button->setHidden(false);
    click(centre);
    EXPECT_EQ(taps, 1);
}

TEST_F(DesktopWindowTest, ADragUpOnTheNewsScrollsItAndALongPullDownReloadsIt) {
    open();
    ASSERT_GT(home()->allNewsArr().size(), 3u);
    platform::Rect shown = news().convertRectTo(news().bounds(), nullptr);
    const Point low{shown.midX(), shown.minY() + shown.height() * 0.8};
    const Point high{shown.midX(), shown.minY() + shown.height() * 0.2};
    auto hit = platform::Application::shared().keyWindow()->hitTest(low);
    ASSERT_TRUE(hit && (hit.get() == &news() || hit->isDescendantOf(&news())));
    const double top = news().contentOffset().y;

    dragMouse(low, high);
    EXPECT_GT(news().contentOffset().y, top + 40);

    // Back at the top, a pull well past the top edge asks for the first page again.
    dragMouse(high, low);
    EXPECT_NEAR(news().contentOffset().y, top, 0.5);
    const size_t asked = server.requestsTo(kNewsPath).size();
    dragMouse(high, {high.x, high.y + 260}, 30);
    ASSERT_TRUE(waitForQuiet());
    pump();
    auto requests = server.requestsTo(kNewsPath);
    ASSERT_EQ(requests.size(), asked + 1);
    EXPECT_EQ(requests.back().queryValue("pageNo"), "1");
}

TEST_F(DesktopWindowTest, SignedInADragFromTheRightEdgeOpensTheSideMenu) {
    storeSignIn(SignInKey::LoginTypeTeacher, kTeacher);
    open();
    ASSERT_FALSE(delegate->sideViewController()->isShowingRight());
    dragMouse({370, 300}, {60, 300}, 20);
    EXPECT_TRUE(delegate->sideViewController()->isShowingRight()) << driver.outline();
}

TEST_F(DesktopWindowTest, TheWheelScrollsTheListUnderThePointerAndStopsAtItsTop) {
    open();
    platform::Rect shown = news().convertRectTo(news().bounds(), nullptr);
    const Point over{shown.midX(), shown.minY() + shown.height() * 0.7};
    const double top = news().contentOffset().y;
    const size_t asked = server.requestsTo(kNewsPath).size();

    window->postMouseWheel(pixel(over), {0, -2});
    pump();
    EXPECT_GT(news().contentOffset().y, top + 40);

    // Turned up past the top, the list comes to rest there: a wheel does not pull to reload.
    window->postMouseWheel(pixel(over), {0, 20});
    pump();
    EXPECT_NEAR(news().contentOffset().y, top, 0.5);
    EXPECT_EQ(server.requestsTo(kNewsPath).size(), asked);
}

class ClickedButtons : public platform::AlertViewDelegate {
public:
    void clickedButtonAtIndex(platform::AlertView&, int index) override {
        clicked.push_back(index);
    }
    std::vector<int> clicked;
};

TEST_F(DesktopWindowTest, WhileAnAlertShowsAClickReachesOnlyItsButtons) {
    open();
    auto buttons = std::make_shared<ClickedButtons>();
    auto alert = platform::View::make<platform::AlertView>(
        "提示", "确定要退出吗？", buttons, "取消", std::vector<std::string>{"确定"});
    alert->show();
    alert->layoutIfNeeded();
    const platform::Rect frame = alert->frame();
    const double buttonsTop = frame.maxY() - 22;  // the middle of the row of two buttons

    // The tile under the dimmed screen is not tapped.
    click(centreOf(*driver.find("通知公告")));
    EXPECT_TRUE(buttons->clicked.empty());
    EXPECT_TRUE(alert->isVisible());
    EXPECT_FALSE(presented());

    // Pressed on one button and lifted on the other: neither is pressed.
    window->postMouseButton(pixel({frame.minX() + frame.width() * 0.25, buttonsTop}), true);
    window->postMouseButton(pixel({frame.minX() + frame.width() * 0.75, buttonsTop}), false);
    pump();
    EXPECT_TRUE(buttons->clicked.empty());

    click({frame.minX() + frame.width() * 0.75, buttonsTop});
    EXPECT_EQ(buttons->clicked, std::vector<int>{1});
    EXPECT_FALSE(alert->isVisible());
}

TEST_F(DesktopWindowTest, TheWheelWithControlHeldPinchesTheZoomingViewUnderThePointer) {
    open();
    auto page = ZoomScrollView::initWithFrame(
        platform::Rect{{40, 150}, {300, 300}},
        platform::Image::fromARGB(4, 4, std::vector<std::uint32_t>(16, 0xFF336699u)));
    home()->view()->addSubview(page);
    const Point over = centreOf(*page);

    window->postMouseWheel(pixel(over), {0, 2});
    pump();
    EXPECT_EQ(page->zoomScale(), 1.0);

    window->postMouseWheel(pixel(over), {0, 2}, true);
    pump();
    EXPECT_NEAR(page->zoomScale(), 1.5625, 1e-9);
    // Spread on past its largest, it stays there.
    window->postMouseWheel(pixel(over), {0, 10}, true);
    pump();
    EXPECT_EQ(page->zoomScale(), ZoomScrollView::kMaximumZoom);
    window->postMouseWheel(pixel(over), {0, 0});  // Control let go
    pump();
}

class ClickedRows : public platform::ActionSheetDelegate {
public:
    void clickedButtonAtIndex(platform::ActionSheet& sheet, int index) override {
        clicked.push_back(sheet.buttonTitleAtIndex(index));
    }
    std::vector<std::string> clicked;
};

TEST_F(DesktopWindowTest, AClickOnAnActionSheetsRowPressesThatRowAndOnItsTitleNothing) {
    open();
    auto rows = std::make_shared<ClickedRows>();
    auto sheet = platform::View::make<platform::ActionSheet>(
        "上传图片", rows, "取消", "", std::vector<std::string>{"拍照", "从相册选择"});
    sheet->showInView(home()->view());
    const platform::Rect frame = sheet->frame();

    click({frame.midX(), frame.minY() + 5});
    EXPECT_TRUE(rows->clicked.empty());
    ASSERT_TRUE(sheet->isVisible());

    // The last row at the sheet's bottom edge.
    click({frame.midX(), frame.maxY() - 10});
    ASSERT_EQ(rows->clicked.size(), 1u);
    EXPECT_EQ(rows->clicked[0], sheet->buttonTitleAtIndex(sheet->numberOfButtons() - 1));
    EXPECT_FALSE(sheet->isVisible());
}

// --- The keyboard -------------------------------------------------------------------------

TEST_F(DesktopWindowTest, TypedTextReachesTheFieldBeingEditedAndBackspaceDeletesOneCharacter) {
    open();
    auto tile = driver.find("通知公告");
    ASSERT_TRUE(tile);
    click(centreOf(*tile));
    auto login = std::dynamic_pointer_cast<LoginViewController>(presented());
    ASSERT_TRUE(login) << driver.outline();
    auto account = login->AccountTextField();

    // Typing before a field is being edited goes nowhere.
    window->postTextInput("x");
    pump();
    EXPECT_EQ(account->text(), "");

    click(centreOf(*account));
    ASSERT_TRUE(account->isEditing());
    window->postTextInput("2005");
    window->postTextInput("张老师的账号很长很长很长很长");
    window->postKey(platform::desktop::Key::Backspace);
    pump();
    EXPECT_EQ(account->text(), "2005张老师的账号很长很长很长很");
}

TEST_F(DesktopWindowTest, WhileTheKeyboardIsUpAClickOnItsAreaReachesNothingBelow) {
    open();
    auto field = platform::View::make<platform::TextField>(platform::Rect{{20, 200}, {300, 40}});
    int taps = 0;
    auto button = platform::View::make<platform::Button>(platform::Rect{{20, 400}, {300, 44}},
                                                         platform::ButtonType::System);
    button->setTitle("Below");
    button->addTarget([&taps](platform::Control&) { ++taps; },
                      platform::ControlEvent::TouchUpInside);
    home()->view()->addSubview(field);
    home()->view()->addSubview(button);

    click(centreOf(*field));
    ASSERT_TRUE(platform::Keyboard::isVisible());
    ASSERT_TRUE(platform::Keyboard::frame().contains(centreOf(*button)));
    click(centreOf(*button));
    EXPECT_EQ(taps, 0);
    EXPECT_TRUE(field->isEditing());

    field->resignFirstResponder();
    pump();
    ASSERT_FALSE(platform::Keyboard::isVisible());
    click(centreOf(*button));
    EXPECT_EQ(taps, 1);
}

TEST_F(DesktopWindowTest, ReturnIsTheKeyboardsReturnKey) {
    open();
    click(centreOf(*driver.find("通知公告")));
    auto login = std::dynamic_pointer_cast<LoginViewController>(presented());
    ASSERT_TRUE(login);
    click(centreOf(*login->AccountTextField()));
    window->postTextInput(kTeacher);
    window->postKey(platform::desktop::Key::Return);
    pump();
    // The sign-in page's return key ends the editing and keeps the text.
    EXPECT_FALSE(login->AccountTextField()->isEditing());
    EXPECT_EQ(login->AccountTextField()->text(), kTeacher);
}

TEST_F(DesktopWindowTest, TheKeyboardIsDrawnInTheWindowAndAClickOnAKeyTypesIt) {
    open();
    click(centreOf(*driver.find("通知公告")));
    auto login = std::dynamic_pointer_cast<LoginViewController>(presented());
    ASSERT_TRUE(login);
    auto account = login->AccountTextField();
    click(centreOf(*account));
    ASSERT_TRUE(platform::Keyboard::isVisible());
    window->pump(kNoWait);

    // What the window shows is the renderer's picture with the keyboard in it: the sign-in
    // button under the keyboard is hidden, the keys are seen.
    EXPECT_EQ(differingPixels(window->pixels(), rendererPng()), 0);
    const auto keys = platform::Keyboard::keys();
    auto keyTitled = [&](const std::string& title) {
        for (const auto& key : keys)
            if (key.title == title)
                return key;
        ADD_FAILURE() << "no key " << title;
        return platform::KeyboardKey{};
    };
    const auto two = keyTitled("2");
    const platform::Image shown = window->pixels();
    const Point face = pixel({two.frame.minX() + 6, two.frame.minY() + 6});
    EXPECT_EQ(shown.pixelAt(int(face.x), int(face.y)), 0xFFFFFFFFu) << "a key is drawn white";

    auto centre = [](const platform::KeyboardKey& key) {
        return Point{key.frame.midX(), key.frame.midY()};
    };
    click(centre(two));
    click(centre(keyTitled("0")));
    click(centre(keyTitled("x")));
    click(centre(keyTitled("⌫")));
    click(centre(keyTitled("5")));
    EXPECT_EQ(account->text(), "205");
    EXPECT_TRUE(account->isEditing());

    // Pressed on one key and lifted on another, nothing is typed.
    window->postMouseButton(pixel(centre(keyTitled("7"))), true);
    window->postMouseButton(pixel(centre(keyTitled("8"))), false);
    pump();
    EXPECT_EQ(account->text(), "205");

    // The drawn return key is the keyboard's return: the sign-in page ends the editing.
    click(centre(keys.back()));
    EXPECT_FALSE(account->isEditing());
    EXPECT_FALSE(platform::Keyboard::isVisible());
    EXPECT_EQ(differingPixels(window->pixels(), rendererPng()), 0);
}

// --- The caret ----------------------------------------------------------------------------

// The caret's columns in the picture (window pixels) within the rows of `area` (points): the
// only thing drawn in the tint's blue. Empty when none shows.
std::vector<int> caretColumns(const platform::Image& image, platform::Rect area, double scale) {
    std::vector<int> columns;
    for (int x = 0; x < image.pixelWidth(); ++x) {
        for (int y = int(area.minY() * scale); y < int(area.maxY() * scale); ++y) {
            const auto argb = image.pixelAt(x, y);
            const int r = int((argb >> 16) & 0xFF), g = int((argb >> 8) & 0xFF),
                      b = int(argb & 0xFF);
            if (r < 60 && g > 90 && g < 160 && b > 220) {
                columns.push_back(x);
                break;
            }
        }
    }
    return columns;
}

TEST_F(DesktopWindowTest, AClickInTheEditedTextPutsTheCaretThereAndItBlinksInTheWindowOnly) {
    open();
    auto field = platform::View::make<platform::TextField>(platform::Rect{{20, 200}, {300, 40}});
    field->setBackgroundColor(platform::Color::white());
    field->setText("WWWWWWWWWW");
    home()->view()->addSubview(field);
    const double scale = window->scale();
    const platform::Rect line = field->convertRectTo(field->bounds(), nullptr);

    click(centreOf(*field));
    ASSERT_TRUE(field->isEditing());
    auto atEnd = caretColumns(window->pixels(), line, scale);
    ASSERT_FALSE(atEnd.empty()) << "the caret shows in the window";
    const double end = atEnd.front() / scale;
    EXPECT_GT(end, line.minX() + 100) << "after the text";

    // A click between the fifth and sixth letters puts the caret there, and typing goes there.
    const double middle = (line.minX() + end) / 2;
    click({middle, line.midY()});
    auto moved = caretColumns(window->pixels(), line, scale);
    ASSERT_FALSE(moved.empty());
    EXPECT_NEAR(moved.front() / scale, middle, 10);
    window->postTextInput("i");
    pump();
    EXPECT_EQ(field->text(), "WWWWWiWWWWW");
    EXPECT_EQ(differingPixels(window->pixels(), rendererPng()), 0);

    // Left alone, the caret hides and shows again in the window, 0.6 s each (the clock stands
    // 0.5 s after the key now); the renderer's pictures (screenshots) keep it.
    settle(0.3);
    window->pump(kNoWait);
    EXPECT_TRUE(caretColumns(window->pixels(), line, scale).empty()) << "blinked off";
    EXPECT_FALSE(caretColumns(rendererPng(), line, scale).empty());
    settle(0.6);
    window->pump(kNoWait);
    EXPECT_FALSE(caretColumns(window->pixels(), line, scale).empty()) << "and back";
    // A key shows it at once, wherever the blink was.
    settle(0.6);
    window->pump(kNoWait);
    ASSERT_TRUE(caretColumns(window->pixels(), line, scale).empty());
    window->postKey(platform::desktop::Key::Backspace);
    window->pump(kNoWait);
    EXPECT_FALSE(caretColumns(window->pixels(), line, scale).empty());
    EXPECT_EQ(field->text(), "WWWWWWWWWW");

    // Not edited, no caret shows in any half of the blink.
    field->resignFirstResponder();
    pump();
    for (int i = 0; i < 2; ++i) {
        settle(0.6);
        window->pump(kNoWait);
        EXPECT_TRUE(caretColumns(window->pixels(), line, scale).empty());
    }
}

// --- Drawing ------------------------------------------------------------------------------

TEST_F(DesktopWindowTest, TheWindowShowsTheRenderersPixelsAtTheScreensScale) {
    open();
    platform::Image shown = window->pixels();
    EXPECT_EQ(shown.pixelWidth(), 750);
    EXPECT_EQ(shown.pixelHeight(), 1334);
    EXPECT_EQ(differingPixels(shown, rendererPng()), 0);

    // After a change the window shows the new screen: the push moves the display count by
    // itself.
    click(centreOf(*driver.find("通知公告")));
    window->pump(kNoWait);
    EXPECT_EQ(differingPixels(window->pixels(), rendererPng()), 0);
}

TEST_F(DesktopWindowTest, AnIdleScreenIsNotDrawnAgainAndAChangedOneOnce) {
    open();
    settleScreen();
    window->pump(kNoWait);
    const auto frames = window->framesPresented();
    ASSERT_GE(frames, 1u);

    for (int i = 0; i < 5; ++i) window->pump(kNoWait);
    window->pump(std::chrono::milliseconds(30));
    EXPECT_EQ(window->framesPresented(), frames);

    platform::noteDisplayChange();
    platform::noteDisplayChange();
    window->pump(kNoWait);
    window->pump(kNoWait);
    EXPECT_EQ(window->framesPresented(), frames + 1);
}

}  // namespace
