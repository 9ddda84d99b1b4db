#pragma once

// Gives the controller service the makers of the share list, the edit screen, the sign-in
// page and the friend picker.
// Called once where the SDK's screens are set up (the front end, tests); idempotent.
void SHSocialInstallScreens();
