#include "shell/HomePageCollectionViewCell.h"

#include "client/CollectionViewCellModel.h"
#include "client/MyTool.h"
#include "platform/graphics/Font.h"
#include "platform/graphics/Image.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"

HomePageCollectionViewCell::HomePageCollectionViewCell() {
    creatSubViews();
}

HomePageCollectionViewCell::HomePageCollectionViewCell(const platform::Rect& frame)
    : CollectionViewCell(frame) {
    creatSubViews();
}

HomePageCollectionViewCell::~HomePageCollectionViewCell() = default;

void HomePageCollectionViewCell::creatSubViews() {
    m_imageView = platform::View::make<platform::ImageView>(platform::Rect{{4, 0}, {50, 50}});
    m_imageView->setBackgroundColor(platform::Color::clear());
    m_imageView->setClipsToBounds(true);
    contentView()->addSubview(m_imageView);

    m_titleLabel = platform::View::make<platform::Label>(platform::Rect{{0, 54}, {58, 20}});
    m_titleLabel->setTextColor(MyTool::colorWithString("5a5a5a"));
    m_titleLabel->setFont(platform::Font::systemFont(14));
    m_titleLabel->setTextAlignment(platform::TextAlignment::Center);
    m_titleLabel->setNumberOfLines(0);
    m_titleLabel->setLineBreakMode(platform::LineBreakMode::WordWrap);
    contentView()->addSubview(m_titleLabel);
}

void HomePageCollectionViewCell::setDataModel(std::shared_ptr<CollectionViewCellModel> model) {
    m_dataModel = std::move(model);
    if (!m_dataModel) {
        m_imageView->setImage(platform::Image());
        m_titleLabel->setText("");
        return;
    }
    m_imageView->setImage(platform::Image::named(m_dataModel->imageName));
    m_titleLabel->setText(m_dataModel->titleName);
}
