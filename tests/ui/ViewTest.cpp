#include <gtest/gtest.h>

#include "platform/ui/ViewController.h"
#include "tests/ui/UiTestSupport.h"

namespace uitest {
namespace {

using namespace platform;

using ViewTest = UiTest;

TEST_F(ViewTest, ConvertsPointsAcrossNestedViewsWithScrolledBounds) {
    auto root = View::make<View>(Rect{{0, 0}, {320, 480}});
    auto outer = View::make<View>(Rect{{10, 20}, {300, 400}});
    auto inner = View::make<View>(Rect{{5, 5}, {100, 100}});
    root->addSubview(outer);
    outer->addSubview(inner);
    // The outer view is scrolled down by 50 points.
    outer->setBounds(Rect{{0, 50}, {300, 400}});

    EXPECT_EQ(inner->convertPointTo(Point{0, 0}, root.get()), (Point{15, -25}));
    EXPECT_EQ(inner->convertPointTo(Point{0, 0}, nullptr), (Point{15, -25}));
    EXPECT_EQ(root->convertPointTo(Point{15, -25}, inner.get()), (Point{0, 0}));
    // The top-left corner the outer view shows is (0, 50) of its own coordinates.
    EXPECT_EQ(inner->convertPointFrom(Point{0, 50}, outer.get()), (Point{-5, 45}));
    EXPECT_EQ(inner->convertRectTo(Rect{{1, 2}, {3, 4}}, root.get()), (Rect{{16, -23}, {3, 4}}));
}

TEST_F(ViewTest, FrameFollowsTheTransformAboutTheCenter) {
    auto parent = View::make<View>(Rect{{0, 0}, {200, 200}});
    auto view = View::make<View>(Rect{{50, 50}, {40, 20}});
    parent->addSubview(view);
    view->setTransform(AffineTransform::makeTranslation(10, 0));
    EXPECT_EQ(view->frame(), (Rect{{60, 50}, {40, 20}}));
    EXPECT_EQ(view->center(), (Point{70, 60}));

    view->setTransform(AffineTransform::makeScale(2, 2));
    EXPECT_EQ(view->frame(), (Rect{{30, 40}, {80, 40}}));
    // The point at the view's own top-left lands at the scaled frame's top-left.
    EXPECT_EQ(view->convertPointTo(Point{0, 0}, parent.get()), (Point{30, 40}));
    EXPECT_EQ(view->convertPointFrom(Point{30, 40}, parent.get()), (Point{0, 0}));
}

TEST_F(ViewTest, SubviewsKeepTheirOrderAndMoveBetweenParents) {
    auto a = View::make<View>();
    auto b = View::make<View>();
    auto c = View::make<View>();
    auto d = View::make<View>();
    auto parent = View::make<View>();
    parent->addSubview(a);
    parent->addSubview(b);
    parent->insertSubviewBelow(c, a.get());
    parent->insertSubviewAbove(d, a.get());
    EXPECT_EQ(parent->subviews(), (std::vector<std::shared_ptr<View>>{c, a, d, b}));
    parent->bringSubviewToFront(c.get());
    parent->sendSubviewToBack(b.get());
    parent->exchangeSubviews(1, 2);
    EXPECT_EQ(parent->subviews(), (std::vector<std::shared_ptr<View>>{b, d, a, c}));

    auto other = View::make<View>();
    other->addSubview(a);
    EXPECT_EQ(a->superview(), other);
    EXPECT_EQ(parent->subviews().size(), 3u);
    // A view cannot become its own ancestor.
    a->addSubview(other);
    EXPECT_EQ(other->superview(), nullptr);
}

TEST_F(ViewTest, ASubviewOutlivingItsParentForgetsIt) {
    auto child = View::make<View>();
    {
        auto parent = View::make<View>();
        parent->addSubview(child);
    }
    EXPECT_EQ(child->superview(), nullptr);
    EXPECT_EQ(child->convertPointTo(Point{1, 2}, nullptr), (Point{1, 2}));
}

TEST_F(ViewTest, ViewWithTagSearchesDepthFirst) {
    auto root = View::make<View>();
    auto a = View::make<View>();
    auto b = View::make<View>();
    auto deep = View::make<View>();
    a->setTag(5);
    deep->setTag(7);
    b->setTag(7);
    root->addSubview(a);
    root->addSubview(b);
    a->addSubview(deep);
    EXPECT_EQ(root->viewWithTag(7), deep);
    EXPECT_EQ(root->viewWithTag(5), a);
    EXPECT_EQ(root->viewWithTag(9), nullptr);
}

TEST_F(ViewTest, FlexibleSubviewsFollowTheirSuperviewsSize) {
    auto parent = View::make<View>(Rect{{0, 0}, {320, 480}});
    auto fill = View::make<View>(Rect{{0, 0}, {320, 480}});
    fill->setAutoresizingMask(AutoresizingMask::FlexibleWidth | AutoresizingMask::FlexibleHeight);
    auto bottom = View::make<View>(Rect{{0, 430}, {320, 50}});
    bottom->setAutoresizingMask(AutoresizingMask::FlexibleWidth |
                                AutoresizingMask::FlexibleTopMargin);
    auto fixed = View::make<View>(Rect{{10, 10}, {20, 20}});
    parent->addSubview(fill);
    parent->addSubview(bottom);
    parent->addSubview(fixed);

    parent->setFrame(Rect{{0, 0}, {375, 667}});
    EXPECT_EQ(fill->frame(), (Rect{{0, 0}, {375, 667}}));
    EXPECT_EQ(bottom->frame(), (Rect{{0, 617}, {375, 50}}));
    EXPECT_EQ(fixed->frame(), (Rect{{10, 10}, {20, 20}}));
}

// Records layout passes.
class LayoutCounter : public View {
public:
    void layoutSubviews() override { ++passes; }
    int passes = 0;
};

TEST_F(ViewTest, LayoutRunsOnceWhenNeededAndOnTheNextTurnInAWindow) {
    auto window = View::make<Window>();
    window->makeKeyAndVisible();
    auto view = View::make<LayoutCounter>();
    window->addSubview(view);
    RunLoop::main().runPending();
    EXPECT_EQ(view->passes, 1);
    RunLoop::main().runPending();
    EXPECT_EQ(view->passes, 1);

    view->setFrame(Rect{{0, 0}, {50, 50}});
    view->layoutIfNeeded();
    view->layoutIfNeeded();
    EXPECT_EQ(view->passes, 2);
}

// A view that can take typing.
class Field : public View {
public:
    bool canBecomeFirstResponder() const override { return true; }
};

TEST_F(ViewTest, EndEditingResignsTheFirstResponderBelowOnly) {
    auto page = View::make<View>();
    auto field = View::make<Field>();
    auto elsewhere = View::make<View>();
    page->addSubview(field);
    EXPECT_FALSE(elsewhere->becomeFirstResponder());
    EXPECT_TRUE(field->becomeFirstResponder());
    EXPECT_TRUE(field->isFirstResponder());

    elsewhere->endEditing(true);
    EXPECT_TRUE(field->isFirstResponder());
    page->endEditing(true);
    EXPECT_FALSE(field->isFirstResponder());
    EXPECT_EQ(Application::shared().firstResponder(), nullptr);

    // Removing the first responder from its tree resigns it too.
    field->becomeFirstResponder();
    field->removeFromSuperview();
    EXPECT_FALSE(field->isFirstResponder());
}

TEST_F(ViewTest, TouchesAViewDoesNotHandleGoUpToItsController) {
    class TouchedScreen : public ViewController {
    public:
        void touchesBegan(const Touches&) override { ++touches; }
        int touches = 0;
    };
    auto screen = std::make_shared<TouchedScreen>();
    auto window = showWindow(screen);
    auto label = View::make<View>(Rect{{0, 100}, {100, 100}});
    screen->view()->addSubview(label);
    window->tap(Point{50, 150});
    EXPECT_EQ(screen->touches, 1);
}

}  // namespace
}  // namespace uitest
