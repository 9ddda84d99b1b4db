#include "SocialSDK/service/SHSocialNavigationController.h"

#include "SocialSDK/service/SHSocialConfig.h"

platform::InterfaceOrientationMask SHSocialNavigationController::supportedInterfaceOrientations()
    const {
    return static_cast<platform::InterfaceOrientationMask>(
        SHSocialConfigInternal::shareInstance().socialInterfaceOrientations);
}
