#include <gtest/gtest.h>

#include <cstdint>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "platform/foundation/Bundle.h"
#include "platform/graphics/Image.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/View.h"

namespace {

std::vector<std::string> words(const std::string& text) {
    std::istringstream in(text);
    return {std::istream_iterator<std::string>(in), std::istream_iterator<std::string>()};
}

// Looked up by name (Image::named), as the tab bar, the introduction, the sign-in page, the
// home page and the side menu do. Names that already end in "@2x" must resolve too.
const std::vector<std::string> kNamedImages = words(
    "新闻2@2x 新闻-副本@2x 会议2-副本@2x 会议-副本@2x 通讯录2-副本@2x 通讯录-副本@2x 设置2@2x "
    "设置-副本@2x 背景 岚苑登录页面logo 登录页面关闭 登录-账号 登录-密码 登录页面校训 个人信息 "
    "默认图 返回 默认头像 订阅 清除 晴 多云 晴转多云 雨夹雪 雨 雪");

// Read by file name with the type "png", as the home tiles are.
const std::vector<std::string> kTileImages =
    words("通知公告 学术讲座 科研服务 问卷调查 迎新统计 就业服务 电子邮箱 app_icon 添加");

TEST(BundleImages, EveryImageTheScreensNameIsThereAndTwoXNamesShowAtTheirPointSize) {
    for (const std::string& name : kNamedImages) {
        EXPECT_FALSE(platform::Image::named(name).isNull()) << name;
    }
    // The career screens' pictures; the arrow's name has blanks in it.
    for (const char* name : {"地址", "箭头 - 收起"}) {
        EXPECT_FALSE(platform::Image::named(name).isNull()) << name;
    }
    platform::Image tab = platform::Image::named("新闻2@2x");
    EXPECT_EQ(tab.scale(), 2);
    EXPECT_EQ(tab.size().width, 25);
}

TEST(BundleImages, TheShareScreensBarAndRowPicturesOfBothThemesAreThere) {
    for (const char* name : {"SHS_nav_bar_bg_white", "SHS_comment_view_cell_white",
                             "SHS_nav_bar_bg", "SHS_nav_button_close", "SHS_nav_button_send"}) {
        const auto image =
            platform::Image::named(std::string("SHSocialSDKResourcesNew.bundle/Buttons/") + name);
        EXPECT_FALSE(image.isNull()) << name;
    }
    EXPECT_FALSE(
        platform::Image::named("SHSocialSDKResourcesNew.bundle/OtherTheme/SHS_nav_bar_bg_black")
            .isNull());
}

TEST(BundleImages, EveryTileIconIsAPngFileOfItsName) {
    for (const std::string& name : kTileImages) {
        auto path = platform::Bundle::main().pathForResource(name, "png");
        ASSERT_TRUE(path) << name;
        platform::Image icon = platform::Image::fromFile(*path);
        ASSERT_FALSE(icon.isNull()) << name;
        EXPECT_EQ(icon.size().width, 50) << name;
        EXPECT_EQ(icon.size().height, 50) << name;
    }
}

TEST(BundleImages, IntroductionPagesFillTheirScreens) {
    struct Page {
        std::string name;
        double width;
        double height;
    };
    for (const Page& page : {Page{"4-1", 320, 480}, Page{"4-3", 320, 480}, Page{"5-2", 320, 568},
                             Page{"6-1", 375, 667}, Page{"6-3", 375, 667}, Page{"6+1", 414, 736},
                             Page{"6+3", 414, 736}}) {
        platform::Image image = platform::Image::named(page.name);
        ASSERT_FALSE(image.isNull()) << page.name;
        EXPECT_EQ(image.size().width, page.width) << page.name;
        EXPECT_EQ(image.size().height, page.height) << page.name;
    }
}

// Where a page stands among the pages is shown by the introduction's page control below the
// picture; the picture itself is a plain field of its colour under its words, with no dots
// of its own that would stand as a second row.
TEST(BundleImages, IntroductionPagesCarryNoPageDotsOfTheirOwn) {
    for (const char* name :
         {"4-1", "4-2", "4-3", "5-1", "5-2", "5-3", "6-1", "6-2", "6-3", "6+1", "6+2", "6+3"}) {
        platform::Image image = platform::Image::named(name);
        ASSERT_FALSE(image.isNull()) << name;
        const int width = image.pixelWidth();
        const int height = image.pixelHeight();
        const std::uint32_t field = image.pixelAt(0, height - 1);
        int marked = 0;
        // From below the words (three quarters down) to the bottom edge.
        for (int y = height * 3 / 4; y < height; ++y)
            for (int x = 0; x < width; ++x) marked += image.pixelAt(x, y) != field ? 1 : 0;
        EXPECT_EQ(marked, 0) << name;
    }
}

// The outline says which picture shows, so a script can check that the introduction is up.
TEST(BundleImages, AnImageViewSaysWhichBundleImageItShows) {
    auto view = platform::View::make<platform::ImageView>(platform::Image::named("6-1"));
    EXPECT_EQ(view->describe(), "image \"6-1\" 375x667");
    auto plain = platform::View::make<platform::ImageView>(
        platform::Image::fromARGB(2, 1, {0xffffffffu, 0xff000000u}));
    EXPECT_EQ(plain->describe(), "image 2x1");
}

}  // namespace
