#pragma once

#include <memory>
#include <string>

#include "platform/ui/View.h"

namespace platform {

class SearchBar;
class TextField;

// The phone's UISearchBarDelegate. Every method is optional.
class SearchBarDelegate {
public:
    virtual ~SearchBarDelegate() = default;
    // After each change the user makes to the text (typing, deleting, the clear button).
    virtual void searchBarTextDidChange(SearchBar& /*searchBar*/, const std::string& /*text*/) {}
    // The keyboard's search key.
    virtual void searchBarSearchButtonClicked(SearchBar& /*searchBar*/) {}
};

// The phone's UISearchBar: a strip holding one rounded search field. The delegate (not owned)
// hears of the user's changes and of the search key; setting the text in code tells no one,
// as on the phone.
class SearchBar : public View {
public:
    SearchBar();
    explicit SearchBar(const Rect& frame);

    const std::string& text() const;
    void setText(std::string text);
    const std::string& placeholder() const;
    void setPlaceholder(std::string placeholder);
    // The field inside the bar, for its look and for the UI driver.
    const std::shared_ptr<TextField>& searchField() const { return m_field; }

    std::shared_ptr<SearchBarDelegate> delegate() const { return m_delegate.lock(); }
    void setDelegate(std::weak_ptr<SearchBarDelegate> delegate) {
        m_delegate = std::move(delegate);
    }

    bool isFirstResponder() const override;
    bool becomeFirstResponder() override;
    bool resignFirstResponder() override;

    void layoutSubviews() override;

    // Space between the bar's edges and its field.
    static constexpr double kFieldInsetX = 8;
    static constexpr double kFieldInsetY = 8;

private:
    void init();

    std::shared_ptr<TextField> m_field;
    std::weak_ptr<SearchBarDelegate> m_delegate;
};

}  // namespace platform
