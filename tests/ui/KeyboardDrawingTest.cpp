#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "platform/graphics/BitmapContext.h"
#include "platform/testing/ScreenSize.h"
#include "platform/ui/Application.h"
#include "platform/ui/Device.h"
#include "platform/ui/Keyboard.h"
#include "platform/ui/Renderer.h"
#include "platform/ui/Screen.h"
#include "platform/ui/TextField.h"
#include "tests/ui/UiTestSupport.h"

namespace uitest {
namespace {

using namespace platform;

// A screen of one field over a red page, to tell the page from the keyboard in pixels.
class KeyboardDrawingTest : public UiTest {
protected:
    void show(double width, double height) {
        platform::testing::useScreen(width, height);
        page = std::make_shared<TurningPage>();
        window = showWindow(page);
        page->view()->setBackgroundColor(kRed);
        field = View::make<TextField>(Rect{{10, 30}, {200, 30}});
        page->view()->addSubview(field);
        window->layoutIfNeeded();
    }

    Image screen() { return renderScreenToImage(*window); }

    static std::uint32_t at(const Image& image, Point point) {
        return image.pixelAt(int(point.x), int(point.y));
    }

    static bool isGreyish(std::uint32_t argb) {
        const int r = int((argb >> 16) & 0xFF), g = int((argb >> 8) & 0xFF), b = int(argb & 0xFF);
        return r > 150 && g > 150 && b > 150 && r < 235 && std::abs(r - b) < 30;
    }

