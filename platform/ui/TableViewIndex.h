#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/ui/View.h"

namespace platform {

// The section index a table shows down its right edge: its titles stacked in the middle of
// its height. A touch on a title (or sliding over the titles) calls onSelectTitle with the
// title's position.
class TableViewIndex : public View {
public:
    TableViewIndex();

    const std::vector<std::string>& titles() const { return m_titles; }
    void setTitles(std::vector<std::string> titles) { setDisplayed(m_titles, std::move(titles)); }
    const Color& textColor() const { return m_textColor; }
    void setTextColor(const Color& color) { setDisplayed(m_textColor, color); }

    // The title at a point of the index's own coordinates; none between or around them.
    std::optional<int> titleIndexAtPoint(Point point) const;
    Rect rectForTitle(int index) const;

    std::function<void(int index)> onSelectTitle;

    void touchesBegan(const Touches& touches) override;
    void touchesMoved(const Touches& touches) override;
    void touchesEnded(const Touches& touches) override;
    void touchesCancelled(const Touches& touches) override;
    void draw(BitmapContext& context, const Rect& rect) override;
    std::string describe() const override;

    static constexpr double kWidth = 20;
    static constexpr double kTitleHeight = 14;

private:
    void select(const Touches& touches);

    std::vector<std::string> m_titles;
    Color m_textColor{Color::rgba(0, 122.0f / 255.0f, 1)};
    std::optional<int> m_lastSelected;
};

}  // namespace platform
