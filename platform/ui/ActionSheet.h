#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/ui/AlertButtons.h"
#include "platform/ui/ModalAlert.h"
#include "platform/ui/View.h"

namespace platform {

class ActionSheetDelegate;

// The phone's UIActionSheet: a list of choices rising from the bottom of a view. Indexes
// follow the phone: the destructive button first, then the other buttons, then the cancel
// button; buttons added later take the next indexes. Shown above everything
// (AlertPresenter) until a button is tapped or code dismisses it. Make it with
// View::make<ActionSheet>(...).
class ActionSheet : public View, public ModalAlert {
public:
    ActionSheet();
    ActionSheet(std::string title, std::weak_ptr<ActionSheetDelegate> delegate,
                const std::string& cancelButtonTitle, const std::string& destructiveButtonTitle,
                const std::vector<std::string>& otherButtonTitles);

    const std::string& title() const { return m_title; }
    void setTitle(std::string title) { setDisplayed(m_title, std::move(title)); }
    std::shared_ptr<ActionSheetDelegate> delegate() const { return m_delegate.lock(); }
    void setDelegate(std::weak_ptr<ActionSheetDelegate> delegate) {
        m_delegate = std::move(delegate);
    }

    // Returns the new button's index.
    int addButtonWithTitle(std::string title);
    int numberOfButtons() const { return m_buttons.count(); }
    std::string buttonTitleAtIndex(int index) const;
    // -1 when there is none.
    int cancelButtonIndex() const { return m_cancelButtonIndex; }
    void setCancelButtonIndex(int index);
    int destructiveButtonIndex() const { return m_destructiveButtonIndex; }
    void setDestructiveButtonIndex(int index);
    int firstOtherButtonIndex() const;
    // The button standing for the choice already made (a select's current option): drawn with
    // a check mark and told in the outline with one ("[二年级 ✓]"); -1 for none.
    int markedButtonIndex() const { return m_markedButtonIndex; }
    void setMarkedButtonIndex(int index) { setDisplayed(m_markedButtonIndex, index); }

    // Shows the sheet over `view` (its bottom edge); a sheet without a view to show in is
    // still shown, as on the phone's key window.
    void showInView(const std::shared_ptr<View>& view);
    bool isVisible() const;
    std::shared_ptr<View> shownInView() const { return m_shownIn.lock(); }
    void dismissWithClickedButtonIndex(int index, bool animated);

    std::string alertTitle() const override { return m_title; }
    std::string alertMessage() const override { return ""; }
    std::vector<std::string> buttonTitles() const override { return m_buttons.titles(); }
    bool pressButton(int index) override;
    std::string describeAlert() const override;
    int buttonIndexAt(Point pointInAlert) const override;

    void draw(BitmapContext& context, const Rect& rect) override;
    std::string describe() const override { return describeAlert(); }

private:
    std::string m_title;
    std::weak_ptr<ActionSheetDelegate> m_delegate;
    AlertButtons m_buttons;
    int m_cancelButtonIndex{-1};
    int m_destructiveButtonIndex{-1};
    int m_markedButtonIndex{-1};
    std::weak_ptr<View> m_shownIn;
};

}  // namespace platform
