#pragma once

#include <string>
#include <vector>

// The SDK's short result messages. Until the share screens bring the toast view, a toast is
// written to the SDK log and kept in the list of texts shown (tests, the front end).
class SHSocialToast {
public:
    static void makeTextAndShow(const std::string& text);
    static std::vector<std::string> shownTexts();
    static void clearShownTexts();
};
