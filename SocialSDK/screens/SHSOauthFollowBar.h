#pragma once

#include <memory>

#include "platform/ui/ImageView.h"

namespace platform {
class Button;
}

// The sign-in page's follow bar, under its web view: a check box (checked at first) and the
// offer to follow the application's official account. The page flips the box.
class SHSOauthFollowBar : public platform::ImageView {
public:
    static constexpr double kHeight = 40;

    explicit SHSOauthFollowBar(double width);

    const std::shared_ptr<platform::Button>& checkButton() const { return m_checkButton; }
    void setChecked(bool checked);

private:
    std::shared_ptr<platform::Button> m_checkButton;
};
