#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/foundation/RunLoop.h"
#include "platform/graphics/Image.h"
#include "platform/ui/ActionSheet.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/Button.h"
#include "platform/ui/DisplayChanges.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/PageControl.h"
#include "platform/ui/ProgressView.h"
#include "platform/ui/TabBarController.h"
#include "platform/ui/TableView.h"
#include "platform/ui/TableViewDataSource.h"
#include "platform/ui/TextField.h"
#include "platform/ui/TextView.h"
#include "platform/ui/WebView.h"
#include "tests/ui/UiTestSupport.h"

namespace {

using namespace platform;

// How much the display count moved while `change` ran.
std::uint64_t movesBy(const std::function<void()>& change) {
    std::uint64_t before = displayGeneration();
    change();
    return displayGeneration() - before;
}

Image solid(std::uint32_t argb, int side = 4) {
    return Image::fromARGB(side, side, std::vector<std::uint32_t>(size_t(side * side), argb));
}

// A shown window with one plain screen; `stage` is a view on it that cases change.
class DisplayChangesTest : public uitest::UiTest {
protected:
    DisplayChangesTest() {
        screen = std::make_shared<ViewController>();
        window = showWindow(screen);
        stage = View::make<View>(Rect{{10, 80}, {200, 100}});
        screen->view()->addSubview(stage);
        settleIdle();
    }

    // Lays out and runs what is due, as a front end does before it draws.
    void settleIdle() {
        advance(1);
        window->layoutIfNeeded();
    }

