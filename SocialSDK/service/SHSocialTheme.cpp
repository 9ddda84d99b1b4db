#include "SocialSDK/service/SHSocialTheme.h"

#include <string>

#include "SocialSDK/service/SHSocialUIHelper.h"
#include "platform/graphics/BitmapContext.h"
#include "platform/graphics/Font.h"
#include "platform/graphics/Image.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationBar.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/TableViewCell.h"

namespace {

const platform::Color kDefaultCellTextColor = platform::Color::rgba(0.353f, 0.353f, 0.353f);
constexpr double kButtonFontSize = 13;

// The close and post buttons' frame, stretched between caps of 8 (left) and 10 (top).
platform::Image buttonFrame() {
    return SHSocialUIHelper::otherThemeImage("SHS_nav_button_normal").stretchableImage(8, 10);
}

void titledButton(platform::Button& button, const platform::Image& background,
                  const std::string& title, const platform::EdgeInsets& insets) {
    button.setBackgroundImage(background);
    button.setImage(platform::Image{});
    button.setTitle(title);
    button.titleLabel()->setFont(platform::Font::boldSystemFont(kButtonFontSize));
    button.setTitleEdgeInsets(insets);
}

}  // namespace

namespace SHSocialTheme {

void otherNavigationStyle(const std::shared_ptr<platform::NavigationBar>& bar,
                          const std::shared_ptr<platform::Button>& closeButton,
                          const std::shared_ptr<platform::Button>& backButton,
                          const std::shared_ptr<platform::Button>& postButton,
                          const std::shared_ptr<platform::Button>& /*refreshButton*/,
                          platform::NavigationItem* item) {
    if (closeButton)
        titledButton(*closeButton, buttonFrame(), "关 闭", {});
    if (backButton)
        titledButton(*backButton, SHSocialUIHelper::otherThemeImage("SHS_nav_back_button_normal"),
                     "返 回", {0, 6, 0, 0});
    if (bar) {
        bar->setBackgroundImage(SHSocialUIHelper::otherThemeImage("SHS_nav_bar_bg_black"));
        bar->setTitleTextAttributes({});
    }
    if (postButton)
        titledButton(*postButton, buttonFrame(), "发 布", {});
    if (item)
        SHSocialUIHelper::customNavigationItem(*item, platform::Color::white());
}

void otherGridStyle(platform::BitmapContext* context,
                    const std::shared_ptr<platform::View>& background,
                    const std::shared_ptr<platform::Label>& /*captionTemplate*/) {
    if (context) {
        context->setStrokeColor(platform::Color::white());
        context->setLineWidth(0);
    }
    if (background)
        background->setBackgroundColor(platform::Color::darkGray());
}

void defaultNavigationStyle(const std::shared_ptr<platform::NavigationBar>& /*bar*/,
                            const std::shared_ptr<platform::Button>& /*closeButton*/,
                            const std::shared_ptr<platform::Button>& /*backButton*/,
                            const std::shared_ptr<platform::Button>& /*postButton*/,
                            const std::shared_ptr<platform::Button>& /*refreshButton*/,
                            platform::NavigationItem* item) {
    if (item)
        SHSocialUIHelper::customNavigationItem(*item);
}

void defaultCellStyle(const std::shared_ptr<platform::TableViewCell>& cell, int /*screenType*/) {
    if (cell)
        cell->textLabel()->setTextColor(kDefaultCellTextColor);
}

}  // namespace SHSocialTheme
