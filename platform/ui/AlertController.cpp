#include "platform/ui/AlertController.h"

#include "platform/ui/AlertPresenter.h"
#include "platform/ui/Screen.h"
#include "platform/ui/TextField.h"
#include "platform/ui/View.h"

namespace platform {

AlertController::AlertController(std::string title, std::string message, AlertControllerStyle style)
    : m_message(std::move(message)), m_style(style) {
    setTitle(std::move(title));
    // The screen below stays visible under the dimmed alert.
    setModalPresentationStyle(ModalPresentationStyle::OverFullScreen);
    setModalTransitionStyle(ModalTransitionStyle::CrossDissolve);
}

std::shared_ptr<AlertController> AlertController::make(std::string title, std::string message,
                                                       AlertControllerStyle style) {
    return std::make_shared<AlertController>(std::move(title), std::move(message), style);
}

void AlertController::addAction(std::string title, AlertActionStyle style,
                                std::function<void()> handler) {
    addAction(AlertAction{std::move(title), style, std::move(handler), true});
}

void AlertController::addAction(AlertAction action) {
    m_actions.push_back(std::move(action));
}

void AlertController::setActionEnabled(int index, bool enabled) {
    if (index >= 0 && index < int(m_actions.size())) {
        m_actions[size_t(index)].enabled = enabled;
    }
}

void AlertController::addTextField(const std::function<void(TextField&)>& configuration) {
    if (m_style != AlertControllerStyle::Alert) {
        return;
    }
    auto field = View::make<TextField>();
    field->setBorderStyle(TextBorderStyle::Line);
    field->setFont(Font::systemFont(13));
    m_textFields.push_back(field);
    if (isViewLoaded()) {
        view()->addSubview(field);
    }
    if (configuration) {
        configuration(*field);
    }
}

std::vector<std::string> AlertController::buttonTitles() const {
    std::vector<std::string> titles;
    for (const auto& action : m_actions) {
        titles.push_back(action.title);
    }
    return titles;
}

bool AlertController::pressButton(int index) {
    if (index < 0 || index >= int(m_actions.size()) || !m_actions[size_t(index)].enabled ||
        !AlertPresenter::shared().isShowing(this)) {
        return false;
    }
    auto self = weak_from_this().lock();
    auto handler = m_actions[size_t(index)].handler;
    AlertPresenter::shared().remove(this);
    // Without animation the dismissal is complete on return, so a handler may present at once.
    dismissViewController(false);
    if (handler) {
        handler();
    }
    return true;
}

std::string AlertController::describeAlert() const {
    return describeAlertLine(m_style == AlertControllerStyle::Alert ? "alert" : "action sheet",
                             title(), m_message, buttonTitles());
}

void AlertController::loadView() {
    auto root = View::make<View>(Screen::main().bounds());
    root->setBackgroundColor(Color::whiteAlpha(0, 0.4f));
    double y = Screen::main().size().height / 2;
    for (auto& field : m_textFields) {
        field->setFrame(Rect{{(root->bounds().size.width - 238) / 2, y}, {238, 26}});
        root->addSubview(field);
        y += 34;
    }
    setView(root);
}

void AlertController::viewWillAppear(bool animated) {
    ViewController::viewWillAppear(animated);
    if (auto self = std::dynamic_pointer_cast<AlertController>(weak_from_this().lock())) {
        AlertPresenter::shared().show(self);
    }
}

void AlertController::viewDidDisappear(bool animated) {
    ViewController::viewDidDisappear(animated);
    AlertPresenter::shared().remove(this);
}

}  // namespace platform
