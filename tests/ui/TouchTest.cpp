#include <gtest/gtest.h>

#include "platform/ui/Button.h"
#include "platform/ui/GestureRecognizerDelegate.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/PanGestureRecognizer.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/TapGestureRecognizer.h"
#include "tests/ui/UiTestSupport.h"

namespace uitest {
namespace {

using namespace platform;

// A button whose touch area reaches `margin` points beyond its bounds on every side.
class EnlargedButton : public Button {
public:
    explicit EnlargedButton(double margin) : m_margin(margin) {}
    bool pointInside(Point point) const override {
        return bounds().insetBy(-m_margin, -m_margin).contains(point);
    }

private:
    double m_margin;
};

// A plain view that counts the touches that reach it.
class TouchCounter : public View {
public:
    using View::View;
    void touchesBegan(const Touches&) override { ++began; }
    void touchesEnded(const Touches&) override { ++ended; }
    void touchesCancelled(const Touches&) override { ++cancelled; }
    int began = 0;
    int ended = 0;
    int cancelled = 0;
};

class TouchTest : public UiTest {
protected:
    void SetUp() override {
        window = View::make<Window>(Rect{{0, 0}, {320, 480}});
        window->makeKeyAndVisible();
        button = View::make<Button>(Rect{{100, 100}, {80, 40}});
        button->addTarget([this](Control&) { ++taps; }, ControlEvent::TouchUpInside);
        window->addSubview(button);
    }

