#include <gtest/gtest.h>

#include "platform/ui/AlertView.h"
#include "platform/ui/ImageView.h"
#include "tests/testing/DriverTestSupport.h"

namespace drivertest {
namespace {

using namespace platform;

using OutlineTest = DriverTest;

TEST_F(OutlineTest, ShowsTheBarThenTheViewsThenTheAlertWithHandles) {
    showSample();
    auto alert = View::make<AlertView>("Sign out?", "You will sign in again.",
                                       std::weak_ptr<AlertViewDelegate>(), "Cancel",
                                       std::vector<std::string>{"Sign out"});
    alert->show();

    EXPECT_EQ(driver.outline(),
              "navigation bar \"Settings\"\n"
              "l1  label \"Hello\"\n"
              "b1  button \"Go\"\n"
              "s1  table\n"
              "  r0  cell \"First\"\n"
              "  r1  cell \"Second\"\n"
              "alert \"Sign out?\" \"You will sign in again.\" [Cancel] [Sign out]\n"
              "  a0  button \"Cancel\"\n"
              "  a1  button \"Sign out\"\n");
}

TEST_F(OutlineTest, HandlesStayWithTheirViewsAndFindingPrefersTheWholeText) {
    auto screen = showSample();
    std::string first = driver.outline();
    EXPECT_EQ(driver.outline(), first);
    EXPECT_EQ(driver.findAll<Button>().front(), screen->button);

    // A new button drawn before the old one takes a new number; the old keeps its own.
    auto extra = View::make<Button>(Rect{{200, 120}, {100, 44}}, ButtonType::System);
    extra->setTitle("More");
    screen->view()->insertSubview(extra, 0);
    EXPECT_EQ(driver.handleOf(*screen->button), "b1");
    EXPECT_EQ(driver.handleOf(*extra), "b2");
    EXPECT_EQ(driver.findByHandle("b1"), screen->button);

    // Finding by text prefers the whole text to a part of one.
    screen->rows = {"Go further", "Second"};
    screen->table->reloadData();
    EXPECT_EQ(driver.find("Go"), screen->button);
    EXPECT_EQ(driver.find("further"), screen->table->cellForRowAtIndexPath(IndexPath{0, 0}));
    EXPECT_EQ(driver.find("Nothing like this"), nullptr);
}

TEST_F(OutlineTest, LeavesOutHiddenOffscreenAndCoveredViews) {
    auto screen = showSample();
    screen->label->setHidden(true);
    auto outside = View::make<Label>(Rect{{500, 80}, {100, 30}});
    outside->setText("Far away");
    screen->view()->addSubview(outside);

    auto texts = driver.visibleTexts();
    EXPECT_EQ(std::count(texts.begin(), texts.end(), "Hello"), 0);
    EXPECT_EQ(std::count(texts.begin(), texts.end(), "Far away"), 0);
    EXPECT_NE(std::count(texts.begin(), texts.end(), "Go"), 0);

    // A translucent picture over the window hides nothing; an opaque one hides what is below.
    auto picture = [&](std::uint32_t argb) {
        std::vector<std::uint32_t> pixels(4, argb);
        auto cover = View::make<ImageView>(Image::fromARGB(2, 2, pixels));
        cover->setFrame(window->bounds());
        return cover;
    };
    auto glass = picture(0x80FFFFFF);
    window->addSubview(glass);
    texts = driver.visibleTexts();
    EXPECT_NE(std::count(texts.begin(), texts.end(), "Go"), 0);

    glass->removeFromSuperview();
    window->addSubview(picture(0xFF336699));  // an introduction page over the screen
    texts = driver.visibleTexts();
    EXPECT_EQ(std::count(texts.begin(), texts.end(), "Go"), 0);
    // So does an opaque view over the whole window.
    auto cover = View::make<View>(window->bounds());
    cover->setBackgroundColor(Color::white());
    auto note = View::make<Label>(Rect{{20, 300}, {200, 30}});
    note->setText("On top");
    cover->addSubview(note);
    window->addSubview(cover);
    EXPECT_EQ(driver.outline(), "l1  label \"On top\"\n");
}

TEST_F(OutlineTest, ListsOnlyTheRowsInView) {
    std::vector<std::string> rows;
    for (int i = 0; i < 50; ++i) {
        rows.push_back("Row " + std::to_string(i));
    }
    auto screen = showSample(rows);
    auto outline = driver.snapshot();
    EXPECT_NE(outline.findHandle("r4"), nullptr);
    EXPECT_EQ(outline.findHandle("r5"), nullptr);

    screen->table->setContentOffset(Point{0, 44 * 20});
    outline = driver.snapshot();
    EXPECT_EQ(outline.findHandle("r0"), nullptr);
    ASSERT_NE(outline.findHandle("r20"), nullptr);
    EXPECT_EQ(outline.findHandle("r20")->line, "cell \"Row 20\"");
}

}  // namespace
}  // namespace drivertest
