#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/AlertAction.h"
#include "platform/ui/ModalAlert.h"
#include "platform/ui/ViewController.h"

namespace platform {

class TextField;

enum class AlertControllerStyle { ActionSheet, Alert };

// The phone's UIAlertController: an alert or action sheet presented like any controller
// (presentViewController, over the presenter's screen). While it is on screen it is also in
// the alert registry (AlertPresenter), so the UI driver finds it and taps below it are
// blocked. Button indexes are the order the actions were added.
class AlertController : public ViewController, public ModalAlert {
public:
    AlertController(std::string title, std::string message, AlertControllerStyle style);
    static std::shared_ptr<AlertController> make(std::string title, std::string message,
                                                 AlertControllerStyle style);

    const std::string& message() const { return m_message; }
    void setMessage(std::string message) { m_message = std::move(message); }
    AlertControllerStyle preferredStyle() const { return m_style; }

    void addAction(std::string title, AlertActionStyle style, std::function<void()> handler = {});
    void addAction(AlertAction action);
    const std::vector<AlertAction>& actions() const { return m_actions; }
    void setActionEnabled(int index, bool enabled);

    // Alerts only (the phone refuses fields on action sheets). The configuration runs on the
    // new field at once.
    void addTextField(const std::function<void(TextField&)>& configuration = {});
    const std::vector<std::shared_ptr<TextField>>& textFields() const { return m_textFields; }

    std::string alertTitle() const override { return title(); }
    std::string alertMessage() const override { return m_message; }
    std::vector<std::string> buttonTitles() const override;
    // Dismisses without animation, then runs the action's handler. False for a disabled
    // action or when the controller is not on screen.
    bool pressButton(int index) override;
    std::vector<std::shared_ptr<TextField>> alertTextFields() const override {
        return m_textFields;
    }
    std::string describeAlert() const override;

    void loadView() override;
    void viewWillAppear(bool animated) override;
    void viewDidDisappear(bool animated) override;

private:
    std::string m_message;
    AlertControllerStyle m_style;
    std::vector<AlertAction> m_actions;
    std::vector<std::shared_ptr<TextField>> m_textFields;
};

}  // namespace platform
