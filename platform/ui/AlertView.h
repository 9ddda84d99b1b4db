#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/ui/AlertButtons.h"
#include "platform/ui/ModalAlert.h"
#include "platform/ui/View.h"

namespace platform {

class AlertViewDelegate;
class TextField;

enum class AlertViewStyle { Default, SecureTextInput, PlainTextInput, LoginAndPasswordInput };

// The phone's UIAlertView: a title, a message, buttons and optional fields, shown above
// everything (AlertPresenter) until a button is tapped or code dismisses it. With a cancel
// button it is index 0 and the other buttons follow from 1; without one they start at 0.
// Make it with View::make<AlertView>(...) so that show() can keep it alive while shown.
class AlertView : public View, public ModalAlert {
public:
    AlertView();
    AlertView(std::string title, std::string message, std::weak_ptr<AlertViewDelegate> delegate,
              const std::string& cancelButtonTitle,
              const std::vector<std::string>& otherButtonTitles);

    const std::string& title() const { return m_title; }
    void setTitle(std::string title);
    const std::string& message() const { return m_message; }
    void setMessage(std::string message);
    std::shared_ptr<AlertViewDelegate> delegate() const { return m_delegate.lock(); }
    void setDelegate(std::weak_ptr<AlertViewDelegate> delegate) {
        m_delegate = std::move(delegate);
    }

    // --- Buttons ------------------------------------------------------------------------
    // Returns the new button's index.
    int addButtonWithTitle(std::string title);
    int numberOfButtons() const { return m_buttons.count(); }
    // "" for an index that is not a button.
    std::string buttonTitleAtIndex(int index) const;
    // -1 when there is none.
    int cancelButtonIndex() const { return m_cancelButtonIndex; }
    void setCancelButtonIndex(int index);
    int firstOtherButtonIndex() const;

    // --- Fields and accessory -----------------------------------------------------------
    AlertViewStyle alertViewStyle() const { return m_style; }
    void setAlertViewStyle(AlertViewStyle style);
    // The style's fields: 0 the text (or login), 1 the password; null for any other index.
    std::shared_ptr<TextField> textFieldAtIndex(int index) const;
    // A custom view under the message (the phone's "accessoryView" key).
    std::shared_ptr<View> accessoryView() const { return m_accessoryView; }
    void setAccessoryView(std::shared_ptr<View> view);

    // --- Showing ------------------------------------------------------------------------
    void show();
    bool isVisible() const;
    // Dismisses as code does: willDismiss and didDismiss with the index, no click.
    void dismissWithClickedButtonIndex(int index, bool animated);

    // --- ModalAlert -----------------------------------------------------------------------
    std::string alertTitle() const override { return m_title; }
    std::string alertMessage() const override { return m_message; }
    std::vector<std::string> buttonTitles() const override { return m_buttons.titles(); }
    bool pressButton(int index) override;
    std::vector<std::shared_ptr<TextField>> alertTextFields() const override { return m_fields; }
    std::string describeAlert() const override;
    int buttonIndexAt(Point pointInAlert) const override;

    void layoutSubviews() override;
    void draw(BitmapContext& context, const Rect& rect) override;
    std::string describe() const override { return describeAlert(); }

    static constexpr double kWidth = 270;

private:
    void resize();
    // Where the button is drawn: two side by side, otherwise one row each at the bottom.
    Rect buttonRect(int index) const;

    std::string m_title;
    std::string m_message;
    std::weak_ptr<AlertViewDelegate> m_delegate;
    AlertButtons m_buttons;
    int m_cancelButtonIndex{-1};
    AlertViewStyle m_style{AlertViewStyle::Default};
    std::vector<std::shared_ptr<TextField>> m_fields;
    std::shared_ptr<View> m_accessoryView;
};

}  // namespace platform
