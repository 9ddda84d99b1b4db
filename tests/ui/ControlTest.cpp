#include <gtest/gtest.h>

#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "tests/ui/UiTestSupport.h"

namespace uitest {
namespace {

using namespace platform;

using ControlTest = UiTest;

TEST_F(ControlTest, ActionsRunForTheirEventsInTheOrderAdded) {
    auto button = View::make<Button>();
    std::vector<std::string> ran;
    button->addTarget([&](Control&) { ran.push_back("a"); }, ControlEvent::TouchUpInside);
    auto id = button->addTarget([&](Control&) { ran.push_back("b"); },
                                ControlEvent::TouchUpInside | ControlEvent::ValueChanged);
    button->addTarget([&](Control&) { ran.push_back("c"); }, ControlEvent::EditingChanged);
    button->sendActions(ControlEvent::TouchUpInside);
    EXPECT_EQ(ran, (std::vector<std::string>{"a", "b"}));

    button->removeTarget(id);
    ran.clear();
    button->sendActions(ControlEvent::ValueChanged | ControlEvent::EditingChanged);
    EXPECT_EQ(ran, (std::vector<std::string>{"c"}));
}

TEST_F(ControlTest, ButtonStatesFallBackToNormal) {
    auto button = View::make<Button>();
    button->setTitle("登录");
    button->setTitleColor(Color::white());
    button->setTitle("已选", ControlState::Selected);
    button->setTitleColor(Color::redColor(), ControlState::Selected);
    EXPECT_EQ(button->titleLabel()->text(), "登录");
    EXPECT_EQ(button->title(ControlState::Highlighted), "登录");

    button->setSelected(true);
    EXPECT_EQ(button->currentTitle(), "已选");
    EXPECT_EQ(button->titleLabel()->text(), "已选");
    EXPECT_EQ(button->titleLabel()->textColor(), Color::redColor());
    EXPECT_EQ(button->describe(), "button \"已选\" (selected)");
}

TEST_F(ControlTest, SystemButtonsTakeTheirTitleColourFromTheTint) {
    auto bar = View::make<View>();
    bar->setTintColor(Color::white());
    auto button = View::make<Button>(ButtonType::System);
    button->setTitle("编辑");
    bar->addSubview(button);
    EXPECT_EQ(button->titleLabel()->textColor(), Color::white());
    bar->setTintColor(Color::redColor());
    EXPECT_EQ(button->titleLabel()->textColor(), Color::redColor());
}

TEST_F(ControlTest, ButtonLaysOutImageThenTitleCentredAndShiftedByInsets) {
    auto button = View::make<Button>(Rect{{0, 0}, {200, 50}});
    button->setImage(Image::fromARGB(20, 20, std::vector<std::uint32_t>(400, 0xFF000000)));
    button->setTitle("OK");
    button->layoutIfNeeded();
    Rect image = button->imageView()->frame();
    Rect title = button->titleLabel()->frame();
    EXPECT_DOUBLE_EQ(image.maxX(), title.minX());
    EXPECT_DOUBLE_EQ((image.minX() + title.maxX()) / 2, 100);
    EXPECT_DOUBLE_EQ(image.midY(), 25);

    button->setImageEdgeInsets(EdgeInsets{0, 0, 0, 20});
    button->layoutIfNeeded();
    EXPECT_DOUBLE_EQ(button->imageView()->frame().minX(), image.minX() - 10);
}

TEST_F(ControlTest, LabelFitsItsTextToTheLinesAllowed) {
    auto label = View::make<Label>();
    label->setText("一二三四五六七八九十一二三四五六七八九十");
    label->setFont(Font::systemFont(14));
    Size oneLine = label->sizeThatFits(Size{100, 0});
    label->setNumberOfLines(0);
    Size wrapped = label->sizeThatFits(Size{100, 0});
    EXPECT_LE(wrapped.width, 100);
    EXPECT_GT(wrapped.height, oneLine.height * 2);
    label->setNumberOfLines(2);
    Size two = label->sizeThatFits(Size{100, 0});
    EXPECT_LT(two.height, wrapped.height);

    // sizeToFit keeps the origin and takes the size that fits.
    label->setFrame(Rect{{10, 20}, {0, 0}});
    label->sizeToFit();
    EXPECT_EQ(label->frame(), (Rect{{10, 20}, label->sizeThatFits(Size{0, 0})}));
    EXPECT_GT(label->frame().size.width, 0);
}

}  // namespace
}  // namespace uitest