    std::shared_ptr<Window> window;
    std::shared_ptr<Button> button;
    int taps = 0;
};

TEST_F(TouchTest, AButtonIsHighlightedWhileTheFingerIsDownAndATapSendsTouchUpInsideOnce) {
    window->touchDown(Point{140, 120});
    EXPECT_TRUE(button->isHighlighted());
    window->touchMove(Point{300, 400});
    EXPECT_FALSE(button->isHighlighted());
    window->touchUp(Point{300, 400});
    EXPECT_EQ(taps, 0) << "the finger left the button";

    EXPECT_TRUE(window->tap(Point{140, 120}));
    EXPECT_EQ(taps, 1);
    EXPECT_FALSE(button->isHighlighted());
}

TEST_F(TouchTest, AButtonFiresOnlyWhenTheFingerLiftsWithinItsMargin) {
    int outside = 0;
    button->addTarget([&](Control&) { ++outside; }, ControlEvent::TouchUpOutside);
    // The button spans 100..180 x 100..140; the phone forgives 70 points around it.
    window->drag({140, 120}, {240, 180}, 4);
    EXPECT_EQ(taps, 1);
    window->drag({140, 120}, {260, 120}, 4);
    window->drag({140, 120}, {140, 230}, 4);
    EXPECT_EQ(taps, 1);
    EXPECT_EQ(outside, 2);
    EXPECT_FALSE(button->isHighlighted());
}

TEST_F(TouchTest, HiddenOrTransparentButtonsCannotBeHit) {
    button->setHidden(true);
    EXPECT_NE(window->hitTest(Point{140, 120}), button);
    window->tap(Point{140, 120});
    button->setHidden(false);
    button->setAlpha(0.005);
    window->tap(Point{140, 120});
    EXPECT_EQ(taps, 0);
}

TEST_F(TouchTest, AButtonCoveredByAnotherViewCannotBeHit) {
    auto cover = View::make<View>(Rect{{0, 0}, {320, 240}});
    window->addSubview(cover);
    EXPECT_EQ(window->hitTest(Point{140, 120}), cover);
    window->tap(Point{140, 120});
    EXPECT_EQ(taps, 0);

    window->bringSubviewToFront(button.get());
    window->tap(Point{140, 120});
    EXPECT_EQ(taps, 1);
}

TEST_F(TouchTest, AButtonInsideAnImageViewIsDeadUntilTheImageViewTakesTouches) {
    auto background = View::make<ImageView>(Rect{{0, 0}, {320, 480}});
    window->addSubview(background);
    button->removeFromSuperview();
    background->addSubview(button);
    window->tap(Point{140, 120});
    EXPECT_EQ(taps, 0);

    background->setUserInteractionEnabled(true);
    window->tap(Point{140, 120});
    EXPECT_EQ(taps, 1);
}

TEST_F(TouchTest, ACustomPointInsideWidensTheTouchArea) {
    auto small = View::make<EnlargedButton>(10);
    small->setFrame(Rect{{20, 300}, {20, 20}});
    int smallTaps = 0;
    small->addTarget([&](Control&) { ++smallTaps; }, ControlEvent::TouchUpInside);
    window->addSubview(small);

    window->tap(Point{11, 310});  // 9 points left of the bounds
    EXPECT_EQ(smallTaps, 1);
    window->tap(Point{9, 310});  // 11 points left
    EXPECT_EQ(smallTaps, 1);
}

TEST_F(TouchTest, ADisabledButtonPassesItsTouchesToTheViewBehind) {
    auto counter = View::make<TouchCounter>(Rect{{0, 0}, {320, 480}});
    window->insertSubview(counter, 0);
    button->removeFromSuperview();
    counter->addSubview(button);
    button->setEnabled(false);
    window->tap(Point{140, 120});
    EXPECT_EQ(taps, 0);
    EXPECT_EQ(counter->began, 1);
    EXPECT_EQ(counter->ended, 1);
}

TEST_F(TouchTest, ATapRecognizerTakesTheTapFromTheViewBelowIt) {
    auto counter = View::make<TouchCounter>(Rect{{0, 240}, {320, 240}});
    window->addSubview(counter);
    int recognized = 0;
    window->addGestureRecognizer(std::make_shared<TapGestureRecognizer>([&](GestureRecognizer& g) {
        ++recognized;
        EXPECT_EQ(g.state(), GestureState::Ended);
        EXPECT_EQ(g.locationInView(counter.get()), (Point{50, 60}));
    }));
    window->tap(Point{50, 300});
    EXPECT_EQ(recognized, 1);
    EXPECT_EQ(counter->began, 1);
    EXPECT_EQ(counter->cancelled, 1);
    EXPECT_EQ(counter->ended, 0);
}

TEST_F(TouchTest, AButtonKeepsItsTapUnderATappableSuperview) {
    int backgroundTaps = 0;
    window->addGestureRecognizer(
        std::make_shared<TapGestureRecognizer>([&](GestureRecognizer&) { ++backgroundTaps; }));
    window->tap(Point{140, 120});
    EXPECT_EQ(taps, 1);
    EXPECT_EQ(backgroundTaps, 0);
    window->tap(Point{10, 10});
    EXPECT_EQ(backgroundTaps, 1);
}

TEST_F(TouchTest, APanCancelsTheButtonTouchAndReportsItsTranslation) {
    auto pan = std::make_shared<PanGestureRecognizer>();
    std::vector<GestureState> states;
    Point last;
    pan->addTarget([&](GestureRecognizer& g) {
        states.push_back(g.state());
        last = static_cast<PanGestureRecognizer&>(g).translationInView(nullptr);
    });
    window->addGestureRecognizer(pan);

    window->drag(Point{140, 120}, Point{140, 220}, 4);
    EXPECT_EQ(taps, 0);
    ASSERT_FALSE(states.empty());
    EXPECT_EQ(states.front(), GestureState::Began);
    EXPECT_EQ(states.back(), GestureState::Ended);
    EXPECT_EQ(last, (Point{0, 100}));
    EXPECT_EQ(pan->state(), GestureState::Possible);
}

// Refuses to let its recogniser start.
class Refuser : public GestureRecognizerDelegate {
public:
    bool gestureRecognizerShouldBegin(GestureRecognizer&) override { return false; }
};

TEST_F(TouchTest, ADelegateCanStopAGestureFromBeginning) {
    auto refuser = std::make_shared<Refuser>();
    int recognized = 0;
    auto tap = std::make_shared<TapGestureRecognizer>([&](GestureRecognizer&) { ++recognized; });
    tap->setDelegate(refuser);
    window->addGestureRecognizer(tap);
    window->tap(Point{10, 10});
    EXPECT_EQ(recognized, 0);
    refuser.reset();  // a delegate that is gone no longer refuses
    window->tap(Point{10, 10});
    EXPECT_EQ(recognized, 1);
}

TEST_F(TouchTest, AnActionThatRemovesItsButtonDoesNotBreakDelivery) {
    button->addTarget([this](Control& c) { c.removeFromSuperview(); }, ControlEvent::TouchUpInside);
    std::weak_ptr<Button> weak = button;
    button.reset();
    window->tap(Point{140, 120});
    EXPECT_EQ(taps, 1);
    EXPECT_TRUE(weak.expired());
}

// One touch sequence is one gesture: a sideways drag over a pager inside a view that also
// pans sideways (the tile grid inside the side-menu container).
class OneGestureTest : public TouchTest {
protected:
    void SetUp() override {
        TouchTest::SetUp();
        container = View::make<View>(Rect{{0, 0}, {320, 480}});
        window->addSubview(container);
        pager = View::make<ScrollView>(Rect{{0, 0}, {320, 200}});
        pager->setContentSize({640, 200});
        pager->setPagingEnabled(true);
        container->addSubview(pager);
        containerPan = std::make_shared<PanGestureRecognizer>(
            [this](GestureRecognizer& g) { containerStates.push_back(g.state()); });
        container->addGestureRecognizer(containerPan);
    }

