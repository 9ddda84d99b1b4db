#include "platform/ui/TableViewCell.h"

#include <algorithm>
#include <cmath>

#include "platform/graphics/BitmapContext.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/Screen.h"

namespace platform {

namespace {

// The phone's standard row: 320 by 44 until a table gives it its place.
constexpr Rect kInitialFrame{{0, 0}, {320, 44}};
constexpr double kSideMargin = 15;
constexpr double kValue2TextWidth = 67;

Color selectionGray() {
    return Color::whiteAlpha(0.85f, 1);
}
Color detailGray() {
    return Color::whiteAlpha(0.56f, 1);
}

// One line of text in the font, as the subtitle style stacks its two labels.
double lineHeight(const Font& font) {
    return std::ceil(font.pointSize * 1.2);
}

}  // namespace

TableViewCell::TableViewCell(TableViewCellStyle style, std::string reuseIdentifier)
    : View(kInitialFrame), m_style(style), m_reuseIdentifier(std::move(reuseIdentifier)) {
    setBackgroundColor(Color::white());
    m_contentView = View::make<View>(bounds());
    m_contentView->setAutoresizingMask(AutoresizingMask::FlexibleWidth |
                                       AutoresizingMask::FlexibleHeight);
    addSubview(m_contentView);
    m_separatorView = View::make<View>();
    m_separatorView->setHidden(true);
    m_separatorView->setUserInteractionEnabled(false);
    addSubview(m_separatorView);
}

TableViewCell::~TableViewCell() = default;

std::shared_ptr<Label> TableViewCell::textLabel() {
    if (!m_textLabel) {
        m_textLabel = View::make<Label>();
        m_textLabel->setBackgroundColor(Color::clear());
        if (m_style == TableViewCellStyle::Value2) {
            m_textLabel->setFont(Font::boldSystemFont(12));
            m_textLabel->setTextColor(Color::rgba(0, 122.0f / 255.0f, 1));
            m_textLabel->setTextAlignment(TextAlignment::Right);
        }
        m_contentView->addSubview(m_textLabel);
        setNeedsLayout();
    }
    return m_textLabel;
}

std::shared_ptr<Label> TableViewCell::detailTextLabel() {
    if (m_style == TableViewCellStyle::Default) {
        return nullptr;
    }
    if (!m_detailTextLabel) {
        m_detailTextLabel = View::make<Label>();
        m_detailTextLabel->setBackgroundColor(Color::clear());
        switch (m_style) {
            case TableViewCellStyle::Value1:
                m_detailTextLabel->setTextColor(detailGray());
                m_detailTextLabel->setTextAlignment(TextAlignment::Right);
                break;
            case TableViewCellStyle::Value2:
                m_detailTextLabel->setFont(Font::systemFont(12));
                break;
            case TableViewCellStyle::Subtitle:
                m_detailTextLabel->setFont(Font::systemFont(12));
                break;
            case TableViewCellStyle::Default:
                break;
        }
        m_contentView->addSubview(m_detailTextLabel);
        setNeedsLayout();
    }
    return m_detailTextLabel;
}

std::shared_ptr<ImageView> TableViewCell::imageView() {
    if (!m_imageView) {
        m_imageView = View::make<ImageView>();
        m_contentView->insertSubview(m_imageView, 0);
        setNeedsLayout();
    }
    return m_imageView;
}

void TableViewCell::setAccessoryType(TableViewCellAccessoryType type) {
    setDisplayed(m_accessoryType, type);
    setNeedsLayout();
}

void TableViewCell::setAccessoryView(std::shared_ptr<View> view) {
    if (m_accessoryView == view) {
        return;
    }
    if (m_accessoryView) {
        m_accessoryView->removeFromSuperview();
    }
    m_accessoryView = std::move(view);
    if (m_accessoryView) {
        insertSubviewBelow(m_accessoryView, m_separatorView.get());
    }
    setNeedsLayout();
}

bool TableViewCell::showsSelection() const {
    return (m_selected || m_highlighted) && m_selectionStyle != TableViewCellSelectionStyle::None;
}

void TableViewCell::setSelected(bool selected, bool /*animated*/) {
    m_selected = selected;
    updateSelectionDisplay();
}

void TableViewCell::setHighlighted(bool highlighted, bool /*animated*/) {
    m_highlighted = highlighted;
    updateSelectionDisplay();
}

void TableViewCell::setEditing(bool editing, bool /*animated*/) {
    m_editing = editing;
    setNeedsLayout();
}

void TableViewCell::updateSelectionDisplay() {
    bool shows = showsSelection();
    if (shows) {
        auto background = selectedBackgroundView();
        if (!background->superview()) {
            insertSubviewBelow(background, m_contentView.get());
            background->setFrame(bounds());
        }
    } else if (m_selectedBackgroundView) {
        m_selectedBackgroundView->removeFromSuperview();
    }
    if (m_textLabel) {
        m_textLabel->setHighlighted(shows);
    }
    if (m_detailTextLabel) {
        m_detailTextLabel->setHighlighted(shows);
    }
    if (m_imageView) {
        m_imageView->setHighlighted(shows);
    }
}

void TableViewCell::setBackgroundView(std::shared_ptr<View> view) {
    if (m_backgroundView == view) {
        return;
    }
    if (m_backgroundView) {
        m_backgroundView->removeFromSuperview();
    }
    m_backgroundView = std::move(view);
    if (m_backgroundView) {
        insertSubview(m_backgroundView, 0);
        m_backgroundView->setFrame(bounds());
    }
}

std::shared_ptr<View> TableViewCell::selectedBackgroundView() {
    if (!m_selectedBackgroundView) {
        m_selectedBackgroundView = View::make<View>(bounds());
        m_selectedBackgroundView->setBackgroundColor(selectionGray());
    }
    return m_selectedBackgroundView;
}

void TableViewCell::setSelectedBackgroundView(std::shared_ptr<View> view) {
    if (m_selectedBackgroundView) {
        m_selectedBackgroundView->removeFromSuperview();
    }
    m_selectedBackgroundView = std::move(view);
    updateSelectionDisplay();
}

void TableViewCell::setSeparatorInset(std::optional<EdgeInsets> inset) {
    m_separatorInset = inset;
    setNeedsLayout();
}

void TableViewCell::setLayoutMargins(const EdgeInsets& margins) {
    m_layoutMargins = margins;
    setNeedsLayout();
}

void TableViewCell::setSeparator(bool visible, const Color& color, const EdgeInsets& inset) {
    m_separatorView->setHidden(!visible);
    m_separatorView->setBackgroundColor(color);
    m_tableSeparatorInset = inset;
    setNeedsLayout();
    layoutIfNeeded();
}

void TableViewCell::prepareForReuse() {
    m_selected = false;
    m_highlighted = false;
    updateSelectionDisplay();
}

double TableViewCell::accessoryWidth(TableViewCellAccessoryType type) {
    switch (type) {
        case TableViewCellAccessoryType::None:
            return 0;
        case TableViewCellAccessoryType::DisclosureIndicator:
            return 33;
        case TableViewCellAccessoryType::Checkmark:
            return 39;
        case TableViewCellAccessoryType::DetailButton:
            return 47;
        case TableViewCellAccessoryType::DetailDisclosureButton:
            return 67;
    }
    return 0;
}

void TableViewCell::layoutSubviews() {
    Rect b = bounds();
    double accessory = m_accessoryView ? m_accessoryView->bounds().size.width + kSideMargin
                                       : accessoryWidth(m_accessoryType);
    double contentWidth = std::max(0.0, b.size.width - accessory);
    m_contentView->setFrame(Rect{{0, 0}, {contentWidth, b.size.height}});
    if (m_accessoryView) {
        Size size = m_accessoryView->bounds().size;
        m_accessoryView->setFrame(Rect{
            {b.size.width - kSideMargin - size.width, (b.size.height - size.height) / 2}, size});
    }
    if (m_backgroundView) {
        m_backgroundView->setFrame(b);
    }
    if (m_selectedBackgroundView) {
        m_selectedBackgroundView->setFrame(b);
    }

    EdgeInsets inset = m_separatorInset.value_or(m_tableSeparatorInset);
    double line = 1.0 / Screen::main().scale();
    m_separatorView->setFrame(Rect{{inset.left, b.size.height - line},
                                   {std::max(0.0, b.size.width - inset.left - inset.right), line}});
    bringSubviewToFront(m_separatorView.get());

    // The standard views, placed by the style.
    double height = b.size.height;
    double x = kSideMargin;
    if (m_imageView && !m_imageView->image().isNull()) {
        Size size = m_imageView->image().size();
        m_imageView->setFrame(Rect{{kSideMargin, (height - size.height) / 2}, size});
        x = kSideMargin + size.width + kSideMargin;
    } else if (m_imageView) {
        m_imageView->setFrame(Rect{{kSideMargin, height / 2}, {0, 0}});
    }
    double right = contentWidth - kSideMargin;
    double width = std::max(0.0, right - x);
    switch (m_style) {
        case TableViewCellStyle::Default:
        case TableViewCellStyle::Value1:
            if (m_textLabel) {
                m_textLabel->setFrame(Rect{{x, 0}, {width, height}});
            }
            if (m_detailTextLabel) {
                m_detailTextLabel->setFrame(Rect{{x, 0}, {width, height}});
            }
            break;
        case TableViewCellStyle::Value2: {
            if (m_textLabel) {
                m_textLabel->setFrame(Rect{{kSideMargin, 0}, {kValue2TextWidth, height}});
            }
            double detailX = kSideMargin + kValue2TextWidth + 6;
            if (m_detailTextLabel) {
                m_detailTextLabel->setFrame(
                    Rect{{detailX, 0}, {std::max(0.0, right - detailX), height}});
            }
            break;
        }
        case TableViewCellStyle::Subtitle: {
            double textHeight = m_textLabel ? lineHeight(m_textLabel->font()) : 0;
            double detailHeight = m_detailTextLabel ? lineHeight(m_detailTextLabel->font()) : 0;
            double top = (height - textHeight - detailHeight) / 2;
            if (m_textLabel) {
                m_textLabel->setFrame(Rect{{x, top}, {width, textHeight}});
            }
            if (m_detailTextLabel) {
                m_detailTextLabel->setFrame(Rect{{x, top + textHeight}, {width, detailHeight}});
            }
            break;
        }
    }
}

void TableViewCell::draw(BitmapContext& context, const Rect& rect) {
    if (m_accessoryView || m_accessoryType == TableViewCellAccessoryType::None) {
        return;
    }
    Color tint = tintColor();
    double midY = rect.size.height / 2;
    double right = rect.size.width - kSideMargin;
    bool chevron = m_accessoryType == TableViewCellAccessoryType::DisclosureIndicator ||
                   m_accessoryType == TableViewCellAccessoryType::DetailDisclosureButton;
    if (chevron) {
        Color gray = Color::whiteAlpha(0.78f, 1);
        context.strokeLine({right - 8, midY - 6.5}, {right - 1.5, midY}, gray, 2);
        context.strokeLine({right - 1.5, midY}, {right - 8, midY + 6.5}, gray, 2);
        right -= 20;
    }
    if (m_accessoryType == TableViewCellAccessoryType::Checkmark) {
        context.strokeLine({right - 14, midY}, {right - 9, midY + 5}, tint, 2);
        context.strokeLine({right - 9, midY + 5}, {right, midY - 6}, tint, 2);
    }
    if (m_accessoryType == TableViewCellAccessoryType::DetailButton ||
        m_accessoryType == TableViewCellAccessoryType::DetailDisclosureButton) {
        Rect ring{{right - 22, midY - 11}, {22, 22}};
        context.strokeRoundedRect(ring, 11, tint, 1);
        context.drawText("i", Font::systemFont(14), tint, ring.insetBy(0, 2), TextAlignment::Center,
                         1);
    }
}

std::string TableViewCell::describe() const {
    std::string text = "cell";
    switch (m_accessoryType) {
        case TableViewCellAccessoryType::None:
            break;
        case TableViewCellAccessoryType::DisclosureIndicator:
            text += " >";
            break;
        case TableViewCellAccessoryType::DetailDisclosureButton:
            text += " (i) >";
            break;
        case TableViewCellAccessoryType::Checkmark:
            text += " (checked)";
            break;
        case TableViewCellAccessoryType::DetailButton:
            text += " (i)";
            break;
    }
    if (m_selected) {
        text += " (selected)";
    }
    return text;
}

}  // namespace platform
