#include "platform/ui/ModalAlert.h"

namespace platform {

bool ModalAlert::pressButtonTitled(const std::string& title) {
    auto titles = buttonTitles();
    for (size_t i = 0; i < titles.size(); ++i) {
        if (titles[i] == title) {
            return pressButton(int(i));
        }
    }
    return false;
}

std::string describeAlertLine(const std::string& kind, const std::string& title,
                              const std::string& message, const std::vector<std::string>& buttons) {
    std::string line = kind;
    if (!title.empty()) {
        line += " \"" + title + "\"";
    }
    if (!message.empty()) {
        line += " \"" + message + "\"";
    }
    for (const auto& button : buttons) {
        line += " [" + button + "]";
    }
    return line;
}

}  // namespace platform
