#pragma once

#include <memory>

#include "platform/ui/Control.h"

namespace platform {

class ImageView;
class Label;
class TabBarItem;

// One tab in a tab bar: the item's image (its selected image while selected) over its title,
// with the badge at the image's top right. Tinted while selected.
class TabBarButton : public Control {
public:
    explicit TabBarButton(std::shared_ptr<TabBarItem> item);

    const std::shared_ptr<TabBarItem>& item() const { return m_item; }
    const std::shared_ptr<ImageView>& imageView() const { return m_imageView; }
    const std::shared_ptr<Label>& titleLabel() const { return m_titleLabel; }
    // Hidden when the item has no badge.
    const std::shared_ptr<Label>& badgeLabel() const { return m_badgeLabel; }

    // Shows the item's current title, images and badge.
    void refresh();

    void layoutSubviews() override;
    std::string describe() const override;
    void tintColorDidChange() override { refresh(); }

protected:
    void stateDidChange() override { refresh(); }

private:
    std::shared_ptr<TabBarItem> m_item;
    std::shared_ptr<ImageView> m_imageView;
    std::shared_ptr<Label> m_titleLabel;
    std::shared_ptr<Label> m_badgeLabel;
};

}  // namespace platform
