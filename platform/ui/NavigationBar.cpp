#include "platform/ui/NavigationBar.h"

#include <algorithm>

#include "platform/graphics/BitmapContext.h"
#include "platform/graphics/TextMeasurer.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationItem.h"

namespace platform {

namespace {

constexpr double kItemSpacing = 8;
constexpr double kBackButtonMargin = 8;
constexpr const char* kDefaultBackTitle = "返回";

double edgeMargin(double barWidth) {
    return barWidth >= 414 ? 20 : 16;
}

}  // namespace

NavigationBar::NavigationBar() {
    m_titleLabel = View::make<Label>();
    m_titleLabel->setTextAlignment(TextAlignment::Center);
    m_titleLabel->setHandle("title");
    addSubview(m_titleLabel);
    applyTitleAttributes();
}

void NavigationBar::setTranslucent(bool translucent) {
    if (m_translucent == translucent) {
        return;
    }
    m_translucent = translucent;
    if (onTranslucencyChange) {
        onTranslucencyChange();
    }
}

void NavigationBar::setTitleTextAttributes(TitleTextAttributes attributes) {
    m_titleTextAttributes = std::move(attributes);
    applyTitleAttributes();
    setNeedsLayout();
}

void NavigationBar::applyTitleAttributes() {
    m_titleLabel->setFont(m_titleTextAttributes.font.value_or(Font::boldSystemFont(17)));
    m_titleLabel->setTextColor(m_titleTextAttributes.color.value_or(Color::black()));
}

void NavigationBar::setItems(std::vector<std::shared_ptr<NavigationItem>> items,
                             bool /*animated*/) {
    std::erase(items, nullptr);
    m_items = std::move(items);
    auto self = std::static_pointer_cast<NavigationBar>(weak_from_this().lock());
    for (auto& item : m_items) {
        item->m_bar = self;
    }
    reloadItemViews();
}

std::shared_ptr<NavigationItem> NavigationBar::topItem() const {
    return m_items.empty() ? nullptr : m_items.back();
}

std::shared_ptr<NavigationItem> NavigationBar::backItem() const {
    return m_items.size() < 2 ? nullptr : m_items[m_items.size() - 2];
}

void NavigationBar::itemChanged(NavigationItem& item) {
    // The back button shows the title of the item below the top one.
    if (topItem().get() == &item || backItem().get() == &item) {
        reloadItemViews();
    }
}

void NavigationBar::reloadItemViews() {
    for (auto& slot : m_left) {
        if (slot.view) {
            slot.view->removeFromSuperview();
        }
    }
    for (auto& slot : m_right) {
        if (slot.view) {
            slot.view->removeFromSuperview();
        }
    }
    m_left.clear();
    m_right.clear();
    if (m_shownTitleView) {
        m_shownTitleView->removeFromSuperview();
        m_shownTitleView = nullptr;
    }
    if (m_backButton) {
        m_backButton->removeFromSuperview();
        m_backButton = nullptr;
    }

    auto top = topItem();
    if (!top) {
        m_titleLabel->setText("");
        setNeedsLayout();
        return;
    }
    if (top->titleView()) {
        m_shownTitleView = top->titleView();
        m_titleLabel->setHidden(true);
        addSubview(m_shownTitleView);
    } else {
        m_titleLabel->setHidden(false);
    }
    m_titleLabel->setText(top->title());

    for (auto& item : top->leftBarButtonItems()) {
        auto view = item->view();
        if (view) {
            addSubview(view);
        }
        m_left.push_back(Slot{item, view});
    }
    for (auto& item : top->rightBarButtonItems()) {
        auto view = item->view();
        if (view) {
            addSubview(view);
        }
        m_right.push_back(Slot{item, view});
    }
    auto below = backItem();
    if (m_left.empty() && below && !top->hidesBackButton()) {
        std::string title =
            below->backBarButtonItem() ? below->backBarButtonItem()->title() : below->title();
        auto button = View::make<Button>(ButtonType::System);
        button->setTitle(title.empty() ? kDefaultBackTitle : title);
        button->titleLabel()->setFont(Font::systemFont(17));
        button->setHandle("back");
        std::weak_ptr<View> weakBar = weak_from_this();
        button->addTarget(
            [weakBar](Control&) {
                auto bar = std::static_pointer_cast<NavigationBar>(weakBar.lock());
                if (bar && bar->onBack) {
                    auto onBack = bar->onBack;
                    onBack();
                }
            },
            ControlEvent::TouchUpInside);
        Size fitted = button->sizeThatFits({0, 0});
        button->setFrame(Rect{{0, 0}, {std::max(30.0, fitted.width), 30}});
        m_backButton = button;
        addSubview(button);
    }
    setNeedsLayout();
    layoutIfNeeded();
}

void NavigationBar::layoutSubviews() {
    Rect b = bounds();
    double margin = edgeMargin(b.size.width);
    auto place = [&](View& view, double x) {
        Rect f = view.frame();
        view.setFrame(Rect{{x, b.origin.y + (b.size.height - f.size.height) / 2}, f.size});
    };

    double leftEnd = b.origin.x + margin;
    if (m_backButton) {
        place(*m_backButton, b.origin.x + kBackButtonMargin);
        leftEnd = m_backButton->frame().maxX() + kItemSpacing;
    }
    for (auto& slot : m_left) {
        if (!slot.view) {
            leftEnd += slot.item->width();
            continue;
        }
        place(*slot.view, leftEnd);
        leftEnd += slot.view->frame().size.width + kItemSpacing;
    }
    double rightStart = b.origin.x + b.size.width - margin;
    for (auto& slot : m_right) {
        if (!slot.view) {
            rightStart -= slot.item->width();
            continue;
        }
        double width = slot.view->frame().size.width;
        place(*slot.view, rightStart - width);
        rightStart -= width + kItemSpacing;
    }

    // The title is centred on the bar when it fits between the items, else in the room left.
    Size titleSize;
    View* title = m_shownTitleView ? m_shownTitleView.get() : m_titleLabel.get();
    if (m_shownTitleView) {
        titleSize = m_shownTitleView->frame().size;
    } else {
        titleSize = TextMeasurer::current().boundingSize(m_titleLabel->text(), m_titleLabel->font(),
                                                         Size{0, 0});
    }
    double room = std::max(0.0, rightStart - leftEnd);
    titleSize.width = std::min(titleSize.width, room);
    titleSize.height = std::min(titleSize.height, b.size.height);
    double x = b.origin.x + (b.size.width - titleSize.width) / 2;
    x = std::clamp(x, leftEnd, std::max(leftEnd, rightStart - titleSize.width));
    title->setFrame(Rect{{x, b.origin.y + (b.size.height - titleSize.height) / 2}, titleSize});
}

void NavigationBar::draw(BitmapContext& context, const Rect& rect) {
    // The bar's background also fills the status bar above it.
    double above = std::clamp(frame().origin.y, 0.0, 20.0);
    Rect background{{rect.origin.x, rect.origin.y - above},
                    {rect.size.width, rect.size.height + above}};
    if (!m_backgroundImage.isNull()) {
        context.drawImageUpright(m_backgroundImage, background);
    } else {
        Color fill = m_barTintColor.value_or(Color::whiteAlpha(0.97f, 1));
        context.fillRect(background, fill);
    }
    if (!m_shadowImage.isNull()) {
        context.drawImageUpright(m_shadowImage,
                                 Rect{{rect.origin.x, rect.maxY()}, {rect.size.width, 0.5}});
    } else {
        context.fillRect(Rect{{rect.origin.x, rect.maxY() - 0.5}, {rect.size.width, 0.5}},
                         Color::whiteAlpha(0, 0.3f));
    }
}

std::string NavigationBar::describe() const {
    auto top = topItem();
    return "navigation bar \"" + (top ? top->title() : std::string()) + "\"";
}

}  // namespace platform