    std::shared_ptr<View> container;
    std::shared_ptr<ScrollView> pager;
    std::shared_ptr<PanGestureRecognizer> containerPan;
    std::vector<GestureState> containerStates;
};

TEST_F(OneGestureTest, TheDeepestRecognizerTakesADragBothWouldRecognize) {
    window->drag(Point{300, 100}, Point{20, 100}, 4);
    EXPECT_EQ(pager->contentOffset(), (Point{320, 0})) << "the pager turned its page";
    EXPECT_TRUE(containerStates.empty()) << "the container's pan never began";
    EXPECT_EQ(containerPan->state(), GestureState::Possible) << "ready for the next sequence";

    // Outside the pager the container's pan is the only one and works as before.
    window->drag(Point{300, 300}, Point{20, 300}, 4);
    ASSERT_FALSE(containerStates.empty());
    EXPECT_EQ(containerStates.front(), GestureState::Began);
    EXPECT_EQ(containerStates.back(), GestureState::Ended);
    EXPECT_EQ(pager->contentOffset(), (Point{320, 0}));
}

TEST_F(OneGestureTest, AMoveTheDeeperRecognizerRefusesGoesToTheOuterOne) {
    // The pager cannot scroll up and down, so its pan fails and the container's takes it.
    window->drag(Point{150, 20}, Point{150, 180}, 4);
    ASSERT_FALSE(containerStates.empty());
    EXPECT_EQ(containerStates.front(), GestureState::Began);
    EXPECT_EQ(pager->contentOffset(), (Point{0, 0}));
}

// Lets its recogniser work together with any other.
class Together : public GestureRecognizerDelegate {
public:
    bool gestureRecognizerShouldRecognizeSimultaneously(GestureRecognizer&,
                                                        GestureRecognizer&) override {
        return true;
    }
};

TEST_F(OneGestureTest, RecognizersWhoseDelegateAllowsItWorkTogether) {
    auto together = std::make_shared<Together>();
    containerPan->setDelegate(together);
    window->drag(Point{300, 100}, Point{20, 100}, 4);
    EXPECT_EQ(pager->contentOffset(), (Point{320, 0}));
    ASSERT_FALSE(containerStates.empty());
    EXPECT_EQ(containerStates.front(), GestureState::Began);
    EXPECT_EQ(containerStates.back(), GestureState::Ended);
}

TEST_F(OneGestureTest, OfTwoPansOnNestedViewsTheInnerOneWinsAndTheOuterNeverActs) {
    auto inner = View::make<View>(Rect{{0, 250}, {320, 100}});
    container->addSubview(inner);
    std::vector<GestureState> innerStates;
    inner->addGestureRecognizer(std::make_shared<PanGestureRecognizer>(
        [&](GestureRecognizer& g) { innerStates.push_back(g.state()); }));
    window->drag(Point{100, 300}, Point{200, 300}, 4);
    EXPECT_EQ(innerStates.front(), GestureState::Began);
    EXPECT_EQ(innerStates.back(), GestureState::Ended);
    EXPECT_TRUE(containerStates.empty());
}

// Recognises when told to, not by a touch (as a press held long enough does).
class OnDemandRecognizer : public GestureRecognizer {
public:
    using GestureRecognizer::GestureRecognizer;
    void recognizeNow() {
        if (state() == GestureState::Possible) {
            setState(GestureState::Began);
        }
    }
};

TEST_F(OneGestureTest, ARecognizerThatWouldStartWhileAnotherRunsHasFailed) {
    int fired = 0;
    auto onDemand = std::make_shared<OnDemandRecognizer>([&](GestureRecognizer&) { ++fired; });
    container->addGestureRecognizer(onDemand);
    window->touchDown(Point{300, 300});
    window->touchMove(Point{200, 300});
    ASSERT_EQ(containerPan->state(), GestureState::Began);
    onDemand->recognizeNow();
    EXPECT_EQ(fired, 0);
    EXPECT_EQ(onDemand->state(), GestureState::Failed);
    window->touchUp(Point{200, 300});
    EXPECT_EQ(containerStates.back(), GestureState::Ended);

    // Outside a touch sequence nothing stands in its way.
    onDemand->reset();
    onDemand->recognizeNow();
    EXPECT_EQ(fired, 1);
}

}  // namespace
}  // namespace uitest
