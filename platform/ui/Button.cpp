#include "platform/ui/Button.h"

#include <algorithm>

#include "platform/graphics/BitmapContext.h"
#include "platform/graphics/TextMeasurer.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"

namespace platform {

namespace {

template <typename T>
std::optional<T> lookup(const std::map<ControlState, T>& values, ControlState state) {
    auto it = values.find(state);
    if (it == values.end()) {
        it = values.find(ControlState::Normal);
    }
    if (it == values.end()) {
        return std::nullopt;
    }
    return it->second;
}

// Moves a laid-out rect by edge insets the way the phone does: centred content moves by
// half the difference of opposite insets, edge-aligned content by the inset on its side.
Rect shifted(Rect rect, const EdgeInsets& insets, ContentHorizontalAlignment horizontal,
             ContentVerticalAlignment vertical) {
    switch (horizontal) {
        case ContentHorizontalAlignment::Left:
        case ContentHorizontalAlignment::Fill:
            rect.origin.x += insets.left;
            break;
        case ContentHorizontalAlignment::Right:
            rect.origin.x -= insets.right;
            break;
        case ContentHorizontalAlignment::Center:
            rect.origin.x += (insets.left - insets.right) / 2;
            break;
    }
    switch (vertical) {
        case ContentVerticalAlignment::Top:
        case ContentVerticalAlignment::Fill:
            rect.origin.y += insets.top;
            break;
        case ContentVerticalAlignment::Bottom:
            rect.origin.y -= insets.bottom;
            break;
        case ContentVerticalAlignment::Center:
            rect.origin.y += (insets.top - insets.bottom) / 2;
            break;
    }
    return rect;
}

}  // namespace

Button::Button(ButtonType type) : m_type(type) {
    build();
}

Button::Button(const Rect& frame, ButtonType type) : Control(frame), m_type(type) {
    build();
}

void Button::build() {
    m_imageView = View::make<ImageView>();
    m_titleLabel = View::make<Label>();
    m_titleLabel->setFont(Font::systemFont(15));
    m_titleLabel->setTextAlignment(TextAlignment::Center);
    addSubview(m_imageView);
    addSubview(m_titleLabel);
    updateContent();
}

void Button::setTitle(std::string title, ControlState state) {
    m_titles[state] = std::move(title);
    updateContent();
}

std::string Button::title(ControlState state) const {
    return lookup(m_titles, state).value_or(std::string());
}

void Button::setTitleColor(const Color& color, ControlState state) {
    m_titleColors[state] = color;
    updateContent();
}

Color Button::titleColor(ControlState state) const {
    if (auto color = lookup(m_titleColors, state)) {
        return *color;
    }
    if (m_type == ButtonType::Custom) {
        return Color::white();
    }
    // A system button draws its title in the tint, dimmed while pressed or disabled.
    Color tint = tintColor();
    if (hasAny(state, ControlState::Disabled)) {
        return Color::rgba(0.56f, 0.56f, 0.58f);
    }
    if (hasAny(state, ControlState::Highlighted)) {
        return tint.withAlpha(tint.alpha * 0.2f);
    }
    return tint;
}

void Button::setImage(const Image& image, ControlState state) {
    m_images[state] = image;
    updateContent();
}

Image Button::image(ControlState state) const {
    return lookup(m_images, state).value_or(Image());
}

void Button::setBackgroundImage(const Image& image, ControlState state) {
    m_backgroundImages[state] = image;
    updateContent();
}

Image Button::backgroundImage(ControlState state) const {
    return lookup(m_backgroundImages, state).value_or(Image());
}

void Button::setContentEdgeInsets(const EdgeInsets& insets) {
    m_contentEdgeInsets = insets;
    setNeedsLayout();
}

void Button::setTitleEdgeInsets(const EdgeInsets& insets) {
    m_titleEdgeInsets = insets;
    setNeedsLayout();
}

void Button::setImageEdgeInsets(const EdgeInsets& insets) {
    m_imageEdgeInsets = insets;
    setNeedsLayout();
}

void Button::updateContent() {
    if (!m_titleLabel) {
        return;
    }
    std::string title = currentTitle();
    m_titleLabel->setHidden(title.empty());
    m_titleLabel->setText(std::move(title));
    m_titleLabel->setTextColor(currentTitleColor());
    Image image = currentImage();
    m_imageView->setHidden(image.isNull());
    m_imageView->setImage(image);
    setDisplayed(m_shownBackground, currentBackgroundImage());
    setNeedsLayout();
}

Size Button::titleSize() const {
    if (m_titleLabel->text().empty()) {
        return {0, 0};
    }
    return TextMeasurer::current().boundingSize(m_titleLabel->text(), m_titleLabel->font(),
                                                Size{0, 0});
}

Size Button::imageSize() const {
    Image image = currentImage();
    return image.isNull() ? Size{0, 0} : image.size();
}

bool Button::pointInside(Point point) const {
    if (!m_touchRects.empty()) {
        return std::any_of(m_touchRects.begin(), m_touchRects.end(),
                           [&](const Rect& rect) { return rect.contains(point); });
    }
    if (!m_touchAreaOutsets) {
        return Control::pointInside(point);
    }
    const EdgeInsets& outsets = *m_touchAreaOutsets;
    Rect area = bounds();
    area.origin.x -= outsets.left;
    area.origin.y -= outsets.top;
    area.size.width += outsets.left + outsets.right;
    area.size.height += outsets.top + outsets.bottom;
    return area.contains(point);
}

Size Button::sizeThatFits(Size /*size*/) const {
    Size title = titleSize();
    Size image = imageSize();
    return {title.width + image.width + m_contentEdgeInsets.left + m_contentEdgeInsets.right,
            std::max(title.height, image.height) + m_contentEdgeInsets.top +
                m_contentEdgeInsets.bottom};
}

void Button::layoutSubviews() {
    Rect content = bounds().inset(m_contentEdgeInsets);
    Size image = imageSize();
    image.width = std::min(image.width, std::max(0.0, content.size.width));
    image.height = std::min(image.height, std::max(0.0, content.size.height));
    Size title = titleSize();
    title.width = std::min(title.width, std::max(0.0, content.size.width - image.width));
    title.height = std::min(title.height, std::max(0.0, content.size.height));
    if (contentHorizontalAlignment() == ContentHorizontalAlignment::Fill) {
        title.width = std::max(0.0, content.size.width - image.width);
    }

    double total = image.width + title.width;
    double x = content.origin.x;
    switch (contentHorizontalAlignment()) {
        case ContentHorizontalAlignment::Center:
            x = content.origin.x + (content.size.width - total) / 2;
            break;
        case ContentHorizontalAlignment::Right:
            x = content.origin.x + content.size.width - total;
            break;
        default:
            break;
    }
    auto top = [&](double height) {
        switch (contentVerticalAlignment()) {
            case ContentVerticalAlignment::Top:
            case ContentVerticalAlignment::Fill:
                return content.origin.y;
            case ContentVerticalAlignment::Bottom:
                return content.origin.y + content.size.height - height;
            case ContentVerticalAlignment::Center:
                break;
        }
        return content.origin.y + (content.size.height - height) / 2;
    };
    Rect imageRect{{x, top(image.height)}, image};
    Rect titleRect{{x + image.width, top(title.height)}, title};
    m_imageView->setFrame(shifted(imageRect, m_imageEdgeInsets, contentHorizontalAlignment(),
                                  contentVerticalAlignment()));
    m_titleLabel->setFrame(shifted(titleRect, m_titleEdgeInsets, contentHorizontalAlignment(),
                                   contentVerticalAlignment()));
}

void Button::draw(BitmapContext& context, const Rect& rect) {
    if (!m_shownBackground.isNull()) {
        context.drawImageUpright(m_shownBackground, rect);
    }
}

std::string Button::describe() const {
    // A button that shows only a picture is named by what a screen reader says for it.
    std::string title = currentTitle();
    if (title.empty()) {
        title = accessibilityLabel();
    }
    std::string text = "button \"" + title + "\"";
    if (isSelected() && !isEnabled()) {
        text += " (selected, disabled)";
    } else if (isSelected()) {
        text += " (selected)";
    } else if (!isEnabled()) {
        text += " (disabled)";
    }
    return text;
}

}  // namespace platform
