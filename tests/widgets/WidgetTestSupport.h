#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/foundation/RunLoop.h"
#include "platform/graphics/Font.h"
#include "platform/graphics/TextMeasurer.h"
#include "platform/ui/AlertPresenter.h"
#include "platform/ui/Application.h"
#include "platform/ui/Button.h"
#include "platform/ui/ModalAlert.h"
#include "platform/ui/Screen.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/ViewController.h"
#include "platform/ui/Window.h"

namespace widgettest {

// Every widget test starts from a fresh application, no alerts, the default screen and a
// manual clock.
class WidgetTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::RunLoop::main().useManualClock();
        platform::Application::shared().reset();
        platform::AlertPresenter::shared().reset();
        platform::Screen::main().reset();
    }
    void TearDown() override {
        platform::RunLoop::main().reset();
        platform::RunLoop::main().useRealClock();
        platform::AlertPresenter::shared().reset();
        platform::Application::shared().reset();
        platform::Screen::main().reset();
    }

    void advance(double seconds) { platform::RunLoop::main().advance(platform::seconds(seconds)); }
    // Lets the window run its pending layout pass.
    void runPending() { platform::RunLoop::main().runPending(); }
    static double screenWidth() { return platform::Screen::main().size().width; }

    // A visible key window whose root screen's view is returned in `content`.
    std::shared_ptr<platform::Window> showWindow(std::shared_ptr<platform::View>& content) {
        auto root = std::make_shared<platform::ViewController>();
        auto window = platform::View::make<platform::Window>();
        window->setRootViewController(root);
        window->makeKeyAndVisible();
        content = root->view();
        m_root = root;
        return window;
    }

    // A tap in the middle of the view, through the window's touch handling.
    static bool tapMiddle(platform::Window& window, const platform::View& view) {
        platform::Rect bounds = view.bounds();
        platform::Point middle = view.convertPointTo({bounds.midX(), bounds.midY()}, nullptr);
        return window.tap(middle);
    }

private:
    std::shared_ptr<platform::ViewController> m_root;
};

// The same tests on the three phone widths the screens are laid out for.
class WidgetTestOnEachWidth : public WidgetTest, public ::testing::WithParamInterface<double> {
protected:
    void SetUp() override {
        WidgetTest::SetUp();
        platform::Screen::main().setSize({GetParam(), 667});
    }
};

inline std::string widthName(const ::testing::TestParamInfo<double>& info) {
    // Appended: "literal" + string trips GCC 12's false -Wrestrict.
    return std::string("W").append(std::to_string(int(info.param)));
}

// Frames come from centres and sizes, so compare them to within rounding.
inline void expectRectNear(const platform::Rect& actual, const platform::Rect& expected) {
    EXPECT_NEAR(actual.origin.x, expected.origin.x, 1e-9) << actual << " vs " << expected;
    EXPECT_NEAR(actual.origin.y, expected.origin.y, 1e-9) << actual << " vs " << expected;
    EXPECT_NEAR(actual.size.width, expected.size.width, 1e-9) << actual << " vs " << expected;
    EXPECT_NEAR(actual.size.height, expected.size.height, 1e-9) << actual << " vs " << expected;
}

// The width the widget measures a title at.
inline double titleWidth(const std::string& title, double fontSize = 18) {
    return platform::TextMeasurer::current()
        .boundingSize(title, platform::Font::systemFont(fontSize), {0, 0})
        .width;
}

// Titles of different lengths, so that a slider sized for the wrong tab shows.
inline std::vector<std::string> channelTitles(std::size_t count) {
    static const std::vector<std::string> names{"通知",   "学术公告", "教务",   "学工通知",
                                                "人事",   "科研动态", "后勤",   "图书馆",
                                                "研究生", "国际交流", "信息化", "招生"};
    return std::vector<std::string>(names.begin(), names.begin() + long(count));
}

inline std::vector<std::shared_ptr<platform::View>> pages(std::size_t count) {
    std::vector<std::shared_ptr<platform::View>> views;
    for (std::size_t i = 0; i < count; ++i) {
        views.push_back(platform::View::make<platform::View>());
    }
    return views;
}

}  // namespace widgettest
