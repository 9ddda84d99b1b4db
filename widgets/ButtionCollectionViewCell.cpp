#include "widgets/ButtionCollectionViewCell.h"

#include "platform/graphics/Font.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"

namespace {

constexpr platform::Rect kBadgeFrame{{0, 0}, {40, 40}};
constexpr double kBadgeCornerRadius = 20;
constexpr platform::Rect kIconFrame{{4, 4}, {32, 32}};
constexpr platform::Rect kCaptionFrame{{0, 40}, {40, 20}};
constexpr double kCaptionFontSize = 10;
constexpr float kCaptionGrey = 136.0f / 255.0f;

}  // namespace

ButtionCollectionViewCell::ButtionCollectionViewCell() {
    createSubviews();
}

ButtionCollectionViewCell::ButtionCollectionViewCell(const platform::Rect& frame)
    : CollectionViewCell(frame) {
    createSubviews();
}

ButtionCollectionViewCell::~ButtionCollectionViewCell() = default;

void ButtionCollectionViewCell::createSubviews() {
    m_imgBtn = platform::View::make<platform::View>(kBadgeFrame);
    m_imgBtn->setCornerRadius(kBadgeCornerRadius);
    addSubview(m_imgBtn);

    m_imageView = platform::View::make<platform::ImageView>(kIconFrame);
    m_imageView->setContentMode(platform::ContentMode::ScaleAspectFit);
    m_imgBtn->addSubview(m_imageView);

    m_titleLabel = platform::View::make<platform::Label>(kCaptionFrame);
    m_titleLabel->setTextAlignment(platform::TextAlignment::Center);
    m_titleLabel->setFont(platform::Font::boldSystemFont(kCaptionFontSize));
    m_titleLabel->setTextColor(platform::Color::rgba(kCaptionGrey, kCaptionGrey, kCaptionGrey, 1));
    addSubview(m_titleLabel);
}