    std::shared_ptr<ViewController> screen;
    std::shared_ptr<Window> window;
    std::shared_ptr<View> stage;
};

TEST_F(DisplayChangesTest, EveryLookPropertyOfAShownViewMovesTheCountAndTheSameValueDoesNot) {
    struct Case {
        const char* name;
        std::function<void()> set;
    };
    const std::vector<Case> cases{
        {"frame",
         [this] {
             stage->setFrame(Rect{{12, 80}, {200, 100}});
         }},
        {"size",
         [this] {
             stage->setFrame(Rect{{12, 80}, {220, 100}});
         }},
        {"bounds origin (scrolling)",
         [this] {
             stage->setBounds(Rect{{0, 30}, {220, 100}});
         }},
        {"center",
         [this] {
             stage->setCenter(Point{150, 150});
         }},
        {"transform", [this] { stage->setTransform(AffineTransform::makeScale(2, 2)); }},
        {"alpha", [this] { stage->setAlpha(0.5); }},
        {"background", [this] { stage->setBackgroundColor(Color::redColor()); }},
        {"corner radius", [this] { stage->setCornerRadius(6); }},
        {"border width", [this] { stage->setBorderWidth(1); }},
        {"border colour", [this] { stage->setBorderColor(Color::gray()); }},
        {"clipping", [this] { stage->setClipsToBounds(true); }},
        {"content mode", [this] { stage->setContentMode(ContentMode::Center); }},
        {"tint", [this] { stage->setTintColor(Color::redColor()); }},
        {"hidden", [this] { stage->setHidden(true); }},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(movesBy(c.set), 1u) << c.name;
        EXPECT_EQ(movesBy(c.set), 0u) << c.name << " set again to the same value";
    }
}

TEST_F(DisplayChangesTest, TheViewTreeMovesTheCount) {
    auto a = View::make<View>(Rect{{0, 0}, {10, 10}});
    auto b = View::make<View>(Rect{{0, 0}, {10, 10}});
    EXPECT_EQ(movesBy([&] { stage->addSubview(a); }), 1u);
    EXPECT_EQ(movesBy([&] { stage->addSubview(b); }), 1u);
    // Already in front: nothing moves.
    EXPECT_EQ(movesBy([&] { stage->bringSubviewToFront(b.get()); }), 0u);
    EXPECT_EQ(movesBy([&] { stage->addSubview(b); }), 0u);
    EXPECT_EQ(movesBy([&] { stage->bringSubviewToFront(a.get()); }), 1u);
    EXPECT_EQ(movesBy([&] { stage->sendSubviewToBack(b.get()); }), 0u);
    EXPECT_EQ(movesBy([&] { stage->exchangeSubviews(0, 1); }), 1u);
    EXPECT_EQ(movesBy([&] { a->removeFromSuperview(); }), 1u);
    EXPECT_EQ(movesBy([&] { a->removeFromSuperview(); }), 0u);
}

TEST_F(DisplayChangesTest, WhatCannotBeSeenDoesNotMoveTheCount) {
    auto offscreen = View::make<View>(Rect{{0, 0}, {10, 10}});
    auto child = View::make<Label>();
    offscreen->addSubview(child);
    EXPECT_EQ(movesBy([&] {
                  offscreen->setFrame(Rect{{5, 5}, {20, 20}});
                  offscreen->setBackgroundColor(Color::redColor());
                  child->setText("not in a window");
              }),
              0u);

    auto hidden = View::make<View>(Rect{{0, 0}, {10, 10}});
    hidden->setHidden(true);
    EXPECT_EQ(movesBy([&] { stage->addSubview(hidden); }), 0u) << "a hidden view added";
    EXPECT_EQ(movesBy([&] { hidden->addSubview(offscreen); }), 0u) << "added below a hidden view";
    EXPECT_EQ(movesBy([&] { child->setText("under a hidden view"); }), 0u);
    EXPECT_EQ(movesBy([&] { offscreen->removeFromSuperview(); }), 0u);

    stage->setAlpha(0);
    auto label = View::make<Label>();
    EXPECT_EQ(movesBy([&] {
                  stage->addSubview(label);
                  label->setText("transparent");
                  stage->setAlpha(0.005);
              }),
              0u);
    EXPECT_EQ(movesBy([&] { stage->setAlpha(1); }), 1u);

    // Front ends draw the key window: another window draws nothing until it takes over.
    auto other = View::make<Window>();
    auto inOther = View::make<View>(Rect{{0, 0}, {10, 10}});
    EXPECT_EQ(movesBy([&] {
                  other->addSubview(inOther);
                  inOther->setBackgroundColor(Color::redColor());
                  other->setHidden(false);
                  inOther->setBackgroundColor(Color::gray());
              }),
              0u);
    EXPECT_EQ(movesBy([&] { other->makeKeyWindow(); }), 1u);
    EXPECT_EQ(movesBy([&] { inOther->setBackgroundColor(Color::white()); }), 1u);
    EXPECT_EQ(movesBy([&] { stage->setBackgroundColor(Color::white()); }), 0u);
}

TEST_F(DisplayChangesTest, ContentThatControlsDrawMovesTheCountOnceAndNotWhenSetAgain) {
    auto label = View::make<Label>(Rect{{0, 0}, {100, 20}});
    auto image = View::make<ImageView>(Rect{{0, 20}, {40, 40}});
    auto progress = View::make<ProgressView>(Rect{{0, 60}, {100, 2}});
    auto pages = View::make<PageControl>(Rect{{0, 70}, {100, 20}});
    for (auto view : std::vector<std::shared_ptr<View>>{label, image, progress, pages}) {
        stage->addSubview(view);
    }
    pages->setNumberOfPages(3);
    Image red = solid(0xffff0000);
    struct Case {
        const char* name;
        std::function<void()> set;
    };
    const std::vector<Case> cases{
        {"label text", [&] { label->setText("课程"); }},
        {"label font", [&] { label->setFont(Font::boldSystemFont(13)); }},
        {"label colour", [&] { label->setTextColor(Color::redColor()); }},
        {"label alignment", [&] { label->setTextAlignment(TextAlignment::Center); }},
        {"label lines", [&] { label->setNumberOfLines(2); }},
        {"image", [&] { image->setImage(red); }},
        {"progress", [&] { progress->setProgress(0.4f); }},
        {"page", [&] { pages->setCurrentPage(2); }},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(movesBy(c.set), 1u) << c.name;
        EXPECT_EQ(movesBy(c.set), 0u) << c.name << " set again to the same value";
    }
    // A copy of the same picture is the same picture; another picture is not.
    EXPECT_EQ(movesBy([&] { image->setImage(Image(red)); }), 0u);
    EXPECT_EQ(movesBy([&] { image->setImage(solid(0xffff0000)); }), 1u);
}

TEST_F(DisplayChangesTest, AButtonsPressedLookAndTypingIntoInputsMoveTheCount) {
    auto button = View::make<Button>(Rect{{0, 0}, {80, 30}});
    button->setBackgroundImage(solid(0xff0000ff));
    button->setBackgroundImage(solid(0xff00ff00), ControlState::Highlighted);
    button->setTitle("登录");
    auto field = View::make<TextField>(Rect{{0, 40}, {150, 30}});
    auto textView = View::make<TextView>(Rect{{0, 80}, {150, 60}});
    stage->addSubview(button);
    stage->addSubview(field);
    stage->addSubview(textView);
    settleIdle();

    EXPECT_GE(movesBy([&] { button->setHighlighted(true); }), 1u);
    EXPECT_EQ(movesBy([&] { button->setHighlighted(true); }), 0u);
    EXPECT_GE(movesBy([&] { button->setEnabled(false); }), 1u);

    EXPECT_GE(movesBy([&] { field->typeText("a"); }), 1u);
    EXPECT_GE(movesBy([&] { field->deleteBackward(); }), 1u);
    EXPECT_GE(movesBy([&] { textView->typeText("留言"); }), 1u);
    EXPECT_EQ(movesBy([&] { textView->setText("留言"); }), 0u);
    EXPECT_EQ(movesBy([&] { field->setPlaceholder(""); }), 0u);
    EXPECT_EQ(movesBy([&] { field->setPlaceholder("学号"); }), 1u);
}

// A screen whose table shows `rows` rows.
class RowsScreen : public ViewController, public TableViewDataSource {
public:
    void loadView() override {
        table = View::make<TableView>(Rect{{0, 0}, {375, 667}});
        setView(table);
    }
    void viewDidLoad() override {
        table->setDataSource(std::static_pointer_cast<RowsScreen>(shared_from_this()));
    }
    int numberOfRowsInSection(TableView&, int) override { return rows; }
    std::shared_ptr<TableViewCell> cellForRowAtIndexPath(TableView& tableView,
                                                         const IndexPath& path) override {
        auto cell = tableView.dequeueReusableCellWithIdentifier("row");
        if (!cell) {
            cell = View::make<TableViewCell>(TableViewCellStyle::Default, "row");
        }
        cell->textLabel()->setText("第 " + std::to_string(path.row + 1) + " 条");
        return cell;
    }

