#include "platform/ui/SearchBar.h"

#include <algorithm>

#include "platform/ui/TextField.h"

namespace platform {

namespace {

// The field's actions reach the bar through the field's superview, so they hold nothing
// that could outlive the bar.
std::shared_ptr<SearchBar> barOf(Control& field) {
    return std::dynamic_pointer_cast<SearchBar>(field.superview());
}

}  // namespace

SearchBar::SearchBar() {
    init();
}

SearchBar::SearchBar(const Rect& frame) : View(frame) {
    init();
}

void SearchBar::init() {
    m_field = View::make<TextField>();
    m_field->setBorderStyle(TextBorderStyle::RoundedRect);
    m_field->setBackgroundColor(Color::white());
    m_field->setFont(Font::systemFont(14));
    m_field->setReturnKeyType(ReturnKeyType::Search);
    m_field->setClearButtonMode(TextFieldViewMode::WhileEditing);
    m_field->setAutocapitalizationType(TextAutocapitalizationType::None);
    m_field->addTarget(
        [](Control& field) {
            auto bar = barOf(field);
            if (auto delegate = bar ? bar->delegate() : nullptr)
                delegate->searchBarTextDidChange(*bar, bar->text());
        },
        ControlEvent::EditingChanged);
    m_field->addTarget(
        [](Control& field) {
            auto bar = barOf(field);
            if (auto delegate = bar ? bar->delegate() : nullptr)
                delegate->searchBarSearchButtonClicked(*bar);
        },
        ControlEvent::EditingDidEndOnExit);
    addSubview(m_field);
    layoutSubviews();
}

const std::string& SearchBar::text() const {
    return m_field->text();
}

void SearchBar::setText(std::string text) {
    m_field->setText(std::move(text));
}

const std::string& SearchBar::placeholder() const {
    return m_field->placeholder();
}

void SearchBar::setPlaceholder(std::string placeholder) {
    m_field->setPlaceholder(std::move(placeholder));
}

bool SearchBar::isFirstResponder() const {
    return m_field->isFirstResponder();
}

bool SearchBar::becomeFirstResponder() {
    return m_field->becomeFirstResponder();
}

bool SearchBar::resignFirstResponder() {
    return m_field->resignFirstResponder();
}

void SearchBar::layoutSubviews() {
    const Rect area = bounds();
    m_field->setFrame(Rect{{area.origin.x + kFieldInsetX, area.origin.y + kFieldInsetY},
                           {std::max(0.0, area.size.width - 2 * kFieldInsetX),
                            std::max(0.0, area.size.height - 2 * kFieldInsetY)}});
}

}  // namespace platform
