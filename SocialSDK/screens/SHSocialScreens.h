#pragma once

// Gives the controller service the makers of the share list, the edit screen and the sign-in
// page.
// Called once where the SDK's screens are set up (the front end, tests); idempotent.
void SHSocialInstallScreens();