    int rows = 20;
    std::shared_ptr<TableView> table;
};

TEST_F(DisplayChangesTest, ScreensTablesAndAlertsMoveTheCount) {
    auto nav = std::make_shared<NavigationController>(std::make_shared<ViewController>());
    window->setRootViewController(nav);
    settleIdle();

    auto rows = std::make_shared<RowsScreen>();
    EXPECT_GE(movesBy([&] {
                  nav->pushViewController(rows, true);
                  settleIdle();
              }),
              1u);

    std::uint64_t idle = displayGeneration();
    rows->rows = 2;
    rows->table->reloadData();
    settleIdle();
    EXPECT_GT(displayGeneration(), idle) << "fewer rows";

    idle = displayGeneration();
    rows->table->setContentOffset(Point{0, 0});
    EXPECT_EQ(displayGeneration(), idle) << "scrolled to where it is";

    auto alert = View::make<AlertView>("提示", "是否清除缓存?", std::weak_ptr<AlertViewDelegate>(),
                                       "取消", std::vector<std::string>{"确定"});
    EXPECT_GE(movesBy([&] { alert->show(); }), 1u);
    EXPECT_EQ(movesBy([&] { alert->setMessage("是否清除缓存?"); }), 0u);
    EXPECT_EQ(movesBy([&] { alert->setMessage("缓存已清除"); }), 1u) << "an alert floats";
    EXPECT_GE(movesBy([&] {
                  alert->dismissWithClickedButtonIndex(0, false);
                  settleIdle();
              }),
              1u);

    auto sheet = View::make<ActionSheet>("分享到", std::weak_ptr<ActionSheetDelegate>(), "取消", "",
                                         std::vector<std::string>{"微博"});
    EXPECT_GE(movesBy([&] { sheet->showInView(rows->view()); }), 1u);

    EXPECT_GE(movesBy([&] {
                  nav->popViewController(true);
                  settleIdle();
              }),
              1u);

    auto modal = std::make_shared<ViewController>();
    EXPECT_GE(movesBy([&] {
                  nav->presentViewController(modal, true);
                  settleIdle();
              }),
              1u);
    EXPECT_EQ(movesBy([&] { settleIdle(); }), 0u);
    EXPECT_GE(movesBy([&] {
                  modal->dismissViewController(false);
                  settleIdle();
              }),
              1u);
}

TEST_F(DisplayChangesTest, AnAnimationShowsItsEndAtOnceAndItsCompletionWhenItFalls) {
    auto badge = View::make<View>(Rect{{0, 0}, {10, 10}});
    stage->addSubview(badge);
    EXPECT_EQ(movesBy([&] {
                  View::animate(
                      0.3, [&] { badge->setAlpha(0.2); },
                      [badge](bool) { badge->removeFromSuperview(); });
              }),
              1u);
    EXPECT_EQ(movesBy([&] { advance(0.2); }), 0u);
    EXPECT_EQ(movesBy([&] { advance(0.2); }), 1u);
}

TEST_F(DisplayChangesTest, AnIdleScreenLeavesTheCountStill) {
    auto nav = std::make_shared<NavigationController>(std::make_shared<RowsScreen>());
    auto tabs = std::make_shared<TabBarController>();
    tabs->setViewControllers({nav, std::make_shared<ViewController>()});
    window->setRootViewController(tabs);
    nav->pushViewController(std::make_shared<RowsScreen>(), true);
    settleIdle();

    std::uint64_t idle = displayGeneration();
    for (int turn = 0; turn < 200; ++turn) {
        advance(0.25);
        window->layoutIfNeeded();
        RunLoop::main().runPending();
    }
    window->setNeedsLayoutBelow();
    window->layoutIfNeeded();
    EXPECT_EQ(displayGeneration(), idle) << "layout passes over an unchanged screen";

    tabs->setSelectedIndex(1);
    settleIdle();
    EXPECT_GT(displayGeneration(), idle) << "another tab";
}

class WebDisplayTest : public DisplayChangesTest {
protected:
    WebDisplayTest() {
        web = View::make<WebView>(Rect{{0, 0}, {375, 500}});
        screen->view()->addSubview(web);
        web->loadHTMLString("<meta charset=\"utf-8\" /><p>课表</p><div id=\"clock\">08:00</div>",
                            "");
        settlePage();
    }

    // The page runs in its own process: what a script changed reaches the screen once the web
    // view rests.
    void settlePage() {
        RunLoop::main().runUntil([this] { return !web->isBusy() && web->hasPage(); },
                                 std::chrono::seconds(20));
        settleIdle();
    }

    std::shared_ptr<WebView> web;
};

TEST_F(WebDisplayTest, APageScriptChangingAnElementMovesTheCountAndRewritingItDoesNot) {
    std::uint64_t idle = displayGeneration();
    web->stringByEvaluatingJavaScriptFromString(
        "document.getElementById('clock').innerText = '08:00';");
    settlePage();
    EXPECT_EQ(displayGeneration(), idle) << "the same text written again";

    web->stringByEvaluatingJavaScriptFromString(
        "document.getElementById('clock').innerText = '08:01';");
    settlePage();
    EXPECT_GT(displayGeneration(), idle) << "seen once the page has painted it";

    idle = displayGeneration();
    web->stringByEvaluatingJavaScriptFromString("1 + 1");
    settlePage();
    EXPECT_EQ(displayGeneration(), idle) << "a script that changes nothing";
}

}  // namespace
