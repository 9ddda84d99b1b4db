#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/graphics/Geometry.h"

namespace platform {

class TextField;

// What the alert registry (AlertPresenter) holds: an alert, action sheet or alert controller
// on screen above everything else. The UI driver reads and presses it through this face.
class ModalAlert {
public:
    virtual ~ModalAlert() = default;

    virtual std::string alertTitle() const = 0;
    virtual std::string alertMessage() const = 0;
    // Button titles in index order.
    virtual std::vector<std::string> buttonTitles() const = 0;
    // A user's tap on the button: the delegate or handler hears it in the phone's order and
    // the alert goes away. False when there is no such button or the alert is not shown.
    virtual bool pressButton(int index) = 0;
    // The button drawn at the point (in the alert's own coordinates), or -1: where a finger
    // on the drawn alert would press. Alerts that draw no buttons have none.
    virtual int buttonIndexAt(Point /*pointInAlert*/) const { return -1; }
    // The first button with exactly that title.
    bool pressButtonTitled(const std::string& title);
    // Fields the alert holds for the user to type into, in order.
    virtual std::vector<std::shared_ptr<TextField>> alertTextFields() const { return {}; }
    // One line for outlines: kind, title, message and buttons.
    virtual std::string describeAlert() const = 0;
};

// "alert \"title\" \"message\" [a] [b]": the outline line shared by the alert kinds.
std::string describeAlertLine(const std::string& kind, const std::string& title,
                              const std::string& message, const std::vector<std::string>& buttons);

}  // namespace platform