    const Color kRed = Color::rgba(1, 0, 0);
    static constexpr std::uint32_t kRedPixel = 0xFFFF0000u;
    static constexpr std::uint32_t kWhitePixel = 0xFFFFFFFFu;
    std::shared_ptr<ViewController> page;
    std::shared_ptr<Window> window;
    std::shared_ptr<TextField> field;
};

TEST_F(KeyboardDrawingTest, WhileAFieldIsEditedTheKeyboardIsDrawnOverTheBottomOfTheScreen) {
    for (Size size : {Size{320, 568}, Size{375, 667}, Size{414, 736}}) {
        SCOPED_TRACE(std::to_string(int(size.width)));
        show(size.width, size.height);
        const Point belowMiddle{size.width / 2, size.height - 100};
        EXPECT_EQ(at(screen(), belowMiddle), kRedPixel) << "no keyboard before editing";

        field->becomeFirstResponder();
        const Image shown = screen();
        const Rect frame = Keyboard::frame();
        EXPECT_EQ(frame.minY(), size.height - 216);
        // The page shows down to the keyboard's top and not below it.
        EXPECT_EQ(at(shown, {size.width / 2, frame.minY() - 2}), kRedPixel);
        const auto keys = Keyboard::keys();
        ASSERT_FALSE(keys.empty());
        for (const auto& key : keys) {
            // Every key lies inside the keyboard and is drawn there as a light key on the
            // grey tray.
            EXPECT_TRUE(frame.contains(key.frame.origin)) << key.title;
            EXPECT_LE(key.frame.maxX(), frame.maxX() + 0.01) << key.title;
            EXPECT_LE(key.frame.maxY(), frame.maxY() + 0.01) << key.title;
            const Point face{key.frame.minX() + 6, key.frame.minY() + 6};
            EXPECT_NE(at(shown, face), kRedPixel) << key.title;
        }
        EXPECT_TRUE(isGreyish(at(shown, {1, frame.minY() + 2})))
            << std::hex << at(shown, {1, frame.minY() + 2});
        const auto* q = keyboardKeyAt(keys, keys[10].frame.origin);
        ASSERT_TRUE(q);
        EXPECT_EQ(q->title, "q");
        EXPECT_EQ(at(shown, {q->frame.minX() + 6, q->frame.minY() + 6}), kWhitePixel);

        field->resignFirstResponder();
        EXPECT_EQ(at(screen(), belowMiddle), kRedPixel) << "the keyboard goes with the editing";
        EXPECT_TRUE(Keyboard::keys().empty());
    }
}

TEST_F(KeyboardDrawingTest, TheKeysCoverTheKeyboardAndItsReturnKeyIsTitledForTheField) {
    show(375, 667);
    field->setReturnKeyType(ReturnKeyType::Search);
    field->becomeFirstResponder();
    auto keys = Keyboard::keys();
    std::vector<std::string> titles;
    for (const auto& key : keys) titles.push_back(key.title);
    for (const char* expected : {"1", "0", "q", "p", "a", "l", "z", "m", "@", "空格"})
        EXPECT_NE(std::find(titles.begin(), titles.end(), expected), titles.end()) << expected;
    EXPECT_EQ(keys.back().kind, KeyboardKey::Kind::Return);
    EXPECT_EQ(keys.back().title, "搜索");
    // A finger anywhere on the keyboard lands on a key: the cells leave no gaps between rows,
    // and the return key reaches the right-hand bottom corner.
    const Rect frame = Keyboard::frame();
    for (double y = frame.minY() + 5; y < frame.maxY(); y += 7) {
        EXPECT_TRUE(keyboardKeyAt(keys, Point{frame.midX(), y})) << y;
    }
    const auto* corner = keyboardKeyAt(keys, Point{frame.maxX() - 4, frame.maxY() - 1});
    ASSERT_TRUE(corner);
    EXPECT_EQ(corner->kind, KeyboardKey::Kind::Return);

    // Another field takes over with its own return key, and the keyboard follows it.
    auto other = View::make<TextField>(Rect{{10, 80}, {200, 30}});
    page->view()->addSubview(other);
    other->becomeFirstResponder();
    EXPECT_EQ(Keyboard::keys().back().title, "换行");
}

TEST_F(KeyboardDrawingTest, TheMiddleRowOfLettersStandsHalfAKeyInAsOnThePhone) {
    for (Size size : {Size{320, 568}, Size{375, 667}, Size{414, 736}}) {
        SCOPED_TRACE(std::to_string(int(size.width)));
        show(size.width, size.height);
        field->becomeFirstResponder();
        const auto keys = Keyboard::keys();
        auto key = [&](const std::string& title) {
            for (const auto& k : keys)
                if (k.title == title)
                    return k.frame;
            ADD_FAILURE() << "no key " << title;
            return Rect{};
        };
        const Rect q = key("q"), w = key("w"), a = key("a"), o = key("o"), p = key("p"),
                   l = key("l");
        // "a" stands between "q" and "w", "l" between "o" and "p".
        EXPECT_NEAR(a.midX(), (q.midX() + w.midX()) / 2, 0.5);
        EXPECT_NEAR(l.midX(), (o.midX() + p.midX()) / 2, 0.5);
        // Drawn so: below the left edge of "q" and the right edge of "p" the middle row shows
        // the tray, and "a"'s face begins half a key in.
        const Image shown = screen();
        const double y = a.minY() + 6;
        EXPECT_TRUE(isGreyish(at(shown, {q.minX() + 4, y})))
            << std::hex << at(shown, {q.minX() + 4, y});
        EXPECT_TRUE(isGreyish(at(shown, {p.maxX() - 4, y})))
            << std::hex << at(shown, {p.maxX() - 4, y});
        EXPECT_EQ(at(shown, {q.midX() + 4, y}), kWhitePixel) << "the face of a";
        field->resignFirstResponder();
    }
}

TEST_F(KeyboardDrawingTest, HeldSidewaysAndOnTheTabletTheDrawnKeyboardHasTheirHeights) {
    show(375, 667);
    field->becomeFirstResponder();
    Device::current().setOrientation(DeviceOrientation::LandscapeLeft);
    window->layoutIfNeeded();
    ASSERT_EQ(Screen::main().size(), (Size{667, 375}));
    Image sideways = screen();
    EXPECT_EQ(Keyboard::frame(), (Rect{{0, 375 - 162}, {667, 162}}));
    EXPECT_EQ(at(sideways, {333, 375 - 162 - 2}), kRedPixel);
    EXPECT_NE(at(sideways, {333, 375 - 162 + 10}), kRedPixel);
    for (const auto& key : Keyboard::keys()) EXPECT_GE(key.frame.minY(), 375 - 162) << key.title;
    Device::current().setOrientation(DeviceOrientation::Portrait);
    field->resignFirstResponder();

    Application::shared().setUserInterfaceIdiom(UserInterfaceIdiom::Pad);
    show(768, 1024);
    field->becomeFirstResponder();
    Image tablet = screen();
    EXPECT_EQ(at(tablet, {384, 1024 - 264 - 2}), kRedPixel);
    EXPECT_NE(at(tablet, {384, 1024 - 264 + 10}), kRedPixel);
}

// The digits over two rows of punctuation, then space and return: every band of the keyboard
// holds keys, drawn there, with no empty row between them.
TEST_F(KeyboardDrawingTest, TheNumbersKeyboardHasNoEmptyRow) {
    show(375, 667);
    field->setKeyboardType(KeyboardType::NumbersAndPunctuation);
    field->becomeFirstResponder();
    const auto keys = Keyboard::keys();
    const Rect frame = Keyboard::frame();
    std::set<double> rows;
    for (const auto& key : keys) rows.insert(key.frame.minY());
    EXPECT_EQ(rows.size(), 4u);
    const Image shown = screen();
    for (double y = frame.minY() + 5; y < frame.maxY(); y += 7) {
        const auto* key = keyboardKeyAt(keys, Point{frame.midX(), y});
        ASSERT_TRUE(key) << y;
        // The key is drawn where it answers: a light face at the top of its cell.
        EXPECT_NE(at(shown, {key->frame.midX(), key->frame.minY() + 6}), kRedPixel) << key->title;
        EXPECT_FALSE(isGreyish(at(shown, {key->frame.midX() + 0.5, key->frame.minY() + 4})) &&
                     key->kind == KeyboardKey::Kind::Character)
            << key->title;
    }
    const auto* corner = keyboardKeyAt(keys, Point{frame.maxX() - 4, frame.maxY() - 1});
    ASSERT_TRUE(corner);
    EXPECT_EQ(corner->kind, KeyboardKey::Kind::Return);
}

}  // namespace
}  // namespace uitest
