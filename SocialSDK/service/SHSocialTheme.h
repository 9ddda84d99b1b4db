#pragma once

#include "SocialSDK/service/SHSocialConfig.h"

// The built-in styles the configuration's hooks take for a theme: theme 0 (a black bar with
// framed, titled buttons and a dark sheet) and the default theme 1 (the title in the SDK's
// colour, grey cell texts). Each styles only what it is given.
namespace SHSocialTheme {

SHSocialNavigationBarStyle otherNavigationStyle;
SHSocialGridViewStyle otherGridStyle;

SHSocialNavigationBarStyle defaultNavigationStyle;
SHSocialTableViewCellStyle defaultCellStyle;

}  // namespace SHSocialTheme
