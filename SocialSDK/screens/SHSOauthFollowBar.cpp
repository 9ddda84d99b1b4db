#include "SocialSDK/screens/SHSOauthFollowBar.h"

#include <string>

#include "SocialSDK/service/SHSocialLocalized.h"
#include "platform/graphics/Image.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"

namespace {

const std::string kButtons = "SHSocialSDKResourcesNew.bundle/Buttons/";

}  // namespace

SHSOauthFollowBar::SHSOauthFollowBar(double width)
    : platform::ImageView(platform::Rect{{0, 0}, {width, kHeight}}) {
    setImage(platform::Image::named(kButtons + "SHS_comment_bar_background"));
    setUserInteractionEnabled(true);
    setAutoresizingMask(platform::AutoresizingMask::FlexibleWidth |
                        platform::AutoresizingMask::FlexibleTopMargin);
    m_checkButton = platform::View::make<platform::Button>(platform::Rect{{0, 0}, {40, 38}},
                                                           platform::ButtonType::Custom);
    m_checkButton->setCenter(platform::Point{40, kHeight / 2 + 5});
    m_checkButton->setHandle("oauth-follow");
    setChecked(true);
    addSubview(m_checkButton);
    const auto check = m_checkButton->frame();
    auto label = platform::View::make<platform::Label>(
        platform::Rect{{check.origin.x + check.size.width, check.origin.y}, {200, 38}});
    label->setText(SHSocialLocalizedString("oauth_follow", "关注官方微博"));
    label->setTextColor(platform::Color::lightGray());
    label->setBackgroundColor(platform::Color::clear());
    addSubview(label);
}

void SHSOauthFollowBar::setChecked(bool checked) {
    m_checkButton->setImage(
        platform::Image::named(kButtons + (checked ? "SHS_add_friend_on" : "SHS_add_friend_off")));
}
