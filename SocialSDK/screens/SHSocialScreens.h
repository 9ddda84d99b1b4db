#pragma once

// Gives the view-controller factory the makers of the share list, the edit screen, the
// sign-in page and the friend picker, now and for every fresh factory. A program that links
// the SDK's public target (socialsdk) has this done as it loads; calling it again is harmless.
void SHSocialInstallScreens();
