// Makes the SDK's screens known to its view-controller factory as the program is loaded. The
// public target links this library whole, so the line below runs in every program that links
// the SDK, and the service library never names a screen.
#include "SocialSDK/screens/SHSocialScreens.h"

namespace {

[[maybe_unused]] const bool kScreensLinked = (SHSocialInstallScreens(), true);

}  // namespace
