#include "platform/ui/BarButtonItem.h"

#include <algorithm>

#include "platform/ui/Button.h"
#include "platform/ui/Label.h"

namespace platform {

namespace {

// Titles of the system items on the stand-in phone, whose language is Chinese.
std::string systemTitle(BarButtonSystemItem item) {
    switch (item) {
        case BarButtonSystemItem::Done:
            return "完成";
        case BarButtonSystemItem::Cancel:
            return "取消";
        case BarButtonSystemItem::Edit:
            return "编辑";
        case BarButtonSystemItem::Save:
            return "存储";
        case BarButtonSystemItem::Add:
            return "+";
        case BarButtonSystemItem::Search:
            return "搜索";
        case BarButtonSystemItem::Refresh:
            return "刷新";
        case BarButtonSystemItem::Stop:
            return "停止";
        case BarButtonSystemItem::Trash:
            return "删除";
        case BarButtonSystemItem::Reply:
            return "回复";
        case BarButtonSystemItem::Compose:
            return "撰写";
        case BarButtonSystemItem::Action:
            return "分享";
        case BarButtonSystemItem::FlexibleSpace:
        case BarButtonSystemItem::FixedSpace:
            break;
    }
    return "";
}

constexpr double kButtonHeight = 30;
constexpr double kMinimumWidth = 30;

}  // namespace

BarButtonItem::BarButtonItem(std::string title, BarButtonItemStyle style, Action action)
    : m_title(std::move(title)), m_style(style), m_action(std::move(action)) {}

BarButtonItem::BarButtonItem(const Image& image, BarButtonItemStyle style, Action action)
    : m_image(image), m_style(style), m_action(std::move(action)) {}

BarButtonItem::BarButtonItem(std::shared_ptr<View> customView)
    : m_customView(std::move(customView)) {}

BarButtonItem::BarButtonItem(BarButtonSystemItem systemItem, Action action)
    : m_title(systemTitle(systemItem)),
      m_style(systemItem == BarButtonSystemItem::Done ? BarButtonItemStyle::Done
                                                      : BarButtonItemStyle::Plain),
      m_systemItem(systemItem),
      m_action(std::move(action)) {}

BarButtonItem::~BarButtonItem() = default;

void BarButtonItem::setTitle(std::string title) {
    m_title = std::move(title);
    refreshButton();
}

void BarButtonItem::setImage(const Image& image) {
    m_image = image;
    refreshButton();
}

void BarButtonItem::setCustomView(std::shared_ptr<View> view) {
    if (m_customView && m_customView != view) {
        m_customView->removeFromSuperview();
    }
    m_customView = std::move(view);
}

void BarButtonItem::setStyle(BarButtonItemStyle style) {
    m_style = style;
    refreshButton();
}

void BarButtonItem::setEnabled(bool enabled) {
    m_enabled = enabled;
    refreshButton();
}

void BarButtonItem::setTintColor(std::optional<Color> color) {
    m_tintColor = color;
    refreshButton();
}

void BarButtonItem::perform() {
    if (!m_enabled || !m_action) {
        return;
    }
    auto self = weak_from_this().lock();
    auto action = m_action;
    action(*this);
}

bool BarButtonItem::isSpace() const {
    return m_systemItem == BarButtonSystemItem::FlexibleSpace ||
           m_systemItem == BarButtonSystemItem::FixedSpace;
}

std::shared_ptr<View> BarButtonItem::view() {
    if (m_customView) {
        return m_customView;
    }
    if (isSpace()) {
        return nullptr;
    }
    if (!m_button) {
        auto button = View::make<Button>(ButtonType::System);
        std::weak_ptr<BarButtonItem> weak = weak_from_this();
        button->addTarget(
            [weak](Control&) {
                if (auto item = weak.lock()) {
                    item->perform();
                }
            },
            ControlEvent::TouchUpInside);
        m_button = button;
        refreshButton();
    }
    return m_button;
}

void BarButtonItem::refreshButton() {
    auto button = std::dynamic_pointer_cast<Button>(m_button);
    if (!button) {
        return;
    }
    button->setTitle(m_title);
    button->setImage(m_image);
    button->titleLabel()->setFont(m_style == BarButtonItemStyle::Done ? Font::boldSystemFont(17)
                                                                      : Font::systemFont(17));
    button->setEnabled(m_enabled);
    button->setTintColor(m_tintColor);
    Size fitted = button->sizeThatFits(Size{0, 0});
    Rect frame = button->frame();
    button->setFrame(
        Rect{frame.origin,
             {std::max(kMinimumWidth, fitted.width), std::max(kButtonHeight, fitted.height)}});
}

}  // namespace platform
