#include <gtest/gtest.h>

#include <filesystem>

#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/Renderer.h"
#include "tests/support/TempHome.h"
#include "tests/ui/UiTestSupport.h"

namespace uitest {
namespace {

using namespace platform;

constexpr std::uint32_t kWhite = 0xFFFFFFFF;
constexpr std::uint32_t kRed = 0xFFFF0000;
constexpr std::uint32_t kBlue = 0xFF0000FF;
constexpr std::uint32_t kGreen = 0xFF00FF00;

// Channels within 2 of each other, for blending that rounds either way.
bool near(std::uint32_t a, std::uint32_t b) {
    for (int shift = 0; shift < 32; shift += 8) {
        int x = int((a >> shift) & 0xFF);
        int y = int((b >> shift) & 0xFF);
        if (std::abs(x - y) > 2) {
            return false;
        }
    }
    return true;
}

Image solid(int w, int h, std::uint32_t argb) {
    return Image::fromARGB(w, h, std::vector<std::uint32_t>(size_t(w * h), argb));
}

class RenderTest : public UiTest {
protected:
    void SetUp() override {
        root = View::make<View>(Rect{{0, 0}, {100, 100}});
        root->setBackgroundColor(Color::white());
    }
    std::shared_ptr<View> root;
};

TEST_F(RenderTest, DrawsBackgroundsAndNestedSubviewsInPlace) {
    auto red = View::make<View>(Rect{{10, 10}, {50, 50}});
    red->setBackgroundColor(Color::redColor());
    auto blue = View::make<View>(Rect{{20, 20}, {10, 10}});
    blue->setBackgroundColor(Color::blueColor());
    root->addSubview(red);
    red->addSubview(blue);

    Image image = renderToImage(*root);
    ASSERT_EQ(image.pixelWidth(), 100);
    ASSERT_EQ(image.pixelHeight(), 100);
    EXPECT_EQ(image.pixelAt(5, 5), kWhite);
    EXPECT_EQ(image.pixelAt(15, 15), kRed);
    EXPECT_EQ(image.pixelAt(35, 35), kBlue);  // 10 + 20 + 5
    EXPECT_EQ(image.pixelAt(45, 45), kRed);
    EXPECT_EQ(image.pixelAt(70, 70), kWhite);
}

TEST_F(RenderTest, HiddenViewsDrawNothingAndAlphaBlendsWithWhatIsBelow) {
    auto red = View::make<View>(Rect{{0, 0}, {50, 50}});
    red->setBackgroundColor(Color::redColor());
    red->setHidden(true);
    root->addSubview(red);
    EXPECT_EQ(renderToImage(*root).pixelAt(25, 25), kWhite);
    red->setHidden(false);
    red->setAlpha(0.5);
    EXPECT_TRUE(near(renderToImage(*root).pixelAt(25, 25), 0xFFFF8080));
}

TEST_F(RenderTest, ScrolledBoundsShiftTheContentAndClippingCutsItAtTheBounds) {
    auto box = View::make<View>(Rect{{10, 10}, {30, 30}});
    auto wide = View::make<View>(Rect{{0, 10}, {80, 10}});
    wide->setBackgroundColor(Color::greenColor());
    box->addSubview(wide);
    root->addSubview(box);
    EXPECT_EQ(renderToImage(*root).pixelAt(60, 25), kGreen);

    box->setBounds(Rect{{0, 10}, {30, 30}});
    Image scrolled = renderToImage(*root);
    EXPECT_EQ(scrolled.pixelAt(30, 15), kGreen);
    EXPECT_EQ(scrolled.pixelAt(30, 25), kWhite);

    box->setClipsToBounds(true);
    Image clipped = renderToImage(*root);
    EXPECT_EQ(clipped.pixelAt(60, 15), kWhite);
    EXPECT_EQ(clipped.pixelAt(30, 15), kGreen);
}

TEST_F(RenderTest, BordersAndTranslationsAreDrawn) {
    auto boxed = View::make<View>(Rect{{10, 10}, {40, 40}});
    boxed->setBorderWidth(4);
    boxed->setBorderColor(Color::blueColor());
    boxed->setTransform(AffineTransform::makeTranslation(30, 0));
    root->addSubview(boxed);
    Image image = renderToImage(*root);
    EXPECT_EQ(image.pixelAt(41, 30), kBlue);   // left border, moved 30 right
    EXPECT_EQ(image.pixelAt(60, 30), kWhite);  // inside
    EXPECT_EQ(image.pixelAt(11, 30), kWhite);  // where it was before the move
}

TEST_F(RenderTest, ImageViewsPlaceTheirImageByContentMode) {
    auto imageView = View::make<ImageView>(Rect{{0, 0}, {100, 50}});
    imageView->setImage(solid(10, 10, kRed));
    imageView->setContentMode(ContentMode::ScaleAspectFit);
    root->addSubview(imageView);
    Image fit = renderToImage(*root);
    EXPECT_EQ(fit.pixelAt(50, 25), kRed);
    EXPECT_EQ(fit.pixelAt(10, 25), kWhite);  // left of the centred 50 x 50 square

    imageView->setContentMode(ContentMode::ScaleToFill);
    EXPECT_EQ(renderToImage(*root).pixelAt(10, 25), kRed);

    imageView->setContentMode(ContentMode::TopLeft);
    Image topLeft = renderToImage(*root);
    EXPECT_EQ(topLeft.pixelAt(5, 5), kRed);
    EXPECT_EQ(topLeft.pixelAt(15, 5), kWhite);
}

TEST_F(RenderTest, LabelTextAndButtonBackgroundsReachThePicture) {
    auto label = View::make<Label>(Rect{{0, 0}, {100, 40}});
    label->setText("测试");
    label->setFont(Font::boldSystemFont(30));
    root->addSubview(label);
    auto button = View::make<Button>(Rect{{0, 60}, {100, 40}});
    button->setBackgroundImage(solid(4, 4, kBlue));
    root->addSubview(button);

    Image image = renderToImage(*root);
    bool sawInk = false;
    for (int y = 0; y < 40 && !sawInk; ++y) {
        for (int x = 0; x < 100 && !sawInk; ++x) {
            sawInk = (image.pixelAt(x, y) & 0xFF) < 0x80;
        }
    }
    EXPECT_TRUE(sawInk);
    EXPECT_EQ(image.pixelAt(50, 80), kBlue);
}

TEST_F(RenderTest, WritesAPngOfTheViewsSize) {
    testsupport::TempHome home;
    auto red = View::make<View>(Rect{{0, 0}, {30, 20}});
    red->setBackgroundColor(Color::redColor());
    root->addSubview(red);
    auto path = home.path() / "shot.png";
    ASSERT_TRUE(renderToPNG(*root, path));
    Image read = Image::fromFile(path);
    ASSERT_FALSE(read.isNull());
    EXPECT_EQ(read.pixelWidth(), 100);
    EXPECT_EQ(read.pixelAt(10, 10), kRed);
    EXPECT_EQ(read.pixelAt(50, 50), kWhite);

    auto empty = View::make<View>();
    EXPECT_FALSE(renderToPNG(*empty, home.path() / "empty.png"));
}

}  // namespace
}  // namespace uitest
