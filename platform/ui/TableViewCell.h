#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/ui/View.h"

namespace platform {

class ImageView;
class Label;

enum class TableViewCellStyle {
    Default,   // text on the left, optional image; no detail label
    Value1,    // text on the left, grey detail right-aligned on the right
    Value2,    // small blue right-aligned text, then the detail beside it
    Subtitle,  // text above a small grey detail
};

enum class TableViewCellAccessoryType {
    None,
    DisclosureIndicator,
    DetailDisclosureButton,
    Checkmark,
    DetailButton,
};

enum class TableViewCellSelectionStyle { None, Blue, Gray, Default };

enum class TableViewCellEditingStyle { None, Delete, Insert };

// The phone's UITableViewCell: one row of a table. Its content lives in contentView; the
// standard text label, detail label and image view are made on first use and laid out by
// the style. A table reuses cells by their reuse identifier: before handing a cell out
// again it calls prepareForReuse.
class TableViewCell : public View {
public:
    explicit TableViewCell(TableViewCellStyle style = TableViewCellStyle::Default,
                           std::string reuseIdentifier = {});
    ~TableViewCell() override;

    TableViewCellStyle style() const { return m_style; }
    const std::string& reuseIdentifier() const { return m_reuseIdentifier; }

    const std::shared_ptr<View>& contentView() const { return m_contentView; }
    // Made on first use, inside contentView.
    std::shared_ptr<Label> textLabel();
    // None for the Default style, which has no detail.
    std::shared_ptr<Label> detailTextLabel();
    std::shared_ptr<ImageView> imageView();

    TableViewCellAccessoryType accessoryType() const { return m_accessoryType; }
    void setAccessoryType(TableViewCellAccessoryType type);
    // Shown instead of the accessory type's mark when set.
    const std::shared_ptr<View>& accessoryView() const { return m_accessoryView; }
    void setAccessoryView(std::shared_ptr<View> view);

    TableViewCellSelectionStyle selectionStyle() const { return m_selectionStyle; }
    void setSelectionStyle(TableViewCellSelectionStyle style) { m_selectionStyle = style; }
    bool isSelected() const { return m_selected; }
    virtual void setSelected(bool selected, bool animated = false);
    bool isHighlighted() const { return m_highlighted; }
    virtual void setHighlighted(bool highlighted, bool animated = false);
    bool isEditing() const { return m_editing; }
    virtual void setEditing(bool editing, bool animated = false);

    // Behind the content; the selected background shows while selected or highlighted
    // (a light grey view unless set, and never with selection style None).
    const std::shared_ptr<View>& backgroundView() const { return m_backgroundView; }
    void setBackgroundView(std::shared_ptr<View> view);
    std::shared_ptr<View> selectedBackgroundView();
    void setSelectedBackgroundView(std::shared_ptr<View> view);

    // Where the separator under the cell starts and ends; the table's unless set.
    std::optional<EdgeInsets> separatorInset() const { return m_separatorInset; }
    void setSeparatorInset(std::optional<EdgeInsets> inset);
    const EdgeInsets& layoutMargins() const { return m_layoutMargins; }
    void setLayoutMargins(const EdgeInsets& margins);
    bool preservesSuperviewLayoutMargins() const { return m_preservesSuperviewLayoutMargins; }
    void setPreservesSuperviewLayoutMargins(bool value) {
        m_preservesSuperviewLayoutMargins = value;
    }

    // Clears the cell's state before a table hands it out again; subclasses reset what they
    // show and call this.
    virtual void prepareForReuse();

    void layoutSubviews() override;
    // Draws the accessory type's mark (chevron, check, info ring) in the accessory area.
    void draw(BitmapContext& context, const Rect& rect) override;
    std::string describe() const override;

    // Widths the accessory takes from the content on the right.
    static double accessoryWidth(TableViewCellAccessoryType type);

private:
    friend class TableView;

    // Set by the table that shows the cell.
    void setSeparator(bool visible, const Color& color, const EdgeInsets& inset);
    void updateSelectionDisplay();
    bool showsSelection() const;

    TableViewCellStyle m_style{TableViewCellStyle::Default};
    std::string m_reuseIdentifier;
    std::shared_ptr<View> m_contentView;
    std::shared_ptr<Label> m_textLabel;
    std::shared_ptr<Label> m_detailTextLabel;
    std::shared_ptr<ImageView> m_imageView;
    TableViewCellAccessoryType m_accessoryType{TableViewCellAccessoryType::None};
    std::shared_ptr<View> m_accessoryView;
    TableViewCellSelectionStyle m_selectionStyle{TableViewCellSelectionStyle::Default};
    bool m_selected{false};
    bool m_highlighted{false};
    bool m_editing{false};
    std::shared_ptr<View> m_backgroundView;
    std::shared_ptr<View> m_selectedBackgroundView;
    std::shared_ptr<View> m_separatorView;
    std::optional<EdgeInsets> m_separatorInset;
    EdgeInsets m_tableSeparatorInset{0, 15, 0, 0};
    EdgeInsets m_layoutMargins{8, 15, 8, 15};
    bool m_preservesSuperviewLayoutMargins{false};
};

}  // namespace platform
