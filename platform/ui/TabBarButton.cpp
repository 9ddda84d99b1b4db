#include "platform/ui/TabBarButton.h"

#include <algorithm>

#include "platform/graphics/TextMeasurer.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/TabBarItem.h"

namespace platform {

namespace {

const Color kUnselectedTint = Color::rgba(146 / 255.0f, 146 / 255.0f, 146 / 255.0f);
constexpr double kImageTop = 5;
constexpr double kImageSide = 30;
constexpr double kTitleHeight = 12;
constexpr double kTitleBottom = 2;

}  // namespace

TabBarButton::TabBarButton(std::shared_ptr<TabBarItem> item) : m_item(std::move(item)) {
    m_imageView = View::make<ImageView>();
    m_imageView->setContentMode(ContentMode::Center);
    m_titleLabel = View::make<Label>();
    m_titleLabel->setFont(Font::systemFont(10));
    m_titleLabel->setTextAlignment(TextAlignment::Center);
    m_badgeLabel = View::make<Label>();
    m_badgeLabel->setFont(Font::systemFont(13));
    m_badgeLabel->setTextColor(Color::white());
    m_badgeLabel->setTextAlignment(TextAlignment::Center);
    m_badgeLabel->setBackgroundColor(Color::rgba(1, 59 / 255.0f, 48 / 255.0f));
    m_badgeLabel->setCornerRadius(9);
    m_badgeLabel->setClipsToBounds(true);
    addSubview(m_imageView);
    addSubview(m_titleLabel);
    addSubview(m_badgeLabel);
    refresh();
}

void TabBarButton::refresh() {
    if (!m_item || !m_titleLabel) {
        return;
    }
    bool selected = isSelected();
    const Image& selectedImage = m_item->selectedImage();
    m_imageView->setImage(selected && !selectedImage.isNull() ? selectedImage : m_item->image());
    m_titleLabel->setText(m_item->title());
    m_titleLabel->setTextColor(selected ? tintColor() : kUnselectedTint);
    m_badgeLabel->setText(m_item->badgeValue());
    m_badgeLabel->setHidden(m_item->badgeValue().empty());
    setEnabled(m_item->isEnabled());
    setNeedsLayout();
}

void TabBarButton::layoutSubviews() {
    Rect b = bounds();
    Size image =
        m_imageView->image().isNull() ? Size{kImageSide, kImageSide} : m_imageView->image().size();
    image.width = std::min(image.width, b.size.width);
    image.height = std::min(image.height, std::max(0.0, b.size.height - kTitleHeight));
    Rect imageFrame{{b.origin.x + (b.size.width - image.width) / 2, b.origin.y + kImageTop}, image};
    m_imageView->setFrame(imageFrame);
    m_titleLabel->setFrame(
        Rect{{b.origin.x, b.origin.y + b.size.height - kTitleBottom - kTitleHeight},
             {b.size.width, kTitleHeight}});
    if (!m_badgeLabel->isHidden()) {
        Size text = TextMeasurer::current().boundingSize(m_badgeLabel->text(), m_badgeLabel->font(),
                                                         Size{0, 0});
        double width = std::max(18.0, text.width + 10);
        m_badgeLabel->setFrame(Rect{{imageFrame.maxX() - 10, b.origin.y + 2}, {width, 18}});
    }
}

std::string TabBarButton::describe() const {
    std::string text = "tab \"" + (m_item ? m_item->title() : std::string()) + "\"";
    if (m_item && !m_item->badgeValue().empty()) {
        text += " badge \"" + m_item->badgeValue() + "\"";
    }
    if (isSelected()) {
        text += " (selected)";
    }
    return text;
}

}  // namespace platform
